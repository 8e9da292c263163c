#include "app/render/compositing.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

namespace {

using Table = std::array<unsigned char, 65536>;

constexpr Table MakeMulTable()
{
    Table t{};
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b)
            t[a * 256 + b] = static_cast<unsigned char>(a * b / 255);
    return t;
}

constexpr Table MakeOverAlphaTable()
{
    Table t{};
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b)
            t[a * 256 + b] = static_cast<unsigned char>(a + b * (255 - a) / 255);
    return t;
}

constexpr Table MakeSourceWeightTable()
{
    Table t{};
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b)
            t[a * 256 + b] = a == 0 && b == 0 ? 0 : static_cast<unsigned char>(65025 * b / (255 * a + b * (255 - a)));
    return t;
}

} // namespace

alignas(64) constinit const Table MulTable = MakeMulTable();
alignas(64) constinit const Table OverAlphaTable = MakeOverAlphaTable();
alignas(64) constinit const Table SourceWeightTable = MakeSourceWeightTable();

namespace {

inline unsigned Mul(unsigned a, unsigned b)
{
    return MulTable[a * 256 + b];
}

inline unsigned ClampByte(int64_t v)
{
    return static_cast<unsigned>(std::clamp<int64_t>(v, 0, 255));
}

// One colour byte laid over another with weight w for the upper one.
inline unsigned char Mix(unsigned w, unsigned upper, unsigned lower)
{
    return static_cast<unsigned char>(Mul(w, upper) + Mul(255 - w, lower));
}

// Walks the rows top to bottom and each row left to right, calling op(d, a, b) with the pixel pointers of the
// destination and of up to two other runs. Templated so that the per-pixel work inlines into the loop.
template <class Op>
void ForEachPixel(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* a, int aPixelStep,
                  int aRowStep, const unsigned char* b, int bPixelStep, int bRowStep, int width, int height, Op op)
{
    if (width <= 0 || height <= 0 || !dst)
        return;
    for (int y = 0; y < height; ++y) {
        unsigned char* d = dst + static_cast<ptrdiff_t>(y) * dstRowStep;
        const unsigned char* pa = a ? a + static_cast<ptrdiff_t>(y) * aRowStep : nullptr;
        const unsigned char* pb = b ? b + static_cast<ptrdiff_t>(y) * bRowStep : nullptr;
        for (int x = 0; x < width; ++x) {
            op(d, pa, pb);
            d += dstPixelStep;
            if (pa)
                pa += aPixelStep;
            if (pb)
                pb += bPixelStep;
        }
    }
}

} // namespace

int StrengthFromPercent(int percent)
{
    const int64_t p = static_cast<int64_t>(percent) * 255 / 100;
    return static_cast<int>(std::clamp<int64_t>(p, INT_MIN, INT_MAX));
}

namespace {

inline void BlendAlpha1(unsigned char* d, const unsigned char* s)
{
    const unsigned index = d[0] * 256u + s[0];
    const unsigned w = SourceWeightTable[index];
    d[0] = OverAlphaTable[index];
    d[1] = Mix(w, s[1], d[1]);
    d[2] = Mix(w, s[2], d[2]);
    d[3] = Mix(w, s[3], d[3]);
}

// Vectors of kBytes / 4 packed pixels, one per 32-bit lane: alpha in the low byte, then red, green, blue. Seen
// as Halves the same bytes are 16-bit lanes, two samples of a pixel in each pair: alpha and green once the pixel
// is masked, red and blue once it is shifted down a byte. Pixels enter and leave vectors through memcpy, which
// holds for a run that starts at any byte.
template <int kBytes> struct PixelVectors
{
    static constexpr int kPixels = kBytes / 4;
    typedef uint32_t Pixels __attribute__((vector_size(kBytes)));
    typedef uint16_t Halves __attribute__((vector_size(kBytes)));
    typedef int32_t Ints __attribute__((vector_size(kBytes)));
    typedef float Floats __attribute__((vector_size(kBytes)));
};

// BlendAlpha1 over the pixels of one vector, with the tables' entries computed rather than looked up:
//   MulTable[x][y] = x y / 255 in 16-bit lanes (the compiler divides by the constant with a multiply-high)
//   OverAlphaTable[a][b] = MulTable[b][255 - a] + MulTable[a][255], so the new alpha is a colour-like mix in
//                          the alpha lane, with weights 255 - a for the source and 255 for the destination
//   SourceWeightTable[a][b] = floor(65025 b / D), D = 255 a + b (255 - a) = 65025 - (255 - a) (255 - b)
// The weight is the float quotient of 65025 b by D, truncated. Both are exact floats (below 2^24), and an
// exact quotient below a whole number k lies at least 1 / D >= 1 / 65025 below it, farther than half a unit
// in the last place of any float below 256 (2^-17), so the correctly rounded quotient never reaches k. For
// a = b = 0 (D = 0) a tiny addend makes the quotient 0 rather than not a number; every D from 1 up loses it
// in the rounding.
template <int kBytes>
__attribute__((always_inline)) inline void BlendAlphaVector(unsigned char* dst, const unsigned char* src)
{
    using Pixels = typename PixelVectors<kBytes>::Pixels;
    using Halves = typename PixelVectors<kBytes>::Halves;
    using Ints = typename PixelVectors<kBytes>::Ints;
    using Floats = typename PixelVectors<kBytes>::Floats;
    Pixels d, s;
    __builtin_memcpy(&d, dst, sizeof d);
    __builtin_memcpy(&s, src, sizeof s);
    const Pixels sa = s & 0xFFu, inverse = (d & 0xFFu) ^ 0xFFu;
    const Pixels denominator = 65025u - (Pixels)((Halves)inverse * (Halves)(sa ^ 0xFFu));
    const Floats quotient = __builtin_convertvector((Ints)sa, Floats) * 65025.0f /
                            (__builtin_convertvector((Ints)denominator, Floats) + 0x1p-30f);
    const Pixels w = (Pixels) __builtin_convertvector(quotient, Ints);

    const Pixels wHigh = w << 16, wRedBlue = wHigh | w;
    const Halves alphaGreen = (Halves)(s & 0x00FF00FFu) * (Halves)(wHigh | inverse) / 255 +
                              (Halves)(d & 0x00FF00FFu) * (Halves)(wHigh ^ 0x00FF00FFu) / 255;
    const Halves redBlue =
        ((Halves)s >> 8) * (Halves)wRedBlue / 255 + ((Halves)d >> 8) * (Halves)(wRedBlue ^ 0x00FF00FFu) / 255;
    const Halves result = alphaGreen | (redBlue << 8);
    __builtin_memcpy(dst, &result, sizeof result);
}

// A row of packed pixels, a vector at a time. Vectors of clear source pixels leave the destination, and
// vectors of opaque ones replace it, as the full arithmetic would. The pixels left over after the last whole
// vector go through the next narrower vector, down to four pixels, and the last few one at a time.
template <int kBytes>
__attribute__((always_inline)) inline void BlendAlphaPackedRow(unsigned char* d, const unsigned char* s, int count)
{
    constexpr int kPixels = PixelVectors<kBytes>::kPixels, kWords = kBytes / 8;
    constexpr uint64_t kAlphas = 0x000000FF000000FFu;
    int x = 0;
    for (; x + kPixels <= count; x += kPixels, d += kBytes, s += kBytes) {
        uint64_t any = 0, all = kAlphas;
        for (int i = 0; i < kWords; ++i) {
            uint64_t word;
            std::memcpy(&word, s + 8 * i, sizeof word);
            any |= word;
            all &= word;
        }
        if ((any & kAlphas) == 0)
            continue;
        if (all == kAlphas) {
            // Read whole before written, as a run may be blended over itself.
            typename PixelVectors<kBytes>::Pixels copy;
            __builtin_memcpy(&copy, s, sizeof copy);
            __builtin_memcpy(d, &copy, sizeof copy);
            continue;
        }
        BlendAlphaVector<kBytes>(d, s);
    }
    if constexpr (kBytes > 16) {
        BlendAlphaPackedRow<kBytes / 2>(d, s, count - x);
    } else {
        for (; x < count; ++x, d += 4, s += 4)
            BlendAlpha1(d, s);
    }
}

// The baseline build takes four pixels at a time: split into halves, the eight-pixel vectors would lose the
// multiply-high division in some compilers' code for SSE2.
void BlendAlphaRowBaseline(unsigned char* d, const unsigned char* s, int count)
{
    BlendAlphaPackedRow<16>(d, s, count);
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2"))) void BlendAlphaRowAvx2(unsigned char* d, const unsigned char* s, int count)
{
    BlendAlphaPackedRow<32>(d, s, count);
}

// Sixteen pixels at a time. Even where the processor splits each 512-bit instruction in two, half the
// instructions to decode and retire keep this build ahead of the AVX2 one. The test for clear and opaque
// vectors runs on the vector itself here: the eight word loads of the generic test cost more than it saves.
__attribute__((target("avx512f,avx512bw,avx512vl"))) void BlendAlphaRowAvx512(unsigned char* d, const unsigned char* s,
                                                                              int count)
{
    const __m512i alphas = _mm512_set1_epi32(0xFF);
    int x = 0;
    for (; x + 16 <= count; x += 16, d += 64, s += 64) {
        const __m512i source = _mm512_loadu_si512(s);
        if (_mm512_test_epi32_mask(source, alphas) == 0)
            continue;
        if (_mm512_cmpeq_epi32_mask(_mm512_and_si512(source, alphas), alphas) == 0xFFFF) {
            _mm512_storeu_si512(d, source);
            continue;
        }
        BlendAlphaVector<64>(d, s);
    }
    BlendAlphaPackedRow<32>(d, s, count - x);
}
#else
constexpr detail::BlendAlphaRow BlendAlphaRowAvx2 = nullptr;
constexpr detail::BlendAlphaRow BlendAlphaRowAvx512 = nullptr;
#endif

} // namespace

std::span<const ProcessorBuild<detail::BlendAlphaRow>> detail::BlendAlphaRowBuilds()
{
    static const auto builds = BuildsThisProcessorRuns(BlendAlphaRowAvx512, BlendAlphaRowAvx2, BlendAlphaRowBaseline);
    return builds;
}

// For each pixel:
//   w = SourceWeightTable[d.a][s.a]; d.a = OverAlphaTable[d.a][s.a];
//   d.c = MulTable[w][s.c] + MulTable[255 - w][d.c]
// Packed runs (pixel step 4 on both sides) go a vector at a time through the equivalent arithmetic.
// Source and destination may be the same run but must not overlap otherwise.
void BlendAlpha(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* src, int srcPixelStep,
                int srcRowStep, int width, int height)
{
    if (width <= 0 || height <= 0 || !dst || !src)
        return;
    const bool packed = dstPixelStep == 4 && srcPixelStep == 4;
    const detail::BlendAlphaRow packedRow = packed ? detail::BlendAlphaRowBuilds()[0].routine : nullptr;
    for (int y = 0; y < height; ++y) {
        unsigned char* d = dst + static_cast<ptrdiff_t>(y) * dstRowStep;
        const unsigned char* s = src + static_cast<ptrdiff_t>(y) * srcRowStep;
        if (packed) {
            packedRow(d, s, width);
            continue;
        }
        for (int x = 0; x < width; ++x, d += dstPixelStep, s += srcPixelStep)
            BlendAlpha1(d, s);
    }
}

void ScaleAlpha(unsigned char* dst, int dstPixelStep, int dstRowStep, int width, int height, int k)
{
    const unsigned factor = ClampByte(k);
    ForEachPixel(dst, dstPixelStep, dstRowStep, nullptr, 0, 0, nullptr, 0, 0, width, height,
                 [factor](unsigned char* d, const unsigned char*, const unsigned char*) {
                     d[0] = static_cast<unsigned char>(Mul(d[0], factor));
                 });
}

void BlendColorInverseMask(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* mask,
                           int maskPixelStep, int maskRowStep, int width, int height, int percent, COLORREF color)
{
    if (!mask)
        return;
    const int64_t p = StrengthFromPercent(percent);
    const unsigned c[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    ForEachPixel(dst, dstPixelStep, dstRowStep, mask, maskPixelStep, maskRowStep, nullptr, 0, 0, width, height,
                 [p, &c](unsigned char* d, const unsigned char* m, const unsigned char*) {
                     const unsigned w = ClampByte(p - m[0]);
                     for (int i = 0; i < 3; ++i)
                         d[1 + i] = Mix(w, c[i], d[1 + i]);
                 });
}

namespace {

// Source pixels are made a stretch of a row at a time, for BlendAlpha's row routine to lay over the destination.
constexpr int kStretch = 256;

// Walks the rows of the destination and of two other runs a stretch at a time: make(source, d, a, m, count)
// writes the stretch's source pixels (four bytes each) from its first pixels d, a and m; they are laid over the
// destination as BlendAlpha lays them; then after(d, count) may change the stretch's destination pixels.
template <class Make, class After>
void BlendStretches(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* a, int aPixelStep,
                    int aRowStep, const unsigned char* m, int mPixelStep, int mRowStep, int width, int height,
                    Make make, After after)
{
    alignas(64) unsigned char source[kStretch * 4];
    const detail::BlendAlphaRow packedRow = dstPixelStep == 4 ? detail::BlendAlphaRowBuilds()[0].routine : nullptr;
    for (int y = 0; y < height; ++y) {
        unsigned char* d = dst + static_cast<ptrdiff_t>(y) * dstRowStep;
        const unsigned char* pa = a + static_cast<ptrdiff_t>(y) * aRowStep;
        const unsigned char* pm = m + static_cast<ptrdiff_t>(y) * mRowStep;
        for (int x = 0; x < width; x += kStretch) {
            const int count = std::min(kStretch, width - x);
            make(source, d, pa, pm, count);
            if (packedRow) {
                packedRow(d, source, count);
            } else {
                for (int i = 0; i < count; ++i)
                    BlendAlpha1(d + static_cast<ptrdiff_t>(i) * dstPixelStep, source + 4 * i);
            }
            after(d, count);
            d += static_cast<ptrdiff_t>(count) * dstPixelStep;
            pa += static_cast<ptrdiff_t>(count) * aPixelStep;
            pm += static_cast<ptrdiff_t>(count) * mPixelStep;
        }
    }
}

// The outer bevel, with the shading's grey taken as it is or inverted. Its colour goes over the destination as
// BlendAlpha lays a source pixel of alpha v, but the alpha grows by k rather than v: the colours go through
// BlendAlpha's row routine, and each alpha is set afterwards from the one before.
template <bool Inverted>
void BevelOuterImpl(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* shading,
                    int shadingPixelStep, int shadingRowStep, const unsigned char* mask, int maskPixelStep,
                    int maskRowStep, int width, int height, int p)
{
    if (!shading || !mask || !dst || width <= 0 || height <= 0)
        return;
    const unsigned strength = ClampByte(p);
    unsigned char alphaBefore[kStretch], growth[kStretch];
    auto make = [&](unsigned char* source, const unsigned char* d, const unsigned char* h, const unsigned char* m,
                    int count) {
        for (int i = 0; i < count; ++i, d += dstPixelStep, h += shadingPixelStep, m += maskPixelStep) {
            // The alpha grows by k, while the colour's weight is k reduced by the mask.
            const unsigned k = std::min(255u, 4 * Mul(h[0], strength));
            growth[i] = static_cast<unsigned char>(k);
            alphaBefore[i] = d[0];
            source[4 * i] = static_cast<unsigned char>(Mul(k, 255 - m[0]));
            for (int c = 1; c < 4; ++c)
                source[4 * i + c] = static_cast<unsigned char>(Inverted ? 255 - h[c] : h[c]);
        }
    };
    auto after = [&](unsigned char* d, int count) {
        for (int i = 0; i < count; ++i, d += dstPixelStep)
            d[0] = OverAlphaTable[alphaBefore[i] * 256u + growth[i]];
    };
    BlendStretches(dst, dstPixelStep, dstRowStep, shading, shadingPixelStep, shadingRowStep, mask, maskPixelStep,
                   maskRowStep, width, height, make, after);
}

} // namespace

void BevelOuter(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* shading,
                int shadingPixelStep, int shadingRowStep, const unsigned char* mask, int maskPixelStep, int maskRowStep,
                int width, int height, int p)
{
    BevelOuterImpl<false>(dst, dstPixelStep, dstRowStep, shading, shadingPixelStep, shadingRowStep, mask, maskPixelStep,
                          maskRowStep, width, height, p);
}

void BevelOuterInverted(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* shading,
                        int shadingPixelStep, int shadingRowStep, const unsigned char* mask, int maskPixelStep,
                        int maskRowStep, int width, int height, int p)
{
    BevelOuterImpl<true>(dst, dstPixelStep, dstRowStep, shading, shadingPixelStep, shadingRowStep, mask, maskPixelStep,
                         maskRowStep, width, height, p);
}

void BevelInner(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* shading,
                int shadingPixelStep, int shadingRowStep, const unsigned char* mask, int maskPixelStep, int maskRowStep,
                int width, int height, int p)
{
    if (!shading || !mask)
        return;
    const unsigned strength = ClampByte(p);
    ForEachPixel(dst, dstPixelStep, dstRowStep, shading, shadingPixelStep, shadingRowStep, mask, maskPixelStep,
                 maskRowStep, width, height,
                 [strength](unsigned char* d, const unsigned char* h, const unsigned char* m) {
                     if (m[0] == 0)
                         return;
                     const unsigned k = std::min(255u, 4 * Mul(255 - h[0], strength));
                     for (int i = 1; i < 4; ++i)
                         d[i] = Mix(k, h[i], d[i]);
                 });
}

// Each pixel lays a source pixel of alpha v and the glow's colour over the destination, exactly as BlendAlpha
// lays one: the source pixels are made a stretch of a row at a time and go through BlendAlpha's row routine.
void GlowBlend(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* glow, int glowPixelStep,
               int glowRowStep, const unsigned char* mask, int maskPixelStep, int maskRowStep, int width, int height,
               int p, COLORREF color)
{
    if (!glow || !mask || !dst || width <= 0 || height <= 0)
        return;
    const unsigned strength = ClampByte(p);
    const unsigned char r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
    auto make = [&](unsigned char* source, const unsigned char*, const unsigned char* gl, const unsigned char* m,
                    int count) {
        for (int i = 0; i < count; ++i, gl += glowPixelStep, m += maskPixelStep) {
            source[4 * i] = static_cast<unsigned char>(Mul(Mul(strength, 255 - m[0]), gl[0]));
            source[4 * i + 1] = r;
            source[4 * i + 2] = g;
            source[4 * i + 3] = b;
        }
    };
    BlendStretches(dst, dstPixelStep, dstRowStep, glow, glowPixelStep, glowRowStep, mask, maskPixelStep, maskRowStep,
                   width, height, make, [](unsigned char*, int) {});
}

void ApplyBevel(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* shading,
                int shadingPixelStep, int shadingRowStep, const unsigned char* mask, int maskPixelStep, int maskRowStep,
                int width, int height, int style, int percent)
{
    const int p = StrengthFromPercent(percent);
    auto outer = [&] {
        BevelOuter(dst, dstPixelStep, dstRowStep, shading, shadingPixelStep, shadingRowStep, mask, maskPixelStep,
                   maskRowStep, width, height, p);
    };
    auto inner = [&] {
        BevelInner(dst, dstPixelStep, dstRowStep, shading, shadingPixelStep, shadingRowStep, mask, maskPixelStep,
                   maskRowStep, width, height, p);
    };
    switch (style) {
    case 0:
        outer();
        break;
    case 1:
        inner();
        break;
    case 2:
        outer();
        inner();
        break;
    case 3:
        inner();
        BevelOuterInverted(dst, dstPixelStep, dstRowStep, shading, shadingPixelStep, shadingRowStep, mask,
                           maskPixelStep, maskRowStep, width, height, p);
        break;
    default:
        break;
    }
}

void ApplyGlow(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* glow, int glowPixelStep,
               int glowRowStep, const unsigned char* mask, int maskPixelStep, int maskRowStep, int width, int height,
               int style, int percent, COLORREF color)
{
    const int p = StrengthFromPercent(percent);
    if (style == 0 || style == 2)
        GlowBlend(dst, dstPixelStep, dstRowStep, glow, glowPixelStep, glowRowStep, mask, maskPixelStep, maskRowStep,
                  width, height, p, color);
    if (style == 1 || style == 2)
        GlowBlend(dst, dstPixelStep, dstRowStep, mask, maskPixelStep, maskRowStep, glow, glowPixelStep, glowRowStep,
                  width, height, p, color);
}
