// Plays five scenes through the audio engine into the real sound server, each
// followed by more than a second of silence, so that a recording of the
// server's output can be cut into the scenes by its energy alone:
//   1. one hit of a 1 s 1 kHz tone
//   2. two hits of a 1 s white noise 100 ms apart: where they overlap the
//      two voices are unrelated, so their powers add (a tone would not do:
//      the server starts each stream at no fixed sample against the others,
//      so two tones meet at any phase, their sum anywhere from nothing to
//      twice the level)
//   3. a 2 s 3 kHz open hi-hat, a 700 Hz snare 400 ms later (must not cut it)
//   4. the open hi-hat again, a 500 Hz closed hi-hat 400 ms later (cuts it)
//   5. after the switch to 56000 Hz, one hit of the 1 kHz tone
// audio_capture_check.py knows the same scenes. Exit code 0 when every hit
// found an open channel; the engine itself is judged by what is heard.
#include <windows.h>

#include <cstdio>

#include "audio/audio_engine.h"
#include "slots/part_names.h"
#include "support/player_end.h"
#include "support/test_folder.h"
#include "support/wav_file.h"

namespace {

constexpr int16_t kLevel = 8000;  // two voices together stay far from clipping
constexpr DWORD kGapMs = 1300;    // silence after each scene

enum Slot { kTone, kNoise, kOpenHat, kSnare, kClosedHat, kSlots };

// seconds of white noise, the same in both channels, at about the power of
// a kLevel tone.
Frames Noise(double seconds)
{
    Frames f(2 * static_cast<size_t>(seconds * 44100));
    uint32_t state = 12345;
    for (size_t i = 0; i < f.size(); i += 2) {
        state = state * 1664525u + 1013904223u;
        f[i] = f[i + 1] = static_cast<int16_t>(static_cast<int32_t>(state >> 16) % 19601 - 9800);
    }
    return f;
}

DWORD startTick;
int failures = 0;

void hit(AudioEngine& engine, const SoundSlot& slot, const char* what)
{
    int lowestFree = 0;
    while (lowestFree < kOutputChannels && engine.channel(lowestFree).busy.load())
        ++lowestFree;
    engine.trigger(slot);
    // The channel now playing this slot, preferably the lowest free one.
    int channel = -1;
    for (int i = 0; i < kOutputChannels; ++i)
        if (engine.channel(i).busy.load() && engine.channel(i).voiceSlot == slot.slotIndex &&
            (channel < 0 || i == lowestFree))
            channel = i;
    std::printf("%6lu ms  %-34s channel %d\n", GetTickCount() - startTick, what, channel);
    std::fflush(stdout);
    failures += channel < 0;
}

void scene(const char* title)
{
    std::printf("%6lu ms  scene: %s\n", GetTickCount() - startTick, title);
    std::fflush(stdout);
}

}  // namespace

int play()
{
    SetCurrentDirectoryA(ExeFolder().c_str());
    SoundSlot table[kSlotTableSize] = {};
    struct { const char* file; Frames frames; int part; } sounds[kSlots] = {
        {"tone1k.wav", Tone(1000, 1.0, kLevel), DR_SNARE2},
        {"noise.wav", Noise(1.0), DR_BASS1},
        {"open_hat.wav", Tone(3000, 2.0, kLevel), DR_HIHAT_OPEN},
        {"snare.wav", Tone(700, 0.15, kLevel), DR_SNARE1},
        {"closed_hat.wav", Tone(500, 0.15, kLevel), DR_HIHAT_CLOSE},
    };
    for (int i = 0; i < kSlots; ++i) {
        WriteWav(sounds[i].file, sounds[i].frames);
        std::snprintf(table[i].path, sizeof table[i].path, "%s", sounds[i].file);
        table[i].keyCode = static_cast<uint8_t>('A' + i);
        table[i].volume = table[i].pan = 127;
        table[i].slotIndex = i;
        table[i].partId = sounds[i].part;
    }

    AudioEngine engine(nullptr, nullptr);
    engine.loadSamples(table, 44100, kSlots);
    for (int i = 0; i < kOutputChannels; ++i)
        if (!engine.channel(i).handle) {
            std::printf("channel %d did not open: no sound device?\n", i);
            return 2;
        }
    for (int i = 0; i < kSlots; ++i)
        if (engine.sampleLength(i) != sounds[i].frames.size() * 2) {
            std::printf("%s loaded %u bytes, expected %zu\n", sounds[i].file,
                        static_cast<unsigned>(engine.sampleLength(i)), sounds[i].frames.size() * 2);
            return 2;
        }

    startTick = GetTickCount();
    scene("1 kHz tone once");
    hit(engine, table[kTone], "tone 1000 Hz 1.0 s");
    Sleep(1000 + kGapMs);

    scene("noise twice, 100 ms apart");
    hit(engine, table[kNoise], "white noise 1.0 s");
    Sleep(100);
    hit(engine, table[kNoise], "white noise 1.0 s");
    Sleep(1100 + kGapMs);

    scene("open hi-hat, snare after 400 ms");
    hit(engine, table[kOpenHat], "open hi-hat 3000 Hz 2.0 s");
    Sleep(400);
    hit(engine, table[kSnare], "snare 700 Hz 0.15 s");
    Sleep(1600 + kGapMs);

    scene("open hi-hat, closed hi-hat after 400 ms");
    hit(engine, table[kOpenHat], "open hi-hat 3000 Hz 2.0 s");
    Sleep(400);
    hit(engine, table[kClosedHat], "closed hi-hat 500 Hz 0.15 s");
    Sleep(1600 + kGapMs);

    engine.changeSampleRate(56000);
    scene("1 kHz tone once at 56000 Hz");
    hit(engine, table[kTone], "tone 1000 Hz 1.0 s, now 0.79 s");
    Sleep(1000 + kGapMs);
    std::printf("%6lu ms  done, %d hit(s) found no channel\n", GetTickCount() - startTick, failures);
    return failures ? 1 : 0;
}

int main()
{
    return PlayerEnds(play());
}
