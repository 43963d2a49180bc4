#include <windows.h>

#include "app/key_path.h"
#include "app/main_window.h"
#include "audio/audio_engine.h"
#include "keylog/key_logger.h"
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
    // A tick still sending keys and streams still playing would leave the
    // platform's timer and sound threads to be torn down under them as the
    // process ends, which Wine does not survive: stop and close them first.
    if (keyLogger)
        keyLogger->stopTicks();
    destroyEngine(audioEngine);
    audioEngine = nullptr;
    return static_cast<int>(msg.wParam);
}
