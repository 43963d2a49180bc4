#include "util/message_boxes.h"

#include <cstdio>

const char kErrorCaption[] = "エラー";

void ShowDeviceError(int number)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "デバイスのオープンに失敗しました\nアプリケーションを再起動してください\nエラーNo.%d",
                  number);
    MessageBoxA(nullptr, text, kErrorCaption, MB_TOPMOST);
    PostQuitMessage(0);
}

int ShowError(const char* text)
{
    return MessageBoxA(nullptr, text, kErrorCaption, MB_TOPMOST | MB_ICONWARNING);
}

int ShowInfo(HWND window, const char* text)
{
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    return MessageBoxA(nullptr, text, title, MB_TOPMOST | MB_ICONINFORMATION);
}

int AskYesNoCancel(HWND, const char* caption, const char* text)
{
    return MessageBoxA(nullptr, text, caption, MB_TOPMOST | MB_ICONQUESTION | MB_YESNOCANCEL);
}
