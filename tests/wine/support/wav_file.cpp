#include "support/wav_file.h"

#include <cmath>
#include <numbers>

#include "support/test_folder.h"
#include "wav_bytes.h"

void WriteWav(const std::string& path, const Frames& samples, uint32_t rate)
{
    WavFields fields;
    fields.rate = rate;
    WriteFileBytes(path, WavBytes(fields, std::string(reinterpret_cast<const char*>(samples.data()), samples.size() * 2)));
}

Frames Tone(double hz, double seconds, int16_t amplitude, uint32_t rate)
{
    size_t n = static_cast<size_t>(seconds * rate);
    Frames f(2 * n);
    for (size_t i = 0; i < n; ++i) {
        auto v = static_cast<int16_t>(amplitude * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / rate));
        f[2 * i] = f[2 * i + 1] = v;
    }
    return f;
}

Frames Silence(double seconds, uint32_t rate)
{
    return Frames(2 * static_cast<size_t>(seconds * rate), 0);
}
