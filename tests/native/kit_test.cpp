#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "kit/drawing_queue.h"
#include "kit/frame_pixels.h"
#include "kit/kit_layout.h"

namespace {

uint32_t tinted(uint32_t pixel, uint8_t alpha, const Tint& tint)
{
    const uint8_t mask[3] = {alpha, 0x11, 0x22};  // only the first byte counts
    tintFrame(&pixel, 1, mask, tint);
    return pixel;
}

}  // namespace

TEST(FramePixels, TransparentStaysTransparentInEveryLook)
{
    for (const Tint& tint : {kNormalTint, kHoverTint, kDimTint, kLitTint})
        EXPECT_EQ(tinted(0xFFFFFFFFu, 0, tint), 0u) << "mask 0 gives four zero bytes";
}

TEST(FramePixels, OpaqueWhiteIs254AfterTheClamp)
{
    EXPECT_EQ(tinted(0x00FFFFFFu, 255, kNormalTint), 0xFFFEFEFEu);
    EXPECT_EQ(tinted(0x00FFFFFFu, 255, kLitTint), 0xFFFEFEFEu) << "clamped to 255 first";
    EXPECT_EQ(tinted(0x00FFFFFFu, 255, kHoverTint), 0xFFFEFEFEu);
}

TEST(FramePixels, DimDropsDarkChannelsAndHalfMaskHalves)
{
    // Red 70, green 72, blue 50: dim takes 70 from red and green, 50 from
    // blue; the green 2 left is premultiplied down to 1.
    EXPECT_EQ(tinted(0x00464832u, 255, kDimTint), 0xFF000100u);
    EXPECT_EQ(tinted(0x00FF8000u, 128, kNormalTint), 0x80000000u | 127u << 16 | 64u << 8)
        << "premultiplied by 128/256";
    EXPECT_EQ(tinted(0x00000000u, 255, kHoverTint), 0xFF000000u | 9u << 16 | 59u << 8 | 89u);
}

TEST(FramePixels, EveryPixelUsesItsOwnMaskByte)
{
    uint32_t frame[3] = {0x00FFFFFFu, 0x00FFFFFFu, 0x00FFFFFFu};
    const uint8_t mask[9] = {0, 9, 9, 255, 9, 9, 128, 9, 9};
    tintFrame(frame, 3, mask, kNormalTint);
    EXPECT_EQ(frame[0], 0u);
    EXPECT_EQ(frame[1], 0xFFFEFEFEu);
    EXPECT_EQ(frame[2], 0x807F7F7Fu);
}

TEST(KitLayout, PositionsOnA1920By1080Screen)
{
    ScreenPoint bass = kitScreenPosition(254, 90, 1920, 1080);
    EXPECT_EQ(bass.x, 844) << "960 - 115.2, truncated";
    EXPECT_EQ(bass.y, 468);
    ScreenPoint middle = kitScreenPosition(350, 150, 1921, 1081);
    EXPECT_EQ(middle.x, 960) << "the halves by integer division";
    EXPECT_EQ(middle.y, 540);
    ScreenPoint splash = kitScreenPosition(224, 20, 1024, 768);
    EXPECT_EQ(splash.x, 360) << "512 - 151.2 truncates to 360";
    EXPECT_EQ(splash.y, 228);
}

TEST(KitLayout, CreationAndStackingCoverTheFifteenWindows)
{
    EXPECT_EQ(kKitCreationOrder[0], 0) << "DR_CLASH is made first: it has the taskbar button";
    for (const int* order : {kKitCreationOrder, kKitStackingOrder}) {
        int sorted[kKitWindows];
        std::copy(order, order + kKitWindows, sorted);
        std::sort(sorted, sorted + kKitWindows);
        EXPECT_TRUE(std::equal(sorted, sorted + kKitWindows, kKitCreationOrder))
            << "each part with a window exactly once";
        for (int i = 0; i < kKitWindows; ++i)
            EXPECT_TRUE(kKitLayout[order[i]].hasWindow) << "part " << order[i];
    }
    EXPECT_EQ(kKitStackingOrder[0], 3) << "DR_BASS1 at the bottom";
    EXPECT_EQ(kKitStackingOrder[kKitWindows - 1], 14) << "DR_COWBELL on top";
    for (int part : {5, 15, 16})
        EXPECT_FALSE(kKitLayout[part].hasWindow) << "part " << part << " has no picture";
}

TEST(DrawingQueue, KeepsTheKeysOrderAcrossTheWrapAndRefusesWhenFull)
{
    DrawingQueue queue;
    DrawingStep step;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < DrawingQueue::kCapacity; ++i)
            ASSERT_TRUE(queue.push({i, i % 2 == 0}));
        EXPECT_FALSE(queue.push({99, true})) << "full: the caller draws it itself";
        for (int i = 0; i < DrawingQueue::kCapacity; ++i) {
            ASSERT_TRUE(queue.pop(step));
            EXPECT_EQ(step.partId, i);
            EXPECT_EQ(step.light, i % 2 == 0);
        }
        EXPECT_FALSE(queue.pop(step)) << "empty once every step is taken";
        queue.push({7, true});  // moves the start, so the next round wraps
        queue.pop(step);
    }
}
