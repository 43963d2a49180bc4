#include "util/file_handles.h"

namespace {

HANDLE openFile(const char* path, DWORD access, DWORD disposition)
{
    HANDLE h = CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    return h == INVALID_HANDLE_VALUE ? nullptr : h;
}

}  // namespace

HANDLE OpenForRead(const char* path)
{
    return openFile(path, GENERIC_READ, OPEN_EXISTING);
}

HANDLE CreateForWrite(const char* path)
{
    return openFile(path, GENERIC_WRITE, CREATE_ALWAYS);
}

BOOL CloseAndClear(HANDLE* handle)
{
    BOOL ok = CloseHandle(*handle);
    *handle = nullptr;
    return ok;
}
