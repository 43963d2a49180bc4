// A whole WAV file, as read into memory, turned into the engine's form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/wav_chunks.h"

// Decodes a codec the program does not convert itself to PCM: the audio in
// pcm, its format in format; false when it cannot.
using CodecDecoder = bool (*)(const WavChunks& chunks, std::vector<uint8_t>* pcm, WavFormat* format);

// file is a malloc'd block of size bytes. A file already in the engine's
// form keeps its data byte for byte, moved to the front of that block, which
// becomes the buffer (*out == file); otherwise *out is a new malloc'd block
// or null, and file is left to the caller. codec may be null.
WavProblem decodeWavFile(uint8_t* file, size_t size, CodecDecoder codec, uint8_t** out, uint32_t* length);
