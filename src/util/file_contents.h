// Whole-file reading and the safe replacement of a file's contents.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Reads the whole file into out; false when it cannot be opened or read, with
// the platform's error code left for GetLastError.
bool ReadWholeFile(const char* path, std::string* out);

// Writes data to a new file in path's folder, checks every write, flushes it
// and only then puts it in place of path, so that path is never left
// truncated: on any failure it is unchanged and the new file removed.
// ERROR_SUCCESS, or the platform's error code of the step that failed.
DWORD ReplaceFileContents(const char* path, const void* data, size_t size);
