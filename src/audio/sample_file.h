// Reading one slot's WAV file into a sample buffer with its gains baked in.
#pragma once

#include <cstdint>

#include "audio/gain_table.h"

// Finds the audio by the file's chunks, converts it to 16-bit stereo at
// 44100 Hz (decoding a compressed file through the platform's codecs) and
// bakes volume and pan into it. A file that cannot be read, is larger than
// the settings reader allows or cannot be played gives no buffer and length
// 0, a silent slot; the debugger output says why.
void loadSample(const char* path, const GainTables& gains, int32_t volume, int32_t pan,
                uint8_t** data, uint32_t* length);

// Whether loadSample would find audio in the file, for the edit dialog to
// refuse a file before it is bound.
bool samplePlayable(const char* path);
