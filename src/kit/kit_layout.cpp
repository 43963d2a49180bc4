#include "kit/kit_layout.h"

const KitPart kKitLayout[kKitParts] = {
    {true, 132, 66, 225, 231},   // DR_CLASH
    {true, 110, 178, 246, 245},  // DR_HIHAT_CLOSE
    {true, 110, 158, 246, 245},  // DR_HIHAT_OPEN
    {true, 254, 90, 241, 149},   // DR_BASS1
    {true, 198, 174, 233, 232},  // DR_SNARE1
    {false, 0, 0, 0, 0},         // DR_SNARE2
    {true, 214, 96, 237, 236},   // DR_TAMH
    {true, 288, 96, 234, 235},   // DR_TAMM
    {true, 322, 182, 239, 238},  // DR_TAML
    {true, 398, 106, 225, 231},  // DR_RIDE
    {true, 398, 106, 255, 231},  // DR_RIDEH: the bell of the ride's picture
    {true, 444, 196, 225, 231},  // DR_CHINA
    {true, 198, 174, 244, 232},  // DR_RIM: the hoop of the snare's picture
    {true, 318, 20, 225, 231},   // DR_CLASHL
    {true, 110, 148, 250, 249},  // DR_COWBELL
    {false, 0, 0, 0, 0},         // DR_SNARE3
    {false, 0, 0, 0, 0},         // DR_SNARE4
    {true, 224, 20, 248, 222},   // DR_SPLASH
};

const int kKitCreationOrder[kKitWindows] = {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17};
const int kKitStackingOrder[kKitWindows] = {3, 4, 12, 8, 6, 7, 1, 2, 0, 17, 10, 9, 11, 13, 14};

ScreenPoint kitScreenPosition(int designX, int designY, int screenWidth, int screenHeight)
{
    double x = screenWidth / 2 + (designX - 350) * 1.2;
    double y = screenHeight / 2 + (designY - 150) * 1.2;
    return {static_cast<int>(x), static_cast<int>(y)};
}
