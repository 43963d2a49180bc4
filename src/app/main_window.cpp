#include "app/main_window.h"

#include <shellapi.h>

#include "app/init_application.h"
#include "app/key_path.h"
#include "app/panel_viewport.h"
#include "app/process_objects.h"
#include "app/rate_menu.h"
#include "app/slot_reload.h"
#include "keylog/key_logger.h"
#include "keylog/performance_format.h"
#include "res/resource_ids.h"
#include "slots/settings_file.h"
#include "slots/sound_slot.h"
#include "ui/about_box.h"
#include "ui/loading_splash.h"
#include "util/debug_trace.h"
#include "util/message_boxes.h"
#include "util/program_messages.h"
#include "util/program_title.h"
#include "util/quit_request.h"
#include "util/screen_centre.h"
#include "util/window_text.h"

HINSTANCE appInstance;
HWND mainWindow;
HMENU mainMenu;

namespace {

constexpr char kClassName[] = "TForm";
constexpr int kWidth = 660;
constexpr int kHeight = 540;

constexpr UINT kIgnoredMessage = WM_USER + 106;

void onShowSlots(WPARAM which)
{
    rowFilter = which == static_cast<WPARAM>(IDM_SHOW_ALL) ? -1 : static_cast<int32_t>(which);
    showFilteredRows();
    ResetSlotPanelScroll();
}

void onCommand(HWND window, int id)
{
    switch (id) {
    case IDM_ABOUT:
        ShowAboutBox(appInstance, window);
        return;
    case IDM_QUIT:
        SendMessageA(window, WM_CLOSE, 0, 0);
        return;
    case IDM_OPEN:
        if (keyLogger->hasRecording())
            SendCommand(window, IDM_STOP_RECORDING);
        keyLogger->openPerformance(nullptr);
        return;
    case IDM_STOP_PLAYBACK:
        keyLogger->stopPlayback();
        return;
    case IDM_SAVE:
        keyLogger->savePerformance();
        break;
    case IDM_START_RECORDING:
        keyLogger->startRecording();
        break;
    case IDM_STOP_RECORDING:
        keyLogger->stopRecording();
        break;
    default:
        if (rateOfCommand(id) == 0)
            return;  // any other id is ignored; 0 would reset the menu
    }
    keyLogger->updateMenuState(id);
    updateRateMenu(mainMenu, id, audioEngine);
}

// Asks about a recording that was not saved; Cancel, or a cancelled save,
// keeps the program running.
void onClose(HWND window)
{
    // A close that arrives while a context menu is open closes the menu
    // first: the question below, or the end, must not wait behind it.
    EndMenu();
    if (keyLogger->hasRecording()) {
        int answer = AskYesNoCancel(window, keyLogger->stopTitle(),
                                    "保存していないデータがあります。\n保存しますか？");
        if (answer == IDCANCEL)
            return;
        if (answer == IDYES) {
            keyLogger->savePerformance();
            if (keyLogger->hasRecording()) {
                // The save stopped a running recording: the menu says so.
                keyLogger->updateMenuState(IDM_STOP_RECORDING);
                return;
            }
        }
    }
    RequestQuit();
}

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    keyHook(message, wParam);
    switch (message) {
    case WM_CREATE:
        mainWindow = window;
        mainMenu = GetMenu(window);
        DragAcceptFiles(window, TRUE);
        keyLogger = new KeyLogger(window, kPerformanceMagic);
        keyLogger->updateMenuState(0);
        // The check starts on 44100Hz whatever rate the settings file gives.
        updateRateMenu(mainMenu, IDM_RATE_44100, nullptr);
        initApplication();
        return 0;
    case WM_SIZE:
        PlaceViewport(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(window, &ps);
        EndPaint(window, &ps);
        static bool painted;
        if (!painted)
            DebugLine("start-up: first paint");
        painted = true;
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
    case kEndMenusMessage:
        EndMenu();
        return 0;
    case WM_DROPFILES:
        keyLogger->onDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_CLOSE:
        onClose(window);
        return 0;
    case WM_DESTROY:
        // Written over the file as it is now, as every change is.
        if (rereadIfChangedOutside()) {
            masterVolume = 0xFFFFFFFFu;
            saveSettings();
        }
        RequestQuit();
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
    wc.hIcon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_POKOPON));
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNSHADOW + 1));
    wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAIN_MENU);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    return CreateWindowExA(WS_EX_WINDOWEDGE, kClassName, kProgramTitle, WS_OVERLAPPEDWINDOW,
                           CentreX(kWidth), CentreY(kHeight), kWidth, kHeight, nullptr, nullptr,
                           appInstance, nullptr);
}
