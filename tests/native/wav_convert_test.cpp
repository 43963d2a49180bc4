// WAV files generated here, read as the loader reads them: the chunk walk,
// every sample format the program converts itself, and the resampler's pitch,
// level and rejection of aliases and images. Built natively and for Wine, so
// that both builds are held to the same values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <numbers>
#include <string>
#include <vector>

#include "audio/engine_form.h"
#include "audio/resampler.h"
#include "audio/sample_convert.h"
#include "audio/wav_chunks.h"
#include "audio/wav_decode.h"
#include "wav_bytes.h"

namespace {


// The engine's samples for a file, as the loader converts it.
std::vector<int16_t> engineSamples(const std::string& file, WavProblem* problem)
{
    auto* block = static_cast<uint8_t*>(std::malloc(file.size()));
    std::memcpy(block, file.data(), file.size());
    uint8_t* out = nullptr;
    uint32_t length = 0;
    *problem = decodeWavFile(block, file.size(), nullptr, kSlotBytes, &out, &length);
    std::vector<int16_t> samples(length / 2);
    if (length)
        std::memcpy(samples.data(), out, length / 2 * 2);
    std::free(out);
    return samples;
}

// Writes one sample of level (full scale 1) in a format and returns the value
// it holds in 16-bit units, unrounded.
struct Encoding {
    const char* name;
    uint16_t tag, bits;
    double (*put)(std::string& s, double level);
};

const Encoding kEncodings[] = {
    {"8-bit", 1, 8, [](std::string& s, double l) { long v = std::lround(l * 127); s += LittleEndian(v + 128, 1); return v * 256.0; }},
    {"16-bit", 1, 16, [](std::string& s, double l) { long v = std::lround(l * 32767); s += LittleEndian(v, 2); return double(v); }},
    {"24-bit", 1, 24, [](std::string& s, double l) { long v = std::lround(l * 8388607); s += LittleEndian(v, 3); return v / 256.0; }},
    {"32-bit", 1, 32, [](std::string& s, double l) { long long v = std::llround(l * 2147483647.0); s += LittleEndian(v, 4); return v / 65536.0; }},
    // Floats beyond full scale must clamp, never wrap.
    {"float", 3, 32, [](std::string& s, double l) { float f = float(l * 1.5); s += std::string(reinterpret_cast<char*>(&f), 4); return f * 32768.0; }},
    {"double", 3, 64, [](std::string& s, double l) { double d = l * 1.5; s += std::string(reinterpret_cast<char*>(&d), 8); return d * 32768.0; }},
};

const double kLevels[] = {-1.0, -0.7, -1.0 / 3, -0.0001, 0.0, 0.00002, 0.5, 0.99999, 1.0};

}  // namespace

// Every format, with one, two and three channels, plain and extensible, at
// 44100 Hz: within 1 of the exact value, clamped; the left side takes the
// first channel, the right side the second, a mono file both.
TEST(WavConvert, EveryFormatMatrixWithinOneStep)
{
    for (const Encoding& e : kEncodings)
        for (uint16_t channels : {1, 2, 3})
            for (bool extensible : {false, true}) {
                std::string data;
                std::vector<double> want;
                for (double level : kLevels) {
                    double left = e.put(data, level);
                    double right = channels > 1 ? e.put(data, -level / 2) : left;
                    if (channels > 2)
                        e.put(data, 0.9);
                    want.push_back(std::min(std::max(left, -32768.0), 32767.0));
                    want.push_back(std::min(std::max(right, -32768.0), 32767.0));
                }
                WavFields fields{e.tag, channels, 44100, e.bits, extensible};
                WavProblem problem;
                std::vector<int16_t> got = engineSamples(WavBytes(fields, data), &problem);
                std::string what = std::string(e.name) + " x" + std::to_string(channels) + (extensible ? " extensible" : "");
                ASSERT_EQ(problem, WavProblem::None) << what;
                ASSERT_EQ(got.size(), want.size()) << what;
                for (size_t i = 0; i < got.size(); ++i)
                    EXPECT_NEAR(got[i], want[i], 1.0) << what << ", sample " << i;
            }
}

TEST(WavConvert, OnlySixteenBitStereoAt44100IsTakenAsItStands)
{
    EXPECT_TRUE(isEngineForm({1, 2, 44100, 16}));
    EXPECT_FALSE(isEngineForm({1, 1, 44100, 16}));
    EXPECT_FALSE(isEngineForm({1, 2, 48000, 16}));
    EXPECT_FALSE(isEngineForm({1, 2, 44100, 24}));
    EXPECT_FALSE(isEngineForm({3, 2, 44100, 16}));
}

// The default sound set is canonical: its audio is what the 44-byte skip read.
TEST(WavConvert, DefaultSetAudioStartsAfterFortyFourBytes)
{
    for (const char* name : {"HHopen", "bass2", "china1", "crash1", "ride", "rim", "snr1", "splash", "tam1e", "tamm2"}) {
        std::FILE* f = std::fopen((std::string(POKOPON_SOURCE_DIR "/res/sounds/") + name + ".wav").c_str(), "rb");
        ASSERT_NE(f, nullptr) << name;
        std::string file(4000000, '\0');
        file.resize(std::fread(file.data(), 1, file.size(), f));
        std::fclose(f);
        WavChunks chunks;
        ASSERT_EQ(findWavChunks(reinterpret_cast<const uint8_t*>(file.data()), file.size(), &chunks), WavProblem::None);
        EXPECT_TRUE(isEngineForm(chunks.format)) << name;
        EXPECT_EQ(reinterpret_cast<const char*>(chunks.data) - file.data(), 44) << name;
        EXPECT_EQ(chunks.dataBytes, file.size() - 44) << name;
    }
}

namespace {

const std::string kAudio("\x01\x00\x02\x00\x03\x00\x04\x00", 8);  // frames (1, 2), (3, 4)
const std::string kFmt = FormatChunk(WavFields{});

struct ChunkCase {
    const char* what;
    std::string file;
    WavProblem problem;
    std::vector<int16_t> samples = {1, 2, 3, 4};
};

// A fmt chunk as written by hand: tag, channels, rate, bytes a second, block
// size, bits, then a codec's own bytes.
std::string Fmt(int tag, int channels, int rate, int avgBytes, int block, int bits, const std::string& extra = "")
{
    return Chunk("fmt ", LittleEndian(tag, 2) + LittleEndian(channels, 2) + LittleEndian(rate, 4)
                             + LittleEndian(avgBytes, 4) + LittleEndian(block, 2) + LittleEndian(bits, 2) + extra);
}

}  // namespace

// Where the chunks stand and what they say: read right or refused, never
// read as something else.
TEST(WavChunks, FoundWhereverTheyStandOrRefused)
{
    const std::string extras = Chunk("LIST", "INFOISFT\x05\0\0\0x") + Chunk("bext", std::string(603, 'b'))
                               + Chunk("fact", LittleEndian(2, 4)) + Chunk("cue ", LittleEndian(0, 4))
                               + Chunk("smpl", std::string(36, 's')) + Chunk("JUNK", "odd");
    const std::string truncated = RiffWave(kFmt + "data" + LittleEndian(1000, 4) + kAudio);
    const ChunkCase cases[] = {
        {"every extra chunk kind, odd sizes padded, before, between and after",
         RiffWave(extras + kFmt + extras + Chunk("data", kAudio) + extras), WavProblem::None},
        {"data before fmt", RiffWave(Chunk("data", kAudio) + extras + kFmt), WavProblem::None},
        {"data running past the end of the file", truncated, WavProblem::None},
        {"a wrong RIFF size", "RIFF" + LittleEndian(7, 4) + "WAVE" + kFmt + Chunk("data", kAudio), WavProblem::None},
        {"not RIFF", "RIFX" + WavBytes(WavFields{}, kAudio).substr(4), WavProblem::NotRiffWave},
        {"RIFF but not WAVE", "RIFF" + LittleEndian(4, 4) + "AVI " + kFmt, WavProblem::NotRiffWave},
        {"shorter than a RIFF header", "RIFF", WavProblem::NotRiffWave},
        {"no fmt", RiffWave(extras + Chunk("data", kAudio)), WavProblem::NoFormat},
        {"fmt too short", RiffWave(Chunk("fmt ", kFmt.substr(8, 14)) + Chunk("data", kAudio)), WavProblem::NoFormat},
        {"no data", RiffWave(kFmt + extras), WavProblem::NoData},
        {"a data chunk that swallows the fmt after it",
         RiffWave("data" + LittleEndian(100, 4) + kAudio + kFmt), WavProblem::NoFormat},
        {"no channels", WavBytes({.channels = 0}, kAudio), WavProblem::NoChannels},
        {"rate 0", WavBytes({.rate = 0}, kAudio), WavProblem::NoRate},
        {"rate below 8000", WavBytes({.rate = 7999}, kAudio), WavProblem::RateOutOfRange},
        {"a codec of its own", WavBytes({.tag = 0x1234}, kAudio), WavProblem::UnknownCodec},
        {"extensible with an unknown sub-format", WavBytes({.tag = 0x1234, .extensible = true}, kAudio), WavProblem::UnknownCodec},
        {"float of 16 bits", WavBytes({.tag = 3, .bits = 16}, kAudio), WavProblem::BadLayout},
        {"a data size of 0, the audio after it", RiffWave(kFmt + "data" + LittleEndian(0, 4) + kAudio), WavProblem::None},
        {"an empty data chunk", WavBytes(WavFields{}, ""), WavProblem::Empty},
        {"24-bit in blocks of 8", RiffWave(Fmt(1, 2, 44100, 352800, 8, 24) + Chunk("data", kAudio)), WavProblem::BadLayout},
        {"more than a minute once converted", WavBytes({.channels = 1, .rate = 8000, .bits = 8}, std::string(480001, '\x80')),
         WavProblem::TooLong},
        {"IMA ADPCM in blocks of 4 that claim 505 frames",
         RiffWave(Fmt(0x11, 1, 8000, 4055, 4, 4, LittleEndian(2, 2) + LittleEndian(505, 2)) + Chunk("data", kAudio)),
         WavProblem::Damaged},
        {"MP3 at 1 byte a second", RiffWave(Fmt(0x55, 1, 8000, 1, 1, 0, LittleEndian(0, 2)) + Chunk("data", kAudio)),
         WavProblem::Damaged},
        // The end points of G.711's segments, by its tables.
        {"mu-law", WavBytes({.tag = 7, .channels = 1, .bits = 8}, std::string("\xFF\xFE\x80\x00", 4)), WavProblem::None,
         {0, 0, 8, 8, 32124, 32124, -32124, -32124}},
        {"A-law", WavBytes({.tag = 6, .channels = 1, .bits = 8}, "\xD5\x55\xAA\x2A"), WavProblem::None,
         {8, 8, -8, -8, 32256, 32256, -32256, -32256}},
    };
    for (const ChunkCase& c : cases) {
        WavProblem problem;
        std::vector<int16_t> got = engineSamples(c.file, &problem);
        EXPECT_EQ(problem, c.problem) << c.what << ": " << wavProblemText(problem);
        if (c.problem == WavProblem::None) {
            EXPECT_EQ(got, c.samples) << c.what;
        }
    }
}

namespace {

// seconds of a tone of amplitude (full scale 1) at rate, as 32-bit float.
std::string floatTone(double hz, uint32_t rate, uint16_t channels, double amplitude = 0.5, double seconds = 1.5)
{
    std::string data;
    for (size_t i = 0; i < static_cast<size_t>(seconds * rate); ++i) {
        float v = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate));
        for (int c = 0; c < channels; ++c)
            data += std::string(reinterpret_cast<char*>(&v), 4);
    }
    return WavBytes(WavFields{3, channels, rate, 32, false}, data);
}

std::vector<double> side(const std::vector<int16_t>& stereo, int which)
{
    std::vector<double> x;
    for (size_t i = which; i < stereo.size(); i += 2)
        x.push_back(stereo[i]);
    return x;
}

struct Fit {
    double amplitude;  // of the tone at hz, in 16-bit units
    double rest;       // RMS of everything else
};

// The tone at hz in the one second of x from 0.25 s on, a whole number of
// periods for any whole hz, and what is left beside it.
Fit fitTone(const std::vector<double>& x, double hz)
{
    const size_t from = 11025, n = 44100;
    double a = 0, b = 0;
    for (size_t i = 0; i < n; ++i) {
        double t = 2 * std::numbers::pi * hz * static_cast<double>(from + i) / 44100;
        a += x[from + i] * std::sin(t);
        b += x[from + i] * std::cos(t);
    }
    a *= 2.0 / n;
    b *= 2.0 / n;
    double rest = 0;
    for (size_t i = 0; i < n; ++i) {
        double t = 2 * std::numbers::pi * hz * static_cast<double>(from + i) / 44100;
        double r = x[from + i] - a * std::sin(t) - b * std::cos(t);
        rest += r * r;
    }
    return {std::hypot(a, b), std::sqrt(rest / n)};
}

// The frequency from the first and last rising zero crossing of that second.
double frequency(const std::vector<double>& x)
{
    double first = -1, last = -1;
    int crossings = 0;
    for (size_t i = 11025; i < 11025 + 44100; ++i)
        if (x[i - 1] < 0 && x[i] >= 0) {
            double at = static_cast<double>(i - 1) + x[i - 1] / (x[i - 1] - x[i]);
            first = first < 0 ? at : first;
            last = at;
            ++crossings;
        }
    return (crossings - 1) * 44100.0 / (last - first);
}

double dB(double ratio)
{
    return 20 * std::log10(ratio);
}

}  // namespace

// A tone from every kind of rate, odd ones too: its pitch, its level on both sides, its
// length, and nothing beside it 90 dB up (images of an upsampled tone,
// aliases, the filter's ripple). Near full scale, so that the rounding to
// 16 bits, 97 dB below the tone, leaves room to see 90 dB.
TEST(Resampler, TonesKeepPitchLevelAndPurity)
{
    struct Case {
        uint32_t rate;
        uint16_t channels;
        double hz;
    };
    // The last of each group stand at the edge of the band that must stay
    // flat: 0.9 of the source's Nyquist frequency, but at most 20 kHz.
    const Case cases[] = {{8000, 1, 1000},  {11025, 2, 1000}, {22050, 1, 1000}, {22050, 1, 8000}, {32000, 2, 1000},
                          {32000, 2, 13000}, {48000, 1, 1000}, {48000, 2, 100},  {48000, 2, 9000}, {48000, 1, 18000},
                          {96000, 2, 1000}, {96000, 1, 18000}, {192000, 1, 1000}, {192000, 2, 17000},
                          {8001, 1, 1000},   {44056, 2, 1000}, {47999, 1, 18000}, {48000, 1, 19500},
                          {8000, 1, 3600},   {11025, 2, 4961}, {22050, 1, 9922}, {32000, 1, 14400},
                          {11025, 1, 4961}, {22050, 2, 9922},
                          {48000, 2, 20000}, {96000, 1, 20000}, {192000, 1, 20000}, {47999, 2, 20000}};
    for (const Case& c : cases) {
        std::string what = std::to_string(c.hz) + " Hz at " + std::to_string(c.rate) + " Hz";
        WavProblem problem;
        std::vector<int16_t> out = engineSamples(floatTone(c.hz, c.rate, c.channels, 0.9), &problem);
        ASSERT_EQ(problem, WavProblem::None) << what;
        size_t frames = static_cast<size_t>(1.5 * c.rate);
        EXPECT_EQ(out.size() / 2, (uint64_t{frames} * 44100 + c.rate - 1) / c.rate) << what << ": as long as the file";
        for (int which : {0, 1}) {
            std::vector<double> x = side(out, which);
            Fit fit = fitTone(x, c.hz);
            EXPECT_NEAR(dB(fit.amplitude / (0.9 * 32768)), 0.0, 0.1) << what << ": level, side " << which;
            EXPECT_LT(dB(fit.rest / (fit.amplitude / std::sqrt(2))), -90) << what << ": beside the tone";
            if (c.hz == 1000) {
                EXPECT_NEAR(frequency(x), 1000.0, 1.0) << what << ": pitch";
            }
        }
    }
}

// Tones above 22.05 kHz have no place at 44.1 kHz: what is left of them,
// aliased back into the band, must be 90 dB below them, from just above.
TEST(Resampler, TonesAboveTheBandAreRemoved)
{
    struct Case {
        uint32_t rate;
        double hz;
    };
    for (Case c : {Case{48000, 22500}, Case{48000, 23500}, Case{96000, 26100}, Case{96000, 40000},
                   Case{192000, 30000}, Case{192000, 90000}, Case{47999, 23000}, Case{48000, 22200},
                   Case{96000, 22200}, Case{192000, 22200}}) {
        WavProblem problem;
        std::vector<double> x = side(engineSamples(floatTone(c.hz, c.rate, 1, 0.9), &problem), 0);
        ASSERT_EQ(problem, WavProblem::None);
        double power = 0;
        for (size_t i = 11025; i < 11025 + 44100; ++i)
            power += x[i] * x[i];
        double rms = std::sqrt(power / 44100);
        EXPECT_LT(dB(rms / (0.9 * 32768 / std::sqrt(2))), -90) << c.hz << " Hz at " << c.rate << " Hz";
    }
}

// The same input gives the same samples in every build: a few of a 24-bit
// 48 kHz mono tone, as the native build computed them.
TEST(Resampler, SameSamplesInEveryBuild)
{
    std::string data;
    for (int i = 0; i < 4800; ++i)
        data += LittleEndian(static_cast<int64_t>(std::lround(6000000 * std::sin(i * 0.131) + 1500000 * std::sin(i * 1.7))), 3);
    WavProblem problem;
    std::vector<int16_t> out = engineSamples(WavBytes(WavFields{1, 1, 48000, 24, false}, data), &problem);
    ASSERT_EQ(out.size(), 8820u);
    const int16_t expected[][2] = {{0, 558}, {1, 558}, {100, 11763}, {2001, -21617}, {4409, 4374}, {8818, 10803}};
    for (auto [index, value] : expected)
        EXPECT_NEAR(out[index], value, 1) << "sample " << index;
}
