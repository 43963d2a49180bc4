// The samples are handled as int16_t in memory: these tests run on
// little-endian x86 only.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "audio/gain_table.h"
#include "audio/sample_bake.h"

namespace {

struct Gains {
    double volume, left, right;
};

Gains gainsFor(int volume, int pan)
{
    static const GainTables t = [] {
        GainTables built;
        buildGainTables(&built);
        return built;
    }();
    return {t.volume[gainIndex(volume)], t.panLeft[gainIndex(pan)], t.panRight[gainIndex(pan)]};
}

std::vector<BakeKernel> kernelsHere()
{
    std::vector<BakeKernel> kernels;
    for (BakeKernel k : {BakeKernel::Scalar, BakeKernel::Sse2, BakeKernel::Sse41, BakeKernel::Avx})
        if (bakeKernelSupported(k))
            kernels.push_back(k);
    return kernels;
}

uint8_t* bytes(std::vector<int16_t>& samples) { return reinterpret_cast<uint8_t*>(samples.data()); }

// Repeats the (left, right, ...) samples over 35 frames, so that each passes
// through the vector steps in several lanes and through the last frames, which
// the scalar form finishes. Checks every kernel and the engine's entry point.
void expectBakedWith(const Gains& g, const std::string& gains, const std::vector<int16_t>& in,
                     const std::vector<int16_t>& expected)
{
    std::vector<int16_t> input(70), wanted(70);
    for (size_t i = 0; i < input.size(); ++i) {
        input[i] = in[i % in.size()];
        wanted[i] = expected[i % expected.size()];
    }
    for (BakeKernel k : kernelsHere()) {
        std::vector<int16_t> samples = input;
        bakeSamplesWith(k, bytes(samples), 140, g.volume, g.left, g.right);
        EXPECT_EQ(samples, wanted) << bakeKernelName(k) << " at " << gains;
    }
    std::vector<int16_t> samples = input;
    bakeSamples(bytes(samples), 140, g.volume, g.left, g.right);
    EXPECT_EQ(samples, wanted) << "bakeSamples at " << gains;
}

void expectBaked(int volume, int pan, const std::vector<int16_t>& in, const std::vector<int16_t>& expected)
{
    expectBakedWith(gainsFor(volume, pan), "volume " + std::to_string(volume) + ", pan " + std::to_string(pan), in,
                    expected);
}

}  // namespace

TEST(SampleBake, UnityChangesOnlyTheClampedEnds)
{
    expectBaked(127, 127, {0, -1, 1, 12345, -12345, 32760, -32760, 32761, -32761, 32767, -32768, 0},
                {0, -1, 1, 12345, -12345, 32760, -32760, 32760, -32760, 32760, -32760, 0});
}

TEST(SampleBake, VolumeRoundsDownThenPanTruncates)
{
    // 1000 x 1.018152 = 1018.15, down to 1018; left x 0.982172 = 999.85, truncated to 999.
    // -1000 goes down to -1019; left -1000.83 truncates toward zero to -1000.
    expectBaked(128, 128, {1000, 1000, -1000, -1000}, {999, 1018, -1000, -1019});
    // x 0.615265: -3 gives -1.846, down to -2; 3 gives 1.846, down to 1.
    expectBaked(100, 127, {-3, 3, 3, -3}, {-2, 1, 1, -2});
}

// The 32-bit build of these tests stands for the 32-bit program, which
// computes on the x87 unit; built with SSE2 arithmetic it would test nothing
// of that.
#if defined(__i386__)
static_assert(__FLT_EVAL_METHOD__ == 2, "the 32-bit tests compute with the x87 unit");
#endif

TEST(SampleBake, EachProductIsRoundedOnceToDouble)
{
    // Products just inside half a double's step of a whole number, where the
    // x87 unit's 64-bit mantissas give another result. 12345 x volume lies
    // 2^-52 below the midpoint between 15932 - 2^-39 and 15932: rounded once
    // it goes down, to 15931; rounded to 64 bits first it lands on the
    // midpoint and then on 15932.
    expectBakedWith({0x1.4a6255e4ab1f7p+0, 1.0, 1.0}, "volume 1.2905...", {12345, -1}, {15931, -2});
    // 12345 x left pan lies 2^-51 below 6917: rounded to double it is 6917;
    // kept at 64 bits it truncates to 6916.
    expectBakedWith({1.0, 0x1.1ee0aa8ad07dcp-1, 1.0}, "left pan 0.5603...", {12345, 12345}, {6917, 12345});
}

TEST(SampleBake, LoudestVolumeClampsAt32760)
{
    expectBaked(255, 127, {1000, -1, 3275, 3276, 3277, -3277, 32767, -32768},
                {10000, -10, 32750, 32760, 32760, -32760, 32760, -32760});
}

TEST(SampleBake, PanLowersTheFarSideTowardZero)
{
    // Pan 255 leaves a tenth of the left: 19 and -19 give 1.9 and -1.9, both
    // truncated toward zero. The right channel only clamps.
    expectBaked(127, 255, {1000, 1000, 19, 19, -19, -19, 9, -32768}, {100, 1000, 1, 19, -1, -19, 0, -32760});
    expectBaked(127, 1, {1000, 1000, -1000, -1000}, {1000, 103, -1000, -103});
}

TEST(SampleBake, OnlyWholeFramesAreScaled)
{
    // 19 frames: two AVX steps, then three frames for the scalar form; after
    // the last whole frame, nothing is touched.
    const Gains g = gainsFor(255, 127);
    for (BakeKernel k : kernelsHere())
        for (uint32_t length : {0u, 3u, 76u, 77u, 78u, 79u}) {
            std::vector<int16_t> samples(40, 100);
            bakeSamplesWith(k, bytes(samples), length, g.volume, g.left, g.right);
            for (size_t i = 0; i < samples.size(); ++i)
                EXPECT_EQ(samples[i], i < length / 4 * 2 ? 1000 : 100)
                    << bakeKernelName(k) << ", length " << length << ": sample " << i;
        }
}

TEST(SampleBake, ThisProcessorGetsAVectorKernel)
{
    EXPECT_TRUE(bakeKernelSupported(chosenBakeKernel()))
        << "the engine's kernel, " << bakeKernelName(chosenBakeKernel()) << ", runs here";
#if defined(__x86_64__)
    // Every 64-bit x86 processor has SSE2. Choosing the scalar form here
    // would mean a broken detection, and the comparisons below would skip.
    EXPECT_NE(chosenBakeKernel(), BakeKernel::Scalar) << "the engine bakes with a vector kernel here";
#endif
}

// Each vector kernel against the scalar form, byte for byte over the whole
// buffer: the bytes before the data, the frames and the tail after them.
class BakeKernelAgreement : public testing::TestWithParam<BakeKernel> {
protected:
    void SetUp() override
    {
        if (!bakeKernelSupported(GetParam()))
            GTEST_SKIP() << "this processor has no " << bakeKernelName(GetParam());
    }

    // offset bytes of 0x5A, then a frame for each left and right sample, then tail bytes of 0xA5.
    void fill(size_t offset, const std::vector<int16_t>& left, const std::vector<int16_t>& right, size_t tail)
    {
        offset_ = offset;
        original_.assign(offset + left.size() * 4 + tail, 0xA5);
        std::fill_n(original_.begin(), offset, 0x5A);
        for (size_t i = 0; i < left.size(); ++i) {
            std::memcpy(&original_[offset + i * 4], &left[i], 2);
            std::memcpy(&original_[offset + i * 4 + 2], &right[i], 2);
        }
    }

    // "" when both agree, else the first sample that differs.
    std::string disagreement(int volume, int pan)
    {
        const Gains g = gainsFor(volume, pan);
        const uint32_t length = static_cast<uint32_t>(original_.size() - offset_);
        scalar_ = original_;
        fast_ = original_;
        bakeSamplesScalar(scalar_.data() + offset_, length, g.volume, g.left, g.right);
        bakeSamplesWith(GetParam(), fast_.data() + offset_, length, g.volume, g.left, g.right);
        const size_t i = static_cast<size_t>(std::mismatch(scalar_.begin(), scalar_.end(), fast_.begin()).first -
                                             scalar_.begin());
        if (i == scalar_.size())
            return "";
        if (i < offset_ || i >= offset_ + length / 4 * 4)
            return "byte " + std::to_string(i) + " outside the frames changed";
        const size_t at = offset_ + (i - offset_) / 2 * 2;
        auto sample = [at](const std::vector<uint8_t>& b) {
            int16_t s;
            std::memcpy(&s, &b[at], 2);
            return std::to_string(s);
        };
        return "byte " + std::to_string(at) + " from " + sample(original_) + ": scalar " + sample(scalar_) + ", " +
               bakeKernelName(GetParam()) + " " + sample(fast_);
    }

private:
    std::vector<uint8_t> original_, scalar_, fast_;
    size_t offset_ = 0;
};

TEST_P(BakeKernelAgreement, EverySampleValueAtTheEdgeSettings)
{
    // Every 16-bit value in both channels, one byte off alignment, three tail bytes.
    std::vector<int16_t> left(65536), right(65536);
    for (int i = 0; i < 65536; ++i) {
        left[i] = static_cast<int16_t>(i - 32768);
        right[i] = static_cast<int16_t>(32767 - i);
    }
    fill(1, left, right, 3);
    for (int volume : {0, 1, 2, 3, 63, 64, 65, 100, 126, 127, 128, 129, 200, 253, 254, 255})
        for (int pan : {0, 1, 2, 64, 126, 127, 128, 129, 200, 254, 255})
            ASSERT_EQ(disagreement(volume, pan), "") << "volume " << volume << ", pan " << pan;
}

TEST_P(BakeKernelAgreement, EveryVolumeAndPanOnSpreadValues)
{
    // The values around zero, the clamp and the 16-bit ends, and a stride
    // through the rest, in both channels: 157 frames, so the last five go
    // through the scalar form. Three bytes off alignment, two tail bytes.
    std::vector<int16_t> left = {-32768, -32767, -32761, -32760, -32759, -3277, -3276, -1,
                                 0,      1,      3276,   3277,   32759,  32760, 32761, 32767};
    for (int v = -32768 + 463; v < 32767; v += 463)
        left.push_back(static_cast<int16_t>(v));
    ASSERT_EQ(left.size(), 157u) << "the frame count leaves frames for the scalar form";
    std::vector<int16_t> right(left.size());
    for (size_t i = 0; i < left.size(); ++i)
        right[i] = left[(i * 7 + 3) % left.size()];
    fill(3, left, right, 2);
    for (int volume = 0; volume < kGainSteps; ++volume)
        for (int pan = 0; pan < kGainSteps; ++pan)
            ASSERT_EQ(disagreement(volume, pan), "") << "volume " << volume << ", pan " << pan;
}

void PrintTo(BakeKernel kernel, std::ostream* os) { *os << bakeKernelName(kernel); }

INSTANTIATE_TEST_SUITE_P(Kernels, BakeKernelAgreement,
                         testing::Values(BakeKernel::Sse2, BakeKernel::Sse41, BakeKernel::Avx),
                         [](const testing::TestParamInfo<BakeKernel>& info) {
                             std::string name = bakeKernelName(info.param);
                             std::erase(name, '.');
                             return name;
                         });
