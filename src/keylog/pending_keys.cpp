#include "keylog/pending_keys.h"

bool queueKey(PendingKeys& queue, uint8_t down, uint8_t up)
{
    if (queue.writeCount >= kPendingKeys)
        return false;
    queue.downs[queue.writeCount] = down;
    queue.ups[queue.writeCount] = up;
    ++queue.writeCount;
    return true;
}

PerformanceRecord takeKey(PendingKeys& queue)
{
    int k = queue.readPosition;
    PerformanceRecord record = {queue.downs[k], queue.ups[k]};
    queue.downs[k] = 0;
    queue.ups[k] = 0;
    if (k + 1 < queue.writeCount) {
        queue.readPosition = k + 1;
    } else {
        queue.readPosition = 0;
        queue.writeCount = 0;
    }
    return record;
}
