#include "ui/bitmap_region.h"

#include <vector>

#include "ui/key_colour_runs.h"

HRGN RegionFromBitmap(HBITMAP bitmap, HWND window)
{
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    int width = info.bmWidth, height = info.bmHeight;

    // All the pixels at once, as 24-bit rows from the top.
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 24;
    size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> bits(stride * height);
    HDC dc = GetDC(window);
    GetDIBits(dc, bitmap, 0, height, bits.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(window, dc);

    std::vector<PixelRun> runs = opaqueRuns(bits.data(), width, height, stride);
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    auto* region = reinterpret_cast<RGNDATA*>(data.data());
    region->rdh.dwSize = sizeof(RGNDATAHEADER);
    region->rdh.iType = RDH_RECTANGLES;
    region->rdh.nCount = static_cast<DWORD>(runs.size());
    region->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    region->rdh.rcBound = {0, 0, width, height};
    auto* rects = reinterpret_cast<RECT*>(region->Buffer);
    for (size_t i = 0; i < runs.size(); ++i)
        rects[i] = {runs[i].left, runs[i].y, runs[i].right, runs[i].y + 1};
    return ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), region);
}
