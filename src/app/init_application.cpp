#include "app/init_application.h"

#include <windows.h>

#include <imm.h>

#include "app/main_window.h"
#include "slots/default_sound_set.h"
#include "slots/settings_file.h"
#include "util/message_boxes.h"

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
    // The keys play drums; an input method would swallow them.
    ImmDisableIME(0);
    raisePriority();

    if (!loadSettings()) {
        if (MessageBoxA(nullptr, "設定ファイルが見つかりません。\n初期化しますか?", kErrorCaption,
                        MB_OKCANCEL) != IDOK) {
            PostQuitMessage(0);
            return;
        }
        writeDefaultSoundSet();
        loadSettings();
    }
}
