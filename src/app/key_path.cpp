#include "app/key_path.h"

#include "audio/audio_engine.h"
#include "kit/kit_button.h"
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
    LightPart(soundSlots[slot].partId);
    lastKeyDown = key;
}

void onKeyUp(uint8_t key)
{
    // The sound plays to its end; key up only matters for the drum part on
    // screen, and for the auto-repeat rule.
    int slot = findKeyUpSlot(soundSlots, slotCount, key);
    if (slot >= 0)
        ReleasePart(soundSlots[slot].partId);
    if (key == lastKeyDown)
        lastKeyDown = 0;
}

void onPlaySlot(WPARAM which, LPARAM sender)
{
    // No engine while start-up was cancelled or the bindings are reloading.
    if (!audioEngine)
        return;
    if (sender >= kFirstRowControlId) {
        // A slot row names its entry; a stray index sounds nothing. Its drum
        // part lights for a moment.
        if (which >= kSlotTableSize)
            return;
        audioEngine->trigger(soundSlots[which]);
        LightPart(soundSlots[which].partId);
        Sleep(100);
        ReleasePart(soundSlots[which].partId);
        return;
    }
    int slot = findPartSlot(soundSlots, slotCount, static_cast<int32_t>(which));
    if (slot >= 0)
        audioEngine->trigger(soundSlots[slot]);
}
