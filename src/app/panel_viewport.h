// The slot list's two windows in the main window: the viewport that clips it
// and the panel that carries its rows, moved inside the viewport to scroll.
#pragma once

#include <windows.h>

#include <cstdint>

extern HWND panelViewport;
extern HWND slotPanelWindow;
extern int32_t scrollOffset;  // the panel's top inside the viewport; 0 or negative
extern int32_t rowFilter;     // -1 while all rows show, else the drum part shown

void CreateSlotPanelWindows(HWND mainWindow);
// Centres the viewport in a client area of that size.
void PlaceViewport(int clientWidth, int clientHeight);
// One wheel notification with its signed delta.
void ScrollSlotPanel(int wheelDelta);
// Back to the top of the list.
void ResetSlotPanelScroll();
