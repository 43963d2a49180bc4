#include "audio/sample_set.h"

#include <cstdlib>
#include <cstring>

#include "audio/engine_form.h"

SampleSet::~SampleSet()
{
    for (uint8_t* data : samples_)
        std::free(data);
}

void SampleSet::abandon()
{
    std::memset(samples_, 0, sizeof samples_);
}

void SampleSet::load(const SoundSlot* table, int32_t count, SampleSet* previous,
                     void (*progress)(const char* path, void* context), void* context)
{
    std::memcpy(slots_, table, sizeof slots_);
    count = count < 0 ? 0 : count > kSlotTableSize ? kSlotTableSize : count;
    buildGainTables(&gains_);
    uint64_t setBytes = 0;
    for (int i = 0; i < count; ++i) {
        const SoundSlot& slot = slots_[i];
        if (slot.slotIndex < 0 || slot.slotIndex >= kSlotTableSize)
            continue;
        loadSlot(slot, previous, &setBytes);
        if (progress)
            progress(slot.path, context);
    }
}

void SampleSet::loadSlot(const SoundSlot& slot, SampleSet* previous, uint64_t* setBytes)
{
    const int i = slot.slotIndex;
    std::free(samples_[i]);
    samples_[i] = nullptr;
    lengths_[i] = 0;
    stamps_[i] = SampleStamp{};
    uint64_t room = kSetBytes - *setBytes;
    bool stamped = stampSample(slot.path, &stamps_[i]);
    if (stamped && takeBuffer(slot, previous, room)) {
        problems_[i] = WavProblem::None;
    } else {
        uint64_t most = room < kSlotBytes ? room : kSlotBytes;
        problems_[i] = loadSample(slot.path, gains_, slot.volume, slot.pan, most, &samples_[i], &lengths_[i]);
        if (problems_[i] == WavProblem::TooLong && most < kSlotBytes)
            problems_[i] = WavProblem::SetTooLong;
    }
    *setBytes += lengths_[i];
}

bool SampleSet::takeBuffer(const SoundSlot& slot, SampleSet* previous, uint64_t room)
{
    if (!previous)
        return false;
    const int i = slot.slotIndex;
    for (int j = 0; j < kSlotTableSize; ++j) {
        const SoundSlot& old = previous->slots_[j];
        if (!previous->samples_[j] || previous->lengths_[j] > room || !(previous->stamps_[j] == stamps_[i])
            || old.volume != slot.volume || old.pan != slot.pan || std::strcmp(old.path, slot.path) != 0)
            continue;
        samples_[i] = previous->samples_[j];
        lengths_[i] = previous->lengths_[j];
        previous->samples_[j] = nullptr;
        previous->lengths_[j] = 0;
        return true;
    }
    return false;
}

