#include "support/program_run.h"

#include "support/test_folder.h"
#include "support/window_find.h"

std::string BuiltProgram()
{
    return FromUnixPath(POKOPON_EXE);
}

ProgramRun::ProgramRun(const std::string& folder, const std::string& program, const std::string& arguments)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string source = program.empty() ? BuiltProgram() : program;
    std::string exe = folder + "\\" + source.substr(source.find_last_of('\\') + 1);
    // A program unpacked into its folder is started where it lies.
    if (exe != source)
        CopyFileA(source.c_str(), exe.c_str(), FALSE);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    std::string commandLine = "\"" + exe + "\" " + arguments;
    CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                   ExeFolder().c_str(), &si, &info_);
}

ProgramRun::~ProgramRun()
{
    if (!info_.hProcess)
        return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

void ProgramRun::resume()
{
    ResumeThread(info_.hThread);
}

DWORD ProgramRun::waitExit(DWORD timeoutMs)
{
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool ProgramRun::running() const
{
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND ProgramRun::waitWindow(const char* className, const char* title, DWORD timeoutMs)
{
    return WaitProcessWindow(info_.dwProcessId, className, timeoutMs, [title](HWND w) {
        char text[256] = "";
        GetWindowTextA(w, text, sizeof text);
        return !title || std::string(text) == title;
    });
}
