#pragma once

#include <windows.h>

class AudioEngine;

// The playback-rate half of the menu update: for a rate command, moves the
// check mark to it and re-opens the engine's channels at its rate. Other ids
// are left alone.
void updateRateMenu(HMENU menu, int id, AudioEngine* engine);
