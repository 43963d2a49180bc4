// Changes to the bindings: the table is written, read back and heard anew.
#pragma once

#include "slots/sound_slot.h"

// The rows of the slot list that rowFilter asks for.
void showFilteredRows();
// Writes the table to the settings file, reads it back (numbering the
// entries and checking their drum parts) and rebuilds the audio engine at the
// file's rate.
void reloadSlots();
// Replaces the first entry bound to the record's key, or fills the first
// empty one; a full table without that key takes nothing. Reloads either way.
void storeSlot(const SoundSlot& record);
