#include "ui/about_box.h"

namespace {

constexpr int kAboutDialog = 103;

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    // OK, Enter, Esc and the close box all end the box.
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

}  // namespace

void ShowAboutBox(HINSTANCE instance, HWND owner)
{
    DialogBoxParamA(instance, MAKEINTRESOURCEA(kAboutDialog), owner, AboutDialogProc, 0);
}
