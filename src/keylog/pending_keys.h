// The key events waiting for the next recording tick, free of the platform:
// the window's thread appends, the 4 ms tick takes one event per step.
#pragma once

#include <cstdint>

constexpr int kPendingKeys = 10;

// One 4 ms step of a performance: the key pressed and the key released in it,
// 0 for none.
struct PerformanceRecord {
    uint8_t down;
    uint8_t up;
};

// Event k holds its code in exactly one of the two arrays.
struct PendingKeys {
    uint8_t downs[kPendingKeys];
    uint8_t ups[kPendingKeys];
    int32_t writeCount;
    int32_t readPosition;
};

// Appends one event; false when the queue already holds ten, and the event
// is dropped (more than ten key messages within a few ticks).
bool queueKey(PendingKeys& queue, uint8_t down, uint8_t up);
// The record of one tick: the event at the read position, or (0, 0). Once the
// last event is taken the queue is empty again from its start.
PerformanceRecord takeKey(PendingKeys& queue);
