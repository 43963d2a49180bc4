// The performance file, free of the platform: the magic "PKPN00", then one
// two-byte record per 4 ms step; no count, no period.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

constexpr size_t kMagicSize = 6;
constexpr uint32_t kMaxRecords = 500000;               // 2,000 s at 4 ms a step
constexpr size_t kRecordBytes = kMaxRecords * 2;       // the record and playback buffers
constexpr uint32_t kStepMs = 4;
constexpr uint32_t kTicksPerSecond = 1000 / kStepMs;

extern const char kPerformanceMagic[kMagicSize];

// True when the first bytes read (got of them) are the magic.
bool hasPerformanceMagic(const char* head, size_t got);
// The bytes after the magic that fit the playback buffer, and the records
// they hold (an odd last byte is no record).
size_t performanceBytesToRead(uint64_t fileSize);
uint32_t performanceRecordCount(uint64_t fileSize);
// True when the file holds more records than the playback buffer.
bool performanceIsCut(uint64_t fileSize);

// What the player is told of such files.
extern const char kMsgNotPerformance[];
// "このファイルは長すぎるため、最初の33分20秒だけを再生します。"
std::string cutMessage();

// The clock of a recording in the title.
struct RecordingClock {
    int32_t hours;
    int32_t minutes;
    int32_t seconds;
};
RecordingClock clockOf(int32_t elapsedSeconds);
// "REC 00:01:05 - ポコポン" and the like; state is "REC" or "STOP".
void formatClockTitle(char* out, size_t size, const char* state, const RecordingClock& clock);
