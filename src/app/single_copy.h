// One copy of the program per program folder: two would each write the one
// Setting.csv from their own table and undo each other's edits.
#pragma once

// True when this is the only copy running from its folder; the claim lasts
// until the process ends. Otherwise the copy already running is brought to
// the front, and false tells the caller to end.
bool ClaimProgramFolder();
