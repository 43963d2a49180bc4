// Compressed WAV audio (IMA or MS ADPCM, GSM, MP3 and whatever else the
// machine has a codec for) decoded to PCM by the platform's audio
// compression manager.
#pragma once

#include <cstdint>

#include "audio/wav_decode.h"

// A CodecDecoder. The header has passed checkWavFormat; the audio goes to
// the codec a piece at a time, and no answer of the codec is trusted beyond
// what the format can hold.
WavProblem decodeWithAcm(const WavChunks& chunks, uint64_t mostFrames, PcmAudio* pcm);

// Whether an installed codec takes the file's format, without decoding.
bool acmDecodes(const WavChunks& chunks);
