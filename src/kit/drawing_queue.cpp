#include "kit/drawing_queue.h"

bool DrawingQueue::push(DrawingStep step)
{
    if (count_ == kCapacity)
        return false;
    steps_[(first_ + count_) % kCapacity] = step;
    ++count_;
    return true;
}

bool DrawingQueue::pop(DrawingStep& step)
{
    if (count_ == 0)
        return false;
    step = steps_[first_];
    first_ = (first_ + 1) % kCapacity;
    --count_;
    return true;
}
