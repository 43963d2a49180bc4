#include "audio/device_error.h"

#include <windows.h>

#include <atomic>

namespace {

constexpr char kClassName[] = "PokoponDeviceError";
constexpr UINT kDeviceErrorMessage = WM_APP + 1;
constexpr UINT kOutputLostMessage = WM_APP + 2;

HWND receiver;
DeviceErrorReports told;
std::atomic<bool> reported;
std::atomic<bool> lostTold;

LRESULT CALLBACK receiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kDeviceErrorMessage) {
        told.failed(static_cast<int>(wParam));
        return 0;
    }
    if (message == kOutputLostMessage) {
        told.lost();
        lostTold = false;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void prepareDeviceErrorReports(const DeviceErrorReports& reports)
{
    if (receiver)
        return;
    told = reports;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = receiverProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc);
    receiver = CreateWindowExA(0, kClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               wc.hInstance, nullptr);
}

void reportDeviceError(int number)
{
    // One lost device is one message, however many channels notice it.
    if (!reported.exchange(true))
        PostMessageA(receiver, kDeviceErrorMessage, static_cast<WPARAM>(number), 0);
}

void reportOutputLost()
{
    if (!lostTold.exchange(true))
        PostMessageA(receiver, kOutputLostMessage, 0, 0);
}
