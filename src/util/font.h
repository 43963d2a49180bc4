#pragma once

#include <windows.h>

// A fixed-pitch Shift-JIS font; a null face leaves the face to the system.
// The caller owns the font.
HFONT MakeFont(const char* face, int height, int escapement, int weight);
