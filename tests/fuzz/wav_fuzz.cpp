// Any bytes as a WAV file: the chunk walk must stay inside the file, and a
// format it finds must convert to whole stereo frames, or be refused.
#include <cstdint>
#include <cstdlib>

#include "audio/sample_convert.h"
#include "audio/wav_chunks.h"

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

bool inside(const uint8_t* part, size_t bytes, const uint8_t* file, size_t size)
{
    return part >= file && bytes <= size && part - file <= static_cast<ptrdiff_t>(size - bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WavChunks chunks;
    if (findWavChunks(data, size, &chunks) != WavProblem::None)
        return 0;
    check(inside(chunks.fmt, chunks.fmtBytes, data, size) && chunks.fmtBytes >= 16);
    check(inside(chunks.data, chunks.dataBytes, data, size));
    check(chunks.format.channels > 0 && chunks.format.rate > 0);

    uint8_t* out = nullptr;
    uint32_t length = 0;
    WavProblem problem = convertToEngineForm(chunks.format, chunks.data, chunks.dataBytes, &out, &length);
    check(problem == WavProblem::None || (!out && length == 0));
    check(length % 4 == 0 && (out != nullptr) == (length != 0));
    check(problem != WavProblem::UnknownCodec || !convertsItself(chunks.format));
    std::free(out);
    return 0;
}
