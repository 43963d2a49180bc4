// The key logger: records the keys that reach the main window on a 4 ms grid,
// saves and opens performance files, and replays them into the main window.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "keylog/pending_keys.h"
#include "keylog/performance_format.h"
#include "keylog/tick_timer.h"
#include "util/file_dialogs.h"

class KeyLogger {
public:
    // Made once, with the main window, for the program's life.
    KeyLogger(HWND window, const char* magic);

    // Recording (menu キーロガー).
    void startRecording();
    void stopRecording();
    bool hasRecording() const { return recordCount != 0; }
    uint32_t recordedSteps() const { return recordCount; }
    // "STOP hh:mm:ss - ポコポン" with the clock last shown.
    const char* stopTitle();
    void clearRecording();
    // Moves a running recording on to step as if it had run that long, so
    // that the capacity limit can be tried without recording for half an hour.
    void skipRecordingTo(uint32_t step);
    // The key-logger items of the menu after a command (0 at creation).
    void updateMenuState(int command);

    // Performance files.
    void savePerformance();
    // Opens the file at path, or asks for one when path is null, and starts
    // its replay; false when no file was accepted.
    bool openPerformance(const char* path);

    // Replay.
    void stopPlayback();
    // Both ticks stopped at the end of the program, titles left as they are.
    void stopTicks();
    void onDropFiles(HDROP drop);

private:
    static void recordingTick(void* self);
    static void playbackTick(void* self);
    void showClock();
    // An information box on a thread of its own: shown from a tick it would
    // hold up every multimedia timer of the program while it is open.
    void announce(const char* message);
    void startPlayback();

    HWND window;
    uint32_t period = kStepMs;
    char magic[kMagicSize];
    PerformanceRecord records[kMaxRecords];
    TickTimer recordTimer;
    uint32_t recordCount = 0;
    int32_t elapsedSeconds = 0;
    uint32_t tickCount = 0;
    // The clock last shown, set by the tick and read by the window's thread.
    std::atomic<int32_t> shownSeconds{0};
    char text[256] = "";

    HANDLE playFile = nullptr;
    char playPath[kDialogPathSize] = "";
    char playName[kDialogPathSize] = "";
    PerformanceRecord playBuffer[kMaxRecords];
    TickTimer playTimer;
    uint32_t playPosition = 0;
    uint32_t playCount = 0;
    std::atomic<bool> playing{false};  // from a start until stopPlayback, on either thread
};

// Called first for every message of the main window: queues the codes of
// WM_KEYDOWN (auto-repeats too) and WM_KEYUP while a recording runs.
void keyHook(UINT message, WPARAM wParam);
