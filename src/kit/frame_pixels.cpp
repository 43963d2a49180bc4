#include "kit/frame_pixels.h"

namespace {

uint32_t clampChannel(int value)
{
    return value <= 0 ? 0u : value > 255 ? 255u : static_cast<uint32_t>(value);
}

}  // namespace

void tintFrame(uint32_t* frame, size_t pixelCount, const uint8_t* mask, const Tint& tint)
{
    for (size_t i = 0; i < pixelCount; ++i) {
        uint32_t p = frame[i];
        uint32_t a = mask[i * 3];
        // 256, not 255: an opaque white pixel is stored as 254.
        uint32_t r = clampChannel(static_cast<int>((p >> 16) & 0xFF) + tint.red) * a / 256;
        uint32_t g = clampChannel(static_cast<int>((p >> 8) & 0xFF) + tint.green) * a / 256;
        uint32_t b = clampChannel(static_cast<int>(p & 0xFF) + tint.blue) * a / 256;
        frame[i] = a << 24 | r << 16 | g << 8 | b;
    }
}
