#include "audio/wav_chunks.h"

#include <cstring>

namespace {

constexpr size_t kChunkHeader = 8;
constexpr uint32_t kMinFormatBytes = 16;     // up to wBitsPerSample
constexpr uint32_t kExtensibleBytes = 40;    // with the sub-format GUID
// Every KSDATAFORMAT_SUBTYPE GUID of a WAVE codec ends in these 14 bytes;
// its first two bytes are the codec's format tag.
constexpr uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t get16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t get32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16
           | static_cast<uint32_t>(p[3]) << 24;
}

WavFormat readFormat(const uint8_t* p, uint32_t bytes)
{
    WavFormat f;
    f.tag = get16(p);
    f.channels = get16(p + 2);
    f.rate = get32(p + 4);
    f.bits = get16(p + 14);
    if (f.tag == kWaveExtensible && bytes >= kExtensibleBytes
        && std::memcmp(p + 26, kSubFormatTail, sizeof kSubFormatTail) == 0)
        f.tag = get16(p + 24);
    return f;
}

}  // namespace

const char* wavProblemText(WavProblem problem)
{
    switch (problem) {
    case WavProblem::None:
        return "playable";
    case WavProblem::NotRiffWave:
        return "not a RIFF/WAVE file";
    case WavProblem::NoFormat:
        return "no complete fmt chunk";
    case WavProblem::NoData:
        return "no data chunk";
    case WavProblem::NoChannels:
        return "no channels";
    case WavProblem::NoRate:
        return "a sample rate of 0";
    case WavProblem::UnknownCodec:
        return "a codec that cannot be decoded";
    case WavProblem::RateOutOfRange:
        return "a sample rate outside 8000..192000 Hz";
    case WavProblem::TooLong:
        return "too long once converted";
    }
    return "unknown problem";
}

WavProblem findWavChunks(const uint8_t* file, size_t size, WavChunks* out)
{
    *out = WavChunks{};
    if (size < 12 || std::memcmp(file, "RIFF", 4) != 0 || std::memcmp(file + 8, "WAVE", 4) != 0)
        return WavProblem::NotRiffWave;
    // The RIFF size is not trusted: recorders that stream leave it wrong.
    // The walk goes to the end of the file or until both chunks are found.
    size_t at = 12;
    bool haveFormat = false, haveData = false;
    while (size - at >= kChunkHeader && !(haveFormat && haveData)) {
        const uint8_t* id = file + at;
        size_t declared = get32(file + at + 4);
        size_t body = at + kChunkHeader;
        size_t held = size - body < declared ? size - body : declared;
        if (!haveFormat && std::memcmp(id, "fmt ", 4) == 0) {
            if (held < kMinFormatBytes)
                return WavProblem::NoFormat;
            out->format = readFormat(file + body, static_cast<uint32_t>(held));
            out->fmt = file + body;
            out->fmtBytes = static_cast<uint32_t>(held);
            haveFormat = true;
        } else if (!haveData && std::memcmp(id, "data", 4) == 0) {
            out->data = file + body;
            out->dataBytes = static_cast<uint32_t>(held);
            haveData = true;
        }
        if (held < declared)
            break;
        at = body + declared + (declared & 1);
        if (at > size)
            break;
    }
    if (!haveFormat)
        return WavProblem::NoFormat;
    if (!haveData)
        return WavProblem::NoData;
    if (out->format.channels == 0)
        return WavProblem::NoChannels;
    if (out->format.rate == 0)
        return WavProblem::NoRate;
    return WavProblem::None;
}
