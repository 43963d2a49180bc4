// The slot edit dialog: binds a key to a WAV file with a volume and a pan for
// one drum part, and sends the result to the main window to be stored.
#pragma once

#include <windows.h>

#include <cstdint>

struct SlotEditSource {
    bool adding;           // a new slot for a drum part, else a row's slot
    int32_t row;           // the row's table entry when editing
    int32_t partIndex;     // the drum part when adding
    const char* partName;  // the drum part's name when adding
    HWND receiver;         // the main window
};

// Modal to owner; 1 after OK, 2 after Cancel.
INT_PTR ShowSlotEditDialog(HINSTANCE instance, HWND owner, const SlotEditSource& source);
