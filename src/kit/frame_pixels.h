// The pixel work of a kit window, free of the platform: a colour picture and
// a grey mask become premultiplied 32-bit frames, once, when the window is
// made; at run time a change of look is one copy of a ready frame.
#pragma once

#include <cstddef>
#include <cstdint>

// The tints of the four looks, as red, green and blue offsets.
struct Tint {
    int red;
    int green;
    int blue;
};
constexpr Tint kNormalTint = {0, 0, 0};
constexpr Tint kHoverTint = {10, 60, 90};
constexpr Tint kDimTint = {-70, -70, -50};
constexpr Tint kLitTint = {70, 70, 70};

// Tints pixelCount pixels of frame in place (32-bit words A<<24|R<<16|G<<8|B,
// the top byte ignored on input), clamps each channel to 0..255 and
// premultiplies it by the mask's first byte of the same pixel (mask: 3 bytes
// a pixel, packed) with a divisor of 256; the mask byte becomes the alpha.
void tintFrame(uint32_t* frame, size_t pixelCount, const uint8_t* mask, const Tint& tint);
