// Why a sample file gives no sound, in the player's words.
#pragma once

#include <string>

#include "audio/wav_chunks.h"

// One line, without a full stop.
std::string sampleRefusalText(WavProblem problem);
