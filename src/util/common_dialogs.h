// The system's open and save dialogs, from comdlg32 loaded on first use: the
// library and what it pulls in cost some 40 ms of every start under Wine, and
// a player may never open a dialog.
#pragma once

#include <windows.h>

#include <commdlg.h>

// As GetOpenFileNameA and GetSaveFileNameA; FALSE, as for a cancel, when the
// library cannot be loaded.
BOOL WINAPI OpenFileNameDialog(LPOPENFILENAMEA request);
BOOL WINAPI SaveFileNameDialog(LPOPENFILENAMEA request);
