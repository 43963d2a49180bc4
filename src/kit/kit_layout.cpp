#include "kit/kit_layout.h"

#include "res/resource_ids.h"

const KitPart kKitLayout[kKitParts] = {
    {true, 132, 66, IDB_CYMBAL_MASK, IDB_CYMBAL},                // DR_CLASH
    {true, 110, 178, IDB_HIHAT_MASK, IDB_HIHAT},                 // DR_HIHAT_CLOSE
    {true, 110, 158, IDB_HIHAT_MASK, IDB_HIHAT},                 // DR_HIHAT_OPEN
    {true, 254, 90, IDB_BASS_DRUM_MASK, IDB_BASS_DRUM},          // DR_BASS1
    {true, 198, 174, IDB_SNARE_HEAD_MASK, IDB_SNARE},            // DR_SNARE1
    {false, 0, 0, 0, 0},                                         // DR_SNARE2
    {true, 214, 96, IDB_HIGH_TOM_MASK, IDB_HIGH_TOM},            // DR_TAMH
    {true, 288, 96, IDB_MID_TOM_MASK, IDB_MID_TOM},              // DR_TAMM
    {true, 322, 182, IDB_FLOOR_TOM_MASK, IDB_FLOOR_TOM},         // DR_TAML
    {true, 398, 106, IDB_CYMBAL_MASK, IDB_CYMBAL},               // DR_RIDE
    {true, 398, 106, IDB_BELL_MASK, IDB_CYMBAL},                 // DR_RIDEH: the bell of the ride's picture
    {true, 444, 196, IDB_CYMBAL_MASK, IDB_CYMBAL},               // DR_CHINA
    {true, 198, 174, IDB_SNARE_RIM_MASK, IDB_SNARE},             // DR_RIM: the hoop of the snare's picture
    {true, 318, 20, IDB_CYMBAL_MASK, IDB_CYMBAL},                // DR_CLASHL
    {true, 110, 148, IDB_COWBELL_MASK, IDB_COWBELL},             // DR_COWBELL
    {false, 0, 0, 0, 0},                                         // DR_SNARE3
    {false, 0, 0, 0, 0},                                         // DR_SNARE4
    {true, 224, 20, IDB_SPLASH_CYMBAL_MASK, IDB_SPLASH_CYMBAL},  // DR_SPLASH
};

const int kKitCreationOrder[kKitWindows] = {0, 1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17};
const int kKitStackingOrder[kKitWindows] = {3, 4, 12, 8, 6, 7, 1, 2, 0, 17, 10, 9, 11, 13, 14};

ScreenPoint kitScreenPosition(int designX, int designY, int screenWidth, int screenHeight)
{
    double x = screenWidth / 2 + (designX - 350) * 1.2;
    double y = screenHeight / 2 + (designY - 150) * 1.2;
    return {static_cast<int>(x), static_cast<int>(y)};
}
