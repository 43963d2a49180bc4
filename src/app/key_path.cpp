#include "app/key_path.h"

#include "audio/audio_engine.h"
#include "slots/sound_slot.h"

AudioEngine* audioEngine;
CRITICAL_SECTION sharedLock;
uint8_t lastKeyDown;

void onKeyDown(uint8_t key)
{
    if (key == lastKeyDown)
        return;
    int slot = findKeyDownSlot(soundSlots, key);
    if (slot < 0)
        return;  // a held key that started nothing is looked up again at each repeat
    EnterCriticalSection(&sharedLock);
    if (audioEngine)
        audioEngine->trigger(soundSlots[slot]);
    LeaveCriticalSection(&sharedLock);
    lastKeyDown = key;
}

void onKeyUp(uint8_t key)
{
    // The sound plays to its end; key up only matters for the drum part on
    // screen, and for the auto-repeat rule.
    if (key == lastKeyDown)
        lastKeyDown = 0;
}

void onPlaySlot(WPARAM which, LPARAM sender)
{
    // No engine while start-up was cancelled or the bindings are reloading.
    if (!audioEngine)
        return;
    if (sender >= kFirstRowControlId) {
        // A slot row names its entry; a stray index sounds nothing.
        if (which < kSlotTableSize)
            audioEngine->trigger(soundSlots[which]);
        return;
    }
    int slot = findPartSlot(soundSlots, slotCount, static_cast<int32_t>(which));
    if (slot >= 0)
        audioEngine->trigger(soundSlots[slot]);
}
