// One key binding and the process-wide table of them.
#pragma once

#include <cstdint>

constexpr int kSlotTableSize = 60;   // entries in the sound slot table
constexpr int kKeyDownSlots = 56;    // key-down looks only at the first 56 entries
constexpr int kSlotPathSize = 256;
constexpr int kPartNameSize = 32;

struct SoundSlot {
    char path[kSlotPathSize];      // WAV path as written in Setting.csv
    uint8_t keyCode;               // virtual-key code; 0 marks an empty entry
    int32_t volume;                // 1..255, 127 is unity gain
    int32_t pan;                   // 1..255, 127 is centre
    int32_t slotIndex;             // own position, renumbered by every read
    int32_t partId;                // index into the drum-part name table
    char partName[kPartNameSize];  // drum-part name as read
};

extern SoundSlot soundSlots[kSlotTableSize];
extern int32_t slotCount;        // rows stored by the last read of Setting.csv
// What the table holds before a file gives its own.
constexpr uint32_t kDefaultSampleRate = 44100;
constexpr uint32_t kDefaultMasterVolume = 0xFFFFFFFFu;
extern uint32_t sampleRate;      // output rate in Hz, line 1 of Setting.csv
extern uint32_t masterVolume;    // wave-out volume word, line 2 of Setting.csv

// Lookups used by the key path and the store-slot message. Each returns an
// index into table, or -1.
int findKeyDownSlot(const SoundSlot* table, uint8_t keyCode);
int findKeyUpSlot(const SoundSlot* table, int count, uint8_t keyCode);
int findPartSlot(const SoundSlot* table, int count, int32_t partId);
// The key path's rules. A key down sounds the first of entries 0..55 bound
// to it, unless it is the key that last started a slot (*last): that is its
// auto-repeat. A key up releases the part of the first entry in use bound to
// it, and ends the auto-repeat. Each returns the entry, or -1 for none, and
// keeps *last up to date.
int keyDownSlot(const SoundSlot* table, uint8_t keyCode, uint8_t* last);
int keyUpSlot(const SoundSlot* table, int count, uint8_t keyCode, uint8_t* last);
int findStoreSlot(const SoundSlot* table, uint8_t keyCode);
// Clears entry index and closes the gaps: the used entries move to the
// front in their order, the empty ones to the back.
void deleteSlot(SoundSlot* table, int index);
// The first entry in use that binds what slot binds (path, key, volume, pan
// and part name alike), or -1.
int findSameSlot(const SoundSlot* table, const SoundSlot& slot);
