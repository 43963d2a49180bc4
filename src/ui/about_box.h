#pragma once

#include <windows.h>

// The version box, modal to owner; returns when it is closed.
void ShowAboutBox(HINSTANCE instance, HWND owner);
