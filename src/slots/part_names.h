// The drum parts of the kit: fixed names and numbers (partId).
#pragma once

enum DrumPart {
    DR_CLASH = 0,
    DR_HIHAT_CLOSE,
    DR_HIHAT_OPEN,
    DR_BASS1,
    DR_SNARE1,
    DR_SNARE2,
    DR_TAMH,
    DR_TAMM,
    DR_TAML,
    DR_RIDE,
    DR_RIDEH,
    DR_CHINA,
    DR_RIM,
    DR_CLASHL,
    DR_COWBELL,
    DR_SNARE3,
    DR_SNARE4,
    DR_SPLASH,
};

constexpr int kDrumPartTableSize = 60;
constexpr int kNamedDrumParts = 18;

// Entries 18..59 have no name at all (null).
extern const char* const drumPartNames[kDrumPartTableSize];

// The partId whose name equals name byte for byte, or -1.
int findDrumPart(const char* name);
