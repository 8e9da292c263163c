#include "app/objects/text_layout.h"
#include "app/objects/text_owner_fake.h"

#include <gtest/gtest.h>

namespace {

// Characters with fixed measures, so that the expected places can be worked out by hand: 10 wide, ascent 10,
// descent 3.
CTextChar FixedChar(char c, int width = 10, int ascent = 10, int descent = 3)
{
    CTextChar ch;
    ch.m_ch = static_cast<BYTE>(c);
    ch.m_nWidth = width;
    ch.m_nHeight = ascent + descent;
    ch.m_nAscent = ascent;
    ch.m_nDescent = descent;
    return ch;
}

CTextParagraph FixedParagraph(const std::string& text)
{
    CTextParagraph para;
    for (char c : text)
        para.m_chars.push_back(FixedChar(c));
    return para;
}

std::unique_ptr<CTextBody> FixedBody(int width, std::initializer_list<std::string> paragraphs, int alignment = 0)
{
    auto body = std::make_unique<CTextBody>(nullptr, width, 25);
    body->m_paragraphs.clear();
    for (const auto& text : paragraphs)
        body->m_paragraphs.push_back(FixedParagraph(text));
    body->m_nAlignment = alignment;
    return body;
}

std::vector<int> Lefts(const CTextParagraph& para)
{
    std::vector<int> lefts;
    for (const auto& ch : para.m_chars)
        lefts.push_back(ch.m_nLeft);
    return lefts;
}

} // namespace

TEST(LayoutText, NewBodyIsOneEmptyLineTall)
{
    CTextBody body(nullptr, 100, 40);
    CRect dirty;
    LayoutText(body, dirty);
    EXPECT_EQ(body.m_nHeight, 2 + 20 + 3);
    EXPECT_EQ(body.m_paragraphs[0].m_lines, (std::vector<int>{-1, -1}));
    EXPECT_EQ(body.m_paragraphs[0].m_nFirstBaseline, 2);
    EXPECT_EQ(dirty, CRect(-10000, -10000, 10000, 10000));
}

TEST(LayoutText, BreaksLinesAtBlanksOrInsideWords)
{
    struct Case
    {
        const char* text;
        int width;
        std::vector<int> lines;
    };
    const Case cases[] = {
        {"ab cd ef", 60, {0, 5, 6, 7}},           // the blank that overflows ends the line
        {"ab cdefghij", 60, {0, 2, 3, 7, 8, 10}}, // a word too long for a line breaks inside
        {"abcdefgh", 60, {0, 4, 5, 7}},           // the character reaching width - 2 starts the next line
        {" abcdefg", 60, {0, 4, 5, 7}},           // a blank at the line's start is no break
        {"abcd", 100, {0, 3}},
        {"a", 3, {0, 0}}, // a lone first character wider than the line stays alone
        {"", 60, {-1, -1}},
    };
    for (const auto& c : cases) {
        auto body = FixedBody(c.width, {c.text});
        CRect dirty;
        LayoutText(*body, dirty);
        EXPECT_EQ(body->m_paragraphs[0].m_lines, c.lines) << c.text;
    }
}

TEST(LayoutText, NarrowBoxPutsEachCharacterOnItsOwnLine)
{
    // No character fits even alone; every line still takes one, so layout ends.
    auto body = FixedBody(5, {"abc"});
    CRect dirty;
    LayoutText(*body, dirty);
    const auto& para = body->m_paragraphs[0];
    EXPECT_EQ(para.m_lines, (std::vector<int>{0, 0, 1, 1, 2, 2}));
    EXPECT_EQ(para.m_chars[2].m_nBaseline, 12 + 2 * 13);
    EXPECT_EQ(body->m_nWidestChar, 10);

    // Next time round the width is held at 1.5 x the widest character.
    LayoutText(*body, dirty);
    EXPECT_EQ(body->m_nWidth, 15);
    EXPECT_EQ(para.m_lines, (std::vector<int>{0, 0, 1, 1, 2, 2}));
}

TEST(LayoutText, AlignsEachLine)
{
    struct Case
    {
        int alignment;
        std::vector<int> lefts;
    };
    const Case cases[] = {
        {CTextBody::alignLeft, {2, 12, 22, 32, 42, 52, 2, 12}},
        // Centring leaves out the trailing blank.
        {CTextBody::alignCenter, {7, 17, 27, 37, 47, 57, 22, 32}},
        // The trailing blank hangs past the right margin.
        {CTextBody::alignRight, {10, 20, 30, 40, 50, 60, 40, 50}},
        // Justified text, as a file may hold it, is shown from the left, as the published page shows it.
        {3, {2, 12, 22, 32, 42, 52, 2, 12}},
        {-7, {2, 12, 22, 32, 42, 52, 2, 12}},
    };
    for (const auto& c : cases) {
        auto body = FixedBody(60, {"ab cd ef"}, c.alignment);
        CRect dirty;
        LayoutText(*body, dirty);
        const auto& para = body->m_paragraphs[0];
        EXPECT_EQ(Lefts(para), c.lefts) << "alignment " << c.alignment;
        for (int k = 0; k < para.GetCount(); ++k)
            EXPECT_EQ(para.m_chars[k].m_nBaseline, k < 6 ? 12 : 25);
        EXPECT_EQ(body->m_nHeight, 25 + 3 + 3);
    }
}

TEST(LayoutText, LinesAndParagraphsStackWithoutLeading)
{
    auto body = FixedBody(40, {"ab cd", "", "x"});
    auto& first = body->m_paragraphs[0];
    first.m_chars[0] = FixedChar('a', 10, 10, 5);
    first.m_chars[3] = FixedChar('c', 10, 20, 6);
    CRect dirty;
    LayoutText(*body, dirty);

    // The first line takes the ascents up to its last blank, not the tall 'c' that overflows it.
    EXPECT_EQ(first.m_lines, (std::vector<int>{0, 2, 3, 4}));
    EXPECT_EQ(first.m_nFirstBaseline, 12);
    EXPECT_EQ(first.m_chars[3].m_nBaseline, 12 + 5 + 20);
    // The empty paragraph starts where the last line's descent ends and is its empty-line height tall.
    EXPECT_EQ(body->m_paragraphs[1].m_nFirstBaseline, 37 + 6);
    EXPECT_EQ(body->m_paragraphs[2].m_nFirstBaseline, 43 + 20 + 10);
    EXPECT_EQ(body->m_nHeight, 73 + 3 + 3);
}

TEST(LayoutText, ReportsOnlyCharactersThatMove)
{
    auto body = FixedBody(60, {"ab"});
    CRect dirty;
    LayoutText(*body, dirty);

    // Nothing moved: the caller's rectangle is left as it was.
    dirty.SetRect(0, 0, 0, 0);
    LayoutText(*body, dirty);
    EXPECT_TRUE(dirty.IsRectNull());

    // Old boxes at 2..22, new ones at 22..42; the height stays.
    body->m_nAlignment = CTextBody::alignCenter;
    LayoutText(*body, dirty);
    EXPECT_EQ(dirty, CRect(2, 2, 42, 15));

    // A character marked for placing is reported even where it stays.
    dirty.SetRectEmpty();
    body->m_paragraphs[0].m_chars[1].m_bNeedsPlacing = 1;
    LayoutText(*body, dirty);
    EXPECT_EQ(dirty, CRect(32, 2, 42, 15));
    EXPECT_EQ(body->m_paragraphs[0].m_chars[1].m_bNeedsPlacing, 0);
}

TEST(LayoutText, OwnerKeepsItsTopEdgeAndFollowsTheBody)
{
    FakeTextOwner owner;
    owner.cx = owner.cy = 50.0;
    owner.sx = 2.0;
    owner.sy = 0.5;
    CTextBody body(&owner, 100, 25);
    CRect dirty;
    LayoutText(body, dirty); // an empty body is already 25 tall
    EXPECT_EQ(owner.cy, 50.0);
    EXPECT_TRUE(dirty.IsRectNull());

    // Two lines of ascent 16 and descent 4: baselines 18 and 38, height 45.
    body.m_paragraphs[0].m_chars.assign(2, FixedChar('w', 60, 16, 4));
    owner.editing = true;
    LayoutText(body, dirty);
    EXPECT_EQ(body.m_nHeight, 45);
    EXPECT_EQ(owner.cy, 60.0);
    EXPECT_EQ(dirty, CRect(-10000, -10000, 10000, 10000));
    EXPECT_EQ(owner.size.cx, 200);
    EXPECT_EQ(owner.size.cy, 22);
    EXPECT_EQ(owner.bounds, CRect(0, 38, 100, 83));
}

TEST(LayoutText, LineMetricsAheadAndBreakSearch)
{
    auto body = FixedBody(60, {"ab cd"});
    const auto& para = body->m_paragraphs[0];
    EXPECT_EQ(GetLineAscentAhead(*body, para, -1), 20);
    EXPECT_EQ(GetLineDescentAhead(*body, para, 5), 0);
    EXPECT_EQ(GetLineDescentAhead(*body, para, 0), 3);
    EXPECT_EQ(FindBreak(para, 4), 2);
    EXPECT_EQ(FindBreak(para, 1), -1);
    EXPECT_EQ(FindBreak(para, 99), 2);
}
