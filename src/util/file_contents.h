// Whole-file reading and the safe replacement of a file's contents.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Reads the whole file into out; false when it cannot be opened or read, with
// the platform's error code left for GetLastError.
bool ReadWholeFile(const char* path, std::string* out);

// A new file in path's folder, written piece by piece, that takes the place
// of path only once every byte is on disk. Each call answers ERROR_SUCCESS or
// the platform's error code of the step that failed; after a failure the
// file is removed and path is unchanged, as it is when the object goes away
// before commit.
class ReplacementFile {
public:
    ReplacementFile() = default;
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    DWORD open(const char* path);
    DWORD write(const void* data, size_t size);
    // Flushes, closes and puts the file in place of path.
    DWORD commit();

private:
    DWORD fail(DWORD error);

    HANDLE handle_ = nullptr;
    char path_[MAX_PATH] = "";
    char temp_[MAX_PATH] = "";
};

// Writes data to a new file in path's folder, checks every write, flushes it
// and only then puts it in place of path, so that path is never left
// truncated: on any failure it is unchanged and the new file removed.
// ERROR_SUCCESS, or the platform's error code of the step that failed.
DWORD ReplaceFileContents(const char* path, const void* data, size_t size);
