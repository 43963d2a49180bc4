// Counts the messages of one kind that reach a window of this process, by
// subclassing it while the counter lives. One counter at a time.
#pragma once

#include <windows.h>

class MessageCount {
public:
    MessageCount(HWND window, UINT message);
    ~MessageCount();
    MessageCount(const MessageCount&) = delete;
    MessageCount& operator=(const MessageCount&) = delete;

    int count() const { return count_; }

private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_;
    UINT message_;
    WNDPROC previous_;
    int count_ = 0;
};
