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
