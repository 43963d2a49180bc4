// Replaying a performance: its key messages sent to the main window at the
// recorded 4 ms steps, handled there exactly like typed keys.
#include "keylog/key_logger.h"

#include <shellapi.h>

#include "res/resource_ids.h"
#include "util/debug_trace.h"
#include "util/file_handles.h"
#include "util/program_title.h"
#include "util/window_text.h"

void KeyLogger::startPlayback()
{
    DebugLine("再生");
    SetWindowTextA(window, playName);
    AppendWindowText(window, " - 再生中");
    playing = true;
    playTimer.start(period, playbackTick, this);
}

void KeyLogger::playbackTick(void* self)
{
    auto* logger = static_cast<KeyLogger*>(self);
    if (logger->playPosition >= logger->playCount) {
        logger->stopPlayback();
        CloseAndClear(&logger->playFile);
        logger->announce("再生が終了しました。");
        return;
    }
    PerformanceRecord record = logger->playBuffer[logger->playPosition];
    if (record.down || record.up) {
        char trace[2] = {static_cast<char>(record.down), '\0'};
        DebugLine(trace);
    }
    // Sent, not posted: each key is handled on the window's thread, in order.
    if (record.down)
        SendMessageA(logger->window, WM_KEYDOWN, record.down, 0);
    if (record.up)
        SendMessageA(logger->window, WM_KEYUP, record.up, 0);
    ++logger->playPosition;
}

void KeyLogger::stopPlayback()
{
    DebugLine("再生停止");
    playTimer.stop();
    playing = false;
    playPosition = 0;
    SetWindowTextA(window, kProgramTitle);
}

void KeyLogger::stopTicks()
{
    recordTimer.stop();
    playTimer.stop();
}

void KeyLogger::onDropFiles(HDROP drop)
{
    if (hasRecording())
        SendCommand(window, IDM_STOP_RECORDING);
    char path[256] = "";
    DragQueryFileA(drop, 0, path, sizeof path);
    DragFinish(drop);
    if (openPerformance(path))
        SetWindowTextA(window, playName);
}
