#include "audio/sample_convert.h"

#include <cstdlib>
#include <cstring>

#include "audio/engine_form.h"
#include "audio/resampler.h"
#include "audio/sample16.h"
#include "audio/wav_format_check.h"
#include "util/little_endian.h"

namespace {

constexpr uint64_t kMaxBufferBytes = 0xFFFFFFFFu;  // a wave header's buffer length is 32 bits

// One sample of the file in 16-bit units, exact before rounding.
using ReadSample = double (*)(const uint8_t*);

double unsigned8(const uint8_t* p)
{
    return (p[0] - 128) * 256.0;
}

double signed16(const uint8_t* p)
{
    return static_cast<int16_t>(readLe16(p));
}

double signed24(const uint8_t* p)
{
    uint32_t bits = static_cast<uint32_t>(p[0]) << 8 | static_cast<uint32_t>(p[1]) << 16
                    | static_cast<uint32_t>(p[2]) << 24;
    return static_cast<int32_t>(bits) / 65536.0;
}

double signed32(const uint8_t* p)
{
    return static_cast<int32_t>(readLe32(p)) / 65536.0;
}

double float32(const uint8_t* p)
{
    float f;
    std::memcpy(&f, p, sizeof f);
    return f * 32768.0;
}

double float64(const uint8_t* p)
{
    double d;
    std::memcpy(&d, p, sizeof d);
    return d * 32768.0;
}

// G.711 needs no codec: each byte is a sign, a 3-bit segment and a 4-bit step
// within it, expanded by the standard's rule into 16-bit units.
struct G711Table {
    int16_t value[256];
};

G711Table expandG711(bool aLaw)
{
    G711Table t;
    for (int byte = 0; byte < 256; ++byte) {
        int code = aLaw ? byte ^ 0x55 : ~byte & 0xFF;
        int segment = code >> 4 & 7, step = code & 0x0F;
        int magnitude;
        if (aLaw)
            magnitude = segment == 0 ? (step << 4) + 8 : ((step << 4) + 0x108) << (segment - 1);
        else
            magnitude = (((step << 3) + 0x84) << segment) - 0x84;
        // A-law marks positive samples with the sign bit, mu-law negative ones.
        bool negative = aLaw ? !(code & 0x80) : (code & 0x80) != 0;
        t.value[byte] = static_cast<int16_t>(negative ? -magnitude : magnitude);
    }
    return t;
}

double aLaw8(const uint8_t* p)
{
    static const G711Table table = expandG711(true);
    return table.value[p[0]];
}

double muLaw8(const uint8_t* p)
{
    static const G711Table table = expandG711(false);
    return table.value[p[0]];
}

// Bytes a sample is stored in. PCM of fewer bits than its container is
// left-justified, so the container is read.
unsigned sampleBytes(const WavFormat& f)
{
    return (f.bits + 7u) / 8u;
}

ReadSample readerFor(const WavFormat& f)
{
    static const ReadSample pcm[] = {unsigned8, signed16, signed24, signed32};
    if (f.tag == kWaveALaw)
        return aLaw8;
    if (f.tag == kWaveMuLaw)
        return muLaw8;
    if (f.tag == kWaveFloat)
        return f.bits == 32 ? float32 : float64;
    return pcm[sampleBytes(f) - 1];
}

// The source's frames, each a left and a right sample (the same one for mono).
struct Frames {
    ReadSample read;
    const uint8_t* data;
    size_t count;
    size_t bytes;  // of one frame
    size_t right;  // offset of the right sample in a frame
};

WavProblem allocate(uint64_t frames, uint64_t most, int16_t** buffer)
{
    *buffer = nullptr;
    if (frames * kEngineFrameBytes > most || frames * kEngineFrameBytes > kMaxBufferBytes)
        return WavProblem::TooLong;
    if (frames == 0)
        return WavProblem::Empty;
    *buffer = static_cast<int16_t*>(std::malloc(static_cast<size_t>(frames) * kEngineFrameBytes));
    return *buffer ? WavProblem::None : WavProblem::NoMemory;
}

WavProblem copyFrames(const Frames& in, uint64_t most, int16_t** buffer)
{
    WavProblem problem = allocate(in.count, most, buffer);
    for (size_t i = 0; *buffer && i < in.count; ++i) {
        const uint8_t* p = in.data + i * in.bytes;
        (*buffer)[2 * i] = roundSample(in.read(p));
        (*buffer)[2 * i + 1] = roundSample(in.read(p + in.right));
    }
    return problem;
}

// The resampler works on the exact values, clamped; a mono file once.
WavProblem resampleFrames(const Frames& in, uint32_t rate, bool mono, uint64_t most, int16_t** buffer,
                          uint64_t* outFrames)
{
    Resampler resampler(rate);
    *outFrames = resampler.outputFrames(in.count);
    WavProblem problem = allocate(*outFrames, most, buffer);
    if (!*buffer)
        return problem;
    const int channels = mono ? 1 : 2;
    auto* samples = static_cast<float*>(std::malloc(in.count * channels * sizeof(float)));
    if (!samples) {
        std::free(*buffer);
        *buffer = nullptr;
        return WavProblem::NoMemory;
    }
    for (size_t i = 0; i < in.count; ++i) {
        const uint8_t* p = in.data + i * in.bytes;
        samples[i * channels] = static_cast<float>(clampSample(in.read(p)));
        if (!mono)
            samples[i * 2 + 1] = static_cast<float>(clampSample(in.read(p + in.right)));
    }
    resampler.run(samples, in.count, channels, *buffer);
    std::free(samples);
    return problem;
}

}  // namespace

bool isEngineForm(const WavFormat& f)
{
    return f.tag == kWavePcm && f.channels == 2 && f.rate == kEngineRate && f.bits == 16;
}

uint64_t engineFrames(uint32_t rate, uint64_t frames)
{
    return rate ? (frames * kEngineRate + rate - 1) / rate : 0;
}

WavProblem convertToEngineForm(const WavFormat& f, const uint8_t* data, uint32_t bytes, uint64_t most,
                               uint8_t** out, uint32_t* length)
{
    *out = nullptr;
    *length = 0;
    if (!convertsItself(f))
        return WavProblem::UnknownCodec;
    if (f.channels == 0)
        return WavProblem::NoChannels;
    if (f.rate < kLowestFileRate || f.rate > kHighestFileRate)
        return WavProblem::RateOutOfRange;
    const unsigned width = sampleBytes(f);
    const size_t frameBytes = static_cast<size_t>(width) * f.channels;
    const Frames in{readerFor(f), data, bytes / frameBytes, frameBytes, f.channels > 1 ? width : 0u};
    int16_t* buffer = nullptr;
    uint64_t frames = in.count;
    WavProblem problem = f.rate == kEngineRate ? copyFrames(in, most, &buffer)
                                               : resampleFrames(in, f.rate, f.channels == 1, most, &buffer, &frames);
    if (buffer) {
        *out = reinterpret_cast<uint8_t*>(buffer);
        *length = static_cast<uint32_t>(frames * 4);
    }
    return problem;
}
