#include "util/path_names.h"

#include <windows.h>

#include "util/path_split.h"

namespace {

size_t ansiNameOffset(const char* path)
{
    return nameOffset(
        path, [](const char* p) -> const char* { return CharNextA(p); },
        [](unsigned char c) { return IsDBCSLeadByte(c) != FALSE; });
}

}  // namespace

const char* FileNamePart(const char* path)
{
    return path + ansiNameOffset(path);
}

char* CutToDirectory(char* path)
{
    char* cut = path + ansiNameOffset(path);
    *cut = '\0';
    return cut;
}
