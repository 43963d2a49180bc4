// The loading splash: a borderless rounded picture in the middle of the
// screen with one line of progress text, shown while start-up loads the
// samples. It runs a dialog on a thread of its own so that it keeps painting
// while the user-interface thread is busy.
#pragma once

#include <windows.h>

#include <atomic>

class LoadingSplash {
public:
    // Returns once the splash is on the screen.
    explicit LoadingSplash(HBITMAP picture);

    // Shows two spaces and then the text (at most 253 bytes). The splash
    // thread shows the texts in the order given, while start-up goes on;
    // dropped once the splash is closing.
    void SetProgressText(const char* text);
    // Asks the splash to close; it holds for half a second, then goes. Texts
    // from now on are dropped.
    void CloseSplash();

private:
    static unsigned __stdcall SplashThread(void* splash);
    static INT_PTR CALLBACK SplashDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                             LPARAM lParam);

    // Set and cleared by the splash thread and the user-interface thread.
    std::atomic<HWND> textLine{nullptr};
    HWND dialog = nullptr;
    HWND pictureBox = nullptr;
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);  // set once the splash shows
    HBITMAP picture;
    alignas(4) unsigned char dialogTemplate[28];
    HINSTANCE instance;
    char textBuffer[256];
};
