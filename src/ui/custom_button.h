// The program's owner-painted controls: a component owns one child window,
// subclasses it and is found again from the window through a registry; the
// button draws its captions over bitmap faces and follows the mouse.
#pragma once

#include <windows.h>

#include <cstdint>

namespace Lumo {

class CustomComponent {
public:
    explicit CustomComponent(HWND parent);
    virtual ~CustomComponent() = default;
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND GetHandle() const { return window; }
    void Resize(int width, int height);
    void SetCenter(int x, int y);
    void SetShape(HRGN region);
    void RedrawFace();

    int32_t rowIndex;

protected:
    WNDPROC previousProc = nullptr;
    HINSTANCE instance;
    int32_t controlId;
    HWND window = nullptr;
    int32_t width = 1, height = 1;
    int32_t left = 0, top = 0;
};

struct CaptionItem {
    int32_t x;
    int32_t y;
    char text[256];
};

constexpr int kCaptionItems = 10;

class CustomButton : public CustomComponent {
public:
    explicit CustomButton(HWND parent);
    LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Faces in this order; the normal face decides the outline and the mask.
    void SetSkin(HBITMAP normal, HBITMAP pressed, HBITMAP hover);
    void SetFont(HFONT font) { this->font = font; }
    void SetCaption(int item, int x, int y, const char* text);

private:
    void paint();
    void enterHover();
    void showMenu(LPARAM at);
    void onCommand(int id);

    CaptionItem captions[kCaptionItems];
    HFONT font = nullptr;
    bool pressed = false;
    bool hovering = false;
    HBITMAP normalFace = nullptr, hoverFace = nullptr, pressedFace = nullptr;
    HDC maskDC = nullptr;  // shared by the buttons of one normal face
};

// Makes a button under parent and registers it; the registry deletes it when
// its window is destroyed.
void CreateCustomButton(HWND parent, CustomButton** button);

}  // namespace Lumo
