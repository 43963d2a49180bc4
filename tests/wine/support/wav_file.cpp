#include "support/wav_file.h"

#include <cmath>
#include <cstring>

#include "support/test_folder.h"

namespace {

void put32(std::string& s, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        s += static_cast<char>(v >> (8 * i) & 0xFF);
}

void put16(std::string& s, uint16_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>(v >> 8);
}

}  // namespace

void WriteWav(const std::string& path, const Frames& samples, uint32_t rate)
{
    uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
    std::string s = "RIFF";
    put32(s, 36 + bytes);
    s += "WAVEfmt ";
    put32(s, 16);
    put16(s, 1);
    put16(s, 2);
    put32(s, rate);
    put32(s, rate * 4);
    put16(s, 4);
    put16(s, 16);
    s += "data";
    put32(s, bytes);
    size_t at = s.size();
    s.resize(at + bytes);
    std::memcpy(&s[at], samples.data(), bytes);
    WriteFileBytes(path, s);
}

Frames Tone(double hz, double seconds, int16_t amplitude, uint32_t rate)
{
    size_t n = static_cast<size_t>(seconds * rate);
    Frames f(2 * n);
    for (size_t i = 0; i < n; ++i) {
        auto v = static_cast<int16_t>(amplitude * std::sin(2 * 3.14159265358979323846 * hz * static_cast<double>(i) / rate));
        f[2 * i] = f[2 * i + 1] = v;
    }
    return f;
}

Frames Silence(double seconds, uint32_t rate)
{
    return Frames(2 * static_cast<size_t>(seconds * rate), 0);
}
