#include "app/init_application.h"

#include <windows.h>

#include <imm.h>

#include "app/main_window.h"
#include "app/panel_viewport.h"
#include "app/process_objects.h"
#include "app/silent_slots.h"
#include "audio/audio_engine.h"
#include "kit/kit_button.h"
#include "res/resource_ids.h"
#include "slots/default_sound_set.h"
#include "slots/settings_file.h"
#include "slots/sound_slot.h"
#include "ui/loading_splash.h"
#include "ui/slot_panel.h"
#include "util/debug_trace.h"
#include "util/message_boxes.h"
#include "util/quit_request.h"
#include "util/resource_bitmap.h"

namespace {


// Drum hits must not wait behind other programs.
void raisePriority()
{
    DWORD processId = 0;
    GetWindowThreadProcessId(mainWindow, &processId);
    HANDLE process = OpenProcess(PROCESS_ALL_ACCESS, FALSE, processId);
    if (process)
        SetPriorityClass(process, HIGH_PRIORITY_CLASS);
}

}  // namespace

void initApplication()
{
    InitializeCriticalSection(&sharedLock);
    // The keys play drums; an input method would swallow them.
    ImmDisableIME(0);
    loadingSplash = new LoadingSplash(LoadResourceBitmap(IDB_LOADING_SPLASH));
    DebugLine("start-up: splash shown");
    raisePriority();

    SettingsLoad settings = loadSettings();
    // Only a file that is not there is offered the default set: one that
    // cannot be read is the user's, and nothing may be written over it.
    if (settings == SettingsLoad::Unreadable
        || (settings == SettingsLoad::Missing
            && MessageBoxA(nullptr, "設定ファイルが見つかりません。\n初期化しますか?", kErrorCaption,
                           MB_OKCANCEL) != IDOK)) {
        RequestQuit();
        return;
    }
    if (settings == SettingsLoad::Missing) {
        writeDefaultSoundSet();
        loadSettings();
    }
    DebugLine("start-up: settings read");

    CreateSlotPanelWindows(mainWindow);
    BuildSlotPanel(slotPanelWindow, loadingSplash);
    DebugLine("start-up: slot panel built");
    loadingSplash->SetProgressText("WAVファイルをロード1");
    prepareDeviceErrorBoxes();
    audioEngine = new AudioEngine(mainWindow, &sharedLock);
    loadingSplash->SetProgressText("WAVファイルをロード2");
    audioEngine->loadSamples(soundSlots, static_cast<int32_t>(sampleRate), slotCount);
    loadingSplash->SetProgressText("WAVファイルをロード3");
    audioEngine->setMasterVolume(masterVolume);
    reportSilentEngine(*audioEngine);
    DebugLine("start-up: engine loaded");
    rowFilter = -1;
    ShowAllSlotRows(loadingSplash);
    loadingSplash->SetProgressText("完了");
    loadingSplash->CloseSplash();
    DebugLine("start-up: slot rows shown, splash closing");
    BuildKit(mainWindow, loadingSplash);
    DebugLine("start-up: kit built");
    reportSilentSlots(audioEngine->samples());
}
