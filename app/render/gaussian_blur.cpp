#include "app/render/gaussian_blur.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <numbers>

#include "image/processor_builds.h"

namespace detail {

DericheCoefficients ComputeDericheCoefficients(double sigma)
{
    constexpr double a0 = 1.6803, a1 = 3.735, b0 = 1.783, w0 = 0.6318;
    constexpr double c0 = -0.6803, c1 = -0.2598, b1 = 1.723, w1 = 1.997;

    const double s = std::sqrt(2.0 * std::numbers::pi) * sigma;
    const double A0 = a0 / s, A1 = a1 / s, C0 = c0 / s, C1 = c1 / s;
    const double e0 = std::exp(-b0 / sigma), e1 = std::exp(-b1 / sigma);
    const double cos0 = std::cos(w0 / sigma), sin0 = std::sin(w0 / sigma);
    const double cos1 = std::cos(w1 / sigma), sin1 = std::sin(w1 / sigma);
    const double e0sq = e0 * e0, e1sq = e1 * e1;

    DericheCoefficients c{};
    c.p[0] = A0 + C0;
    c.p[1] = e1 * (C1 * sin1 - (2 * A0 + C0) * cos1) + e0 * (A1 * sin0 - (2 * C0 + A0) * cos0);
    c.p[2] = 2 * e0 * e1 * ((A0 + C0) * cos1 * cos0 - A1 * cos1 * sin0 - C1 * cos0 * sin1) + C0 * e0sq + A0 * e1sq;
    c.p[3] = e1 * e0sq * (C1 * sin1 - C0 * cos1) + e0 * e1sq * (A1 * sin0 - A0 * cos0);
    c.p[4] = 0;
    c.d[0] = 0;
    c.d[1] = -2 * e1 * cos1 - 2 * e0 * cos0;
    c.d[2] = 4 * cos1 * cos0 * e0 * e1 + e1sq + e0sq;
    c.d[3] = -2 * cos0 * e0 * e1sq - 2 * cos1 * e1 * e0sq;
    c.d[4] = e0sq * e1sq;
    c.m[0] = 0;
    for (int i = 1; i < 5; ++i)
        c.m[i] = c.p[i] - c.d[i] * c.p[0];
    c.sumP = c.p[0] + c.p[1] + c.p[2] + c.p[3] + c.p[4];
    c.sumM = c.m[0] + c.m[1] + c.m[2] + c.m[3] + c.m[4];
    c.sumD = c.d[0] + c.d[1] + c.d[2] + c.d[3] + c.d[4];
    return c;
}

} // namespace detail

namespace {

using detail::DericheCoefficients;

// Lines are filtered kLanes at a time, one line per lane, so that the recursion, which is serial along a
// line, runs as vector arithmetic across lines. Each lane does exactly the scalar operations of one line in
// the same order, so the result does not depend on how lines are grouped. The lanes are held as groups of
// four doubles, the width of one AVX register.
constexpr int kLanes = 16;
constexpr int kGroup = 4;
constexpr int kGroups = kLanes / kGroup;
using Quad = double __attribute__((vector_size(kGroup * sizeof(double))));
using QuadInts = int32_t __attribute__((vector_size(kGroup * sizeof(int32_t))));

// Four doubles at any 8-byte boundary, read and written in place of the doubles they cover. Handed out by
// pointer, so that no vector crosses a call between code built for different instruction sets. The alignment is
// lowered on a typedef of the vector type, and reached through a pointer to that typedef: clang ignores it among
// the attributes that make the vector, and through a reference.
typedef Quad QuadInPlace __attribute__((aligned(8), may_alias));

inline const QuadInPlace* Lanes(const double* p)
{
    return reinterpret_cast<const QuadInPlace*>(p);
}

inline QuadInPlace* Lanes(double* p)
{
    return reinterpret_cast<QuadInPlace*>(p);
}

// Work memory for lines of up to `capacity` samples, kLanes lines at a time. Samples and outputs are kept
// with four rows of edge values beyond the ends, so the recursion needs no special first or last steps.
struct LineWork
{
    bool Allocate(int capacity)
    {
        const size_t n = static_cast<size_t>(capacity);
        samples.reset(new (std::nothrow) double[(n + 8) * kLanes]);
        forward.reset(new (std::nothrow) double[(n + 4) * kLanes]);
        backward.reset(new (std::nothrow) double[(n + 4) * kLanes]);
        result.reset(new (std::nothrow) int32_t[n * kLanes]);
        return samples && forward && backward && result;
    }

    std::unique_ptr<double[]> samples;  // x[k] at (k + 4) * kLanes
    std::unique_ptr<double[]> forward;  // y+[k] at (k + 4) * kLanes
    std::unique_ptr<double[]> backward; // y-[k] at k * kLanes
    std::unique_ptr<int32_t[]> result;  // the rounded and clamped sum at k * kLanes
};

// Filters kLanes lines of n samples held in work.samples and leaves the results in work.result. Per line:
//   y+[k] = sum(i = 0..3) p[i] x[k - i] - sum(i = 1..4) d[i] y+[k - i]
//   y-[k] = sum(i = 1..4) m[i] x[k + i] - sum(i = 1..4) d[i] y-[k + i]
//   result = y+[k] + y-[k], rounded half to even and clamped to 0..255 (eightBit), else truncated and
//   clamped to 0..65535,
// with the samples beyond the ends equal to the end samples and the outputs there at their steady states.
// Built into each build of FilterLines below.
__attribute__((always_inline)) inline void FilterLanes(const DericheCoefficients& c, LineWork& work, int n,
                                                       bool eightBit)
{
    constexpr int L = kLanes;
    double* x = work.samples.get();
    double* fwd = work.forward.get();
    double* bwd = work.backward.get();
    int32_t* out = work.result.get();
    const double p0 = c.p[0], p1 = c.p[1], p2 = c.p[2], p3 = c.p[3];
    const double d1 = c.d[1], d2 = c.d[2], d3 = c.d[3], d4 = c.d[4];
    const double m1 = c.m[1], m2 = c.m[2], m3 = c.m[3], m4 = c.m[4];

    for (int j = 0; j < L; ++j) {
        const double first = x[4 * L + j], last = x[(n + 3) * L + j];
        const double forwardEdge = first * c.sumP / (1.0 + c.sumD);
        const double backwardEdge = last * c.sumM / (1.0 + c.sumD);
        for (int i = 0; i < 4; ++i) {
            x[i * L + j] = first;
            x[(n + 4 + i) * L + j] = last;
            fwd[i * L + j] = forwardEdge;
            bwd[(n + i) * L + j] = backwardEdge;
        }
    }

    // The newest output of each group stays in a register; the older ones are read back.
    Quad y1[kGroups];
    for (int g = 0; g < kGroups; ++g)
        y1[g] = *Lanes(fwd + 3 * L + g * kGroup);
    for (int k = 0; k < n; ++k) {
        const double* xk = x + (k + 4) * L;
        double* yk = fwd + (k + 4) * L;
#pragma GCC unroll 4
        for (int g = 0; g < kGroups; ++g) {
            const double* xg = xk + g * kGroup;
            double* yg = yk + g * kGroup;
            const Quad sx = p0 * *Lanes(xg) + p1 * *Lanes(xg - L) + p2 * *Lanes(xg - 2 * L) + p3 * *Lanes(xg - 3 * L);
            const Quad sy = d1 * y1[g] + d2 * *Lanes(yg - 2 * L) + d3 * *Lanes(yg - 3 * L) + d4 * *Lanes(yg - 4 * L);
            y1[g] = sx - sy;
            *Lanes(yg) = y1[g];
        }
    }

    const Quad zero = {};
    const Quad top = zero + (eightBit ? 255.0 : 65535.0);
    // Adding and taking away 1.5 * 2^52 rounds a double of this range to the nearest integer, ties to even.
    const Quad roundingBias = zero + (eightBit ? 6755399441055744.0 : 0.0);
    Quad z1[kGroups];
    for (int g = 0; g < kGroups; ++g)
        z1[g] = *Lanes(bwd + n * L + g * kGroup);
    for (int k = n - 1; k >= 0; --k) {
        const double* xk = x + (k + 4) * L;
        double* zk = bwd + k * L;
        const double* yk = fwd + (k + 4) * L;
#pragma GCC unroll 4
        for (int g = 0; g < kGroups; ++g) {
            const double* xg = xk + g * kGroup;
            double* zg = zk + g * kGroup;
            const Quad sx =
                m1 * *Lanes(xg + L) + m2 * *Lanes(xg + 2 * L) + m3 * *Lanes(xg + 3 * L) + m4 * *Lanes(xg + 4 * L);
            const Quad sy = d1 * z1[g] + d2 * *Lanes(zg + 2 * L) + d3 * *Lanes(zg + 3 * L) + d4 * *Lanes(zg + 4 * L);
            z1[g] = sx - sy;
            *Lanes(zg) = z1[g];

            Quad r = *Lanes(yk + g * kGroup) + z1[g];
            r = r > zero ? r : zero; // also takes a NaN to 0
            r = r < top ? r : top;
            r = (r + roundingBias) - roundingBias;
            const QuadInts v = __builtin_convertvector(r, QuadInts);
            std::memcpy(out + k * L + g * kGroup, &v, sizeof v);
        }
    }
}

// Filters `lines` lines (at most kLanes) of n samples of type Sample. Sample k of line j lies at
// base + j * lineStep + k * sampleStep (in bytes); the lines are replaced by their results. The samples are
// moved one step of all lines at a time, so that the work arrays are written and read in order.
template <class Sample>
__attribute__((always_inline)) inline void FilterLines(const DericheCoefficients& c, LineWork& work,
                                                       unsigned char* base, ptrdiff_t lineStep, ptrdiff_t sampleStep,
                                                       int lines, int n)
{
    constexpr int L = kLanes;
    double* x = work.samples.get() + 4 * L;
    for (int k = 0; k < n; ++k) {
        const unsigned char* step = base + k * sampleStep;
        double* xk = x + k * L;
        for (int j = 0; j < lines; ++j) {
            Sample v;
            std::memcpy(&v, step + j * lineStep, sizeof v);
            xk[j] = v;
        }
        // Lanes without a line filter zeros, which stay finite and are never written back.
        for (int j = lines; j < L; ++j)
            xk[j] = 0.0;
    }

    FilterLanes(c, work, n, sizeof(Sample) == 1);

    const int32_t* out = work.result.get();
    for (int k = 0; k < n; ++k) {
        unsigned char* step = base + k * sampleStep;
        const int32_t* outk = out + k * L;
        for (int j = 0; j < lines; ++j) {
            const Sample v = static_cast<Sample>(outk[j]);
            std::memcpy(step + j * lineStep, &v, sizeof v);
        }
    }
}

// FilterLines for each sample size, built for the baseline and for AVX2; both give the same bits, as neither fuses
// multiply and add. The build the processor runs is chosen at the first blur, as the blends choose theirs, rather
// than by the loader (a loader-resolved clone runs before any library has started, a thread checker's among them).
using FilterLinesRoutine = void (*)(const DericheCoefficients& c, LineWork& work, unsigned char* base,
                                    ptrdiff_t lineStep, ptrdiff_t sampleStep, int lines, int n);

void FilterLines8Baseline(const DericheCoefficients& c, LineWork& work, unsigned char* base, ptrdiff_t lineStep,
                          ptrdiff_t sampleStep, int lines, int n)
{
    FilterLines<uint8_t>(c, work, base, lineStep, sampleStep, lines, n);
}

void FilterLines16Baseline(const DericheCoefficients& c, LineWork& work, unsigned char* base, ptrdiff_t lineStep,
                           ptrdiff_t sampleStep, int lines, int n)
{
    FilterLines<uint16_t>(c, work, base, lineStep, sampleStep, lines, n);
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2"))) void FilterLines8Avx2(const DericheCoefficients& c, LineWork& work, unsigned char* base,
                                                      ptrdiff_t lineStep, ptrdiff_t sampleStep, int lines, int n)
{
    FilterLines<uint8_t>(c, work, base, lineStep, sampleStep, lines, n);
}

__attribute__((target("avx2"))) void FilterLines16Avx2(const DericheCoefficients& c, LineWork& work,
                                                       unsigned char* base, ptrdiff_t lineStep, ptrdiff_t sampleStep,
                                                       int lines, int n)
{
    FilterLines<uint16_t>(c, work, base, lineStep, sampleStep, lines, n);
}
#else
constexpr FilterLinesRoutine FilterLines8Avx2 = nullptr;
constexpr FilterLinesRoutine FilterLines16Avx2 = nullptr;
#endif

template <class Sample> FilterLinesRoutine FilterLinesForThisProcessor()
{
    static const FilterLinesRoutine routine =
        sizeof(Sample) == 1
            ? BuildsThisProcessorRuns<FilterLinesRoutine>(FilterLines8Avx2, FilterLines8Baseline)[0].routine
            : BuildsThisProcessorRuns<FilterLinesRoutine>(FilterLines16Avx2, FilterLines16Baseline)[0].routine;
    return routine;
}

// Filters every plane of a planar map along its rows (alongRows) or its columns.
template <class Sample> void FilterMap(const DericheCoefficients& c, LineWork& work, const CPixMap& map, bool alongRows)
{
    const int lines = alongRows ? map.height : map.width;
    const int n = alongRows ? map.width : map.height;
    if (lines <= 0 || n <= 0)
        return;
    for (int p = 0; p < map.planes; ++p) {
        const CPixMap::Plane& plane = map.plane[p];
        const ptrdiff_t rowStep = plane.rowStep, sampleStep = sizeof(Sample);
        const ptrdiff_t lineStep = alongRows ? rowStep : sampleStep;
        const ptrdiff_t step = alongRows ? sampleStep : rowStep;
        const FilterLinesRoutine filterLines = FilterLinesForThisProcessor<Sample>();
        for (int j = 0; j < lines; j += kLanes)
            filterLines(c, work, plane.data + j * lineStep, lineStep, step, std::min(kLanes, lines - j), n);
    }
}

bool IsFreePlaneMode(IMAGE_MODE mode)
{
    const uint32_t format = mode & ~IMAGE_MODE_ALPHA_BIT;
    return format >= IMAGE_MODE_PLANES8 && format <= IMAGE_MODE_PLANES64;
}

// Moves the region through planar strips of about 65536 pixels: rows first, then columns.
template <class Sample>
bool BlurPlanes(CImage& image, const DericheCoefficients& c, int left, int top, int width, int height)
{
    const IMAGE_MODE mode = image.GetMode();
    const int rowsPerStrip = std::min(height, std::max(1, 65536 / width));
    const int columnsPerStrip = std::min(width, std::max(1, 65536 / height));

    // Everything is allocated before the first pixel changes, so that a failure leaves the image as it was.
    CPixMap rowStrip(mode, width, rowsPerStrip, false);
    CPixMap columnStrip(mode, columnsPerStrip, height, false);
    LineWork work;
    if (!rowStrip.plane[0].data || !columnStrip.plane[0].data || !work.Allocate(std::max(width, height)))
        return false;

    for (int y = 0; y < height; y += rowsPerStrip) {
        rowStrip.height = std::min(rowsPerStrip, height - y);
        if (!image.GetBuf(left, top + y, rowStrip, MASK_NONE, 1))
            return false;
        FilterMap<Sample>(c, work, rowStrip, true);
        if (!image.SetBuf(left, top + y, rowStrip, MASK_NONE, 1))
            return false;
    }
    for (int x = 0; x < width; x += columnsPerStrip) {
        columnStrip.width = std::min(columnsPerStrip, width - x);
        if (!image.GetBuf(left + x, top, columnStrip, MASK_NONE, 1))
            return false;
        FilterMap<Sample>(c, work, columnStrip, false);
        if (!image.SetBuf(left + x, top, columnStrip, MASK_NONE, 1))
            return false;
    }
    return true;
}

} // namespace

bool GaussianBlur(CImage* image, double sigma, const RECT* rect)
{
    if (std::isnan(sigma) || sigma < 0.2)
        return true;
    return GaussianBlurRegion(image, sigma, rect);
}

bool GaussianBlurRegion(CImage* image, double sigma, const RECT* rect)
{
    if (!image)
        return false;
    const IMAGE_MODE mode = image->GetMode();
    if ((mode & ~IMAGE_MODE_ALPHA_BIT) == IMAGE_MODE_INDEXED)
        return false;
    // A sigma of 0 or less, or an infinite one, gives no filter: its coefficients divide by zero.
    if (!std::isfinite(sigma) || sigma <= 0)
        return false;

    int left = 0, top = 0, right = image->Width(), bottom = image->Height();
    if (rect) {
        left = std::max<int>(left, rect->left);
        top = std::max<int>(top, rect->top);
        right = std::min<int>(right, rect->right);
        bottom = std::min<int>(bottom, rect->bottom);
    }
    if (right <= left || bottom <= top)
        return true;
    if (IsFreePlaneMode(mode) || image->GetPlanes() <= 0)
        return true;
    if (image->IsEmpty())
        return false;

    const DericheCoefficients c = detail::ComputeDericheCoefficients(sigma);
    if (image->GetBitsPerPlane() == 8)
        return BlurPlanes<uint8_t>(*image, c, left, top, right - left, bottom - top);
    return BlurPlanes<uint16_t>(*image, c, left, top, right - left, bottom - top);
}
