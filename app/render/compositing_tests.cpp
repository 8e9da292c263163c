#include "app/render/compositing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

namespace {

int Mul(int a, int b)
{
    return MulTable[a * 256 + b];
}
int Over(int a, int b)
{
    return OverAlphaTable[a * 256 + b];
}
int Weight(int a, int b)
{
    return SourceWeightTable[a * 256 + b];
}

TEST(BlendTables, EntriesAtChosenValues)
{
    struct Case
    {
        const std::array<unsigned char, 65536>& table;
        int a, b, expected;
    };
    const Case cases[] = {
        {MulTable, 0, 200, 0},
        {MulTable, 255, 77, 77},
        {MulTable, 128, 128, 64},
        {MulTable, 100, 200, 78},
        {MulTable, 255, 255, 255},
        {OverAlphaTable, 0, 93, 93},
        {OverAlphaTable, 255, 17, 255},
        {OverAlphaTable, 128, 128, 191},
        {OverAlphaTable, 100, 50, 130},
        {OverAlphaTable, 40, 0, 40},
        {SourceWeightTable, 0, 0, 0},
        {SourceWeightTable, 0, 1, 255},
        {SourceWeightTable, 0, 200, 255},
        {SourceWeightTable, 255, 93, 93},
        {SourceWeightTable, 128, 128, 170},
        {SourceWeightTable, 200, 1, 1},
        {SourceWeightTable, 1, 200, 254},
        {SourceWeightTable, 100, 50, 97},
        {SourceWeightTable, 77, 255, 255},
        {SourceWeightTable, 77, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.table[c.a * 256 + c.b], c.expected) << "a " << c.a << " b " << c.b;
}

// Every colour mix in the operations is Mul(w, x) + Mul(255 - w, y); it must stay a byte.
TEST(BlendTables, TwoWeightedTermsNeverExceedAByte)
{
    for (int w = 0; w < 256; ++w)
        ASSERT_LE(Mul(w, 255) + Mul(255 - w, 255), 255) << w;
}

TEST(BlendTables, StrengthFromPercentTruncates)
{
    EXPECT_EQ(StrengthFromPercent(0), 0);
    EXPECT_EQ(StrengthFromPercent(50), 127);
    EXPECT_EQ(StrengthFromPercent(100), 255);
    EXPECT_EQ(StrengthFromPercent(-10), -25);
    // Values from a damaged file must not overflow.
    EXPECT_EQ(StrengthFromPercent(2000000000), INT_MAX);
    EXPECT_EQ(StrengthFromPercent(-2000000000), INT_MIN);
}

// --- The obvious forms, one pixel at a time with explicit indexes, as the reference. ---

struct PixelRun
{
    std::vector<unsigned char> bytes;
    int pixelStep;
    int rowStep;
    int start = 0; // bytes before the first pixel
    unsigned char* At(int x, int y) { return bytes.data() + start + y * rowStep + x * pixelStep; }
};

constexpr int kW = 37, kH = 11;

// A run of kW x kH pixels with padding between pixels and rows, filled with values that favour the
// special bytes 0 and 255.
PixelRun MakeRun(std::mt19937& rng, int pixelBytes, int gap, int rowPad, int start = 0)
{
    PixelRun r{{}, pixelBytes + gap, (pixelBytes + gap) * kW + rowPad, start};
    r.bytes.resize(static_cast<size_t>(start) + static_cast<size_t>(r.rowStep) * kH);
    std::uniform_int_distribution<int> pick(0, 9), any(0, 255);
    for (unsigned char& b : r.bytes) {
        int k = pick(rng);
        b = static_cast<unsigned char>(k == 0 ? 0 : k == 1 ? 255 : any(rng));
    }
    return r;
}

using PixelOp = std::function<void(unsigned char* d, const unsigned char* a, const unsigned char* b)>;

void ReferenceWalk(PixelRun& dst, PixelRun* a, PixelRun* b, const PixelOp& op)
{
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            op(dst.At(x, y), a ? a->At(x, y) : nullptr, b ? b->At(x, y) : nullptr);
}

void RefBlendAlpha(unsigned char* d, const unsigned char* s, const unsigned char*)
{
    int w = Weight(d[0], s[0]);
    d[0] = static_cast<unsigned char>(Over(d[0], s[0]));
    for (int i = 1; i < 4; ++i)
        d[i] = static_cast<unsigned char>(Mul(w, s[i]) + Mul(255 - w, d[i]));
}

PixelOp RefInverseMask(int percent, int r, int g, int b)
{
    return [=](unsigned char* d, const unsigned char* m, const unsigned char*) {
        int w = std::clamp(percent * 255 / 100 - m[0], 0, 255);
        const int c[3] = {r, g, b};
        for (int i = 0; i < 3; ++i)
            d[1 + i] = static_cast<unsigned char>(Mul(w, c[i]) + Mul(255 - w, d[1 + i]));
    };
}

PixelOp RefBevelOuter(int p, bool inverted)
{
    return [=](unsigned char* d, const unsigned char* h, const unsigned char* m) {
        int k = std::min(255, 4 * Mul(h[0], p));
        int v = Mul(k, 255 - m[0]);
        int w = Weight(d[0], v);
        d[0] = static_cast<unsigned char>(Over(d[0], k));
        for (int i = 1; i < 4; ++i)
            d[i] = static_cast<unsigned char>(Mul(w, inverted ? 255 - h[i] : h[i]) + Mul(255 - w, d[i]));
    };
}

PixelOp RefBevelInner(int p)
{
    return [=](unsigned char* d, const unsigned char* h, const unsigned char* m) {
        if (m[0] == 0)
            return;
        int k = std::min(255, 4 * Mul(255 - h[0], p));
        for (int i = 1; i < 4; ++i)
            d[i] = static_cast<unsigned char>(Mul(k, h[i]) + Mul(255 - k, d[i]));
    };
}

PixelOp RefGlow(int p, int r, int g, int b)
{
    return [=](unsigned char* d, const unsigned char* gl, const unsigned char* m) {
        int v = Mul(Mul(p, 255 - m[0]), gl[0]);
        int w = Weight(d[0], v);
        d[0] = static_cast<unsigned char>(Over(d[0], v));
        const int c[3] = {r, g, b};
        for (int i = 0; i < 3; ++i)
            d[1 + i] = static_cast<unsigned char>(Mul(w, c[i]) + Mul(255 - w, d[1 + i]));
    };
}

// The fast routines on the same runs, by name.
using Fast = std::function<void(PixelRun& d, PixelRun& a, PixelRun& b)>;

struct OpCase
{
    const char* name;
    Fast fast;
    std::function<void(PixelRun& d, PixelRun& a, PixelRun& b)> reference;
};

constexpr COLORREF kColour = RGB(200, 30, 120);

std::vector<OpCase> OpCases()
{
    auto walk1 = [](PixelOp op) {
        return [op](PixelRun& d, PixelRun& a, PixelRun&) { ReferenceWalk(d, &a, nullptr, op); };
    };
    auto walk2 = [](PixelOp op) {
        return [op](PixelRun& d, PixelRun& a, PixelRun& b) { ReferenceWalk(d, &a, &b, op); };
    };
    auto then = [](std::function<void(PixelRun&, PixelRun&, PixelRun&)> f,
                   std::function<void(PixelRun&, PixelRun&, PixelRun&)> g) {
        return [f, g](PixelRun& d, PixelRun& a, PixelRun& b) {
            f(d, a, b);
            g(d, a, b);
        };
    };
    std::vector<OpCase> cases = {
        {"BlendAlpha",
         [](PixelRun& d, PixelRun& a, PixelRun&) {
             BlendAlpha(d.At(0, 0), d.pixelStep, d.rowStep, a.At(0, 0), a.pixelStep, a.rowStep, kW, kH);
         },
         walk1(RefBlendAlpha)},
        {"ScaleAlpha",
         [](PixelRun& d, PixelRun&, PixelRun&) { ScaleAlpha(d.At(0, 0), d.pixelStep, d.rowStep, kW, kH, 77); },
         [](PixelRun& d, PixelRun&, PixelRun&) {
             ReferenceWalk(d, nullptr, nullptr, [](unsigned char* px, const unsigned char*, const unsigned char*) {
                 px[0] = static_cast<unsigned char>(Mul(px[0], 77));
             });
         }},
        {"BlendColorInverseMask",
         [](PixelRun& d, PixelRun& a, PixelRun&) {
             BlendColorInverseMask(d.At(0, 0), d.pixelStep, d.rowStep, a.At(0, 0), a.pixelStep, a.rowStep, kW, kH, 70,
                                   kColour);
         },
         walk1(RefInverseMask(70, 200, 30, 120))},
    };
    for (int style = 0; style <= 4; ++style) {
        static constexpr int percent = 60, p = percent * 255 / 100;
        std::function<void(PixelRun&, PixelRun&, PixelRun&)> ref = [](PixelRun&, PixelRun&, PixelRun&) {};
        if (style == 0)
            ref = walk2(RefBevelOuter(p, false));
        if (style == 1)
            ref = walk2(RefBevelInner(p));
        if (style == 2)
            ref = then(walk2(RefBevelOuter(p, false)), walk2(RefBevelInner(p)));
        if (style == 3)
            ref = then(walk2(RefBevelInner(p)), walk2(RefBevelOuter(p, true)));
        static const char* names[] = {"ApplyBevel0", "ApplyBevel1", "ApplyBevel2", "ApplyBevel3", "ApplyBevel4"};
        cases.push_back({names[style],
                         [style](PixelRun& d, PixelRun& a, PixelRun& b) {
                             ApplyBevel(d.At(0, 0), d.pixelStep, d.rowStep, a.At(0, 0), a.pixelStep, a.rowStep,
                                        b.At(0, 0), b.pixelStep, b.rowStep, kW, kH, style, percent);
                         },
                         ref});
    }
    for (int style = 0; style <= 3; ++style) {
        static constexpr int percent = 85, p = percent * 255 / 100;
        PixelOp glow = RefGlow(p, 200, 30, 120);
        auto outer = walk2(glow);
        auto inner = [glow](PixelRun& d, PixelRun& a, PixelRun& b) { ReferenceWalk(d, &b, &a, glow); };
        std::function<void(PixelRun&, PixelRun&, PixelRun&)> ref = [](PixelRun&, PixelRun&, PixelRun&) {};
        if (style == 0)
            ref = outer;
        if (style == 1)
            ref = inner;
        if (style == 2)
            ref = then(outer, inner);
        static const char* names[] = {"ApplyGlow0", "ApplyGlow1", "ApplyGlow2", "ApplyGlow3"};
        cases.push_back({names[style],
                         [style](PixelRun& d, PixelRun& a, PixelRun& b) {
                             ApplyGlow(d.At(0, 0), d.pixelStep, d.rowStep, a.At(0, 0), a.pixelStep, a.rowStep,
                                       b.At(0, 0), b.pixelStep, b.rowStep, kW, kH, style, percent, kColour);
                         },
                         ref});
    }
    return cases;
}

// Four-byte destination and shading or source runs with gaps; the mask and glow runs as one-byte alpha maps
// and as four-byte pixels.
TEST(Compositing, EveryOperationMatchesTheObviousFormPixelByPixel)
{
    std::mt19937 rng(1234);
    for (const OpCase& op : OpCases()) {
        for (int maskBytes : {1, 4}) {
            PixelRun d = MakeRun(rng, 4, 0, 8), a = MakeRun(rng, 4, 4, 0), b = MakeRun(rng, maskBytes, 0, 3);
            if (std::string(op.name).rfind("ApplyGlow", 0) == 0 || std::string(op.name) == "BlendColorInverseMask")
                a = MakeRun(rng, maskBytes, 1, 0); // glow and mask maps are alpha maps too
            PixelRun expected = d;
            op.reference(expected, a, b);
            op.fast(d, a, b);
            ASSERT_EQ(d.bytes, expected.bytes) << op.name << " with mask pixels of " << maskBytes << " bytes";
        }
    }
}

// Packed runs (BlendAlpha's vector path) whose first pixels and rows lie off every vector boundary, odd bytes
// among them.
TEST(Compositing, RunsStartingAtAnyByteMatchTheObviousForm)
{
    std::mt19937 rng(4321);
    for (const OpCase& op : OpCases()) {
        for (int start : {1, 2, 3, 5}) {
            PixelRun d = MakeRun(rng, 4, 0, 3, start), a = MakeRun(rng, 4, 0, 1, 8 - start),
                     b = MakeRun(rng, 1, 0, 0, start);
            PixelRun expected = d;
            op.reference(expected, a, b);
            op.fast(d, a, b);
            ASSERT_EQ(d.bytes, expected.bytes) << op.name << " starting at byte " << start;
        }
    }
}

TEST(Compositing, EmptyAreaChangesNothing)
{
    std::mt19937 rng(7);
    {
        PixelRun d = MakeRun(rng, 4, 0, 0), a = MakeRun(rng, 4, 0, 0), b = MakeRun(rng, 4, 0, 0);
        const PixelRun before = d;
        // Every operation with a zero width, a zero height and a negative width.
        for (auto [w, h] : {std::pair{0, kH}, std::pair{kW, 0}, std::pair{-3, kH}}) {
            BlendAlpha(d.At(0, 0), 4, d.rowStep, a.At(0, 0), 4, a.rowStep, w, h);
            ScaleAlpha(d.At(0, 0), 4, d.rowStep, w, h, 0);
            BlendColorInverseMask(d.At(0, 0), 4, d.rowStep, a.At(0, 0), 4, a.rowStep, w, h, 100, 0);
            for (int style = 0; style < 4; ++style) {
                ApplyBevel(d.At(0, 0), 4, d.rowStep, a.At(0, 0), 4, a.rowStep, b.At(0, 0), 4, b.rowStep, w, h, style,
                           100);
                ApplyGlow(d.At(0, 0), 4, d.rowStep, a.At(0, 0), 4, a.rowStep, b.At(0, 0), 4, b.rowStep, w, h, style,
                          100, 0);
            }
        }
        EXPECT_EQ(d.bytes, before.bytes);
    }
}

struct Pixel
{
    unsigned char a, r, g, b;
    bool operator==(const Pixel&) const = default;
};

void PrintTo(const Pixel& p, std::ostream* os)
{
    *os << "(" << int(p.a) << ", " << int(p.r) << ", " << int(p.g) << ", " << int(p.b) << ")";
}

Pixel Blend(Pixel d, Pixel s)
{
    BlendAlpha(&d.a, 4, 4, &s.a, 4, 4, 1, 1);
    return d;
}

TEST(BlendAlpha, OverTransparentOpaqueAndClearPixels)
{
    // Over a transparent destination every source pixel with some alpha is copied.
    for (int sa : {1, 77, 128, 254, 255})
        EXPECT_EQ(Blend({0, 9, 9, 9}, {static_cast<unsigned char>(sa), 10, 200, 255}),
                  (Pixel{static_cast<unsigned char>(sa), 10, 200, 255}));
    // A clear source pixel leaves whatever lies below.
    EXPECT_EQ(Blend({0, 9, 8, 7}, {0, 1, 2, 3}), (Pixel{0, 9, 8, 7}));
    EXPECT_EQ(Blend({130, 9, 8, 7}, {0, 1, 2, 3}), (Pixel{130, 9, 8, 7}));
    // Over an opaque destination the alpha stays and the colour moves toward the source by its alpha.
    EXPECT_EQ(Blend({255, 0, 0, 255}, {128, 255, 255, 255}), (Pixel{255, 128, 128, 255}));
    EXPECT_EQ(Blend({255, 0, 100, 200}, {51, 255, 0, 100}), (Pixel{255, 51, 80, 180}));
    // Half over half: alpha 191, the source's share 170 of 255.
    EXPECT_EQ(Blend({128, 0, 0, 0}, {128, 255, 255, 255}), (Pixel{191, 170, 170, 170}));
}

// Rows in which pixel x of row y lays source alpha x over destination alpha y, with colours that vary, followed
// by a row of clear and a row of opaque source pixels (the shortcuts). The rows are rowStep bytes apart and
// start `start` bytes into the buffers.
struct AlphaPairRows
{
    static constexpr int kRows = 258;
    int width, rowStep, start;
    std::vector<unsigned char> dst, src;

    AlphaPairRows(int width, int start) : width(width), rowStep(width * 4 + 12), start(start)
    {
        std::mt19937 rng(42);
        std::uniform_int_distribution<int> any(0, 255);
        dst.resize(static_cast<size_t>(start) + static_cast<size_t>(rowStep) * kRows);
        src.resize(dst.size());
        for (size_t i = 0; i < dst.size(); ++i) {
            dst[i] = static_cast<unsigned char>(any(rng));
            src[i] = static_cast<unsigned char>(any(rng));
        }
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < width; ++x) {
                dst[Offset(x, y)] = static_cast<unsigned char>(y);
                src[Offset(x, y)] = static_cast<unsigned char>(x);
            }
        for (int x = 0; x < width; ++x) {
            src[Offset(x, 256)] = 0;
            src[Offset(x, 257)] = 255;
        }
    }

    size_t Offset(int x, int y) const { return static_cast<size_t>(start) + y * rowStep + x * 4; }

    std::vector<unsigned char> Expected() const
    {
        std::vector<unsigned char> expected = dst;
        for (int y = 0; y < kRows; ++y)
            for (int x = 0; x < width; ++x)
                RefBlendAlpha(&expected[Offset(x, y)], &src[Offset(x, y)], nullptr);
        return expected;
    }
};

// Packed runs take the vector path: every pair of alphas, in rows of 256 (whole vectors) and of 253 (a tail),
// against the one-pixel form.
TEST(BlendAlpha, PackedRunsMatchTheTablesForEveryPairOfAlphas)
{
    for (int width : {256, 253}) {
        AlphaPairRows rows(width, 0);
        const std::vector<unsigned char> expected = rows.Expected();
        BlendAlpha(rows.dst.data(), 4, rows.rowStep, rows.src.data(), 4, rows.rowStep, width, AlphaPairRows::kRows);
        ASSERT_EQ(rows.dst, expected) << "width " << width;
    }
}

// The same for each build of the row routine this processor runs (not only the one BlendAlpha picks), on rows
// at an odd byte too.
TEST(BlendAlpha, EveryBuildMatchesTheTablesForEveryPairOfAlphas)
{
    for (const ProcessorBuild<detail::BlendAlphaRow>& build : detail::BlendAlphaRowBuilds()) {
        for (int start : {0, 1}) {
            AlphaPairRows rows(253, start);
            const std::vector<unsigned char> expected = rows.Expected();
            for (int y = 0; y < AlphaPairRows::kRows; ++y)
                build.routine(&rows.dst[rows.Offset(0, y)], &rows.src[rows.Offset(0, y)], rows.width);
            ASSERT_EQ(rows.dst, expected) << build.name << " starting at byte " << start;
        }
    }
}

// Random images in which clear and opaque source pixels come in runs of every length, so that groups of
// eight are clear, opaque or mixed at every position.
TEST(BlendAlpha, EveryBuildMatchesTheTablesOnRandomImages)
{
    std::mt19937 rng(77);
    std::uniform_int_distribution<int> any(0, 255), runLength(1, 20), kind(0, 2);
    const int width = 301, height = 40;
    for (const ProcessorBuild<detail::BlendAlphaRow>& build : detail::BlendAlphaRowBuilds()) {
        std::vector<unsigned char> dst(static_cast<size_t>(width) * height * 4), src(dst.size());
        for (size_t i = 0; i < dst.size(); ++i) {
            dst[i] = static_cast<unsigned char>(any(rng));
            src[i] = static_cast<unsigned char>(any(rng));
        }
        for (size_t p = 0; p < dst.size() / 4;) {
            const int k = kind(rng);
            for (int n = runLength(rng); n > 0 && p < dst.size() / 4; --n, ++p)
                if (k < 2)
                    src[p * 4] = k == 0 ? 0 : 255;
        }
        std::vector<unsigned char> expected = dst;
        for (size_t p = 0; p < dst.size() / 4; ++p)
            RefBlendAlpha(&expected[p * 4], &src[p * 4], nullptr);
        for (int y = 0; y < height; ++y)
            build.routine(&dst[static_cast<size_t>(y) * width * 4], &src[static_cast<size_t>(y) * width * 4], width);
        ASSERT_EQ(dst, expected) << build.name;
    }
}

// Rows of every width up to a few of the widest vectors, so that each build hands its remainder through every
// narrower vector down to the one-pixel form, at starts off every vector boundary; the source rows clear,
// opaque, of mixed alphas, or the destination row itself.
TEST(BlendAlpha, EveryBuildMatchesTheTablesAtEveryWidthAndStart)
{
    enum class Source
    {
        kClear,
        kOpaque,
        kMixed,
        kItself
    };
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> any(0, 255), kind(0, 2);
    for (const ProcessorBuild<detail::BlendAlphaRow>& build : detail::BlendAlphaRowBuilds())
        for (Source source : {Source::kClear, Source::kOpaque, Source::kMixed, Source::kItself})
            for (int start : {0, 1, 4, 7})
                for (int width = 1; width <= 67; ++width) {
                    std::vector<unsigned char> dst(static_cast<size_t>(start + width * 4)), src(dst.size());
                    for (size_t i = 0; i < dst.size(); ++i) {
                        dst[i] = static_cast<unsigned char>(any(rng));
                        src[i] = static_cast<unsigned char>(any(rng));
                    }
                    // Mixed rows change kind every four pixels: clear, opaque or any alpha.
                    int groupKind = 2;
                    for (int x = 0; x < width; ++x) {
                        if (x % 4 == 0)
                            groupKind = kind(rng);
                        unsigned char& alpha = src[static_cast<size_t>(start + x * 4)];
                        if (source == Source::kClear || (source == Source::kMixed && groupKind == 0))
                            alpha = 0;
                        if (source == Source::kOpaque || (source == Source::kMixed && groupKind == 1))
                            alpha = 255;
                    }
                    if (source == Source::kItself)
                        src = dst;
                    std::vector<unsigned char> expected = dst;
                    for (int x = 0; x < width; ++x)
                        RefBlendAlpha(&expected[static_cast<size_t>(start + x * 4)],
                                      &src[static_cast<size_t>(start + x * 4)], nullptr);
                    unsigned char* d = dst.data() + start;
                    build.routine(d, source == Source::kItself ? d : src.data() + start, width);
                    ASSERT_EQ(dst, expected) << build.name << " width " << width << " starting at byte " << start
                                             << " source kind " << static_cast<int>(source);
                }
}

// The same run as source and destination: each pixel over itself.
TEST(BlendAlpha, RunOverItself)
{
    std::vector<unsigned char> run(4 * 20), expected;
    for (size_t i = 0; i < run.size(); ++i)
        run[i] = static_cast<unsigned char>(i * 37 + 11);
    expected = run;
    for (int x = 0; x < 20; ++x) {
        unsigned char copy[4];
        std::copy_n(&expected[x * 4], 4, copy);
        RefBlendAlpha(&expected[x * 4], copy, nullptr);
    }
    BlendAlpha(run.data(), 4, 80, run.data(), 4, 80, 20, 1);
    EXPECT_EQ(run, expected);
}

// Rows longer than the stretch in which the glow and the outer bevels make their source pixels, ending on
// either side of a stretch's end, into packed destinations and into ones with a gap after each pixel; the
// shading runs are four-byte pixels, the glow and mask runs alpha maps.
TEST(Compositing, LongRowsOfTheStretchedOperationsMatchTheObviousForm)
{
    using Op = void (*)(unsigned char*, int, int, const unsigned char*, int, int, const unsigned char*, int, int, int,
                        int, int);
    struct Operation
    {
        const char* name;
        Op fast;
        int aBytes; // bytes per pixel of the glow or shading run
        PixelOp reference;
    };
    constexpr int p = 217;
    const Operation operations[] = {
        {"GlowBlend",
         [](unsigned char* d, int dp, int dr, const unsigned char* a, int ap, int ar, const unsigned char* m, int mp,
            int mr, int w, int h,
            int strength) { GlowBlend(d, dp, dr, a, ap, ar, m, mp, mr, w, h, strength, RGB(200, 30, 120)); },
         1, RefGlow(p, 200, 30, 120)},
        {"BevelOuter", BevelOuter, 4, RefBevelOuter(p, false)},
        {"BevelOuterInverted", BevelOuterInverted, 4, RefBevelOuter(p, true)},
    };
    struct Case
    {
        int width, gap;
    };
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> pick(0, 5), any(0, 255);
    auto byte = [&] {
        const int k = pick(rng);
        return static_cast<unsigned char>(k == 0 ? 0 : k == 1 ? 255 : any(rng));
    };
    const int height = 3;
    for (const Operation& op : operations)
        for (Case c : {Case{1, 0}, Case{255, 0}, Case{256, 0}, Case{257, 0}, Case{700, 0}, Case{300, 4}}) {
            const int pixelStep = 4 + c.gap, rowStep = pixelStep * c.width + 4, aRow = op.aBytes * c.width;
            std::vector<unsigned char> dst(static_cast<size_t>(rowStep) * height),
                a(static_cast<size_t>(aRow) * height), mask(static_cast<size_t>(c.width) * height);
            for (auto* bytes : {&dst, &a, &mask})
                for (unsigned char& b : *bytes)
                    b = byte();
            std::vector<unsigned char> expected = dst;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < c.width; ++x)
                    op.reference(&expected[static_cast<size_t>(y) * rowStep + x * pixelStep],
                                 &a[static_cast<size_t>(y) * aRow + x * op.aBytes], &mask[y * c.width + x]);
            op.fast(dst.data(), pixelStep, rowStep, a.data(), op.aBytes, aRow, mask.data(), 1, c.width, c.width, height,
                    p);
            ASSERT_EQ(dst, expected) << op.name << " width " << c.width << ", gap " << c.gap;
        }
}

TEST(ScaleAlpha, ChangesOnlyAlphaByTheFactor)
{
    struct Case
    {
        int k;
        unsigned char expectedAlpha;
    };
    for (Case c : {Case{255, 200}, Case{0, 0}, Case{128, 100}, Case{300, 200}, Case{-5, 0}}) {
        Pixel p{200, 1, 2, 3};
        ScaleAlpha(&p.a, 4, 4, 1, 1, c.k);
        EXPECT_EQ(p, (Pixel{c.expectedAlpha, 1, 2, 3})) << "k " << c.k;
    }
}

TEST(BlendColorInverseMask, ColourWhereTheMaskIsWeak)
{
    struct Case
    {
        int percent;
        unsigned char mask;
        Pixel expected;
    };
    const Case cases[] = {
        {100, 0, {77, 200, 30, 120}},   // full strength, no mask: the colour replaces
        {100, 255, {77, 10, 20, 250}},  // full mask: nothing changes
        {50, 127, {77, 10, 20, 250}},   // strength 127 minus mask 127: weight 0
        {50, 27, {77, 84, 23, 198}},    // weight 100
        {0, 0, {77, 10, 20, 250}},      // no strength
        {-40, 0, {77, 10, 20, 250}},    // negative strength clamps to weight 0
        {150, 200, {77, 144, 26, 156}}, // strength 382 minus 200: weight 182
    };
    for (const Case& c : cases) {
        Pixel p{77, 10, 20, 250};
        BlendColorInverseMask(&p.a, 4, 4, &c.mask, 1, 1, 1, 1, c.percent, kColour);
        EXPECT_EQ(p, c.expected) << "percent " << c.percent << " mask " << int(c.mask);
    }
}

TEST(ApplyBevel, StrengthOutsideAByteIsClampedNotReadOutOfTable)
{
    std::mt19937 rng(99);
    PixelRun h = MakeRun(rng, 4, 0, 0), m = MakeRun(rng, 1, 0, 0);
    for (auto [percent, sameAs] : {std::pair{250, 100}, std::pair{-80, 0}}) {
        for (int style = 0; style < 4; ++style) {
            PixelRun d1 = MakeRun(rng, 4, 0, 0), d2 = d1;
            ApplyBevel(d1.At(0, 0), 4, d1.rowStep, h.At(0, 0), 4, h.rowStep, m.At(0, 0), 1, m.rowStep, kW, kH, style,
                       percent);
            ApplyBevel(d2.At(0, 0), 4, d2.rowStep, h.At(0, 0), 4, h.rowStep, m.At(0, 0), 1, m.rowStep, kW, kH, style,
                       sameAs);
            EXPECT_EQ(d1.bytes, d2.bytes) << percent << " style " << style;
        }
    }
}

// Inside an opaque object style 3 changes the colour but never the alpha; outside, the inverted outer bevel
// still grows the alpha where the shading has some.
TEST(ApplyBevel, StyleThreeKeepsTheObjectsAlpha)
{
    Pixel inside{255, 40, 50, 60}, outside{0, 0, 0, 0};
    const Pixel shading{200, 255, 255, 255};
    const unsigned char objectAlpha = 255, noObject = 0;
    ApplyBevel(&inside.a, 4, 4, &shading.a, 4, 4, &objectAlpha, 1, 1, 1, 1, 3, 100);
    ApplyBevel(&outside.a, 4, 4, &shading.a, 4, 4, &noObject, 1, 1, 1, 1, 3, 100);
    EXPECT_EQ(inside.a, 255);
    EXPECT_NE(inside, (Pixel{255, 40, 50, 60}));
    EXPECT_EQ(outside.a, 255); // k = min(255, 4 * 200) over alpha 0
    EXPECT_EQ(outside.r, 0);   // the grey inverted: 255 - 255
}

TEST(ApplyGlow, StyleThreeChangesNothing)
{
    std::mt19937 rng(5);
    PixelRun d = MakeRun(rng, 4, 0, 0), g = MakeRun(rng, 1, 0, 0), m = MakeRun(rng, 1, 0, 0);
    const PixelRun before = d;
    ApplyGlow(d.At(0, 0), 4, d.rowStep, g.At(0, 0), 1, g.rowStep, m.At(0, 0), 1, m.rowStep, kW, kH, 3, 100, kColour);
    EXPECT_EQ(d.bytes, before.bytes);
}

} // namespace
