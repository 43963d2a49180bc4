// How long baking a slot's volume and pan into its sample data takes, as the
// engine does for every slot at load time: the scalar form, the fast path
// with the kernel it picks here, each other kernel this processor runs, and a
// plain copy of the same buffer for scale. Ends with the fast/scalar ratio.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "audio/gain_table.h"
#include "audio/sample_bake.h"
#include "rate_reporter.h"

namespace {

constexpr uint32_t kBufferBytes = 4000000;  // about 23 s of 44.1 kHz stereo

// A drum hit: noise under a decaying envelope, loud enough at the start for
// volume 128 to reach the clamp.
const std::vector<uint8_t>& drumHit()
{
    static const std::vector<uint8_t> bytes = [] {
        std::vector<uint8_t> b(kBufferBytes);
        uint32_t seed = 12345;
        for (uint32_t i = 0; i + 1 < kBufferBytes; i += 2) {
            seed = seed * 1664525u + 1013904223u;
            double noise = static_cast<int32_t>(seed) / 2147483648.0;
            double envelope = std::exp(-static_cast<double>(i) / (kBufferBytes / 4.0));
            int16_t sample = static_cast<int16_t>(32767.0 * envelope * noise);
            b[i] = static_cast<uint8_t>(static_cast<uint16_t>(sample));
            b[i + 1] = static_cast<uint8_t>(static_cast<uint16_t>(sample) >> 8);
        }
        return b;
    }();
    return bytes;
}

using Bake = void (*)(BakeKernel, uint8_t*, uint32_t, double, double, double);

void scalarForm(BakeKernel, uint8_t* d, uint32_t n, double g, double l, double r) { bakeSamplesScalar(d, n, g, l, r); }
void fastPath(BakeKernel, uint8_t* d, uint32_t n, double g, double l, double r) { bakeSamples(d, n, g, l, r); }

// Every run bakes a fresh copy of the hit at volume 128, pan 128; the copy is
// not timed, and leaves the buffer in the cache as loading a file would.
void bakeBuffer(benchmark::State& state, Bake bake, BakeKernel kernel)
{
    GainTables t;
    buildGainTables(&t);
    std::vector<uint8_t> buffer(kBufferBytes);
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(buffer.data(), drumHit().data(), kBufferBytes);
        state.ResumeTiming();
        bake(kernel, buffer.data(), kBufferBytes, t.volume[128], t.panLeft[128], t.panRight[128]);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBufferBytes);
}

void copyBuffer(benchmark::State& state)
{
    std::vector<uint8_t> buffer(kBufferBytes);
    for (auto _ : state) {
        std::memcpy(buffer.data(), drumHit().data(), kBufferBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kBufferBytes);
}

void printRate(const RateReporter& reporter, const char* name, const char* label)
{
    auto it = reporter.bytesPerSecond.find(name);
    if (it != reporter.bytesPerSecond.end())
        std::printf("%-28s %10.1f MB/s\n", label, it->second / 1e6);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string fastName = std::string("BM_BakeFast/") + bakeKernelName(chosenBakeKernel());
    benchmark::RegisterBenchmark("BM_BakeScalar", bakeBuffer, scalarForm, BakeKernel::Scalar);
    benchmark::RegisterBenchmark(fastName.c_str(), bakeBuffer, fastPath, chosenBakeKernel());
    for (BakeKernel k : {BakeKernel::Sse2, BakeKernel::Sse41, BakeKernel::Avx})
        if (bakeKernelSupported(k) && k != chosenBakeKernel())
            benchmark::RegisterBenchmark((std::string("BM_BakeKernel/") + bakeKernelName(k)).c_str(), bakeBuffer,
                                         bakeSamplesWith, k);
    benchmark::RegisterBenchmark("BM_Memcpy", copyBuffer);

    RateReporter reporter;
    if (!RunBenchmarks(&argc, argv, &reporter))
        return 1;

    std::printf("\nBaking %u bytes at volume 128, pan 128:\n", kBufferBytes);
    printRate(reporter, "BM_BakeScalar", "scalar form");
    printRate(reporter, fastName.c_str(), ("fast path (" + std::string(bakeKernelName(chosenBakeKernel())) + ")").c_str());
    printRate(reporter, "BM_Memcpy", "memcpy");
    auto scalar = reporter.bytesPerSecond.find("BM_BakeScalar");
    auto fast = reporter.bytesPerSecond.find(fastName);
    if (scalar != reporter.bytesPerSecond.end() && fast != reporter.bytesPerSecond.end() && scalar->second > 0)
        std::printf("fast / scalar                %10.2f x\n", fast->second / scalar->second);
    return 0;
}
