#include "util/message_boxes.h"

#include <cstdio>

#include "util/quit_request.h"

const char kErrorCaption[] = "エラー";

namespace {

// A context menu of this thread left open under a box would keep the keys
// from it and stay open once the box is answered: it is closed first.
int showBox(const char* text, const char* caption, UINT style)
{
    EndMenu();
    return MessageBoxA(nullptr, text, caption, MB_TOPMOST | style);
}

}  // namespace

void ShowDeviceError(int number)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "デバイスのオープンに失敗しました\nアプリケーションを再起動してください\nエラーNo.%d",
                  number);
    showBox(text, kErrorCaption, 0);
    RequestQuit();
}

int ShowError(const char* text)
{
    return showBox(text, kErrorCaption, MB_ICONWARNING);
}

int ShowInfo(HWND window, const char* text)
{
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    return ShowInfoCaptioned(title, text);
}

int ShowInfoCaptioned(const char* caption, const char* text)
{
    return showBox(text, caption, MB_ICONINFORMATION);
}

int AskYesNo(const char* caption, const char* text)
{
    return showBox(text, caption, MB_ICONQUESTION | MB_YESNO);
}

int AskYesNoCancel(HWND, const char* caption, const char* text)
{
    return showBox(text, caption, MB_ICONQUESTION | MB_YESNOCANCEL);
}
