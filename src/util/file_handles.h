// File opening that reports every failure as a null handle.
#pragma once

#include <windows.h>

#include <cstddef>

// Existing file, for reading; other readers and writers allowed.
HANDLE OpenForRead(const char* path);
// New or truncated file, for writing.
HANDLE CreateForWrite(const char* path);
// Closes *handle and sets it to null; the result of CloseHandle.
BOOL CloseAndClear(HANDLE* handle);
