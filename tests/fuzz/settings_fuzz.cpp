// Any bytes as Setting.csv: the reader must never write outside the table and
// must leave it tidy, and what the writer makes of it must read back unchanged.
// The same bytes as a path chosen in the slot edit dialog: a record the dialog
// lets through must read back unchanged too.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fuzz_check.h"
#include "slots/part_names.h"
#include "slots/settings_text.h"
#include "ui/slot_checks.h"

namespace {

void checkDialogRecord(const uint8_t* data, size_t size)
{
    static SoundSlot table[kSlotTableSize];
    static SoundSlot back[kSlotTableSize];
    std::memset(table, 0, sizeof table);
    SoundSlot& record = table[0];
    const char* path = reinterpret_cast<const char*>(data);
    std::memcpy(record.path, path, strnlen(path, std::min(size, sizeof record.path - 1)));
    record.keyCode = static_cast<uint8_t>(size % 255 + 1);
    record.volume = static_cast<int32_t>(size % 255 + 1);
    record.pan = static_cast<int32_t>(size * 7 % 255 + 1);
    std::strcpy(record.partName, drumPartNames[size % kNamedDrumParts]);
    // The file dialog gives whole paths, never one byte.
    if (std::strlen(record.path) < 2 || checkSlot(record) != SlotProblem::None)
        return;
    record.partId = findDrumPart(record.partName);
    std::string text = formatSettings(table, 44100, 0xFFFFFFFFu);
    SettingsRead read = parseSettings(text, back);
    check(read.slotCount == 1 && read.reports.empty() && read.unreadTail.empty());
    check(std::memcmp(&table[0], &back[0], sizeof table[0]) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static SoundSlot first[kSlotTableSize];
    static SoundSlot second[kSlotTableSize];
    SettingsRead read = parseSettings(std::string_view(reinterpret_cast<const char*>(data), size), first);

    check(read.slotCount >= 0 && read.slotCount <= kSlotTableSize);
    static const SoundSlot zero = {};
    for (int i = 0; i < kSlotTableSize; ++i) {
        const SoundSlot& s = first[i];
        if (i >= read.slotCount) {
            check(std::memcmp(&s, &zero, sizeof s) == 0);
            continue;
        }
        check(s.keyCode != 0 && s.slotIndex == i);
        check(s.volume >= 1 && s.volume <= 255 && s.pan >= 1 && s.pan <= 255);
        check(s.partId >= 0 && s.partId < 18);
        check(std::memchr(s.path, '\0', sizeof s.path) && std::strlen(s.path) >= 2);
        check(std::memchr(s.partName, '\0', sizeof s.partName) != nullptr);
    }

    // The normal form is a fixed point: reading it gives the same table back
    // and reports no row the table could not hold.
    std::string written = formatSettings(first, read.sampleRate, read.masterVolume, read.unreadTail);
    SettingsRead again = parseSettings(written, second);
    check(again.unreadTail == read.unreadTail);
    check(!again.keepFile);
    check(again.slotCount == read.slotCount);
    check(again.sampleRate == read.sampleRate && again.masterVolume == read.masterVolume);
    check(std::memcmp(first, second, sizeof first) == 0);
    for (const RowReport& r : again.reports)
        check(r.problem == RowProblem::BadPartName);

    checkDialogRecord(data, size);
    return 0;
}
