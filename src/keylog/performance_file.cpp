// Saving a recording and opening a performance file for replay.
#include "keylog/key_logger.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "util/file_contents.h"
#include "util/file_errors.h"
#include "util/file_handles.h"
#include "util/message_boxes.h"
#include "util/path_names.h"
#include "util/program_title.h"

void KeyLogger::savePerformance()
{
    stopRecording();
    char path[kDialogPathSize];
    if (!SaveFileDialog(window, kPerformanceSaveFilter, "pkp", path))
        return;  // the records stay for another try
    SetWindowTextA(window, (std::string("保存中... - ") + kProgramTitle).c_str());
    std::string bytes(magic, kMagicSize);
    bytes.append(reinterpret_cast<const char*>(records), recordCount * sizeof(PerformanceRecord));
    DWORD error = ReplaceFileContents(path, bytes.data(), bytes.size());
    Sleep(500);
    if (error != ERROR_SUCCESS) {
        // The take stays, stopped with its records, so that closing still
        // asks; an older file of that name is as it was.
        SetWindowTextA(window, stopTitle());
        ShowError(("保存できませんでした。\n" + FileErrorReason(error)).c_str());
        return;
    }
    SetWindowTextA(window, kProgramTitle);
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
        // A folder dropped on the window is no performance either.
        DWORD attributes = path ? GetFileAttributesA(path) : INVALID_FILE_ATTRIBUTES;
        bool opened = playFile != nullptr
                      || (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
        CloseAndClear(&playFile);
        SetWindowTextA(window, kProgramTitle);
        // A refused or cancelled file leaves the running replay going on.
        if (wasPlaying)
            playTimer.start(period, playbackTick, this);
        if (opened)
            ShowError(kMsgNotPerformance);
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
    if (performanceIsCut(static_cast<uint64_t>(size.QuadPart)))
        ShowInfo(window, cutMessage().c_str());
    startPlayback();
    return true;
}
