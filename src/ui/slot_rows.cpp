#include "ui/slot_rows.h"

#include <cstdio>
#include <string>

#include "slots/key_names.h"
#include "util/shift_jis.h"

void rowCaptions(const SoundSlot& slot, const char* fileName, char captions[][kCaptionSize])
{
    std::snprintf(captions[0], kCaptionSize, "%s", slot.partName);
    if (const char* key = keyNameText(slot.keyCode))
        std::snprintf(captions[1], kCaptionSize, "%s", key);
    std::snprintf(captions[2], kCaptionSize, "%d", slot.volume);
    std::snprintf(captions[3], kCaptionSize, "%d", slot.pan);
    std::string file = std::string(fileName) + "  --  " + slot.path;
    std::snprintf(captions[4], kCaptionSize, "%.*s",
                  static_cast<int>(wholeCharacters(file.c_str(), kCaptionSize - 1)), file.c_str());
}

void rowCentres(const SoundSlot* table, int32_t onlyPart, int centres[kSlotTableSize])
{
    int y = kFirstRowCentre;
    for (int i = 0; i < kSlotTableSize; ++i) {
        bool shown = table[i].keyCode != 0 && (onlyPart < 0 || table[i].partId == onlyPart);
        centres[i] = shown ? y : -1;
        if (shown)
            y += kRowStep;
    }
}
