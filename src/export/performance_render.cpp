#include "export/performance_render.h"

#include <algorithm>

#include "keylog/performance_format.h"

namespace {

constexpr uint32_t kBlockFrames = 4096;
constexpr uint32_t kFullVolume = 0xFFFF;

// A sum of voices at one of the 65,535 wave-out volume steps, rounded to the
// nearest; full volume leaves it exact.
int64_t scaled(int64_t sum, uint32_t gain)
{
    if (gain == kFullVolume)
        return sum;
    int64_t product = sum * gain;
    return (product >= 0 ? product + kFullVolume / 2 : product - kFullVolume / 2) / kFullVolume;
}

}  // namespace

uint64_t stepFrame(uint32_t step, uint32_t rate)
{
    return (static_cast<uint64_t>(step) * kStepMs * rate + 500) / 1000;
}

PerformanceRender::PerformanceRender(const SoundSlot* table, int32_t count, const RenderSample* samples,
                                     uint32_t rate, uint32_t volume, const PerformanceRecord* records,
                                     uint32_t recordCount)
    : table_(table), samples_(samples), gainLeft_(volume & 0xFFFF), gainRight_(volume >> 16)
{
    std::fill(std::begin(voiceHit_), std::end(voiceHit_), -1);
    // The hit of each key still held, for its release.
    int64_t heldHit[256];
    std::fill(std::begin(heldHit), std::end(heldHit), -1);
    uint8_t lastKeyDown = 0;
    for (uint32_t step = 0; step < recordCount; ++step) {
        // The key down is handled before the key up of the same record.
        const PerformanceRecord& record = records[step];
        if (record.down) {
            int slot = keyDownSlot(table, record.down, &lastKeyDown);
            if (slot >= 0) {
                if (heldHit[record.down] >= 0)
                    hits_[heldHit[record.down]].releaseStep = step;
                heldHit[record.down] = static_cast<int64_t>(hits_.size());
                place(step, slot, stepFrame(step, rate));
            }
        }
        if (record.up) {
            keyUpSlot(table, count, record.up, &lastKeyDown);
            if (heldHit[record.up] >= 0)
                hits_[heldHit[record.up]].releaseStep = step;
            heldHit[record.up] = -1;
        }
    }
    for (RenderHit& hit : hits_) {
        if (hit.releaseStep == UINT32_MAX)
            hit.releaseStep = recordCount;
        frames_ = std::max(frames_, hit.end);
    }
    sum_.resize(2 * kBlockFrames);
}

void PerformanceRender::place(uint32_t step, int32_t slot, uint64_t start)
{
    const SoundSlot& bound = table_[slot];
    const bool known = bound.slotIndex >= 0 && bound.slotIndex < kSlotTableSize;
    const RenderSample sample = known ? samples_[bound.slotIndex] : RenderSample{nullptr, 0};
    VoiceView voices[kOutputChannels];
    for (int i = 0; i < kOutputChannels; ++i) {
        const RenderHit* last = voiceHit_[i] >= 0 ? &hits_[voiceHit_[i]] : nullptr;
        voices[i] = {true, last && last->end > start, last ? table_[last->slot].partId : -1};
    }
    VoicePlan plan = planHit(voices, known ? bound.partId : -1, sample.frames != nullptr);
    for (int i = 0; i < kOutputChannels; ++i)
        if (plan.cuts & (1u << i))
            hits_[voiceHit_[i]].end = start;
    RenderHit hit = {step, UINT32_MAX, slot, plan.start, start, start};
    if (plan.start >= 0) {
        hit.end = start + sample.frameCount;
        voiceHit_[plan.start] = static_cast<int64_t>(hits_.size());
    }
    hits_.push_back(hit);
}

uint32_t PerformanceRender::mix(int16_t* out, uint32_t maxFrames)
{
    const uint64_t left = frames_ - position_;
    const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>({left, maxFrames, kBlockFrames}));
    const uint64_t blockEnd = position_ + n;
    while (nextHit_ < hits_.size() && hits_[nextHit_].start < blockEnd) {
        if (hits_[nextHit_].voice >= 0 && hits_[nextHit_].end > hits_[nextHit_].start)
            sounding_.push_back(nextHit_);
        ++nextHit_;
    }
    std::fill(sum_.begin(), sum_.begin() + 2 * n, 0);
    for (size_t h : sounding_) {
        const RenderHit& hit = hits_[h];
        const uint64_t from = std::max(hit.start, position_);
        const uint64_t to = std::min(hit.end, blockEnd);
        const int16_t* in = samples_[table_[hit.slot].slotIndex].frames + 2 * (from - hit.start);
        int32_t* sum = sum_.data() + 2 * (from - position_);
        for (uint64_t f = from; f < to; ++f, in += 2, sum += 2) {
            sum[0] += in[0];
            sum[1] += in[1];
        }
    }
    sounding_.erase(std::remove_if(sounding_.begin(), sounding_.end(),
                                   [&](size_t h) { return hits_[h].end <= blockEnd; }),
                    sounding_.end());
    for (uint32_t i = 0; i < 2 * n; ++i) {
        int64_t v = scaled(sum_[i], i % 2 ? gainRight_ : gainLeft_);
        if (v > INT16_MAX || v < INT16_MIN) {
            ++clipped_;
            v = v > INT16_MAX ? INT16_MAX : INT16_MIN;
        }
        out[i] = static_cast<int16_t>(v);
    }
    position_ = blockEnd;
    return n;
}
