// The file routines on real files in a folder beside the test program.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/test_folder.h"
#include "util/file_contents.h"
#include "util/file_handles.h"

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override { FreshFolder(folder()); }
    void TearDown() override { RemoveTree(folder()); }

    static std::string folder() { return ExeFolder() + "files"; }
    static std::string file(const char* name) { return folder() + "\\" + name; }

    // Whether another reader or writer may open the file meanwhile.
    static bool openAgain(const char* name, DWORD access)
    {
        HANDLE h = CreateFileA(file(name).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        return h != INVALID_HANDLE_VALUE && CloseHandle(h);
    }
};

}  // namespace

TEST_F(Files, OpenForReadIsForReadingAndShared)
{
    WriteFileBytes(file("a.pkp"), "abc");
    HANDLE h = OpenForRead(file("a.pkp").c_str());
    ASSERT_NE(h, nullptr);
    char buffer[8] = "";
    DWORD n = 0;
    EXPECT_TRUE(ReadFile(h, buffer, sizeof buffer, &n, nullptr));
    EXPECT_EQ(std::string(buffer, n), "abc");
    EXPECT_FALSE(WriteFile(h, "w", 1, &n, nullptr)) << "the handle is for reading only";
    EXPECT_TRUE(openAgain("a.pkp", GENERIC_READ)) << "other readers are allowed";
    EXPECT_TRUE(openAgain("a.pkp", GENERIC_WRITE)) << "other writers are allowed";
    CloseHandle(h);
}

TEST_F(Files, CreateForWriteTruncatesAndIsForWriting)
{
    WriteFileBytes(file("a.pkp"), "old contents");
    HANDLE h = CreateForWrite(file("a.pkp").c_str());
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(GetFileSize(h, nullptr), 0u) << "the old contents are gone at once";
    char c;
    DWORD n = 0;
    EXPECT_FALSE(ReadFile(h, &c, 1, &n, nullptr)) << "the handle is for writing only";
    EXPECT_TRUE(openAgain("a.pkp", GENERIC_READ)) << "readers are allowed meanwhile";
    EXPECT_TRUE(WriteFile(h, "w", 1, &n, nullptr));
    CloseHandle(h);
    EXPECT_EQ(ReadFileBytes(file("a.pkp")), "w");
}

TEST_F(Files, FailedOpeningsAreNullNotInvalidHandle)
{
    EXPECT_EQ(OpenForRead(file("missing.pkp").c_str()), nullptr);
    EXPECT_FALSE(FileExists(file("missing.pkp"))) << "reading creates no file";
    EXPECT_EQ(CreateForWrite(file("no\\such.pkp").c_str()), nullptr) << "no such folder";
    CreateDirectoryA(file("dir").c_str(), nullptr);
    EXPECT_EQ(CreateForWrite(file("dir").c_str()), nullptr) << "a folder is no file";
}

TEST_F(Files, CloseAndClearClosesAndForgetsTheHandle)
{
    HANDLE h = CreateForWrite(file("a.pkp").c_str());
    ASSERT_NE(h, nullptr);
    HANDLE copy = h;
    EXPECT_TRUE(CloseAndClear(&h)) << "CloseHandle's success is returned";
    EXPECT_EQ(h, nullptr) << "the handle is cleared";
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(copy, &flags)) << "the handle is really closed";
    EXPECT_FALSE(CloseAndClear(&h)) << "closing null fails, as CloseHandle does";
}

TEST_F(Files, ReadWholeFileReadsEveryByteInOrder)
{
    std::string bytes;
    for (int i = 0; i < 40000; ++i)  // more than one read's worth
        bytes += static_cast<char>(i * 7 + i / 256);
    WriteFileBytes(file("big"), bytes);
    WriteFileBytes(file("empty"), "");
    std::string out = "left over";
    ASSERT_TRUE(ReadWholeFile(file("big").c_str(), &out));
    EXPECT_EQ(out.size(), bytes.size());
    EXPECT_TRUE(out == bytes) << "no byte lost, repeated or moved";
    EXPECT_TRUE(ReadWholeFile(file("empty").c_str(), &out)) << "an empty file reads fine";
    EXPECT_EQ(out, "") << "what was in out is replaced";
    out = "kept";
    EXPECT_FALSE(ReadWholeFile(file("missing").c_str(), &out));
    EXPECT_EQ(out, "kept") << "a file that cannot be opened leaves out alone";
}

TEST_F(Files, ReplaceFileContentsPutsTheNewContentsInPlace)
{
    EXPECT_EQ(ReplaceFileContents(file("a.csv").c_str(), "first", 5), 0u) << "a new file";
    EXPECT_EQ(ReadFileBytes(file("a.csv")), "first");
    EXPECT_EQ(ReplaceFileContents(file("a.csv").c_str(), "2\0x", 3), 0u) << "an existing file";
    EXPECT_EQ(ReadFileBytes(file("a.csv")), std::string("2\0x", 3)) << "every byte, the NUL too";
}

TEST_F(Files, FailedReplaceLeavesTheFileAlone)
{
    CreateDirectoryA(file("b.csv").c_str(), nullptr);  // a folder cannot be replaced by a file
    EXPECT_NE(ReplaceFileContents(file("b.csv").c_str(), "new", 3), 0u);
    EXPECT_NE(GetFileAttributesA(file("b.csv").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    WIN32_FIND_DATAA found;
    EXPECT_EQ(FindFirstFileA(file("*.tmp").c_str(), &found), INVALID_HANDLE_VALUE) << "the new file is removed";
}
