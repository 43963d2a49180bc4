// The outline of a bitmap-shaped control, free of the platform: the runs of
// pixels in each row that are not the key colour RGB(255, 0, 255) exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct PixelRun {
    int y;
    int left;   // first pixel of the run
    int right;  // one past its last pixel
};

// bits: 24-bit pixels (blue, green, red), top row first, stride bytes a row.
std::vector<PixelRun> opaqueRuns(const uint8_t* bits, int width, int height, size_t stride);
