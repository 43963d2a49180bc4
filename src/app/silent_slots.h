// Telling the player what the engine could not open or lost: the sound
// output, or bound files.
#pragma once

#include "audio/audio_engine.h"

// Has the engines' device failures and losses told in boxes; call it on the
// user-interface thread before the first engine is made.
void prepareDeviceErrorBoxes();
// Tells the user that the sound output cannot be opened at rate, which line
// 1 of the settings file gives.
void reportRefusedRate(uint32_t rate);
// Tells the user when not one channel opened, and why: a rate the device
// refuses (a settings header without a number gives 0 Hz), or no device.
void reportSilentEngine(const AudioEngine& engine);
// One message that lists each slot without a sound in samples, by its key
// and file, and why; nothing when every slot loaded or the program is about
// to quit over its settings anyway. rows picks the slots to look at, one bit
// per slot index. True when the message was shown.
bool reportSilentSlots(const SampleSet& samples, uint64_t rows = ~uint64_t{0});
