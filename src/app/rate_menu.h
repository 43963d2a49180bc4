// The playback-rate menu: the output rate of each of its commands, and the
// check mark on the rate in use.
#pragma once

#include <windows.h>

#include <cstdint>

#include "res/resource_ids.h"

class AudioEngine;

// The output rate in Hz for a rate command, or 0 for any other id.
constexpr int32_t rateOfCommand(int id)
{
    constexpr int32_t rates[] = {32000, 36000, 40000, 44100, 48000, 52000, 56000};
    return id >= IDM_RATE_MINUS_3 && id <= IDM_RATE_PLUS_3 ? rates[id - IDM_RATE_MINUS_3] : 0;
}

// The playback-rate half of the menu update: for a rate command, moves the
// check mark to it and re-opens the engine's channels at its rate. Other ids
// are left alone.
void updateRateMenu(HMENU menu, int id, AudioEngine* engine);
