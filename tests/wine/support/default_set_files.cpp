#include "support/default_set_files.h"

#include <gtest/gtest.h>

#include "support/test_folder.h"

const char* const kDefaultSampleNames[23] = {
    "bass2",  "china1", "china2", "crash1", "crash2", "HHclose1", "HHclose2", "HHopen",
    "ride",   "ride_h", "rim",    "snr1",   "snr2",   "snr3",     "snr4",     "splash",
    "tam1e",  "tam2e",  "tam3e",  "tamh2",  "taml2",  "tamm2",    "cowbell",
};

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
    std::string csv = ReadFileBytes(res + "Setting.csv");
    ASSERT_EQ(csv.size(), 1258u);
    if (state == DefaultSetState::Normalised) {
        // One read drops the four empty fields after each header number.
        csv.replace(csv.find("44100,,,,"), 9, "44100");
        csv.replace(csv.find("4294967295,,,,"), 14, "4294967295");
    }
    EXPECT_EQ(ReadFileBytes(sounds + "Setting.csv"), csv);
}
