#include "support/window_find.h"

#include <cstring>

namespace {

struct Query {
    DWORD process;
    const char* className;
    const std::function<bool(HWND)>* accept;
    HWND found;
};

BOOL CALLBACK match(HWND window, LPARAM parameter)
{
    auto* q = reinterpret_cast<Query*>(parameter);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (process != q->process || std::strcmp(name, q->className) != 0 || !IsWindowVisible(window))
        return TRUE;
    if (*q->accept && !(*q->accept)(window))
        return TRUE;
    q->found = window;
    return FALSE;
}

}  // namespace

HWND FindProcessWindow(DWORD process, const char* className,
                       const std::function<bool(HWND)>& accept)
{
    Query q = {process, className, &accept, nullptr};
    EnumWindows(match, reinterpret_cast<LPARAM>(&q));
    return q.found;
}

HWND WaitProcessWindow(DWORD process, const char* className, DWORD timeoutMs,
                       const std::function<bool(HWND)>& accept)
{
    for (DWORD start = GetTickCount();; Sleep(20)) {
        if (HWND found = FindProcessWindow(process, className, accept))
            return found;
        if (GetTickCount() - start >= timeoutMs)
            return nullptr;
    }
}
