// A periodic multimedia timer that can be stopped from any thread without
// waiting on a tick that is itself waiting for the stopping thread.
#pragma once

#include <windows.h>

#include <atomic>

class TickTimer {
public:
    using Tick = void (*)(void* user);

    // Every periodMs milliseconds at 1 ms resolution, on the platform's
    // multimedia timer thread. A running timer is stopped first.
    void start(UINT periodMs, Tick tick, void* user);
    // No tick starts its work after this returns. On another thread than the
    // ticks' it lets a running tick finish, answering the messages that tick
    // sends meanwhile (the key messages of a replay, a title change).
    void stop();

private:
    static void CALLBACK onTimer(UINT id, UINT, DWORD_PTR self, DWORD_PTR, DWORD_PTR);

    std::atomic<UINT> id_{0};
    std::atomic<bool> halted_{true};
    std::atomic<int> inTick_{0};
    std::atomic<DWORD> tickThread_{0};
    Tick tick_ = nullptr;
    void* user_ = nullptr;
};
