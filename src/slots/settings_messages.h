// The texts that reading and writing Setting.csv shows the user.
#pragma once

#include <string>

#include "slots/settings_text.h"

extern const char kMsgSettingsUnreadable[];   // the file cannot be opened for reading
extern const char kMsgSettingsUnwritable[];   // the file cannot be written
extern const char kMsgSampleUnreadable[];     // "%d": the row's line number
extern const char kMsgSampleTooLarge[];       // "%d": the row's line number
extern const char kMsgSampleNotLocal[];       // "%d": a network path or a device
extern const char kMsgChangedOutside[];       // written by another program since it was read

// The message for one reported row, with its line number filled in.
std::string rowMessage(const RowReport& report);
// A "%d" message text with the line number filled in.
std::string lineMessage(const char* format, int line);
