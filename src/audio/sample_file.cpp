#include "audio/sample_file.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "audio/acm_decode.h"
#include "audio/engine_form.h"
#include "audio/sample_bake.h"
#include "audio/wav_decode.h"
#include "audio/wav_format_check.h"
#include "slots/sample_path.h"
#include "util/debug_trace.h"
#include "util/file_handles.h"
#include "util/scoped_guards.h"

namespace {

// The whole file in a new malloc'd block, or why not.
WavProblem readFile(const char* path, uint8_t** buffer, size_t* size)
{
    *buffer = nullptr;
    if (!isLocalFilePath(path))
        return WavProblem::NotLocal;  // never opened: it would reach the network or a device
    OwnedHandle file(OpenForRead(path));
    if (!file.get())
        return WavProblem::Unreadable;
    LARGE_INTEGER bytes;
    WavProblem problem = WavProblem::Unreadable;
    if (!GetFileSizeEx(file.get(), &bytes)) {
    } else if (bytes.QuadPart > kMaxSampleFileBytes) {
        problem = WavProblem::FileTooLarge;
    } else {
        DWORD want = static_cast<DWORD>(bytes.QuadPart);
        DWORD got = 0;
        *buffer = static_cast<uint8_t*>(std::malloc(want ? want : 1));
        problem = *buffer ? WavProblem::None : WavProblem::NoMemory;
        if (*buffer && (!ReadFile(file.get(), *buffer, want, &got, nullptr) || got != want)) {
            std::free(*buffer);
            *buffer = nullptr;
            problem = WavProblem::Unreadable;
        }
        *size = want;
    }
    return problem;
}

void traceRefusal(const char* path, WavProblem problem)
{
    char line[400];
    std::snprintf(line, sizeof line, "%s: silent slot, %s", path, wavProblemText(problem));
    DebugLine(line);
}

}  // namespace

bool stampSample(const char* path, SampleStamp* stamp)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!isLocalFilePath(path) || !GetFileAttributesExA(path, GetFileExInfoStandard, &data))
        return false;
    stamp->bytes = uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
    stamp->written = uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32 | data.ftLastWriteTime.dwLowDateTime;
    return true;
}

WavProblem loadSample(const char* path, const GainTables& gains, int32_t volume, int32_t pan, uint64_t most,
                      uint8_t** data, uint32_t* length)
{
    *data = nullptr;
    *length = 0;
    size_t size = 0;
    uint8_t* file = nullptr;
    WavProblem problem = readFile(path, &file, &size);
    if (problem == WavProblem::None)
        problem = decodeWavFile(file, size, decodeWithAcm, most, data, length);
    if (problem != WavProblem::None) {
        traceRefusal(path, problem);
        return problem;
    }
    int v = gainIndex(volume);
    int p = gainIndex(pan);
    bakeSamples(*data, *length, gains.volume[v], gains.panLeft[p], gains.panRight[p]);
    return WavProblem::None;
}

WavProblem checkSample(const char* path)
{
    size_t size = 0;
    uint8_t* file = nullptr;
    WavProblem problem = readFile(path, &file, &size);
    WavChunks chunks;
    if (problem == WavProblem::None)
        problem = checkWavFile(file, size, kSlotBytes, &chunks);
    if (problem == WavProblem::None && !convertsItself(chunks.format) && !acmDecodes(chunks))
        problem = WavProblem::UnknownCodec;
    std::free(file);
    return problem;
}
