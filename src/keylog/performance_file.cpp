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
    if (playFile)
        CloseAndClear(&playFile);
    if (path) {
        playFile = OpenForRead(path);
        std::strncpy(playName, FileNamePart(path), sizeof playName - 1);
    } else {
        playFile = OpenFileDialogCopyPath(window, kPerformanceOpenFilter, playPath);
        std::strncpy(playName, FileNamePart(playPath), sizeof playName - 1);
    }
    if (!playFile) {
        SetWindowTextA(window, kTitle);
        return false;
    }

    char head[kMagicSize] = {};
    DWORD got = 0;
    ReadFile(playFile, head, kMagicSize, &got, nullptr);
    if (!hasPerformanceMagic(head, got)) {
        ShowError("このソフトウェアで作成したファイルではありません。");
        CloseAndClear(&playFile);
        SetWindowTextA(window, kTitle);
        return false;
    }

    // No tick may read the buffer while it is refilled.
    playTimer.stop();
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
