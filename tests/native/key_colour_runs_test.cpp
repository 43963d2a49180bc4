#include <gtest/gtest.h>

#include <vector>

#include "ui/key_colour_runs.h"

namespace {

// A face of width x height, stride rounded up to 4 bytes, filled with grey.
struct Face {
    int width, height;
    size_t stride;
    std::vector<uint8_t> bits;
    Face(int w, int h) : width(w), height(h), stride((w * 3 + 3) & ~3), bits(stride * h, 0x80) {}
    void set(int x, int y, uint8_t b, uint8_t g, uint8_t r)
    {
        uint8_t* p = &bits[stride * y + 3 * x];
        p[0] = b, p[1] = g, p[2] = r;
    }
    void key(int x, int y) { set(x, y, 255, 0, 255); }
    std::vector<PixelRun> runs() const { return opaqueRuns(bits.data(), width, height, stride); }
};

}  // namespace

TEST(KeyColourRuns, WholeRowsWithoutKeyColour)
{
    Face face(5, 3);  // 15 bytes a row, padded to 16
    std::vector<PixelRun> runs = face.runs();
    ASSERT_EQ(runs.size(), 3u);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(runs[y].y, y);
        EXPECT_EQ(runs[y].left, 0);
        EXPECT_EQ(runs[y].right, 5);
    }
}

TEST(KeyColourRuns, KeyedEdgesAndHolesSplitTheRows)
{
    Face face(600, 2);
    for (int y = 0; y < 2; ++y)
        for (int x : {0, 1, 598, 599})
            face.key(x, y);
    face.key(300, 1);
    face.set(301, 1, 255, 0, 254);  // one short of the key colour: opaque
    std::vector<PixelRun> runs = face.runs();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].left, 2) << "the first two columns are cut";
    EXPECT_EQ(runs[0].right, 598) << "and the last two";
    EXPECT_EQ(runs[1].right, 300) << "a keyed pixel splits its row";
    EXPECT_EQ(runs[2].left, 301) << "RGB(254, 0, 255) stays in";
    EXPECT_EQ(runs[2].right, 598);
}

TEST(KeyColourRuns, AllKeyColourHasNoRuns)
{
    Face face(7, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 7; ++x)
            face.key(x, y);
    EXPECT_TRUE(face.runs().empty());
}
