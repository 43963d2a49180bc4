#pragma once

class LoadingSplash;

extern LoadingSplash* loadingSplash;  // kept after it has closed

// The start-up sequence, run while the main window is being created.
void initApplication();
