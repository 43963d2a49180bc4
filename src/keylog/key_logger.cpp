#include "keylog/key_logger.h"

#include <mmsystem.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "res/resource_ids.h"
#include "util/debug_trace.h"
#include "util/message_boxes.h"
#include "util/program_messages.h"
#include "util/scoped_guards.h"

namespace {

std::atomic<uint8_t> recording;
PendingKeys pending;
CRITICAL_SECTION pendingLock;

void enableItem(HWND window, int id, bool enabled)
{
    EnableMenuItem(GetMenu(window), static_cast<UINT>(id),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

void keyHook(UINT message, WPARAM wParam)
{
    if (!recording || (message != WM_KEYDOWN && message != WM_KEYUP))
        return;
    uint8_t code = static_cast<uint8_t>(wParam & 0xFF);
    LockGuard hold(&pendingLock);
    if (message == WM_KEYDOWN)
        queueKey(pending, code, 0);
    else
        queueKey(pending, 0, code);
}

KeyLogger::KeyLogger(HWND window, const char* magic) : window(window)
{
    std::memcpy(this->magic, magic, kMagicSize);
    InitializeCriticalSection(&pendingLock);
    clearRecording();
    std::memset(playBuffer, 0, sizeof playBuffer);
}

void KeyLogger::clearRecording()
{
    std::memset(records, 0, sizeof records);
    {
        LockGuard hold(&pendingLock);
        pending = PendingKeys{};
    }
    recordCount = 0;
    elapsedSeconds = 0;
    tickCount = 0;
    shownSeconds = 0;
}

void KeyLogger::startRecording()
{
    recording = 1;
    // An earlier recording that was not saved goes without a question.
    clearRecording();
    TIMECAPS caps = {};
    timeGetDevCaps(&caps, sizeof caps);
    timeBeginPeriod(caps.wPeriodMin);
    recordTimer.stop();
    DebugLine("REC");
    recordTimer.start(period, recordingTick, this);
}

void KeyLogger::stopRecording()
{
    // The timer goes first: a tick between the title and the kill would put
    // the REC clock back.
    recordTimer.stop();
    recording = 0;
    char title[64];
    formatClockTitle(title, sizeof title, "STOP", clockOf(shownSeconds));
    SetWindowTextA(window, title);
    DebugLine(title);
}

const char* KeyLogger::stopTitle()
{
    formatClockTitle(text, sizeof text, "STOP", clockOf(shownSeconds));
    return text;
}

void KeyLogger::showClock()
{
    shownSeconds = elapsedSeconds;
    char title[64];
    formatClockTitle(title, sizeof title, "REC", clockOf(elapsedSeconds));
    SetWindowTextA(window, title);
    DebugLine(title);
}

void KeyLogger::recordingTick(void* self)
{
    auto* logger = static_cast<KeyLogger*>(self);
    ++logger->tickCount;
    if (logger->tickCount == 1 && logger->elapsedSeconds == 0)
        logger->showClock();
    if (logger->tickCount > 1000 / logger->period - 1) {
        logger->tickCount = 0;
        ++logger->elapsedSeconds;
        logger->showClock();
    }
    if (logger->recordCount > kMaxRecords - 1) {
        logger->stopRecording();
        logger->announce("これ以上記録できません。\n停止後、ファイルを保存してください。");
        return;
    }
    LockGuard hold(&pendingLock);
    logger->records[logger->recordCount] = takeKey(pending);
    ++logger->recordCount;
}

void KeyLogger::skipRecordingTo(uint32_t step)
{
    LockGuard hold(&pendingLock);
    recordCount = step < kMaxRecords ? step : kMaxRecords;
}

void KeyLogger::announce(const char* message)
{
    HWND owner = window;
    // A context menu left open under the box would keep the keys from it
    // and stay open once it is answered.
    PostMessageA(window, kEndMenusMessage, 0, 0);
    std::thread([owner, message] { ShowInfo(owner, message); }).detach();
}

void KeyLogger::updateMenuState(int command)
{
    // Other commands leave the items as they are, and so does a cancelled
    // save, which keeps the records.
    bool known = command == 0 || command == IDM_START_RECORDING || command == IDM_STOP_RECORDING
                 || command == IDM_SAVE;
    if (!known || (command == IDM_SAVE && hasRecording()))
        return;
    bool recording = command == IDM_START_RECORDING;
    enableItem(window, IDM_START_RECORDING, !recording);
    enableItem(window, IDM_STOP_RECORDING, recording);
    enableItem(window, IDM_SAVE, command == IDM_STOP_RECORDING);
}
