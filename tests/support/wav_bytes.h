// WAV files as bytes, for the tests on either side: any format, with chunks
// in any order.
#pragma once

#include <cstdint>
#include <string>

// What a fmt chunk says.
struct WavFields {
    uint16_t tag = 1;  // 1 PCM, 3 IEEE float, or any other codec
    uint16_t channels = 2;
    uint32_t rate = 44100;
    uint16_t bits = 16;
    bool extensible = false;  // written as WAVE_FORMAT_EXTENSIBLE carrying tag
};

// The low bytes of v, least significant first.
std::string LittleEndian(uint64_t v, int bytes);
// A chunk: id, size, body and the pad byte after an odd body.
std::string Chunk(const char* id, const std::string& body);
std::string FormatChunk(const WavFields& fields);
// "RIFF", its size, "WAVE" and the chunks.
std::string RiffWave(const std::string& chunks);
// fmt then data: the canonical 44-byte header for plain PCM.
std::string WavBytes(const WavFields& fields, const std::string& data);
// The data of seconds of a sine tone at level (full scale 1) in every
// channel, as integer PCM of the fields' bits (8, 16, 24 or 32) and rate.
std::string PcmTone(const WavFields& fields, double hz, double seconds, double level);
