#include "support/screenshot.h"

#include "support/test_folder.h"

bool SaveScreenshot(const RECT& area, const std::string& name)
{
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return false;
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP picture = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info),
                                       DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, picture);
    bool copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    GdiFlush();

    DWORD rowBytes = (width * 3 + 3) & ~3u;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + rowBytes * height;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
    bytes.append(static_cast<const char*>(bits), rowBytes * height);

    SelectObject(memory, old);
    DeleteObject(picture);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied)
        return false;
    std::string folder = FromUnixPath(POKOPON_ARTEFACT_DIR);
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteFileBytes(folder + "\\" + name, bytes);
    return FileExists(folder + "\\" + name);
}
