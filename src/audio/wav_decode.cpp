#include "audio/wav_decode.h"

#include <cstdlib>
#include <cstring>

#include "audio/engine_form.h"
#include "audio/sample_convert.h"
#include "audio/wav_format_check.h"

WavProblem checkWavFile(const uint8_t* file, size_t size, uint64_t most, WavChunks* chunks)
{
    WavProblem problem = findWavChunks(file, size, chunks);
    if (problem == WavProblem::None)
        problem = checkWavFormat(chunks->format);
    if (problem != WavProblem::None)
        return problem;
    uint64_t frames = sourceFrames(*chunks);
    if (frames == 0)
        return WavProblem::Empty;
    return engineFrames(chunks->format.rate, frames) * kEngineFrameBytes > most ? WavProblem::TooLong
                                                                                 : WavProblem::None;
}

namespace {

WavProblem decode(uint8_t* file, size_t size, CodecDecoder codec, uint64_t most, uint8_t** out, uint32_t* length)
{
    *out = nullptr;
    *length = 0;
    WavChunks chunks;
    WavProblem problem = checkWavFile(file, size, most, &chunks);
    if (problem != WavProblem::None)
        return problem;
    if (isEngineForm(chunks.format)) {
        std::memmove(file, chunks.data, chunks.dataBytes);
        *out = file;
        *length = chunks.dataBytes;
        return WavProblem::None;
    }
    if (convertsItself(chunks.format))
        return convertToEngineForm(chunks.format, chunks.data, chunks.dataBytes, most, out, length);
    if (!codec)
        return WavProblem::UnknownCodec;
    PcmAudio pcm;
    problem = codec(chunks, most / kEngineFrameBytes * chunks.format.rate / kEngineRate + 1, &pcm);
    // The codec pads its last block; the fact chunk says where the audio ends.
    uint32_t frameBytes = pcm.format.blockAlign;
    if (problem == WavProblem::None && chunks.factFrames && frameBytes
        && uint64_t{chunks.factFrames} * frameBytes < pcm.bytes)
        pcm.bytes = chunks.factFrames * frameBytes;
    if (problem == WavProblem::None)
        problem = convertToEngineForm(pcm.format, pcm.data, pcm.bytes, most, out, length);
    std::free(pcm.data);
    return problem;
}

}  // namespace

WavProblem decodeWavFile(uint8_t* file, size_t size, CodecDecoder codec, uint64_t most, uint8_t** out,
                         uint32_t* length)
{
    WavProblem problem = decode(file, size, codec, most, out, length);
    if (*out != file)
        std::free(file);
    return problem;
}
