// Converting WAV audio to the engine's form: signed 16-bit stereo frames,
// left first, at 44100 Hz, the rate the playback rates are defined against.
#pragma once

#include <cstdint>

#include "audio/wav_chunks.h"

// 16-bit stereo PCM at 44100 Hz: the audio is the buffer byte for byte.
bool isEngineForm(const WavFormat& format);
// PCM of 1 to 32 bits, or IEEE float of 32 or 64 bits: converted here.
// Anything else needs a platform codec first.
bool convertsItself(const WavFormat& format);

// A new malloc'd buffer in the engine's form from bytes of audio in format:
// 8-bit data is unsigned, wider PCM signed; wider samples and floats are
// rounded and clamped to 16 bits; one channel goes to both sides, of more
// than two the first two are kept; a rate from 8000 to 192000 Hz is
// resampled to 44100 Hz. A partial frame at the end is dropped. No audio
// gives no buffer and length 0.
WavProblem convertToEngineForm(const WavFormat& format, const uint8_t* data, uint32_t bytes, uint8_t** out,
                               uint32_t* length);
