// Every bound slot's sample in memory with its gains baked in: what the
// engine plays, and what the exporter renders a take with.
#pragma once

#include <cstdint>

#include "audio/gain_table.h"
#include "audio/sample_file.h"
#include "slots/sound_slot.h"

class SampleSet {
public:
    SampleSet() = default;
    ~SampleSet();
    SampleSet(const SampleSet&) = delete;
    SampleSet& operator=(const SampleSet&) = delete;

    // Loads the first count slots of table in table order, within the set's
    // total length. A slot whose file, volume and pan are as they were in
    // previous takes its buffer from there instead of decoding the file
    // again. progress, when given, hears each slot's path once it is loaded.
    void load(const SoundSlot* table, int32_t count, SampleSet* previous = nullptr,
              void (*progress)(const char* path, void* context) = nullptr, void* context = nullptr);
    // Forgets every buffer without freeing it: a stream that would not close
    // may still be reading one.
    void abandon();

    // 16-bit stereo frames at the engine's rate, or null for a silent slot.
    const uint8_t* data(int slotIndex) const { return samples_[slotIndex]; }
    uint32_t length(int slotIndex) const { return lengths_[slotIndex]; }
    // Why a loaded slot stays silent, or None.
    WavProblem problem(int slotIndex) const { return problems_[slotIndex]; }

private:
    // The slot's buffer, from previous or decoded; setBytes counts the set.
    void loadSlot(const SoundSlot& slot, SampleSet* previous, uint64_t* setBytes);
    bool takeBuffer(const SoundSlot& slot, SampleSet* previous, uint64_t room);

    SoundSlot slots_[kSlotTableSize] = {};
    GainTables gains_;
    uint8_t* samples_[kSlotTableSize] = {};
    uint32_t lengths_[kSlotTableSize] = {};
    WavProblem problems_[kSlotTableSize] = {};
    SampleStamp stamps_[kSlotTableSize];
};
