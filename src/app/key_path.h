// Playing from the keyboard: a bound key sounds its slot on key down.
#pragma once

#include <windows.h>

#include <cstdint>

extern uint8_t lastKeyDown;         // the key that last started a slot; 0 when none

// Sounds the first of entries 0..55 bound to the key, unless the key is the
// one that last started a slot (its auto-repeat).
void onKeyDown(uint8_t key);
void onKeyUp(uint8_t key);

constexpr LPARAM kFirstRowControlId = 1000;  // slot rows' control ids start here

// The play-slot message: from a slot row (sender is its control id) which is
// a table entry; from a drum-part button (sender 0) it is a drum part, whose
// first slot sounds.
void onPlaySlot(WPARAM which, LPARAM sender);
