#include "kit/layered_window.h"

#include <cstring>
#include <initializer_list>

#include "kit/frame_pixels.h"
#include "util/scoped_guards.h"

namespace {

constexpr char kClassName[] = "LayeredWindow";
constexpr char kCreatedProperty[] = "CREATED_WINDOW";
constexpr int kRegistrySize = 100;
constexpr int kPressOffset = 2;
constexpr UINT kMoveFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;

// The group: every kit window in creation order, and its shared state.
HWND registeredWindows[kRegistrySize];
CLAYEREDWINDOW* registeredObjects[kRegistrySize];
int registeredCount;
int createdCount;
bool pressedFlag;
bool kitActive;
bool kitRaised;
bool stackedByCaller;
bool dimmingEnabled;
bool trackingPointer;

LRESULT CALLBACK LayeredWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Messages of a window still being made go to the default procedure.
    if (!GetPropA(window, kCreatedProperty))
        return DefWindowProcA(window, message, wParam, lParam);
    for (int i = 0; i < kRegistrySize && registeredWindows[i]; ++i)
        if (registeredWindows[i] == window)
            return registeredObjects[i]->HandleMessage(window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool CLAYEREDWINDOW::InGroup(HWND window)
{
    for (int i = 0; i < createdCount && i < kRegistrySize; ++i)
        if (registeredWindows[i] == window)
            return true;
    return false;
}

CLAYEREDWINDOW::CLAYEREDWINDOW() : instance(GetModuleHandleA(nullptr))
{
    std::memset(&windowClass, 0, sizeof windowClass);
    windowClass.lpfnWndProc = LayeredWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(17));
    windowClass.lpszClassName = kClassName;
    windowClass.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32641));
    RegisterClassA(&windowClass);  // fails harmlessly once the class exists
}

CLAYEREDWINDOW* CLAYEREDWINDOW::Create(int x, int y, HBITMAP picture, HBITMAP mask)
{
    this->x = x;
    this->y = y;
    this->picture = picture;
    blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    BITMAP maskInfo = {};
    GetObjectA(mask, sizeof maskInfo, &maskInfo);
    size = {maskInfo.bmWidth, maskInfo.bmHeight};
    maskBits = static_cast<const uint8_t*>(maskInfo.bmBits);

    // Only the first kit window has a taskbar button.
    DWORD exStyle = createdCount == 0 ? WS_EX_LAYERED : WS_EX_LAYERED | WS_EX_TOOLWINDOW;
    // Made at its final size: the first frame then only fills it.
    window = CreateWindowExA(exStyle, kClassName, "", WS_POPUP | WS_VISIBLE, x, y, size.cx, size.cy,
                             nullptr, nullptr, instance, nullptr);
    ++createdCount;
    BuildFrames();
    SetPropA(window, kCreatedProperty, this);
    if (registeredCount < kRegistrySize) {
        registeredWindows[registeredCount] = window;
        registeredObjects[registeredCount] = this;
        ++registeredCount;
    }
    leaveTracking.cbSize = sizeof leaveTracking;
    leaveTracking.dwFlags = TME_LEAVE;
    leaveTracking.hwndTrack = window;
    return this;
}

void CLAYEREDWINDOW::BuildFrames()
{
    BITMAPV5HEADER header = {};
    header.bV5Size = sizeof header;
    header.bV5Width = size.cx;
    header.bV5Height = size.cy;  // bottom row first
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    HDC screen = GetDC(nullptr);
    void* bits = nullptr;
    surface = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                               &bits, nullptr, 0);
    surfaceBits = static_cast<uint8_t*>(bits);
    frameBytes = size.cx * size.cy * 4;
    size_t pixels = static_cast<size_t>(size.cx) * size.cy;
    normalFrame = new uint32_t[pixels];
    dimFrame = new uint32_t[pixels];
    hoverFrame = new uint32_t[pixels];
    litFrame = new uint32_t[pixels];

    // The picture's pixels into the surface; their fourth byte is ignored.
    {
        SelectedDC from(screen, picture), to(screen, surface);
        BitBlt(to.get(), 0, 0, size.cx, size.cy, from.get(), 0, 0, SRCCOPY | CAPTUREBLT);
    }
    DeleteObject(picture);
    picture = nullptr;
    GdiFlush();
    for (uint32_t* frame : {normalFrame, dimFrame, hoverFrame, litFrame})
        std::memcpy(frame, surfaceBits, frameBytes);

    HDC windowDC = GetDC(window);
    surfaceDC = CreateCompatibleDC(windowDC);
    SelectObject(surfaceDC, surface);
    ReleaseDC(window, windowDC);
    ReleaseDC(nullptr, screen);

    tintFrame(normalFrame, pixels, maskBits, kNormalTint);
    tintFrame(hoverFrame, pixels, maskBits, kHoverTint);
    tintFrame(dimFrame, pixels, maskBits, kDimTint);
    tintFrame(litFrame, pixels, maskBits, kLitTint);
    ShowFrame(normalFrame);
}

void CLAYEREDWINDOW::ShowFrame(const uint32_t* frame)
{
    showFrameAt(frame, nullptr);
}

void CLAYEREDWINDOW::showFrameAt(const uint32_t* frame, POINT* to)
{
    shownFrame = frame;
    std::memcpy(surfaceBits, frame, frameBytes);
    UpdateLayeredWindow(window, nullptr, to, &size, surfaceDC, &sourcePoint, 0, &blend, ULW_ALPHA);
}

void CLAYEREDWINDOW::showFrameMovedBy(const uint32_t* frame, int dy)
{
    // Under Wine each call to the window system costs about a millisecond:
    // the move and the look go in one.
    RECT r;
    GetWindowRect(window, &r);
    POINT to = {r.left, r.top + dy};
    showFrameAt(frame, &to);
}

void CLAYEREDWINDOW::moveBy(int dy, UINT flags)
{
    RECT r;
    GetWindowRect(window, &r);
    SetWindowPos(window, nullptr, r.left, r.top + dy, 0, 0, flags);
}

void CLAYEREDWINDOW::Light()
{
    if (!window)
        return;
    ++litCount;
    showFrameMovedBy(litFrame, kPressOffset);
}

void CLAYEREDWINDOW::Release()
{
    // A key-up without its key-down (a stray one, or a key whose entry never
    // sounds) must not move the part up off its place.
    if (!window || litCount == 0)
        return;
    --litCount;
    showFrameMovedBy(kitActive ? normalFrame : dimFrame, -kPressOffset);
}

LRESULT CLAYEREDWINDOW::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_WINDOWPOSCHANGING:
        // Once the group has been raised, every restacking goes to the top.
        if (kitRaised)
            reinterpret_cast<WINDOWPOS*>(lParam)->hwndInsertAfter = HWND_TOP;
        return 0;
    case WM_NCACTIVATE:
        if (wParam) {
            if (!kitActive) {
                kitActive = true;
                // Raising each window in turn costs an activation apiece, a
                // hundred milliseconds under Wine, for an order the caller
                // is about to set anyway.
                if (stackedByCaller)
                    kitRaised = true;
                else
                    ShowAll();
            }
            ShowFrame(normalFrame);
        } else if (!InGroup(reinterpret_cast<HWND>(lParam))) {
            DimAll();
            kitActive = false;
            kitRaised = false;
        }
        break;
    case WM_NCHITTEST:
        if (pressedFlag) {
            pressedFlag = false;
            moveBy(-kPressOffset, kMoveFlags);
        }
        // Wine's TrackMouseEvent hit-tests the window under the pointer, which
        // brings a nested WM_NCHITTEST here: tracking again from that one
        // would nest the calls until Wine's limit of 64, at every hit test.
        if (!trackingPointer) {
            trackingPointer = true;
            TrackMouseEvent(&leaveTracking);
            trackingPointer = false;
        }
        // Hit tests come with every move of the mouse, and under Wine many
        // times a second while it rests on the window: each frame shown
        // costs milliseconds of the thread that handles the keys.
        if (shownFrame != hoverFrame)
            ShowFrame(hoverFrame);
        break;
    case WM_LBUTTONDOWN:
        moveBy(kPressOffset, kMoveFlags | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
        pressedFlag = true;
        ShowFrame(dimFrame);
        // The whole body drags the window.
        PostMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
        break;
    case WM_MOUSELEAVE:
        ShowFrame(kitActive ? normalFrame : dimFrame);
        break;
    }
    if (OnMessage(window, message, wParam, lParam))
        return DefWindowProcA(window, message, wParam, lParam);
    return 0;
}

int32_t CLAYEREDWINDOW::OnMessage(HWND, UINT, WPARAM, LPARAM)
{
    return 1;
}

void CLAYEREDWINDOW::ShowAll()
{
    // Without SWP_NOACTIVATE each is activated in turn: the last ends on top.
    for (int i = 0; i < kRegistrySize && registeredWindows[i]; ++i) {
        SetWindowPos(registeredWindows[i], HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ShowWindow(registeredWindows[i], SW_SHOW);
    }
    kitRaised = true;
}

void CLAYEREDWINDOW::MinimiseAll()
{
    // The first window holds the kit's taskbar button; the others hide.
    for (int i = 0; i < kRegistrySize && registeredWindows[i]; ++i)
        ShowWindow(registeredWindows[i], i == 0 ? SW_MINIMIZE : SW_HIDE);
}

void CLAYEREDWINDOW::DimAll()
{
    if (!dimmingEnabled)
        return;
    for (int i = 0; i < kRegistrySize && registeredWindows[i]; ++i)
        registeredObjects[i]->ShowFrame(registeredObjects[i]->dimFrame);
}

void CLAYEREDWINDOW::StackedByCaller(bool on)
{
    stackedByCaller = on;
}

void CLAYEREDWINDOW::EnableDimming()
{
    dimmingEnabled = true;
}
