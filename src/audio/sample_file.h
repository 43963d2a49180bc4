// Reading one slot's WAV file into a sample buffer with its gains baked in.
#pragma once

#include <cstdint>

#include "audio/gain_table.h"
#include "audio/wav_chunks.h"

// What a file on disk was when it was read: while its size and its time
// of writing stay the same, its audio does too.
struct SampleStamp {
    uint64_t bytes = 0;
    uint64_t written = 0;
    bool operator==(const SampleStamp&) const = default;
};

// False for a path that is no file of this machine, or not there.
bool stampSample(const char* path, SampleStamp* stamp);

// Finds the audio by the file's chunks, converts it to 16-bit stereo at
// 44100 Hz (decoding a compressed file through the platform's codecs) and
// bakes volume and pan into it. A file that cannot be read, is larger than
// the settings reader allows, cannot be played or would take more than most
// bytes gives no buffer and length 0, a silent slot, and says why.
WavProblem loadSample(const char* path, const GainTables& gains, int32_t volume, int32_t pan, uint64_t most,
                      uint8_t** data, uint32_t* length);

// Why loadSample would refuse the file as one slot, or None, from its
// header, its chunks and the installed codecs, without decoding it.
WavProblem checkSample(const char* path);
