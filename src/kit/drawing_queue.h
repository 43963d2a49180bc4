// The kit's drawing waiting behind the sound: key presses start their voices
// at once and leave the lighting and releasing of their drum parts here, in
// the order the keys came, to be drawn once no key is waiting to sound.
#pragma once

#include <cstdint>

struct DrawingStep {
    int32_t partId;
    bool light;  // Light on a key down, Release on a key up
};

class DrawingQueue {
public:
    static constexpr int kCapacity = 128;

    // False when full: the caller then draws the step itself, in its turn
    // after the waiting ones.
    bool push(DrawingStep step);
    // The oldest step; false when none waits.
    bool pop(DrawingStep& step);

private:
    DrawingStep steps_[kCapacity] = {};
    int first_ = 0;
    int count_ = 0;
};
