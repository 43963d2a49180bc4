#include "app/single_copy.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "util/path_names.h"
#include "util/program_folder.h"

namespace {

// The folder as a name kernel objects may carry (no backslash), the same for
// every spelling of its case.
void claimName(const char* folder, char* out, size_t size)
{
    char upper[1024];
    std::strncpy(upper, folder, sizeof upper - 1);
    upper[sizeof upper - 1] = '\0';
    CharUpperA(upper);
    uint64_t hash = 1469598103934665603u;  // FNV-1a
    for (const char* p = upper; *p; ++p)
        hash = (hash ^ static_cast<unsigned char>(*p)) * 1099511628211u;
    std::snprintf(out, size, "Local\\pokopon-%016llx", static_cast<unsigned long long>(hash));
}

// Whether window belongs to a program started from folder.
bool runsFrom(HWND window, const char* folder)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return false;
    char image[1024];
    DWORD size = sizeof image;
    bool named = QueryFullProcessImageNameA(process, 0, image, &size) != FALSE;
    CloseHandle(process);
    if (!named)
        return false;
    CutToDirectory(image);
    return lstrcmpiA(image, folder) == 0;
}

void bringForward(const char* folder)
{
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "TForm", nullptr));) {
        if (GetWindowThreadProcessId(w, nullptr) == GetCurrentThreadId() || !runsFrom(w, folder))
            continue;
        if (IsIconic(w))
            ShowWindow(w, SW_RESTORE);
        SetForegroundWindow(w);
        return;
    }
}

}  // namespace

bool ClaimProgramFolder()
{
    char folder[1024];
    if (!GetProgramFolder(folder, sizeof folder))
        return true;  // start-up tells what is wrong with the folder
    char name[64];
    claimName(folder, name, sizeof name);
    // Held until the process ends, when the system closes it.
    HANDLE claim = CreateMutexA(nullptr, FALSE, name);
    if (claim && GetLastError() == ERROR_ALREADY_EXISTS) {
        bringForward(folder);
        return false;
    }
    return true;
}
