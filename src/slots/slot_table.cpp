#include "slots/sound_slot.h"

#include <cstring>

SoundSlot soundSlots[kSlotTableSize];
int32_t slotCount;
uint32_t sampleRate = 44100;
uint32_t masterVolume = 0xFFFFFFFFu;

int findKeyDownSlot(const SoundSlot* table, uint8_t keyCode)
{
    for (int i = 0; i < kKeyDownSlots; ++i)
        if (table[i].keyCode == keyCode)
            return i;
    return -1;
}

int findKeyUpSlot(const SoundSlot* table, int count, uint8_t keyCode)
{
    for (int i = 0; i < count && i < kSlotTableSize; ++i)
        if (table[i].keyCode == keyCode)
            return i;
    return -1;
}

int findPartSlot(const SoundSlot* table, int count, int32_t partId)
{
    for (int i = 0; i < count && i < kSlotTableSize; ++i)
        if (table[i].partId == partId)
            return i;
    return -1;
}

int findStoreSlot(const SoundSlot* table, uint8_t keyCode)
{
    for (int i = 0; i < kSlotTableSize; ++i)
        if (table[i].keyCode == keyCode || table[i].keyCode == 0)
            return i;
    return -1;
}

void deleteSlot(SoundSlot* table, int index)
{
    if (index < 0 || index >= kSlotTableSize)
        return;
    std::memmove(&table[index], &table[index + 1],
                 sizeof(SoundSlot) * (kSlotTableSize - 1 - index));
    std::memset(&table[kSlotTableSize - 1], 0, sizeof(SoundSlot));
}
