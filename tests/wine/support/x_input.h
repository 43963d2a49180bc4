// Real keyboard input through the X server that Wine draws on: xdotool, a
// Unix program, started from the Windows side.
#pragma once

#include <windows.h>

#include <string>

// Runs xdotool with the arguments and waits for it; true when it succeeded.
bool Xdotool(const std::string& arguments);
// Gives the X keyboard focus to a program's window, as a click on it would, so
// that the keys xdotool presses reach it: once it is the program's only
// visible window, found by the name Wine gives the program's X windows (its
// file name, exeName). No other run of that file may be on the screen.
bool FocusProgramWindow(HWND window, const char* exeName);
