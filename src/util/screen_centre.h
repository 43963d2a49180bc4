#pragma once

// Left and top edges that centre a window of that size on the screen.
int CentreX(int width);
int CentreY(int height);
