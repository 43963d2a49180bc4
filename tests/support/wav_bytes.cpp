#include "wav_bytes.h"

#include <cmath>
#include <numbers>

std::string LittleEndian(uint64_t v, int bytes)
{
    std::string s;
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>(v >> (8 * i) & 0xFF);
    return s;
}

std::string Chunk(const char* id, const std::string& body)
{
    std::string s = std::string(id, 4) + LittleEndian(body.size(), 4) + body;
    return body.size() % 2 ? s + '\0' : s;
}

std::string FormatChunk(const WavFields& fields)
{
    uint16_t block = static_cast<uint16_t>(fields.channels * ((fields.bits + 7) / 8));
    std::string body = LittleEndian(fields.extensible ? 0xFFFE : fields.tag, 2) + LittleEndian(fields.channels, 2)
                       + LittleEndian(fields.rate, 4) + LittleEndian(uint64_t{fields.rate} * block, 4)
                       + LittleEndian(block, 2) + LittleEndian(fields.bits, 2);
    if (fields.extensible)  // size, valid bits, channel mask, then the sub-format GUID
        body += LittleEndian(22, 2) + LittleEndian(fields.bits, 2) + LittleEndian(3, 4) + LittleEndian(fields.tag, 2)
                + std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    return Chunk("fmt ", body);
}

std::string RiffWave(const std::string& chunks)
{
    return "RIFF" + LittleEndian(4 + chunks.size(), 4) + "WAVE" + chunks;
}

std::string WavBytes(const WavFields& fields, const std::string& data)
{
    return RiffWave(FormatChunk(fields) + Chunk("data", data));
}

std::string PcmTone(const WavFields& fields, double hz, double seconds, double level)
{
    const int bytes = fields.bits / 8;
    const double full = bytes == 1 ? 127.0 : std::ldexp(1.0, fields.bits - 1) - 1;
    std::string data;
    for (size_t i = 0; i < static_cast<size_t>(seconds * fields.rate); ++i) {
        double x = level * std::sin(2 * std::numbers::pi * hz * static_cast<double>(i) / fields.rate);
        long long v = std::llround(x * full) + (bytes == 1 ? 128 : 0);
        for (int c = 0; c < fields.channels; ++c)
            data += LittleEndian(static_cast<uint64_t>(v), bytes);
    }
    return data;
}
