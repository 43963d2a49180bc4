// A recorded performance rendered as the program plays it, free of the
// platform: the key path's rules pick the hits, the voice rules place them
// on the 32 voices, and the voices are summed exactly, scaled by the master
// volume as wave-out scales a stream, and saturated to 16 bits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "audio/voice_rules.h"
#include "keylog/pending_keys.h"
#include "slots/sound_slot.h"

// One slot's sample as the engine holds it: 16-bit stereo frames, left first.
struct RenderSample {
    const int16_t* frames;
    uint32_t frameCount;
};

// A key down that sounded a slot, or would have with a voice free.
struct RenderHit {
    uint32_t step;         // its record, 4 ms a step
    uint32_t releaseStep;  // its key's release, or the end of the performance
    int32_t slot;          // the table entry it sounds
    int32_t voice;         // the voice it sounds on; -1: silent slot, or all 32 busy
    uint64_t start;        // first frame of its sound
    uint64_t end;          // frame after its last, earlier when a closed hi-hat cut it
};

class PerformanceRender {
public:
    // samples is indexed by slotIndex. rate is the output's rate (the
    // samples play at it unchanged, slower and lower below 44100 Hz);
    // volume is the wave-out volume word, left in the low 16 bits.
    PerformanceRender(const SoundSlot* table, int32_t count, const RenderSample* samples, uint32_t rate,
                      uint32_t volume, const PerformanceRecord* records, uint32_t recordCount);

    const std::vector<RenderHit>& hits() const { return hits_; }
    // Frames from the first step to the end of the last voice.
    uint64_t frames() const { return frames_; }
    uint64_t position() const { return position_; }
    // Samples that were beyond 16 bits and were saturated, so far.
    uint64_t clipped() const { return clipped_; }
    // The next frames, at most maxFrames of them, into out; how many.
    uint32_t mix(int16_t* out, uint32_t maxFrames);

private:
    void place(uint32_t step, int32_t slot, uint64_t start);

    const SoundSlot* table_;
    const RenderSample* samples_;
    uint32_t gainLeft_;
    uint32_t gainRight_;
    std::vector<RenderHit> hits_;
    uint64_t frames_ = 0;
    uint64_t position_ = 0;
    uint64_t clipped_ = 0;
    size_t nextHit_ = 0;            // the first hit not yet started
    std::vector<size_t> sounding_;  // hits whose sound reaches the next block
    std::vector<int32_t> sum_;      // one block's exact sums, left and right
    // While placing: each voice's last hit.
    int64_t voiceHit_[kOutputChannels];
};

// The frame at which a step's keys sound at rate: its instant, to the nearest frame.
uint64_t stepFrame(uint32_t step, uint32_t rate);
