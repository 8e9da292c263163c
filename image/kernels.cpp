#include "image/kernels.h"

#include <cstring>

namespace detail {
namespace {

// Samples move through memcpy so that buffers of any alignment are read and written safely; compilers turn
// the fixed-size copies into single loads and stores.
template <class T> inline T Load(const uint8_t* p)
{
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class T> inline void Store(uint8_t* p, T v)
{
    std::memcpy(p, &v, sizeof v);
}

inline uint8_t* RowAt(uint8_t* base, int rowStep, int y)
{
    return base + static_cast<ptrdiff_t>(y) * rowStep;
}
inline const uint8_t* RowAt(const uint8_t* base, int rowStep, int y)
{
    return base + static_cast<ptrdiff_t>(y) * rowStep;
}

// Sample-by-sample copy with a conversion between sample types.
template <class Src, class Dst, class Convert>
void CopyStrided(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
                 int samplesPerRow, int rows, Convert convert)
{
    const ptrdiff_t srcStep = static_cast<ptrdiff_t>(srcPixelStep) * sizeof(Src);
    const ptrdiff_t dstStep = static_cast<ptrdiff_t>(dstPixelStep) * sizeof(Dst);
    for (int y = 0; y < rows; ++y) {
        const uint8_t* s = RowAt(src, srcRowStep, y);
        uint8_t* d = RowAt(dst, dstRowStep, y);
        for (int x = 0; x < samplesPerRow; ++x)
            Store<Dst>(d + x * dstStep, convert(Load<Src>(s + x * srcStep)));
    }
}

// Same-size copy: whole rows when both sides are packed, else sample by sample. Rows move with memmove so
// that a copy of a buffer onto itself stays defined.
template <class T>
void CopySame(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
              int samplesPerRow, int rows)
{
    if (samplesPerRow <= 0 || rows <= 0)
        return;
    if (dstPixelStep == 1 && srcPixelStep == 1) {
        const size_t rowBytes = static_cast<size_t>(samplesPerRow) * sizeof(T);
        for (int y = 0; y < rows; ++y)
            std::memmove(RowAt(dst, dstRowStep, y), RowAt(src, srcRowStep, y), rowBytes);
        return;
    }
    CopyStrided<T, T>(dst, dstPixelStep, dstRowStep, src, srcPixelStep, srcRowStep, samplesPerRow, rows,
                      [](T v) { return v; });
}

template <class T> void FillSame(uint8_t* dst, int pixelStep, int rowStep, T value, int samplesPerRow, int rows)
{
    if (samplesPerRow <= 0 || rows <= 0)
        return;
    if (pixelStep == 1) {
        // With the step known when compiling, the loop becomes vector stores.
        for (int y = 0; y < rows; ++y) {
            uint8_t* d = RowAt(dst, rowStep, y);
            for (int x = 0; x < samplesPerRow; ++x)
                Store<T>(d + x * sizeof(T), value);
        }
        return;
    }
    const ptrdiff_t step = static_cast<ptrdiff_t>(pixelStep) * sizeof(T);
    for (int y = 0; y < rows; ++y) {
        uint8_t* d = RowAt(dst, rowStep, y);
        for (int x = 0; x < samplesPerRow; ++x)
            Store<T>(d + x * step, value);
    }
}

// Whole runs of N bytes per pixel. The values are copied first, so that the stores cannot be taken to change them.
template <int N>
void FillRuns(uint8_t* dst, int pixelStep, int rowStep, const uint8_t* values, int pixelsPerRow, int rows)
{
    uint8_t run[N];
    std::memcpy(run, values, N);
    const ptrdiff_t step = pixelStep;
    for (int y = 0; y < rows; ++y) {
        uint8_t* d = RowAt(dst, rowStep, y);
        for (int x = 0; x < pixelsPerRow; ++x)
            std::memcpy(d + x * step, run, N);
    }
}

} // namespace

void CopyBytes(uint8_t* dst, const uint8_t* src, size_t n)
{
    if (n != 0)
        std::memmove(dst, src, n);
}

namespace {

// The plane moves between interleaved pixels and planar strips (steps 3 and 4 against 1) are the bulk of the
// blur's and the effects' pixel traffic. With the steps known when compiling, the loop vectorises; the buffers
// of one call never overlap in these cases, which the compiler checks for itself before taking its vector path.
template <int DstStep, int SrcStep>
void Copy8Fixed(uint8_t* dst, int dstRowStep, const uint8_t* src, int srcRowStep, int samplesPerRow, int rows)
{
    for (int y = 0; y < rows; ++y) {
        uint8_t* d = RowAt(dst, dstRowStep, y);
        const uint8_t* s = RowAt(src, srcRowStep, y);
        for (int x = 0; x < samplesPerRow; ++x)
            d[x * DstStep] = s[x * SrcStep];
    }
}

} // namespace

void Copy8To8(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
              int samplesPerRow, int rows)
{
    if (samplesPerRow <= 0 || rows <= 0)
        return;
    using Fixed = void (*)(uint8_t*, int, const uint8_t*, int, int, int);
    Fixed fixed = nullptr;
    if (dstPixelStep == 1 && srcPixelStep == 4)
        fixed = Copy8Fixed<1, 4>;
    else if (dstPixelStep == 4 && srcPixelStep == 1)
        fixed = Copy8Fixed<4, 1>;
    else if (dstPixelStep == 1 && srcPixelStep == 3)
        fixed = Copy8Fixed<1, 3>;
    else if (dstPixelStep == 3 && srcPixelStep == 1)
        fixed = Copy8Fixed<3, 1>;
    if (fixed) {
        fixed(dst, dstRowStep, src, srcRowStep, samplesPerRow, rows);
        return;
    }
    CopySame<uint8_t>(dst, dstPixelStep, dstRowStep, src, srcPixelStep, srcRowStep, samplesPerRow, rows);
}

void Copy8To16(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
               int samplesPerRow, int rows)
{
    if (samplesPerRow <= 0 || rows <= 0)
        return;
    CopyStrided<uint8_t, uint16_t>(dst, dstPixelStep, dstRowStep, src, srcPixelStep, srcRowStep, samplesPerRow, rows,
                                   [](uint8_t v) { return static_cast<uint16_t>(v * 257); });
}

void Copy16To8(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
               int samplesPerRow, int rows)
{
    if (samplesPerRow <= 0 || rows <= 0)
        return;
    CopyStrided<uint16_t, uint8_t>(dst, dstPixelStep, dstRowStep, src, srcPixelStep, srcRowStep, samplesPerRow, rows,
                                   [](uint16_t v) { return static_cast<uint8_t>(v >> 8); });
}

void Copy16To16(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
                int samplesPerRow, int rows)
{
    CopySame<uint16_t>(dst, dstPixelStep, dstRowStep, src, srcPixelStep, srcRowStep, samplesPerRow, rows);
}

void Copy32To32(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
                int samplesPerRow, int rows)
{
    CopySame<uint32_t>(dst, dstPixelStep, dstRowStep, src, srcPixelStep, srcRowStep, samplesPerRow, rows);
}

void Copy64To64(uint8_t* dst, int dstPixelStep, int dstRowStep, const uint8_t* src, int srcPixelStep, int srcRowStep,
                int samplesPerRow, int rows)
{
    CopySame<uint64_t>(dst, dstPixelStep, dstRowStep, src, srcPixelStep, srcRowStep, samplesPerRow, rows);
}

void Fill8(uint8_t* dst, int pixelStep, int rowStep, uint8_t value, int samplesPerRow, int rows)
{
    if (samplesPerRow <= 0 || rows <= 0)
        return;
    if (pixelStep == 1) {
        for (int y = 0; y < rows; ++y)
            std::memset(RowAt(dst, rowStep, y), value, static_cast<size_t>(samplesPerRow));
        return;
    }
    FillSame<uint8_t>(dst, pixelStep, rowStep, value, samplesPerRow, rows);
}

void Fill16(uint8_t* dst, int pixelStep, int rowStep, uint16_t value, int samplesPerRow, int rows)
{
    FillSame<uint16_t>(dst, pixelStep, rowStep, value, samplesPerRow, rows);
}

void Fill32(uint8_t* dst, int pixelStep, int rowStep, uint32_t value, int samplesPerRow, int rows)
{
    FillSame<uint32_t>(dst, pixelStep, rowStep, value, samplesPerRow, rows);
}

void Fill64(uint8_t* dst, int pixelStep, int rowStep, uint64_t value, int samplesPerRow, int rows)
{
    FillSame<uint64_t>(dst, pixelStep, rowStep, value, samplesPerRow, rows);
}

void FillPixels8(uint8_t* dst, int pixelStep, int rowStep, const uint8_t* values, int samples, int pixelsPerRow,
                 int rows)
{
    if (pixelsPerRow <= 0 || rows <= 0 || samples < 1 || samples > 4 || samples > pixelStep)
        return;
    switch (samples) {
    case 1:
        Fill8(dst, pixelStep, rowStep, values[0], pixelsPerRow, rows);
        break;
    case 2:
        FillRuns<2>(dst, pixelStep, rowStep, values, pixelsPerRow, rows);
        break;
    case 3:
        FillRuns<3>(dst, pixelStep, rowStep, values, pixelsPerRow, rows);
        break;
    default:
        if (pixelStep == 4)
            Fill32(dst, 1, rowStep, Load<uint32_t>(values), pixelsPerRow, rows);
        else
            FillRuns<4>(dst, pixelStep, rowStep, values, pixelsPerRow, rows);
        break;
    }
}

namespace {

// The obvious form, pixel by pixel.
void RgbToOpaqueRgbaBaseline(uint8_t* dst, const uint8_t* src, int pixels)
{
    for (int i = 0; i < pixels; ++i, dst += 4, src += 3) {
        dst[0] = 255;
        dst[1] = src[0];
        dst[2] = src[1];
        dst[3] = src[2];
    }
}

#if defined(__x86_64__) || defined(__i386__)
using Bytes16 = uint8_t __attribute__((vector_size(16)));
using Bytes32 = uint8_t __attribute__((vector_size(32)));
using Words8 = uint32_t __attribute__((vector_size(32)));

// Eight pixels at a time: the 24 source bytes as two overlapping 16-byte loads, one per half of the vector, each
// half spread to four pixels by a byte shuffle within the half, and the alpha bytes set. The second load reads
// four bytes beyond the eight pixels, so the last few pixels (at least two) go one by one.
__attribute__((target("avx2"))) void RgbToOpaqueRgbaAvx2(uint8_t* dst, const uint8_t* src, int pixels)
{
    int i = 0;
    for (; i + 10 <= pixels; i += 8, dst += 32, src += 24) {
        Bytes16 low, high;
        std::memcpy(&low, src, sizeof low);
        std::memcpy(&high, src + 12, sizeof high);
        const Bytes32 both = __builtin_shufflevector(low, high, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                                     16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31);
        const Bytes32 spread = __builtin_shufflevector(both, both, 0, 0, 1, 2, 0, 3, 4, 5, 0, 6, 7, 8, 0, 9, 10, 11, 16,
                                                       16, 17, 18, 16, 19, 20, 21, 16, 22, 23, 24, 16, 25, 26, 27);
        const Words8 pixelsOut = ((Words8)spread & 0xFFFFFF00u) | 0xFFu;
        std::memcpy(dst, &pixelsOut, sizeof pixelsOut);
    }
    RgbToOpaqueRgbaBaseline(dst, src, pixels - i);
}
#else
constexpr RgbToOpaqueRgbaRow RgbToOpaqueRgbaAvx2 = nullptr;
#endif

} // namespace

std::span<const ProcessorBuild<RgbToOpaqueRgbaRow>> RgbToOpaqueRgbaBuilds()
{
    static const auto builds = BuildsThisProcessorRuns(RgbToOpaqueRgbaAvx2, RgbToOpaqueRgbaBaseline);
    return builds;
}

void CopyRgbToOpaqueRgba(uint8_t* dst, int dstRowStep, const uint8_t* src, int srcRowStep, int pixelsPerRow, int rows)
{
    if (pixelsPerRow <= 0 || rows <= 0)
        return;
    const RgbToOpaqueRgbaRow row = RgbToOpaqueRgbaBuilds()[0].routine;
    for (int y = 0; y < rows; ++y)
        row(RowAt(dst, dstRowStep, y), RowAt(src, srcRowStep, y), pixelsPerRow);
}

} // namespace detail
