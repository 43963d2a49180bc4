#include "audio/sample_file.h"

#include <windows.h>

#include <cstdlib>

#include "audio/sample_bake.h"
#include "util/file_handles.h"

namespace {

constexpr LONGLONG kHeaderBytes = 44;
constexpr LONGLONG kMaxFileBytes = 4000000;

bool readAudio(HANDLE file, uint8_t** data, uint32_t* length)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart <= kHeaderBytes || size.QuadPart > kMaxFileBytes)
        return false;
    DWORD want = static_cast<DWORD>(size.QuadPart - kHeaderBytes);
    auto* buffer = static_cast<uint8_t*>(std::malloc(want));
    DWORD got = 0;
    if (!buffer || SetFilePointer(file, static_cast<LONG>(kHeaderBytes), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER
        || !ReadFile(file, buffer, want, &got, nullptr) || got != want) {
        std::free(buffer);
        return false;
    }
    *data = buffer;
    *length = want;
    return true;
}

}  // namespace

void loadSample(const char* path, const GainTables& gains, int32_t volume, int32_t pan,
                uint8_t** data, uint32_t* length)
{
    *data = nullptr;
    *length = 0;
    HANDLE file = OpenForRead(path);
    if (!file)
        return;
    if (readAudio(file, data, length)) {
        int v = gainIndex(volume);
        int p = gainIndex(pan);
        bakeSamples(*data, *length, gains.volume[v], gains.panLeft[p], gains.panRight[p]);
    }
    CloseAndClear(&file);
}
