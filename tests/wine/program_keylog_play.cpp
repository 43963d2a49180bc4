// Records a performance in the real pokopon.exe with keys pressed on the X
// server, saves it and opens it again through the program's own file dialogs
// (typed into as a user types), and replays it while capture_test.sh records
// the sound server; program_keylog_check.py then compares the live hits with
// the replayed ones. The file itself is checked here.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "support/box_watch.h"
#include "support/player_end.h"
#include "support/program_run.h"
#include "support/test_folder.h"
#include "support/wav_file.h"
#include "support/x_input.h"

namespace {

HWND window;
int failures;

void check(bool ok, const std::string& what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    failures += ok ? 0 : 1;
}

std::string title()
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool waitTitle(const std::string& wanted, DWORD timeoutMs = 5000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20))
        if (title() == wanted)
            return true;
    return false;
}


// The command, then the name typed into the dialog it opens, and Return.
bool throughDialog(DWORD process, int command, const char* name)
{
    PostMessageA(window, WM_COMMAND, command, 0);
    return TypeIntoFileDialog(process, name);
}

}  // namespace

int play()
{
    std::string folder = ExeFolder() + "keylog";
    FreshFolder(folder);
    CreateDirectoryA((folder + "\\sounds").c_str(), nullptr);
    WriteWav(folder + "\\sounds\\tone.wav", Tone(1000, 0.1, 12000));
    // Parts without a kit window: moving and redrawing kit windows under Wine
    // without a window manager can hold a key up for a tenth of a second,
    // and the spacing is what is judged here.
    WriteFileBytes(folder + "\\sounds\\Setting.csv",
                   "44100\r\n4294967295\r\n"
                   "sounds\\tone.wav,20,127,127,DR_SNARE2\r\n"
                   "sounds\\tone.wav,bb,127,127,DR_SNARE3\r\n"
                   "sounds\\tone.wav,bc,127,127,DR_SNARE4\r\n");

    ProgramRun program(folder);
    BoxWatch boxes({}, program.processId());
    program.resume();
    window = program.waitWindow("TForm");
    if (!window || !FocusProgramWindow(window)) {
        std::printf("FAIL: the main window did not appear or take the keyboard\n");
        return 1;
    }

    std::printf("scene: live, Space, = (0xBB) and , (0xBC) half a second apart\n");
    PostMessageA(window, WM_COMMAND, IDM_START_RECORDING, 0);
    // A long lead-in: when the open dialog closes, the kit comes to the front
    // window by window, and the replay's first keys would wait for that.
    Sleep(1500);
    // When each key was pressed: starting xdotool takes a varying time.
    DWORD pressedAt[3];
    int k = 0;
    for (const char* key : {"space", "equal", "comma"}) {
        Xdotool(std::string("key ") + key);
        pressedAt[k++] = GetTickCount();
        Sleep(500);
    }
    PostMessageA(window, WM_COMMAND, IDM_STOP_RECORDING, 0);
    Sleep(300);
    check(title().rfind("STOP 00:00:0", 0) == 0, "stopped, with the clock: " + utf8(title()));
    Sleep(1500);

    check(throughDialog(program.processId(), IDM_SAVE, "take.pkp"), "the save dialog took the name");
    check(boxes.waitFor(1, 10000) && boxes.seen()[0].text == "保存しました。", "saved");
    std::string file = ReadFileBytes(folder + "\\take.pkp");
    check(file.size() > 6 && file.substr(0, 6) == "PKPN00", "the file starts with the magic");
    DeleteFileA((ExeFolder() + "take_steps.txt").c_str());
    std::vector<size_t> steps;
    std::string downs;
    for (size_t i = 6; i + 1 < file.size(); i += 2)
        if (file[i]) {
            downs += file[i];
            steps.push_back((i - 6) / 2);
        }
    std::string codes;
    for (char c : downs) {
        char hex[8];
        std::snprintf(hex, sizeof hex, " %02X", static_cast<uint8_t>(c));
        codes += hex;
    }
    check(downs == "\x20\xBB\xBC", "the three keys in order, codes above 127 kept:" + codes);
    if (steps.size() == 3) {
        std::printf("key-downs at steps %zu, %zu, %zu of %zu\n", steps[0], steps[1], steps[2],
                    (file.size() - 6) / 2);
        long pressed1 = long(pressedAt[1] - pressedAt[0]) / 4, pressed2 = long(pressedAt[2] - pressedAt[1]) / 4;
        long gap1 = long(steps[1] - steps[0]), gap2 = long(steps[2] - steps[1]);
        std::printf("xdotool pressed them about %ld and %ld steps apart\n", pressed1, pressed2);
        // The times are taken when xdotool has returned, a few steps off.
        check(std::labs(gap1 - pressed1) <= 10 && std::labs(gap2 - pressed2) <= 10,
              "the keys sit at the steps of the times they were pressed");
        // The sound the keys made is the witness of when they arrived: the
        // check script compares the steps with the live hits, and the replay
        // with the steps.
        WriteFileBytes(ExeFolder() + "take_steps.txt", std::to_string(steps[0]) + " " +
                                                          std::to_string(steps[1]) + " " +
                                                          std::to_string(steps[2]) + "\n");
    }

    std::printf("scene: the replay of take.pkp\n");
    check(throughDialog(program.processId(), IDM_OPEN, "take.pkp"), "the open dialog took the name");
    check(waitTitle("take.pkp - 再生中"), "the replay title: " + utf8(title()));
    check(boxes.waitFor(2, 10000) && boxes.seen()[1].text == "再生が終了しました。",
          "the end of the replay is told");
    check(waitTitle("ポコポン"), "the title is the program's again");
    Sleep(1500);

    std::printf("scene: a replay stopped before its first key (silent)\n");
    check(throughDialog(program.processId(), IDM_OPEN, "take.pkp"), "opened again");
    check(waitTitle("take.pkp - 再生中"), "replaying");
    PostMessageA(window, WM_COMMAND, IDM_STOP_PLAYBACK, 0);
    check(waitTitle("ポコポン"), "the stop command (32795) ends the replay");
    Sleep(2500);
    check(boxes.seen().size() == 2, "a stopped replay tells of no end");

    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = program.waitExit();
    check(code == 0, "the saved recording lets the program close at once");
    RemoveTree(folder);
    return failures ? 1 : 0;
}

int main()
{
    return PlayerEnds(play());
}
