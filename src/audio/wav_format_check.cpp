#include "audio/wav_format_check.h"

#include "audio/engine_form.h"

namespace {

// An MP3 stream runs at 8 to 320 kbit/s; free-format ones up to 640.
constexpr uint32_t kLeastMp3Bytes = 1000;
constexpr uint32_t kMostMp3Bytes = 80000;
// No codec packs a second into fewer bytes than this; a smaller figure is
// a damaged header, which some codecs divide by.
constexpr uint32_t kLeastCodecBytes = 100;
// A second of compressed audio is never larger than 64-bit PCM of it.
constexpr uint32_t kMostBytesPerSample = 8;
// A stretch of variable-rate audio may run this far below its average.
constexpr uint64_t kRateSlack = 8;

// The frames a block of an ADPCM codec holds: a header per channel that
// carries the first sample, then the rest at 4 bits.
uint32_t adpcmBlockFrames(const WavFormat& f, uint32_t headerBytes, uint32_t headerFrames)
{
    uint32_t headers = headerBytes * f.channels;
    if (f.channels == 0 || f.blockAlign <= headers)
        return 0;
    return (f.blockAlign - headers) * 2 / f.channels + headerFrames;
}

bool blockCodecAgrees(const WavFormat& f)
{
    switch (f.tag) {
    case kWaveImaAdpcm: {
        // Each channel's samples come in 4-byte words.
        uint32_t frames = adpcmBlockFrames(f, 4, 1);
        return f.bits == 4 && frames && f.samplesPerBlock == frames
               && (f.blockAlign - 4u * f.channels) % (4u * f.channels) == 0;
    }
    case kWaveMsAdpcm: {
        uint32_t frames = adpcmBlockFrames(f, 7, 2);
        return f.bits == 4 && frames && f.samplesPerBlock == frames;
    }
    case kWaveGsm610:
        return f.channels == 1 && f.blockAlign == 65 && f.samplesPerBlock == 320;
    }
    return true;
}

bool isBlockCodec(const WavFormat& f)
{
    return f.tag == kWaveImaAdpcm || f.tag == kWaveMsAdpcm || f.tag == kWaveGsm610;
}

}  // namespace

bool convertsItself(const WavFormat& f)
{
    // PCM and float samples as they stand, G.711 through its table.
    return (f.tag == kWavePcm && f.bits >= 1 && f.bits <= 32) || (f.tag == kWaveFloat && (f.bits == 32 || f.bits == 64))
           || ((f.tag == kWaveALaw || f.tag == kWaveMuLaw) && f.bits == 8);
}

WavProblem checkWavFormat(const WavFormat& f)
{
    if (f.channels == 0)
        return WavProblem::NoChannels;
    if (f.rate == 0)
        return WavProblem::NoRate;
    if (convertsItself(f) && (f.rate < kLowestFileRate || f.rate > kHighestFileRate))
        return WavProblem::RateOutOfRange;
    if (convertsItself(f))
        return f.blockAlign == f.channels * ((f.bits + 7u) / 8u) ? WavProblem::None : WavProblem::BadLayout;
    if (f.tag == kWavePcm || f.tag == kWaveFloat || f.tag == kWaveALaw || f.tag == kWaveMuLaw)
        return WavProblem::BadLayout;  // a sample size these formats do not have
    if (f.tag == kWaveExtensible)
        return WavProblem::UnknownCodec;
    if (f.blockAlign == 0 || f.avgBytes < kLeastCodecBytes
        || f.avgBytes > uint64_t{f.rate} * f.channels * kMostBytesPerSample)
        return WavProblem::Damaged;
    if (f.tag == kWaveMpegLayer3 && (f.avgBytes < kLeastMp3Bytes || f.avgBytes > kMostMp3Bytes))
        return WavProblem::Damaged;
    return blockCodecAgrees(f) ? WavProblem::None : WavProblem::Damaged;
}

uint64_t sourceFrames(const WavChunks& c)
{
    const WavFormat& f = c.format;
    if (convertsItself(f))
        return f.blockAlign ? c.dataBytes / f.blockAlign : 0;
    uint64_t frames = isBlockCodec(f) && f.blockAlign
                          ? (uint64_t{c.dataBytes} + f.blockAlign - 1) / f.blockAlign * f.samplesPerBlock
                          : f.avgBytes ? uint64_t{c.dataBytes} * f.rate / f.avgBytes : 0;
    return c.factFrames && c.factFrames < frames ? c.factFrames : frames;
}

uint64_t mostPcmBytes(const WavFormat& f, uint64_t bytes)
{
    const uint64_t frameBytes = uint64_t{2} * f.channels;
    if (isBlockCodec(f) && f.blockAlign)
        return (bytes + f.blockAlign - 1) / f.blockAlign * f.samplesPerBlock * frameBytes;
    if (!f.avgBytes)
        return 0;
    // A second's worth more covers the frame a decoder holds back.
    return (bytes * kRateSlack / f.avgBytes + 1) * f.rate * frameBytes;
}
