#include "util/program_folder.h"

#include <windows.h>

#include <cstring>

#include "util/path_names.h"

bool GetProgramFolder(char* out, size_t size)
{
    char module[1024];
    DWORD n = GetModuleFileNameA(nullptr, module, sizeof module);
    if (n == 0 || n >= sizeof module)
        return false;  // a cut-off module path names no real folder
    CutToDirectory(module);
    size_t len = std::strlen(module);
    if (len >= size)
        return false;
    std::memcpy(out, module, len + 1);
    return true;
}
