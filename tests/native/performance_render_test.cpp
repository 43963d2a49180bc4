#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "export/performance_render.h"
#include "slots/part_names.h"

namespace {

struct Key {
    uint32_t step;
    uint8_t down;
    uint8_t up;
};
struct Probe {
    uint64_t frame;
    int16_t left;
    int16_t right;
};
struct RenderCase {
    const char* name;
    std::vector<Key> keys;
    uint32_t rate;
    uint32_t volume;
    size_t sounding;  // hits on a voice
    size_t dropped;   // hits without one
    uint64_t frames;
    uint64_t clipped;
    std::vector<Probe> probes;
};

// Constant samples, so that every output frame tells which voices sound.
struct Kit {
    SoundSlot table[kSlotTableSize] = {};
    std::vector<int16_t> data[kSlotTableSize];
    RenderSample samples[kSlotTableSize] = {};
    void bind(int i, uint8_t key, int part, uint32_t frames, int16_t left, int16_t right)
    {
        table[i].keyCode = key;
        table[i].partId = part;
        table[i].slotIndex = i;
        data[i].clear();
        for (uint32_t f = 0; f < frames; ++f)
            data[i].insert(data[i].end(), {left, right});
        samples[i] = {data[i].data(), frames};
    }
};

}  // namespace

// The key path's rules, the voices and the mix, one performance a case.
TEST(PerformanceRender, PlaysATakeAsTheKeyPathDoes)
{
    Kit kit;
    kit.bind(0, 'A', DR_BASS1, 100, 1000, -1000);
    kit.bind(1, 'L', DR_CLASH, 100000, 1000, 1000);
    kit.bind(2, 'O', DR_HIHAT_OPEN, 2000, 300, 300);
    kit.bind(3, 'C', DR_HIHAT_CLOSE, 50, 7, 7);
    kit.bind(4, 'F', DR_SNARE1, 1000, 30000, -30000);
    kit.bind(57, 'Q', DR_SNARE2, 100, 5, 5);
    std::vector<Key> crowd;
    for (uint32_t k = 0; k < 33; ++k)
        crowd.insert(crowd.end(), {{2 * k, 'L', 0}, {2 * k + 1, 0, 'L'}});
    crowd.push_back({600, 'L', 0});

    const RenderCase cases[] = {
        {"a held key's repeats sound nothing, also past an unbound key",
         {{0, 'A', 0}, {1, 'A', 0}, {2, 'Q', 0}, {3, 'A', 0}, {4, 0, 'A'}, {6, 'A', 0}}, 44100, 0xFFFFFFFF, 2, 0,
         1058 + 100, 0, {{10, 1000, -1000}, {200, 0, 0}, {1058, 1000, -1000}}},
        {"entries 56 to 59 never sound", {{0, 'Q', 0}}, 44100, 0xFFFFFFFF, 0, 0, 0, 0, {}},
        {"the 33rd voice at once is dropped, and a voice that ended is free again", crowd, 44100, 0xFFFFFFFF, 33, 1,
         105840 + 100000, 0, {{11290, 32000, 32000}, {105839, 15000, 15000}, {105840, 16000, 16000}}},
        {"a closed hi-hat cuts the open one at its own instant", {{0, 'O', 0}, {10, 'C', 0}}, 44100, 0xFFFFFFFF, 2, 0,
         1764 + 50, 0, {{1763, 300, 300}, {1764, 7, 7}, {1813, 7, 7}}},
        {"32000 Hz keeps the 4 ms grid at the slower rate", {{5, 'A', 0}}, 32000, 0xFFFFFFFF, 1, 0, 640 + 100, 0,
         {{639, 0, 0}, {640, 1000, -1000}}},
        {"the master volume scales each side", {{0, 'A', 0}}, 44100, 0xFFFF4000, 1, 0, 100, 0, {{0, 250, -1000}}},
        {"two loud hits saturate and are counted", {{0, 'F', 0}, {1, 0, 'F'}, {2, 'F', 0}}, 44100, 0xFFFFFFFF, 2, 0,
         353 + 1000, 2 * 647, {{352, 30000, -30000}, {400, 32767, -32768}, {1000, 30000, -30000}}},
    };
    for (const RenderCase& c : cases) {
        std::vector<PerformanceRecord> records;
        for (const Key& k : c.keys) {
            records.resize(std::max<size_t>(records.size(), k.step + 1));
            records[k.step] = {k.down ? k.down : records[k.step].down, k.up ? k.up : records[k.step].up};
        }
        PerformanceRender render(kit.table, 58, kit.samples, c.rate, c.volume, records.data(),
                                 static_cast<uint32_t>(records.size()));
        size_t sounding = 0, dropped = 0;
        for (const RenderHit& hit : render.hits())
            ++(hit.voice >= 0 ? sounding : dropped);
        EXPECT_EQ(sounding, c.sounding) << c.name;
        EXPECT_EQ(dropped, c.dropped) << c.name;
        EXPECT_EQ(render.frames(), c.frames) << c.name;
        std::vector<int16_t> out(2 * render.frames() + 2);
        uint64_t made = 0;
        while (uint32_t n = render.mix(out.data() + 2 * made, 1000))
            made += n;
        EXPECT_EQ(made, c.frames) << c.name;
        EXPECT_EQ(render.clipped(), c.clipped) << c.name;
        for (const Probe& p : c.probes) {
            EXPECT_EQ(out[2 * p.frame], p.left) << c.name << ", left at frame " << p.frame;
            EXPECT_EQ(out[2 * p.frame + 1], p.right) << c.name << ", right at frame " << p.frame;
        }
    }
}
