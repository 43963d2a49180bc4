// Watches for the message boxes and dialogs of one process, records what they
// say and answers them, so that tests can drive code that shows modal boxes.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenBox {
    std::string caption;
    std::string text;      // the message text (control 0xFFFF); empty for other dialogs
    // The style word given to MessageBoxA, known for boxes of this process only.
    // Wine does not show MB_TOPMOST in the window's styles, so it is taken from
    // the call itself.
    UINT style = 0;
    bool styleKnown = false;
    bool topmost = false;  // MB_TOPMOST in the style word
    HICON icon = nullptr;  // the icon shown, null when none
    bool hasOk = false, hasCancel = false, hasYes = false, hasNo = false;
    HWND owner = nullptr;
};

class BoxWatch {
public:
    // Watches the dialogs of processId (this process by default). Each box is
    // answered with the next button of answers, and with IDOK once they run out.
    explicit BoxWatch(std::vector<int> answers = {}, DWORD processId = GetCurrentProcessId());
    // Each box of processId is answered with the button that choose gives for it.
    BoxWatch(DWORD processId, std::function<int(const SeenBox&)> choose);
    ~BoxWatch();

    // Watches the boxes of another process from now on, as a program that is
    // started again gets a new process.
    void follow(DWORD processId);

    std::vector<SeenBox> seen();
    // Waits until count boxes have been seen; false on time-out.
    bool waitFor(size_t count, DWORD timeoutMs = 20000);

private:
    void run();
    void look(HWND window);

    std::atomic<DWORD> processId_;
    std::function<int(const SeenBox&)> choose_;
    std::mutex mutex_;
    std::vector<SeenBox> seen_;
    std::vector<HWND> answered_;
    bool stop_ = false;
    std::thread thread_;
};

// A Shift-JIS text in UTF-8, for readable failure output.
std::string utf8(const std::string& sjis);
