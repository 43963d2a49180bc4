// Real keyboard input through the X server that Wine draws on: xdotool, a
// Unix program, started from the Windows side.
#pragma once

#include <windows.h>

#include <string>

// Runs xdotool with the arguments and waits for it; true when it succeeded.
bool Xdotool(const std::string& arguments);
// Gives the X keyboard focus to a program's window, as a click on it would, so
// that the keys xdotool presses reach it. The window is found on the X server
// by its title, once no dialog of its program shows; no other window on the
// screen may have that title.
bool FocusProgramWindow(HWND window);
