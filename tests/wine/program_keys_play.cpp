// Plays the real pokopon.exe from the keyboard while capture_test.sh records
// the sound server; program_keys_check.py then counts the hits of each scene.
// The program runs from a fresh folder with a settings file of tones, and the
// keys reach its window as the key messages the platform sends it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/box_watch.h"
#include "support/program_run.h"
#include "support/test_folder.h"
#include "support/wav_file.h"

namespace {

constexpr WPARAM kSpace = 0x20, kM = 0x4D, kQ = 0x51;
constexpr DWORD kBetweenHits = 350;
constexpr DWORD kBetweenScenes = 1200;

// Space and M sound a short tone from rows 0 and 1; rows 2 to 55 are bound to
// a silent sample; Q is bound only in row 56, which key-down never reaches.
std::string settings()
{
    std::string text = "44100\r\n4294967295\r\n"
                       "sounds\\tone.wav,20,127,127,DR_BASS1\r\n"
                       "sounds\\tone.wav,4d,127,127,DR_SNARE1\r\n";
    char row[64];
    for (int i = 2; i < 56; ++i) {
        std::snprintf(row, sizeof row, "sounds\\mute.wav,%x,127,127,DR_RIM\r\n", 0x60 + i);
        text += row;
    }
    text += "sounds\\tone.wav,51,127,127,DR_RIDE\r\n";
    for (int i = 57; i < 60; ++i) {
        std::snprintf(row, sizeof row, "sounds\\mute.wav,%x,127,127,DR_RIM\r\n", 0x60 + i);
        text += row;
    }
    return text;
}

HWND window;

void key(UINT message, WPARAM code, DWORD waitMs = 0)
{
    PostMessageA(window, message, code, 0);
    Sleep(waitMs);
}

void press(WPARAM code, DWORD waitMs)
{
    key(WM_KEYDOWN, code);
    key(WM_KEYUP, code, waitMs);
}

void scene(const char* what)
{
    std::printf("scene: %s\n", what);
    std::fflush(stdout);
}

}  // namespace

int main()
{
    std::string folder = ExeFolder() + "keys";
    FreshFolder(folder);
    CreateDirectoryA((folder + "\\sounds").c_str(), nullptr);
    WriteWav(folder + "\\sounds\\tone.wav", Tone(1000, 0.15, 12000));
    WriteWav(folder + "\\sounds\\mute.wav", Silence(0.01));
    WriteFileBytes(folder + "\\sounds\\Setting.csv", settings());

    ProgramRun program(folder);
    BoxWatch boxes({}, program.processId());
    program.resume();
    window = program.waitWindow("TForm");
    if (!window) {
        std::printf("the main window did not appear (%zu boxes)\n", boxes.seen().size());
        return 1;
    }
    Sleep(500);

    scene("held Space: one hit, the repeats are dropped");
    key(WM_KEYDOWN, kSpace, kBetweenHits);
    key(WM_KEYDOWN, kSpace, kBetweenHits);
    key(WM_KEYDOWN, kSpace, kBetweenHits);
    key(WM_KEYUP, kSpace, kBetweenScenes);

    scene("Space pressed, released, pressed: two hits");
    press(kSpace, kBetweenHits);
    press(kSpace, kBetweenScenes);

    scene("Space held, M, Space again: three hits");
    key(WM_KEYDOWN, kSpace, kBetweenHits);
    key(WM_KEYDOWN, kM, kBetweenHits);
    key(WM_KEYDOWN, kSpace, kBetweenHits);
    key(WM_KEYUP, kSpace);
    key(WM_KEYUP, kM, kBetweenScenes);

    scene("Space, Q (bound only in row 56), Space: two hits");
    press(kSpace, kBetweenHits);
    press(kQ, kBetweenHits);
    press(kSpace, kBetweenScenes);

    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = program.waitExit();
    std::printf("program ended with %lu after %zu boxes\n", code, boxes.seen().size());
    RemoveTree(folder);
    return code == 0 && boxes.seen().empty() ? 0 : 1;
}
