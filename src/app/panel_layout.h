// Where the slot list sits in the main window, free of the platform.
#pragma once

constexpr int kSlotPanelWidth = 600;
constexpr int kSlotPanelHeight = 1200;  // room for the header and all 60 rows
constexpr int kWheelStep = 10;          // pixels per wheel notification, whatever its size

// The viewport's left edge that centres the panel in a client area of that
// width; each half is rounded toward zero, as a narrow window may need.
constexpr int viewportLeft(int clientWidth)
{
    return clientWidth / 2 - kSlotPanelWidth / 2;
}

// The panel's new offset after one wheel notification: up moves toward the
// top, where it stops; down has no limit.
constexpr int scrolledOffset(int offset, int wheelDelta)
{
    offset += wheelDelta > 0 ? kWheelStep : -kWheelStep;
    return offset > 0 ? 0 : offset;
}
