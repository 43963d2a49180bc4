// The playback-rate menu: its command ids and the output rate of each.
#pragma once

#include <cstdint>

constexpr int kRateCommandFirst = 32808;  // "-3"
constexpr int kRateMenuStart = 32811;     // "44100Hz", checked when the window is made
constexpr int kRateCommandLast = 32814;   // "+3"

// The output rate in Hz for a rate command, or 0 for any other id.
constexpr int32_t rateOfCommand(int id)
{
    constexpr int32_t rates[] = {32000, 36000, 40000, 44100, 48000, 52000, 56000};
    return id >= kRateCommandFirst && id <= kRateCommandLast ? rates[id - kRateCommandFirst] : 0;
}
