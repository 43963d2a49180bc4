#pragma once

// The start-up sequence, run while the main window is being created.
void initApplication();
