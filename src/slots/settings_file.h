// Reading and writing sounds\Setting.csv in the program's folder.
#pragma once

enum class SettingsLoad {
    Read,        // read, even if rows were bad
    Missing,     // there is no such file (or no sounds folder)
    Unreadable,  // it exists but cannot be read: held by another program, denied
};
// Reads the file into the sound slot table and checks every sample. A file
// that was not read leaves the table as it was, and says why. The program
// writes the file back in its normal form (mayRewrite); a reader of it alone,
// such as the exporter, leaves it as it is.
SettingsLoad loadSettings(bool mayRewrite = true);
// Writes the table back; on failure says why and requests the quit.
void saveSettings();
// Before a change of the table: when the file is no longer what this program
// last read or wrote (a text editor wrote it since), says so and reads it
// again, so that the change is made to the file as it is now. False when that
// read left rows or values out of the table: the change must not be written
// over them.
bool rereadIfChangedOutside();
