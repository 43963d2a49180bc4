#include "support/x_input.h"

#include "support/test_folder.h"

#include <utility>

namespace {

// The Unix side of a path on drive Z:.
std::string unixPath(std::string path)
{
    path.erase(0, 2);
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path;
}

BOOL CALLBACK countDialogs(HWND window, LPARAM query)
{
    auto* q = reinterpret_cast<std::pair<DWORD, int>*>(query);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (process == q->first && IsWindowVisible(window) && std::string(name) == "#32770")
        ++q->second;
    return TRUE;
}

// The program's visible dialogs: the splash while it closes, message boxes.
int visibleDialogs(DWORD process)
{
    std::pair<DWORD, int> query(process, 0);
    EnumWindows(countDialogs, reinterpret_cast<LPARAM>(&query));
    return query.second;
}

// Keys pressed right after the focus change went missing: hold Shift until
// Wine's key state shows it held, and release it again.
bool keysArrive()
{
    auto shiftHeld = [] { return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; };
    if (!Xdotool("keydown shift"))
        return false;
    bool held = false;
    for (DWORD start = GetTickCount(); !held && GetTickCount() - start < 5000; Sleep(20))
        held = shiftHeld();
    Xdotool("keyup shift");
    for (DWORD start = GetTickCount(); shiftHeld() && GetTickCount() - start < 5000;)
        Sleep(20);
    return held && !shiftHeld();
}

}  // namespace

bool Xdotool(const std::string& arguments)
{
    // Wine starts a Unix program given by its path on drive Z:, but the handle
    // it returns does not follow that program: a shell leaves the exit code in
    // a file instead, which is waited for here.
    std::string status = ExeFolder() + "xdotool.status";
    DeleteFileA(status.c_str());
    std::string command = "/bin/sh -c \"/usr/bin/xdotool " + arguments + "; echo $? > '" +
                          unixPath(status) + ".tmp' && mv '" + unixPath(status) + ".tmp' '" +
                          unixPath(status) + "'\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA("Z:\\bin\\sh", command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(5))
        if (FileExists(status))
            return ReadFileBytes(status) == "0\n";
    return false;
}

bool FocusProgramWindow(HWND window)
{
    // Found by its title, once the closing splash has gone.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(50)) {
        if (visibleDialogs(process) != 0)
            continue;
        if (!Xdotool(std::string("search --onlyvisible --name '^") + title +
                     "$' windowfocus --sync"))
            return false;
        // Wine activates the window when the focus event reaches it.
        for (DWORD wait = GetTickCount(); GetTickCount() - wait < 3000; Sleep(50))
            if (GetForegroundWindow() == window)
                return keysArrive();
        return false;
    }
    return false;
}
