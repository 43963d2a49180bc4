// The form every sample takes in the engine, and what one may cost.
#pragma once

#include <cstdint>

// Signed 16-bit stereo frames, left first, at the rate the playback rates
// are defined against.
constexpr uint32_t kEngineRate = 44100;
constexpr uint32_t kEngineFrameBytes = 4;
// The rates a file may have to be resampled from.
constexpr uint32_t kLowestFileRate = 8000;
constexpr uint32_t kHighestFileRate = 192000;

// A slot of a drum kit is a hit, a roll or a loop, not a song: a minute
// (10.6 MB) holds the longest cymbal and gong tails and the loops players
// bind, while a 4,000,000-byte file of 8 kHz audio would decode to minutes.
// Twenty minutes for the whole set, some 212 MB, keeps 60 slots well inside
// a 32-bit process, whose address space must also hold one slot's decoding.
constexpr uint64_t kSlotSeconds = 60;
constexpr uint64_t kSetSeconds = 20 * 60;
constexpr uint64_t kSlotBytes = kSlotSeconds * kEngineRate * kEngineFrameBytes;
constexpr uint64_t kSetBytes = kSetSeconds * kEngineRate * kEngineFrameBytes;
