#include "app/panel_viewport.h"

#include "app/panel_layout.h"

HWND panelViewport;
HWND slotPanelWindow;
int32_t scrollOffset;
int32_t rowFilter = -1;

namespace {

constexpr int kViewportId = 45457;
constexpr int kViewportHeight = 300;

void placePanel()
{
    MoveWindow(slotPanelWindow, 0, scrollOffset, kSlotPanelWidth, kSlotPanelHeight, TRUE);
}

}  // namespace

void CreateSlotPanelWindows(HWND mainWindow)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    panelViewport = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0,
                                    kSlotPanelWidth, kViewportHeight, mainWindow,
                                    reinterpret_cast<HMENU>(kViewportId), instance, nullptr);
    slotPanelWindow = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0,
                                      kSlotPanelWidth, kSlotPanelHeight, panelViewport, nullptr,
                                      instance, nullptr);
}

void PlaceViewport(int clientWidth, int clientHeight)
{
    MoveWindow(panelViewport, viewportLeft(clientWidth), 4, kSlotPanelWidth, clientHeight, TRUE);
}

void ScrollSlotPanel(int wheelDelta)
{
    scrollOffset = scrolledOffset(scrollOffset, wheelDelta);
    placePanel();
}

void ResetSlotPanelScroll()
{
    scrollOffset = 0;
    placePanel();
}
