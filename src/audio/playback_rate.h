// The playback-rate menu: the output rate of each of its commands.
#pragma once

#include <cstdint>

#include "res/resource_ids.h"

// The output rate in Hz for a rate command, or 0 for any other id.
constexpr int32_t rateOfCommand(int id)
{
    constexpr int32_t rates[] = {32000, 36000, 40000, 44100, 48000, 52000, 56000};
    return id >= IDM_RATE_MINUS_3 && id <= IDM_RATE_PLUS_3 ? rates[id - IDM_RATE_MINUS_3] : 0;
}
