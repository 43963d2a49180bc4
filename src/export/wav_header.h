// The header of the 16-bit stereo PCM file a performance renders to.
#pragma once

#include <cstdint>

constexpr uint32_t kWavHeaderBytes = 44;
// The most frames a RIFF file's 32-bit sizes can count.
constexpr uint64_t kMostWavFrames = (0xFFFFFFFFull - 36) / 4;

// frames must be at most kMostWavFrames.
void writeWavHeader(uint8_t (&out)[kWavHeaderBytes], uint32_t rate, uint64_t frames);
