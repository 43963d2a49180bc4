// A rendered performance as a Standard MIDI File: one track on channel 10,
// the General MIDI percussion note of each hit's drum part, 1 ms a tick.
#pragma once

#include <string>
#include <vector>

#include "export/performance_render.h"

// The General MIDI percussion note of a drum part, or -1 for a part without one.
int percussionNote(int32_t partId);
// The note-on velocity of a slot's volume: 127 times the square root of its
// gain, so that a synthesizer with the General MIDI square law plays a hit
// at the slot's own level. Slots louder than as recorded are 127.
int noteVelocity(int32_t volume);

// The whole file: every hit, dropped ones included, as a note-on at its
// step and a note-off at its key's release.
std::string midiFileBytes(const std::vector<RenderHit>& hits, const SoundSlot* table);
