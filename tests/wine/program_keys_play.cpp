// Plays the real pokopon.exe from the keyboard while capture_test.sh records
// the sound server; program_keys_check.py then counts the hits of each scene.
// The program runs from a fresh folder with a settings file of tones; the keys
// are pressed on the X server's keyboard, so that they reach the program as a
// player's keys do, with the server's auto-repeat while one is held.
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/box_watch.h"
#include "support/player_end.h"
#include "support/program_run.h"
#include "support/test_folder.h"
#include "support/wav_file.h"
#include "support/x_input.h"
#include "wav_bytes.h"

namespace {

constexpr DWORD kBetweenHits = 350;
constexpr DWORD kBetweenScenes = 3000;
constexpr DWORD kHeld = 1500;  // long enough for the server to repeat the key

// Space and M sound a short tone from rows 0 and 1; Z and X the same tone from
// a mono 22050 Hz file and a 24-bit 48 kHz file, each at a volume and pan of
// its own; rows 4 to 55 are bound to a silent sample; Q is bound only in row
// 56, which key-down never reaches.
std::string settings()
{
    std::string text = "44100\r\n4294967295\r\n"
                       "sounds\\tone.wav,20,127,127,DR_BASS1\r\n"
                       "sounds\\tone.wav,4d,127,127,DR_SNARE1\r\n"
                       "sounds\\mono22k.wav,5a,100,60,DR_TAMH\r\n"
                       "sounds\\deep48k.wav,58,127,200,DR_TAMM\r\n";
    char row[64];
    for (int i = 4; i < 56; ++i) {
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

void key(const char* action, const char* name, DWORD waitMs = 0)
{
    Xdotool(std::string(action) + " " + name);
    Sleep(waitMs);
}

void press(const char* name, DWORD waitMs)
{
    key("key", name, waitMs);
}

void scene(const char* what)
{
    std::printf("scene: %s\n", what);
    std::fflush(stdout);
}

}  // namespace

int play()
{
    std::string folder = ExeFolder() + "keys";
    FreshFolder(folder);
    CreateDirectoryA((folder + "\\sounds").c_str(), nullptr);
    WriteWav(folder + "\\sounds\\tone.wav", Tone(1000, 0.15, 12000));
    WriteWav(folder + "\\sounds\\mute.wav", Silence(0.01));
    const WavFields mono22k{.channels = 1, .rate = 22050}, deep48k{.rate = 48000, .bits = 24};
    WriteFileBytes(folder + "\\sounds\\mono22k.wav", WavBytes(mono22k, PcmTone(mono22k, 1000, 0.15, 12000 / 32767.0)));
    WriteFileBytes(folder + "\\sounds\\deep48k.wav", WavBytes(deep48k, PcmTone(deep48k, 1000, 0.15, 12000 / 32767.0)));
    WriteFileBytes(folder + "\\sounds\\Setting.csv", settings());

    ProgramRun program(folder);
    BoxWatch boxes({}, program.processId());
    program.resume();
    HWND window = program.waitWindow("TForm");
    if (!window) {
        std::printf("the main window did not appear (%zu boxes)\n", boxes.seen().size());
        return 1;
    }
    Sleep(500);
    if (!FocusProgramWindow(window)) {
        std::printf("the main window could not be given the keyboard\n");
        return 1;
    }

    scene("held Space: one hit, the repeats are dropped");
    key("keydown", "space", kHeld);
    key("keyup", "space", kBetweenScenes);

    scene("Space pressed, released, pressed: two hits");
    press("space", kBetweenHits);
    press("space", kBetweenScenes);

    scene("Space held, M held, Space again: three hits");
    key("keydown", "space", kBetweenHits);
    key("keydown", "m", kHeld);
    key("keyup", "space");
    key("keydown", "space", kBetweenHits);
    key("keyup", "space");
    key("keyup", "m", kBetweenScenes);

    scene("Space, Q (bound only in row 56), Space: two hits");
    press("space", kBetweenHits);
    press("q", kBetweenHits);
    press("space", kBetweenScenes);

    scene("Z: the tone from a mono 22050 Hz file, volume 100, pan 60");
    press("z", kBetweenScenes);

    scene("X: the tone from a 24-bit 48 kHz file, volume 127, pan 200");
    press("x", kBetweenScenes);

    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = program.waitExit();
    std::printf("program ended with %lu after %zu boxes\n", code, boxes.seen().size());
    for (const SeenBox& box : boxes.seen())
        std::printf("box: %s\n", utf8(box.text).c_str());
    RemoveTree(folder);
    return code == 0 && boxes.seen().empty() ? 0 : 1;
}

int main()
{
    return PlayerEnds(play());
}
