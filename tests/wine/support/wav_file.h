// Test samples: canonical 44-byte-header WAV files of 16-bit stereo PCM.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Interleaved left/right samples.
using Frames = std::vector<int16_t>;

void WriteWav(const std::string& path, const Frames& samples, uint32_t rate = 44100);
// seconds of a sine tone at the same level in both channels.
Frames Tone(double hz, double seconds, int16_t amplitude, uint32_t rate = 44100);
// seconds of silence.
Frames Silence(double seconds, uint32_t rate = 44100);
