#include "app/objects/text_measure.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "app/objects/text_layout.h"
#include "app/objects/text_owner_fake.h"
#include "image/image.h"

namespace {

CTextChar ArialChar(char c, WORD pointSize = 12)
{
    return MakeTextChar(static_cast<BYTE>(c), FindFontIndex("Arial"), pointSize, false, false, false, 0, CLinkInfo());
}

std::vector<BYTE> Pixels(const CPixMap& map)
{
    std::vector<BYTE> bytes;
    for (int y = 0; y < map.height; ++y)
        bytes.insert(bytes.end(), map.Sample(0, y, 0), map.Sample(0, y, 0) + map.width * 3);
    return bytes;
}

struct White : CPixMap
{
    explicit White(int w = 40, int h = 30) : CPixMap(IMAGE_MODE_RGB, w, h)
    {
        for (int y = 0; y < height; ++y)
            std::memset(Sample(0, y, 0), 255, static_cast<size_t>(width) * 3);
    }
};

} // namespace

TEST(TextMeasure, PointSizesBecomeCharacterHeightsAtNinetySixDpi)
{
    const std::pair<int, int> cases[] = {{12, -16}, {9, -12}, {10, -13}, {11, -15}, {36, -48}, {0, 0}};
    for (auto [points, height] : cases)
        EXPECT_EQ(PointSizeToFontHeight(points), height) << points;
    EXPECT_EQ(MulDiv(-3, 1, 2), -2); // halves round away from zero
    EXPECT_EQ(MulDiv(5, 1, 0), -1);
    EXPECT_EQ(MulDiv(0x7FFFFFFF, 4, 1), -1);
}

TEST(TextMeasure, ArialTwelvePointMeasuresAsRecorded)
{
    const std::string text = "The quick brown fox jumps over the lazy dog";
    int width = 0;
    for (char c : text) {
        CTextChar ch = ArialChar(c);
        EXPECT_FALSE(ch.IsPlaced());
        EXPECT_EQ(ch.m_needsPlacing, 1);
        width += ch.m_nWidth;
    }
    EXPECT_EQ(width, 315);

    CTextChar ch = ArialChar('x');
    const TEXTMETRIC& metrics = GetTextFont(MakeCharLogFont(ch))->GetTextMetrics();
    EXPECT_EQ(ch.m_ascent, metrics.tmAscent);
    EXPECT_EQ(ch.m_descent, metrics.tmDescent);
    EXPECT_EQ(ch.m_nHeight, metrics.tmHeight);
    EXPECT_GT(ch.m_ascent, ch.m_descent);
}

TEST(TextMeasure, SameFormatRunUsesOneFont)
{
    TextMeasurer& measurer = GetTextMeasurer();
    measurer.Reset();
    const int before = measurer.GetFontsMade();
    ArialChar('a');
    ArialChar('b');
    EXPECT_EQ(measurer.GetFontsMade(), before + 1);
    CTextChar big = ArialChar('c', 24);
    EXPECT_EQ(measurer.GetFontsMade(), before + 2);
    EXPECT_GT(big.m_ascent, ArialChar('c').m_ascent);
}

TEST(TextMeasure, ModelCharacterLendsItsMeasures)
{
    CTextChar model = ArialChar('W', 30);
    CLinkInfo link;
    link.SetActive(true);
    CTextChar ch = MakeTextChar('i', 0, 8, true, false, false, RGB(1, 2, 3), link, &model);
    EXPECT_EQ(ch.m_nWidth, model.m_nWidth);
    EXPECT_EQ(ch.m_ascent, model.m_ascent);
    EXPECT_EQ(ch.m_pointSize, 8);
    EXPECT_TRUE(ch.m_link.IsActive());

    // Measuring again after a format change takes the character's own format.
    ch.m_faceIndex = model.m_faceIndex;
    RemeasureTextChar(ch);
    EXPECT_LT(ch.m_nWidth, model.m_nWidth);
}

TEST(TextMeasure, FontDifferenceCoversEveryDrawnAttribute)
{
    const CTextChar base = ArialChar('a');
    const LOGFONT logFont = MakeCharLogFont(base);
    EXPECT_FALSE(IsFontDifferent(base, logFont, 0, 12, false));

    std::vector<CTextChar> changed(7, base);
    changed[0].m_bBold = 1;
    changed[1].m_bItalic = 1;
    changed[2].m_bUnderline = 1;
    changed[3].m_pointSize = 13;
    changed[4].m_faceIndex = static_cast<WORD>(base.m_faceIndex + 1);
    changed[5].m_link.SetActive(true);
    changed[6].m_color = RGB(255, 0, 0);
    for (size_t i = 0; i < changed.size(); ++i)
        EXPECT_TRUE(IsFontDifferent(changed[i], logFont, 0, 12, false)) << i;
}

TEST(TextMeasure, CharsInRectFollowTheLinesThatMeetIt)
{
    // Two lines of "ab cd ef" at width 60: baselines 12 and 25, ascent 10, descent 3, characters 10 wide.
    CTextBody body(nullptr, 60, 25);
    for (char c : std::string("ab cd ef")) {
        CTextChar ch;
        ch.m_ch = static_cast<BYTE>(c);
        ch.m_nWidth = 10;
        ch.m_ascent = 10;
        ch.m_descent = 3;
        body.m_paragraphs[0].m_chars.push_back(ch);
    }
    CRect dirty;
    LayoutText(body, dirty);

    struct Case
    {
        RECT rect;
        bool found;
        int first, last;
    };
    const Case cases[] = {
        {{0, 0, 100, 100}, true, 0, 7},   {{0, 20, 100, 100}, true, 6, 7}, // below the first line's bottom (15)
        {{25, 0, 45, 14}, true, 2, 4},                                     // the columns of one line
        {{0, 0, 100, 14}, true, 0, 5},                                     // above the second line's top (15)
        {{0, 40, 100, 100}, false, 0, 0},                                  // below all text
    };
    for (const auto& c : cases) {
        int firstPara = -1, first = -1, lastPara = -1, last = -1;
        EXPECT_EQ(GetCharsInRect(body, c.rect, firstPara, first, lastPara, last), c.found);
        if (c.found) {
            EXPECT_EQ(first, c.first) << c.rect.top;
            EXPECT_EQ(last, c.last) << c.rect.top;
        }
    }
}

namespace {

// The lines meeting a rectangle, found by walking every line from the top: what the search by halves must match.
bool CharsInRectByWalking(const CTextBody& body, const RECT& rect, int& firstPara, int& firstIndex, int& lastPara,
                          int& lastIndex)
{
    struct Line
    {
        int p, s, e, top, bottom;
    };
    std::vector<Line> lines;
    for (int p = 0; p < body.GetParagraphCount(); ++p) {
        const CTextParagraph& para = body.m_paragraphs[p];
        for (size_t i = 0; i + 1 < para.m_lines.size(); i += 2) {
            const int s = para.m_lines[i], e = para.m_lines[i + 1];
            if (s < 0 || e < s || e >= para.GetCount())
                continue;
            int ascent = 0, descent = 0;
            for (int k = s; k <= e; ++k)
                ascent = std::max(ascent, para.m_chars[k].m_ascent),
                descent = std::max(descent, para.m_chars[k].m_descent);
            lines.push_back({p, s, e, para.m_chars[s].m_baseline - ascent, para.m_chars[s].m_baseline + descent});
        }
    }
    size_t first = 0;
    while (first < lines.size() && lines[first].bottom < rect.top)
        ++first;
    if (first == lines.size() || lines[first].top >= rect.bottom)
        return false;
    const auto chars = [&](const Line& line) -> const std::vector<CTextChar>& {
        return body.m_paragraphs[line.p].m_chars;
    };
    firstPara = lines[first].p;
    firstIndex = lines[first].s;
    for (int k = lines[first].s; k <= lines[first].e; ++k)
        if (chars(lines[first])[k].m_nLeft + chars(lines[first])[k].m_nWidth >= rect.left) {
            firstIndex = k;
            break;
        }
    lastPara = firstPara;
    lastIndex = firstIndex;
    for (size_t i = first; i < lines.size() && lines[i].top < rect.bottom; ++i) {
        if (lines[i].p == firstPara && lines[i].e < firstIndex)
            continue;
        lastPara = lines[i].p;
        lastIndex = lines[i].s;
        for (int k = lines[i].s; k <= lines[i].e; ++k)
            if (chars(lines[i])[k].m_nLeft < rect.right)
                lastIndex = k;
    }
    return true;
}

} // namespace

TEST(TextMeasure, CharsInRectOfLongMixedTextsMatchAWalkOverEveryLine)
{
    // Paragraphs long and short, some empty, of characters of mixed heights, and rectangles anywhere over them.
    unsigned seed = 52u;
    const auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<unsigned>(range));
    };
    for (int round = 0; round < 20; ++round) {
        CTextBody body(nullptr, 80 + next(200), 25);
        body.m_paragraphs.assign(static_cast<size_t>(1 + next(12)), CTextParagraph());
        for (auto& para : body.m_paragraphs) {
            const int count = next(4) == 0 ? 0 : next(400);
            for (int i = 0; i < count; ++i) {
                CTextChar ch;
                ch.m_ch = static_cast<BYTE>(next(6) == 0 ? ' ' : 'a' + next(26));
                ch.m_nWidth = 3 + next(15);
                ch.m_ascent = 4 + next(next(10) == 0 ? 40 : 10);
                ch.m_descent = 1 + next(next(10) == 0 ? 12 : 4);
                para.m_chars.push_back(ch);
            }
        }
        CRect dirty;
        LayoutText(body, dirty);
        const int height = body.m_paragraphs.back().m_laidOutBottom + 20;
        for (int probe = 0; probe < 60; ++probe) {
            const int top = next(height + 20) - 20, left = next(body.m_nWidth + 20) - 10;
            const RECT rect{left, top, left + next(body.m_nWidth), top + next(next(3) == 0 ? height : 40)};
            int want[4] = {-1, -1, -1, -1}, got[4] = {-1, -1, -1, -1};
            const bool wanted = CharsInRectByWalking(body, rect, want[0], want[1], want[2], want[3]);
            const bool found = GetCharsInRect(body, rect, got[0], got[1], got[2], got[3]);
            ASSERT_EQ(found, wanted) << "round " << round << " rect " << rect.left << "," << rect.top << ","
                                     << rect.right << "," << rect.bottom;
            for (int i = 0; i < 4 && wanted; ++i)
                ASSERT_EQ(got[i], want[i]) << "round " << round << " value " << i << " rect " << rect.left << ","
                                           << rect.top << "," << rect.right << "," << rect.bottom;
        }
    }
}

TEST(TextMeasure, LinkedCharactersAreDrawnUnderlinedInTheLinkColour)
{
    // A run of linked characters, whatever their own colour and underline, draws as blue underlined text.
    CTextBody body(nullptr, 60, 25);
    for (char c : std::string("ab")) {
        CTextChar linked = ArialChar(c);
        linked.m_color = RGB(255, 0, 0);
        linked.m_link.SetActive(true);
        body.m_paragraphs[0].m_chars.push_back(linked);
    }
    CRect dirty;
    LayoutText(body, dirty);

    White drawn;
    DrawTextRange(body, drawn, POINT{0, 0}, 0, 0, 0, 1);

    for (CTextChar& ch : body.m_paragraphs[0].m_chars) {
        ch.m_link.SetActive(false);
        ch.m_color = GetTextLinkColor();
        ch.m_bUnderline = 1;
    }
    White expected;
    DrawTextRange(body, expected, POINT{0, 0}, 0, 0, 0, 1);

    EXPECT_EQ(Pixels(drawn), Pixels(expected));
    EXPECT_NE(Pixels(drawn), Pixels(White()));
}

TEST(TextMeasure, DrawnRangeStaysWithinItsCharacters)
{
    CTextBody body(nullptr, 200, 25);
    for (char c : std::string("ab"))
        body.m_paragraphs[0].m_chars.push_back(ArialChar(c));
    CRect dirty;
    LayoutText(body, dirty);

    // Only the second character: no ink left of its box.
    White map;
    DrawTextRange(body, map, POINT{0, 0}, 0, 0, 1, 1);
    const int left = body.m_paragraphs[0].m_chars[1].m_nLeft;
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < left; ++x)
            ASSERT_EQ(*map.Sample(x, y, 0), 255) << x << "," << y;
    EXPECT_NE(Pixels(map), Pixels(White()));
}

namespace {

CTextChar FixedWidthChar(char c)
{
    CTextChar ch;
    ch.m_ch = static_cast<BYTE>(c);
    ch.m_nWidth = 10;
    ch.m_ascent = 10;
    ch.m_descent = 3;
    return ch;
}

} // namespace

TEST(TextMeasure, SelectionInvertsItsCellsAndTwiceRestores)
{
    // Paragraphs "ab", "" and "cd" at width 60: rows 2..15, 15..35 (empty-line height 20) and 35..48.
    struct Case
    {
        bool owner;
        int anchorPara, anchorIndex, focusPara, focusIndex;
        int dx; // the frame's left edge on the page
    };
    const Case cases[] = {
        {false, 0, 1, 2, 1, 0},
        {false, 2, 1, 0, 1, 0}, // the same selection made backwards
        {true, 0, 1, 2, 1, 1},  // centre 30.5 less half of 60 rounds up to 1
    };
    for (const auto& c : cases) {
        FakeTextOwner owner;
        owner.editing = true;
        CTextBody body(c.owner ? &owner : nullptr, 60, 25);
        body.m_paragraphs.assign(3, CTextParagraph());
        for (char ch : std::string("ab"))
            body.m_paragraphs[0].m_chars.push_back(FixedWidthChar(ch));
        for (char ch : std::string("cd"))
            body.m_paragraphs[2].m_chars.push_back(FixedWidthChar(ch));
        CRect dirty;
        LayoutText(body, dirty);
        owner.cx = 30.5;
        owner.cy = body.m_nHeight * 0.5;

        White map(80, 60);
        EXPECT_TRUE(DrawSelectionRange(body, map, POINT{0, 0}).IsRectNull()); // nothing selected yet
        body.m_selectionEmpty = 0;
        body.m_anchorPara = c.anchorPara;
        body.m_anchorIndex = c.anchorIndex;
        body.m_focusPara = c.focusPara;
        body.m_focusIndex = c.focusIndex;
        EXPECT_EQ(DrawSelectionRange(body, map, POINT{0, 0}), CRect(c.dx + 2, 2, c.dx + 58, 48));

        const int dx = c.dx;
        const std::pair<POINT, bool> probes[] = {
            {{dx + 15, 5}, true},   // 'b'
            {{dx + 5, 5}, false},   // 'a' lies before the selection
            {{dx + 2, 20}, true},   // the empty paragraph, from the margin ...
            {{dx + 57, 34}, true},  // ... to 2 short of the frame's right edge
            {{dx + 58, 20}, false}, //
            {{dx + 5, 40}, true},   // 'c'
            {{dx + 15, 40}, false}, // 'd' lies after the selection
        };
        for (const auto& [point, inverted] : probes)
            EXPECT_EQ(*map.Sample(point.x, point.y, 0), inverted ? 0 : 255) << point.x << "," << point.y;

        DrawSelectionRange(body, map, POINT{0, 0});
        EXPECT_EQ(Pixels(map), Pixels(White(80, 60)));
    }
}

TEST(TextMeasure, EditingRedrawsOnlyTheLinesInTheUpdate)
{
    CTextBody body(nullptr, 200, 25);
    body.m_paragraphs.assign(2, CTextParagraph());
    for (int p = 0; p < 2; ++p)
        for (char c : std::string("Hi"))
            body.m_paragraphs[p].m_chars.push_back(ArialChar(c));
    CRect dirty;
    LayoutText(body, dirty);
    const CTextChar& second = body.m_paragraphs[1].m_chars[0];
    const int secondTop = second.m_baseline - second.m_ascent;
    const POINT origin{3, 1};

    White map;
    DrawEditing(body, map, CRect(0, origin.y + secondTop + 1, 40, 30), origin);
    bool inkAbove = false, inkBelow = false;
    for (int y = 0; y < map.height; ++y)
        for (int x = 0; x < map.width; ++x)
            if (*map.Sample(x, y, 0) != 255)
                (y < origin.y + secondTop ? inkAbove : inkBelow) = true;
    EXPECT_FALSE(inkAbove);
    EXPECT_TRUE(inkBelow);

    // An update left of the frame meets no line.
    White untouched;
    DrawEditing(body, untouched, CRect(-50, -50, -10, -10), origin);
    EXPECT_EQ(Pixels(untouched), Pixels(White()));
}
