// The key path timed inside the program's own window procedure: from a
// WM_KEYDOWN arriving to its return, with the voice started on the engine.
// The main window is built in this process as the program builds it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "support/program_here.h"

namespace {

LARGE_INTEGER frequency;

double microseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    return (to.QuadPart - from.QuadPart) * 1e6 / frequency.QuadPart;
}

// 1000 presses of two keys in turn, so that every press sounds; each is
// followed by its auto-repeat (dropped) and, untimed, its release.
void measure(HWND window, WPARAM first, WPARAM second, const char* what)
{
    std::vector<double> sounding, repeats;
    for (int i = 0; i < 1000; ++i) {
        WPARAM key = i % 2 ? second : first;
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        SendMessageA(window, WM_KEYDOWN, key, 0);
        QueryPerformanceCounter(&t1);
        SendMessageA(window, WM_KEYDOWN, key, 0x40000000);
        QueryPerformanceCounter(&t2);
        SendMessageA(window, WM_KEYUP, key, 0);
        sounding.push_back(microseconds(t0, t1));
        repeats.push_back(microseconds(t1, t2));
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(3);
    }
    std::sort(sounding.begin(), sounding.end());
    std::sort(repeats.begin(), repeats.end());
    std::printf("%s: key down that sounds, median %.1f us, 99th percentile %.1f us, max %.1f us"
                " (goal: median under 100 us); auto-repeat dropped, median %.1f us\n",
                what, sounding[500], sounding[990], sounding.back(), repeats[500]);
}

}  // namespace

int main()
{
    QueryPerformanceFrequency(&frequency);
    HWND window = StartProgramHere("44100\r\n4294967295\r\n"
                                   "sounds\\tone.wav,20,127,127,DR_BASS1\r\n"
                                   "sounds\\tone.wav,4d,127,127,DR_SNARE1\r\n"
                                   "sounds\\tone.wav,41,127,127,DR_SNARE2\r\n"
                                   "sounds\\tone.wav,53,127,127,DR_SNARE3\r\n",
                                   0.03);
    measure(window, 0x41, 0x53, "parts without a kit window (the sound alone)");
    measure(window, 0x20, 0x4D, "parts lit on the kit (sound and drawing)");
    EndProgramHere();
    return 0;
}
