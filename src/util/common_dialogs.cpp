#include "util/common_dialogs.h"

namespace {

using FileNameDialog = BOOL(WINAPI*)(LPOPENFILENAMEA);

// Dialogs run on the user-interface thread only, so the library is loaded
// there once and kept.
BOOL run(const char* name, LPOPENFILENAMEA request)
{
    static HMODULE library = LoadLibraryA("comdlg32.dll");
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
