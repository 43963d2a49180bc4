// Finding the format and the audio of a RIFF/WAVE file held in memory.
#pragma once

#include <cstddef>
#include <cstdint>

// Why a file gives no sound. The texts are for the debugger output; the
// player is told in the program's own words.
enum class WavProblem {
    None,
    NotRiffWave,
    NoFormat,
    NoData,
    NoChannels,
    NoRate,
    UnknownCodec,
    RateOutOfRange,
    TooLong,
    // Longer than the room the earlier slots left in the set's total.
    SetTooLong,
    Empty,
    // Sample sizes or a block size that contradict each other.
    BadLayout,
    // A codec header that contradicts itself, or audio its codec rejects.
    Damaged,
    NoMemory,
    // Found before the file is parsed.
    NotLocal,
    Unreadable,
    FileTooLarge,
};

const char* wavProblemText(WavProblem problem);

constexpr uint16_t kWavePcm = 1;
constexpr uint16_t kWaveFloat = 3;
constexpr uint16_t kWaveALaw = 6;
constexpr uint16_t kWaveMuLaw = 7;
constexpr uint16_t kWaveExtensible = 0xFFFE;

struct WavFormat {
    // The codec. WAVE_FORMAT_EXTENSIBLE is replaced by the codec its
    // sub-format names; an unknown sub-format stays kWaveExtensible.
    uint16_t tag = 0;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t bits = 0;  // of the container a sample is stored in
    uint16_t blockAlign = 0;
    uint32_t avgBytes = 0;  // per second
    // Frames in one block of a block codec, when its header says so.
    uint16_t samplesPerBlock = 0;
};

struct WavChunks {
    WavFormat format;
    // The fmt chunk's body as written, which a platform codec may need whole.
    const uint8_t* fmt = nullptr;
    uint32_t fmtBytes = 0;
    // The audio: the data chunk, cut at the end of the file when its size
    // says more than the file holds. A size of 0 with bytes after it, as a
    // recorder leaves the header when it stops before fixing it, runs to the
    // end of the file.
    const uint8_t* data = nullptr;
    uint32_t dataBytes = 0;
    // Frames per channel of compressed audio, from the fact chunk; 0 unknown.
    uint32_t factFrames = 0;
};

// Walks the chunks after RIFF/WAVE, each padded to an even length, and takes
// the first fmt and the first data chunk wherever they stand.
WavProblem findWavChunks(const uint8_t* file, size_t size, WavChunks* out);
