// Where the drum parts of the kit sit on the screen, and in which order their
// windows are made and stacked; free of the platform.
#pragma once

#include <cstdint>

constexpr int kKitParts = 18;     // drum part indexes 0..17, one button each
constexpr int kKitWindows = 15;   // the parts that have a picture

struct KitPart {
    bool hasWindow;
    int designX;  // top-left corner in the kit's design coordinates
    int designY;
    int mask;     // bitmap resources
    int picture;
};

extern const KitPart kKitLayout[kKitParts];
// Part indexes in the order their windows are made (the first has the
// taskbar button) and from the bottom of the stack to its top.
extern const int kKitCreationOrder[kKitWindows];
extern const int kKitStackingOrder[kKitWindows];

struct ScreenPoint {
    int x;
    int y;
};
// The design point (350, 150) lands on the middle of the screen and distances
// grow by 1.2; the pictures themselves keep their size.
ScreenPoint kitScreenPosition(int designX, int designY, int screenWidth, int screenHeight);
