// The program's message boxes: no owner, on top of other windows, and never
// over an open context menu of their thread.
#pragma once

#include <windows.h>

// The device error box, then the quit request. Call it on the user-interface
// thread, whose message loop the quit request ends.
void ShowDeviceError(int number);
// A warning captioned "エラー".
int ShowError(const char* text);
// Information captioned with the window's title, or with caption.
int ShowInfo(HWND window, const char* text);
int ShowInfoCaptioned(const char* caption, const char* text);
// Yes or No: IDYES or IDNO.
int AskYesNo(const char* caption, const char* text);
// Yes, No or Cancel: IDYES, IDNO or IDCANCEL.
int AskYesNoCancel(HWND window, const char* caption, const char* text);

extern const char kErrorCaption[];
