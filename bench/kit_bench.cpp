// The kit's costs: building all fifteen windows with their four looks, one
// Light plus Release, as a key press and its release pay them, and the hit
// tests that come with every move of the mouse over a part.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "kit/kit_button.h"
#include "res/resource_ids.h"
#include "ui/loading_splash.h"
#include "util/resource_bitmap.h"

namespace {

double milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return (to.QuadPart - from.QuadPart) * 1000.0 / f.QuadPart;
}

void pumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// A 32-bit surface of side by side pixels in a memory DC, for the floors'
// bare layered windows.
class BareSurface {
public:
    explicit BareSurface(int side) : side(side)
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof info.bmiHeader, side, side, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        dc = CreateCompatibleDC(screen);
        old = SelectObject(dc, bitmap);
        ReleaseDC(nullptr, screen);
    }
    ~BareSurface()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    // The surface on window, its top-left corner at to unless null.
    void show(HWND window, POINT* to)
    {
        SIZE size = {side, side};
        POINT from = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(window, nullptr, to, &size, dc, &from, 0, &blend, ULW_ALPHA);
    }

private:
    int side;
    HBITMAP bitmap;
    HDC dc;
    HGDIOBJ old;
};

// The floor under Light + Release: Wine's own layered-window path with
// nothing of the kit's around it. A bare layered window of DR_BASS1's size,
// 180 by 180, shown twice with a move of 2 pixels down and back, as a key
// press and its release show it: the median of 500.
double layeredFloor()
{
    constexpr int kSize = 180;
    HWND window = CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE,
                                  100, 100, kSize, kSize, nullptr, nullptr, nullptr, nullptr);
    BareSurface surface(kSize);
    POINT down = {100, 102}, up = {100, 100};
    std::vector<double> times;
    for (int i = 0; i < 500; ++i) {
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        surface.show(window, &down);
        surface.show(window, &up);
        QueryPerformanceCounter(&t1);
        times.push_back(milliseconds(t0, t1));
        pumpMessages();
    }
    DestroyWindow(window);
    std::sort(times.begin(), times.end());
    return times[250];
}

// The floor under BuildKit: Wine's own cost of fifteen layered windows of the
// kit's sizes, each made visible and shown one frame, then stacked with the
// first and the last activated, as the kit is; nothing of the kit's pixel
// work. Destroyed again before the kit is built.
double buildFloor()
{
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    HWND windows[15];
    for (int i = 0; i < 15; ++i) {
        int side = i == 3 ? 180 : i == 13 ? 80 : 168;
        DWORD exStyle = i == 0 ? WS_EX_LAYERED : WS_EX_LAYERED | WS_EX_TOOLWINDOW;
        windows[i] = CreateWindowExA(exStyle, "STATIC", "", WS_POPUP | WS_VISIBLE, 200 + 40 * i,
                                     300, side, side, nullptr, nullptr, nullptr, nullptr);
        BareSurface(side).show(windows[i], nullptr);
    }
    for (int i = 0; i < 15; ++i)
        SetWindowPos(windows[i], HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | (i == 0 || i == 14 ? 0 : SWP_NOACTIVATE));
    QueryPerformanceCounter(&t1);
    for (HWND window : windows)
        DestroyWindow(window);
    pumpMessages();
    return milliseconds(t0, t1);
}

}  // namespace

int main()
{
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               nullptr, nullptr);
    LoadingSplash splash(LoadResourceBitmap(IDB_LOADING_SPLASH));
    splash.CloseSplash();  // as in the program: the kit is built while the splash goes
    double bareBuild = buildFloor();
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    BuildKit(owner, &splash);
    QueryPerformanceCounter(&t1);
    double build = milliseconds(t0, t1);

    std::vector<double> times;
    for (int i = 0; i < 500; ++i) {
        QueryPerformanceCounter(&t0);
        LightPart(3);
        ReleasePart(3);
        QueryPerformanceCounter(&t1);
        times.push_back(milliseconds(t0, t1));
        pumpMessages();
    }
    std::sort(times.begin(), times.end());

    // The first hit test shows the hover look; the rest find it shown.
    std::vector<double> hits;
    HWND part = kitParts[3]->GetHandle();
    for (int i = 0; i < 500; ++i) {
        QueryPerformanceCounter(&t0);
        SendMessageA(part, WM_NCHITTEST, 0, MAKELPARAM(850, 470));
        QueryPerformanceCounter(&t1);
        hits.push_back(milliseconds(t0, t1));
    }
    std::sort(hits.begin(), hits.end());
    double floor = layeredFloor();
    std::printf("BuildKit: %.1f ms for 15 windows (goal: under 100 ms); floor, 15 bare layered"
                " windows of the kit's sizes made, shown and stacked: %.1f ms; program against"
                " floor %.2f\n",
                build, bareBuild, build / bareBuild);
    std::printf("Light + Release of DR_BASS1 (500 times): median %.3f ms, 99th percentile"
                " %.3f ms (goal: under 1 ms); floor, a bare layered window of that size shown"
                " moved down and back: median %.3f ms; program against floor %.2f\n",
                times[250], times[495], floor, times[250] / floor);
    std::printf("WM_NCHITTEST on a hovered part (500 times): median %.3f ms, 99th percentile"
                " %.3f ms\n",
                hits[250], hits[495]);
    return 0;
}
