// Setting.csv as text: reading it into a slot table and writing a table back.
// No file access here; settings_file.cpp does that.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "slots/sound_slot.h"

// A line holds at most this many bytes before its line end (256-byte line buffer).
constexpr size_t kMaxLineLength = 254;

enum class RowProblem {
    BadPartName,      // name not in the drum-part table; row kept with partId 0
    VolumeRange,      // volume outside 1..255; row kept, value clamped
    PanRange,         // pan outside 1..255; row kept, value clamped
    LineTooLong,      // the rows below cannot be taken into the table
    TooFewFields,
    BadKey,           // 0, above ff, or text after the number
    PartNameTooLong,
    ControlByte,
    TooManyRows,      // the 61st row and the rest of the file
    TooManyFields,    // a sixth field that the table has no place for
    NumberText,       // text after the volume or pan; row kept with the number
    MasterVolume,     // line 1 is not a decimal number in range; full volume used
};

struct RowReport {
    RowProblem problem;
    int line;  // line number counted from 0, as the messages show it
};

struct SettingsRead {
    uint32_t sampleRate = kDefaultSampleRate;
    uint32_t masterVolume = kDefaultMasterVolume;
    int32_t slotCount = 0;
    int lineOf[kSlotTableSize] = {};  // line number of each stored row
    std::vector<RowReport> reports;   // in the order met
    // Set when a row or a value could not be held in the table exactly:
    // writing the table back would lose it, so the file must be left as it is.
    bool keepFile = false;
    // The file from the line that ended the rows on, byte for byte: not read,
    // but written back after the rows so that nothing of it is lost.
    std::string unreadTail;
};

// Clears the whole table, then fills it from the text of Setting.csv.
SettingsRead parseSettings(std::string_view text, SoundSlot* table);

// The file text for a table: the two header numbers, then every entry with a
// key in table order, CR LF line ends, then tail as it stands.
std::string formatSettings(const SoundSlot* table, uint32_t rate, uint32_t volume,
                           std::string_view tail = {});

// Whether the file can hold the slot as a row that reads back the same.
enum class RowFit {
    Fits,
    PathSeparator,  // a comma or line end in the path would split the row
    TooLong,        // longer than the line buffer
};
RowFit settingsRowFit(const SoundSlot& slot);

// Lenient number readers of the file: leading blanks skipped, digits up to the
// first other byte, no digits give 0. whole, when given, tells whether the
// field was read whole: digits, nothing after them but blanks, and a number
// that fits.
uint32_t parseUnsignedSaturating(std::string_view field, bool* whole = nullptr);
int32_t parseSignedClamped(std::string_view field, bool* whole = nullptr);
uint8_t parseKeyCode(std::string_view field, bool* whole = nullptr);  // hexadecimal, optional 0x
