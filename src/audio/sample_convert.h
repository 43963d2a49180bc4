// Converting WAV audio to the engine's form: signed 16-bit stereo frames,
// left first, at 44100 Hz, the rate the playback rates are defined against.
#pragma once

#include <cstdint>

#include "audio/wav_chunks.h"

// 16-bit stereo PCM at 44100 Hz: the audio is the buffer byte for byte.
bool isEngineForm(const WavFormat& format);

// The frames frames at rate become at 44100 Hz: as long in time, rounded up.
uint64_t engineFrames(uint32_t rate, uint64_t frames);

// A new malloc'd buffer in the engine's form from bytes of audio in format,
// one the program converts itself (PCM of 1 to 32 bits, IEEE float of 32 or
// 64 bits, A-law or mu-law): 8-bit PCM is unsigned, wider PCM signed; wider
// samples and floats are rounded and clamped to 16 bits; one channel goes to
// both sides, of more than two the first two are kept; a rate from 8000 to
// 192000 Hz is resampled to 44100 Hz. A partial frame at the end is dropped.
// A result of more than most bytes is refused as TooLong before anything is
// allocated; a failed allocation is NoMemory. No audio gives Empty.
WavProblem convertToEngineForm(const WavFormat& format, const uint8_t* data, uint32_t bytes, uint64_t most,
                               uint8_t** out, uint32_t* length);
