#include "slots/part_names.h"

#include <cstring>

const char* const drumPartNames[kDrumPartTableSize] = {
    "DR_CLASH",  "DR_HIHAT_CLOSE", "DR_HIHAT_OPEN", "DR_BASS1",  "DR_SNARE1", "DR_SNARE2",
    "DR_TAMH",   "DR_TAMM",        "DR_TAML",       "DR_RIDE",   "DR_RIDEH",  "DR_CHINA",
    "DR_RIM",    "DR_CLASHL",      "DR_COWBELL",    "DR_SNARE3", "DR_SNARE4", "DR_SPLASH",
};

int findDrumPart(const char* name)
{
    for (int i = 0; i < kDrumPartTableSize; ++i)
        if (drumPartNames[i] && std::strcmp(drumPartNames[i], name) == 0)
            return i;
    return -1;
}
