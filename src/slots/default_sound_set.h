// The default Setting.csv and samples that the program carries.
#pragma once

// Writes the embedded settings file and the 23 samples into sounds\ of the
// current directory, replacing files of the same names.
void writeDefaultSoundSet();
// Writes one embedded item to a file; false when it was not written whole.
bool writeResourceToFile(const char* path, int id, const char* type);
