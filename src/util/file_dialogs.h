// The program's file dialogs.
#pragma once

#include <windows.h>

// Filters for performance files: pairs of zero-terminated texts, ending with
// an empty one.
extern const char kPerformanceOpenFilter[];
extern const char kPerformanceSaveFilter[];

constexpr int kDialogPathSize = 260;

// The open dialog. On success copies the chosen path into path (260 bytes) and
// returns the file opened for reading; null when cancelled or not opened.
HANDLE OpenFileDialogCopyPath(HWND window, const char* filter, char* path);
// The save dialog, asking before it overwrites. Copies the chosen path into
// path (260 bytes); false when cancelled. The file itself is not touched: the
// caller writes it whole or not at all.
bool SaveFileDialog(HWND window, const char* filter, const char* defaultExt, char* path);
