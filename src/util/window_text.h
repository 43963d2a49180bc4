// Small window routines.
#pragma once

#include <windows.h>

// Runs a menu command on a window: WM_COMMAND with the id, lParam 0.
LRESULT SendCommand(HWND window, int id);
// Appends text to the window's title, cutting the result at 255 bytes.
void AppendWindowText(HWND window, const char* text);
