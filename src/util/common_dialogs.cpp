#include "util/common_dialogs.h"

namespace {

using FileNameDialog = BOOL(WINAPI*)(LPOPENFILENAMEA);

// From the system folder only, never a file of that name beside the program.
// Windows 7 without its loader update refuses the flag: it then looks as a
// static import would.
HMODULE loadLibrary()
{
    HMODULE library = LoadLibraryExA("comdlg32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!library && GetLastError() == ERROR_INVALID_PARAMETER)
        library = LoadLibraryA("comdlg32.dll");
    return library;
}

// Dialogs run on the user-interface thread only, so the library is loaded
// there once and kept.
BOOL run(const char* name, LPOPENFILENAMEA request)
{
    static HMODULE library = loadLibrary();
    auto dialog = library ? reinterpret_cast<FileNameDialog>(
                                reinterpret_cast<void*>(GetProcAddress(library, name)))
                          : nullptr;
    return dialog ? dialog(request) : FALSE;
}

}  // namespace

BOOL WINAPI OpenFileNameDialog(LPOPENFILENAMEA request)
{
    return run("GetOpenFileNameA", request);
}

BOOL WINAPI SaveFileNameDialog(LPOPENFILENAMEA request)
{
    return run("GetSaveFileNameA", request);
}
