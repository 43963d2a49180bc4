#include "util/window_text.h"

#include <cstring>

LRESULT SendCommand(HWND window, int id)
{
    return SendMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void AppendWindowText(HWND window, const char* text)
{
    char title[256];
    int len = GetWindowTextA(window, title, sizeof title);
    if (len < 0)
        len = 0;
    size_t room = sizeof title - 1 - static_cast<size_t>(len);
    size_t add = std::strlen(text);
    if (add > room)
        add = room;
    std::memcpy(title + len, text, add);
    title[len + add] = '\0';
    SetWindowTextA(window, title);
}
