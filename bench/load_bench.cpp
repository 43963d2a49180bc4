// Loading samples with their files already in memory, as the engine does for
// every slot after the read: the default set through the chunk walk against
// the 44-byte skip that loaded it before (each with a copy standing for the
// read, then the bake), and a 4,000,000-byte 24-bit 48 kHz mono file
// converted and resampled, with the resampler alone and a plain copy of the
// same data for scale; then the resampler from each common rate, mono and
// stereo, beside libsoxr's high quality on the same input in the same run,
// and both filters' flatness at the band's edge and rejection.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "audio/engine_form.h"
#include "audio/gain_table.h"
#include "audio/resampler.h"
#include "audio/sample_bake.h"
#include "audio/wav_decode.h"
#include "rate_reporter.h"
#include "wav_bytes.h"

#ifdef POKOPON_HAVE_SOXR
#include <soxr.h>
#endif

namespace {

using Bytes = std::vector<uint8_t>;

const std::vector<Bytes>& defaultSet()
{
    static const std::vector<Bytes> files = [] {
        std::vector<std::filesystem::path> paths;
        for (const auto& entry : std::filesystem::directory_iterator(POKOPON_SOURCE_DIR "/res/sounds"))
            if (entry.path().extension() == ".wav")
                paths.push_back(entry.path());
        std::sort(paths.begin(), paths.end());
        std::vector<Bytes> read;
        for (const auto& path : paths) {
            std::ifstream in(path, std::ios::binary);
            read.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        return read;
    }();
    return files;
}

// 4,000,000 bytes of 24-bit 48 kHz mono: a tone under noise.
const Bytes& deepFile()
{
    static const Bytes file = [] {
        const WavFields fields{.channels = 1, .rate = 48000, .bits = 24};
        std::string data = PcmTone(fields, 440, (4000000 - 44) / 3 / 48000.0, 0.5);
        uint32_t seed = 1;
        for (char& c : data)
            c = static_cast<char>(c ^ ((seed = seed * 1664525u + 1013904223u) >> 29));
        std::string bytes = WavBytes(fields, data);
        return Bytes(bytes.begin(), bytes.end());
    }();
    return file;
}

size_t deepFrames()
{
    return (deepFile().size() - 44) / 3;
}

void bake(uint8_t* data, uint32_t length)
{
    static const GainTables t = [] {
        GainTables built;
        buildGainTables(&built);
        return built;
    }();
    bakeSamples(data, length, t.volume[128], t.panLeft[128], t.panRight[128]);
}

// The engine's load before: the audio after the first 44 bytes, baked.
void skipHeader(benchmark::State& state)
{
    for (auto _ : state)
        for (const Bytes& f : defaultSet()) {
            uint32_t n = static_cast<uint32_t>(f.size() - 44);
            auto* buffer = static_cast<uint8_t*>(std::malloc(n));
            std::memcpy(buffer, f.data() + 44, n);
            bake(buffer, n);
            benchmark::DoNotOptimize(buffer);
            std::free(buffer);
        }
    state.SetItemsProcessed(state.iterations());
}

// A whole file as the loader reads it, decoded, baked.
void loadWhole(const Bytes& f)
{
    auto* file = static_cast<uint8_t*>(std::malloc(f.size()));
    std::memcpy(file, f.data(), f.size());
    uint8_t* out = nullptr;
    uint32_t length = 0;
    decodeWavFile(file, f.size(), nullptr, kSlotBytes, &out, &length);
    bake(out, length);
    benchmark::DoNotOptimize(out);
    std::free(out);
}

void walkChunks(benchmark::State& state)
{
    for (auto _ : state)
        for (const Bytes& f : defaultSet())
            loadWhole(f);
    state.SetItemsProcessed(state.iterations());
}

void convertDeep(benchmark::State& state)
{
    for (auto _ : state)
        loadWhole(deepFile());
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * deepFrames()));
}

void resampleOnly(benchmark::State& state)
{
    Resampler resampler(48000);
    std::vector<float> in(deepFrames());
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = static_cast<float>(16000 * std::sin(0.0576 * static_cast<double>(i)));
    std::vector<int16_t> out(2 * resampler.outputFrames(in.size()));
    for (auto _ : state) {
        resampler.run(in.data(), in.size(), 1, out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * in.size()));
}

void copyData(benchmark::State& state)
{
    Bytes copy(deepFile().size() - 44);
    for (auto _ : state) {
        std::memcpy(copy.data(), deepFile().data() + 44, copy.size());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * deepFrames()));
}

const uint32_t kCommonRates[] = {48000, 96000, 22050, 32000, 8000, 11025};

// Two seconds at rate of channels interleaved, in 16-bit units: a tone under
// noise, different on each side.
std::vector<float> rateInput(uint32_t rate, int channels)
{
    std::vector<float> in(2 * static_cast<size_t>(rate) * channels);
    uint32_t seed = 1;
    for (size_t i = 0; i < in.size(); ++i) {
        double t = static_cast<double>(i / channels) / rate;
        seed = seed * 1664525u + 1013904223u;
        in[i] = static_cast<float>(12000 * std::sin(2 * std::numbers::pi * (440 + 110 * (i % channels)) * t)
                                   + static_cast<int32_t>(seed) / 2.0e6);
    }
    return in;
}

// A file's conversion as the loader makes it: the filter built, then run.
void resampleRate(benchmark::State& state)
{
    const auto rate = static_cast<uint32_t>(state.range(0));
    const int channels = static_cast<int>(state.range(1));
    const std::vector<float> in = rateInput(rate, channels);
    const size_t frames = in.size() / channels;
    std::vector<int16_t> out(2 * Resampler(rate).outputFrames(frames));
    for (auto _ : state) {
        Resampler resampler(rate);
        resampler.run(in.data(), frames, channels, out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * frames));
}

#ifdef POKOPON_HAVE_SOXR
// The anchor: libsoxr's high quality, one thread, float in and out with the
// input's channels, its filter built on every call as ours is.
void resampleSoxr(benchmark::State& state)
{
    const auto rate = static_cast<uint32_t>(state.range(0));
    const int channels = static_cast<int>(state.range(1));
    std::vector<float> in = rateInput(rate, channels);
    for (float& v : in)
        v /= 32768;
    const size_t frames = in.size() / channels;
    std::vector<float> out((frames * 44100 / rate + 64) * channels);
    const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    const soxr_runtime_spec_t runtime = soxr_runtime_spec(1);
    for (auto _ : state) {
        size_t done = 0;
        soxr_error_t error = soxr_oneshot(rate, 44100, channels, in.data(), frames, nullptr, out.data(),
                                          out.size() / channels, &done, &io, &quality, &runtime);
        if (error)
            state.SkipWithError(error);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * frames));
}
#endif

// 1.5 s of a mono tone at rate, 0.9 of full scale in 16-bit units.
std::vector<float> tone(double hz, uint32_t rate)
{
    std::vector<float> in(rate * 3 / 2);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = static_cast<float>(0.9 * 32768 * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate));
    return in;
}

// 44.1 kHz output of a tone, one sample a frame.
std::vector<double> ours(const std::vector<float>& in, uint32_t rate)
{
    Resampler resampler(rate);
    std::vector<int16_t> out(2 * resampler.outputFrames(in.size()));
    resampler.run(in.data(), in.size(), 1, out.data());
    std::vector<double> x(out.size() / 2);
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = out[2 * i];
    return x;
}

#ifdef POKOPON_HAVE_SOXR
std::vector<double> soxr(const std::vector<float>& in, uint32_t rate)
{
    std::vector<float> out(in.size() * 44100 / rate + 64);
    size_t done = 0;
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_oneshot(rate, 44100, 1, in.data(), in.size(), nullptr, out.data(), out.size(), &done, nullptr, &quality,
                 nullptr);
    return std::vector<double>(out.begin(), out.begin() + static_cast<ptrdiff_t>(done));
}
#endif

// In the second from 0.25 s on: the tone at hz, in dB of 0.9 of full scale,
// and the RMS of what is beside it, in dB of the tone's; hz 0 takes
// everything as beside a tone of 0.9 of full scale.
void measure(const std::vector<double>& x, double hz, double* levelDb, double* restDb)
{
    const size_t from = 11025, n = 44100;
    double a = 0, b = 0;
    for (size_t i = 0; i < n; ++i) {
        double t = 2 * std::numbers::pi * hz * static_cast<double>(from + i) / 44100;
        a += x[from + i] * std::sin(t) * 2 / n;
        b += x[from + i] * std::cos(t) * 2 / n;
    }
    double rest = 0;
    for (size_t i = 0; i < n; ++i) {
        double t = 2 * std::numbers::pi * hz * static_cast<double>(from + i) / 44100;
        double r = x[from + i] - a * std::sin(t) - b * std::cos(t);
        rest += r * r / n;
    }
    const double amplitude = hz > 0 ? std::hypot(a, b) : 0.9 * 32768;
    *levelDb = 20 * std::log10(std::hypot(a, b) / (0.9 * 32768));
    *restDb = 10 * std::log10(rest / (amplitude * amplitude / 2));  // -inf for silence
}

// A tone at the edge of the band that must stay flat, 0.9 of the source's
// Nyquist frequency but at most 20 kHz, and above 44.1 kHz one at 22.2 kHz
// that must not alias back.
void printQuality()
{
    std::printf("A tone at 0.9 of the source's Nyquist frequency, at most 20 kHz (ours rounded to 16 bits, whose rounding alone\n"
                "stands 97 dB below it; libsoxr HQ in float), and what is left of one at 22.2 kHz:\n"
                "  rate    edge Hz   level ours  libsoxr   beside it ours  libsoxr   22.2 kHz ours  libsoxr\n");
    for (uint32_t r : kCommonRates) {
        const double edge = std::min(std::floor(0.9 * r / 2), 20000.0);
        const std::vector<float> in = tone(edge, r);
        double level[2] = {}, rest[2] = {}, alias[2] = {}, unused;
        measure(ours(in, r), edge, &level[0], &rest[0]);
#ifdef POKOPON_HAVE_SOXR
        measure(soxr(in, r), edge, &level[1], &rest[1]);
#endif
        std::printf("  %6u  %8.0f   %+9.3f  %+7.3f   %14.1f  %7.1f", r, edge, level[0], level[1], rest[0], rest[1]);
        if (r > 44100) {
            const std::vector<float> above = tone(22200, r);
            measure(ours(above, r), 0, &unused, &alias[0]);
#ifdef POKOPON_HAVE_SOXR
            measure(soxr(above, r), 0, &unused, &alias[1]);
#endif
            // Ours can round to silence, all of it below half a step.
            for (int i = 0; i < 2; ++i) {
                const int width = i ? 7 : 14;
                if (std::isinf(alias[i]))
                    std::printf("  %*s", width, "silence");
                else
                    std::printf("  %*.1f", width, alias[i]);
            }
        }
        std::printf("\n");
    }
}

double rate(const RateReporter& r, const std::string& name)
{
    auto it = r.itemsPerSecond.find(name);
    return it == r.itemsPerSecond.end() ? 0.0 : it->second;
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::RegisterBenchmark("BM_DefaultSetSkip44", skipHeader)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_DefaultSetChunks", walkChunks)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Deep48kMonoFile", convertDeep)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_Resampler48kMono", resampleOnly)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CopyDeepData", copyData)->Unit(benchmark::kMillisecond);
    for (uint32_t r : kCommonRates)
        for (int channels : {1, 2}) {
            benchmark::RegisterBenchmark("BM_Resample", resampleRate)->Args({r, channels})->Unit(benchmark::kMillisecond);
#ifdef POKOPON_HAVE_SOXR
            benchmark::RegisterBenchmark("BM_SoxrHQ", resampleSoxr)->Args({r, channels})->Unit(benchmark::kMillisecond);
#endif
        }
    RateReporter reporter;
    if (!RunBenchmarks(&argc, argv, &reporter))
        return 1;

    double before = rate(reporter, "BM_DefaultSetSkip44"), now = rate(reporter, "BM_DefaultSetChunks");
    std::printf("\nDefault set (%zu files) in memory, loaded and baked at volume 128, pan 128:\n", defaultSet().size());
    if (before > 0 && now > 0)
        std::printf("  44-byte skip, as before (floor)  %8.3f ms\n  chunk walk                       %8.3f ms  (%+.1f %%, limit +5 %%)\n",
                    1000 / before, 1000 / now, (before / now - 1) * 100);
    double deep = rate(reporter, "BM_Deep48kMonoFile");
    std::printf("4,000,000-byte 24-bit 48 kHz mono file, %zu samples:\n", deepFrames());
    if (deep > 0)
        std::printf("  converted, resampled and baked   %8.1f ms a file, %.2f s for 60 slots, %.1f M samples/s\n",
                    deepFrames() * 1000 / deep, deepFrames() * 60 / deep, deep / 1e6);
    std::printf("  resampler alone                  %8.1f M samples/s\n", rate(reporter, "BM_Resampler48kMono") / 1e6);
    std::printf("  plain copy of the data           %8.1f M samples/s\n", rate(reporter, "BM_CopyDeepData") / 1e6);
    std::printf("Two seconds resampled to 44100 Hz, M input frames/s (libsoxr HQ: one thread, float):\n"
                "  rate    channels      ours   libsoxr   ours/libsoxr\n");
    for (uint32_t r : kCommonRates)
        for (int channels : {1, 2}) {
            const std::string args = std::string("/") += std::to_string(r) + "/" + std::to_string(channels);
            double ours = rate(reporter, "BM_Resample" + args), soxr = rate(reporter, "BM_SoxrHQ" + args);
            std::printf("  %6u  %8d  %8.1f  %8.1f", r, channels, ours / 1e6, soxr / 1e6);
            if (soxr > 0)
                std::printf("   %8.2f", ours / soxr);
            std::printf("\n");
        }
    printQuality();
    return 0;
}
