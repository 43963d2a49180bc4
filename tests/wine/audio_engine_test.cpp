// The audio engine on the platform's real wave-out streams (the sound server
// here is a null sink): loading, channel choice, the hi-hat choke, rate
// changes and the master volume, as the engine's own state and the
// platform's answers show them.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>
#include <thread>
#include <vector>

#include "app/rate_menu.h"
#include "app/silent_slots.h"
#include "audio/audio_engine.h"
#include "audio/device_error.h"
#include "audio/stream_close.h"
#include "res/resource_ids.h"
#include "slots/part_names.h"
#include "support/box_watch.h"
#include "support/mm_result.h"
#include "util/program_messages.h"
#include "support/test_folder.h"
#include "support/wav_file.h"
#include "wav_bytes.h"

namespace {

std::vector<std::string> progress;
bool progressTagged = true;

LRESULT CALLBACK progressSink(HWND w, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kProgressTextMessage) {
        progress.push_back(reinterpret_cast<const char*>(wParam));
        progressTagged = progressTagged && std::strcmp(reinterpret_cast<const char*>(lParam), "Wave") == 0;
        return 0;
    }
    return DefWindowProcA(w, message, wParam, lParam);
}

HWND progressWindow()
{
    static HWND window = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = progressSink;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ProgressSink";
        RegisterClassA(&wc);
        return CreateWindowA("ProgressSink", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    }();
    return window;
}

// Waits until the channel's voice has ended; false on time-out.
bool waitFree(const AudioEngine& engine, int channel, DWORD timeoutMs = 5000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(5))
        if (engine.channel(channel).busy.load() == 0)
            return true;
    return false;
}

int busyCount(const AudioEngine& engine)
{
    int n = 0;
    for (int i = 0; i < kOutputChannels; ++i)
        n += engine.channel(i).busy.load() != 0;
    return n;
}

class AudioEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FreshFolder(ExeFolder() + "sounds");
        SetCurrentDirectoryA(ExeFolder().c_str());
        std::memset(table, 0, sizeof table);
        progress.clear();
        progressTagged = true;
        WriteWav(file("long.wav"), Silence(3.0));
        WriteWav(file("short.wav"), Silence(0.05));
    }
    void TearDown() override
    {
        streamCloseCalls = {waveOutReset, waveOutUnprepareHeader, waveOutClose};
        waveOpenCall = waveOutOpen;
        engine.reset();
        RemoveTree(ExeFolder() + "sounds");
    }

    static std::string file(const char* name) { return ExeFolder() + "sounds\\" + name; }

    void bind(int i, const char* name, int part, int volume = 127, int pan = 127)
    {
        std::snprintf(table[i].path, sizeof table[i].path, "sounds\\%s", name);
        table[i].keyCode = static_cast<uint8_t>(0x41 + i);
        table[i].volume = volume;
        table[i].pan = pan;
        table[i].slotIndex = i;
        table[i].partId = part;
        count = i + 1 > count ? i + 1 : count;
    }

    void load(int32_t rate = 44100)
    {
        engine = std::make_unique<AudioEngine>(progressWindow(), nullptr);
        engine->loadSamples(table, rate, count);
        ASSERT_NE(engine->channel(0).handle, nullptr)
            << "no wave-out stream opened: " << mmResultName(engine->openError());
    }

    const int16_t* samples(int slot) const { return reinterpret_cast<const int16_t*>(engine->sampleData(slot)); }

    SoundSlot table[kSlotTableSize];
    int count = 0;
    std::unique_ptr<AudioEngine> engine;
};

}  // namespace

TEST_F(AudioEngineTest, EachSlotGetsItsOwnBakedBuffer)
{
    Frames data = {1000, 1000, -1000, 7, 32767, -32768, 0x1234};  // 3 frames and a 2-byte tail
    WriteWav(file("tone.wav"), data);
    bind(0, "tone.wav", DR_SNARE1, 128, 128);
    bind(1, "tone.wav", DR_SNARE1, 127, 127);
    load();
    ASSERT_EQ(engine->sampleLength(0), 14u) << "the data length is the file size less 44";
    ASSERT_NE(engine->sampleData(0), engine->sampleData(1)) << "two slots, two buffers";
    const int16_t baked[] = {999, 1018, -1000, 7, 32175, -32760, 0x1234};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(samples(0)[i], baked[i]) << "volume 128, pan 128, sample " << i;
    const int16_t unity[] = {1000, 1000, -1000, 7, 32760, -32760, 0x1234};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(samples(1)[i], unity[i]) << "volume 127, pan 127 only clamps, sample " << i;
}

TEST_F(AudioEngineTest, UnreadableFilesLoadAsSilentSlots)
{
    WriteFileBytes(file("header.wav"), std::string(44, 'h'));
    WriteFileBytes(file("stub.wav"), std::string(20, 's'));
    bind(0, "header.wav", DR_SNARE1);
    bind(1, "stub.wav", DR_SNARE1);
    bind(2, "missing.wav", DR_SNARE1);
    bind(3, "long.wav", DR_SNARE1, 300, -7);  // levels outside the gain tables
    load();
    for (int slot = 0; slot < 3; ++slot) {
        EXPECT_EQ(engine->sampleLength(slot), 0u) << "slot " << slot << " must be silent";
        engine->trigger(table[slot]);
    }
    EXPECT_EQ(busyCount(*engine), 0) << "a silent slot takes no channel";
    EXPECT_EQ(engine->sampleLength(3), 3u * 44100 * 4) << "out-of-range levels still load";
}

namespace {

// G.711 mu-law of a 16-bit sample.
char muLaw(double sample)
{
    int magnitude = std::min(static_cast<int>(std::fabs(sample)), 32635) + 0x84;
    int exponent = 7;
    while (exponent > 0 && !(magnitude & (0x80 << exponent)))
        --exponent;
    int mantissa = magnitude >> (exponent + 3) & 0x0F;
    return static_cast<char>(~((sample < 0 ? 0x80 : 0) | exponent << 4 | mantissa));
}

}  // namespace

// Half a second of a tone in formats the loader converts, one through the
// platform's mu-law codec: each becomes 22050 frames at 44100 Hz at the tone's
// level; a codec nobody has stays silent.
TEST_F(AudioEngineTest, EveryKindOfFileBecomesHalfASecondAt44100)
{
    const WavFields mono22k{.channels = 1, .rate = 22050}, stereo24{.rate = 48000, .bits = 24};
    const WavFields ulaw{.tag = 7, .channels = 1, .rate = 8000, .bits = 8}, unknown{.tag = 0x1234};
    std::string ulawData;
    for (int i = 0; i < 4000; ++i)
        ulawData += muLaw(16384 * std::sin(2 * std::numbers::pi * 1000 * i / 8000));
    WriteFileBytes(file("mono22k.wav"), WavBytes(mono22k, PcmTone(mono22k, 1000, 0.5, 0.5)));
    WriteFileBytes(file("stereo24.wav"),
                   RiffWave(Chunk("LIST", "INFO") + FormatChunk(stereo24) + Chunk("data", PcmTone(stereo24, 1000, 0.5, 0.5))));
    WriteFileBytes(file("ulaw.wav"), WavBytes(ulaw, ulawData));
    WriteFileBytes(file("unknown.wav"), WavBytes(unknown, std::string(4000, 'u')));
    const char* names[] = {"mono22k.wav", "stereo24.wav", "ulaw.wav", "unknown.wav"};
    for (int i = 0; i < 4; ++i)
        bind(i, names[i], DR_SNARE1);
    load();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(engine->sampleLength(i), 22050u * 4) << names[i];
        int peak = 0;
        for (uint32_t s = 0; samples(i) && s < engine->sampleLength(i) / 2; ++s)
            peak = std::max(peak, std::abs(static_cast<int>(samples(i)[s])));
        EXPECT_NEAR(peak, 16384, 800) << names[i] << ": the tone's peak, within the steps of mu-law";
    }
    EXPECT_EQ(engine->sampleLength(3), 0u) << "an unknown codec is a silent slot";
}

namespace {

// A fmt chunk by hand: tag, channels, rate, bytes a second, block size, bits, cbSize and samples a block.
std::string CodecFmt(int tag, int channels, int rate, int avgBytes, int block, int bits, int perBlock)
{
    return Chunk("fmt ", LittleEndian(tag, 2) + LittleEndian(channels, 2) + LittleEndian(rate, 4) + LittleEndian(avgBytes, 4)
                             + LittleEndian(block, 2) + LittleEndian(bits, 2) + LittleEndian(2, 2) + LittleEndian(perBlock, 2));
}

}  // namespace

// Compressed headers that contradict themselves never reach a codec (one of
// them made the MP3 codec divide by zero), a codec's padding ends where the
// fact chunk says, and G.711 plays at any rate.
TEST_F(AudioEngineTest, CompressedHeadersAreCheckedBeforeTheCodec)
{
    const std::string blocks(8 * 256, '\0');  // IMA ADPCM silence, 505 frames a block
    struct Case {
        const char* name;
        std::string file;
        WavProblem problem;
        uint32_t length;
    } cases[] = {
        {"mp3-1.wav", RiffWave(CodecFmt(0x55, 1, 8000, 1, 1, 0, 0) + Chunk("data", std::string(4000, 'm'))), WavProblem::Damaged, 0},
        {"mp3-fast.wav", RiffWave(CodecFmt(0x55, 2, 44100, 200000, 1, 0, 0) + Chunk("data", blocks)), WavProblem::Damaged, 0},
        {"ima-4.wav", RiffWave(CodecFmt(0x11, 1, 8000, 4055, 4, 4, 505) + Chunk("data", blocks)), WavProblem::Damaged, 0},
        {"ms-adpcm.wav", RiffWave(CodecFmt(2, 1, 8000, 4096, 256, 4, 505) + Chunk("data", blocks)), WavProblem::Damaged, 0},
        {"gsm-64.wav", RiffWave(CodecFmt(0x31, 1, 8000, 1625, 64, 0, 320) + Chunk("data", blocks)), WavProblem::Damaged, 0},
        {"no-block.wav", RiffWave(CodecFmt(0x1234, 1, 8000, 4000, 0, 4, 0) + Chunk("data", blocks)), WavProblem::Damaged, 0},
        {"ima-fact.wav", RiffWave(CodecFmt(0x11, 1, 8000, 4055, 256, 4, 505) + Chunk("fact", LittleEndian(4000, 4)) + Chunk("data", blocks)),
         WavProblem::None, 22050 * 4},
        {"ulaw16k.wav", WavBytes({.tag = 7, .channels = 1, .rate = 16000, .bits = 8}, std::string(8000, '\xFF')), WavProblem::None, 22050 * 4},
    };
    for (int i = 0; i < 8; ++i) {
        WriteFileBytes(file(cases[i].name), cases[i].file);
        bind(i, cases[i].name, DR_SNARE1);
    }
    load();
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(engine->sampleProblem(i), cases[i].problem) << cases[i].name << ": " << wavProblemText(engine->sampleProblem(i));
        EXPECT_EQ(engine->sampleLength(i), cases[i].length) << cases[i].name;
    }
}

// A reload after an edit decodes again only what changed: its levels or its file.
TEST_F(AudioEngineTest, AReloadKeepsTheBuffersOfUnchangedSlots)
{
    WriteWav(file("tone.wav"), Silence(0.1));
    bind(0, "long.wav", DR_SNARE1);
    bind(1, "short.wav", DR_SNARE1);
    bind(2, "tone.wav", DR_SNARE1);
    load();
    const uint8_t* unchanged = engine->sampleData(0);
    const uint8_t* louder = engine->sampleData(1);
    std::unique_ptr<AudioEngine> previous = std::move(engine);
    ASSERT_TRUE(previous->shutDown());
    table[1].volume = 200;
    WriteWav(file("tone.wav"), Silence(0.2));
    engine = std::make_unique<AudioEngine>(progressWindow(), nullptr);
    engine->loadSamples(table, 44100, count, previous.get());
    EXPECT_EQ(engine->sampleData(0), unchanged) << "an unchanged slot keeps its buffer";
    EXPECT_NE(engine->sampleData(1), louder) << "new levels are baked anew";
    EXPECT_EQ(engine->sampleLength(2), 8820u * 4) << "a file written since is read again";
}

// The set's total holds twenty minutes: twenty slots of a minute fill it,
// after 39 of the largest files a slot takes (500 s at 8 kHz): too long.
TEST_F(AudioEngineTest, SlotsBeyondTheSetsTotalAreRefused)
{
    const WavFields minute{.channels = 1, .rate = 8000, .bits = 8};
    WriteFileBytes(file("minute.wav"), WavBytes(minute, std::string(480000, '\x80')));
    WriteFileBytes(file("worst.wav"), WavBytes(minute, std::string(4000000 - 44, '\x80')));
    for (int i = 0; i < kSlotTableSize; ++i)
        bind(i, i < 39 ? "worst.wav" : "minute.wav", DR_SNARE1);
    load();
    EXPECT_EQ(engine->sampleProblem(38), WavProblem::TooLong) << wavProblemText(engine->sampleProblem(38));
    EXPECT_EQ(engine->sampleLength(58), 44100u * 60 * 4);
    EXPECT_EQ(engine->sampleProblem(59), WavProblem::SetTooLong) << wavProblemText(engine->sampleProblem(59));
}

TEST_F(AudioEngineTest, ProgressTextsInOrder)
{
    bind(0, "short.wav", DR_SNARE1);
    bind(1, "long.wav", DR_BASS1);
    load();
    ASSERT_EQ(progress.size(), 1u + 32 + 2);
    EXPECT_EQ(progress[0], "WAVデバイスのオープン");
    for (int i = 0; i < 32; ++i)
        EXPECT_EQ(progress[1 + i], "デバイスのオープンWOUT" + std::to_string(i)) << "channel " << i;
    EXPECT_EQ(progress[33], "sounds\\short.wav") << "then each slot's path";
    EXPECT_EQ(progress[34], "sounds\\long.wav");
    EXPECT_TRUE(progressTagged) << "every progress message carries \"Wave\"";
    for (int i = 0; i < kOutputChannels; ++i) {
        EXPECT_NE(engine->channel(i).handle, nullptr) << "channel " << i << " did not open: " << mmResultName(engine->openError());
        EXPECT_EQ(engine->channel(i).format.nSamplesPerSec, 44100u);
        EXPECT_EQ(engine->channel(i).format.nAvgBytesPerSec, 44100u * 4);
    }
}

TEST_F(AudioEngineTest, LowestFreeChannelAndTheDropOfA33rdHit)
{
    bind(0, "long.wav", DR_BASS1);
    bind(1, "short.wav", DR_SNARE1);
    load();
    engine->trigger(table[0]);
    engine->trigger(table[1]);
    engine->trigger(table[0]);
    EXPECT_EQ(engine->channel(1).voiceSlot, 1) << "the second hit takes channel 1";
    ASSERT_TRUE(waitFree(*engine, 1)) << "the short voice never ended";
    EXPECT_EQ(busyCount(*engine), 2);
    engine->trigger(table[0]);
    EXPECT_EQ(engine->channel(1).voiceSlot, 0) << "the freed channel 1 is taken first";
    EXPECT_EQ(engine->channel(1).busy.load(), 1u);

    for (int i = 0; i < 2 * kOutputChannels && busyCount(*engine) < kOutputChannels; ++i)
        engine->trigger(table[0]);
    ASSERT_EQ(busyCount(*engine), kOutputChannels) << "32 long voices should sound together";
    EXPECT_EQ(engine->channel(31).voiceSlot, 0);
    engine->trigger(table[1]);
    EXPECT_EQ(busyCount(*engine), kOutputChannels);
    for (int i = 0; i < kOutputChannels; ++i)
        EXPECT_EQ(engine->channel(i).voiceSlot, 0) << "the 33rd hit changed channel " << i;
}

TEST_F(AudioEngineTest, ClosedHiHatCutsOnlyOpenHiHats)
{
    bind(0, "long.wav", DR_HIHAT_OPEN);
    bind(1, "long.wav", DR_HIHAT_CLOSE);
    bind(2, "long.wav", DR_SNARE1);
    load();
    engine->trigger(table[0]);  // channel 0: open
    engine->trigger(table[1]);  // channel 1: closed, cuts channel 0
    ASSERT_TRUE(waitFree(*engine, 0)) << "the open hi-hat was not cut";
    engine->trigger(table[0]);  // channel 0: open
    engine->trigger(table[2]);  // channel 2: snare
    engine->trigger(table[0]);  // channel 3: open
    engine->trigger(table[0]);  // channel 4: open hi-hat stops nothing
    Sleep(300);
    EXPECT_EQ(busyCount(*engine), 5) << "an open hi-hat cut something";
    engine->trigger(table[1]);  // channel 5: closed
    for (int open : {0, 3, 4})
        EXPECT_TRUE(waitFree(*engine, open)) << "the open hi-hat on channel " << open << " is not cut";
    Sleep(300);
    EXPECT_EQ(engine->channel(1).busy.load(), 1u) << "a closed hi-hat is never cut by another";
    EXPECT_EQ(engine->channel(2).busy.load(), 1u) << "other parts are not cut";
    EXPECT_EQ(engine->channel(5).busy.load(), 1u) << "the new closed hi-hat plays";

    bind(3, "missing.wav", DR_HIHAT_CLOSE);
    load();
    engine->trigger(table[0]);
    engine->trigger(table[3]);
    EXPECT_TRUE(waitFree(*engine, 0, 1000)) << "a closed hi-hat without a sample still cuts";
    EXPECT_EQ(busyCount(*engine), 0) << "and takes no channel itself";
}

TEST_F(AudioEngineTest, RateChangeReopensEveryChannelAndKeepsTheBuffers)
{
    WriteWav(file("tone.wav"), Tone(1000, 0.5, 8000));
    bind(0, "tone.wav", DR_SNARE1, 128, 100);
    bind(1, "long.wav", DR_BASS1);
    load(48000);
    EXPECT_EQ(engine->channel(0).format.nSamplesPerSec, 48000u) << "channels open at the given rate";
    const uint8_t* buffer = engine->sampleData(0);
    std::string before(reinterpret_cast<const char*>(buffer), engine->sampleLength(0));
    engine->trigger(table[1]);
    progress.clear();

    engine->changeSampleRate(56000);
    EXPECT_EQ(busyCount(*engine), 0) << "the rate change cuts a playing voice";
    EXPECT_EQ(engine->sampleRate(), 56000);
    for (int i = 0; i < kOutputChannels; ++i) {
        EXPECT_NE(engine->channel(i).handle, nullptr) << "channel " << i << " did not reopen: " << mmResultName(engine->openError());
        EXPECT_EQ(engine->channel(i).format.nSamplesPerSec, 56000u) << "channel " << i;
        EXPECT_EQ(engine->channel(i).format.nAvgBytesPerSec, 56000u * 4) << "channel " << i;
    }
    EXPECT_EQ(progress.size(), 32u) << "one progress text per reopened channel";
    EXPECT_EQ(engine->sampleData(0), buffer) << "the buffer is kept";
    EXPECT_TRUE(std::string(reinterpret_cast<const char*>(buffer), engine->sampleLength(0)) == before)
        << "and its samples untouched";
    engine->trigger(table[0]);
    EXPECT_EQ(engine->channel(0).busy.load(), 1u) << "the reopened channels play";
}

// Keys reach the engine inside the platform's closing calls, and Windows
// answers "still playing" while a buffer is queued: these stand in for both.
AudioEngine* closingEngine;
const SoundSlot* keySlot;
int voicesWhileClosing;
int closeCalls;
int stillPlayingLeft;

MMRESULT WINAPI resetWithAKey(HWAVEOUT handle)
{
    int before = busyCount(*closingEngine);
    closingEngine->trigger(*keySlot);
    voicesWhileClosing += busyCount(*closingEngine) - before;
    return waveOutReset(handle);
}

MMRESULT WINAPI closeStillPlaying(HWAVEOUT handle)
{
    ++closeCalls;
    if (stillPlayingLeft > 0) {
        --stillPlayingLeft;
        return WAVERR_STILLPLAYING;
    }
    return waveOutClose(handle);
}

TEST_F(AudioEngineTest, KeysHandledWhileChannelsCloseStartNoVoice)
{
    bind(0, "long.wav", DR_SNARE1);
    load();
    closingEngine = engine.get();
    keySlot = &table[0];
    voicesWhileClosing = 0;
    streamCloseCalls.reset = resetWithAKey;
    engine->changeSampleRate(48000);
    EXPECT_EQ(voicesWhileClosing, 0) << "voices started on channels closing for a rate change";
    engine->trigger(table[0]);
    EXPECT_EQ(busyCount(*engine), 1) << "the reopened channels play";
    engine.reset();
    EXPECT_EQ(voicesWhileClosing, 0) << "voices started on an engine being torn down";
}

TEST_F(AudioEngineTest, AStreamStillPlayingIsClosedAgainOrItsEngineKept)
{
    bind(0, "long.wav", DR_SNARE1);
    load();
    engine->trigger(table[0]);
    streamCloseCalls.close = closeStillPlaying;
    closeCalls = 0;
    stillPlayingLeft = 3;
    engine->changeSampleRate(48000);
    EXPECT_EQ(closeCalls, kOutputChannels + 3) << "each \"still playing\" is closed again";
    for (int i = 0; i < kOutputChannels; ++i)
        EXPECT_EQ(engine->channel(i).format.nSamplesPerSec, 48000u) << "channel " << i << " reopened";

    stillPlayingLeft = 1 << 30;
    EXPECT_FALSE(engine->shutDown()) << "streams that stay open are reported";
    EXPECT_NE(engine->channel(0).handle, nullptr) << "and kept open, not forgotten";
    streamCloseCalls.close = waveOutClose;
    EXPECT_TRUE(engine->shutDown()) << "they close once the platform lets them";
}

MMRESULT WINAPI openWithoutDevice(LPHWAVEOUT, UINT, LPCWAVEFORMATEX, DWORD_PTR, DWORD_PTR, DWORD)
{
    return MMSYSERR_NODRIVER;
}

TEST_F(AudioEngineTest, AMissingDeviceIsToldAndOpenedAgainAtAKeyASecondLater)
{
    bind(0, "short.wav", DR_SNARE1);
    waveOpenCall = openWithoutDevice;
    engine = std::make_unique<AudioEngine>(nullptr, nullptr);
    engine->loadSamples(table, 44100, count);
    BoxWatch boxes;
    reportSilentEngine(*engine);
    ASSERT_EQ(boxes.seen().size(), 1u);
    EXPECT_EQ(boxes.seen()[0].text, "音声出力を開けません。\nサウンドデバイスを確かめてください。キーを押すと開き直します。")
        << "not the settings file's line 1: " << utf8(boxes.seen()[0].text);
    waveOpenCall = waveOutOpen;  // the headset is plugged in again
    Sleep(1100);                 // tried at most once a second
    engine->trigger(table[0]);
    EXPECT_EQ(busyCount(*engine), 1) << "a key a second later opens it and sounds";
}

TEST_F(AudioEngineTest, MasterVolumeReachesEveryChannel)
{
    bind(0, "short.wav", DR_SNARE1);
    load();
    engine->setMasterVolume(0x80008000u);
    for (int i = 0; i < kOutputChannels; ++i) {
        DWORD volume = 0;
        EXPECT_EQ(mmResultName(waveOutGetVolume(engine->channel(i).handle, &volume)), "MMSYSERR_NOERROR")
            << "channel " << i;
        EXPECT_EQ(volume, 0x80008000u) << "channel " << i;
    }
}

TEST_F(AudioEngineTest, RateMenuMovesTheCheckAndSwitchesTheRate)
{
    bind(0, "short.wav", DR_SNARE1);
    load();
    HMENU menu = CreatePopupMenu();
    for (int id = IDM_RATE_MINUS_3; id <= IDM_RATE_PLUS_3; ++id)
        AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(id), "rate");
    const int32_t rates[] = {32000, 36000, 40000, 44100, 48000, 52000, 56000};
    for (int id = IDM_RATE_PLUS_3; id >= IDM_RATE_MINUS_3; --id) {
        updateRateMenu(menu, id, engine.get());
        EXPECT_EQ(engine->sampleRate(), rates[id - IDM_RATE_MINUS_3]) << "command " << id;
        EXPECT_EQ(engine->channel(31).format.nSamplesPerSec, static_cast<DWORD>(rates[id - IDM_RATE_MINUS_3]));
        for (int c = IDM_RATE_MINUS_3; c <= IDM_RATE_PLUS_3; ++c)
            EXPECT_EQ((GetMenuState(menu, static_cast<UINT>(c), MF_BYCOMMAND) & MF_CHECKED) != 0, c == id)
                << "after " << id << ", item " << c;
    }
    progress.clear();
    updateRateMenu(menu, IDM_RATE_MINUS_3, engine.get());
    EXPECT_EQ(progress.size(), 32u) << "the checked rate again still reopens all channels";
    updateRateMenu(menu, IDM_STOP_RECORDING, engine.get());
    EXPECT_EQ(progress.size(), 32u) << "another command changes nothing";
    EXPECT_TRUE(GetMenuState(menu, IDM_RATE_MINUS_3, MF_BYCOMMAND) & MF_CHECKED);
    DestroyMenu(menu);
}

TEST(DeviceError, FailureAndLossAreShownOnTheUserInterfaceThread)
{
    prepareDeviceErrorBoxes();
    BoxWatch boxes;
    std::thread wave([] {
        reportDeviceError(1);
        reportDeviceError(1);  // a second channel noticing the same loss
    });
    wave.join();
    bool quit = false;
    // Dispatches this thread's messages for up to ms, until done says so.
    auto pump = [&quit](DWORD ms, auto done) {
        MSG msg;
        for (DWORD start = GetTickCount(); !done() && GetTickCount() - start < ms;) {
            if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                quit = quit || msg.message == WM_QUIT;
                DispatchMessageA(&msg);
            } else {
                Sleep(5);
            }
        }
    };
    pump(10000, [&quit] { return quit; });
    EXPECT_TRUE(quit) << "the quit request reached this thread's loop";
    ASSERT_EQ(boxes.seen().size(), 1u) << "one box for one lost device";
    EXPECT_EQ(boxes.seen()[0].text,
              "デバイスのオープンに失敗しました\nアプリケーションを再起動してください\nエラーNo.1");
    EXPECT_EQ(boxes.seen()[0].style, static_cast<UINT>(MB_TOPMOST));

    std::thread([] {
        reportOutputLost();
        reportOutputLost();  // another key noticing it before the box is answered
    }).join();
    pump(10000, [&boxes] { return boxes.seen().size() >= 2; });
    pump(500, [] { return false; });  // time for a second box, which must not come
    ASSERT_EQ(boxes.seen().size(), 2u) << "one box for a lost output";
    EXPECT_EQ(boxes.seen()[1].text, "音声出力が使えなくなりました。\nサウンドデバイスを確かめてください。キーを押すと開き直します。");
}
