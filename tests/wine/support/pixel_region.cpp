#include "support/pixel_region.h"

HRGN RegionPixelByPixel(HBITMAP bitmap)
{
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    HRGN region = CreateRectRgn(0, 0, info.bmWidth, info.bmHeight);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < info.bmHeight; ++y)
        for (int x = 0; x < info.bmWidth; ++x)
            if (GetPixel(dc, x, y) == RGB(255, 0, 255)) {
                HRGN pixel = CreateRectRgn(x, y, x + 1, y + 1);
                CombineRgn(region, region, pixel, RGN_DIFF);
                DeleteObject(pixel);
            }
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return region;
}
