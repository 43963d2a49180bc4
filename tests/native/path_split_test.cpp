#include <gtest/gtest.h>

#include "util/centre.h"
#include "util/path_split.h"

namespace {

// Code page 932: lead bytes 0x81-0x9F and 0xE0-0xFC.
bool cp932Lead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

const char* cp932Next(const char* p)
{
    if (cp932Lead(static_cast<unsigned char>(*p)) && p[1])
        return p + 2;
    return p + 1;
}

size_t offset(const char* path) { return nameOffset(path, cp932Next, cp932Lead); }

}  // namespace

TEST(PathSplit, NameAfterLastSeparator)
{
    EXPECT_EQ(offset("sounds\\snr1.wav"), 7u);
    EXPECT_EQ(offset("snr1.wav"), 0u) << "no separator: the whole path is the name";
    EXPECT_EQ(offset("C:"), 2u) << "a drive letter alone leaves an empty name";
    EXPECT_EQ(offset("C:\\a/b\\"), 7u) << "a trailing separator leaves an empty name";
    EXPECT_EQ(offset("a/b"), 2u) << "slash separates";
    EXPECT_EQ(offset(""), 0u);
}

TEST(PathSplit, SecondByteOfDoubleByteCharacterIsNoSeparator)
{
    // 表 is 0x95 0x5C: its second byte equals a backslash.
    EXPECT_EQ(offset("C:\\\x95\x5C\\x.wav"), 6u) << "cut after the real backslash";
    EXPECT_EQ(offset("\x95\x5C"), 0u) << "a lone 表 has no separator";
    EXPECT_EQ(offset("d\\\x83\x5C\x83\x5C"), 2u) << "ソソ (0x83 0x5C twice) ends the path";
}

TEST(Centre, OriginNeverNegative)
{
    EXPECT_EQ(centredOrigin(800, 1000), 0) << "a window wider than the screen starts at 0";
    EXPECT_EQ(centredOrigin(1024, 301), 361);
    EXPECT_EQ(centredOrigin(1920, 660), 630);
    EXPECT_EQ(centredOrigin(1023, 1024), 0) << "-1/2 truncates to 0";
}
