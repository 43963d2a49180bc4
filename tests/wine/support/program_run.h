// The real program started from a program folder of the test's own.
#pragma once

#include <windows.h>

#include <string>

// The Windows path of the built pokopon.exe.
std::string BuiltProgram();

class ProgramRun {
public:
    // Copies the program (pokopon.exe unless another is named by its Windows
    // path) into folder, created if needed, unless it is there already, and
    // starts it there, suspended until resume(), so that watchers can be set
    // up first. arguments follow the program's name on its command line.
    explicit ProgramRun(const std::string& folder, const std::string& program = "", const std::string& arguments = "");
    ~ProgramRun();

    DWORD processId() const { return info_.dwProcessId; }
    void resume();
    // The exit code, or STILL_ACTIVE on time-out.
    DWORD waitExit(DWORD timeoutMs = 20000);
    // Whether the process still runs: a process that Wine saw die without an
    // exit code (of a Unix signal) ended with the code STILL_ACTIVE.
    bool running() const;
    // A visible top-level window of the program with that class (and title,
    // unless null), waiting for it.
    HWND waitWindow(const char* className, const char* title = nullptr, DWORD timeoutMs = 20000);

private:
    PROCESS_INFORMATION info_ = {};
};
