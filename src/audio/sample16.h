// The last step of every conversion to 16-bit samples.
#pragma once

#include <cmath>
#include <cstdint>

// v in 16-bit units, clamped to the 16-bit range; not-a-number reads as 0.
inline double clampSample(double v)
{
    if (v != v)
        return 0.0;
    return v < -32768.0 ? -32768.0 : v > 32767.0 ? 32767.0 : v;
}

// Rounded half up after the clamp, so a loud value saturates instead of wrapping.
inline int16_t roundSample(double v)
{
    return static_cast<int16_t>(std::floor(clampSample(v) + 0.5));
}
