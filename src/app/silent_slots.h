// Telling the player which bound files the engine could not load.
#pragma once

#include "audio/audio_engine.h"

// One message that lists each slot the engine holds no sound for, by its
// key and file, and why; nothing when every slot loaded or the program is
// about to quit over its settings anyway.
void reportSilentSlots(const AudioEngine& engine);
