#include "support/box_watch.h"

#include <algorithm>

// The program's MessageBoxA calls go through this import entry of the test
// program; pointing it at a recorder shows the style word of each call.
#ifdef _WIN64
extern "C" decltype(&MessageBoxA) __imp_MessageBoxA;
#else
extern "C" decltype(&MessageBoxA) __imp_MessageBoxA __asm__("__imp__MessageBoxA@16");  // the stdcall name
#endif

namespace {

constexpr int kFileNameField = 0x47C;

constexpr int kMessageTextId = 0xFFFF;
constexpr int kMessageIconId = 0x0440;  // the icon control of the platform's boxes

struct BoxCall {
    std::string text, caption;
    UINT style;
    bool matched;
};

std::mutex callsMutex;
std::vector<BoxCall> calls;
decltype(&MessageBoxA) realMessageBox;

int WINAPI recordingMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    {
        std::lock_guard<std::mutex> lock(callsMutex);
        calls.push_back({text ? text : "", caption ? caption : "", style, false});
    }
    return realMessageBox(owner, text, caption, style);
}

void recordMessageBoxCalls()
{
    std::lock_guard<std::mutex> lock(callsMutex);
    if (realMessageBox)
        return;
    realMessageBox = __imp_MessageBoxA;
    DWORD old = 0;
    VirtualProtect(&__imp_MessageBoxA, sizeof(void*), PAGE_READWRITE, &old);
    __imp_MessageBoxA = recordingMessageBox;
    VirtualProtect(&__imp_MessageBoxA, sizeof(void*), old, &old);
}

// The style of the first unmatched call that showed this text and caption.
bool takeStyle(const SeenBox& box, UINT* style)
{
    std::lock_guard<std::mutex> lock(callsMutex);
    for (BoxCall& call : calls)
        if (!call.matched && call.text == box.text && call.caption == box.caption) {
            call.matched = true;
            *style = call.style;
            return true;
        }
    return false;
}

}  // namespace

BoxWatch::BoxWatch(std::vector<int> answers, DWORD processId)
    : BoxWatch(processId,
               [answers = std::move(answers), next = size_t(0)](const SeenBox&) mutable {
                   return next < answers.size() ? answers[next++] : IDOK;
               })
{
}

BoxWatch::BoxWatch(DWORD processId, std::function<int(const SeenBox&)> choose)
    : processId_(processId), choose_(std::move(choose))
{
    if (processId_ == GetCurrentProcessId())
        recordMessageBoxCalls();
    thread_ = std::thread([this] { run(); });
}

BoxWatch::~BoxWatch()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    thread_.join();
}

void BoxWatch::follow(DWORD processId)
{
    processId_ = processId;
}

std::vector<SeenBox> BoxWatch::seen()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

bool BoxWatch::waitFor(size_t count, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (seen_.size() >= count)
                return true;
        }
        Sleep(20);
    }
    return false;
}

void BoxWatch::run()
{
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stop_)
                return;
            // Forget boxes that are gone, so that a reused handle is seen anew.
            std::erase_if(answered_, [](HWND w) { return !IsWindow(w); });
        }
        EnumWindows(
            [](HWND w, LPARAM self) CALLBACK -> BOOL {
                reinterpret_cast<BoxWatch*>(self)->look(w);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(this));
        Sleep(20);
    }
}

void BoxWatch::look(HWND window)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[64] = "";
    GetClassNameA(window, cls, sizeof cls);
    if (pid != processId_ || std::string(cls) != "#32770" || !IsWindowVisible(window))
        return;
    // A box has buttons, which the loading splash has not, and no field to
    // type into, which the file dialogs and the slot edit dialog have.
    if (!FindWindowExA(window, nullptr, "Button", nullptr) || GetDlgItem(window, kFileNameField) ||
        FindWindowExA(window, nullptr, "Edit", nullptr))
        return;

    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (std::find(answered_.begin(), answered_.end(), window) != answered_.end())
            return;
        answered_.push_back(window);
    }
    // Let the box finish drawing its controls before reading them.
    Sleep(50);

    SeenBox box;
    char buffer[1024] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    box.caption = buffer;
    buffer[0] = '\0';
    GetDlgItemTextA(window, kMessageTextId, buffer, sizeof buffer);
    box.text = buffer;
    if (processId_ == GetCurrentProcessId()) {
        box.styleKnown = takeStyle(box, &box.style);
        box.topmost = (box.style & MB_TOPMOST) != 0;
    }
    HWND icon = GetDlgItem(window, kMessageIconId);
    if (icon && IsWindowVisible(icon))
        box.icon = reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0));
    auto visible = [&](int id) {
        HWND b = GetDlgItem(window, id);
        return b && IsWindowVisible(b);
    };
    box.hasOk = visible(IDOK);
    box.hasCancel = visible(IDCANCEL);
    box.hasYes = visible(IDYES);
    box.hasNo = visible(IDNO);
    box.owner = GetWindow(window, GW_OWNER);

    {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(box);
    }
    int answer = choose_(box);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, answer)));
}

std::string utf8(const std::string& sjis)
{
    wchar_t wide[1024];
    int n = MultiByteToWideChar(932, 0, sjis.data(), static_cast<int>(sjis.size()), wide, 1024);
    char out[4096];
    int m = WideCharToMultiByte(CP_UTF8, 0, wide, n, out, sizeof out, nullptr, nullptr);
    return std::string(out, static_cast<size_t>(m));
}
