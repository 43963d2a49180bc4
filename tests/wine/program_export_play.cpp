// Replays a performance in the real pokopon.exe while capture_test.sh records
// the sound server, then renders the same file with pkpexport.exe and leaves
// take.pkp, take.wav and take.mid beside the recording for
// program_export_check.py to compare.
#include <windows.h>

#include <cstdio>
#include <string>

#include "res/resource_ids.h"
#include "support/box_watch.h"
#include "support/player_end.h"
#include "support/program_run.h"
#include "support/test_folder.h"
#include "support/wav_file.h"
#include "support/x_input.h"

namespace {

int failures;

void check(bool ok, const std::string& what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    failures += ok ? 0 : 1;
}

// Three scenes, a second and a half apart: an open hi-hat cut by a closed
// one, a flam of two snares 20 ms apart, and 36 hits 20 ms apart of a sound
// longer than all of them together, of which the last four find no voice.
std::string take()
{
    std::string records(2 * 2500, '\0');
    auto press = [&](size_t step, char key) {
        records[2 * step] = key;
        records[2 * step + 3] = key;  // let go in the next step
    };
    press(0, 'O');
    press(500, 'C');
    press(1200, 'S');
    press(1205, 'D');
    for (size_t k = 0; k < 36; ++k)
        press(1850 + 5 * k, 'L');
    return "PKPN00" + records;
}

}  // namespace

int play()
{
    std::string folder = ExeFolder() + "export";
    FreshFolder(folder);
    CreateDirectoryA((folder + "\\sounds").c_str(), nullptr);
    // Steady levels, not tones, and long ones. Wine starts each of the 32
    // streams some milliseconds early or late, which would set overlapping
    // tones against each other, while levels only add up and show how many
    // voices sound and when one is cut; and a stream's first sound can lose
    // its first 20 to 40 ms there, a small part of a long one.
    auto level = [](double seconds, int16_t value) { return Frames(static_cast<size_t>(seconds * 44100) * 2, value); };
    WriteWav(folder + "\\sounds\\open.wav", level(3.0, 8000));
    WriteWav(folder + "\\sounds\\closed.wav", level(2.0, -6000));
    WriteWav(folder + "\\sounds\\snare.wav", level(2.0, 5000));
    WriteWav(folder + "\\sounds\\long.wav", level(1.5, 900));
    WriteFileBytes(folder + "\\sounds\\Setting.csv",
                   "44100\r\n4294967295\r\n"
                   "sounds\\open.wav,4f,127,127,DR_HIHAT_OPEN\r\n"
                   "sounds\\closed.wav,43,127,127,DR_HIHAT_CLOSE\r\n"
                   "sounds\\snare.wav,53,127,127,DR_SNARE2\r\n"
                   "sounds\\snare.wav,44,127,127,DR_SNARE3\r\n"
                   "sounds\\long.wav,4c,127,127,DR_SNARE4\r\n");
    WriteFileBytes(folder + "\\take.pkp", take());

    {
        ProgramRun program(folder);
        BoxWatch boxes({}, program.processId());
        program.resume();
        HWND window = program.waitWindow("TForm");
        check(window && FocusProgramWindow(window), "the main window appeared");
        Sleep(1500);
        std::printf("scene: the replay of take.pkp\n");
        PostMessageA(window, WM_COMMAND, IDM_OPEN, 0);
        check(TypeIntoFileDialog(program.processId(), "take.pkp"), "the open dialog took the name");
        check(boxes.waitFor(1, 20000) && boxes.seen()[0].text == "再生が終了しました。", "the replay ended");
        Sleep(2000);
        PostMessageA(window, WM_CLOSE, 0, 0);
        check(program.waitExit() == 0, "the program closed");
    }

    std::string exporter = BuiltProgram();
    exporter.replace(exporter.find_last_of('\\') + 1, std::string::npos, "pkpexport.exe");
    ProgramRun render(folder, exporter, "\"" + folder + "\\take.pkp\"");
    BoxWatch boxes({}, render.processId());
    render.resume();
    check(render.waitExit(60000) == 0, "the exporter ended well");
    std::vector<SeenBox> seen = boxes.seen();
    check(seen.size() == 1 && seen[0].text.rfind("書き出しました。", 0) == 0,
          "it told what it wrote: " + (seen.empty() ? std::string("no box") : utf8(seen[0].text)));
    for (const char* name : {"take.pkp", "take.wav", "take.mid"})
        check(CopyFileA((folder + "\\" + name).c_str(), (ExeFolder() + name).c_str(), FALSE) != FALSE,
              std::string(name) + " beside the recording");
    RemoveTree(folder);
    return failures ? 1 : 0;
}

int main()
{
    return PlayerEnds(play());
}
