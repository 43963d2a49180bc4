// Which voice a hit takes and which voices it cuts, free of the platform:
// the engine asks it at every key, and the performance renderer at every
// recorded hit, so that a rendered take sounds as the program plays it.
#pragma once

#include <cstdint>

constexpr int kOutputChannels = 32;

// One of the 32 voices as a hit finds it.
struct VoiceView {
    bool usable;     // it can start a sound (its stream is open)
    bool sounding;   // a sound still plays on it
    int32_t part;    // partId of the sound it plays or last played
};

struct VoicePlan {
    int32_t start;  // the voice the hit sounds on, or -1: silent, or all 32 busy
    uint32_t cuts;  // one bit per voice whose sound stops now
};

// The lowest usable voice that is not sounding starts the hit; with none the
// hit is dropped and no sound is stolen. A slot without a sample takes no
// voice. A closed hi-hat cuts every open hi-hat still sounding, even when
// the hit itself is silent or dropped.
VoicePlan planHit(const VoiceView (&voices)[kOutputChannels], int32_t partId, bool hasSample);
