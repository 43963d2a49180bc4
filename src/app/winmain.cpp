#include <windows.h>

#include "app/main_window.h"
#include "app/process_objects.h"
#include "app/single_copy.h"
#include "audio/audio_engine.h"
#include "keylog/key_logger.h"
#include "kit/kit_button.h"
#include "util/debug_trace.h"
#include "util/quit_request.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show)
{
    DebugLine("start-up: program entered");
    if (!ClaimProgramFolder())
        return 0;
    appInstance = instance;
    HWND window = CreateMainWindow();
    ShowWindow(window, show);
    RaiseKit();
    DebugLine("start-up: main window shown");

    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        // A modal loop inside that message may have taken the quit message.
        if (QuitRequested())
            break;
    }
    // A tick still sending keys and streams still playing would leave the
    // platform's timer and sound threads to be torn down under them as the
    // process ends, which Wine does not survive: stop and close them first.
    if (keyLogger)
        keyLogger->stopTicks();
    destroyEngine(audioEngine);
    audioEngine = nullptr;
    return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}
