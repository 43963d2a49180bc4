#include "ui/custom_button.h"

#include <cstdio>
#include <cstring>
#include <map>

#include "res/resource_ids.h"
#include "slots/settings_file.h"
#include "slots/sound_slot.h"
#include "ui/bitmap_region.h"
#include "ui/slot_edit_dialog.h"
#include "util/program_messages.h"

namespace Lumo {

namespace {

constexpr int kMenuOffset = 50;  // the menu opens this far right of the pointer
constexpr COLORREF kKeyColour = RGB(255, 0, 255);

std::map<HWND, CustomComponent*> components;
int32_t nextControlId = 1000;
// The masks, by the normal face each is made from: the sixty rows share one
// face and so one mask. Faces are never freed, and neither are their masks.
std::map<HBITMAP, HDC> faceMasks;

LRESULT CALLBACK ComponentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto found = components.find(window);
    if (found == components.end())
        return 0;
    LRESULT result = found->second->WindowProc(window, message, wParam, lParam);
    if (message == WM_DESTROY) {
        found = components.find(window);
        if (found != components.end()) {
            delete found->second;
            components.erase(found);
        }
    }
    return result;
}

}  // namespace

CustomComponent::CustomComponent(HWND parent)
    : rowIndex(0),
      instance(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE))),
      controlId(nextControlId++)
{
}

LRESULT CustomComponent::WindowProc(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}

void CustomComponent::Resize(int width, int height)
{
    this->width = width;
    this->height = height;
    MoveWindow(window, left, top, width, height, TRUE);
}

void CustomComponent::SetCenter(int x, int y)
{
    left = x - width / 2;
    top = y - height / 2;
    MoveWindow(window, left, top, width, height, TRUE);
}

void CustomComponent::SetShape(HRGN region)
{
    SetWindowRgn(window, region, TRUE);
}

void CustomComponent::RedrawFace()
{
    RECT r = {0, 0, width, height};
    InvalidateRect(window, &r, FALSE);
}

CustomButton::CustomButton(HWND parent) : CustomComponent(parent)
{
    std::memset(captions, 0, sizeof captions);
    window = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW,
                             0, 0, width, height, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance,
                             nullptr);
    previousProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ComponentWindowProc)));
}

void CustomButton::SetCaption(int item, int x, int y, const char* text)
{
    if (item < 0 || item >= kCaptionItems)
        return;
    captions[item].x = x;
    captions[item].y = y;
    std::snprintf(captions[item].text, sizeof captions[item].text, "%s", text);
}

void CustomButton::SetSkin(HBITMAP normal, HBITMAP pressed, HBITMAP hover)
{
    normalFace = normal;
    pressedFace = pressed;
    hoverFace = hover;
    BITMAP info = {};
    GetObjectA(normal, sizeof info, &info);
    Resize(info.bmWidth, info.bmHeight);
    SetShape(RegionFromBitmap(normal, window));
    auto made = faceMasks.find(normal);
    if (made != faceMasks.end()) {
        maskDC = made->second;
        return;
    }

    // The mask: black where the normal face has the key colour, white elsewhere.
    HDC windowDC = GetDC(window);
    HDC source = CreateCompatibleDC(windowDC);
    HDC mono = CreateCompatibleDC(windowDC);
    HBITMAP monoBitmap = CreateBitmap(width, height, 1, 1, nullptr);
    HGDIOBJ oldMono = SelectObject(mono, monoBitmap);
    HGDIOBJ oldSource = SelectObject(source, normal);
    COLORREF oldBack = SetBkColor(source, kKeyColour);
    BitBlt(mono, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBack);
    maskDC = CreateCompatibleDC(windowDC);
    SelectObject(maskDC, CreateCompatibleBitmap(windowDC, width, height));
    faceMasks[normal] = maskDC;
    BitBlt(maskDC, 0, 0, width, height, mono, 0, 0, NOTSRCCOPY);
    SelectObject(source, oldSource);
    SelectObject(mono, oldMono);
    DeleteObject(monoBitmap);
    DeleteDC(mono);
    DeleteDC(source);
    ReleaseDC(window, windowDC);
}

void CustomButton::paint()
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    HDC faceDC = CreateCompatibleDC(dc);
    HGDIOBJ oldFace = SelectObject(faceDC, pressed ? pressedFace : hovering ? hoverFace : normalFace);
    HDC image = CreateCompatibleDC(dc);
    HBITMAP imageBitmap = CreateCompatibleBitmap(dc, width, height);
    HGDIOBJ oldImage = SelectObject(image, imageBitmap);
    BitBlt(image, 0, 0, width, height, faceDC, 0, 0, SRCCOPY);
    HGDIOBJ oldFont = SelectObject(image, font);
    SetBkMode(image, TRANSPARENT);
    SetTextColor(image, pressed ? RGB(140, 140, 200) : hovering ? RGB(233, 233, 255) : RGB(60, 60, 120));
    BitBlt(image, 0, 0, width, height, maskDC, 0, 0, SRCAND);
    for (const CaptionItem& caption : captions)
        if (caption.text[0])
            TextOutA(image, caption.x, caption.y, caption.text, static_cast<int>(std::strlen(caption.text)));
    // Black is see-through: the key-colour areas, turned black by the mask.
    TransparentBlt(dc, 0, 0, width, height, image, 0, 0, width, height, RGB(0, 0, 0));
    SelectObject(image, oldFont);
    SelectObject(image, oldImage);
    DeleteObject(imageBitmap);
    DeleteDC(image);
    SelectObject(faceDC, oldFace);
    DeleteDC(faceDC);
    EndPaint(window, &ps);
}

void CustomButton::enterHover()
{
    if (!hovering)
        InvalidateRect(window, nullptr, TRUE);
    hovering = true;
    TRACKMOUSEEVENT leave = {sizeof leave, TME_LEAVE, window, 0};
    TrackMouseEvent(&leave);
}

void CustomButton::showMenu(LPARAM at)
{
    HMENU menu = LoadMenuA(instance, "RBTN_MENU2");
    POINT point = {LOWORD(at), HIWORD(at)};
    ClientToScreen(window, &point);
    TrackPopupMenu(GetSubMenu(menu, 0), 0, point.x + kMenuOffset, point.y, 0, window, nullptr);
    DestroyMenu(menu);
}

void CustomButton::onCommand(int id)
{
    HWND owner = GetAncestor(window, GA_ROOTOWNER);
    if (id == IDM_EDIT) {
        InvalidateRect(window, nullptr, TRUE);
        ShowSlotEditDialog(instance, window, {false, rowIndex, 0, nullptr, owner});
    } else if (id == IDM_DELETE) {
        InvalidateRect(window, nullptr, TRUE);
        if (MessageBoxA(window, "削除しますか？", "", MB_OKCANCEL) == IDOK) {
            // The row is found again in the file as it is now, in case an
            // editor changed it meanwhile; a row that is gone stays gone.
            SoundSlot row = soundSlots[rowIndex];
            if (rereadIfChangedOutside()) {
                deleteSlot(soundSlots, findSameSlot(soundSlots, row));
                SendMessageA(owner, kSlotsChangedMessage, 0, 0);
            }
        }
    } else if (id == IDM_SHOW_ALL) {
        InvalidateRect(window, nullptr, TRUE);
        SendMessageA(owner, kShowSlotsMessage, IDM_SHOW_ALL, 0);
    }
}

LRESULT CustomButton::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font);
    case WM_SETCURSOR:
        enterHover();
        break;
    case WM_MOUSELEAVE:
        hovering = false;
        InvalidateRect(window, nullptr, TRUE);
        break;
    case WM_LBUTTONDOWN:
        PostMessageA(GetAncestor(window, GA_ROOTOWNER), kPlaySlotMessage,
                     static_cast<WPARAM>(rowIndex), controlId);
        pressed = true;
        RedrawFace();
        break;
    case WM_LBUTTONUP:
        pressed = false;
        RedrawFace();
        break;
    case WM_RBUTTONDOWN:
        pressed = true;
        RedrawFace();
        showMenu(lParam);
        pressed = false;
        RedrawFace();
        enterHover();
        break;
    case WM_COMMAND:
        onCommand(LOWORD(wParam));
        enterHover();
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        // Playing goes on while a row has the keyboard.
        SendMessageA(GetAncestor(window, GA_ROOTOWNER), message, wParam, lParam);
        break;
    }
    return CallWindowProcA(previousProc, window, message, wParam, lParam);
}

void CreateCustomButton(HWND parent, CustomButton** button)
{
    *button = new CustomButton(parent);
    components.emplace((*button)->GetHandle(), *button);
}

}  // namespace Lumo
