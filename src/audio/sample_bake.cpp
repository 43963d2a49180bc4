// The scalar form defines every baked value; the vector kernels reproduce it
// exactly, lane by lane, and each is only called where the processor has it.
#include "audio/sample_bake.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>

#include "util/little_endian.h"

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define POKOPON_BAKE_VECTOR 1
#include <immintrin.h>
#endif

// The i686 build computes with the x87 unit, which the MinGW runtime starts
// with 64-bit mantissas. A product kept at that precision, or rounded to
// double only when stored (rounding twice), can land on the other side of a
// whole number than the single rounding of the SSE kernels, and floor() or
// the truncation then differs by one. Setting the x87 precision to double
// while baking makes every product round once, to double, as SSE does.
#if defined(__i386__) && !defined(__SSE2_MATH__)
#define POKOPON_BAKE_X87 1
#endif

namespace {

constexpr double kSampleLimit = 32760.0;  // the volume stage clamps here, just inside 16 bits
constexpr size_t kFrameBytes = 4;

int16_t loadSample(const uint8_t* p)
{
    return static_cast<int16_t>(readLe16(p));
}

void storeSample(uint8_t* p, int16_t value)
{
    uint16_t bits = static_cast<uint16_t>(value);
    p[0] = static_cast<uint8_t>(bits);
    p[1] = static_cast<uint8_t>(bits >> 8);
}

int16_t bakeSample(int16_t sample, double gain, double pan)
{
    double x = sample * gain;
    if (x > kSampleLimit)
        x = kSampleLimit;
    if (x < -kSampleLimit)
        x = -kSampleLimit;
    // The volume stage ends on a whole sample, rounded down; the pan stage
    // truncates toward zero. With pan gains of at most 1 both results lie
    // within +-32760, so neither conversion can overflow.
    int16_t whole = static_cast<int16_t>(std::floor(x));
    return static_cast<int16_t>(static_cast<int32_t>(whole * pan));
}

#ifdef POKOPON_BAKE_X87
uint16_t enterDoublePrecision()
{
    uint16_t saved;
    __asm__ volatile("fnstcw %0" : "=m"(saved));
    uint16_t control = static_cast<uint16_t>((saved & ~0x0300) | 0x0200);  // precision control: 53 bits
    __asm__ volatile("fldcw %0" : : "m"(control) : "memory");
    return saved;
}

void leaveDoublePrecision(uint16_t saved)
{
    __asm__ volatile("fldcw %0" : : "m"(saved) : "memory");
}
#endif

// Also finishes the vector kernels' last frames, so it is the one place the
// x87 precision is set.
void bakeFrames(uint8_t* data, size_t frames, double gain, double left, double right)
{
#ifdef POKOPON_BAKE_X87
    uint16_t saved = enterDoublePrecision();
#endif
    for (size_t i = 0; i < frames; ++i) {
        uint8_t* frame = data + i * kFrameBytes;
        storeSample(frame, bakeSample(loadSample(frame), gain, left));
        storeSample(frame + 2, bakeSample(loadSample(frame + 2), gain, right));
    }
#ifdef POKOPON_BAKE_X87
    leaveDoublePrecision(saved);
#endif
}

#ifdef POKOPON_BAKE_VECTOR

// Four frames (16 bytes) a step. A __m128d holds one frame, left in the low
// lane, so the pan gains are one constant (left, right). The clamp comes
// before every conversion to integers, and the pan gains are at most 1, so
// no conversion ever meets a value outside its range.

#define POKOPON_SSE2_INLINE __attribute__((target("sse2"), always_inline)) inline

POKOPON_SSE2_INLINE __m128d volumeStage(__m128d x, __m128d gain, __m128d high, __m128d low)
{
    return _mm_max_pd(_mm_min_pd(_mm_mul_pd(x, gain), high), low);
}

// The pan stage of four frames, packed back into 16-bit samples.
POKOPON_SSE2_INLINE __m128i panStage(const __m128d whole[4], __m128d pan)
{
    __m128i a = _mm_unpacklo_epi64(_mm_cvttpd_epi32(_mm_mul_pd(whole[0], pan)),
                                   _mm_cvttpd_epi32(_mm_mul_pd(whole[1], pan)));
    __m128i b = _mm_unpacklo_epi64(_mm_cvttpd_epi32(_mm_mul_pd(whole[2], pan)),
                                   _mm_cvttpd_epi32(_mm_mul_pd(whole[3], pan)));
    return _mm_packs_epi32(a, b);
}

// SSE2 has no rounding instruction: truncate, then step down where that went
// up (negative fractions). Exact here, as every value lies within +-32760.
POKOPON_SSE2_INLINE __m128d floorSse2(__m128d x)
{
    __m128d truncated = _mm_cvtepi32_pd(_mm_cvttpd_epi32(x));
    return _mm_sub_pd(truncated, _mm_and_pd(_mm_cmpgt_pd(truncated, x), _mm_set1_pd(1.0)));
}

__attribute__((target("sse2"))) void bakeSse2(uint8_t* data, size_t frames, double gain, double left,
                                               double right)
{
    const __m128d g = _mm_set1_pd(gain);
    const __m128d high = _mm_set1_pd(kSampleLimit);
    const __m128d low = _mm_set1_pd(-kSampleLimit);
    const __m128d pan = _mm_setr_pd(left, right);
    const size_t steps = frames / 4;
    for (size_t i = 0; i < steps; ++i) {
        __m128i* p = reinterpret_cast<__m128i*>(data + i * 16);
        __m128i v = _mm_loadu_si128(p);
        // Sign-extend by moving each sample into the top half of a 32-bit lane.
        __m128i frames01 = _mm_srai_epi32(_mm_unpacklo_epi16(v, v), 16);
        __m128i frames23 = _mm_srai_epi32(_mm_unpackhi_epi16(v, v), 16);
        __m128d whole[4] = {
            _mm_cvtepi32_pd(frames01), _mm_cvtepi32_pd(_mm_srli_si128(frames01, 8)),
            _mm_cvtepi32_pd(frames23), _mm_cvtepi32_pd(_mm_srli_si128(frames23, 8))};
        for (__m128d& w : whole)
            w = floorSse2(volumeStage(w, g, high, low));
        _mm_storeu_si128(p, panStage(whole, pan));
    }
    bakeFrames(data + steps * 16, frames - steps * 4, gain, left, right);
}

__attribute__((target("sse4.1"))) void bakeSse41(uint8_t* data, size_t frames, double gain, double left,
                                                  double right)
{
    const __m128d g = _mm_set1_pd(gain);
    const __m128d high = _mm_set1_pd(kSampleLimit);
    const __m128d low = _mm_set1_pd(-kSampleLimit);
    const __m128d pan = _mm_setr_pd(left, right);
    const size_t steps = frames / 4;
    for (size_t i = 0; i < steps; ++i) {
        __m128i* p = reinterpret_cast<__m128i*>(data + i * 16);
        __m128i v = _mm_loadu_si128(p);
        __m128i frames01 = _mm_cvtepi16_epi32(v);
        __m128i frames23 = _mm_cvtepi16_epi32(_mm_srli_si128(v, 8));
        __m128d whole[4] = {
            _mm_cvtepi32_pd(frames01), _mm_cvtepi32_pd(_mm_srli_si128(frames01, 8)),
            _mm_cvtepi32_pd(frames23), _mm_cvtepi32_pd(_mm_srli_si128(frames23, 8))};
        for (__m128d& w : whole)
            w = _mm_floor_pd(volumeStage(w, g, high, low));
        _mm_storeu_si128(p, panStage(whole, pan));
    }
    bakeFrames(data + steps * 16, frames - steps * 4, gain, left, right);
}

// Two frames to a __m256d, eight frames (32 bytes) a step. Nothing here needs
// AVX2: the integer work stays in 128-bit registers, so plain AVX will do.
// Few enough values are live that nothing 256 bits wide is ever spilled:
// 64-bit Windows cannot align the stack for that.
__attribute__((target("avx"), always_inline)) inline __m128i bakeAvxStep(__m128i v, __m256d g, __m256d high,
                                                                        __m256d low, __m256d pan)
{
    __m256d a = _mm256_cvtepi32_pd(_mm_cvtepi16_epi32(v));
    __m256d b = _mm256_cvtepi32_pd(_mm_cvtepi16_epi32(_mm_srli_si128(v, 8)));
    a = _mm256_floor_pd(_mm256_max_pd(_mm256_min_pd(_mm256_mul_pd(a, g), high), low));
    b = _mm256_floor_pd(_mm256_max_pd(_mm256_min_pd(_mm256_mul_pd(b, g), high), low));
    return _mm_packs_epi32(_mm256_cvttpd_epi32(_mm256_mul_pd(a, pan)), _mm256_cvttpd_epi32(_mm256_mul_pd(b, pan)));
}

__attribute__((target("avx"))) void bakeAvx(uint8_t* data, size_t frames, double gain, double left,
                                             double right)
{
    const __m256d g = _mm256_set1_pd(gain);
    const __m256d high = _mm256_set1_pd(kSampleLimit);
    const __m256d low = _mm256_set1_pd(-kSampleLimit);
    const __m256d pan = _mm256_setr_pd(left, right, left, right);
    const size_t steps = frames / 8;
    for (size_t i = 0; i < steps; ++i) {
        __m128i* p = reinterpret_cast<__m128i*>(data + i * 32);
        __m128i first = bakeAvxStep(_mm_loadu_si128(p), g, high, low, pan);
        __m128i second = bakeAvxStep(_mm_loadu_si128(p + 1), g, high, low, pan);
        _mm_storeu_si128(p, first);
        _mm_storeu_si128(p + 1, second);
    }
    bakeFrames(data + steps * 32, frames - steps * 8, gain, left, right);
}

#endif  // POKOPON_BAKE_VECTOR

BakeKernel widestKernel()
{
    for (BakeKernel k : {BakeKernel::Avx, BakeKernel::Sse41, BakeKernel::Sse2})
        if (bakeKernelSupported(k))
            return k;
    return BakeKernel::Scalar;
}

void runKernel(BakeKernel kernel, uint8_t* data, uint32_t length, double gain, double left, double right)
{
    const size_t frames = length / kFrameBytes;
    switch (kernel) {
#ifdef POKOPON_BAKE_VECTOR
    case BakeKernel::Sse2:
        bakeSse2(data, frames, gain, left, right);
        return;
    case BakeKernel::Sse41:
        bakeSse41(data, frames, gain, left, right);
        return;
    case BakeKernel::Avx:
        bakeAvx(data, frames, gain, left, right);
        return;
#endif
    default:
        bakeFrames(data, frames, gain, left, right);
        return;
    }
}

}  // namespace

void bakeSamplesScalar(uint8_t* data, uint32_t length, double gain, double left, double right)
{
    bakeFrames(data, length / kFrameBytes, gain, left, right);
}

bool bakeKernelSupported(BakeKernel kernel)
{
#ifdef POKOPON_BAKE_VECTOR
    __builtin_cpu_init();
    switch (kernel) {
    case BakeKernel::Scalar:
        return true;
    case BakeKernel::Sse2:
        return __builtin_cpu_supports("sse2");
    case BakeKernel::Sse41:
        return __builtin_cpu_supports("sse4.1");
    case BakeKernel::Avx:
        // Also tells whether the system saves the 256-bit registers.
        return __builtin_cpu_supports("avx");
    }
    return false;
#else
    return kernel == BakeKernel::Scalar;
#endif
}

BakeKernel chosenBakeKernel()
{
    static const BakeKernel chosen = widestKernel();
    return chosen;
}

const char* bakeKernelName(BakeKernel kernel)
{
    switch (kernel) {
    case BakeKernel::Scalar:
        return "scalar";
    case BakeKernel::Sse2:
        return "SSE2";
    case BakeKernel::Sse41:
        return "SSE4.1";
    case BakeKernel::Avx:
        return "AVX";
    }
    return "?";
}

void bakeSamplesWith(BakeKernel kernel, uint8_t* data, uint32_t length, double gain, double left, double right)
{
    runKernel(bakeKernelSupported(kernel) ? kernel : BakeKernel::Scalar, data, length, gain, left, right);
}

void bakeSamples(uint8_t* data, uint32_t length, double gain, double left, double right)
{
    runKernel(chosenBakeKernel(), data, length, gain, left, right);
}
