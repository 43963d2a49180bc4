#include "ui/slot_checks.h"

#include "slots/sample_path.h"
#include "slots/settings_text.h"

SlotProblem checkSlot(const SoundSlot& record)
{
    if (record.volume < 1 || record.volume > 255)
        return SlotProblem::Volume;
    if (record.pan < 1 || record.pan > 255)
        return SlotProblem::Pan;
    if (!record.path[0])
        return SlotProblem::NoFile;
    if (!isLocalFilePath(record.path))
        return SlotProblem::NotLocal;
    if (record.keyCode == 0)
        return SlotProblem::NoKey;
    switch (settingsRowFit(record)) {
    case RowFit::PathSeparator: return SlotProblem::PathComma;
    case RowFit::TooLong: return SlotProblem::RowTooLong;
    case RowFit::Fits: break;
    }
    return SlotProblem::None;
}

bool tableTakes(const SoundSlot* table, uint8_t keyCode)
{
    return findStoreSlot(table, keyCode) >= 0;
}
