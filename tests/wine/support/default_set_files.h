// Checks a program folder's sounds\ against the default set the program carries.
#pragma once

#include <string>

enum class DefaultSetState {
    AsEmbedded,   // Setting.csv exactly as carried
    Normalised,   // Setting.csv after one read: bare header numbers
};

// Names of the 23 default samples.
extern const char* const kDefaultSampleNames[23];

// Checks that programFolder + "sounds\" holds exactly the 24 files of the
// default set: the samples as the source tree's res folder has them, and the
// settings text by its known bytes (gtest expectations).
void ExpectDefaultSet(const std::string& programFolder, DefaultSetState state);
