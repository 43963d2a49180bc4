// A whole WAV file, as read into memory, turned into the engine's form.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/wav_chunks.h"

// A codec's output: a malloc'd block of PCM in format.
struct PcmAudio {
    uint8_t* data = nullptr;
    uint32_t bytes = 0;
    WavFormat format;
};

// Decodes a codec the program does not convert itself to PCM, giving up
// with TooLong once the output passes mostFrames frames. UnknownCodec when
// no codec decodes it.
using CodecDecoder = WavProblem (*)(const WavChunks& chunks, uint64_t mostFrames, PcmAudio* pcm);

// The checks of a file that need no decoding: its chunks, its format and
// whether its length, as its header gives it, fits in most engine bytes.
WavProblem checkWavFile(const uint8_t* file, size_t size, uint64_t most, WavChunks* chunks);

// Takes file, a malloc'd block of size bytes: a file already in the engine's
// form keeps its data byte for byte, moved to the front of that block, which
// becomes the buffer (*out == file); otherwise *out is a new malloc'd block
// or null, and file is freed. A result longer than most bytes is refused.
// codec may be null.
WavProblem decodeWavFile(uint8_t* file, size_t size, CodecDecoder codec, uint64_t most, uint8_t** out,
                         uint32_t* length);
