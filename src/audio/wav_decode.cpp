#include "audio/wav_decode.h"

#include <cstring>

#include "audio/sample_convert.h"

WavProblem decodeWavFile(uint8_t* file, size_t size, CodecDecoder codec, uint8_t** out, uint32_t* length)
{
    *out = nullptr;
    *length = 0;
    WavChunks chunks;
    WavProblem problem = findWavChunks(file, size, &chunks);
    if (problem != WavProblem::None)
        return problem;
    if (isEngineForm(chunks.format)) {
        std::memmove(file, chunks.data, chunks.dataBytes);
        *out = file;
        *length = chunks.dataBytes;
        return WavProblem::None;
    }
    std::vector<uint8_t> pcm;
    if (!convertsItself(chunks.format)) {
        if (!codec || !codec(chunks, &pcm, &chunks.format))
            return WavProblem::UnknownCodec;
        chunks.data = pcm.data();
        chunks.dataBytes = static_cast<uint32_t>(pcm.size());
    }
    return convertToEngineForm(chunks.format, chunks.data, chunks.dataBytes, out, length);
}
