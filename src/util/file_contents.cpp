#include "util/file_contents.h"

#include <windows.h>

#include "util/file_handles.h"

bool ReadWholeFile(const char* path, std::string* out)
{
    HANDLE h = OpenForRead(path);
    if (!h)
        return false;
    out->clear();
    char buffer[16384];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(h, buffer, sizeof buffer, &got, nullptr) != FALSE) && got > 0)
        out->append(buffer, got);
    CloseAndClear(&h);
    return ok;
}

bool ReplaceFileContents(const char* path, const void* data, size_t size)
{
    std::string temp = std::string(path) + ".new";
    HANDLE h = CreateForWrite(temp.c_str());
    if (!h)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(h, data, static_cast<DWORD>(size), &written, nullptr) && written == size
              && FlushFileBuffers(h);
    CloseAndClear(&h);
    ok = ok && MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileA(temp.c_str());
    return ok;
}
