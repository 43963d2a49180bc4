#include "ui/loading_splash.h"

#include <process.h>

#include <cstdlib>
#include <cstring>

#include "util/font.h"
#include "util/screen_centre.h"

namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 200;
constexpr int kTextOffset = 2;  // the line starts with two spaces
// To the splash: show the text at lParam (freed after) on the line at wParam.
constexpr UINT kShowTextMessage = WM_APP + 1;

}  // namespace

LoadingSplash::LoadingSplash(HBITMAP picture) : picture(picture), instance(GetModuleHandleA(nullptr))
{
    std::memset(textBuffer, ' ', sizeof textBuffer);
    std::memset(dialogTemplate, 0, sizeof dialogTemplate);
    _beginthreadex(nullptr, 0, SplashThread, this, 0, nullptr);
    WaitForSingleObject(ready, INFINITE);
}

void LoadingSplash::SetProgressText(const char* text)
{
    size_t length = std::strlen(text);
    if (length > sizeof textBuffer - kTextOffset - 1)
        length = sizeof textBuffer - kTextOffset - 1;
    std::memcpy(textBuffer + kTextOffset, text, length);
    textBuffer[kTextOffset + length] = '\0';
    // Setting the line's text from this thread would wait for the splash
    // thread to take each one: some 60 ms of start-up under Wine, over the
    // two hundred texts it gives. The splash thread sets them in turn.
    HWND line = textLine;
    if (!line)
        return;
    char* copy = static_cast<char*>(std::malloc(kTextOffset + length + 1));
    if (!copy)
        return;
    std::memcpy(copy, textBuffer, kTextOffset + length + 1);
    if (!PostMessageA(dialog, kShowTextMessage, reinterpret_cast<WPARAM>(line),
                      reinterpret_cast<LPARAM>(copy)))
        std::free(copy);
}

void LoadingSplash::CloseSplash()
{
    // The splash paints nothing more while it holds before going, so later
    // texts only change the buffer: start-up does not wait for the hold.
    textLine = nullptr;
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

unsigned __stdcall LoadingSplash::SplashThread(void* argument)
{
    auto* splash = static_cast<LoadingSplash*>(argument);
    // No controls, no size, an empty title and font: the dialog is only a
    // frame for the two static controls made at its start.
    auto* dialogTemplate = reinterpret_cast<DLGTEMPLATE*>(splash->dialogTemplate);
    dialogTemplate->style = WS_POPUP | DS_SETFONT | DS_CENTER;
    DialogBoxIndirectParamA(splash->instance, dialogTemplate, nullptr, SplashDialogProc,
                            reinterpret_cast<LPARAM>(splash));
    // Later texts only change the buffer; and should the dialog never have
    // come up, start-up goes on without it rather than waiting for ever.
    splash->textLine = nullptr;
    SetEvent(splash->ready);
    _endthreadex(0);
    return 0;
}

INT_PTR CALLBACK LoadingSplash::SplashDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                                 LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* splash = reinterpret_cast<LoadingSplash*>(lParam);
        splash->dialog = dialog;
        splash->textLine = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 180, 1000,
                                           40, dialog, reinterpret_cast<HMENU>(-1),
                                           splash->instance, nullptr);
        SendMessageA(splash->textLine, WM_SETFONT,
                     reinterpret_cast<WPARAM>(MakeFont(nullptr, 13, 0, 0)), TRUE);
        splash->pictureBox = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP,
                                             0, 0, kWidth, kHeight, dialog,
                                             reinterpret_cast<HMENU>(-1), splash->instance,
                                             nullptr);
        SendMessageA(splash->pictureBox, STM_SETIMAGE, IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(splash->picture));
        SetWindowPos(dialog, nullptr, CentreX(kWidth), CentreY(kHeight), kWidth, kHeight,
                     SWP_SHOWWINDOW);
        SetWindowRgn(dialog, CreateRoundRectRgn(0, 0, kWidth, kHeight, 20, 20), TRUE);
        SetEvent(splash->ready);
        return TRUE;
    }
    if (message == kShowTextMessage) {
        SetWindowTextA(reinterpret_cast<HWND>(wParam), reinterpret_cast<const char*>(lParam));
        std::free(reinterpret_cast<char*>(lParam));
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        Sleep(500);
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}
