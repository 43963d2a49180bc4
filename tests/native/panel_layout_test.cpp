#include <gtest/gtest.h>

#include "app/panel_layout.h"

TEST(PanelLayout, ViewportCentresWithHalvesRoundedTowardZero)
{
    EXPECT_EQ(viewportLeft(644), 22) << "the client area of the 660-pixel window";
    EXPECT_EQ(viewportLeft(601), 0) << "an odd width loses its half pixel";
    EXPECT_EQ(viewportLeft(599), -1) << "a narrower window cuts the panel on both sides";
    EXPECT_EQ(viewportLeft(0), -300);
}

TEST(PanelLayout, WheelStepsTenPixelsAndStopsAtTheTop)
{
    EXPECT_EQ(scrolledOffset(0, 120), 0) << "up at the top stays";
    EXPECT_EQ(scrolledOffset(-5, 1), 0) << "up never passes the top";
    EXPECT_EQ(scrolledOffset(0, -1), -10) << "any downward delta is one step";
    EXPECT_EQ(scrolledOffset(0, -480), -10) << "a large delta is still one step";
    EXPECT_EQ(scrolledOffset(0, 0), -10) << "a zero delta counts as down";
    EXPECT_EQ(scrolledOffset(-2000, -120), -2010) << "down has no limit";
}
