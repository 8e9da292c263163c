#include "app/objects/text_image.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "app/model/fill_info.h"
#include "app/model/text_style.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_owner_fake.h"
#include "image/image.h"
#include "image/tiles.h"
#include "platform/io/io.h"
#include "platform/text/font.h"
#include "testing/test_output.h"

namespace {

struct ImageFormat
{
    const char* face = "Arial";
    WORD points = 24;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    COLORREF colour = 0;
    bool linked = false;
};

void AppendRun(CTextBody& body, int para, const std::string& text, const ImageFormat& f)
{
    while (body.GetParagraphCount() <= para)
        body.m_paragraphs.emplace_back();
    CLinkInfo link;
    link.SetActive(f.linked);
    for (char c : text)
        body.m_paragraphs[para].m_chars.push_back(MakeTextChar(static_cast<BYTE>(c), FindFontIndex(f.face), f.points,
                                                               f.bold, f.italic, f.underline, f.colour, link));
}

void LayOutBody(CTextBody& body)
{
    CRect dirty;
    LayoutText(body, dirty);
}

BYTE ImageCoverageAt(const CImage& image, int x, int y)
{
    return image.GetData()[static_cast<ptrdiff_t>(y) * image.GetStride() + x];
}

const BYTE* ColourAt(const CImage& image, int x, int y)
{
    return image.GetData() + static_cast<ptrdiff_t>(y) * image.GetStride() + 3 * x;
}

// The bounding box of the pixels of an RGB(A) image whose colour is (isColour) or is not (!isColour) the given
// one; empty when there are none.
CRect BoxWhereColour(const CImage& image, COLORREF colour, bool isColour)
{
    const int first = image.HasAlpha() ? 1 : 0, step = image.HasAlpha() ? 4 : 3;
    CRect box;
    bool any = false;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const BYTE* p = image.GetData() + static_cast<ptrdiff_t>(y) * image.GetStride() + step * x + first;
            const bool same = p[0] == GetRValue(colour) && p[1] == GetGValue(colour) && p[2] == GetBValue(colour);
            if (same != isColour)
                continue;
            if (!any)
                box = CRect(x, y, x + 1, y + 1);
            box |= CRect(x, y, x + 1, y + 1);
            any = true;
        }
    return box;
}

// Where an RGB(A) image differs from a background colour.
CRect InkBox(const CImage& image, COLORREF background)
{
    return BoxWhereColour(image, background, false);
}

// The bounding box of the pixels of exactly one colour.
CRect ColourBox(const CImage& image, COLORREF colour)
{
    return BoxWhereColour(image, colour, true);
}

std::unique_ptr<CImage> FilledImage(IMAGE_MODE mode, int w, int h, BYTE value, BYTE alpha = 255)
{
    auto image = std::make_unique<CImage>(mode, w, h, 96.0);
    auto_array<unsigned char> data(new unsigned char[image->GetDataSize()]);
    std::fill_n(data.get(), image->GetDataSize(), value);
    if (mode == IMAGE_MODE_RGBA)
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                data[static_cast<size_t>(y) * image->GetStride() + 4 * x] = alpha;
    image->SetData(data);
    return image;
}

CTextStyle ButtonStyle(const std::string& text, int alignment)
{
    CTextStyle style;
    style.m_strText = text;
    style.m_strFont = "Arial";
    style.m_nSize = 20;
    style.m_bBold = false;
    style.m_bItalic = false;
    style.m_bUnderline = false;
    style.m_color = CColor(0, 0, 0);
    style.m_alignment = alignment;
    style.m_shadow = false;
    return style;
}

LONG CellHeight(int size)
{
    LOGFONT logFont;
    InitDefaultLogFont(logFont);
    logFont.lfFaceName = "Arial";
    logFont.lfHeight = size;
    return GetTextFont(logFont)->GetTextMetrics().tmHeight;
}

} // namespace

TEST(TextImage, CoverageHasInkWhereTheGlyphsAreAndNoneElsewhere)
{
    FakeTextOwner owner;
    CTextBody body(&owner, 120, 40);
    AppendRun(body, 0, "Hi", ImageFormat{});
    LayOutBody(body);
    owner.cx = 100.5;
    owner.cy = 50.0;
    ASSERT_TRUE(body.RebuildImage());
    EXPECT_EQ(body.m_imageStale, 0);
    const CImage& image = *body.m_coverageImage;
    ASSERT_EQ(image.GetMode(), IMAGE_MODE_COVERAGE);
    ASSERT_EQ(image.Width(), body.m_nWidth);
    ASSERT_EQ(image.Height(), body.m_nHeight);

    // Each glyph inks its own cell, full ink in its stems; nothing lies outside the cells (a pixel of overhang
    // allowed).
    const CTextParagraph& para = body.m_paragraphs[0];
    CRect cells;
    for (const CTextChar& ch : para.m_chars) {
        const CRect box = ch.GetBox();
        cells |= box;
        int full = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x)
                full += ImageCoverageAt(image, x, y) == 255;
        EXPECT_GT(full, 10) << ch.m_ch;
    }
    cells.InflateRect(1, 1);
    CRect ink;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (ImageCoverageAt(image, x, y) != 0) {
                EXPECT_TRUE(cells.PtInRect(CPoint(x, y))) << x << "," << y;
                ink |= CRect(x, y, x + 1, y + 1);
            }

    // The image lies at the object's centre less half the body's size, rounded half up; the ink rectangle is the
    // inked pixels' box on the page.
    const int left = static_cast<int>(std::floor(100.5 - body.m_nWidth * 0.5 + 0.5));
    const int top = static_cast<int>(std::floor(50.0 - body.m_nHeight * 0.5 + 0.5));
    EXPECT_EQ(body.m_imageRect, CRect(left, top, left + body.m_nWidth, top + body.m_nHeight));
    ink.OffsetRect(left, top);
    EXPECT_EQ(body.m_inkRect, ink);
}

TEST(TextImage, ColourImageCarriesEachCharactersColour)
{
    CTextBody body(nullptr, 120, 40);
    AppendRun(body, 0, "A", ImageFormat{.colour = RGB(255, 0, 0)});
    AppendRun(body, 0, "W", ImageFormat{.colour = RGB(0, 0, 255)});
    AppendRun(body, 0, "M", ImageFormat{.colour = RGB(255, 255, 255)});
    LayOutBody(body);
    ASSERT_TRUE(body.RebuildSecondImage());
    EXPECT_EQ(body.m_imageStale, 0) << "the coverage is brought up to date first";
    EXPECT_EQ(body.m_secondImageStale, 0);
    const CImage& colour = *body.m_colorImage;
    const CImage& coverage = *body.m_coverageImage;
    ASSERT_EQ(colour.GetMode(), IMAGE_MODE_RGB);

    // Drawn over black at partial coverage, every inked pixel comes back at its character's full colour.
    const COLORREF expected[] = {RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 255)};
    for (int k = 0; k < 3; ++k) {
        const CTextChar& ch = body.m_paragraphs[0].m_chars[k];
        int inked = 0;
        for (int y = ch.GetBox().top; y < ch.GetBox().bottom; ++y)
            for (int x = ch.m_nLeft + 1; x < ch.m_nLeft + ch.m_nWidth - 1; ++x) {
                if (ImageCoverageAt(coverage, x, y) == 0)
                    continue;
                ++inked;
                const BYTE* p = ColourAt(colour, x, y);
                ASSERT_EQ(RGB(p[0], p[1], p[2]), expected[k]) << k << " at " << x << "," << y;
            }
        EXPECT_GT(inked, 30);
    }
}

TEST(TextImage, LinksLookLikeLinksOnlyInAPlainObject)
{
    // A linked green "x" (no descender): a plain object underlines it in the link colour, a picture-like one
    // keeps its own look; the object's own link makes an unlinked character a link too.
    struct Case
    {
        bool charLinked, plain, objectLinked;
        bool looksLinked;
    };
    const Case cases[] = {
        {true, true, false, true},   {true, false, false, false}, {false, true, true, true},
        {false, false, true, false}, {false, true, false, false},
    };
    for (const Case& c : cases) {
        FakeTextOwner owner;
        owner.plain = c.plain;
        owner.linked = c.objectLinked;
        CTextBody body(&owner, 60, 40);
        AppendRun(body, 0, "x", ImageFormat{.colour = RGB(0, 160, 0), .linked = c.charLinked});
        LayOutBody(body);
        ASSERT_TRUE(body.RebuildSecondImage());
        const CTextChar& ch = body.m_paragraphs[0].m_chars[0];
        bool inkBelow = false;
        for (int y = ch.m_baseline + 1; y < body.m_nHeight; ++y)
            for (int x = 0; x < body.m_nWidth; ++x)
                inkBelow |= ImageCoverageAt(*body.m_coverageImage, x, y) != 0;
        EXPECT_EQ(inkBelow, c.looksLinked) << c.charLinked << c.plain << c.objectLinked;
        const CRect blue = ColourBox(*body.m_colorImage, RGB(0, 0, 255));
        const CRect green = ColourBox(*body.m_colorImage, RGB(0, 160, 0));
        EXPECT_EQ(!blue.IsRectEmpty(), c.looksLinked);
        EXPECT_EQ(!green.IsRectEmpty(), !c.looksLinked);
    }
}

TEST(TextImage, ColourComesBackToFullStrengthByCoverage)
{
    EXPECT_EQ(detail::UnpremultiplyTextColour(255, 255), 255);
    EXPECT_EQ(detail::UnpremultiplyTextColour(64, 128), 127);
    EXPECT_EQ(detail::UnpremultiplyTextColour(200, 100), 255);
    EXPECT_EQ(detail::UnpremultiplyTextColour(7, 0), 7);
    const std::pair<int, int> reduced[] = {{0, 0}, {255, 255}, {254, 249}, {100, 95}, {5, 0}, {3, 0}};
    for (auto [ink, kept] : reduced)
        EXPECT_EQ(detail::ReduceTextCoverage(static_cast<BYTE>(ink)), kept) << ink;
}

TEST(TextImage, BandHoldsAtMost64KBAndAtLeastOneRow)
{
    const std::pair<int, int> cases[] = {{16, 4096}, {17, 3276},  {1000, 65}, {65536, 1},
                                         {65537, 1}, {200000, 1}, {0, 16384}, {INT_MAX, 1}};
    for (auto [width, rows] : cases)
        EXPECT_EQ(GetTextBandHeight(width), rows) << width;

    // A text wider than a band's byte budget still renders, one row a band.
    CTextBody body(nullptr, 70000, 30);
    AppendRun(body, 0, "I", ImageFormat{.points = 12});
    LayOutBody(body);
    body.m_nWidth = 70000; // keep the wide frame whatever layout made of it
    ASSERT_TRUE(body.RebuildSecondImage());
    EXPECT_FALSE(body.m_inkRect.IsRectEmpty());
    EXPECT_LT(body.m_inkRect.right, 20);
}

TEST(TextImage, EmptyBodyHasNoImages)
{
    CTextBody body(nullptr, 0, 20);
    EXPECT_TRUE(body.RebuildImage());
    EXPECT_TRUE(body.RebuildSecondImage());
    EXPECT_EQ(body.m_coverageImage, nullptr);
    EXPECT_EQ(body.m_colorImage, nullptr);
    EXPECT_EQ(body.m_imageStale, 0);
    EXPECT_EQ(body.m_secondImageStale, 0);
    EXPECT_TRUE(body.m_inkRect.IsRectEmpty());
}

TEST(ButtonText, LinesLandWhereTheirAlignmentPutsThem)
{
    const int w = 200, h = 60;
    const LONG cell = CellHeight(20);
    struct Case
    {
        int alignment;
        IMAGE_MODE mode;
    };
    const Case cases[] = {{CTextStyle::alignLeft, IMAGE_MODE_RGB},
                          {CTextStyle::alignCenter, IMAGE_MODE_RGB},
                          {CTextStyle::alignRight, IMAGE_MODE_RGBA}};
    for (const Case& c : cases) {
        auto image = FilledImage(c.mode, w, h, 255, 90);
        ASSERT_TRUE(DrawButtonText(*image, ButtonStyle("HH", c.alignment)));
        const CRect ink = InkBox(*image, RGB(255, 255, 255));
        ASSERT_FALSE(ink.IsRectEmpty());
        // Vertically the one line's cell is centred on the image.
        const int top = h / 2 - cell / 2;
        EXPECT_GE(ink.top, top);
        EXPECT_LE(ink.bottom, top + cell);
        switch (c.alignment) {
        case CTextStyle::alignLeft:
            EXPECT_LE(ink.left, 3);
            break;
        case CTextStyle::alignCenter:
            EXPECT_NEAR((ink.left + ink.right) / 2.0, w / 2.0, 2.0);
            break;
        case CTextStyle::alignRight:
            EXPECT_GE(ink.right, w - 3);
            break;
        }
        if (c.mode == IMAGE_MODE_RGBA) {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(image->GetData()[static_cast<size_t>(y) * image->GetStride() + 4 * x], 90);
        }
    }

    // Lines stack as a block centred on the image; a final LF adds no line.
    auto image = FilledImage(IMAGE_MODE_RGB, w, h, 255);
    ASSERT_TRUE(DrawButtonText(*image, ButtonStyle("H\nH\n", CTextStyle::alignLeft)));
    const CRect ink = InkBox(*image, RGB(255, 255, 255));
    EXPECT_GE(ink.top, h / 2 - cell);
    EXPECT_LT(ink.top, h / 2 - cell / 2);
    EXPECT_GT(ink.bottom, h / 2 + cell / 2);
    EXPECT_LE(ink.bottom, h / 2 + cell);

    // Only RGB images take button text.
    CImage coverage(IMAGE_MODE_COVERAGE, 10, 10);
    EXPECT_FALSE(DrawButtonText(coverage, ButtonStyle("H", 0)));
}

TEST(ButtonText, ShapeShowsItsButtonTextOnItsFill)
{
    // A white rectangle with right-aligned black text: the ink lies at the right edge, on the opaque shape.
    CRectangleObject object(100, 50, SIZE{160, 60}, 0.0);
    auto fill = std::make_unique<CFillInfo>();
    fill->SetColor(CColor(255, 255, 255));
    object.SetFill(std::move(fill));
    object.SetTextStyle(std::make_unique<CTextStyle>(ButtonStyle("Go", CTextStyle::alignRight)));
    CPixMap scratch(IMAGE_MODE_RGBA, kImageTileSize, kImageTileSize);
    ASSERT_TRUE(object.UpdateImage(scratch));
    const CImage& image = *object.GetImage();
    ASSERT_EQ(image.Width(), 160);
    const CRect ink = InkBox(image, RGB(255, 255, 255));
    ASSERT_FALSE(ink.IsRectEmpty());
    EXPECT_GE(ink.right, 157);
    EXPECT_GT(ink.left, 100);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 30.0, 4.0);
    EXPECT_EQ(image.GetData()[static_cast<size_t>(ink.top) * image.GetStride() + 4 * (ink.right - 1)], 255);
}

TEST(ButtonText, ShadowFollowsDirectionAndDistance)
{
    const struct
    {
        int direction, distance;
        POINT offset;
    } offsets[] = {{0, 3, {-3, 0}}, {90, 3, {0, 3}}, {180, 3, {3, 0}}, {270, 4, {0, -4}}, {45, 3, {-2, 2}}};
    for (const auto& c : offsets) {
        const POINT p = detail::ButtonShadowOffset(c.direction, c.distance);
        EXPECT_EQ(p.x, c.offset.x) << c.direction;
        EXPECT_EQ(p.y, c.offset.y) << c.direction;
    }

    // Drawn, the shadow is the text moved by the offset, under the text.
    for (int direction : {0, 90}) {
        auto plain = FilledImage(IMAGE_MODE_RGB, 120, 50, 255);
        auto shadowed = FilledImage(IMAGE_MODE_RGB, 120, 50, 255);
        CTextStyle style = ButtonStyle("I", CTextStyle::alignCenter);
        ASSERT_TRUE(DrawButtonText(*plain, style));
        style.m_shadow = true;
        style.m_shadowDirection = direction;
        style.m_shadowDistance = 3;
        style.m_shadowColor = CColor(255, 0, 0);
        ASSERT_TRUE(DrawButtonText(*shadowed, style));
        const POINT offset = detail::ButtonShadowOffset(direction, 3);
        const CRect text = InkBox(*plain, RGB(255, 255, 255));
        CRect both = text;
        both.OffsetRect(offset.x, offset.y);
        both |= text;
        EXPECT_EQ(InkBox(*shadowed, RGB(255, 255, 255)), both) << direction;
        const CRect red = ColourBox(*shadowed, RGB(255, 0, 0));
        const CRect black = ColourBox(*plain, RGB(0, 0, 0));
        if (direction == 0)
            EXPECT_EQ(red.left, black.left - 3);
        else
            EXPECT_EQ(red.bottom, black.bottom + 3);
        EXPECT_EQ(ColourBox(*shadowed, RGB(0, 0, 0)), black) << "the text lies over its shadow";
    }
}

TEST(ButtonText, SplitsAtLineFeeds)
{
    const struct
    {
        const char* text;
        std::vector<std::string_view> lines;
    } cases[] = {
        {"", {}}, {"A", {"A"}}, {"A\n", {"A"}}, {"A\n\nB", {"A", "", "B"}}, {"\n", {""}}, {"A\nB\n\n", {"A", "B", ""}}};
    for (const auto& c : cases)
        EXPECT_EQ(detail::SplitButtonLines(c.text), c.lines) << c.text;
}

TEST(ButtonText, LabelIsCentredOnThePoint)
{
    auto image = FilledImage(IMAGE_MODE_RGB, 200, 100, 255);
    ASSERT_TRUE(DrawCentredLabel(*image, 120, 40, "Flash", RGB(0, 0, 0), true, RGB(128, 128, 128)));
    const CRect text = ColourBox(*image, RGB(0, 0, 0));
    const CRect shadow = ColourBox(*image, RGB(128, 128, 128));
    ASSERT_FALSE(text.IsRectEmpty());
    ASSERT_FALSE(shadow.IsRectEmpty());
    EXPECT_NEAR((text.left + text.right) / 2.0, 120, 2.0);
    EXPECT_NEAR((text.top + text.bottom) / 2.0, 40, 4.0);
    EXPECT_EQ(shadow.BottomRight(), text.BottomRight() + CSize(1, 1));
}

// Writes a paragraph of mixed formats, composed over white, for a person to look at.
TEST(TextImage, WritesMixedFormatParagraphPicture)
{
    FakeTextOwner owner;
    CTextBody body(&owner, 420, 40);
    AppendRun(body, 0, "Plain Arial, ", ImageFormat{.points = 12});
    AppendRun(body, 0, "bold ", ImageFormat{.points = 14, .bold = true, .colour = RGB(200, 0, 0)});
    AppendRun(body, 0, "Times italic, ",
           ImageFormat{.face = "Times New Roman", .points = 18, .italic = true, .colour = RGB(0, 110, 0)});
    AppendRun(body, 0, "Courier underlined ", ImageFormat{.face = "Courier New", .points = 11, .underline = true});
    AppendRun(body, 0, "and a link", ImageFormat{.points = 16, .colour = RGB(120, 0, 120), .linked = true});
    AppendRun(body, 1, "Big bold italic Times",
           ImageFormat{.face = "Times New Roman", .points = 28, .bold = true, .italic = true, .colour = RGB(0, 80, 200)});
    LayOutBody(body);
    ASSERT_TRUE(body.RebuildSecondImage());

    const CImage& coverage = *body.m_coverageImage;
    const CImage& colour = *body.m_colorImage;
    CImage out(IMAGE_MODE_RGB, colour.Width(), colour.Height());
    auto_array<unsigned char> data(new unsigned char[out.GetDataSize()]);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            const int a = ImageCoverageAt(coverage, x, y);
            for (int s = 0; s < 3; ++s)
                data[static_cast<size_t>(y) * out.GetStride() + 3 * x + s] =
                    static_cast<unsigned char>(255 - (255 - ColourAt(colour, x, y)[s]) * a / 255);
        }
    out.SetData(data);
    const std::string path = (TestOutputFolder() / "text_mixed_formats.png").string();
    ASSERT_TRUE(CIO::SavePNG(path, out)) << path;
    EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(TextImage, ABoxOfMorePixelsThanAnyPictureIsNotDrawn)
{
    for (const auto& [width, height, drawn] : std::vector<std::tuple<int, int, bool>>{
             {40, 20, true}, {1000000, 20, true}, {1000000, 101, false}, {20000, 20000, false}}) {
        CTextBody body(nullptr, width, height);
        body.m_nHeight = height;
        EXPECT_EQ(body.RebuildImage(), drawn) << width << " x " << height;
        EXPECT_EQ(body.RebuildSecondImage(), drawn) << width << " x " << height;
        EXPECT_EQ(body.m_imageStale == 0, drawn);
    }
}
