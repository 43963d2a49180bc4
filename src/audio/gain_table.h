// The volume and pan gains of a sound slot, one entry for each of the 256
// settings a slot can hold. Built once per engine load, so that baking a
// sample only looks its gains up.
#pragma once

#include <cstdint>

constexpr int kGainSteps = 256;
constexpr int kUnityGain = 127;  // volume 127 plays as recorded, pan 127 is centre

struct GainTables {
    // 10^((i - 127) / 128): ten times louder or quieter every 128 steps, so
    // 255 is x10 and 1 is x0.1037.
    double volume[kGainSteps];
    // The pan only ever lowers the far side, on the same curve as the volume:
    // below 127 the right channel by volume[i], above 127 the left channel by
    // 1 / volume[i]. The near side keeps 1.0.
    double panLeft[kGainSteps];
    double panRight[kGainSteps];
};

void buildGainTables(GainTables* t);

// The table index for a slot's volume or pan. Setting.csv is written by hand
// as often as by the program, and a value outside 0..255 from a damaged file
// must never index outside the tables: it clamps to the nearest end.
int gainIndex(int32_t value);
