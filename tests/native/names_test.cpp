#include <gtest/gtest.h>

#include <cstring>

#include "slots/key_names.h"
#include "slots/part_names.h"

TEST(DrumPartNames, NumbersAreFixed)
{
    EXPECT_EQ(findDrumPart("DR_CLASH"), 0) << "DR_CLASH is part 0";
    EXPECT_EQ(findDrumPart("DR_HIHAT_CLOSE"), 1) << "the closed hi-hat must be part 1";
    EXPECT_EQ(findDrumPart("DR_HIHAT_OPEN"), 2) << "the open hi-hat must be part 2";
    EXPECT_EQ(findDrumPart("DR_SNARE1"), DR_SNARE1);
    EXPECT_EQ(findDrumPart("DR_COWBELL"), 14);
    EXPECT_EQ(findDrumPart("DR_SPLASH"), 17) << "DR_SPLASH is the last named part";
    for (int i = kNamedDrumParts; i < kDrumPartTableSize; ++i)
        EXPECT_EQ(drumPartNames[i], nullptr) << "entry " << i << " must have no name at all";
}

TEST(DrumPartNames, MatchIsExactAndCaseSensitive)
{
    EXPECT_EQ(findDrumPart("dr_snare1"), -1) << "names compare case-sensitively";
    EXPECT_EQ(findDrumPart("DR_SNARE"), -1) << "a prefix is no match";
    EXPECT_EQ(findDrumPart("DR_SNARE1 "), -1) << "a trailing blank is no match";
    EXPECT_EQ(findDrumPart(""), -1) << "the empty name matches no entry, named or not";
}

TEST(KeyNames, TableOrderAndTexts)
{
    EXPECT_EQ(keyNames[0].code, 0x10);
    EXPECT_STREQ(keyNames[0].text, "Shift");
    EXPECT_EQ(keyNames[kKeyNameCount - 1].code, 0x27) << "the table ends with the right arrow";
    EXPECT_STREQ(keyNameText(0x20), "Space");
    EXPECT_STREQ(keyNameText(0xDC), "\\");
    EXPECT_STREQ(keyNameText(0x08), "BS");
    EXPECT_EQ(keyNameText(0x70), nullptr) << "F1 has no name: it cannot be bound";
    int letters = 0;
    for (const KeyName& k : keyNames)
        letters += k.code >= 0x41 && k.code <= 0x5A;
    EXPECT_EQ(letters, 26) << "every letter key is bindable";
}

TEST(KeyNames, DoubleByteTextsAreShiftJis)
{
    // The full-width backslash and the arrows are two-byte Shift-JIS characters.
    EXPECT_STREQ(keyNameText(0xE2), "\x81\x5F");
    EXPECT_STREQ(keyNameText(0x26), "\x81\xAA");
    EXPECT_STREQ(keyNameText(0x28), "\x81\xAB");
    EXPECT_STREQ(keyNameText(0x25), "\x81\xA9");
    EXPECT_STREQ(keyNameText(0x27), "\x81\xA8");
}

TEST(KeyNames, TextBackToCode)
{
    EXPECT_EQ(keyNameCode("M"), 0x4D);
    EXPECT_EQ(keyNameCode(","), 0xBC);
    EXPECT_EQ(keyNameCode("\x81\xAA"), 0x26);
    EXPECT_EQ(keyNameCode("m"), 0) << "texts compare case-sensitively";
    EXPECT_EQ(keyNameCode("F1"), 0);
    for (const KeyName& k : keyNames)
        EXPECT_EQ(keyNameCode(k.text), k.code) << "round trip of " << k.text;
}
