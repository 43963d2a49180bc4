// loadSettings and saveSettings on real files in the test program's folder,
// with their message boxes read and answered as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "slots/settings_file.h"
#include "slots/sound_slot.h"
#include "support/box_watch.h"
#include "support/test_folder.h"

namespace {

const char kCaption[] = "エラー";

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        FreshFolder(folder());
        std::memset(soundSlots, 0, sizeof soundSlots);
        quitRequested();  // start without a quit request left over
    }
    void TearDown() override { RemoveTree(folder()); }

    static std::string folder() { return ExeFolder() + "sounds"; }
    static std::string file(const std::string& name) { return folder() + "\\" + name; }
    static std::string settings() { return file("Setting.csv"); }

    // A sample file of exactly size bytes.
    static void sample(const std::string& name, size_t size) { WriteFileBytes(file(name), std::string(size, '\0')); }

    static bool quitRequested()
    {
        MSG msg;
        return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    }

    static void expectWarning(const SeenBox& box, const char* text)
    {
        EXPECT_EQ(box.text, text) << "box says " << utf8(box.text) << ", expected " << utf8(text);
        EXPECT_EQ(box.caption, kCaption) << "caption " << utf8(box.caption);
        EXPECT_TRUE(box.styleKnown) << "the box was not shown through MessageBoxA";
        EXPECT_EQ(box.style, static_cast<UINT>(MB_TOPMOST | MB_ICONWARNING)) << "a topmost warning box";
        EXPECT_EQ(box.icon, LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_WARNING)))
            << "a warning icon was shown";
        EXPECT_TRUE(box.hasOk) << "an OK button alone was expected";
        EXPECT_FALSE(box.hasCancel) << "an OK button alone was expected";
        EXPECT_EQ(box.owner, nullptr) << "the box has no owner";
    }
};

}  // namespace

TEST_F(SettingsFile, MissingFileSaysSoAndKeepsTheTable)
{
    soundSlots[3].keyCode = 0x41;
    slotCount = 7;
    BoxWatch boxes;
    EXPECT_EQ(loadSettings(), SettingsLoad::Missing) << "a missing file is told apart";
    ASSERT_TRUE(boxes.waitFor(1));
    ASSERT_EQ(boxes.seen().size(), 1u);
    expectWarning(boxes.seen()[0], "設定ファイルが読み込めません");
    EXPECT_EQ(soundSlots[3].keyCode, 0x41) << "the table is left as it was";
    EXPECT_EQ(slotCount, 7);
    EXPECT_FALSE(quitRequested()) << "a missing file alone asks for no quit";
    EXPECT_FALSE(FileExists(settings())) << "nothing is written";
}

TEST_F(SettingsFile, ReadRenumbersAndNormalisesTheFile)
{
    sample("a.wav", 44);
    sample("b.wav", 4000000);
    WriteFileBytes(settings(), "48000,,,,\r\n65535,,,,\r\n"
                               "sounds\\a.wav,4D,90,100,DR_HIHAT_CLOSE\r\n"
                               "sounds\\b.wav,,bb,,120,1,DR_SPLASH\r\n"
                               "\r\nsounds\\c.wav,43,1,1,DR_RIM\r\n");
    BoxWatch boxes;
    EXPECT_EQ(loadSettings(), SettingsLoad::Read);
    Sleep(200);
    EXPECT_TRUE(boxes.seen().empty()) << "a good file shows nothing; first box: "
                                      << (boxes.seen().empty() ? "" : utf8(boxes.seen()[0].text));
    EXPECT_EQ(slotCount, 2);
    EXPECT_EQ(sampleRate, 48000u);
    EXPECT_EQ(masterVolume, 65535u);
    EXPECT_EQ(soundSlots[1].slotIndex, 1);
    EXPECT_EQ(soundSlots[1].keyCode, 0xBB);
    EXPECT_EQ(soundSlots[1].partId, 17);
    EXPECT_FALSE(quitRequested()) << "a good file asks for no quit";
    EXPECT_EQ(ReadFileBytes(settings()), "48000\r\n65535\r\n"
                                         "sounds\\a.wav,4d,90,100,DR_HIHAT_CLOSE\r\n"
                                         "sounds\\b.wav,bb,120,1,DR_SPLASH\r\n"
                                         "\r\nsounds\\c.wav,43,1,1,DR_RIM\r\n")
        << "the read rewrites the rows in their normal form, and keeps what follows a blank line";
    saveSettings();
    EXPECT_NE(ReadFileBytes(settings()).find("\r\n\r\nsounds\\c.wav,43,1,1,DR_RIM\r\n"), std::string::npos)
        << "and so does every later write";
    EXPECT_FALSE(FileExists(settings() + ".new")) << "no temporary file is left behind";
}

TEST_F(SettingsFile, EveryBadRowGetsItsOwnMessageInOrder)
{
    sample("ok.wav", 4000000);
    sample("big.wav", 4000001);
    const std::string text = "44100,,,,\r\n4294967295,,,,\r\n"
                             "sounds\\ok.wav,41,128,128,DR_SNARE1\r\n"
                             "sounds\\ok.wav,42,128,128,DR_TIMPANI\r\n"
                             "sounds\\missing.wav,43,128,128,DR_SNARE1\r\n"
                             "sounds\\big.wav,44,128,128,DR_BASS1\r\n";
    WriteFileBytes(settings(), text);
    BoxWatch boxes;
    EXPECT_EQ(loadSettings(), SettingsLoad::Read) << "bad rows still count as a read";
    ASSERT_TRUE(boxes.waitFor(3)) << "three messages were expected, saw " << boxes.seen().size();
    Sleep(300);
    std::vector<SeenBox> seen = boxes.seen();
    ASSERT_EQ(seen.size(), 3u) << "no size message follows a missing sample";
    // First what the reading finds, then the sample files in row order.
    expectWarning(seen[0], "3行目のドラム名が不正です");
    expectWarning(seen[1], "4行目のファイル名が読み込めません");
    expectWarning(seen[2], "5行目 4MB以上のファイルは読み込めません");
    EXPECT_EQ(slotCount, 4);
    EXPECT_EQ(soundSlots[1].partId, 0) << "an unknown drum part keeps part 0";
    EXPECT_TRUE(quitRequested()) << "bad rows end the program";
    EXPECT_EQ(ReadFileBytes(settings()), "44100\r\n4294967295\r\n"
                                         "sounds\\ok.wav,41,128,128,DR_SNARE1\r\n"
                                         "sounds\\ok.wav,42,128,128,DR_TIMPANI\r\n"
                                         "sounds\\missing.wav,43,128,128,DR_SNARE1\r\n"
                                         "sounds\\big.wav,44,128,128,DR_BASS1\r\n")
        << "the file is still rewritten, every row kept";
}

TEST_F(SettingsFile, RowsTheTableCannotHoldExactlyLeaveTheFileAsItWas)
{
    sample("ok.wav", 44);
    const struct {
        const char* row;
        const char* message;
        int slots;
    } cases[] = {
        {"sounds\\ok.wav,42,128\r\n", "3行目の項目が足りません", 2},
        {"sounds\\ok.wav,42,128,128,DR_RIM,x\r\n", "3行目の項目が多すぎます", 2},
        {"sounds\\ok.wav,42,0,128,DR_RIM\r\n", "3行目の音量は1から255で指定してください", 3},
    };
    for (const auto& c : cases) {
        const std::string text = std::string("44100\r\n4294967295\r\n"
                                             "sounds\\ok.wav,41,128,128,DR_SNARE1\r\n")
                                 + c.row + "sounds\\ok.wav,43,128,128,DR_SNARE1\r\n";
        WriteFileBytes(settings(), text);
        BoxWatch boxes;
        EXPECT_EQ(loadSettings(), SettingsLoad::Read);
        ASSERT_TRUE(boxes.waitFor(1));
        expectWarning(boxes.seen()[0], c.message);
        EXPECT_EQ(slotCount, c.slots) << "the rows around the bad one are read";
        EXPECT_TRUE(quitRequested());
        EXPECT_EQ(ReadFileBytes(settings()), text) << "the file keeps " << c.row;
    }
}

TEST_F(SettingsFile, SaveWritesEveryBoundEntry)
{
    std::strcpy(soundSlots[0].path, "sounds\\x.wav");
    soundSlots[0].keyCode = 0x20;
    soundSlots[0].volume = 128;
    soundSlots[0].pan = 127;
    std::strcpy(soundSlots[0].partName, "DR_BASS1");
    std::strcpy(soundSlots[2].path, "sounds\\y.wav");
    soundSlots[2].keyCode = 0xBC;
    soundSlots[2].volume = 1;
    soundSlots[2].pan = 255;
    std::strcpy(soundSlots[2].partName, "DR_NOSUCH");
    sampleRate = 32000;
    masterVolume = 0x80008000u;
    WriteFileBytes(settings(), "old contents");
    BoxWatch boxes;
    saveSettings();
    EXPECT_EQ(ReadFileBytes(settings()), "32000\r\n2147516416\r\n"
                                         "sounds\\x.wav,20,128,127,DR_BASS1\r\n"
                                         "sounds\\y.wav,bc,1,255,DR_NOSUCH\r\n");
    EXPECT_TRUE(boxes.seen().empty());
    EXPECT_FALSE(quitRequested());
}

TEST_F(SettingsFile, AFileInItsNormalFormIsNotWrittenAndAReadOnlyOneIsToldNotReplaced)
{
    sample("ok.wav", 44);
    const std::string normal = "44100\r\n4294967295\r\nsounds\\ok.wav,41,128,128,DR_SNARE1\r\n";
    WriteFileBytes(settings(), normal);
    FILETIME longAgo = {0, 0x01D00000};
    HANDLE h = CreateFileA(settings().c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &longAgo);
    CloseHandle(h);
    BoxWatch boxes;
    EXPECT_EQ(loadSettings(), SettingsLoad::Read);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(settings().c_str(), GetFileExInfoStandard, &data);
    EXPECT_EQ(data.ftLastWriteTime.dwHighDateTime, longAgo.dwHighDateTime) << "the read wrote the file";
    SetFileAttributesA(settings().c_str(), FILE_ATTRIBUTE_READONLY);
    soundSlots[0].keyCode = 0x42;
    saveSettings();
    ASSERT_TRUE(boxes.waitFor(1));
    expectWarning(boxes.seen()[0], "出力設定ファイルが開けません\n"
                                   "アクセスが拒否されました(読み取り専用か、保護されたフォルダーです)。");
    EXPECT_TRUE(quitRequested()) << "a failed save ends the program";
    EXPECT_EQ(ReadFileBytes(settings()), normal) << "the old file stays as it was";
    SetFileAttributesA(settings().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SettingsFile, SaveWithoutTheSoundsFolderSaysSo)
{
    RemoveTree(folder());
    BoxWatch boxes;
    saveSettings();
    ASSERT_TRUE(boxes.waitFor(1));
    expectWarning(boxes.seen()[0], "出力設定ファイルが開けません\nファイルかフォルダーが見つかりません。");
    EXPECT_TRUE(quitRequested());
}
