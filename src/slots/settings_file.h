// Reading and writing sounds\Setting.csv in the program's folder.
#pragma once

// Reads the file into the sound slot table and checks every sample. False
// when the file cannot be opened (the table is then left as it was).
bool loadSettings();
// Writes the table back; on failure says so and requests the quit.
void saveSettings();
