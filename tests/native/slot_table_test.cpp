#include <gtest/gtest.h>

#include <cstring>

#include "slots/sound_slot.h"

namespace {

struct Table {
    SoundSlot s[kSlotTableSize] = {};
    void bind(int i, uint8_t key, int part)
    {
        s[i].keyCode = key;
        s[i].partId = part;
        std::snprintf(s[i].path, sizeof s[i].path, "sounds\\%d.wav", i);
    }
};

}  // namespace

TEST(SlotTable, KeyDownSeesOnlyTheFirst56Entries)
{
    Table t;
    t.bind(56, 'Q', 3);
    t.bind(59, 'W', 4);
    EXPECT_EQ(findKeyDownSlot(t.s, 'Q'), -1) << "entry 56 never sounds on key-down";
    EXPECT_EQ(findKeyDownSlot(t.s, 'W'), -1) << "entry 59 never sounds on key-down";
    EXPECT_EQ(findKeyUpSlot(t.s, 60, 'Q'), 56) << "key-up still releases entry 56";
    EXPECT_EQ(findKeyUpSlot(t.s, 56, 'Q'), -1) << "key-up looks only at the rows in use";
}

TEST(SlotTable, FirstRowWithTheKeyWins)
{
    Table t;
    t.bind(3, 'H', 4);
    t.bind(7, 'H', 5);
    EXPECT_EQ(findKeyDownSlot(t.s, 'H'), 3);
    EXPECT_EQ(findKeyUpSlot(t.s, 8, 'H'), 3);
    EXPECT_EQ(findPartSlot(t.s, 8, 5), 7);
    EXPECT_EQ(findPartSlot(t.s, 8, 9), -1);
}

TEST(SlotTable, StoreTakesMatchingKeyOrFirstEmpty)
{
    Table t;
    for (int i = 0; i < 5; ++i)
        t.bind(i, static_cast<uint8_t>('A' + i), 0);
    EXPECT_EQ(findStoreSlot(t.s, 'C'), 2) << "a bound key replaces its row";
    EXPECT_EQ(findStoreSlot(t.s, 'Z'), 5) << "a new key takes the first empty entry";
    for (int i = 0; i < kSlotTableSize; ++i)
        t.bind(i, static_cast<uint8_t>(0x30 + i), 0);
    EXPECT_EQ(findStoreSlot(t.s, 0xFE), -1) << "a full table without the key takes nothing";
    SoundSlot row = t.s[7];
    EXPECT_EQ(findSameSlot(t.s, row), 7) << "a row found again after the file was read anew";
    row.volume = 90;
    EXPECT_EQ(findSameSlot(t.s, row), -1) << "a row changed meanwhile is not the one";
}

TEST(SlotTable, DeleteClosesTheGap)
{
    Table t;
    for (int i = 0; i < kSlotTableSize; ++i)
        t.bind(i, static_cast<uint8_t>(0x30 + i), i % 18);
    deleteSlot(t.s, 10);
    EXPECT_EQ(t.s[10].keyCode, 0x30 + 11) << "the next entry moves up";
    EXPECT_STREQ(t.s[58].path, "sounds\\59.wav");
    SoundSlot zero = {};
    EXPECT_EQ(std::memcmp(&t.s[59], &zero, sizeof zero), 0) << "the last entry is cleared";
    deleteSlot(t.s, 59);
    EXPECT_EQ(t.s[59].keyCode, 0);
    deleteSlot(t.s, 60);  // out of range: nothing happens, nothing is written
    deleteSlot(t.s, -1);
    EXPECT_EQ(t.s[0].keyCode, 0x30);
}

TEST(SlotTable, DeleteTheOnlySlotAndCloseOtherGaps)
{
    Table one;
    one.bind(0, 0x41, 3);
    deleteSlot(one.s, 0);
    for (const SoundSlot& s : one.s)
        EXPECT_EQ(s.keyCode, 0) << "the table is empty";

    Table gaps;
    gaps.bind(0, 0x41, 3);
    gaps.bind(2, 0x42, 4);  // entry 1 empty
    gaps.bind(5, 0x43, 9);
    deleteSlot(gaps.s, 2);
    EXPECT_EQ(gaps.s[0].keyCode, 0x41);
    EXPECT_EQ(gaps.s[1].keyCode, 0x43) << "every gap closes, in order";
    EXPECT_EQ(gaps.s[2].keyCode, 0);
    EXPECT_EQ(gaps.s[5].keyCode, 0);
}
