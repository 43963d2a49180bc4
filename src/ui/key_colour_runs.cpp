#include "ui/key_colour_runs.h"

namespace {

bool isKeyColour(const uint8_t* pixel)
{
    return pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 255;
}

}  // namespace

std::vector<PixelRun> opaqueRuns(const uint8_t* bits, int width, int height, size_t stride)
{
    std::vector<PixelRun> runs;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = bits + stride * static_cast<size_t>(y);
        int x = 0;
        while (x < width) {
            while (x < width && isKeyColour(row + 3 * x))
                ++x;
            int left = x;
            while (x < width && !isKeyColour(row + 3 * x))
                ++x;
            if (x > left)
                runs.push_back({y, left, x});
        }
    }
    return runs;
}
