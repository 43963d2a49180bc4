// Any bytes as a WAV file, decoded as the loader decodes it: the chunk walk
// must stay inside the file, and what it finds must become whole stereo
// frames no longer than a slot may be, or the file one of the refused ones,
// for the reason the checks without decoding give.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "audio/engine_form.h"
#include "audio/sample_convert.h"
#include "audio/wav_chunks.h"
#include "audio/wav_decode.h"
#include "audio/wav_format_check.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The loader's own block: malloc'd, exactly the file's size.
    auto* file = static_cast<uint8_t*>(std::malloc(size ? size : 1));
    std::memcpy(file, data, size);
    WavChunks chunks;
    WavProblem found = findWavChunks(data, size, &chunks);
    uint8_t* out = nullptr;
    uint32_t length = 0;
    WavProblem problem = decodeWavFile(file, size, nullptr, kSlotBytes, &out, &length);
    WavChunks checkedChunks;
    WavProblem checked = checkWavFile(data, size, kSlotBytes, &checkedChunks);
    check(checked == WavProblem::None ? problem != WavProblem::TooLong : problem == checked);
    check(length <= kSlotBytes);

    check(found == WavProblem::None || problem == found);
    check(problem == WavProblem::None || (!out && length == 0));
    check((out != nullptr) == (length != 0) || out == file);
    if (problem == WavProblem::None && isEngineForm(chunks.format)) {
        check(out == file && length == chunks.dataBytes);
    } else {
        check(out != file && length % 4 == 0);
        check(problem != WavProblem::UnknownCodec || !convertsItself(chunks.format));
    }
    std::free(out);
    return 0;
}
