#include "platform/text/face_list.h"
#include "platform/text/font.h"

#include "image/image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

LOGFONT MakeLogFont(const char* face, int height, bool bold = false, bool italic = false, bool underline = false)
{
    LOGFONT lf;
    lf.lfFaceName = face;
    lf.lfHeight = height;
    lf.lfWeight = bold ? 700 : 400;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfUnderline = underline ? 1 : 0;
    return lf;
}

// A coverage plane with a guard band of padding at the end of each row, which drawing must never touch.
struct Plane
{
    Plane(int w, int h, int pad = 0) : width(w), height(h), stride(w + pad), bytes(size_t(stride) * h, 0) {}
    CoverageBuffer Buffer() { return CoverageBuffer{bytes.data(), stride, width, height}; }
    unsigned char At(int x, int y) const { return bytes[size_t(y) * stride + x]; }
    // The smallest rectangle holding every inked pixel; empty when nothing is inked.
    CRect InkBox() const
    {
        CRect box;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (At(x, y))
                    box |= CRect(x, y, x + 1, y + 1);
        return box;
    }
    int width, height, stride;
    std::vector<unsigned char> bytes;
};

const char kSample[] = "The quick brown fox jumps over the lazy dog";

} // namespace

TEST(FaceList, HoldsCoreNamesSortedAndStable)
{
    const std::vector<std::string>& faces = GetInstalledFaceNames();
    for (const char* name : {"Arial", "Times New Roman", "Courier New"})
        EXPECT_TRUE(std::binary_search(faces.begin(), faces.end(), name)) << name;
    EXPECT_TRUE(std::is_sorted(faces.begin(), faces.end()));
    EXPECT_EQ(std::adjacent_find(faces.begin(), faces.end()), faces.end()) << "a name is listed twice";
    EXPECT_EQ(&GetInstalledFaceNames(), &faces);
}

TEST(FaceList, CoreNamesDrawWithTheirMetricCompatibleFace)
{
    EXPECT_EQ(MatchFace("Arial", 400, false).family, "Liberation Sans");
    EXPECT_EQ(MatchFace("Times New Roman", 400, false).family, "Liberation Serif");
    EXPECT_EQ(MatchFace("Courier New", 400, false).family, "Liberation Mono");
    MatchedFace bold = MatchFace("Arial", 700, false);
    EXPECT_FALSE(bold.needsEmbolden) << "Liberation Sans Bold is installed";
    EXPECT_FALSE(MatchFace("Arial", 400, true).needsSlant);
}

TEST(TextFont, ArialTwelvePointMeasuresAsRecorded)
{
    auto font = GetTextFont(MakeLogFont("Arial", -16));
    ASSERT_TRUE(font->IsValid());
    EXPECT_EQ(font->GetLogFont().lfFaceName, "Arial");
    EXPECT_EQ(font->GetDrawnFamily(), "Liberation Sans");
    const TEXTMETRIC& tm = font->GetTextMetrics();
    EXPECT_EQ(tm.tmAscent, 14);
    EXPECT_EQ(tm.tmDescent, 4);
    EXPECT_EQ(tm.tmHeight, 18);
    EXPECT_EQ(tm.tmInternalLeading, 2);

    // Guards layout: a change here moves every line break of every saved site.
    CSize extent = font->GetTextExtent(kSample);
    EXPECT_EQ(extent.cx, 315);
    EXPECT_EQ(extent.cy, tm.tmHeight);

    int sum = 0;
    for (const char* p = kSample; *p; ++p)
        sum += font->GetCharExtent(static_cast<unsigned char>(*p)).cx;
    EXPECT_EQ(sum, extent.cx);
    EXPECT_EQ(font->GetTextExtent("").cx, 0);
}

TEST(TextFont, PositiveHeightIsTheCellHeight)
{
    for (int height : {10, 16, 23, 40}) {
        auto font = GetTextFont(MakeLogFont("Times New Roman", height));
        EXPECT_EQ(font->GetTextMetrics().tmHeight, height);
        EXPECT_EQ(font->GetTextMetrics().tmAscent + font->GetTextMetrics().tmDescent, height);
    }
}

TEST(TextFont, EqualDescriptionsShareOneFont)
{
    auto a = GetTextFont(MakeLogFont("Arial", -16));
    auto b = GetTextFont(MakeLogFont("Arial", -16));
    auto c = GetTextFont(MakeLogFont("Arial", -16, false, false, true));
    EXPECT_EQ(a.get(), b.get());
    EXPECT_NE(a.get(), c.get());
}

TEST(TextFont, BoldIsWider)
{
    auto regular = GetTextFont(MakeLogFont("Arial", -16));
    auto bold = GetTextFont(MakeLogFont("Arial", -16, true));
    EXPECT_GT(bold->GetTextExtent(kSample).cx, regular->GetTextExtent(kSample).cx);
}

TEST(TextFont, UnknownFaceFallsBackToAnInstalledOne)
{
    auto font = GetTextFont(MakeLogFont("noname", -16));
    ASSERT_TRUE(font->IsValid());
    EXPECT_FALSE(font->GetDrawnFamily().empty());
    EXPECT_GT(font->GetTextExtent("abc").cx, 0);
}

TEST(TextFont, InkStaysInsideTheExtentBox)
{
    for (const char* face : {"Arial", "Times New Roman", "Courier New"}) {
        auto font = GetTextFont(MakeLogFont(face, -16));
        const char* text = "Hello, World";
        CSize extent = font->GetTextExtent(text);
        Plane plane(extent.cx + 40, extent.cy + 40);
        ASSERT_TRUE(font->DrawString(plane.Buffer(), 20, 20, text));
        CRect ink = plane.InkBox();
        ASSERT_FALSE(ink.IsRectEmpty()) << face;
        CRect box(20, 20, 20 + extent.cx, 20 + extent.cy);
        CRect inside;
        inside.IntersectRect(ink, box);
        EXPECT_EQ(inside, ink) << face << ": ink outside the extent box";
    }
}

TEST(TextFont, UnderlineRunsUnderTheWholeString)
{
    auto font = GetTextFont(MakeLogFont("Arial", -16, false, false, true));
    const char* text = "a b";
    CSize extent = font->GetTextExtent(text);
    Plane plane(extent.cx + 10, extent.cy + 10);
    ASSERT_TRUE(font->DrawString(plane.Buffer(), 5, 5, text));
    const int baseline = 5 + font->GetTextMetrics().tmAscent;
    bool found = false;
    for (int y = baseline + 1; y < 5 + extent.cy && !found; ++y) {
        int run = 0;
        for (int x = 5; x < 5 + extent.cx; ++x)
            run += plane.At(x, y) == 255;
        found = run == extent.cx;
    }
    EXPECT_TRUE(found) << "no fully inked row below the baseline";
    EXPECT_EQ(plane.At(4, baseline + 2), 0);
    EXPECT_EQ(plane.At(5 + extent.cx, baseline + 2), 0);
}

TEST(TextFont, ClipsAtEveryEdge)
{
    auto font = GetTextFont(MakeLogFont("Arial", -32, true, true, true));
    const int pad = 8;
    // Straddling each edge, fully outside, and at coordinates whose sums would overflow an int.
    const CPoint places[] = {{-10, 10},      {10, -10},    {20, 12},           {12, 20},
                             {-1000, -1000}, {1000, 1000}, {INT_MIN, INT_MIN}, {INT_MAX - 5, INT_MAX - 5},
                             {INT_MAX, 0}};
    for (CPoint p : places) {
        Plane plane(24, 24, pad);
        ASSERT_TRUE(font->DrawString(plane.Buffer(), p.x, p.y, "Wg\x80"));
        ASSERT_TRUE(font->DrawChar(plane.Buffer(), p.x, p.y, 'W'));
        for (int y = 0; y < plane.height; ++y)
            for (int x = plane.width; x < plane.stride; ++x)
                ASSERT_EQ(plane.At(x, y), 0) << "row padding written at " << p.x << "," << p.y;
    }
    Plane straddle(24, 24);
    font->DrawString(straddle.Buffer(), -10, -10, "Wg");
    EXPECT_FALSE(straddle.InkBox().IsRectEmpty()) << "the visible part must still be drawn";
}

TEST(TextFont, RefusesTargetsWithoutPixels)
{
    auto font = GetTextFont(MakeLogFont("Arial", -16));
    unsigned char byte = 0;
    EXPECT_FALSE(font->DrawChar(CoverageBuffer{nullptr, 4, 4, 4}, 0, 10, 'A'));
    EXPECT_FALSE(font->DrawChar(CoverageBuffer{&byte, 0, 1, 1}, 0, 10, 'A'));
    EXPECT_FALSE(font->DrawChar(CoverageBuffer{&byte, 1, 0, 1}, 0, 10, 'A'));
    CPixMap grey(IMAGE_MODE_GREY, 4, 4);
    EXPECT_FALSE(font->DrawChar(grey, 0, 3, 'A', RGB(0, 0, 0)));
}

TEST(TextFont, EuroByteDrawsTheEuroSign)
{
    auto font = GetTextFont(MakeLogFont("Arial", -32));
    Plane euro(40, 40), undefined(40, 40);
    font->DrawChar(euro.Buffer(), 4, 30, 0x80);
    font->DrawChar(undefined.Buffer(), 4, 30, 0x81);
    EXPECT_FALSE(euro.InkBox().IsRectEmpty());
    // 0x81 has no glyph and shows the face's missing-glyph box; the euro must be a glyph of its own.
    EXPECT_NE(euro.bytes, undefined.bytes);
    EXPECT_NE(font->GetCharAdvance(0x80), font->GetCharAdvance(0x81));
}

TEST(TextFont, PixMapGetsTheColourBlendedByCoverage)
{
    auto font = GetTextFont(MakeLogFont("Arial", -16));
    const int w = 60, h = 24;
    const COLORREF colour = RGB(200, 40, 10);
    Plane coverage(w, h);
    font->DrawString(coverage.Buffer(), 2, 2, "Ag");

    // Over white, each channel moves from 255 towards the colour by the coverage.
    CPixMap rgb(IMAGE_MODE_RGB, w, h);
    ASSERT_TRUE(rgb.IsValid());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int p = 0; p < 3; ++p)
                *rgb.Sample(x, y, p) = 255;
    ASSERT_TRUE(font->DrawString(rgb, 2, 2, "Ag", colour));

    // Over transparency, the colour is the text's and the alpha is the coverage.
    CPixMap rgba(IMAGE_MODE_RGBA, w, h);
    ASSERT_TRUE(rgba.IsValid());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int p = 0; p < 4; ++p)
                *rgba.Sample(x, y, p) = 0;
    ASSERT_TRUE(font->DrawString(rgba, 2, 2, "Ag", colour));

    const int channel[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int a = coverage.At(x, y);
            ASSERT_EQ(*rgba.Sample(x, y, 0), a) << x << "," << y;
            for (int p = 0; p < 3; ++p) {
                int expected = (255 * (255 - a) + channel[p] * a + 127) / 255;
                ASSERT_EQ(*rgb.Sample(x, y, p), expected) << x << "," << y;
                if (a > 0) {
                    ASSERT_EQ(*rgba.Sample(x, y, p + 1), channel[p]) << x << "," << y;
                }
            }
        }
    }
}

TEST(TextFont, BoldWithoutABoldFaceIsEmboldened)
{
    // Any installed face that has no bold of its own will do.
    const std::vector<std::string>& faces = GetInstalledFaceNames();
    auto plain = std::find_if(faces.begin(), faces.end(),
                              [](const std::string& f) { return MatchFace(f, 700, false).needsEmbolden; });
    if (plain == faces.end())
        GTEST_SKIP() << "every installed face has a bold";
    auto regular = GetTextFont(MakeLogFont(plain->c_str(), -16));
    auto bold = GetTextFont(MakeLogFont(plain->c_str(), -16, true));
    EXPECT_EQ(bold->GetCharAdvance('m'), regular->GetCharAdvance('m') + 1) << *plain;

    Plane thin(40, 80), thick(40, 80);
    regular->DrawChar(thin.Buffer(), 10, 60, 'l');
    bold->DrawChar(thick.Buffer(), 10, 60, 'l');
    EXPECT_GT(thick.InkBox().Width(), thin.InkBox().Width()) << *plain;
}

TEST(TextFont, ExtremeHeightsStayBounded)
{
    // Point sizes reach 65535 in stored files; heights are clamped rather than allowed to exhaust memory.
    for (LONG height : {LONG(INT32_MIN), LONG(-100000), LONG(-1), LONG(0), LONG(1), LONG(100000), LONG(INT32_MAX)}) {
        auto font = GetTextFont(MakeLogFont("Arial", height));
        ASSERT_TRUE(font->IsValid()) << height;
        const TEXTMETRIC& tm = font->GetTextMetrics();
        EXPECT_GE(tm.tmHeight, 0) << height;
        EXPECT_LE(tm.tmHeight, 8192) << height;
        EXPECT_GE(font->GetCharAdvance('W'), 0) << height;
        Plane plane(16, 16);
        EXPECT_TRUE(font->DrawChar(plane.Buffer(), 0, 8, 'W')) << height;
    }
    EXPECT_EQ(GetTextFont(MakeLogFont("Arial", 0))->GetTextMetrics().tmHeight,
              GetTextFont(MakeLogFont("Arial", -16))->GetTextMetrics().tmHeight);
}

namespace {

// A text drawn at many places onto every kind of target, each picture's bytes in a row: coverage, RGB over a
// pattern and RGBA over partial transparency, placed inside, across each edge and wholly outside.
std::vector<std::vector<unsigned char>> DrawEverywhere(const TextFont& font, std::string_view text)
{
    const int w = 90, h = 40;
    const int a = font.GetTextMetrics().tmAscent;
    const CPoint places[] = {{3, 2}, {-17, 5}, {40, -a / 2}, {w - 25, 10}, {5, h - a / 2}, {-400, 3}, {3, h + 50}};
    std::vector<std::vector<unsigned char>> pictures;
    for (CPoint p : places) {
        Plane plane(w, h, 3);
        font.DrawString(plane.Buffer(), p.x, p.y, text);
        font.DrawChar(plane.Buffer(), p.x + 7, p.y + a, text.empty() ? 'x' : text.back());
        pictures.push_back(plane.bytes);
        for (IMAGE_MODE mode : {IMAGE_MODE_RGB, IMAGE_MODE_RGBA}) {
            CPixMap map(mode, w, h);
            const int planes = mode == IMAGE_MODE_RGBA ? 4 : 3;
            std::vector<unsigned char> bytes;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    for (int s = 0; s < planes; ++s)
                        *map.Sample(x, y, s) = static_cast<unsigned char>((x * 7 + y * 13 + s * 50) % 256);
            font.DrawString(map, p.x, p.y, text, RGB(200, 30, 90));
            font.DrawChar(map, p.x + 9, p.y + a, 'W', RGB(10, 220, 40));
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    for (int s = 0; s < planes; ++s)
                        bytes.push_back(*map.Sample(x, y, s));
            pictures.push_back(std::move(bytes));
        }
    }
    return pictures;
}

// Puts back the glyph cache's limit when a test ends.
class GlyphCacheLimit
{
public:
    explicit GlyphCacheLimit(size_t bytes) : m_previous(SetGlyphCacheLimit(bytes)) {}
    ~GlyphCacheLimit() { SetGlyphCacheLimit(m_previous); }
    void Set(size_t bytes) { SetGlyphCacheLimit(bytes); }
    size_t Previous() const { return m_previous; }

private:
    size_t m_previous;
};

} // namespace

TEST(TextFont, KeptGlyphsDrawTheSamePixelsAsFreshOnes)
{
    const std::string text = "Wg\x80 fi\xE9Q|_ jy";
    std::vector<LOGFONT> fonts = {MakeLogFont("Arial", -16),           MakeLogFont("Arial", -16, true, true, true),
                                  MakeLogFont("Times New Roman", 21),  MakeLogFont("Courier New", -13, false, true),
                                  MakeLogFont("Arial", -90),           MakeLogFont("Arial", -3)};
    // A face drawn bold and leant from its regular outlines, where one is installed.
    const std::vector<std::string>& faces = GetInstalledFaceNames();
    auto synthetic = std::find_if(faces.begin(), faces.end(), [](const std::string& f) {
        return MatchFace(f, 700, true).needsEmbolden || MatchFace(f, 400, true).needsSlant;
    });
    if (synthetic != faces.end())
        fonts.push_back(MakeLogFont(synthetic->c_str(), -19, true, true));

    GlyphCacheLimit limit(0);
    for (const LOGFONT& lf : fonts) {
        auto font = GetTextFont(lf);
        SCOPED_TRACE(lf.lfFaceName + " " + std::to_string(lf.lfHeight));
        limit.Set(0);
        const auto fresh = DrawEverywhere(*font, text);
        // The whole cache, and one too small to hold every glyph (some kept, the rest rendered each time).
        for (size_t bytes : {limit.Previous(), size_t(3000)}) {
            limit.Set(bytes);
            for (int round = 0; round < 2; ++round) {
                const auto kept = DrawEverywhere(*font, text);
                ASSERT_EQ(kept.size(), fresh.size());
                for (size_t i = 0; i < kept.size(); ++i)
                    ASSERT_EQ(kept[i], fresh[i]) << "picture " << i << ", limit " << bytes << ", round " << round;
            }
        }
    }
}

TEST(TextFont, ThreadsDrawingWithOneFontAgree)
{
    // A size no other test uses, so that the threads fill its glyphs while they draw.
    auto font = GetTextFont(MakeLogFont("Arial", -27, false, true));
    const std::string text = kSample;
    std::vector<std::vector<std::vector<unsigned char>>> drawn(4);
    {
        std::vector<std::thread> threads;
        for (auto& pictures : drawn)
            threads.emplace_back([&] { pictures = DrawEverywhere(*font, text); });
        for (std::thread& t : threads)
            t.join();
    }
    GlyphCacheLimit limit(0);
    const auto fresh = DrawEverywhere(*font, text);
    for (const auto& pictures : drawn)
        EXPECT_EQ(pictures, fresh);
}
