// The plain construction of a bitmap-shaped window's region, kept to check
// and to time the program's: the rectangle minus one key-colour pixel at a
// time, each pixel read with GetPixel.
#pragma once

#include <windows.h>

HRGN RegionPixelByPixel(HBITMAP bitmap);
