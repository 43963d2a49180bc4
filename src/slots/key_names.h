// Display texts of the bindable keys, as the slot list shows them.
#pragma once

#include <cstdint>

struct KeyName {
    uint8_t code;       // virtual-key code
    const char* text;   // Shift-JIS display text
};

constexpr int kKeyNameCount = 56;
extern const KeyName keyNames[kKeyNameCount];

// The text of the first entry with this code, or null.
const char* keyNameText(uint8_t code);
// The code of the first entry with this text, or 0 (no key has code 0).
uint8_t keyNameCode(const char* text);
