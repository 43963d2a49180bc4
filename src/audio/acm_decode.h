// Compressed WAV audio (IMA or MS ADPCM, A-law, mu-law, MP3 and whatever
// else the machine has a codec for) decoded to PCM by the platform's audio
// compression manager.
#pragma once

#include <cstdint>
#include <vector>

#include "audio/wav_chunks.h"

// The data chunk as PCM in pcm, and its format in format; false when no
// installed codec decodes the file's format.
bool decodeWithAcm(const WavChunks& chunks, std::vector<uint8_t>* pcm, WavFormat* format);
