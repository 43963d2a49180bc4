// The embedded default sound set, written into the test program's folder.
#include <gtest/gtest.h>

#include <windows.h>

#include "slots/default_sound_set.h"
#include "slots/settings_file.h"
#include "slots/sound_slot.h"
#include "support/box_watch.h"
#include "support/default_set_files.h"
#include "support/test_folder.h"

namespace {

class DefaultSoundSet : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveTree(folder());
        SetCurrentDirectoryA(ExeFolder().c_str());
    }
    void TearDown() override { RemoveTree(folder()); }
    static std::string folder() { return ExeFolder() + "sounds"; }
};

}  // namespace

TEST_F(DefaultSoundSet, WritesEveryItemByteForByte)
{
    writeDefaultSoundSet();
    ExpectDefaultSet(ExeFolder(), DefaultSetState::AsEmbedded);
}

TEST_F(DefaultSoundSet, ReadBackGivesThe32DefaultRows)
{
    writeDefaultSoundSet();
    BoxWatch boxes;
    EXPECT_EQ(loadSettings(), SettingsLoad::Read);
    Sleep(200);
    EXPECT_TRUE(boxes.seen().empty()) << "the default set reads without a message";
    EXPECT_EQ(slotCount, 32);
    EXPECT_EQ(sampleRate, 44100u);
    EXPECT_EQ(masterVolume, 4294967295u);
    EXPECT_EQ(soundSlots[0].keyCode, 0x20);
    EXPECT_EQ(soundSlots[0].partId, 3) << "Space plays the bass drum";
    EXPECT_EQ(soundSlots[11].pan, 100);
    EXPECT_STREQ(soundSlots[31].path, "sounds\\cowbell.wav");
    EXPECT_EQ(soundSlots[31].partId, 14);
    ExpectDefaultSet(ExeFolder(), DefaultSetState::Normalised);
}

TEST_F(DefaultSoundSet, KeepsTheFilesThatAreThere)
{
    CreateDirectoryA(folder().c_str(), nullptr);
    WriteFileBytes(folder() + "\\snr1.wav", "changed");
    WriteFileBytes(folder() + "\\mine.wav", "my own sample");
    writeDefaultSoundSet();
    EXPECT_EQ(ReadFileBytes(folder() + "\\mine.wav"), "my own sample") << "other files are left alone";
    EXPECT_EQ(ReadFileBytes(folder() + "\\snr1.wav"), "changed") << "and so is a sample of a default name";
    DeleteFileA((folder() + "\\mine.wav").c_str());
    DeleteFileA((folder() + "\\snr1.wav").c_str());
    writeDefaultSoundSet();
    ExpectDefaultSet(ExeFolder(), DefaultSetState::AsEmbedded);
}

TEST(DefaultSoundSetItems, MissingItemWritesNothing)
{
    SetCurrentDirectoryA(ExeFolder().c_str());
    DeleteFileA("absent.bin");
    EXPECT_FALSE(writeResourceToFile("absent.bin", 999, "WAVE")) << "there is no item 999";
    EXPECT_FALSE(FileExists(ExeFolder() + "absent.bin")) << "no empty file is left";
}
