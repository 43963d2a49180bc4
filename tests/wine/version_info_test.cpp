// The version resource of the built pokopon.exe, read as a file's properties
// dialog reads it.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/program_run.h"

namespace {

std::string versionValue(const std::vector<char>& info, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), (std::string("\\StringFileInfo\\041103A4\\") + name).c_str(),
                        reinterpret_cast<void**>(&value), &length))
        return "(none)";
    return value;
}

}  // namespace

TEST(VersionInfo, NamesTheProgramAndItsVersionInTheJapaneseBlock)
{
    const std::string exe = BuiltProgram();
    std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), nullptr));
    ASSERT_FALSE(info.empty()) << "pokopon.exe carries no version resource";
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(9, 0));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 2));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(9, 0));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(0, 2));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0411) << "Japanese";
    EXPECT_EQ(translation[1], 932) << "Shift-JIS";

    EXPECT_EQ(versionValue(info, "ProductName"), "ポコポン");
    EXPECT_EQ(versionValue(info, "ProductVersion"), "0.9.2");
    EXPECT_EQ(versionValue(info, "FileVersion"), "0.9.2");
    EXPECT_EQ(versionValue(info, "FileDescription"), "ポコポン - PCのキーボードで叩くドラムキット");
    EXPECT_EQ(versionValue(info, "OriginalFilename"), "pokopon.exe");
}
