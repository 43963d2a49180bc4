#include "export/wav_header.h"

#include <cstring>

#include "util/little_endian.h"

void writeWavHeader(uint8_t (&out)[kWavHeaderBytes], uint32_t rate, uint64_t frames)
{
    const auto data = static_cast<uint32_t>(frames * 4);
    std::memcpy(out, "RIFF\0\0\0\0WAVEfmt ", 16);
    writeLe32(out + 4, 36 + data);
    writeLe32(out + 16, 16);
    writeLe16(out + 20, 1);  // PCM
    writeLe16(out + 22, 2);
    writeLe32(out + 24, rate);
    writeLe32(out + 28, rate * 4);
    writeLe16(out + 32, 4);
    writeLe16(out + 34, 16);
    std::memcpy(out + 36, "data", 4);
    writeLe32(out + 40, data);
}
