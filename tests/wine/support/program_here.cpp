#include "support/program_here.h"

#include "app/key_path.h"
#include "app/main_window.h"
#include "app/process_objects.h"
#include "audio/audio_engine.h"
#include "support/test_folder.h"
#include "support/wav_file.h"

HWND StartProgramHere(const std::string& settings, double toneSeconds)
{
    FreshFolder(ExeFolder() + "sounds");
    WriteWav(ExeFolder() + "sounds\\tone.wav", Tone(1000, toneSeconds, 8000));
    WriteFileBytes(ExeFolder() + "sounds\\Setting.csv", settings);
    appInstance = GetModuleHandleA(nullptr);
    HWND window = CreateMainWindow();
    ShowWindow(window, SW_SHOWNORMAL);
    return window;
}

void EndProgramHere()
{
    delete audioEngine;
    audioEngine = nullptr;
}

void Pump(DWORD ms)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message != WM_QUIT)
                DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}
