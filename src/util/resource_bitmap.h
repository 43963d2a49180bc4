#pragma once

#include <windows.h>

// The program's bitmap resource as a DIB section (its bits readable), or null.
HBITMAP LoadResourceBitmap(int number);
