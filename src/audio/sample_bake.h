// Baking a slot's volume and pan into its own copy of a WAV file's sample
// data, once at load time, so that a key press only submits a ready buffer.
//
// data holds interleaved stereo frames of signed 16-bit little-endian samples,
// left first, 4 bytes a frame; it needs no particular alignment. Every sample
// of the length / 4 whole frames is multiplied by gain, clamped to +-32760,
// rounded down to a whole sample, multiplied by its channel's pan gain (left
// or right) and truncated toward zero. The 1 to 3 bytes after the last whole
// frame are left as they are.
//
// gain must be finite, left and right within -1..1 (every entry of the pan
// tables is), so that every result fits a 16-bit sample.
#pragma once

#include <cstdint>

// The plain form, one sample after the other. It defines the result: every
// faster form agrees with it on every byte.
void bakeSamplesScalar(uint8_t* data, uint32_t length, double gain, double left, double right);

// The form the engine uses: the widest kernel this processor runs, chosen at
// the first call. The program also runs on 32-bit machines without SSE2.
void bakeSamples(uint8_t* data, uint32_t length, double gain, double left, double right);

enum class BakeKernel { Scalar, Sse2, Sse41, Avx };

BakeKernel chosenBakeKernel();
bool bakeKernelSupported(BakeKernel kernel);
const char* bakeKernelName(BakeKernel kernel);

// One kernel by name, for the tests and the benchmark. A kernel this
// processor lacks runs the scalar form instead.
void bakeSamplesWith(BakeKernel kernel, uint8_t* data, uint32_t length, double gain, double left,
                     double right);
