#include "audio/gain_table.h"

#include <algorithm>
#include <cmath>

void buildGainTables(GainTables* t)
{
    for (int i = 0; i < kGainSteps; ++i)
        t->volume[i] = std::pow(10.0, (i - kUnityGain) / 128.0);
    for (int i = 0; i <= kUnityGain; ++i) {
        t->panLeft[i] = 1.0;
        t->panRight[i] = t->volume[i];
    }
    // Both halves write the centre; 1 / volume[127] leaves it at (1.0, 1.0).
    for (int i = kUnityGain; i < kGainSteps; ++i) {
        t->panLeft[i] = 1.0 / t->volume[i];
        t->panRight[i] = 1.0;
    }
}

int gainIndex(int32_t value)
{
    return std::clamp(value, 0, kGainSteps - 1);
}
