// The main window: its class, creation and window procedure.
#pragma once

#include <windows.h>

extern HINSTANCE appInstance;
extern HWND mainWindow;
extern HMENU mainMenu;

// Registers the window class and creates the main window; all of start-up
// runs inside the creation.
HWND CreateMainWindow();
