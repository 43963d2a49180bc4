// What the rows of the slot list show and where they sit, free of the
// platform.
#pragma once

#include <cstdint>

#include "slots/sound_slot.h"

constexpr int kCaptionSize = 256;
constexpr int kRowCaptions = 5;
constexpr int kFirstRowCentre = 27;  // the header's centre is one row higher
constexpr int kRowStep = 18;
constexpr int kRowCentreX = 300;
constexpr int kCaptionX[kRowCaptions] = {10, 130, 170, 210, 250};

// The five captions of a row: part name, key name, volume, pan, and the file
// name, "  --  " and the whole path (fileName is the path's file-name part).
// A caption too long for its 256 bytes is cut after a whole character. The key caption is left as it
// is when the key has no name.
void rowCaptions(const SoundSlot& slot, const char* fileName, char captions[][kCaptionSize]);

// The centre y of each row, packed from the top in table order: the used
// slots (of drum part onlyPart, unless it is -1); -1 for a hidden row.
void rowCentres(const SoundSlot* table, int32_t onlyPart, int centres[kSlotTableSize]);
