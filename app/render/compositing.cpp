#include "app/render/compositing.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

// Eight packed pixels, one per 32-bit lane: alpha in the low byte, then red, green, blue.
using Pixels8 = uint32_t __attribute__((vector_size(32)));
using Ints8 = int32_t __attribute__((vector_size(32)));
using Floats8 = float __attribute__((vector_size(32)));

// MulTable[a][b] for two bytes held in the low bytes of each 16-bit half of a lane, both times the weight
// in the lane: floor(t / 255) equals (t + 1 + (t >> 8)) >> 8 for every product t of two bytes, and no
// half carries into the other. Vectors go by reference, as their passing by value differs between the
// instruction-set builds.
__attribute__((always_inline)) inline void MulBytePairs(const Pixels8& pairs, const Pixels8& weight, Pixels8& out)
{
    const Pixels8 t = pairs * weight;
    out = ((t + 0x00010001u + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// BlendAlpha over eight contiguous pixels with the tables' results, computed instead of looked up:
//   OverAlphaTable[a][b] = a + MulTable[b][255 - a]
//   SourceWeightTable[a][b] = floor(65025 b / (255 a + b (255 - a))): the float quotient of these exact
//   integers is at most one above the floor, and one multiply and compare takes that back.
__attribute__((always_inline)) inline void BlendAlpha8(unsigned char* dst, const unsigned char* src)
{
    // Through memcpy, which holds for pixels at any byte: an alignment lowered among the attributes that make a
    // vector type is ignored by clang, which then reads and writes as if the pixels were 32-byte aligned.
    Pixels8 d, s;
    __builtin_memcpy(&d, dst, sizeof d);
    __builtin_memcpy(&s, src, sizeof s);
    const Ints8 da = __builtin_convertvector(d & 0xFFu, Ints8), sa = __builtin_convertvector(s & 0xFFu, Ints8);
    const Ints8 inverse = 255 - da;
    Ints8 denominator = 255 * da + sa * inverse;
    denominator -= denominator == 0; // both alphas 0: the numerator is 0 too, and so is the weight
    const Ints8 numerator = 65025 * sa;
    Ints8 w = __builtin_convertvector(
        __builtin_convertvector(numerator, Floats8) / __builtin_convertvector(denominator, Floats8), Ints8);
    w += w * denominator > numerator; // a true comparison is -1
    const Ints8 t = sa * inverse;
    const Ints8 alpha = da + ((t + 1 + (t >> 8)) >> 8);

    const Pixels8 ws = __builtin_convertvector(w, Pixels8), wd = 255u - ws;
    const Pixels8 sAlphaGreen = s & 0x00FF00FFu, dAlphaGreen = d & 0x00FF00FFu;
    const Pixels8 sRedBlue = (s >> 8) & 0x00FF00FFu, dRedBlue = (d >> 8) & 0x00FF00FFu;
    Pixels8 upper, lower;
    MulBytePairs(sAlphaGreen, ws, upper);
    MulBytePairs(dAlphaGreen, wd, lower);
    const Pixels8 alphaGreen = upper + lower;
    MulBytePairs(sRedBlue, ws, upper);
    MulBytePairs(dRedBlue, wd, lower);
    const Pixels8 redBlue = upper + lower;
    const Pixels8 result = ((alphaGreen | (redBlue << 8)) & 0xFFFFFF00u) | __builtin_convertvector(alpha, Pixels8);
    __builtin_memcpy(dst, &result, sizeof result);
}

inline void BlendAlpha1(unsigned char* d, const unsigned char* s)
{
    const unsigned index = d[0] * 256u + s[0];
    const unsigned w = SourceWeightTable[index];
    d[0] = OverAlphaTable[index];
    d[1] = Mix(w, s[1], d[1]);
    d[2] = Mix(w, s[2], d[2]);
    d[3] = Mix(w, s[3], d[3]);
}

// A row of packed pixels, eight at a time. Runs of eight clear source pixels leave the destination, and runs
// of eight opaque ones replace it, as the full arithmetic would.
__attribute__((target_clones("avx2", "default"))) void BlendAlphaPackedRow(unsigned char* d, const unsigned char* s,
                                                                           int count)
{
    int x = 0;
    for (; x + 8 <= count; x += 8, d += 32, s += 32) {
        uint64_t q[4];
        std::memcpy(q, s, sizeof q);
        const uint64_t alphas = (q[0] & 0x000000FF000000FFu) | ((q[1] & 0x000000FF000000FFu) << 8) |
                                ((q[2] & 0x000000FF000000FFu) << 16) | ((q[3] & 0x000000FF000000FFu) << 24);
        if (alphas == 0)
            continue;
        if (alphas == 0xFFFFFFFF00000000u + 0xFFFFFFFFu) {
            std::memmove(d, s, 32);
            continue;
        }
        BlendAlpha8(d, s);
    }
    for (; x < count; ++x, d += 4, s += 4)
        BlendAlpha1(d, s);
}

} // namespace

// For each pixel:
//   w = SourceWeightTable[d.a][s.a]; d.a = OverAlphaTable[d.a][s.a];
//   d.c = MulTable[w][s.c] + MulTable[255 - w][d.c]
// Packed runs (pixel step 4 on both sides) go eight pixels at a time through the equivalent arithmetic.
// Source and destination may be the same run but must not overlap otherwise.
void BlendAlpha(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* src, int srcPixelStep,
                int srcRowStep, int width, int height)
{
    if (width <= 0 || height <= 0 || !dst || !src)
        return;
    const bool packed = dstPixelStep == 4 && srcPixelStep == 4;
    for (int y = 0; y < height; ++y) {
        unsigned char* d = dst + static_cast<ptrdiff_t>(y) * dstRowStep;
        const unsigned char* s = src + static_cast<ptrdiff_t>(y) * srcRowStep;
        if (packed) {
            BlendAlphaPackedRow(d, s, width);
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

// The outer bevel, with the shading's grey taken as it is or inverted.
template <bool Inverted>
void BevelOuterImpl(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* shading,
                    int shadingPixelStep, int shadingRowStep, const unsigned char* mask, int maskPixelStep,
                    int maskRowStep, int width, int height, int p)
{
    if (!shading || !mask)
        return;
    const unsigned strength = ClampByte(p);
    ForEachPixel(dst, dstPixelStep, dstRowStep, shading, shadingPixelStep, shadingRowStep, mask, maskPixelStep,
                 maskRowStep, width, height,
                 [strength](unsigned char* d, const unsigned char* h, const unsigned char* m) {
                     // The alpha grows by k, while the colour's weight is k reduced by the mask.
                     const unsigned k = std::min(255u, 4 * Mul(h[0], strength));
                     const unsigned v = Mul(k, 255 - m[0]);
                     const unsigned w = SourceWeightTable[d[0] * 256u + v];
                     d[0] = OverAlphaTable[d[0] * 256u + k];
                     for (int i = 1; i < 4; ++i)
                         d[i] = Mix(w, Inverted ? 255 - h[i] : h[i], d[i]);
                 });
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

void GlowBlend(unsigned char* dst, int dstPixelStep, int dstRowStep, const unsigned char* glow, int glowPixelStep,
               int glowRowStep, const unsigned char* mask, int maskPixelStep, int maskRowStep, int width, int height,
               int p, COLORREF color)
{
    if (!glow || !mask)
        return;
    const unsigned strength = ClampByte(p);
    const unsigned c[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    ForEachPixel(dst, dstPixelStep, dstRowStep, glow, glowPixelStep, glowRowStep, mask, maskPixelStep, maskRowStep,
                 width, height, [strength, &c](unsigned char* d, const unsigned char* g, const unsigned char* m) {
                     const unsigned v = Mul(Mul(strength, 255 - m[0]), g[0]);
                     const unsigned w = SourceWeightTable[d[0] * 256u + v];
                     d[0] = OverAlphaTable[d[0] * 256u + v];
                     for (int i = 0; i < 3; ++i)
                         d[1 + i] = Mix(w, c[i], d[1 + i]);
                 });
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
