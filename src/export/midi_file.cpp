#include "export/midi_file.h"

#include <algorithm>
#include <cmath>

#include "audio/gain_table.h"
#include "keylog/performance_format.h"
#include "slots/part_names.h"

namespace {

constexpr int kTicksPerQuarter = 500;
constexpr uint32_t kMicrosecondsPerQuarter = 500000;  // with 500 ticks, 1 ms a tick
constexpr uint8_t kNoteOn = 0x99;                      // channel 10, the percussion channel
constexpr uint8_t kNoteOff = 0x89;

struct NoteEvent {
    uint64_t ms;
    // At one instant: notes that end first, then notes that start, then
    // notes that end as they start (a key let go within its own step).
    int order;
    uint8_t status;
    uint8_t note;
    uint8_t velocity;
};

void putBe(std::string& out, uint32_t value, int bytes)
{
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8)
        out += static_cast<char>(value >> shift & 0xFF);
}

void putVarLength(std::string& out, uint64_t value)
{
    char bytes[10];
    int n = 0;
    do {
        bytes[n++] = static_cast<char>(value & 0x7F);
        value >>= 7;
    } while (value);
    while (n-- > 0)
        out += static_cast<char>(bytes[n] | (n ? 0x80 : 0));
}

}  // namespace

int percussionNote(int32_t partId)
{
    static const int notes[kNamedDrumParts] = {
        49,  // DR_CLASH: crash cymbal 1
        42,  // DR_HIHAT_CLOSE
        46,  // DR_HIHAT_OPEN
        36,  // DR_BASS1: bass drum 1
        38,  // DR_SNARE1: acoustic snare
        40,  // DR_SNARE2: electric snare
        50,  // DR_TAMH: high tom
        47,  // DR_TAMM: low-mid tom
        43,  // DR_TAML: high floor tom
        51,  // DR_RIDE: ride cymbal 1
        53,  // DR_RIDEH: ride bell
        52,  // DR_CHINA: Chinese cymbal
        37,  // DR_RIM: side stick
        57,  // DR_CLASHL: crash cymbal 2
        56,  // DR_COWBELL
        38,  // DR_SNARE3: acoustic snare
        40,  // DR_SNARE4: electric snare
        55,  // DR_SPLASH: splash cymbal
    };
    return partId >= 0 && partId < kNamedDrumParts ? notes[partId] : -1;
}

int noteVelocity(int32_t volume)
{
    GainTables gains;
    buildGainTables(&gains);
    double gain = std::min(1.0, gains.volume[gainIndex(volume)]);
    return std::clamp(static_cast<int>(std::lround(127 * std::sqrt(gain))), 1, 127);
}

std::string midiFileBytes(const std::vector<RenderHit>& hits, const SoundSlot* table)
{
    int velocities[kGainSteps];
    for (int v = 0; v < kGainSteps; ++v)
        velocities[v] = noteVelocity(v);
    std::vector<NoteEvent> events;
    events.reserve(2 * hits.size());
    for (const RenderHit& hit : hits) {
        const SoundSlot& slot = table[hit.slot];
        int note = percussionNote(slot.partId);
        if (note < 0)
            continue;
        uint64_t on = uint64_t{hit.step} * kStepMs, off = uint64_t{hit.releaseStep} * kStepMs;
        auto key = static_cast<uint8_t>(note);
        events.push_back({on, 1, kNoteOn, key, static_cast<uint8_t>(velocities[gainIndex(slot.volume)])});
        events.push_back({off, off == on ? 2 : 0, kNoteOff, key, 0});
    }
    std::stable_sort(events.begin(), events.end(), [](const NoteEvent& a, const NoteEvent& b) {
        return a.ms != b.ms ? a.ms < b.ms : a.order < b.order;
    });

    std::string track;
    track += std::string("\x00\xFF\x51\x03", 4);  // the tempo that makes a tick 1 ms
    putBe(track, kMicrosecondsPerQuarter, 3);
    uint64_t now = 0;
    for (const NoteEvent& e : events) {
        putVarLength(track, e.ms - now);
        now = e.ms;
        track += static_cast<char>(e.status);
        track += static_cast<char>(e.note);
        track += static_cast<char>(e.velocity);
    }
    track += std::string("\x00\xFF\x2F\x00", 4);

    std::string file = "MThd";
    putBe(file, 6, 4);
    putBe(file, 0, 2);  // format 0: one track
    putBe(file, 1, 2);
    putBe(file, kTicksPerQuarter, 2);
    file += "MTrk";
    putBe(file, static_cast<uint32_t>(track.size()), 4);
    return file + track;
}
