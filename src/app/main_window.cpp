#include "app/main_window.h"

#include "app/init_application.h"
#include "slots/settings_file.h"
#include "slots/sound_slot.h"
#include "util/screen_centre.h"

HINSTANCE appInstance;
HWND mainWindow;

namespace {

constexpr char kClassName[] = "TForm";
constexpr char kTitle[] = "ポコポン";
constexpr int kWidth = 660;
constexpr int kHeight = 540;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        mainWindow = window;
        initApplication();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_DESTROY:
        masterVolume = 0xFFFFFFFFu;
        saveSettings();
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND CreateMainWindow()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = mainWindowProc;
    wc.hInstance = appInstance;
    wc.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(1));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNSHADOW + 1));
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    return CreateWindowExA(WS_EX_WINDOWEDGE, kClassName, kTitle, WS_OVERLAPPEDWINDOW,
                           CentreX(kWidth), CentreY(kHeight), kWidth, kHeight, nullptr, nullptr,
                           appInstance, nullptr);
}
