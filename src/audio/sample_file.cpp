#include "audio/sample_file.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "audio/acm_decode.h"
#include "audio/sample_bake.h"
#include "audio/wav_decode.h"
#include "slots/sample_path.h"
#include "util/debug_trace.h"
#include "util/file_handles.h"

namespace {

constexpr LONGLONG kMaxFileBytes = 4000000;

// The whole file in a new malloc'd block; null when it cannot be read or is
// larger than the settings reader allows, with why in *why.
uint8_t* readFile(const char* path, size_t* size, const char** why)
{
    *why = "the path is no file of this machine";
    if (!isLocalFilePath(path))
        return nullptr;  // never opened: it would reach the network or a device
    *why = "the file cannot be read";
    HANDLE file = OpenForRead(path);
    if (!file)
        return nullptr;
    LARGE_INTEGER bytes;
    uint8_t* buffer = nullptr;
    bool sized = GetFileSizeEx(file, &bytes);
    if (sized && bytes.QuadPart > kMaxFileBytes) {
        *why = "the file is larger than 4000000 bytes";
    } else if (sized) {
        DWORD want = static_cast<DWORD>(bytes.QuadPart);
        DWORD got = 0;
        buffer = static_cast<uint8_t*>(std::malloc(want ? want : 1));
        if (buffer && (!ReadFile(file, buffer, want, &got, nullptr) || got != want)) {
            std::free(buffer);
            buffer = nullptr;
        }
        *size = want;
    }
    CloseAndClear(&file);
    return buffer;
}

// Why the file gives no sound, or null with its audio in *data. A file
// without audio leaves *data null, a silent slot, as a 44-byte file always did.
const char* readSample(const char* path, uint8_t** data, uint32_t* length)
{
    *data = nullptr;
    *length = 0;
    const char* why = nullptr;
    size_t size = 0;
    uint8_t* file = readFile(path, &size, &why);
    if (!file)
        return why;
    WavProblem problem = decodeWavFile(file, size, decodeWithAcm, data, length);
    if (*data != file)
        std::free(file);
    if (*length == 0) {
        std::free(*data);
        *data = nullptr;
    }
    return problem == WavProblem::None ? nullptr : wavProblemText(problem);
}

}  // namespace

void loadSample(const char* path, const GainTables& gains, int32_t volume, int32_t pan,
                uint8_t** data, uint32_t* length)
{
    if (const char* why = readSample(path, data, length)) {
        char line[400];
        std::snprintf(line, sizeof line, "%s: silent slot, %s", path, why);
        DebugLine(line);
        return;
    }
    if (!*data)
        return;
    int v = gainIndex(volume);
    int p = gainIndex(pan);
    bakeSamples(*data, *length, gains.volume[v], gains.panLeft[p], gains.panRight[p]);
}

bool samplePlayable(const char* path)
{
    uint8_t* data = nullptr;
    uint32_t length = 0;
    bool playable = readSample(path, &data, &length) == nullptr;
    std::free(data);
    return playable;
}
