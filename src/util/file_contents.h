// Whole-file reading and the safe replacement of a file's contents.
#pragma once

#include <cstddef>
#include <string>

// Reads the whole file into out; false when it cannot be opened or read.
bool ReadWholeFile(const char* path, std::string* out);
// Writes data to a new file beside path and only then puts it in place of
// path, so that path is never left truncated: on any failure it is unchanged.
bool ReplaceFileContents(const char* path, const void* data, size_t size);
