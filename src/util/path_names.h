// Double-byte-safe path splitting in the ANSI code page (Shift-JIS).
#pragma once

// The position just after the last separator, or the start of path.
const char* FileNamePart(const char* path);
// Cuts path after its last separator (kept) and returns the cut, an empty string.
char* CutToDirectory(char* path);
