#include "kit/kit_button.h"

#include <cstdio>
#include <iterator>

#include "res/resource_ids.h"
#include "slots/part_names.h"
#include "ui/loading_splash.h"
#include "ui/slot_edit_dialog.h"
#include "util/program_messages.h"
#include "util/resource_bitmap.h"

CLayeredWindowButton* kitParts[kKitParts];

CLayeredWindowButton::CLayeredWindowButton(HWND owner) : owner(owner) {}

int32_t CLayeredWindowButton::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
        SendMessageA(owner, kPlaySlotMessage, static_cast<WPARAM>(partIndex), 0);
        break;
    case WM_RBUTTONDOWN: {
        POINT at;
        GetCursorPos(&at);
        auto moduleInstance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
        HMENU menu = LoadMenuA(moduleInstance, "RBTN_MENU1");
        TrackPopupMenu(GetSubMenu(menu, 0), 0, at.x, at.y, 0, window, nullptr);
        DestroyMenu(menu);
        break;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDM_SHOW_PART:
            SendMessageA(owner, kShowSlotsMessage, static_cast<WPARAM>(partIndex), 0);
            break;
        case IDM_ADD:
            ShowSlotEditDialog(instance, window, {true, 0, partIndex, partName, owner});
            break;
        case IDM_SHOW_ALL:
            SendMessageA(owner, kShowSlotsMessage, IDM_SHOW_ALL, 0);
            break;
        case IDM_MINIMISE:
            MinimiseAll();
            break;
        }
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        // Playing goes on while a kit window has the keyboard.
        SendMessageA(owner, message, wParam, lParam);
        break;
    }
    return 1;
}

void BuildKit(HWND owner, LoadingSplash* splash)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    for (int i = 0; i < kKitParts; ++i) {
        kitParts[i] = new CLayeredWindowButton(owner);
        const KitPart& part = kKitLayout[i];
        if (part.hasWindow) {
            ScreenPoint at = kitScreenPosition(part.designX, part.designY, width, height);
            HBITMAP mask = LoadResourceBitmap(part.mask);
            HBITMAP picture = LoadResourceBitmap(part.picture);
            kitParts[i]->Create(at.x, at.y, picture, mask);
        }
        char text[64];
        std::snprintf(text, sizeof text, "LayeredButton %s Create", drumPartNames[i]);
        splash->SetProgressText(text);
        kitParts[i]->SetPartName(drumPartNames[i]);
        kitParts[i]->SetPartIndex(i);
    }
    CLAYEREDWINDOW::EnableDimming();
    // Each window in turn to the top. The first activates the kit, which is
    // stacked here rather than raised window by window; the last ends
    // active. Activating the ones between changes nothing seen (each already
    // shows its normal look) and costs milliseconds each under Wine: they are
    // only restacked.
    const int last = kKitStackingOrder[std::size(kKitStackingOrder) - 1];
    CLAYEREDWINDOW::StackedByCaller(true);
    for (int part : kKitStackingOrder) {
        UINT quiet = part == kKitStackingOrder[0] || part == last ? 0 : SWP_NOACTIVATE;
        SetWindowPos(kitParts[part]->GetHandle(), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | quiet);
    }
    CLAYEREDWINDOW::StackedByCaller(false);
}

void RaiseKit()
{
    for (int part : kKitStackingOrder)
        if (kitParts[part])
            SetWindowPos(kitParts[part]->GetHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void LightPart(int32_t partId)
{
    if (partId >= 0 && partId < kKitParts && kitParts[partId])
        kitParts[partId]->Light();
}

void ReleasePart(int32_t partId)
{
    if (partId >= 0 && partId < kKitParts && kitParts[partId])
        kitParts[partId]->Release();
}
