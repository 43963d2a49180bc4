// Saving a recording and opening a performance file for replay.
#include "keylog/key_logger.h"

#include <cstring>

#include "util/file_handles.h"
#include "util/message_boxes.h"
#include "util/path_names.h"

namespace {

constexpr char kTitle[] = "ポコポン";

}  // namespace

void KeyLogger::savePerformance()
{
    stopRecording();
    HANDLE file = SaveFileDialog(window, kPerformanceSaveFilter, "pkp");
    if (!file)
        return;  // the records stay for another try
    SetWindowTextA(window, "保存中... - ポコポン");
    DWORD written = 0;
    WriteFile(file, magic, kMagicSize, &written, nullptr);
    WriteFile(file, records, recordCount * sizeof(PerformanceRecord), &written, nullptr);
    CloseAndClear(&file);
    Sleep(500);
    SetWindowTextA(window, kTitle);
    clearRecording();
    ShowInfo(window, "保存しました。");
}

bool KeyLogger::openPerformance(const char* path)
{
    // A replay goes on while the user picks the next file.
    HANDLE file = path ? OpenForRead(path) : OpenFileDialogCopyPath(window, kPerformanceOpenFilter, playPath);
    // Its tick stops before its file is touched: a last tick closes the file
    // and announces the end, and must not do so to the file opened here.
    playTimer.stop();
    bool wasPlaying = playing;
    CloseAndClear(&playFile);
    playFile = file;
    std::strncpy(playName, FileNamePart(path ? path : playPath), sizeof playName - 1);

    char head[kMagicSize] = {};
    DWORD got = 0;
    bool accepted = playFile && ReadFile(playFile, head, kMagicSize, &got, nullptr)
                    && hasPerformanceMagic(head, got);
    if (!accepted) {
        bool opened = playFile != nullptr;
        CloseAndClear(&playFile);
        SetWindowTextA(window, kTitle);
        // A refused or cancelled file leaves the running replay going on.
        if (wasPlaying)
            playTimer.start(period, playbackTick, this);
        if (opened)
            ShowError("このソフトウェアで作成したファイルではありません。");
        return false;
    }

    std::memset(playBuffer, 0, sizeof playBuffer);
    playPosition = 0;
    LARGE_INTEGER size = {};
    GetFileSizeEx(playFile, &size);
    DWORD wanted = static_cast<DWORD>(performanceBytesToRead(static_cast<uint64_t>(size.QuadPart)));
    got = 0;
    ReadFile(playFile, playBuffer, wanted, &got, nullptr);
    // Never more records than were read, whatever the file's size claims.
    playCount = got / sizeof(PerformanceRecord);
    startPlayback();
    return true;
}
