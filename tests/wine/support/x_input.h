// Real keyboard input through the X server that Wine draws on: xdotool, a
// Unix program, started from the Windows side.
#pragma once

#include <windows.h>

#include <string>

// Runs a Unix command line through /bin/sh and waits for it; true when it
// succeeded.
bool RunUnix(const std::string& commandLine);
// Runs xdotool with the arguments and waits for it; true when it succeeded.
bool Xdotool(const std::string& arguments);
// Gives the X keyboard focus to a program's window, as a click on it would, so
// that the keys xdotool presses reach it, once no dialog of its program shows.
bool FocusProgramWindow(HWND window);
// Types name into the next file dialog of process (waited for) and presses
// Return, as a user does; true when the dialog took the name and closed.
bool TypeIntoFileDialog(DWORD process, const std::string& name);
