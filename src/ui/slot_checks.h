// What the slot edit dialog refuses, free of the platform, in the order the
// user is told.
#pragma once

#include <cstdint>

#include "slots/sound_slot.h"

enum class SlotProblem {
    None,
    Volume,   // outside 1..255
    Pan,      // outside 1..255
    NoFile,
    NotLocal,    // a network path or a device, never opened
    NoKey,
    PathComma,   // the settings file would split the row at it
    RowTooLong,  // the row would not fit the settings file's line buffer
};

SlotProblem checkSlot(const SoundSlot& record);
// Whether the table can take the record: an entry has its key, or one is free.
bool tableTakes(const SoundSlot* table, uint8_t keyCode);
