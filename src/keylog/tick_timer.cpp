#include "keylog/tick_timer.h"

#include <mmsystem.h>

void TickTimer::start(UINT periodMs, Tick tick, void* user)
{
    stop();
    tick_ = tick;
    user_ = user;
    halted_ = false;
    // Not TIME_KILL_SYNCHRONOUS: the platform runs both ticks of the program
    // on one thread, and a synchronous kill of one waits for a running
    // callback of the other, which may itself wait on the killing thread.
    // stop() waits for this timer's own tick instead.
    id_ = timeSetEvent(periodMs, 1, onTimer, reinterpret_cast<DWORD_PTR>(this), TIME_PERIODIC);
}

void TickTimer::stop()
{
    halted_ = true;
    if (UINT id = id_.exchange(0))
        timeKillEvent(id);
    // A tick may be inside SendMessage to this very thread: answer what it
    // sends until it has ended. On the tick's own thread (a tick stopping
    // itself) there is nothing to wait for.
    if (GetCurrentThreadId() == tickThread_)
        return;
    while (inTick_ > 0) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_SENDMESSAGE);
    }
}

void CALLBACK TickTimer::onTimer(UINT id, UINT, DWORD_PTR self, DWORD_PTR, DWORD_PTR)
{
    auto* timer = reinterpret_cast<TickTimer*>(self);
    timer->tickThread_ = GetCurrentThreadId();
    ++timer->inTick_;
    // A callback of a timer already killed, or of an earlier one, does nothing.
    if (!timer->halted_ && id == timer->id_)
        timer->tick_(timer->user_);
    --timer->inTick_;
}
