// Reading one slot's WAV file into a sample buffer with its gains baked in.
#pragma once

#include <cstdint>

#include "audio/gain_table.h"

// Reads the audio after the 44-byte header and bakes volume and pan into it.
// A file that cannot be read whole, is shorter than 44 bytes or larger than
// the settings reader allows gives no buffer and length 0: a silent slot.
void loadSample(const char* path, const GainTables& gains, int32_t volume, int32_t pan,
                uint8_t** data, uint32_t* length);
