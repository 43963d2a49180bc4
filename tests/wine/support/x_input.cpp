#include "support/x_input.h"

#include "support/test_folder.h"
#include "support/window_find.h"

#include <utility>

namespace {

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

bool RunUnix(const std::string& commandLine)
{
    // Wine starts a Unix program given by its path on drive Z:, but the handle
    // it returns does not follow that program: a shell leaves the exit code in
    // a file instead, which is waited for here.
    std::string status = ExeFolder() + "unix.status";
    DeleteFileA(status.c_str());
    std::string command = "/bin/sh -c \"" + commandLine + "; echo $? > '" + ToUnixPath(status) +
                          ".tmp' && mv '" + ToUnixPath(status) + ".tmp' '" + ToUnixPath(status) +
                          "'\"";
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

bool Xdotool(const std::string& arguments)
{
    return RunUnix("/usr/bin/xdotool " + arguments);
}

bool FocusProgramWindow(HWND window)
{
    // The X window that Wine made for it, once the closing splash has gone.
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    auto xWindow = reinterpret_cast<uintptr_t>(GetPropA(window, "__wine_x11_whole_window"));
    if (!xWindow)
        return false;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(50)) {
        if (visibleDialogs(process) != 0)
            continue;
        if (!Xdotool("windowfocus --sync " + std::to_string(xWindow)))
            return false;
        // Wine activates the window when the focus event reaches it.
        for (DWORD wait = GetTickCount(); GetTickCount() - wait < 3000; Sleep(50))
            if (GetForegroundWindow() == window)
                return keysArrive();
        return false;
    }
    return false;
}

bool TypeIntoFileDialog(DWORD process, const std::string& name)
{
    // The program's file dialogs are the dialogs with a file name field.
    HWND dialog = WaitProcessWindow(process, "#32770", 10000,
                                    [](HWND w) { return GetDlgItem(w, 0x47C) != nullptr; });
    if (!dialog)
        return false;
    Sleep(500);
    if (!Xdotool("type --delay 30 " + name) || !Xdotool("key Return"))
        return false;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(20))
        if (!IsWindowVisible(dialog))
            return true;
    return false;
}
