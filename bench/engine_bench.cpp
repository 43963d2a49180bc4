// The audio engine under Wine: how long a build takes with the default set
// and with 60 full-size samples (canonical, then 24-bit 48 kHz mono ones to
// convert), how much of it opening and closing the 32 channels costs, how
// long the rebuild after an edit of one slot takes beside that slot's own
// load, and how long a trigger takes from entry to return; and the peak
// memory of the process after the heaviest loads.
#include <windows.h>

#include <mmsystem.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "audio/audio_engine.h"
#include "audio/engine_form.h"
#include "audio/sample_file.h"
#include "slots/default_sound_set.h"
#include "slots/settings_file.h"
#include "slots/sound_slot.h"
#include "support/test_folder.h"
#include "support/wav_file.h"
#include "wav_bytes.h"

namespace {

double nowMs()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct BuildTimes {
    double build, teardown;
};

BuildTimes timeBuild(const SoundSlot* table, int count)
{
    double t0 = nowMs();
    auto engine = std::make_unique<AudioEngine>(nullptr, nullptr);
    engine->loadSamples(table, 44100, count);
    double t1 = nowMs();
    engine.reset();
    return {t1 - t0, nowMs() - t1};
}

// Median of several runs of each figure.
BuildTimes medianBuild(const SoundSlot* table, int count, int runs)
{
    std::vector<double> b, t;
    for (int i = 0; i < runs; ++i) {
        BuildTimes x = timeBuild(table, count);
        b.push_back(x.build);
        t.push_back(x.teardown);
    }
    std::sort(b.begin(), b.end());
    std::sort(t.begin(), t.end());
    return {b[b.size() / 2], t[t.size() / 2]};
}

void report(const char* what, BuildTimes all, BuildTimes channels)
{
    std::printf("%s: build %.1f ms, tear-down %.1f ms; without opening and closing the channels %.1f ms\n",
                what, all.build, all.teardown, all.build + all.teardown - channels.build - channels.teardown);
}

// The process's peak working set so far: what a 32-bit program must find
// room for in its address space. (Wine's figure of private bytes leaves
// out the samples' buffers, so it is not printed.)
void reportPeakMemory(const char* after)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return;
    std::printf("peak working set after %s: %.1f MB (%zu-bit process)\n", after,
                static_cast<double>(counters.PeakWorkingSetSize) / 1e6, sizeof(void*) * 8);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The rebuild after an edit of one slot's volume, from the engine before
// it, as the program does it; against that slot's load alone, to which the
// rebuild may add at most 100 ms.
void reportEdit(const char* what, SoundSlot* table, int count, int edited)
{
    auto engine = std::make_unique<AudioEngine>(nullptr, nullptr);
    engine->loadSamples(table, 44100, count);
    GainTables gains;
    buildGainTables(&gains);
    std::vector<double> rebuild, alone;
    for (int run = 0; run < 5; ++run) {
        SoundSlot& slot = table[edited];
        slot.volume = slot.volume == 128 ? 129 : 128;
        double t0 = nowMs();
        engine->shutDown();
        auto next = std::make_unique<AudioEngine>(nullptr, nullptr);
        next->loadSamples(table, 44100, count, engine.get());
        engine = std::move(next);
        double t1 = nowMs();
        uint8_t* data = nullptr;
        uint32_t length = 0;
        loadSample(slot.path, gains, slot.volume, slot.pan, kSlotBytes, &data, &length);
        alone.push_back(nowMs() - t1);
        rebuild.push_back(t1 - t0);
        std::free(data);
    }
    double own = median(alone);
    std::printf("%s, one slot edited: rebuilt in %.1f ms; that slot's own load %.1f ms, goal below %.1f ms\n", what,
                median(rebuild), own, own + 100);
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

void triggerLatency()
{
    WriteWav("sounds\\click.wav", Tone(2000, 0.005, 3000));
    SoundSlot table[kSlotTableSize] = {};
    std::snprintf(table[0].path, sizeof table[0].path, "sounds\\click.wav");
    table[0].keyCode = 0x41;
    table[0].volume = table[0].pan = 127;
    AudioEngine engine(nullptr, nullptr);
    engine.loadSamples(table, 44100, 1);
    timeBeginPeriod(1);
    std::vector<double> times;
    int dropped = 0;
    for (int i = 0; i < 10000; ++i) {
        int busy = 0;
        for (int c = 0; c < kOutputChannels; ++c)
            busy += engine.channel(c).busy.load() != 0;
        dropped += busy == kOutputChannels;
        double t0 = nowMs();
        engine.trigger(table[0]);
        times.push_back((nowMs() - t0) * 1000.0);
        Sleep(1);
    }
    timeEndPeriod(1);
    std::printf("trigger over %zu hits (%d with every channel busy): median %.1f us, 99th percentile %.1f us, max %.1f us\n",
                times.size(), dropped, percentile(times, 0.5), percentile(times, 0.99), percentile(times, 1.0));
}

// The two platform calls of a trigger, timed apart, in the pattern of play:
// eight streams, a short buffer written every millisecond while others are
// still sounding and completing.
void preparePlusWrite()
{
    constexpr int kStreams = 8;
    WAVEFORMATEX format = {WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0};
    HWAVEOUT out[kStreams] = {};
    WAVEHDR header[kStreams] = {};
    for (HWAVEOUT& h : out)
        if (waveOutOpen(&h, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
            return;
    std::vector<char> data(441 * 4, 0);
    std::vector<double> prepare, write;
    timeBeginPeriod(1);
    for (int i = 0; i < 4000; ++i) {
        int s = i % kStreams;
        WAVEHDR& h = header[s];
        if ((h.dwFlags & WHDR_INQUEUE) != 0) {
            Sleep(1);
            continue;
        }
        h.lpData = data.data();
        h.dwBufferLength = static_cast<DWORD>(data.size());
        h.dwFlags = 0;
        double t0 = nowMs();
        waveOutPrepareHeader(out[s], &h, sizeof h);
        double t1 = nowMs();
        waveOutWrite(out[s], &h, sizeof h);
        double t2 = nowMs();
        prepare.push_back((t1 - t0) * 1000.0);
        write.push_back((t2 - t1) * 1000.0);
        Sleep(1);
    }
    timeEndPeriod(1);
    for (int s = 0; s < kStreams; ++s) {
        waveOutReset(out[s]);
        waveOutUnprepareHeader(out[s], &header[s], sizeof header[s]);
        waveOutClose(out[s]);
    }
    std::printf("in play, %zu writes: waveOutPrepareHeader median %.1f us, 99th %.1f us, max %.1f us;"
                " waveOutWrite median %.1f us, 99th %.1f us, max %.1f us\n",
                prepare.size(), percentile(prepare, 0.5), percentile(prepare, 0.99), percentile(prepare, 1.0),
                percentile(write, 0.5), percentile(write, 0.99), percentile(write, 1.0));
}

}  // namespace

int main()
{
    SetCurrentDirectoryA(ExeFolder().c_str());
    RemoveTree(ExeFolder() + "sounds");
    writeDefaultSoundSet();
    if (loadSettings() != SettingsLoad::Read)
        return 1;
    SoundSlot none[kSlotTableSize] = {};
    BuildTimes channels = medianBuild(none, 0, 5);
    std::printf("opening the 32 channels %.1f ms, closing them %.1f ms\n", channels.build, channels.teardown);
    report("default set (32 slots)", medianBuild(soundSlots, slotCount, 5), channels);

    // The largest files a slot takes at the lowest rate: 4,000,000 bytes of
    // 8 kHz 8-bit mono would be 500 s, 88 MB at 44100 Hz; each is refused
    // as too long before it is decoded.
    const WavFields worst{.channels = 1, .rate = 8000, .bits = 8};
    WriteFileBytes("sounds\\worst.wav", WavBytes(worst, PcmTone(worst, 440, (4000000 - 44) / 8000.0, 0.5)));
    SoundSlot worstSet[kSlotTableSize] = {};
    for (int i = 0; i < kSlotTableSize; ++i) {
        std::snprintf(worstSet[i].path, sizeof worstSet[i].path, "sounds\\worst.wav");
        worstSet[i].volume = worstSet[i].pan = 128;
        worstSet[i].slotIndex = i;
    }
    report("60 slots of 4,000,000-byte 8 kHz 8-bit mono files", medianBuild(worstSet, kSlotTableSize, 1), channels);
    reportPeakMemory("60 slots of 4,000,000-byte 8 kHz files");

    WriteWav("sounds\\full.wav", Tone(440, (4000000 - 44) / 4 / 44100.0, 12000));
    SoundSlot full[kSlotTableSize] = {};
    for (int i = 0; i < kSlotTableSize; ++i) {
        std::snprintf(full[i].path, sizeof full[i].path, "sounds\\full.wav");
        full[i].keyCode = static_cast<uint8_t>(0x30 + i);
        full[i].volume = 128;
        full[i].pan = 128;
        full[i].slotIndex = i;
    }
    report("60 slots of 4,000,000 bytes", medianBuild(full, kSlotTableSize, 3), channels);

    // The same slots from files that must be converted and resampled.
    const WavFields deep{.channels = 1, .rate = 48000, .bits = 24};
    WriteFileBytes("sounds\\deep.wav", WavBytes(deep, PcmTone(deep, 440, (4000000 - 44) / 3 / 48000.0, 0.5)));
    for (SoundSlot& slot : full)
        std::snprintf(slot.path, sizeof slot.path, "sounds\\deep.wav");
    // 28 s each: the slots past the set's twenty minutes are refused undecoded.
    report("60 slots of 4,000,000-byte 24-bit 48 kHz mono files", medianBuild(full, kSlotTableSize, 3), channels);

    reportEdit("default set", soundSlots, slotCount, 3);
    // The heaviest set the limits allow: 60 slots of 20 s of 8 kHz audio,
    // the lowest rate, each resampled to 44100 Hz.
    const WavFields low{.channels = 1, .rate = 8000, .bits = 8};
    WriteFileBytes("sounds\\low.wav", WavBytes(low, PcmTone(low, 440, kSetSeconds / 60.0, 0.5)));
    for (SoundSlot& slot : full)
        std::snprintf(slot.path, sizeof slot.path, "sounds\\low.wav");
    report("60 slots of 20 s at 8 kHz", medianBuild(full, kSlotTableSize, 1), channels);
    reportPeakMemory("60 slots of 20 s at 8 kHz");
    reportEdit("60 slots of 20 s at 8 kHz", full, kSlotTableSize, 30);

    triggerLatency();
    preparePlusWrite();
    RemoveTree(ExeFolder() + "sounds");
    return 0;
}
