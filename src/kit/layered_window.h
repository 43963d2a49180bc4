// A kit window: a borderless top-level window whose pixels carry their own
// alpha, shown through UpdateLayeredWindow. Its four looks are computed once;
// changing the look copies one of them into the drawing surface. All kit
// windows act as one group: activating one raises them all, and when the
// activation leaves the group they all dim.
#pragma once

#include <windows.h>

#include <cstdint>

class CLAYEREDWINDOW {
public:
    CLAYEREDWINDOW();

    // Makes and shows the window at (x, y) from a colour picture and a grey
    // mask of the same size (24-bit DIB sections). The picture is deleted
    // once copied; the mask is read in place and must stay.
    CLAYEREDWINDOW* Create(int x, int y, HBITMAP picture, HBITMAP mask);
    HWND GetHandle() const { return window; }

    void BuildFrames();
    void ShowFrame(const uint32_t* frame);
    // The drum part sounds: 2 pixels down, lit. Release goes back up, for a
    // part that is lit only.
    void Light();
    void Release();
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The group, walked in creation order.
    static void ShowAll();
    static void MinimiseAll();
    static void DimAll();
    static void EnableDimming();
    // While set, the group's first activation does not restack it: the
    // caller stacks the windows itself (the kit being built).
    static void StackedByCaller(bool on);
    static bool InGroup(HWND window);

protected:
    // Called after the common handling; non-zero lets the default window
    // procedure run too.
    virtual int32_t OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance;

private:
    void moveBy(int dy, UINT flags);
    // The frame, and the window's top-left corner at to unless null.
    void showFrameAt(const uint32_t* frame, POINT* to);
    void showFrameMovedBy(const uint32_t* frame, int dy);

    HWND window = nullptr;
    WNDCLASSA windowClass;
    int x = 0, y = 0;
    SIZE size = {};
    POINT sourcePoint = {0, 0};
    BLENDFUNCTION blend = {};
    HBITMAP picture = nullptr;
    uint8_t* surfaceBits = nullptr;
    const uint8_t* maskBits = nullptr;
    int32_t frameBytes = 0;
    HBITMAP surface = nullptr;
    HDC surfaceDC = nullptr;
    uint32_t* normalFrame = nullptr;
    uint32_t* dimFrame = nullptr;
    uint32_t* hoverFrame = nullptr;
    uint32_t* litFrame = nullptr;
    int litCount = 0;  // lights not yet released
    const uint32_t* shownFrame = nullptr;  // the look on the screen
    TRACKMOUSEEVENT leaveTracking = {};
};
