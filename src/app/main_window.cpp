#include "app/main_window.h"

#include <shellapi.h>

#include "app/init_application.h"
#include "app/key_path.h"
#include "app/panel_viewport.h"
#include "app/slot_reload.h"
#include "audio/audio_engine.h"
#include "audio/playback_rate.h"
#include "audio/rate_menu.h"
#include "slots/settings_file.h"
#include "slots/sound_slot.h"
#include "ui/about_box.h"
#include "ui/loading_splash.h"
#include "util/screen_centre.h"

HINSTANCE appInstance;
HWND mainWindow;
HMENU mainMenu;

namespace {

constexpr char kClassName[] = "TForm";
constexpr char kTitle[] = "ポコポン";
constexpr int kWidth = 660;
constexpr int kHeight = 540;
constexpr int kMenuResource = 109;
constexpr int kCommandAbout = 104;
constexpr int kCommandQuit = 105;

// What the other windows of the program tell the main window.
constexpr UINT kShowSlotsMessage = WM_USER + 100;
constexpr UINT kStoreSlotMessage = WM_USER + 102;
constexpr UINT kPlaySlotMessage = WM_USER + 103;
constexpr UINT kSlotsChangedMessage = WM_USER + 104;
constexpr UINT kIgnoredMessage = WM_USER + 106;
constexpr WPARAM kShowAllSlots = 32778;

void onShowSlots(WPARAM which)
{
    rowFilter = which == kShowAllSlots ? -1 : static_cast<int32_t>(which);
    ResetSlotPanelScroll();
}

void onCommand(HWND window, int id)
{
    if (id == kCommandAbout)
        ShowAboutBox(appInstance, window);
    else if (id == kCommandQuit)
        SendMessageA(window, WM_CLOSE, 0, 0);
    else
        updateRateMenu(mainMenu, id, audioEngine);
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        mainWindow = window;
        mainMenu = GetMenu(window);
        DragAcceptFiles(window, TRUE);
        // The check starts on 44100Hz whatever rate the settings file gives.
        updateRateMenu(mainMenu, kRateMenuStart, nullptr);
        initApplication();
        return 0;
    case WM_SIZE:
        PlaceViewport(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_KEYDOWN:
        onKeyDown(static_cast<uint8_t>(wParam));
        return 0;
    case WM_KEYUP:
        onKeyUp(static_cast<uint8_t>(wParam));
        return 0;
    case WM_COMMAND:
        onCommand(window, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        ScrollSlotPanel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case kShowSlotsMessage:
        onShowSlots(wParam);
        return 0;
    case kStoreSlotMessage:
        storeSlot(*reinterpret_cast<const SoundSlot*>(wParam));
        return 0;
    case kPlaySlotMessage:
        onPlaySlot(wParam, lParam);
        return 0;
    case kSlotsChangedMessage:
        reloadSlots();
        return 0;
    case kProgressTextMessage:
        loadingSplash->SetProgressText(reinterpret_cast<const char*>(wParam));
        return 0;
    case kIgnoredMessage:
        return 0;
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
    wc.lpszMenuName = MAKEINTRESOURCEA(kMenuResource);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    return CreateWindowExA(WS_EX_WINDOWEDGE, kClassName, kTitle, WS_OVERLAPPEDWINDOW,
                           CentreX(kWidth), CentreY(kHeight), kWidth, kHeight, nullptr, nullptr,
                           appInstance, nullptr);
}
