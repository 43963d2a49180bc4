#include "keylog/performance_format.h"

#include <cstdio>
#include <cstring>

#include "util/program_title.h"

const char kPerformanceMagic[kMagicSize] = {'P', 'K', 'P', 'N', '0', '0'};

bool hasPerformanceMagic(const char* head, size_t got)
{
    return got >= kMagicSize && std::strncmp(head, kPerformanceMagic, kMagicSize) == 0;
}

size_t performanceBytesToRead(uint64_t fileSize)
{
    if (fileSize <= kMagicSize)
        return 0;
    uint64_t rest = fileSize - kMagicSize;
    return rest < kRecordBytes ? static_cast<size_t>(rest) : kRecordBytes;
}

uint32_t performanceRecordCount(uint64_t fileSize)
{
    return static_cast<uint32_t>(performanceBytesToRead(fileSize) / 2);
}

bool performanceIsCut(uint64_t fileSize)
{
    return fileSize > kMagicSize && (fileSize - kMagicSize) / 2 > kMaxRecords;
}

const char kMsgNotPerformance[] = "このソフトウェアで作成したファイルではありません。";

std::string cutMessage()
{
    char text[160];
    int seconds = static_cast<int>(kMaxRecords / kTicksPerSecond);
    std::snprintf(text, sizeof text, "このファイルは長すぎるため、最初の%d分%d秒だけを再生します。", seconds / 60,
                  seconds % 60);
    return text;
}

RecordingClock clockOf(int32_t elapsedSeconds)
{
    RecordingClock clock;
    clock.hours = elapsedSeconds / 3600;
    clock.minutes = (elapsedSeconds - 3600 * clock.hours) / 60;
    clock.seconds = elapsedSeconds - 3600 * clock.hours - 60 * clock.minutes;
    return clock;
}

void formatClockTitle(char* out, size_t size, const char* state, const RecordingClock& clock)
{
    std::snprintf(out, size, "%s %02d:%02d:%02d - %s", state, clock.hours, clock.minutes, clock.seconds,
                  kProgramTitle);
}
