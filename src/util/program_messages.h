// How the program's windows talk to the main window: its private messages.
// The commands they send are in res/resource_ids.h.
#pragma once

#include <windows.h>

constexpr UINT kShowSlotsMessage = WM_USER + 100;     // wParam: a drum part, or IDM_SHOW_ALL
constexpr UINT kStoreSlotMessage = WM_USER + 102;     // wParam: address of a SoundSlot
constexpr UINT kPlaySlotMessage = WM_USER + 103;      // wParam: entry or part; lParam: sender id
constexpr UINT kSlotsChangedMessage = WM_USER + 104;  // the table changed: reload it
constexpr UINT kProgressTextMessage = WM_USER + 105;  // wParam: a text for the splash
constexpr UINT kEndMenusMessage = WM_USER + 107;      // posted: close the thread's open menu
