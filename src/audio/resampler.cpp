#include "audio/resampler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <numeric>

#include "audio/engine_form.h"
#include "audio/sample16.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define POKOPON_RESAMPLE_VECTOR 1
#include <immintrin.h>
#endif

namespace {

// The stop band starts at the lower Nyquist frequency, so that nothing above
// it aliases and no image survives. The window is sized for a transition
// from 0.89 of it: the band is then still flat within 0.03 dB at 0.9 and
// within 0.1 dB at 20 kHz of a 48 kHz file, where a transition from 0.9
// would keep a far finer flatness than needed for some 12 % more taps.
constexpr double kPassShare = 0.89;
// Stop band attenuation the window is sized for: aliases and images stay
// 90 dB below a tone with room for the rounding to 16 bits.
constexpr double kStopDb = 94.0;
// An odd input rate can have up to 44100 phases. Past this many, a phase's
// taps are drawn linearly between the two nearest rows of as many even steps,
// which is off by less than 100 dB below the tone.
constexpr uint32_t kMostRows = 512;
// Input frames gathered at a time, each channel apart.
constexpr int64_t kSpan = 4096;
// Output frames summed before they are rounded.
constexpr int kBatch = 64;

// Four taps' doubles as one value, which the compiler takes as vectors as
// wide as the target has at every level of optimisation; the loops it
// would otherwise have to vectorise itself it leaves alone at -O3.
typedef double Taps4 __attribute__((vector_size(32)));

// The Kaiser window for eight taps at once, I0(beta sqrt(1 - r2)) without
// the division by I0(beta), which each row's scaling to a sum of one does:
// their power series run side by side so that no sum waits on the one
// before. kTerms holds the series well past float precision for beta up to
// 10.
constexpr int kTerms = 16;

__attribute__((always_inline)) inline void kaiser8(const Taps4* r2, double beta, Taps4* window)
{
    const Taps4 zero = {}, one = zero + 1.0;
    const Taps4 q0 = r2[0] < one ? beta * beta / 4 * (one - r2[0]) : zero;
    const Taps4 q1 = r2[1] < one ? beta * beta / 4 * (one - r2[1]) : zero;
    Taps4 term0 = one, term1 = one, sum0 = one, sum1 = one;
    for (int k = 1; k <= kTerms; ++k) {
        const double f = 1.0 / (k * k);
        term0 *= q0 * f;
        term1 *= q1 * f;
        sum0 += term0;
        sum1 += term1;
    }
    window[0] = r2[0] < one ? sum0 : zero;
    window[1] = r2[1] < one ? sum1 : zero;
}

// What the rows of a filter share.
struct RowShape {
    int width, half;
    double beta;  // the window's shape
    double turn;  // the sinc's angle a tap
    const double* turnCos;
    const double* turnSin;
};

// Into h, the taps of the row whose tap t is start - t input frames from
// the output position, before they are scaled to sum to one; their sum.
// The sinc's sine at start - t is sin(turn start) cos(turn t) -
// cos(turn start) sin(turn t): two sines a row instead of one a tap.
__attribute__((always_inline)) inline double shapeRow(const RowShape& shape, double start, double* h)
{
    const double sine = std::sin(shape.turn * start), cosine = std::cos(shape.turn * start);
    const Taps4 zero = {}, one = zero + 1.0, lane = {0, 1, 2, 3};
    Taps4 sums = zero;
    for (int t = 0; t < shape.width; t += 8) {
        Taps4 distance[2], r2[2], window[2];
        for (int part = 0; part < 2; ++part) {
            distance[part] = start - (t + 4 * part + lane);
            const Taps4 r = distance[part] / shape.half;
            r2[part] = r * r;
        }
        kaiser8(r2, shape.beta, window);
        for (int part = 0; part < 2; ++part) {
            Taps4 turnCos, turnSin;
            std::memcpy(&turnCos, shape.turnCos + t + 4 * part, sizeof turnCos);
            std::memcpy(&turnSin, shape.turnSin + t + 4 * part, sizeof turnSin);
            // Both sides computed, so that the division goes four at a time.
            const Taps4 d = distance[part];
            const Taps4 sinc = (sine * turnCos - cosine * turnSin) / (d == zero ? one : d);
            const Taps4 taps = (d == zero ? shape.turn * one : sinc) * window[part];
            std::memcpy(h + t + 4 * part, &taps, sizeof taps);
            sums += taps;
        }
    }
    return (sums[0] + sums[2]) + (sums[1] + sums[3]);
}

// The same arithmetic either way, in the same order, so both give the same
// taps; the wider registers take eight taps' series in two steps, not four.
using Shape = double (*)(const RowShape& shape, double start, double* h);

double shapeRowPlain(const RowShape& shape, double start, double* h)
{
    return shapeRow(shape, start, h);
}

// An output frame's place: the input frame at or before it, and the
// fraction past that frame in 1 / up.
struct Position {
    int64_t whole = 0;
    uint32_t phase = 0;

    // On by one output frame, down / up input frames as stride + rest / up.
    void advance(uint32_t stride, uint32_t rest, uint32_t up)
    {
        whole += stride;
        phase += rest;
        if (phase >= up) {
            phase -= up;
            ++whole;
        }
    }
};

// Output frames from their sums, two floats a frame: the left side's, and
// the right side's after it unless the input was mono.
using Store = void (*)(const float* sums, int frames, bool stereo, int16_t* out);

void storeFrames(const float* sums, int frames, bool stereo, int16_t* out)
{
    for (int i = 0; i < frames; ++i) {
        out[2 * i] = roundSample(sums[2 * i]);
        out[2 * i + 1] = stereo ? roundSample(sums[2 * i + 1]) : out[2 * i];
    }
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

__attribute__((target("avx2,fma"))) double shapeRowAvx2(const RowShape& shape, double start, double* h)
{
    return shapeRow(shape, start, h);
}

POKOPON_AVX2_INLINE float addLanes(__m256 v)
{
    __m128 s = _mm_add_ps(_mm256_castps256_ps128(v), _mm256_extractf128_ps(v, 1));
    s = _mm_add_ps(s, _mm_movehl_ps(s, s));
    return _mm_cvtss_f32(_mm_add_ss(s, _mm_movehdup_ps(s)));
}

// Four running sums in all, so that no 256-bit value has to be spilled.
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

// Upsampling by four, every input position has the same four phases in
// turn, so kBatch output frames' sums are taken for eight input positions
// a vector: each of the rows' taps is used for every position, each sample
// for every phase, and eight running sums stand apart. Positions 8b + j
// are lane j of block b. (By two, the lanes are faster: each sample vector
// there serves four frames, not two.)
__attribute__((target("avx2,fma"))) void upsampleFourAvx2(const float* taps, int width, int stride, const float* x,
                                                          float* sums)
{
    constexpr int phases = 4, blocks = kBatch / phases / 8;
    // Unrolled to the end, so that the sums stay in registers.
    __m256 acc[phases][blocks];
#pragma GCC unroll 8
    for (int p = 0; p < phases; ++p)
#pragma GCC unroll 8
        for (int b = 0; b < blocks; ++b)
            acc[p][b] = _mm256_setzero_ps();
    for (int t = 0; t < width; ++t) {
        __m256 samples[blocks];
#pragma GCC unroll 8
        for (int b = 0; b < blocks; ++b)
            samples[b] = _mm256_loadu_ps(x + t + 8 * b);
#pragma GCC unroll 8
        for (int p = 0; p < phases; ++p) {
            const __m256 tap = _mm256_broadcast_ss(taps + p * stride + t);
#pragma GCC unroll 8
            for (int b = 0; b < blocks; ++b)
                acc[p][b] = _mm256_fmadd_ps(tap, samples[b], acc[p][b]);
        }
    }
    float lanes[8];
#pragma GCC unroll 8
    for (int p = 0; p < phases; ++p)
#pragma GCC unroll 8
        for (int b = 0; b < blocks; ++b) {
            _mm256_storeu_ps(lanes, acc[p][b]);
            for (int j = 0; j < 8; ++j)
                sums[2 * ((8 * b + j) * phases + p)] = lanes[j];
        }
}

// Lanes, each a stretch of the output a whole number of periods (up frames
// from down input frames) long, fall on the same phases at the same
// offsets; a vector holds one frame of eight lanes. Two vectors of lanes
// (a stereo file's two sides, or sixteen lanes of a mono file) and
// kLaneSteps frames of each are summed at once, eight running sums in
// registers: each tap is loaded once for two vectors of samples, each
// vector of samples once for all the frames. Each frame's row is shifted
// back by its distance from the first frame's position, into the zeros
// around it, so that sample i meets tap i of every shifted row.
constexpr int kLaneSteps = 4;

__attribute__((target("avx2,fma"))) void lanesAvx2(const float* const* rows, const float* first, const float* second,
                                                   int count, float* sums)
{
    __m256 a[kLaneSteps], b[kLaneSteps];
#pragma GCC unroll 8
    for (int m = 0; m < kLaneSteps; ++m)
        a[m] = b[m] = _mm256_setzero_ps();
    for (int i = 0; i < count; ++i) {
        const __m256 x = _mm256_load_ps(first + 8 * i), y = _mm256_load_ps(second + 8 * i);
#pragma GCC unroll 8
        for (int m = 0; m < kLaneSteps; ++m) {
            const __m256 tap = _mm256_broadcast_ss(rows[m] + i);
            a[m] = _mm256_fmadd_ps(tap, x, a[m]);
            b[m] = _mm256_fmadd_ps(tap, y, b[m]);
        }
    }
    float lanes[8];
#pragma GCC unroll 8
    for (int m = 0; m < kLaneSteps; ++m)
#pragma GCC unroll 2
        for (int c = 0; c < 2; ++c) {
            _mm256_storeu_ps(lanes, c ? b[m] : a[m]);
            for (int j = 0; j < 8; ++j)
                sums[2 * (kLaneSteps * j + m) + c] = lanes[j];
        }
}

// The same with sixteen lanes a vector and eight frames of each, where the
// processor has AVX-512: its thirty-two registers hold sixteen running sums,
// so that each sample vector, the loads being what limits, serves twice the
// frames, each twice as wide.
constexpr int kWideSteps = 8;

__attribute__((target("avx512f"))) void lanesAvx512(const float* const* rows, const float* first,
                                                   const float* second, int count, float* sums)
{
    __m512 a[kWideSteps], b[kWideSteps];
#pragma GCC unroll 8
    for (int m = 0; m < kWideSteps; ++m)
        a[m] = b[m] = _mm512_setzero_ps();
    for (int i = 0; i < count; ++i) {
        const __m512 x = _mm512_load_ps(first + 16 * i), y = _mm512_load_ps(second + 16 * i);
#pragma GCC unroll 8
        for (int m = 0; m < kWideSteps; ++m) {
            const __m512 tap = _mm512_set1_ps(rows[m][i]);
            a[m] = _mm512_fmadd_ps(tap, x, a[m]);
            b[m] = _mm512_fmadd_ps(tap, y, b[m]);
        }
    }
    float lanes[16];
#pragma GCC unroll 8
    for (int m = 0; m < kWideSteps; ++m)
#pragma GCC unroll 2
        for (int c = 0; c < 2; ++c) {
            _mm512_storeu_ps(lanes, c ? b[m] : a[m]);
            for (int j = 0; j < 16; ++j)
                sums[2 * (kWideSteps * j + m) + c] = lanes[j];
        }
}

// Upsampling by two or four, the rows are symmetric: the row of phase 0
// about the input frame at the output position, that of the half phase
// about the point between it and the next, and the rows of a quarter and
// three quarters are each other backwards. Each pair of samples a tap
// apart on either side is added first (or taken apart, for the quarters:
// their sum meets the rows' mean, their difference half the rows'
// difference, and the two phases are the sum and the difference of those
// sums), so that a multiply serves two taps and the adds run beside it.
// taps holds up floats for each distance k from 0 to half - 1: phase 0's,
// the half phase's, then the quarters' mean and half difference.
//
// The output is stretches side by side, one a lane, as in lanesAvx2, so
// that every load is of one whole aligned vector, shared by the positions
// beside it. Four frames of two vectors of lanes (the two sides of a stereo
// file, or a mono file's stretches in two sets) are summed at once,
// eight running sums in registers: 4 / up positions. vectors[c] points at
// vector c's samples of the first position; sums receives vector 0's four
// frames, then vector 1's. The loads, not the multiplies, are what limits:
// each sample vector is held in a register, as the compiler would
// otherwise take it into both adds that use it and load it twice; and
// where the processor has AVX-512 its vectors of sixteen lanes take twice
// the work a load. The steps are written once for both widths, as a macro:
// each width's intrinsics can only be called from code compiled for it.
#define POKOPON_FOLDED_SUMS(Vector, load, set1, add, sub, fmadd, lanes)                                   \
    constexpr int positions = 4 / up;                                                                    \
    Vector acc[2][positions][up];                                                                        \
    _Pragma("GCC unroll 2") for (int c = 0; c < 2; ++c)                                                  \
        _Pragma("GCC unroll 4") for (int j = 0; j < positions; ++j)                                      \
            _Pragma("GCC unroll 4") for (int p = 0; p < up; ++p) acc[c][j][p] = set1(0.0f);              \
    for (int k = 0; k < half; ++k) {                                                                     \
        Vector tap[up];                                                                                  \
        _Pragma("GCC unroll 4") for (int p = 0; p < up; ++p) tap[p] = set1(taps[up * k + p]);           \
        _Pragma("GCC unroll 2") for (int c = 0; c < 2; ++c) {                                            \
            const float* v = vectors[c];                                                                 \
            Vector before[positions], after[positions + 1];                                              \
            _Pragma("GCC unroll 4") for (int j = 0; j < positions; ++j)                                  \
                before[j] = held(load(v + lanes * (j - k)));                                             \
            _Pragma("GCC unroll 4") for (int j = 0; j <= positions; ++j)                                 \
                after[j] = held(load(v + lanes * (j + k)));                                              \
            _Pragma("GCC unroll 4") for (int j = 0; j < positions; ++j) {                                \
                const Vector pair = add(before[j], after[j + 1]);                                        \
                acc[c][j][0] = fmadd(tap[0], add(before[j], after[j]), acc[c][j][0]);                    \
                acc[c][j][1] = fmadd(tap[1], pair, acc[c][j][1]);                                        \
                if constexpr (up == 4) {                                                                 \
                    acc[c][j][2] = fmadd(tap[2], pair, acc[c][j][2]);                                    \
                    acc[c][j][3] = fmadd(tap[3], sub(before[j], after[j + 1]), acc[c][j][3]);            \
                }                                                                                        \
            }                                                                                            \
        }                                                                                                \
    }                                                                                                    \
    _Pragma("GCC unroll 2") for (int c = 0; c < 2; ++c)                                                  \
        _Pragma("GCC unroll 4") for (int j = 0; j < positions; ++j) {                                    \
        Vector* f = sums + 4 * c + up * j;                                                               \
        f[0] = acc[c][j][0];                                                                             \
        if constexpr (up == 2) {                                                                         \
            f[1] = acc[c][j][1];                                                                         \
        } else {                                                                                         \
            f[1] = add(acc[c][j][2], acc[c][j][3]);                                                      \
            f[2] = acc[c][j][1];                                                                         \
            f[3] = sub(acc[c][j][2], acc[c][j][3]);                                                      \
        }                                                                                                \
    }

POKOPON_AVX2_INLINE __m256 held(__m256 v)
{
    asm("" : "+x"(v));
    return v;
}

template <int up>
POKOPON_AVX2_INLINE void foldedAvx2(const float* taps, int half, const float* const* vectors, __m256* sums)
{
    POKOPON_FOLDED_SUMS(__m256, _mm256_load_ps, _mm256_set1_ps, _mm256_add_ps, _mm256_sub_ps, _mm256_fmadd_ps, 8)
}

#define POKOPON_AVX512_INLINE __attribute__((target("avx512f,avx2,fma"), always_inline)) inline

POKOPON_AVX512_INLINE __m512 held(__m512 v)
{
    asm("" : "+v"(v));
    return v;
}

template <int up>
POKOPON_AVX512_INLINE void foldedAvx512(const float* taps, int half, const float* const* vectors, __m512* sums)
{
    POKOPON_FOLDED_SUMS(__m512, _mm512_load_ps, _mm512_set1_ps, _mm512_add_ps, _mm512_sub_ps, _mm512_fmadd_ps, 16)
}

#undef POKOPON_FOLDED_SUMS

// Eight floats rounded as roundSample rounds them, as 32-bit integers.
POKOPON_AVX2_INLINE __m256i roundAvx2(__m256 v)
{
    const __m256d low = _mm256_set1_pd(-32768.0), high = _mm256_set1_pd(32767.0), half = _mm256_set1_pd(0.5);
    __m256d a = _mm256_cvtps_pd(_mm256_castps256_ps128(v)), b = _mm256_cvtps_pd(_mm256_extractf128_ps(v, 1));
    a = _mm256_floor_pd(_mm256_add_pd(_mm256_min_pd(_mm256_max_pd(a, low), high), half));
    b = _mm256_floor_pd(_mm256_add_pd(_mm256_min_pd(_mm256_max_pd(b, low), high), half));
    return _mm256_set_m128i(_mm256_cvttpd_epi32(b), _mm256_cvttpd_epi32(a));
}

// Four vectors of eight lanes' words into lanes: lanes l and l + 4 of each
// vector, in turn, in the low and high halves of vector l.
POKOPON_AVX2_INLINE void transposeFour(const __m256i* w, __m256i* lanes)
{
    const __m256i a = _mm256_unpacklo_epi32(w[0], w[1]), b = _mm256_unpacklo_epi32(w[2], w[3]);
    const __m256i c = _mm256_unpackhi_epi32(w[0], w[1]), d = _mm256_unpackhi_epi32(w[2], w[3]);
    lanes[0] = _mm256_unpacklo_epi64(a, b);
    lanes[1] = _mm256_unpackhi_epi64(a, b);
    lanes[2] = _mm256_unpacklo_epi64(c, d);
    lanes[3] = _mm256_unpackhi_epi64(c, d);
}

// Four frames of eight lanes from first and second: a frame's two samples
// are one 32-bit word, and each lane's words go to its stretch, segment
// frames apart. A stereo file's first and second are its sides, a mono
// file's the stretches from to on and the eight after them.
POKOPON_AVX2_INLINE void storeFolded(const __m256* first, const __m256* second, bool stereo, uint64_t segment,
                                     int16_t* to)
{
    __m256i w[8], lanes[4];
#pragma GCC unroll 4
    for (int f = 0; f < 4; ++f) {
        const __m256i a = roundAvx2(first[f]), b = roundAvx2(second[f]);
        w[f] = _mm256_blend_epi16(a, _mm256_slli_epi32(stereo ? b : a, 16), 0xAA);
        w[4 + f] = _mm256_blend_epi16(b, _mm256_slli_epi32(b, 16), 0xAA);
    }
    for (int c = 0; c < (stereo ? 1 : 2); ++c, to += 2 * 8 * segment) {
        transposeFour(w + 4 * c, lanes);
        for (int l = 0; l < 4; ++l) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 2 * l * segment), _mm256_castsi256_si128(lanes[l]));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + 2 * (l + 4) * segment),
                             _mm256_extracti128_si256(lanes[l], 1));
        }
    }
}

// Runs of four frames of each lane from count positions on.
template <int up>
__attribute__((target("avx2,fma"))) void foldedLanesAvx2(const float* taps, int half, const float* const* vectors,
                                                         bool stereo, int count, uint64_t segment, int16_t* out)
{
    for (int i = 0; i < count; i += 4 / up, out += 2 * 4) {
        const float* at[2] = {vectors[0] + 8 * i, vectors[1] + 8 * i};
        __m256 sums[8];
        foldedAvx2<up>(taps, half, at, sums);
        storeFolded(sums, sums + 4, stereo, segment, out);
    }
}

// The same with sixteen lanes a vector, stored as their halves of eight.
template <int up>
__attribute__((target("avx512f,avx2,fma"))) void foldedLanesAvx512(const float* taps, int half,
                                                                   const float* const* vectors, bool stereo, int count,
                                                                   uint64_t segment, int16_t* out)
{
    for (int i = 0; i < count; i += 4 / up, out += 2 * 4) {
        const float* at[2] = {vectors[0] + 16 * i, vectors[1] + 16 * i};
        __m512 sums[8];
        foldedAvx512<up>(taps, half, at, sums);
        // Halves of vector c's lanes: low[c * 4 + f] and high[c * 4 + f].
        __m256 low[8], high[8];
#pragma GCC unroll 8
        for (int f = 0; f < 8; ++f) {
            // Zero-masked with every lane kept, which is the plain
            // extraction: the unmasked intrinsic's undefined source makes
            // some compilers warn.
            const __m512d v = _mm512_castps_pd(sums[f]);
            low[f] = _mm256_castpd_ps(_mm512_maskz_extractf64x4_pd(0xFF, v, 0));
            high[f] = _mm256_castpd_ps(_mm512_maskz_extractf64x4_pd(0xFF, v, 1));
        }
        if (stereo) {
            storeFolded(low, low + 4, true, segment, out);
            storeFolded(high, high + 4, true, segment, out + 2 * 8 * segment);
        } else {
            storeFolded(low, high, false, segment, out);
            storeFolded(low + 4, high + 4, false, segment, out + 2 * 16 * segment);
        }
    }
}

void foldedAvx2(const float* taps, int half, int up, const float* const* vectors, bool stereo, int count,
                uint64_t segment, int16_t* out)
{
    (up == 2 ? foldedLanesAvx2<2> : foldedLanesAvx2<4>)(taps, half, vectors, stereo, count, segment, out);
}

void foldedAvx512(const float* taps, int half, int up, const float* const* vectors, bool stereo, int count,
                  uint64_t segment, int16_t* out)
{
    (up == 2 ? foldedLanesAvx512<2> : foldedLanesAvx512<4>)(taps, half, vectors, stereo, count, segment, out);
}

// Four frames a step, rounded as roundSample rounds: clamped, then
// floor(v + 0.5) in double.
__attribute__((target("avx2,fma"))) void storeAvx2(const float* sums, int frames, bool stereo, int16_t* out)
{
    const __m256d low = _mm256_set1_pd(-32768.0), high = _mm256_set1_pd(32767.0), half = _mm256_set1_pd(0.5);
    int i = 0;
    for (; i + 4 <= frames; i += 4) {
        __m256 v = _mm256_loadu_ps(sums + 2 * i);
        if (!stereo)
            v = _mm256_moveldup_ps(v);
        __m256d a = _mm256_cvtps_pd(_mm256_castps256_ps128(v)), b = _mm256_cvtps_pd(_mm256_extractf128_ps(v, 1));
        a = _mm256_floor_pd(_mm256_add_pd(_mm256_min_pd(_mm256_max_pd(a, low), high), half));
        b = _mm256_floor_pd(_mm256_add_pd(_mm256_min_pd(_mm256_max_pd(b, low), high), half));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i),
                         _mm_packs_epi32(_mm256_cvttpd_epi32(a), _mm256_cvttpd_epi32(b)));
    }
    storeFrames(sums + 2 * i, frames - i, stereo, out + 2 * i);
}

#endif  // POKOPON_RESAMPLE_VECTOR

// Sums for steps frames (kLaneSteps, or kWideSteps in AVX-512) of two
// vectors of eight or sixteen lanes, frame m of lane j of vector c at
// 2 * (steps * j + m) + c in sums, from each frame's row shifted as lanesAvx2
// needs; first and second hold the vectors' samples, from the first frame's
// first tap on, count of each.
using Lanes = void (*)(const float* const* rows, const float* first, const float* second, int count, float* sums);
// Frames of each lane gathered at a time.
constexpr int kLaneSpan = 512;

// Upsampling by four, sums for kBatch output frames from a phase-0
// position on, of input x (the frame of its first tap), into every second
// float of sums; the rows stand stride floats apart.
using Upsample = void (*)(const float* taps, int width, int stride, const float* x, float* sums);
// Upsampling by up, two or four, the frames of count input positions of
// two vectors of lanes (a side of a stereo file each) from the folded taps,
// as foldedLanesAvx2 takes them; count is a multiple of 4 / up.
using Folded = void (*)(const float* taps, int half, int up, const float* const* vectors, bool stereo, int count,
                        uint64_t segment, int16_t* out);

// The widest kernels the processor has. Without AVX2 there are no
// upsampling or lanes kernels, and every frame goes one by one.
struct Kernels {
    Shape shape = shapeRowPlain;
    Dot dot = dotPlainEither;
    Store store = storeFrames;
    Upsample fourTimes = nullptr;
    Lanes lanes = nullptr;
    Folded folded = nullptr;
    int foldedLanes = 8;  // a vector of the folded kernel
    int laneWidth = 8, laneSteps = kLaneSteps;  // of the lanes kernel: lanes a vector, frames a lane
};

Kernels widestKernels()
{
    Kernels k;
#ifdef POKOPON_RESAMPLE_VECTOR
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma"))
        k = {shapeRowAvx2, dotAvx2, storeAvx2, upsampleFourAvx2, lanesAvx2, foldedAvx2};
    // Not in 32-bit code, whose eight vector registers the kernel would spill.
    if (k.folded && sizeof(void*) == 8 && __builtin_cpu_supports("avx512f")) {
        k.folded = foldedAvx512;
        k.foldedLanes = 16;
        k.lanes = lanesAvx512;
        k.laneWidth = 16;
        k.laneSteps = kWideSteps;
    }
#endif
    return k;
}

const Kernels& kernels()
{
    static const Kernels chosen = widestKernels();
    return chosen;
}

// Into lane j of vector c, lanes floats apart: the stretch j of side c, or
// the stretch lanes * c + j of a mono file, length input frames of it from
// first on; the stretches start spacing frames apart, and outside the input
// there is silence.
void gatherLanes(const float* in, int64_t count, int channels, int lanes, int64_t spacing, int64_t first,
                 int64_t length, float* const* vectors)
{
    for (int c = 0; c < 2; ++c)
        for (int j = 0; j < lanes; ++j) {
            float* lane = vectors[c] + j;
            const int side = channels == 2 ? c : 0;
            const int64_t start = (channels == 2 ? j : lanes * c + j) * spacing + first;
            const int64_t from = std::clamp<int64_t>(-start, 0, length);
            const int64_t to = std::clamp<int64_t>(count - start, from, length);
            int64_t i = 0;
            for (; i < from; ++i)
                lane[lanes * i] = 0.0f;
            for (; i < to; ++i)
                lane[lanes * i] = in[(start + i) * channels + side];
            for (; i < length; ++i)
                lane[lanes * i] = 0.0f;
        }
}

}  // namespace

Resampler::Resampler(uint32_t inputRate)
{
    uint32_t common = std::gcd(kEngineRate, inputRate);
    up_ = kEngineRate / common;
    down_ = inputRate / common;

    // Frequencies in cycles per input sample.
    double nyquist = (inputRate < kEngineRate ? inputRate : kEngineRate) / 2.0 / inputRate;
    double pass = nyquist * kPassShare;
    double cutoff = (pass + nyquist) / 2;
    double transition = 2 * std::numbers::pi * (nyquist - pass);
    // Kaiser's estimates of the length and the shape for kStopDb; the length
    // is rounded up to whole vectors, which only narrows the transition.
    double order = (kStopDb - 7.95) / (2.285 * transition);
    int half = 4 * static_cast<int>(std::ceil(order / 8));
    width_ = 2 * half;
    const double beta = 0.1102 * (kStopDb - 8.7);

    // One row a phase, or rows at even steps between which run() draws a
    // phase's row when the phases are too many to build.
    rows_ = up_ <= kMostRows ? up_ : kMostRows;
    const uint32_t built = up_ <= kMostRows ? rows_ : rows_ + 1;
    // The lanes take up to eight output frames' rows at once, each shifted
    // by its distance from the first frame's position: zeros around every
    // row let each run on past its ends.
    pad_ = static_cast<int>(7 * static_cast<uint64_t>(down_) / up_) + 2;
    taps_.assign(pad_ + static_cast<size_t>(built) * (width_ + pad_), 0.0f);
    std::vector<double> h(width_), turnCos(width_), turnSin(width_);
    const RowShape shape{width_, half, beta, 2 * std::numbers::pi * cutoff, turnCos.data(), turnSin.data()};
    for (int t = 0; t < width_; ++t) {
        turnCos[t] = std::cos(shape.turn * t);
        turnSin[t] = std::sin(shape.turn * t);
    }
    // Row rows_ - p is row p backwards, so only half the rows are computed.
    for (uint32_t p = 0; p <= rows_ / 2; ++p) {
        // Tap t weighs input frame (whole position) + t - (half - 1).
        const double sum = kernels().shape(shape, static_cast<double>(p) / rows_ + (half - 1), h.data());
        float* taps = &taps_[rowAt(p)];
        float* mirror = rows_ - p < built && rows_ - p != p ? &taps_[rowAt(rows_ - p)] : nullptr;
        // Each row sums to one; the sinc's 1 / pi cancels here.
        const double scale = 1 / sum;
        for (int t = 0; t < width_; ++t) {
            taps[t] = static_cast<float>(h[t] * scale);
            if (mirror)
                mirror[width_ - 1 - t] = taps[t];
        }
    }
    // By two or four, distance k pairs the samples k before and k after the
    // position for phase 0 (the one at it counted twice, so its tap is
    // halved), and k before and k + 1 after for the others: each pair's taps
    // are the mean of the two sides, which differ only by rounding.
    if (down_ == 1 && (up_ == 2 || up_ == 4)) {
        const float* zero = row(0);
        const float* middle = row(up_ / 2);
        const float* quarter = row(1);
        folded_.resize(static_cast<size_t>(up_) * half);
        for (int k = 0; k < half; ++k) {
            float* f = &folded_[static_cast<size_t>(up_) * k];
            f[0] = (zero[half - 1 - k] + zero[half - 1 + k]) / 4;
            if (k > 0)
                f[0] *= 2;
            f[1] = (middle[half - 1 - k] + middle[half + k]) / 2;
            if (up_ == 4) {
                f[2] = (quarter[half - 1 - k] + quarter[half + k]) / 2;
                f[3] = (quarter[half - 1 - k] - quarter[half + k]) / 2;
            }
        }
    }
}

const float* Resampler::drawRow(uint32_t phase, float* row) const
{
    uint64_t at = static_cast<uint64_t>(phase) * rows_;
    const float* below = this->row(static_cast<uint32_t>(at / up_));
    const float* above = below + width_ + pad_;
    float share = static_cast<float>(at % up_) / static_cast<float>(up_);
    // Eight taps a step, all read before any is written, which the compiler
    // turns into vectors.
    for (int t = 0; t < width_; t += 8) {
        float drawn[8];
        for (int j = 0; j < 8; ++j)
            drawn[j] = below[t + j] + share * (above[t + j] - below[t + j]);
        for (int j = 0; j < 8; ++j)
            row[t + j] = drawn[j];
    }
    return row;
}

uint64_t Resampler::outputFrames(uint64_t frames) const
{
    return (frames * up_ + down_ - 1) / down_;
}

void Resampler::runLanes(const float* in, size_t frames, int channels, uint64_t segment, int16_t* out) const
{
    const Lanes lanes = kernels().lanes;
    const Store store = kernels().store;
    const int width = kernels().laneWidth, steps = kernels().laneSteps;
    const bool stereo = channels == 2;
    const int64_t count = static_cast<int64_t>(frames);
    const int64_t lead = width_ / 2 - 1;
    const int64_t laneInput = static_cast<int64_t>(segment / up_ * down_);
    // A lane's input for kLaneSpan frames, with their last rows' taps.
    const int64_t length = kLaneSpan * static_cast<int64_t>(down_) / up_ + 2 + width_ + pad_;
    std::vector<float> gathered(static_cast<size_t>(2 * width * length + width));
    float* vectors[2];
    vectors[0] = gathered.data() + (-reinterpret_cast<uintptr_t>(gathered.data()) / sizeof(float) & (width - 1));
    vectors[1] = vectors[0] + width * length;
    // One float more: a mono lane of the second vector stands at the odd
    // floats, and the vector store reads one past its last frame.
    float sums[2 * 16 * kWideSteps + 1] = {};
    const float* rows[kWideSteps];
    const uint32_t stride = down_ / up_, rest = down_ % up_;
    Position at;  // of a frame in its lane
    for (uint64_t n = 0; n < segment;) {
        const int64_t first = at.whole - lead;
        gatherLanes(in, count, channels, width, laneInput, first, length, vectors);
        for (const uint64_t end = n + kLaneSpan; n < segment && n < end; n += steps) {
            const int64_t from = at.whole;
            int64_t last = 0;
            for (int m = 0; m < steps; ++m) {
                last = at.whole - from;
                rows[m] = row(at.phase) - last;
                at.advance(stride, rest, up_);
            }
            const int64_t offset = width * (from - lead - first);
            lanes(rows, vectors[0] + offset, vectors[1] + offset, width_ + static_cast<int>(last), sums);
            // The last steps may run past the lane's end; those are dropped.
            const int kept = static_cast<int>(std::min<uint64_t>(steps, segment - n));
            for (int j = 0; j < width; ++j) {
                const float* laneSums = sums + 2 * steps * j;
                if (stereo) {
                    store(laneSums, kept, true, out + 2 * (j * segment + n));
                } else {
                    store(laneSums, kept, false, out + 2 * (j * segment + n));
                    store(laneSums + 1, kept, false, out + 2 * ((width + j) * segment + n));
                }
            }
        }
    }
}

void Resampler::runFolded(const float* in, size_t frames, int channels, uint64_t segment, int16_t* out) const
{
    const bool stereo = channels == 2;
    const int lanes = kernels().foldedLanes;
    const int64_t count = static_cast<int64_t>(frames);
    const int half = width_ / 2, lead = half - 1;
    const int64_t positions = static_cast<int64_t>(segment / up_);  // a lane's
    // A lane's input for kLaneSpan positions, with the taps' reach either side.
    const int64_t length = kLaneSpan + width_;
    std::vector<float> gathered(static_cast<size_t>(2 * lanes * length + lanes));
    float* vectors[2];
    vectors[0] = gathered.data() + (-reinterpret_cast<uintptr_t>(gathered.data()) / sizeof(float) & (lanes - 1));
    vectors[1] = vectors[0] + lanes * length;
    for (int64_t n = 0; n < positions; n += kLaneSpan) {
        const int64_t first = n - lead;
        gatherLanes(in, count, channels, lanes, positions, first, length, vectors);
        const float* at[2] = {vectors[0] + lanes * lead, vectors[1] + lanes * lead};
        const int span = static_cast<int>(std::min<int64_t>(kLaneSpan, positions - n));
        kernels().folded(folded_.data(), half, static_cast<int>(up_), at, stereo, span, segment, out + 2 * up_ * n);
    }
}

void Resampler::run(const float* in, size_t frames, int channels, int16_t* out) const
{
    const Kernels& kernels = ::kernels();
    const Upsample upsample = down_ == 1 && up_ == 4 ? kernels.fourTimes : nullptr;
    const uint64_t total = outputFrames(frames);
    // The lanes take all they can but the last periods; the rest goes frame
    // by frame.
    // Upsampling by two or four, the lanes take runs of four frames.
    const bool folded = kernels.folded && !folded_.empty();
    const uint64_t stretches = (folded ? kernels.foldedLanes : kernels.laneWidth) / 8 * (channels == 2 ? 8 : 16);
    const uint64_t segment = folded                                     ? total / stretches / 4 * 4
                             : kernels.lanes && !upsample && rows_ == up_ ? total / stretches / up_ * up_
                                                                          : 0;
    if (folded)
        runFolded(in, frames, channels, segment, out);
    else if (segment)
        runLanes(in, frames, channels, segment, out);
    const int64_t count = static_cast<int64_t>(frames);
    const int64_t lead = width_ / 2 - 1;  // taps before the output position
    // A span of the input with each channel apart, and silence before the
    // start and after the end, so that every row meets whole vectors.
    const int64_t length = kSpan + width_;
    std::vector<float> span(static_cast<size_t>(channels * length));
    float* left = span.data();
    float* right = channels == 2 ? left + length : nullptr;
    std::vector<float> drawn(rows_ == up_ ? 0 : width_);
    // A batch's sums are all taken before any is rounded, so that no
    // rounding waits on the sum before it.
    float sums[2 * kBatch];
    const uint32_t stride = down_ / up_, rest = down_ % up_;
    Position at{static_cast<int64_t>(stretches * segment / up_ * down_), 0};
    for (uint64_t k = stretches * segment; k < total;) {
        const int64_t first = at.whole - lead;
        const int64_t from = std::clamp<int64_t>(-first, 0, length);
        const int64_t to = std::clamp<int64_t>(count - first, from, length);
        std::fill(span.begin(), span.end(), 0.0f);
        const float* x = in + (first + from) * channels;
        if (right) {
            for (int64_t i = from; i < to; ++i, x += 2) {
                left[i] = x[0];
                right[i] = x[1];
            }
        } else {
            std::copy(x, x + (to - from), left + from);
        }
        int n;
        do {
            // Where the output position's first tap falls in the span.
            int64_t offset = at.whole - lead - first;
            n = 0;
            if (upsample && at.phase == 0 && k + kBatch <= total && offset + kBatch / up_ <= kSpan) {
                upsample(row(0), width_, width_ + pad_, left + offset, sums);
                if (right)
                    upsample(row(0), width_, width_ + pad_, right + offset, sums + 1);
                at.whole += kBatch / up_;
                n = kBatch;
            }
            // Frame by frame, up to where the upsampling kernel can go on.
            for (; n < kBatch && k + n < total && offset <= kSpan && !(upsample && at.phase == 0 && n > 0); ++n) {
                const float* taps = drawn.empty() ? row(at.phase) : drawRow(at.phase, drawn.data());
                kernels.dot(taps, left + offset, right ? right + offset : nullptr, width_, sums + 2 * n);
                at.advance(stride, rest, up_);
                offset = at.whole - lead - first;
            }
            kernels.store(sums, n, right, out + 2 * k);
            k += n;
        } while (n == kBatch);
    }
}
