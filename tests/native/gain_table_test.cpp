#include <gtest/gtest.h>

#include <cstdint>

#include "audio/gain_table.h"

namespace {

GainTables tables()
{
    GainTables t;
    buildGainTables(&t);
    return t;
}

}  // namespace

TEST(GainTables, ReferenceValues)
{
    struct Row {
        int index;
        double volume, left, right;
    };
    const Row rows[] = {
        {1, 0.103663, 1.0, 0.103663},   {64, 0.321968, 1.0, 0.321968},  {100, 0.615265, 1.0, 0.615265},
        {127, 1.0, 1.0, 1.0},           {128, 1.018152, 0.982172, 1.0}, {200, 3.718027, 0.268960, 1.0},
        {255, 10.0, 0.1, 1.0},
    };
    const GainTables t = tables();
    for (const Row& r : rows) {
        EXPECT_NEAR(t.volume[r.index], r.volume, 5e-7) << "volume gain at index " << r.index;
        EXPECT_NEAR(t.panLeft[r.index], r.left, 5e-7) << "left pan gain at index " << r.index;
        EXPECT_NEAR(t.panRight[r.index], r.right, 5e-7) << "right pan gain at index " << r.index;
    }
}

TEST(GainTables, CentreAndLoudestAreExact)
{
    // Baking depends on these bit for bit: volume 127 with pan 127 must leave
    // every unclamped sample exactly as recorded.
    const GainTables t = tables();
    EXPECT_EQ(t.volume[127], 1.0) << "volume 127 is unity";
    EXPECT_EQ(t.panLeft[127], 1.0) << "pan 127 keeps the left channel";
    EXPECT_EQ(t.panRight[127], 1.0) << "pan 127 keeps the right channel";
    EXPECT_EQ(t.volume[255], 10.0) << "volume 255 is ten times";
    EXPECT_EQ(t.panLeft[255], 0.1) << "pan 255 leaves a tenth of the left channel";
}

TEST(GainIndex, ClampsAnyValueIntoTheTables)
{
    EXPECT_EQ(gainIndex(0), 0) << "the first entry is its own index";
    EXPECT_EQ(gainIndex(255), 255) << "the last entry is its own index";
    EXPECT_EQ(gainIndex(-1), 0) << "below the tables reads the first entry";
    EXPECT_EQ(gainIndex(INT32_MIN), 0) << "the most negative value reads the first entry";
    EXPECT_EQ(gainIndex(256), 255) << "above the tables reads the last entry";
    EXPECT_EQ(gainIndex(INT32_MAX), 255) << "the largest value reads the last entry";
}
