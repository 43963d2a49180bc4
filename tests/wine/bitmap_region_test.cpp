// The window region of a bitmap-shaped control, built from runs, against the
// plain construction that cuts one key-colour pixel at a time.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

#include "support/pixel_region.h"
#include "ui/bitmap_region.h"

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);

// A device-dependent face like those loaded from the resources, painted by paint.
HBITMAP face(int width, int height, const std::function<COLORREF(int, int)>& paint)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(dc, x, y, paint(x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

void expectSameRegion(HBITMAP bitmap, int keyed, const std::string& what)
{
    HRGN runs = RegionFromBitmap(bitmap, nullptr);
    HRGN plain = RegionPixelByPixel(bitmap);
    EXPECT_TRUE(EqualRgn(runs, plain)) << what << ": the regions differ";
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    int differing = 0, inside = 0;
    for (int y = 0; y < info.bmHeight; ++y)
        for (int x = 0; x < info.bmWidth; ++x) {
            differing += PtInRegion(runs, x, y) != PtInRegion(plain, x, y) ? 1 : 0;
            inside += PtInRegion(runs, x, y) ? 1 : 0;
        }
    EXPECT_EQ(differing, 0) << what << ": pixels inside one region and not the other";
    EXPECT_EQ(inside, info.bmWidth * info.bmHeight - keyed) << what << ": every other pixel is in";
    DeleteObject(runs);
    DeleteObject(plain);
}

}  // namespace

TEST(BitmapRegion, SameAsCuttingPixelByPixel)
{
    HBITMAP none = face(600, 18, [](int x, int y) { return RGB(x % 256, y * 10, 40); });
    expectSameRegion(none, 0, "no key colour");
    int keyed = 0;
    auto isKeyed = [](int x, int y) { return x < 2 || x >= 598 || (x * 7 + y * 13) % 29 == 0; };
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 600; ++x)
            keyed += isKeyed(x, y) ? 1 : 0;
    HBITMAP some = face(600, 18, [&](int x, int y) {
        if (isKeyed(x, y))
            return kKey;
        return (x + y) % 5 ? RGB(254, 0, 255) : RGB(0, 0, 0);  // near misses and black stay in
    });
    expectSameRegion(some, keyed, "some key colour");
    HBITMAP all = face(40, 18, [](int, int) { return kKey; });
    expectSameRegion(all, 40 * 18, "all key colour");
    DeleteObject(none);
    DeleteObject(some);
    DeleteObject(all);
}

TEST(BitmapRegion, KeyedEdgeColumnsNarrowTheRegion)
{
    HBITMAP edges = face(600, 18, [](int x, int) { return x < 2 || x >= 598 ? kKey : RGB(9, 9, 9); });
    HRGN region = RegionFromBitmap(edges, nullptr);
    RECT box;
    EXPECT_EQ(GetRgnBox(region, &box), SIMPLEREGION) << "one rectangle";
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.right, 598) << "596 wide";
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.bottom, 18);
    DeleteObject(region);
    DeleteObject(edges);

    HBITMAP all = face(40, 18, [](int, int) { return kKey; });
    region = RegionFromBitmap(all, nullptr);
    EXPECT_EQ(GetRgnBox(region, &box), NULLREGION) << "an all-key face has no region";
    DeleteObject(region);
    DeleteObject(all);
}
