// LoadResourceBitmap on the bitmaps of util_test.rc, built into this program.
#include <gtest/gtest.h>

#include <windows.h>

#include "util/resource_bitmap.h"

namespace {

constexpr int kRed = 0x0102;   // 7x5, every pixel red
constexpr int kBlue = 0x0201;  // 3x2, every pixel blue

// The bitmap is a DIB section of that size, 24 bits deep, every pixel readable
// and of that colour.
void expectBitmap(int number, int width, int height, COLORREF colour)
{
    HBITMAP bitmap = LoadResourceBitmap(number);
    ASSERT_NE(bitmap, nullptr) << "bitmap " << number << " did not load";
    DIBSECTION dib{};
    EXPECT_EQ(GetObjectA(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib))
        << "a DIB section was expected, not a device-dependent bitmap";
    ASSERT_NE(dib.dsBm.bmBits, nullptr) << "the pixels of a DIB section are readable";
    EXPECT_EQ(dib.dsBm.bmWidth, width);
    EXPECT_EQ(dib.dsBm.bmHeight, height);
    ASSERT_EQ(dib.dsBm.bmBitsPixel, 24) << "the resource's own depth is kept";
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto* p = static_cast<unsigned char*>(dib.dsBm.bmBits) + y * dib.dsBm.bmWidthBytes + 3 * x;
            ASSERT_EQ(RGB(p[2], p[1], p[0]), colour) << "pixel " << x << "," << y;
        }
    DeleteObject(bitmap);
}

}  // namespace

TEST(ResourceBitmap, LoadsTheNumberedBitmapOfTheProgram)
{
    expectBitmap(kRed, 7, 5, RGB(255, 0, 0));
    expectBitmap(kBlue, 3, 2, RGB(0, 0, 255));
}

TEST(ResourceBitmap, OnlyTheLow16BitsNameTheBitmap)
{
    expectBitmap(0x10000 + kRed, 7, 5, RGB(255, 0, 0));
    expectBitmap(0x7FFF0000 + kBlue, 3, 2, RGB(0, 0, 255));
}

TEST(ResourceBitmap, MissingBitmapIsNull)
{
    EXPECT_EQ(LoadResourceBitmap(0x0103), nullptr) << "no bitmap has id 0x103";
}
