// The smallest Win32 program with a window: the start-up benchmark's measure
// of what Wine itself costs before any of the drum kit's work.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "EmptyProgram";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "EmptyProgram", "empty", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                  nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    OutputDebugStringA("start-up: main window shown\n");  // for the start-up timeline
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_CLOSE)  // posted by the benchmark
            break;
        DispatchMessageA(&msg);
    }
    return 0;
}
