#include "slots/sound_slot.h"

#include <cstring>

SoundSlot soundSlots[kSlotTableSize];
int32_t slotCount;
uint32_t sampleRate = kDefaultSampleRate;
uint32_t masterVolume = kDefaultMasterVolume;

int findKeyDownSlot(const SoundSlot* table, uint8_t keyCode)
{
    return findKeyUpSlot(table, kKeyDownSlots, keyCode);
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

int keyDownSlot(const SoundSlot* table, uint8_t keyCode, uint8_t* last)
{
    if (keyCode == *last)
        return -1;
    // A held key that started nothing is looked up again at each repeat.
    int slot = findKeyDownSlot(table, keyCode);
    if (slot >= 0)
        *last = keyCode;
    return slot;
}

int keyUpSlot(const SoundSlot* table, int count, uint8_t keyCode, uint8_t* last)
{
    if (keyCode == *last)
        *last = 0;
    return findKeyUpSlot(table, count, keyCode);
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
    std::memset(&table[index], 0, sizeof(SoundSlot));
    // Every empty entry goes to the back; the used ones keep their order.
    int used = 0;
    for (int i = 0; i < kSlotTableSize; ++i)
        if (table[i].keyCode != 0) {
            if (i != used)
                table[used] = table[i];
            ++used;
        }
    if (used < kSlotTableSize)
        std::memset(&table[used], 0, sizeof(SoundSlot) * (kSlotTableSize - used));
}

int findSameSlot(const SoundSlot* table, const SoundSlot& slot)
{
    for (int i = 0; i < kSlotTableSize; ++i) {
        const SoundSlot& s = table[i];
        if (s.keyCode && s.keyCode == slot.keyCode && s.volume == slot.volume && s.pan == slot.pan
            && std::strcmp(s.path, slot.path) == 0 && std::strcmp(s.partName, slot.partName) == 0)
            return i;
    }
    return -1;
}
