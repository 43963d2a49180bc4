#include "keylog/tick_timer.h"

#include <mmsystem.h>

void TickTimer::start(UINT periodMs, Tick tick, void* user)
{
    stop();
    tick_ = tick;
    user_ = user;
    halted_ = false;
    // A synchronous kill: once stop has returned no tick runs any more.
    id_ = timeSetEvent(periodMs, 1, onTimer, reinterpret_cast<DWORD_PTR>(this),
                       TIME_PERIODIC | TIME_KILL_SYNCHRONOUS);
}

void TickTimer::stop()
{
    UINT id = id_.exchange(0);
    if (!id)
        return;
    halted_ = true;
    // A tick may be inside SendMessage to this very thread, and the kill
    // waits for running ticks: let that tick end first.
    if (GetCurrentThreadId() != tickThread_) {
        while (inTick_ > 0) {
            MSG msg;
            PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_SENDMESSAGE);
        }
    }
    timeKillEvent(id);
}

void CALLBACK TickTimer::onTimer(UINT, UINT, DWORD_PTR self, DWORD_PTR, DWORD_PTR)
{
    auto* timer = reinterpret_cast<TickTimer*>(self);
    timer->tickThread_ = GetCurrentThreadId();
    ++timer->inTick_;
    if (!timer->halted_)
        timer->tick_(timer->user_);
    --timer->inTick_;
}
