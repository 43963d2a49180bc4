// Rendering the longest take the recorder makes (500,000 steps, 2,000 s) with
// the default set: a hit every 16 ms through every bound key. Prints the
// render's speed, and the render written to a file, beside plain copies of
// the same bytes in the same blocks, in memory and to a file, as floors, each as times real time,
// and the process's peak memory beside the size of the output, which is
// never held whole. Built natively and for Windows, run under Wine.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#else
#include <sys/resource.h>
#include <time.h>
#endif

#include "audio/gain_table.h"
#include "audio/sample_bake.h"
#include "audio/wav_decode.h"
#include "audio/engine_form.h"
#include "export/performance_render.h"
#include "keylog/performance_format.h"
#include "slots/settings_text.h"

namespace {

constexpr uint32_t kBlockFrames = 65536;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

double peakMegabytes()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters = {};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PeakWorkingSetSize / 1e6;
#else
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1e3;
#endif
}

struct DefaultSet {
    SoundSlot table[kSlotTableSize] = {};
    int32_t count = 0;
    uint8_t* data[kSlotTableSize] = {};
    RenderSample samples[kSlotTableSize] = {};
};

// The default set as the engine holds it: each file decoded and its gains baked in.
void loadDefaultSet(DefaultSet* set)
{
    const std::string res = POKOPON_SOURCE_DIR "/res/";
    set->count = parseSettings(readFile(res + "Setting.csv"), set->table).slotCount;
    GainTables gains;
    buildGainTables(&gains);
    for (int i = 0; i < set->count; ++i) {
        std::string path = set->table[i].path;
        std::replace(path.begin(), path.end(), '\\', '/');
        std::string bytes = readFile(res + path);
        auto* file = static_cast<uint8_t*>(std::malloc(bytes.size()));
        std::memcpy(file, bytes.data(), bytes.size());
        uint32_t length = 0;
        decodeWavFile(file, bytes.size(), nullptr, kSlotBytes, &set->data[i], &length);
        bakeSamples(set->data[i], length, gains.volume[gainIndex(set->table[i].volume)],
                    gains.panLeft[gainIndex(set->table[i].pan)], gains.panRight[gainIndex(set->table[i].pan)]);
        set->samples[set->table[i].slotIndex] = {reinterpret_cast<const int16_t*>(set->data[i]), length / 4};
    }
}

std::vector<PerformanceRecord> longestTake(const DefaultSet& set)
{
    std::vector<PerformanceRecord> records(kMaxRecords, PerformanceRecord{0, 0});
    int bound = std::min(set.count, kKeyDownSlots);
    for (uint32_t step = 0, k = 0; step + 1 < kMaxRecords; step += 4, ++k) {
        uint8_t key = set.table[k % bound].keyCode;
        records[step].down = key;
        records[step + 1].up = key;
    }
    return records;
}

// A steady clock in seconds (<chrono> does not compile with the Shift-JIS literals).
double now()
{
#ifdef _WIN32
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) / frequency.QuadPart;
#else
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
#endif
}

}  // namespace

int main()
{
    DefaultSet set;
    loadDefaultSet(&set);
    std::vector<PerformanceRecord> take = longestTake(set);
    const double takeSeconds = kMaxRecords * kStepMs / 1000.0;
    std::vector<int16_t> block(2 * kBlockFrames), copy(2 * kBlockFrames);

    auto render = [&](std::FILE* out) {
        PerformanceRender r(set.table, set.count, set.samples, 44100, 0xFFFFFFFF, take.data(), kMaxRecords);
        while (uint32_t n = r.mix(block.data(), kBlockFrames)) {
            uint32_t more;
            while (n < kBlockFrames && (more = r.mix(block.data() + 2 * n, kBlockFrames - n)))
                n += more;
            if (out)
                std::fwrite(block.data(), 4, n, out);
        }
        return r.frames();
    };

    double start = now();
    const uint64_t frames = render(nullptr);
    const double rendered = now() - start;

    const std::string path = "export_bench.raw";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    start = now();
    render(out);
    std::fclose(out);
    const double written = now() - start;

    // The floors: the same bytes in the same blocks, copied in memory, and
    // written to a file.
    start = now();
    for (uint64_t done = 0; done < frames; done += kBlockFrames) {
        std::memcpy(copy.data(), block.data(), 4 * std::min<uint64_t>(kBlockFrames, frames - done));
        block[0] ^= copy[1];
    }
    const double copied = now() - start;
    out = std::fopen(path.c_str(), "wb");
    start = now();
    for (uint64_t done = 0; done < frames; done += kBlockFrames)
        std::fwrite(block.data(), 4, std::min<uint64_t>(kBlockFrames, frames - done), out);
    std::fclose(out);
    const double copiedToFile = now() - start;
    std::remove(path.c_str());

    const double output = frames * 4 / 1e6;
    std::printf("export: a take of %u steps (%.0f s), a hit every 16 ms through %d keys, %.1f s of sound, %.0f MB\n",
                kMaxRecords, takeSeconds, std::min(set.count, kKeyDownSlots), frames / 44100.0, output);
    std::printf("  %-36s %8.3f s  %7.0fx real time (at least 200x)\n", "render", rendered, takeSeconds / rendered);
    std::printf("  %-36s %8.3f s  %7.0fx real time\n", "render and write to a file", written, takeSeconds / written);
    std::printf("  %-36s %8.3f s  %7.0fx real time\n", "floor: the bytes copied", copied, takeSeconds / copied);
    std::printf("  %-36s %8.3f s  %7.0fx real time\n", "floor: the bytes written to a file", copiedToFile,
                takeSeconds / copiedToFile);
    std::printf("  peak memory %.0f MB, for an output of %.0f MB\n", peakMegabytes(), output);
    return 0;
}
