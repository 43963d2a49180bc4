#include "audio/resampler.h"

#include <cmath>
#include <numeric>

#include "audio/sample16.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define POKOPON_RESAMPLE_VECTOR 1
#include <immintrin.h>
#endif

namespace {

constexpr uint32_t kOutputRate = 44100;
constexpr double kPi = 3.14159265358979323846;
// The pass band ends at 0.9 of the lower Nyquist frequency; the stop band
// starts at it, so that nothing above it aliases and no image survives.
constexpr double kPassShare = 0.9;
// Stop band attenuation the window is sized for: aliases and images stay
// 90 dB below a tone with room for the rounding to 16 bits.
constexpr double kStopDb = 95.0;
// An odd input rate can have up to 44100 phases. Past this many, a phase's
// taps are drawn linearly between the two nearest rows of as many even steps,
// which is off by less than 100 dB below the tone.
constexpr uint32_t kMostRows = 512;
// Input frames gathered at a time, each channel apart.
constexpr int64_t kSpan = 4096;

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

// The sums of width taps times the samples of the left and, unless it is
// null, the right channel. Each kernel adds in an order of its own, always
// the same; they differ by float rounding only, far below one step.
using Dot = void (*)(const float* taps, const float* left, const float* right, int width, float* sums);

// Eight running sums a channel, so that the additions do not wait on each
// other.
template <bool stereo>
void dotPlain(const float* taps, const float* left, const float* right, int width, float* sums)
{
    float l[8] = {}, r[8] = {};
    for (int i = 0; i < width; i += 8)
        for (int j = 0; j < 8; ++j) {
            l[j] += taps[i + j] * left[i + j];
            if (stereo)
                r[j] += taps[i + j] * right[i + j];
        }
    sums[0] = ((l[0] + l[4]) + (l[1] + l[5])) + ((l[2] + l[6]) + (l[3] + l[7]));
    sums[1] = ((r[0] + r[4]) + (r[1] + r[5])) + ((r[2] + r[6]) + (r[3] + r[7]));
}

void dotPlainEither(const float* taps, const float* left, const float* right, int width, float* sums)
{
    if (right)
        dotPlain<true>(taps, left, right, width, sums);
    else
        dotPlain<false>(taps, left, right, width, sums);
}

#ifdef POKOPON_RESAMPLE_VECTOR

#define POKOPON_AVX2_INLINE __attribute__((target("avx2,fma"), always_inline)) inline

POKOPON_AVX2_INLINE float addLanes(__m256 v)
{
    __m128 s = _mm_add_ps(_mm256_castps256_ps128(v), _mm256_extractf128_ps(v, 1));
    s = _mm_add_ps(s, _mm_movehl_ps(s, s));
    return _mm_cvtss_f32(_mm_add_ss(s, _mm_movehdup_ps(s)));
}

// Four running sums in all, as few 256-bit values live as that allows:
// 64-bit Windows cannot align the stack to spill them.
__attribute__((target("avx2,fma"))) void dotAvx2(const float* taps, const float* left, const float* right,
                                                 int width, float* sums)
{
    __m256 a = _mm256_setzero_ps(), b = a, c = a, d = a;
    int i = 0;
    if (!right) {
        for (; i + 32 <= width; i += 32) {
            a = _mm256_fmadd_ps(_mm256_loadu_ps(taps + i), _mm256_loadu_ps(left + i), a);
            b = _mm256_fmadd_ps(_mm256_loadu_ps(taps + i + 8), _mm256_loadu_ps(left + i + 8), b);
            c = _mm256_fmadd_ps(_mm256_loadu_ps(taps + i + 16), _mm256_loadu_ps(left + i + 16), c);
            d = _mm256_fmadd_ps(_mm256_loadu_ps(taps + i + 24), _mm256_loadu_ps(left + i + 24), d);
        }
        for (; i < width; i += 8)
            a = _mm256_fmadd_ps(_mm256_loadu_ps(taps + i), _mm256_loadu_ps(left + i), a);
        sums[0] = addLanes(_mm256_add_ps(_mm256_add_ps(a, b), _mm256_add_ps(c, d)));
        return;
    }
    for (; i + 16 <= width; i += 16) {
        __m256 t = _mm256_loadu_ps(taps + i), u = _mm256_loadu_ps(taps + i + 8);
        a = _mm256_fmadd_ps(t, _mm256_loadu_ps(left + i), a);
        b = _mm256_fmadd_ps(u, _mm256_loadu_ps(left + i + 8), b);
        c = _mm256_fmadd_ps(t, _mm256_loadu_ps(right + i), c);
        d = _mm256_fmadd_ps(u, _mm256_loadu_ps(right + i + 8), d);
    }
    for (; i < width; i += 8) {
        __m256 t = _mm256_loadu_ps(taps + i);
        a = _mm256_fmadd_ps(t, _mm256_loadu_ps(left + i), a);
        c = _mm256_fmadd_ps(t, _mm256_loadu_ps(right + i), c);
    }
    sums[0] = addLanes(_mm256_add_ps(a, b));
    sums[1] = addLanes(_mm256_add_ps(c, d));
}

#endif  // POKOPON_RESAMPLE_VECTOR

Dot widestDot()
{
#ifdef POKOPON_RESAMPLE_VECTOR
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        return dotAvx2;
#endif
    return dotPlainEither;
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
    // Kaiser's estimates of the length and the shape for kStopDb; the length
    // is rounded up to whole vectors, which only narrows the transition.
    double order = (kStopDb - 7.95) / (2.285 * transition);
    int half = 4 * static_cast<int>(std::ceil(order / 8));
    width_ = 2 * half;
    double beta = 0.1102 * (kStopDb - 8.7);
    double edge = besselI0(beta);

    // One row a phase, or rows at even steps between which run() draws a
    // phase's row when the phases are too many to build.
    rows_ = up_ <= kMostRows ? up_ : kMostRows;
    uint32_t built = up_ <= kMostRows ? rows_ : rows_ + 1;
    taps_.resize(static_cast<size_t>(built) * width_);
    std::vector<double> h(width_);
    for (uint32_t p = 0; p < built; ++p) {
        float* row = &taps_[static_cast<size_t>(p) * width_];
        double fraction = static_cast<double>(p) / rows_;
        double sum = 0;
        for (int t = 0; t < width_; ++t) {
            // Tap t weighs input frame (whole position) + t - (half - 1).
            double distance = fraction - (t - (half - 1));
            double r = distance / half;
            double window = r * r < 1 ? besselI0(beta * std::sqrt(1 - r * r)) / edge : 0.0;
            h[t] = 2 * cutoff * sinc(2 * cutoff * distance) * window;
            sum += h[t];
        }
        for (int t = 0; t < width_; ++t)
            row[t] = static_cast<float>(h[t] / sum);
    }
}

const float* Resampler::drawRow(uint32_t phase, float* row) const
{
    uint64_t at = static_cast<uint64_t>(phase) * rows_;
    const float* below = &taps_[static_cast<size_t>(at / up_) * width_];
    const float* above = below + width_;
    float share = static_cast<float>(at % up_) / static_cast<float>(up_);
    for (int t = 0; t < width_; ++t)
        row[t] = below[t] + share * (above[t] - below[t]);
    return row;
}

uint64_t Resampler::outputFrames(uint64_t frames) const
{
    return (frames * up_ + down_ - 1) / down_;
}

void Resampler::run(const float* in, size_t frames, int channels, int16_t* out) const
{
    static const Dot dot = widestDot();
    const uint64_t total = outputFrames(frames);
    const int64_t count = static_cast<int64_t>(frames);
    const int64_t lead = width_ / 2 - 1;  // taps before the output position
    // A span of the input with each channel apart, and silence before the
    // start and after the end, so that every row meets whole vectors.
    const int64_t length = kSpan + width_;
    std::vector<float> span(static_cast<size_t>(channels * length));
    float* left = span.data();
    float* right = channels == 2 ? left + length : nullptr;
    std::vector<float> drawn(rows_ == up_ ? 0 : width_);
    int64_t whole = 0;   // input frame at or before the output position
    uint32_t phase = 0;  // the position's fraction, in 1 / up_
    for (uint64_t k = 0; k < total;) {
        const int64_t first = whole - lead;
        for (int64_t i = 0; i < length; ++i) {
            const int64_t at = first + i;
            const bool inside = at >= 0 && at < count;
            left[i] = inside ? in[at * channels] : 0.0f;
            if (right)
                right[i] = inside ? in[at * 2 + 1] : 0.0f;
        }
        for (; k < total && whole - lead - first <= kSpan; ++k) {
            const float* row = drawn.empty() ? &taps_[static_cast<size_t>(phase) * width_] : drawRow(phase, drawn.data());
            const int64_t offset = whole - lead - first;
            float sums[2];
            dot(row, left + offset, right ? right + offset : nullptr, width_, sums);
            out[2 * k] = roundSample(sums[0]);
            out[2 * k + 1] = roundSample(right ? sums[1] : sums[0]);
            phase += down_;
            whole += phase / up_;
            phase %= up_;
        }
    }
}
