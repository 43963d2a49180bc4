// Bitmap-shaped windows: the window region cut out of a control's face.
#pragma once

#include <windows.h>

// The bitmap's rectangle without its key-colour pixels (RGB(255, 0, 255)
// exactly), as a new region the caller owns: one rectangle per run of other
// pixels in a row. window gives the device context the pixels are read with.
HRGN RegionFromBitmap(HBITMAP bitmap, HWND window);
