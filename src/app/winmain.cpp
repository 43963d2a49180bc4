#include <windows.h>

#include "app/main_window.h"
#include "util/debug_trace.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    DebugLine("start-up: program entered");
    appInstance = instance;
    HWND window = CreateMainWindow();
    ShowWindow(window, show);
    DebugLine("start-up: main window shown");

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
