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

ReplacementFile::~ReplacementFile()
{
    if (temp_[0])
        fail(ERROR_SUCCESS);
}

DWORD ReplacementFile::fail(DWORD error)
{
    CloseAndClear(&handle_);
    DeleteFileA(temp_);
    temp_[0] = '\0';
    return error;
}

DWORD ReplacementFile::open(const char* path)
{
    // Windows refuses to replace a read-only file, where Wine would replace it
    // and drop the attribute: the user set it, so it is kept either way.
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return ERROR_ACCESS_DENIED;
    if (std::strlen(path) >= sizeof path_)
        return ERROR_FILENAME_EXCED_RANGE;
    std::strcpy(path_, path);

    // A name of the platform's choosing, so that no file of the user's is
    // taken for the temporary one.
    char folder[MAX_PATH];
    std::strcpy(folder, path);
    CutToDirectory(folder);
    if (folder[0] == '\0')
        std::strcpy(folder, ".");
    if (!GetTempFileNameA(folder, "pok", 0, temp_)) {
        temp_[0] = '\0';
        return GetLastError();
    }
    handle_ = CreateForWrite(temp_);
    return handle_ ? ERROR_SUCCESS : fail(GetLastError());
}

DWORD ReplacementFile::write(const void* data, size_t size)
{
    DWORD written = 0;
    if (!WriteFile(handle_, data, static_cast<DWORD>(size), &written, nullptr))
        return fail(GetLastError());
    // A short write is what a full disk gives.
    return written == size ? ERROR_SUCCESS : fail(ERROR_DISK_FULL);
}

DWORD ReplacementFile::commit()
{
    if (!FlushFileBuffers(handle_) || !CloseAndClear(&handle_)
        || !MoveFileExA(temp_, path_, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail(GetLastError());
    temp_[0] = '\0';
    return ERROR_SUCCESS;
}

DWORD ReplaceFileContents(const char* path, const void* data, size_t size)
{
    ReplacementFile file;
    DWORD error = file.open(path);
    if (error == ERROR_SUCCESS)
        error = file.write(data, size);
    return error == ERROR_SUCCESS ? file.commit() : error;
}
