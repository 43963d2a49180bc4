// The drum-part buttons of the kit: one kit window per drum part with a
// picture, lit by the keys of its part, playing its part when clicked, with
// the right-click menu of the kit.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kit/kit_layout.h"
#include "kit/layered_window.h"

class LoadingSplash;

class CLayeredWindowButton : public CLAYEREDWINDOW {
public:
    explicit CLayeredWindowButton(HWND owner);
    void SetPartIndex(int32_t index) { partIndex = index; }
    void SetPartName(const char* name) { partName = name; }

protected:
    int32_t OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND owner;
    int32_t partIndex = 0;
    const char* partName = nullptr;
};

// Indexed by drum part; the parts without a picture have a button without a
// window, which lights nothing.
extern CLayeredWindowButton* kitParts[kKitParts];

// Makes the kit once, for owner (the main window), telling the closing splash.
void BuildKit(HWND owner, LoadingSplash* splash);
// Brings the kit above the windows shown since it was made, in its stacking
// order, leaving the active window as it is: the main window opens over the
// middle of the kit, and the keys must still go to it.
void RaiseKit();
// The kit's side of a key: the button of the slot's drum part, if any.
void LightPart(int32_t partId);
void ReleasePart(int32_t partId);
