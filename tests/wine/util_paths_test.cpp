// FileNamePart, CutToDirectory and GetProgramFolder with the platform's own
// Shift-JIS code page.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "support/box_watch.h"
#include "support/test_folder.h"
#include "util/path_names.h"
#include "util/program_folder.h"

namespace {

// 表 and ソ end in 0x5C, the byte of a backslash.
const char kHyo[] = "表";

class PathNames : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetACP(), 932u) << "these cases need the Shift-JIS code page (LC_ALL=ja_JP.UTF-8)";
        ASSERT_EQ(std::string(kHyo), "\x95\x5C") << "the sources are compiled to Shift-JIS";
    }

    static std::string nameOf(const char* path) { return FileNamePart(path); }

    // CutToDirectory on a copy of path: what is left, and the cut being the
    // end of what is left.
    static std::string cut(const char* path)
    {
        char buffer[64];
        std::strcpy(buffer, path);
        char* end = CutToDirectory(buffer);
        EXPECT_EQ(*end, '\0') << "the cut is an empty string";
        EXPECT_EQ(end, buffer + std::strlen(buffer)) << "the cut is the end of the directory";
        return buffer;
    }
};

}  // namespace

TEST_F(PathNames, NameIsWhatFollowsTheLastSeparator)
{
    EXPECT_EQ(nameOf("sounds\\snr1.wav"), "snr1.wav");
    EXPECT_EQ(nameOf("C:\\a\\b\\snr1.wav"), "snr1.wav") << "the last of several backslashes";
    EXPECT_EQ(nameOf("a/b\\c/snr1.wav"), "snr1.wav") << "a slash separates too";
    EXPECT_EQ(nameOf("C:snr1.wav"), "snr1.wav") << "so does a drive's colon";
    EXPECT_EQ(nameOf("C:"), "") << "nothing follows the colon";
    EXPECT_EQ(nameOf("sounds\\"), "") << "nothing follows a trailing backslash";
    EXPECT_EQ(nameOf("snr1.wav"), "snr1.wav") << "a bare name is all name";
    EXPECT_EQ(nameOf(""), "");
    const char* path = "sounds\\snr1.wav";
    EXPECT_EQ(FileNamePart(path), path + 7) << "the name is a pointer into the path";
}

TEST_F(PathNames, DoubleByteCharacterEndingIn5CIsNoSeparator)
{
    EXPECT_EQ(nameOf("音\\表.wav"), "表.wav") << "got " << utf8(nameOf("音\\表.wav"));
    EXPECT_EQ(nameOf("C:\\音表\\ソ"), "ソ") << "got " << utf8(nameOf("C:\\音表\\ソ"));
    EXPECT_EQ(nameOf("音表\\snr1.wav"), "snr1.wav") << "the real backslash after the character counts";
    EXPECT_EQ(nameOf("表ソ"), "表ソ") << "got " << utf8(nameOf("表ソ"));
    EXPECT_EQ(nameOf("a\\b\x95"), "b\x95") << "a lead byte at the very end is a name byte";
    const char cutShort[] = "ab\x95\0\\x";  // a backslash past the end
    EXPECT_EQ(FileNamePart(cutShort), cutShort) << "the walk stops at the end after a lead byte";
}

TEST_F(PathNames, CutKeepsTheDirectoryAndItsSeparator)
{
    EXPECT_EQ(cut("sounds\\snr1.wav"), "sounds\\");
    EXPECT_EQ(cut("C:\\a/b\\c.pkp"), "C:\\a/b\\");
    EXPECT_EQ(cut("C:x.pkp"), "C:");
    EXPECT_EQ(cut("sounds\\"), "sounds\\") << "a directory is left as it is";
    EXPECT_EQ(cut("snr1.wav"), "") << "a bare name leaves nothing";
    EXPECT_EQ(cut("C:\\音表\\表.wav"), "C:\\音表\\") << "cut after the real backslash";
    EXPECT_EQ(cut("C:\\音\\ソ表"), "C:\\音\\") << "not inside the last character";
}

TEST(ProgramFolder, IsTheFolderOfTheExeWithItsBackslashIfItFits)
{
    const std::string expected = ExeFolder();
    std::string buffer(expected.size() + 1, 'x');
    EXPECT_TRUE(GetProgramFolder(buffer.data(), buffer.size())) << "room for the folder and its NUL";
    EXPECT_EQ(std::string(buffer.c_str()), expected);
    std::string small(expected.size(), 'x');
    EXPECT_FALSE(GetProgramFolder(small.data(), small.size())) << "no room for the NUL";
    EXPECT_EQ(small, std::string(expected.size(), 'x')) << "a failure writes nothing";
}
