// The program's main window built inside the test's own process, as the
// program builds it, from a settings file of short tones; its menu, windows,
// engine and key logger can then be looked at directly.
#pragma once

#include <windows.h>

#include <string>

// Writes sounds\tone.wav (1 kHz, toneSeconds long) and sounds\Setting.csv with
// settings into the test program's folder, then creates and shows the window.
HWND StartProgramHere(const std::string& settings, double toneSeconds);
// Closes the engine's channels before the process ends under their callbacks.
void EndProgramHere();
// Handles this thread's messages for a while, as the program's loop does
// (a quit request is left alone).
void Pump(DWORD ms);
