#include "audio/wav_chunks.h"

#include <cstring>

#include "util/little_endian.h"

namespace {

constexpr size_t kChunkHeader = 8;
constexpr uint32_t kMinFormatBytes = 16;     // up to wBitsPerSample
constexpr uint32_t kExtensibleBytes = 40;    // with the sub-format GUID
constexpr uint32_t kBlockCodecBytes = 20;    // with cbSize and wSamplesPerBlock
// Every KSDATAFORMAT_SUBTYPE GUID of a WAVE codec ends in these 14 bytes;
// its first two bytes are the codec's format tag.
constexpr uint8_t kSubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                        0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

WavFormat readFormat(const uint8_t* p, uint32_t bytes)
{
    WavFormat f;
    f.tag = readLe16(p);
    f.channels = readLe16(p + 2);
    f.rate = readLe32(p + 4);
    f.avgBytes = readLe32(p + 8);
    f.blockAlign = readLe16(p + 12);
    f.bits = readLe16(p + 14);
    if (f.tag == kWaveExtensible && bytes >= kExtensibleBytes
        && std::memcmp(p + 26, kSubFormatTail, sizeof kSubFormatTail) == 0)
        f.tag = readLe16(p + 24);
    // The ADPCM codecs and GSM put their block's frame count first.
    if (readLe16(p) != kWaveExtensible && bytes >= kBlockCodecBytes && readLe16(p + 16) >= 2)
        f.samplesPerBlock = readLe16(p + 18);
    return f;
}

}  // namespace

const char* wavProblemText(WavProblem problem)
{
    switch (problem) {
    case WavProblem::None: return "playable";
    case WavProblem::NotRiffWave: return "not a RIFF/WAVE file";
    case WavProblem::NoFormat: return "no complete fmt chunk";
    case WavProblem::NoData: return "no data chunk";
    case WavProblem::NoChannels: return "no channels";
    case WavProblem::NoRate: return "a sample rate of 0";
    case WavProblem::UnknownCodec: return "a codec that cannot be decoded";
    case WavProblem::RateOutOfRange: return "a sample rate outside 8000..192000 Hz";
    case WavProblem::TooLong: return "too long once converted";
    case WavProblem::SetTooLong: return "beyond the set's total length";
    case WavProblem::Empty: return "no audio";
    case WavProblem::BadLayout: return "a sample or block size that contradicts the format";
    case WavProblem::Damaged: return "a damaged codec header or audio";
    case WavProblem::NoMemory: return "not enough memory";
    case WavProblem::NotLocal: return "the path is no file of this machine";
    case WavProblem::Unreadable: return "the file cannot be read";
    case WavProblem::FileTooLarge: return "the file is larger than a sample may be";
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
        size_t declared = readLe32(file + at + 4);
        size_t body = at + kChunkHeader;
        if (declared == 0 && haveFormat && !haveData && std::memcmp(id, "data", 4) == 0)
            declared = size - body;  // an unfinished header: the audio runs to the end
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
        } else if (std::memcmp(id, "fact", 4) == 0 && held >= 4) {
            out->factFrames = readLe32(file + body);
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
