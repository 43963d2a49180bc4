// Playing from the keyboard: a bound key sounds its slot on key down.
#pragma once

#include <windows.h>

#include <cstdint>

class AudioEngine;

extern AudioEngine* audioEngine;   // rebuilt after every change of the bindings
extern CRITICAL_SECTION sharedLock; // held around trigger on the key path
extern uint8_t lastKeyDown;         // the key that last started a slot; 0 when none

// Sounds the first of entries 0..55 bound to the key, unless the key is the
// one that last started a slot (its auto-repeat).
void onKeyDown(uint8_t key);
void onKeyUp(uint8_t key);
