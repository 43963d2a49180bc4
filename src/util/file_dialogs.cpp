#include "util/file_dialogs.h"

#include <cstring>

#include "util/common_dialogs.h"
#include "util/file_handles.h"
#include "util/program_folder.h"

const char kPerformanceOpenFilter[] =
    "ポコポン用ファイル(*.pkp)\0*.pkp\0all file(*.*)\0*.*\0";
const char kPerformanceSaveFilter[] = "ポコポン用ファイル(*.pkp)\0*.pkp\0";

namespace {

// Runs one of the two dialogs with the window disabled meanwhile. file receives
// the chosen path; true when the user chose one.
bool runDialog(HWND window, const char* filter, const char* defaultExt, DWORD flags,
               BOOL(WINAPI* dialog)(LPOPENFILENAMEA), char (&file)[kDialogPathSize])
{
    char folder[1024] = "";
    GetProgramFolder(folder, sizeof folder);
    file[0] = '\0';

    OPENFILENAMEA ofn;
    std::memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = file;
    ofn.nMaxFile = kDialogPathSize;
    ofn.lpstrInitialDir = folder;
    ofn.Flags = flags;
    ofn.lpstrDefExt = defaultExt;

    EnableWindow(window, FALSE);
    BOOL chosen = dialog(&ofn);
    EnableWindow(window, TRUE);
    return chosen == 1;
}

}  // namespace

HANDLE OpenFileDialogCopyPath(HWND window, const char* filter, char* path)
{
    char file[kDialogPathSize];
    if (!runDialog(window, filter, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                   OpenFileNameDialog, file))
        return nullptr;
    std::memcpy(path, file, kDialogPathSize);
    return OpenForRead(path);
}

bool SaveFileDialog(HWND window, const char* filter, const char* defaultExt, char* path)
{
    char file[kDialogPathSize];
    if (!runDialog(window, filter, defaultExt,
                   OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT, SaveFileNameDialog,
                   file))
        return false;
    std::memcpy(path, file, kDialogPathSize);
    return true;
}
