// Any bytes as a performance file, read as the player reads one and replayed
// into the recorder's queue as the key hook and the tick would take them:
// nothing may be read or written outside the buffers.
#include <cstdint>
#include <cstring>

#include "fuzz_check.h"
#include "keylog/pending_keys.h"
#include "keylog/performance_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static PerformanceRecord buffer[kMaxRecords];
    const char* bytes = reinterpret_cast<const char*>(data);
    if (!hasPerformanceMagic(bytes, size))
        return 0;
    size_t wanted = performanceBytesToRead(size);
    check(wanted <= sizeof buffer && kMagicSize + wanted <= size);
    std::memcpy(buffer, bytes + kMagicSize, wanted);
    uint32_t count = static_cast<uint32_t>(wanted / sizeof(PerformanceRecord));
    check(count == performanceRecordCount(size) && count <= kMaxRecords);

    // Every replayed key reaches the hook twice per record at most, while the
    // tick takes one event per step: the queue must stay within its ten.
    PendingKeys queue = {};
    uint32_t taken = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const PerformanceRecord& r = buffer[i];
        if (r.down)
            queueKey(queue, r.down, 0);
        if (r.up)
            queueKey(queue, 0, r.up);
        check(queue.writeCount >= 0 && queue.writeCount <= kPendingKeys);
        check(queue.readPosition >= 0 && queue.readPosition < kPendingKeys);
        if (data[i % size] & 1) {
            PerformanceRecord step = takeKey(queue);
            check(!(step.down && step.up));
            taken += step.down || step.up;
        }
    }
    char title[64];
    formatClockTitle(title, sizeof title, "REC", clockOf(static_cast<int32_t>(count / kTicksPerSecond)));
    check(std::memchr(title, '\0', sizeof title) != nullptr && taken <= 2 * count);
    return 0;
}
