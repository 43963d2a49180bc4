// What a fmt chunk may say before its audio is decoded: sizes that agree with
// each other, and codec headers a platform codec can be trusted with.
#pragma once

#include <cstdint>

#include "audio/wav_chunks.h"

constexpr uint16_t kWaveMsAdpcm = 2;
constexpr uint16_t kWaveImaAdpcm = 0x11;
constexpr uint16_t kWaveGsm610 = 0x31;
constexpr uint16_t kWaveMpegLayer3 = 0x55;

// Whether the format decodes by this program's own code (PCM, float, G.711).
bool convertsItself(const WavFormat& format);

// BadLayout when the block size contradicts the channels and sample size,
// Damaged when a codec's header contradicts itself or gives a data rate no
// such codec has, None when the file may go on to be decoded.
WavProblem checkWavFormat(const WavFormat& format);

// Frames per channel the audio holds, at the file's own rate: exact for the
// formats converted here, from the fact chunk or the blocks of a block
// codec, and from the data rate otherwise. For a check before decoding.
uint64_t sourceFrames(const WavChunks& chunks);

// The most PCM bytes of the file's channels, 16 bits a sample, that bytes of
// its compressed audio may decode to: a bound on what to accept from a codec.
uint64_t mostPcmBytes(const WavFormat& format, uint64_t bytes);
