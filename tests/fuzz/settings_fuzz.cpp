// Any bytes as Setting.csv: the reader must never write outside the table and
// must leave it tidy, and what the writer makes of it must read back unchanged.
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fuzz_check.h"
#include "slots/settings_text.h"

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
    std::string written = formatSettings(first, read.sampleRate, read.masterVolume);
    SettingsRead again = parseSettings(written, second);
    check(!again.rowsLeftOut);
    check(again.slotCount == read.slotCount);
    check(again.sampleRate == read.sampleRate && again.masterVolume == read.masterVolume);
    check(std::memcmp(first, second, sizeof first) == 0);
    for (const RowReport& r : again.reports)
        check(r.problem == RowProblem::BadPartName);
    return 0;
}
