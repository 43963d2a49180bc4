#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "slots/sample_path.h"
#include "ui/slot_checks.h"
#include "ui/slot_rows.h"

namespace {

SoundSlot slot(uint8_t key, int32_t part, const char* path = "sounds\\bass2.wav")
{
    SoundSlot s = {};
    std::snprintf(s.path, sizeof s.path, "%s", path);
    s.keyCode = key;
    s.volume = 128;
    s.pan = 64;
    s.partId = part;
    std::snprintf(s.partName, sizeof s.partName, "DR_BASS1");
    return s;
}

}  // namespace

TEST(SlotRows, CaptionsOfARow)
{
    char captions[kRowCaptions][kCaptionSize] = {};
    rowCaptions(slot(0x20, 3), "bass2.wav", captions);
    EXPECT_STREQ(captions[0], "DR_BASS1");
    EXPECT_STREQ(captions[1], "Space");
    EXPECT_STREQ(captions[2], "128");
    EXPECT_STREQ(captions[3], "64");
    EXPECT_STREQ(captions[4], "bass2.wav  --  sounds\\bass2.wav");

    char fresh[kRowCaptions][kCaptionSize] = {};
    rowCaptions(slot(0x07, 3), "bass2.wav", fresh);  // 0x07 has no name
    EXPECT_STREQ(fresh[1], "") << "a key without a name leaves the column empty";

    std::string longPath(255, 'p');
    rowCaptions(slot(0x20, 3, longPath.c_str()), longPath.c_str(), captions);
    EXPECT_EQ(std::strlen(captions[4]), 255u) << "an over-long caption is cut to fit";
    // "表" (0x95 0x5C) straddling the cut goes whole; its 0x5C is no character of its own.
    std::string name = std::string(254, 'p') + "\x95\x5C.wav";
    rowCaptions(slot(0x20, 3, "x.wav"), name.c_str(), captions);
    EXPECT_EQ(std::strlen(captions[4]), 254u) << "no half of a double-byte character is left";
}

TEST(SlotRows, CentresPackTheShownRowsFromTheTop)
{
    SoundSlot table[kSlotTableSize] = {};
    table[0] = slot(0x20, 3);
    table[1] = slot(0x21, 4);
    table[2] = slot(0x22, 9);
    table[4] = slot(0x23, 9);
    table[9] = slot(0x24, 9);
    table[10] = SoundSlot{};  // unused, even with part 0
    int centres[kSlotTableSize];
    rowCentres(table, -1, centres);
    EXPECT_EQ(centres[0], 27);
    EXPECT_EQ(centres[1], 45);
    EXPECT_EQ(centres[2], 63);
    EXPECT_EQ(centres[3], -1) << "an unused entry is hidden";
    EXPECT_EQ(centres[4], 81) << "no gap for the hidden row";
    EXPECT_EQ(centres[9], 99);
    EXPECT_EQ(centres[59], -1);

    rowCentres(table, 9, centres);
    EXPECT_EQ(centres[0], -1);
    EXPECT_EQ(centres[2], 27) << "one part's rows start at the top";
    EXPECT_EQ(centres[4], 45);
    EXPECT_EQ(centres[9], 63);
    rowCentres(table, 0, centres);
    EXPECT_EQ(centres[10], -1) << "an empty entry of part 0 stays hidden";
}

TEST(SlotChecks, TheFirstProblemInTheOrderTheUserIsTold)
{
    SoundSlot record = {};
    record.volume = 0;
    record.pan = 256;
    EXPECT_EQ(checkSlot(record), SlotProblem::Volume) << "the volume before all else";
    record.volume = 255;
    EXPECT_EQ(checkSlot(record), SlotProblem::Pan);
    record.pan = 1;
    EXPECT_EQ(checkSlot(record), SlotProblem::NoFile) << "the file before the key";
    std::snprintf(record.path, sizeof record.path, "sounds\\a.wav");
    EXPECT_EQ(checkSlot(record), SlotProblem::NoKey);
    record.keyCode = 0x41;
    EXPECT_EQ(checkSlot(record), SlotProblem::None);
    std::snprintf(record.path, sizeof record.path, "\\\\host\\share\\a.wav");
    EXPECT_EQ(checkSlot(record), SlotProblem::NotLocal) << "a network path is never opened";
    std::snprintf(record.path, sizeof record.path, "sounds\\a,b.wav");
    EXPECT_EQ(checkSlot(record), SlotProblem::PathComma) << "a comma would split the row";
    std::memset(record.path, 'p', 250);
    EXPECT_EQ(checkSlot(record), SlotProblem::RowTooLong) << "the row would not fit the line buffer";
}

TEST(SlotChecks, OnlyFilesOfThisMachineAreSamples)
{
    for (const char* path : {"\\\\host\\share\\x.wav", "//host/x.wav", "\\\\?\\C:\\x.wav", "NUL",
                             "sounds\\nul.wav", "sounds\\Com1.wav", "sounds\\con .wav", "C:AUX"})
        EXPECT_FALSE(isLocalFilePath(path)) << path;
    // 表 ends in the byte 0x5C, which is no separator there.
    for (const char* path : {"sounds\\console.wav", "sounds\\COM10.wav", "\\lpt.wav", "\x95\x5CNUL.wav"})
        EXPECT_TRUE(isLocalFilePath(path)) << path;
}

TEST(SlotChecks, AFullTableTakesOnlyAKeyItHolds)
{
    SoundSlot table[kSlotTableSize] = {};
    EXPECT_TRUE(tableTakes(table, 0x41)) << "an empty table";
    for (int i = 0; i < kSlotTableSize; ++i)
        table[i].keyCode = static_cast<uint8_t>(0x60 + i);
    EXPECT_FALSE(tableTakes(table, 0x41)) << "no free entry, no entry with the key";
    EXPECT_TRUE(tableTakes(table, 0x61)) << "the key is replaced";
}
