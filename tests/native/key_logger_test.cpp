#include <gtest/gtest.h>

#include <string>

#include "keylog/pending_keys.h"
#include "keylog/performance_format.h"

TEST(PendingKeys, EachTickTakesOneEventInOrder)
{
    PendingKeys queue = {};
    EXPECT_TRUE(queueKey(queue, 0x20, 0));
    EXPECT_TRUE(queueKey(queue, 0, 0x20));  // released within the same step
    PerformanceRecord first = takeKey(queue), second = takeKey(queue), third = takeKey(queue);
    EXPECT_EQ(first.down, 0x20);
    EXPECT_EQ(first.up, 0);
    EXPECT_EQ(second.down, 0) << "the key-up waits for the next step";
    EXPECT_EQ(second.up, 0x20);
    EXPECT_EQ(third.down + third.up, 0) << "an empty queue gives an empty step";
    EXPECT_EQ(queue.writeCount, 0);
    EXPECT_EQ(queue.readPosition, 0);
}

TEST(PendingKeys, EleventhEventIsDroppedAndTheQueueStaysWhole)
{
    PendingKeys queue = {};
    for (int i = 0; i < kPendingKeys; ++i)
        EXPECT_TRUE(queueKey(queue, static_cast<uint8_t>(0x41 + i), 0));
    EXPECT_FALSE(queueKey(queue, 0x5A, 0)) << "an eleventh event has no room";
    EXPECT_FALSE(queueKey(queue, 0, 0x5A));
    for (int i = 0; i < kPendingKeys; ++i)
        EXPECT_EQ(takeKey(queue).down, 0x41 + i) << "event " << i;
    EXPECT_EQ(takeKey(queue).down, 0) << "the dropped event never shows up";
    EXPECT_TRUE(queueKey(queue, 0x42, 0)) << "the drained queue takes events again";
    EXPECT_EQ(takeKey(queue).down, 0x42);
}

TEST(PerformanceFormat, MagicAndRecordCount)
{
    EXPECT_TRUE(hasPerformanceMagic("PKPN00\x20\x00", 8));
    EXPECT_FALSE(hasPerformanceMagic("PKPN0", 5)) << "a short file is refused";
    EXPECT_FALSE(hasPerformanceMagic("PKPN01", 6));
    EXPECT_FALSE(hasPerformanceMagic("pkpn00", 6));

    EXPECT_EQ(performanceRecordCount(6), 0u);
    EXPECT_EQ(performanceRecordCount(7), 0u) << "an odd last byte is no record";
    EXPECT_EQ(performanceRecordCount(9), 1u);
    EXPECT_EQ(performanceRecordCount(506), 250u);
    EXPECT_EQ(performanceBytesToRead(6 + kRecordBytes + 101), kRecordBytes)
        << "never more than the playback buffer";
    EXPECT_EQ(performanceRecordCount(6 + kRecordBytes + 101), kMaxRecords)
        << "and never more records than were read";
    EXPECT_EQ(performanceRecordCount(3), 0u);
}

TEST(PerformanceFormat, ClockTitles)
{
    char title[64];
    formatClockTitle(title, sizeof title, "REC", clockOf(1));
    EXPECT_EQ(std::string(title), "REC 00:00:01 - ポコポン");
    formatClockTitle(title, sizeof title, "STOP", clockOf(3600));
    EXPECT_EQ(std::string(title), "STOP 01:00:00 - ポコポン");
    RecordingClock c = clockOf(2000);
    EXPECT_EQ(c.hours * 10000 + c.minutes * 100 + c.seconds, 3320) << "2,000 s is 00:33:20";
}
