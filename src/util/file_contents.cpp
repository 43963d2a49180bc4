#include "util/file_contents.h"

#include <cstring>

#include "util/file_handles.h"
#include "util/path_names.h"

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
    DWORD error = GetLastError();
    CloseAndClear(&h);
    SetLastError(ok ? ERROR_SUCCESS : error);
    return ok;
}

DWORD ReplaceFileContents(const char* path, const void* data, size_t size)
{
    // Windows refuses to replace a read-only file, where Wine would replace it
    // and drop the attribute: the user set it, so it is kept either way.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return ERROR_ACCESS_DENIED;

    // A name of the platform's choosing, so that no file of the user's is
    // taken for the temporary one.
    char folder[MAX_PATH] = "";
    std::strncpy(folder, path, sizeof folder - 1);
    CutToDirectory(folder);
    if (folder[0] == '\0')
        std::strcpy(folder, ".");
    char temp[MAX_PATH];
    if (!GetTempFileNameA(folder, "pok", 0, temp))
        return GetLastError();
    HANDLE h = CreateForWrite(temp);
    if (!h) {
        DWORD error = GetLastError();
        DeleteFileA(temp);
        return error;
    }
    DWORD error = ERROR_SUCCESS;
    DWORD written = 0;
    if (!WriteFile(h, data, static_cast<DWORD>(size), &written, nullptr))
        error = GetLastError();
    else if (written != size)
        error = ERROR_DISK_FULL;  // a short write is what a full disk gives
    else if (!FlushFileBuffers(h))
        error = GetLastError();
    if (!CloseAndClear(&h) && error == ERROR_SUCCESS)
        error = GetLastError();
    if (error == ERROR_SUCCESS
        && !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != ERROR_SUCCESS)
        DeleteFileA(temp);
    return error;
}
