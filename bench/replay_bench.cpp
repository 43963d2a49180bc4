// Replay timing: a 60-second performance (15,000 records, a key message at
// every step) replayed into the program's main window, built in this process,
// with the arrival of every replayed key timed in the window procedure; then
// a 20-second recording, its step count set beside the time it ran.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/process_objects.h"
#include "keylog/key_logger.h"
#include "res/resource_ids.h"
#include "support/program_here.h"
#include "support/test_folder.h"

namespace {

WNDPROC programProc;
LARGE_INTEGER frequency;
std::vector<LONGLONG> arrivals;

LRESULT CALLBACK timingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN) {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        arrivals.push_back(now.QuadPart);
    }
    return CallWindowProcA(programProc, window, message, wParam, lParam);
}

double ms(LONGLONG ticks)
{
    return ticks * 1000.0 / frequency.QuadPart;
}

void pumpUntil(bool (*done)(), DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); !done() && GetTickCount() - start < timeoutMs;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

}  // namespace

int main()
{
    QueryPerformanceFrequency(&frequency);
    HWND window = StartProgramHere(
        "44100\r\n4294967295\r\nsounds\\tone.wav,20,127,127,DR_BASS1\r\n", 0.02);
    programProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(timingProc)));

    // Key A, bound to nothing: a down and an up at every step, no sound.
    constexpr int kRecords = 15000;
    std::string file = "PKPN00";
    for (int i = 0; i < kRecords; ++i)
        file += "\x41\x41";
    WriteFileBytes(ExeFolder() + "sixty.pkp", file);
    arrivals.reserve(kRecords);
    keyLogger->openPerformance((ExeFolder() + "sixty.pkp").c_str());
    pumpUntil([] { return arrivals.size() >= static_cast<size_t>(kRecords); }, 90000);
    std::vector<double> gaps;
    for (size_t i = 1; i < arrivals.size(); ++i)
        gaps.push_back(ms(arrivals[i] - arrivals[i - 1]));
    std::sort(gaps.begin(), gaps.end());
    double took = ms(arrivals.back() - arrivals.front()) + 4.0;
    std::printf("replay of %d records (60 s): took %.3f s (%+.2f %%; goal within 0.5 %%),"
                " %zu keys arrived\n",
                kRecords, took / 1000, (took - 60000) / 600, arrivals.size());
    std::printf("interval between ticks: median %.2f ms, 99th percentile %.2f ms, max %.2f ms\n",
                gaps[gaps.size() / 2], gaps[gaps.size() * 99 / 100], gaps.back());

    LARGE_INTEGER t0, t1;
    SendMessageA(window, WM_COMMAND, IDM_START_RECORDING, 0);
    QueryPerformanceCounter(&t0);
    pumpUntil([] { return false; }, 20000);
    SendMessageA(window, WM_COMMAND, IDM_STOP_RECORDING, 0);
    QueryPerformanceCounter(&t1);
    double ran = ms(t1.QuadPart - t0.QuadPart);
    uint32_t steps = keyLogger->recordedSteps();
    std::printf("recording of %.3f s: %u steps, %.3f s at 4 ms (%+.2f %%; goal within 0.5 %%)\n",
                ran / 1000, steps, steps * 0.004, (steps * 4.0 - ran) / ran * 100);
    EndProgramHere();
    return arrivals.size() == static_cast<size_t>(kRecords) ? 0 : 1;
}
