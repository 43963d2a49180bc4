#include "audio/sample_convert.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "audio/resampler.h"
#include "audio/sample16.h"

namespace {

constexpr uint32_t kEngineRate = 44100;
constexpr uint32_t kLowestRate = 8000;
constexpr uint32_t kHighestRate = 192000;
constexpr uint64_t kMaxBufferBytes = 0xFFFFFFFFu;  // a wave header's buffer length is 32 bits

// One sample of the file in 16-bit units, exact before rounding.
using ReadSample = double (*)(const uint8_t*);

double unsigned8(const uint8_t* p)
{
    return (p[0] - 128) * 256.0;
}

double signed16(const uint8_t* p)
{
    return static_cast<int16_t>(static_cast<uint16_t>(p[0] | p[1] << 8));
}

double signed24(const uint8_t* p)
{
    uint32_t bits = static_cast<uint32_t>(p[0]) << 8 | static_cast<uint32_t>(p[1]) << 16
                    | static_cast<uint32_t>(p[2]) << 24;
    return static_cast<int32_t>(bits) / 65536.0;
}

double signed32(const uint8_t* p)
{
    uint32_t bits = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8
                    | static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
    return static_cast<int32_t>(bits) / 65536.0;
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

// Bytes a sample is stored in; 0 for a format converted elsewhere. PCM of
// fewer bits than its container is left-justified, so the container is read.
unsigned sampleBytes(const WavFormat& f)
{
    if (f.tag == kWavePcm && f.bits >= 1 && f.bits <= 32)
        return (f.bits + 7u) / 8u;
    if (f.tag == kWaveFloat && (f.bits == 32 || f.bits == 64))
        return f.bits / 8u;
    return 0;
}

ReadSample readerFor(const WavFormat& f)
{
    static const ReadSample pcm[] = {unsigned8, signed16, signed24, signed32};
    unsigned bytes = sampleBytes(f);
    if (f.tag == kWaveFloat)
        return bytes == 4 ? float32 : float64;
    return pcm[bytes - 1];
}

// The source's frames, each a left and a right sample (the same one for mono).
struct Frames {
    ReadSample read;
    const uint8_t* data;
    size_t count;
    size_t bytes;  // of one frame
    size_t right;  // offset of the right sample in a frame
};

WavProblem allocate(uint64_t frames, int16_t** buffer)
{
    *buffer = nullptr;
    if (frames * 4 > kMaxBufferBytes)
        return WavProblem::TooLong;
    if (frames == 0)
        return WavProblem::None;
    *buffer = static_cast<int16_t*>(std::malloc(static_cast<size_t>(frames) * 4));
    return *buffer ? WavProblem::None : WavProblem::TooLong;
}

WavProblem copyFrames(const Frames& in, int16_t** buffer)
{
    WavProblem problem = allocate(in.count, buffer);
    for (size_t i = 0; *buffer && i < in.count; ++i) {
        const uint8_t* p = in.data + i * in.bytes;
        (*buffer)[2 * i] = roundSample(in.read(p));
        (*buffer)[2 * i + 1] = roundSample(in.read(p + in.right));
    }
    return problem;
}

// The resampler works on the exact values, clamped; a mono file once.
WavProblem resampleFrames(const Frames& in, uint32_t rate, bool mono, int16_t** buffer, uint64_t* outFrames)
{
    Resampler resampler(rate);
    *outFrames = resampler.outputFrames(in.count);
    WavProblem problem = allocate(*outFrames, buffer);
    if (!*buffer)
        return problem;
    const int channels = mono ? 1 : 2;
    std::vector<float> samples(in.count * channels);
    for (size_t i = 0; i < in.count; ++i) {
        const uint8_t* p = in.data + i * in.bytes;
        samples[i * channels] = static_cast<float>(clampSample(in.read(p)));
        if (!mono)
            samples[i * 2 + 1] = static_cast<float>(clampSample(in.read(p + in.right)));
    }
    resampler.run(samples.data(), in.count, channels, *buffer);
    return problem;
}

}  // namespace

bool isEngineForm(const WavFormat& f)
{
    return f.tag == kWavePcm && f.channels == 2 && f.rate == kEngineRate && f.bits == 16;
}

bool convertsItself(const WavFormat& f)
{
    return sampleBytes(f) != 0;
}

WavProblem convertToEngineForm(const WavFormat& f, const uint8_t* data, uint32_t bytes, uint8_t** out,
                               uint32_t* length)
{
    *out = nullptr;
    *length = 0;
    unsigned width = sampleBytes(f);
    if (!width)
        return WavProblem::UnknownCodec;
    if (f.channels == 0)
        return WavProblem::NoChannels;
    if (f.rate < kLowestRate || f.rate > kHighestRate)
        return WavProblem::RateOutOfRange;
    const size_t frameBytes = static_cast<size_t>(width) * f.channels;
    const Frames in{readerFor(f), data, bytes / frameBytes, frameBytes, f.channels > 1 ? width : 0u};
    int16_t* buffer = nullptr;
    uint64_t frames = in.count;
    WavProblem problem = f.rate == kEngineRate ? copyFrames(in, &buffer)
                                               : resampleFrames(in, f.rate, f.channels == 1, &buffer, &frames);
    if (buffer) {
        *out = reinterpret_cast<uint8_t*>(buffer);
        *length = static_cast<uint32_t>(frames * 4);
    }
    return problem;
}
