// Centring arithmetic, free of the platform.
#pragma once

// Origin that centres size within screen, never negative.
constexpr int centredOrigin(int screen, int size)
{
    int origin = (screen - size) / 2;
    return origin < 0 ? 0 : origin;
}
