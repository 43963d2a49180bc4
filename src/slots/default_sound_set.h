// The default Setting.csv and samples that the program carries.
#pragma once

// Writes the embedded settings file and the 23 samples into sounds\ of the
// current directory; files of the same names are kept as they are.
void writeDefaultSoundSet();
// Writes one embedded item to a new file; false when it was not written whole
// or the file exists.
bool writeResourceToFile(const char* path, int id, const char* type);
