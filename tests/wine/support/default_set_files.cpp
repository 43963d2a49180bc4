#include "support/default_set_files.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>

#include "support/test_folder.h"

const char* const kDefaultSampleNames[23] = {
    "bass2",  "china1", "china2", "crash1", "crash2", "HHclose1", "HHclose2", "HHopen",
    "ride",   "ride_h", "rim",    "snr1",   "snr2",   "snr3",     "snr4",     "splash",
    "tam1e",  "tam2e",  "tam3e",  "tamh2",  "taml2",  "tamm2",    "cowbell",
};

namespace {

uint64_t fnv1a(const std::string& bytes)
{
    uint64_t h = 0xcbf29ce484222325u;
    for (unsigned char c : bytes)
        h = (h ^ c) * 0x100000001b3u;
    return h;
}

int filesIn(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &found);
    int files = 0;
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    do
        files += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    while (FindNextFileA(find, &found));
    FindClose(find);
    return files;
}

}  // namespace

void ExpectDefaultSet(const std::string& programFolder, DefaultSetState state)
{
    const std::string res = FromUnixPath(POKOPON_SOURCE_DIR "/res/");
    const std::string sounds = programFolder + "sounds\\";
    for (const char* name : kDefaultSampleNames) {
        std::string expected = ReadFileBytes(res + "sounds\\" + name + ".wav");
        ASSERT_GT(expected.size(), 44u) << "the source tree lacks " << name;
        EXPECT_TRUE(ReadFileBytes(sounds + name + ".wav") == expected)
            << name << ".wav differs from the carried sample";
    }
    EXPECT_EQ(filesIn(sounds), 24) << "the settings file and the 23 samples, nothing else";
    // The settings text the program carries (1258 bytes), and after one read
    // has dropped the four empty fields after each header number (1250).
    std::string csv = ReadFileBytes(sounds + "Setting.csv");
    bool normalised = state == DefaultSetState::Normalised;
    EXPECT_EQ(csv.size(), normalised ? 1250u : 1258u);
    EXPECT_EQ(fnv1a(csv), normalised ? 0x8e207b90b740c9c9u : 0xcfecd63242f43f89u)
        << "Setting.csv differs from the default settings: " << csv.substr(0, 64);
}
