#include "audio/resampler.h"

#include <cmath>
#include <numeric>

#include "audio/sample16.h"

namespace {

constexpr uint32_t kOutputRate = 44100;
constexpr double kPi = 3.14159265358979323846;
// The pass band ends at 18 kHz of 22.05 kHz; an input below 44.1 kHz keeps
// the same share of its own Nyquist frequency.
constexpr double kPassShare = 18000.0 / 22050.0;
// Stop band attenuation the window is sized for, with room above the 70 dB
// that aliases and images must stay below.
constexpr double kStopDb = 80.0;
// An odd input rate can have up to 44100 phases. Past this many, a phase's
// taps are drawn linearly between the two nearest rows of as many even steps,
// which is off by less than 100 dB below the tone.
constexpr uint32_t kMostRows = 512;

// Modified Bessel function of the first kind, order 0, by its power series.
double besselI0(double x)
{
    double sum = 1.0, term = 1.0;
    for (int k = 1; k < 50 && term > 1e-17 * sum; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

double sinc(double x)
{
    return x == 0.0 ? 1.0 : std::sin(kPi * x) / (kPi * x);
}

// Sum of count taps times every stride-th sample, in four running sums so
// that the additions do not wait on each other; the order is fixed. The
// stride is a constant so that a mono file's taps and samples run in step.
template <int stride>
float dot(const float* taps, const float* x, int count)
{
    float s0 = 0, s1 = 0, s2 = 0, s3 = 0;
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        s0 += taps[i] * x[i * stride];
        s1 += taps[i + 1] * x[(i + 1) * stride];
        s2 += taps[i + 2] * x[(i + 2) * stride];
        s3 += taps[i + 3] * x[(i + 3) * stride];
    }
    for (; i < count; ++i)
        s0 += taps[i] * x[i * stride];
    return (s0 + s1) + (s2 + s3);
}

}  // namespace

Resampler::Resampler(uint32_t inputRate)
{
    uint32_t common = std::gcd(kOutputRate, inputRate);
    up_ = kOutputRate / common;
    down_ = inputRate / common;

    // Frequencies in cycles per input sample.
    double nyquist = (inputRate < kOutputRate ? inputRate : kOutputRate) / 2.0 / inputRate;
    double pass = nyquist * kPassShare;
    double cutoff = (pass + nyquist) / 2;
    double transition = 2 * kPi * (nyquist - pass);
    // Kaiser's estimates of the length and the shape for kStopDb.
    double order = (kStopDb - 7.95) / (2.285 * transition);
    half_ = static_cast<int>(std::ceil(order / 2));
    double beta = 0.1102 * (kStopDb - 8.7);
    double edge = besselI0(beta);

    // One row a phase, or rows at even steps between which run() draws a
    // phase's row when the phases are too many to build.
    rows_ = up_ <= kMostRows ? up_ : kMostRows;
    uint32_t built = up_ <= kMostRows ? rows_ : rows_ + 1;
    int width = 2 * half_;
    taps_.resize(static_cast<size_t>(built) * width);
    std::vector<double> h(width);
    for (uint32_t p = 0; p < built; ++p) {
        float* row = &taps_[static_cast<size_t>(p) * width];
        double fraction = static_cast<double>(p) / rows_;
        double sum = 0;
        for (int t = 0; t < width; ++t) {
            // Tap t weighs input frame (whole position) + t - (half - 1).
            double distance = fraction - (t - (half_ - 1));
            double r = distance / half_;
            double window = r * r < 1 ? besselI0(beta * std::sqrt(1 - r * r)) / edge : 0.0;
            h[t] = 2 * cutoff * sinc(2 * cutoff * distance) * window;
            sum += h[t];
        }
        for (int t = 0; t < width; ++t)
            row[t] = static_cast<float>(h[t] / sum);
    }
}

const float* Resampler::drawRow(uint32_t phase, float* row) const
{
    const int width = 2 * half_;
    uint64_t at = static_cast<uint64_t>(phase) * rows_;
    const float* below = &taps_[static_cast<size_t>(at / up_) * width];
    const float* above = below + width;
    float share = static_cast<float>(at % up_) / static_cast<float>(up_);
    for (int t = 0; t < width; ++t)
        row[t] = below[t] + share * (above[t] - below[t]);
    return row;
}

uint64_t Resampler::outputFrames(uint64_t frames) const
{
    return (frames * up_ + down_ - 1) / down_;
}

void Resampler::run(const float* in, size_t frames, int channels, int16_t* out) const
{
    const int width = 2 * half_;
    const uint64_t total = outputFrames(frames);
    const ptrdiff_t count = static_cast<ptrdiff_t>(frames);
    std::vector<float> drawn(rows_ == up_ ? 0 : width);
    size_t whole = 0;  // input frame at or before the output position
    uint32_t phase = 0;  // the position's fraction, in 1 / up_
    for (uint64_t k = 0; k < total; ++k) {
        const float* row = drawn.empty() ? &taps_[static_cast<size_t>(phase) * width] : drawRow(phase, drawn.data());
        // Frames before the start and after the end are silence.
        ptrdiff_t first = static_cast<ptrdiff_t>(whole) - (half_ - 1);
        ptrdiff_t from = first < 0 ? 0 : first;
        ptrdiff_t to = first + width < count ? first + width : count;
        int n = static_cast<int>(to - from);
        const float* taps = row + (from - first);
        const float* x = in + from * channels;
        float left = n <= 0 ? 0.0f : channels == 2 ? dot<2>(taps, x, n) : dot<1>(taps, x, n);
        float right = channels == 2 && n > 0 ? dot<2>(taps, x + 1, n) : left;
        out[2 * k] = roundSample(left);
        out[2 * k + 1] = roundSample(right);
        phase += down_;
        whole += phase / up_;
        phase %= up_;
    }
}
