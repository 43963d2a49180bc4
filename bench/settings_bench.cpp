// How long reading and writing Setting.csv takes, natively: one full table of
// 60 rows as the program reads it at start-up and after every change.
#include <benchmark/benchmark.h>

#include <string>

#include "slots/settings_text.h"

namespace {

std::string fullFile()
{
    std::string text = "44100\r\n4294967295\r\n";
    for (int i = 0; i < kSlotTableSize; ++i)
        text += "sounds\\sample" + std::to_string(i) + ".wav," + std::to_string(41 + i % 26) + ",108,128,DR_SNARE1\r\n";
    return text;
}

void BM_ReadFullFile(benchmark::State& state)
{
    static SoundSlot table[kSlotTableSize];
    const std::string text = fullFile();
    for (auto _ : state) {
        SettingsRead read = parseSettings(text, table);
        benchmark::DoNotOptimize(read.slotCount);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadFullFile);

void BM_WriteFullTable(benchmark::State& state)
{
    static SoundSlot table[kSlotTableSize];
    parseSettings(fullFile(), table);
    for (auto _ : state) {
        std::string text = formatSettings(table, 44100, 0xFFFFFFFFu);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_WriteFullTable);

}  // namespace

BENCHMARK_MAIN();
