// Finding the top-level windows of a process, as the tests look for a
// program's dialogs, menus and boxes.
#pragma once

#include <windows.h>

#include <functional>

// A visible top-level window of the process with that class for which
// accept (when given) is true, or null.
HWND FindProcessWindow(DWORD process, const char* className,
                       const std::function<bool(HWND)>& accept = {});
// The same, waited for.
HWND WaitProcessWindow(DWORD process, const char* className, DWORD timeoutMs,
                       const std::function<bool(HWND)>& accept = {});
