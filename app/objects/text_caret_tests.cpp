#include <cmath>

#include <gtest/gtest.h>

#include "app/objects/text_editing_test_support.h"

using namespace text_editing_testing;
using TextCaret = TextEditFixture;

namespace {

// A paragraph that wraps into several lines in a narrow box, with the line table layout gave it.
struct Wrapped
{
    std::unique_ptr<CTextObject> object = MakeText(120, {"alpha beta gamma delta epsilon", "", "zeta"});
    const CTextParagraph& para() const { return object->GetTextBody()->m_paragraphs[0]; }
    int first(int line) const { return para().m_lines[2 * line]; }
    int last(int line) const { return para().m_lines[2 * line + 1]; }
    int lines() const { return para().GetLineCount(); }
};

enum Move
{
    kLeft,
    kRight,
    kUp,
    kDown,
    kHome,
    kEnd,
    kPageUp,
    kPageDown
};

void Apply(CTextObject& object, Move move, bool extend = false)
{
    switch (move) {
    case kLeft:
        object.MoveCaretLeft(extend);
        break;
    case kRight:
        object.MoveCaretRight(extend);
        break;
    case kUp:
        object.MoveCaretUp(extend);
        break;
    case kDown:
        object.MoveCaretDown(extend);
        break;
    case kHome:
        object.MoveCaretLineStart(extend);
        break;
    case kEnd:
        object.MoveCaretLineEnd(extend);
        break;
    case kPageUp:
        object.MoveCaretPageUp(extend);
        break;
    case kPageDown:
        object.MoveCaretPageDown(extend);
        break;
    }
    // The view places the caret after every key, which also makes its x the goal column of the next move.
    const Pos at = CaretOf(object);
    object.UpdateCaret(at.para, at.index);
}

} // namespace

TEST_F(TextCaret, CharacterMovesCrossParagraphEdgesAndStopAtTheTextEnds)
{
    auto object = MakeText(400, {"abc", "", "de"});
    const struct
    {
        Pos from;
        Move move;
        Pos to;
    } cases[] = {
        {{0, 0}, kLeft, {0, 0}},  {{0, 2}, kLeft, {0, 1}},  {{1, 0}, kLeft, {0, 3}},
        {{2, 0}, kLeft, {1, 0}},  {{0, 3}, kRight, {1, 0}}, {{1, 0}, kRight, {2, 0}},
        {{2, 1}, kRight, {2, 2}}, {{2, 2}, kRight, {2, 2}}, {{-1, 0}, kRight, {-1, 0}},
    };
    for (const auto& c : cases) {
        object->GetTextBody()->m_caretPara = c.from.para;
        object->GetTextBody()->m_caretIndex = c.from.index;
        Apply(*object, c.move);
        EXPECT_EQ(CaretOf(*object), c.to) << c.from << " move " << c.move;
    }
}

TEST_F(TextCaret, HomeAndEndKeepToTheWrappedLine)
{
    Wrapped w;
    ASSERT_GE(w.lines(), 3);
    const int end = w.para().GetCount();
    ASSERT_TRUE(w.para().m_chars[w.last(0)].IsBlank());
    const struct
    {
        Pos from;
        Move move;
        Pos to;
    } cases[] = {
        // A wrapped line's End stops before its trailing blank; the paragraph's last line ends after its last
        // character.
        {{0, w.first(1) + 1}, kEnd, {0, w.last(1)}},
        {{0, 0}, kEnd, {0, w.last(0)}},
        {{0, w.first(w.lines() - 1)}, kEnd, {0, end}},
        {{0, w.first(1) + 2}, kHome, {0, w.first(1)}},
        {{0, end}, kHome, {0, w.first(w.lines() - 1)}},
        {{1, 0}, kEnd, {1, 0}},
        {{2, 2}, kHome, {2, 0}},
    };
    for (const auto& c : cases) {
        PutCaret(*w.object, c.from);
        Apply(*w.object, c.move);
        EXPECT_EQ(CaretOf(*w.object), c.to) << c.from << " move " << c.move;
    }

    // A caret before the lone character of a last line stands at that line's start, not at the end of the line
    // above.
    int line = 0;
    for (char c : std::string("abcd "))
        line += MakeChar(c).m_nWidth;
    auto single = MakeText(line + 4 + MakeChar('e').m_nWidth / 2, {"abcd e"});
    const CTextParagraph& para = single->GetTextBody()->m_paragraphs[0];
    ASSERT_EQ(para.m_lines, (std::vector<int>{0, 4, 5, 5}));
    PutCaret(*single, {0, para.GetCount()});
    Apply(*single, kHome);
    EXPECT_EQ(single->GetTextBody()->m_caretX, para.m_chars.back().m_nLeft);
}

TEST_F(TextCaret, HomeAndEndDoNothingInBlankText)
{
    auto object = MakeText(400, {" ", "", " "});
    for (Move move : {kHome, kEnd})
        for (Pos at : {Pos{0, 1}, Pos{2, 0}}) {
            PutCaret(*object, at);
            Apply(*object, move);
            EXPECT_EQ(CaretOf(*object), at) << move;
        }
}

TEST_F(TextCaret, UpAndDownKeepTheColumn)
{
    // A fixed-pitch face, so that a column is a character count.
    auto object = MakeText(400, {"abcdefgh", "ijklmnop", "", "qrstuvwx"}, Format{.face = "Courier New"});
    PutCaret(*object, {0, 5});
    // Up on the first line and Down on the last leave the caret; an empty paragraph takes it at its start, and
    // its x is the column from there on.
    const struct
    {
        Move move;
        Pos to;
    } steps[] = {
        {kDown, {1, 5}}, {kUp, {0, 5}},   {kUp, {0, 5}},    {kDown, {1, 5}}, {kDown, {2, 0}},
        {kDown, {3, 0}}, {kDown, {3, 0}}, {kRight, {3, 1}}, {kUp, {2, 0}},   {kUp, {1, 0}},
    };
    int step = 0;
    for (const auto& s : steps) {
        Apply(*object, s.move);
        EXPECT_EQ(CaretOf(*object), s.to) << "step " << step++;
    }

    // Across faces the caret takes the boundary nearest to the column.
    auto mixed = MakeText(400, {"iiiiiiiiii", "MMMM"});
    const CTextParagraph& narrow = mixed->GetTextBody()->m_paragraphs[0];
    const CTextParagraph& wide = mixed->GetTextBody()->m_paragraphs[1];
    for (int i = 0; i <= narrow.GetCount(); ++i) {
        PutCaret(*mixed, {0, i});
        const int x = mixed->GetTextBody()->m_caretX;
        Apply(*mixed, kDown);
        const Pos at = CaretOf(*mixed);
        ASSERT_EQ(at.para, 1);
        const auto boundary = [&](int k) {
            return k < wide.GetCount() ? wide.m_chars[k].m_nLeft
                                       : wide.m_chars.back().m_nLeft + wide.m_chars.back().m_nWidth;
        };
        for (int k = 0; k <= wide.GetCount(); ++k)
            EXPECT_LE(std::abs(boundary(at.index) - x), std::abs(boundary(k) - x)) << i << " vs " << k;
    }
}

TEST_F(TextCaret, UpAndDownWalkTheLinesOfAWrappedParagraph)
{
    Wrapped w;
    PutCaret(*w.object, {0, 1});
    for (int line = 1; line < w.lines(); ++line) {
        Apply(*w.object, kDown);
        const Pos at = CaretOf(*w.object);
        EXPECT_EQ(at.para, 0);
        EXPECT_GE(at.index, w.first(line)) << line;
        EXPECT_LE(at.index, w.first(line) + 2) << line;
    }
    Apply(*w.object, kDown);
    EXPECT_EQ(CaretOf(*w.object), (Pos{1, 0}));
    Apply(*w.object, kUp);
    EXPECT_EQ(CaretOf(*w.object).para, 0);
    EXPECT_GE(CaretOf(*w.object).index, w.first(w.lines() - 1));

    // A goal column left of every line start puts the caret at the start of the line, never before the blank
    // that ends the line above.
    PutCaret(*w.object, {0, w.first(1)});
    Apply(*w.object, kDown);
    EXPECT_EQ(CaretOf(*w.object), (Pos{0, w.first(2)}));
    Apply(*w.object, kUp);
    EXPECT_EQ(CaretOf(*w.object), (Pos{0, w.first(1)}));
}

TEST_F(TextCaret, PageMovesGoByTheClientHeight)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 12; ++i)
        lines.push_back("line " + std::to_string(i));
    auto object = MakeText(300, lines);
    const CTextBody& body = *object->GetTextBody();
    const int pitch = body.m_paragraphs[1].m_firstBaseline - body.m_paragraphs[0].m_firstBaseline;
    ASSERT_GT(pitch, 0);

    services.client = CRect(0, 0, 300, 4 * pitch);
    PutCaret(*object, {0, 2});
    Apply(*object, kPageDown);
    EXPECT_EQ(CaretOf(*object), (Pos{4, 2}));
    Apply(*object, kPageDown);
    EXPECT_EQ(CaretOf(*object), (Pos{8, 2}));
    Apply(*object, kPageUp);
    EXPECT_EQ(CaretOf(*object), (Pos{4, 2}));
    Apply(*object, kPageUp);
    Apply(*object, kPageUp);
    EXPECT_EQ(CaretOf(*object), (Pos{0, 2}));

    // A text shorter than the client area: the start of the last line of the last paragraph.
    services.client = CRect(0, 0, 300, 5000);
    Apply(*object, kPageDown);
    EXPECT_EQ(CaretOf(*object), (Pos{11, 0}));

    // Without a view there is no client area, and the caret stays.
    services.hasView = false;
    PutCaret(*object, {3, 1});
    Apply(*object, kPageDown);
    EXPECT_EQ(CaretOf(*object), (Pos{3, 1}));
}

TEST_F(TextCaret, PointsResolveToTheNearestBoundaryOfTheLineThePointIsOn)
{
    Wrapped w;
    const CTextChar& b = w.para().m_chars[1];
    const CTextChar& firstOfLine1 = w.para().m_chars[w.first(1)];
    const CTextParagraph& last = w.object->GetTextBody()->m_paragraphs[2];
    const int empty = w.object->GetTextBody()->m_paragraphs[1].m_firstBaseline + 2;
    const struct
    {
        int x, y;
        Pos to;
    } cases[] = {
        {0, 0, {0, 0}},                                     // above and left of the text
        {b.m_nLeft + 1, b.m_baseline - 2, {0, 1}},          // left half of 'l'
        {b.m_nLeft + b.m_nWidth - 1, b.m_baseline, {0, 2}}, // right half of 'l'
        {b.m_nLeft + 1, b.m_baseline + 2, {0, 1}},          // in the line's descent
        {1000, b.m_baseline, {0, w.last(0)}},               // right of a wrapped line: before its blank
        {0, firstOfLine1.m_baseline, {0, w.first(1)}},      // left of a later line: its start
        {1000, empty, {1, 0}},                              // an empty paragraph
        {1000, last.m_firstBaseline, {2, 4}},               // right of the last line
        {50, 5000, {2, 0}},                                 // below everything
    };
    for (const auto& c : cases) {
        PutCaret(*w.object, {1, 0});
        w.object->SetCaretFromPoint(c.x, c.y);
        EXPECT_EQ(CaretOf(*w.object), c.to) << c.x << ", " << c.y;
    }
}

TEST_F(TextCaret, ExtendingSelectsInBothDirectionsAndEmptiesAtTheAnchor)
{
    auto object = MakeText(400, {"abcdef", "ghij"});
    CTextBody& body = *object->GetTextBody();
    int sp = 0, ep = 0, si = 0, ei = 0;

    PutCaret(*object, {0, 1});
    for (int i = 0; i < 3; ++i)
        Apply(*object, kRight, true);
    EXPECT_FALSE(body.m_selectionEmpty);
    body.GetOrderedSelection(sp, ep, si, ei);
    EXPECT_EQ((std::vector<int>{sp, si, ep, ei}), (std::vector<int>{0, 1, 0, 4}));
    for (int i = 0; i < 3; ++i)
        Apply(*object, kLeft, true);
    EXPECT_TRUE(body.m_selectionEmpty);

    // Backwards over a paragraph boundary: the ordered form runs from the focus to the anchor.
    PutCaret(*object, {1, 2});
    for (int i = 0; i < 4; ++i)
        Apply(*object, kLeft, true);
    body.GetOrderedSelection(sp, ep, si, ei);
    EXPECT_EQ((std::vector<int>{sp, si, ep, ei}), (std::vector<int>{0, 5, 1, 2}));
    EXPECT_TRUE(body.IsCharSelected(0, 5));
    EXPECT_FALSE(body.IsCharSelected(0, 4));
    EXPECT_TRUE(body.IsCharSelected(1, 1));
    EXPECT_FALSE(body.IsCharSelected(1, 2));

    // A move without extend leaves the selection as it is.
    Apply(*object, kRight);
    body.GetOrderedSelection(sp, ep, si, ei);
    EXPECT_FALSE(body.m_selectionEmpty);
    EXPECT_EQ((std::vector<int>{sp, si, ep, ei}), (std::vector<int>{0, 5, 1, 2}));
}

TEST_F(TextCaret, SelectAllCoversALeadingEmptyParagraph)
{
    auto object = MakeText(400, {"", "abc", "de"});
    PutCaret(*object, {1, 1});
    object->SelectAll();
    const CTextBody& body = *object->GetTextBody();
    int sp = 0, ep = 0, si = 0, ei = 0;
    body.GetOrderedSelection(sp, ep, si, ei);
    EXPECT_FALSE(body.m_selectionEmpty);
    EXPECT_EQ((std::vector<int>{sp, si, ep, ei}), (std::vector<int>{0, 0, 2, 2}));
}

TEST_F(TextCaret, CaretTakesItsPlaceAndHeightFromTheCharacters)
{
    services.settings.m_textFontSize = 24;
    auto object = MakeText(400, {"Ab", ""}, Format{.points = 18});
    const CTextBody& body = *object->GetTextBody();
    const CTextChar& a = body.m_paragraphs[0].m_chars[0];
    const CTextChar& b = body.m_paragraphs[0].m_chars[1];
    const struct
    {
        int alignment;
        Pos at;
        int x, y, height;
    } cases[] = {
        {CTextBody::alignLeft, {0, 0}, a.m_nLeft, a.m_baseline - a.m_ascent, a.m_ascent + a.m_descent},
        {CTextBody::alignLeft, {0, 2}, b.m_nLeft + b.m_nWidth, b.m_baseline - b.m_ascent, b.m_ascent + b.m_descent},
        // An empty paragraph: the current point size in pixels.
        {CTextBody::alignLeft, {1, 0}, 2, body.m_paragraphs[1].m_firstBaseline, 32},
        {CTextBody::alignCenter, {1, 0}, (400 - 4) / 2 + 2, body.m_paragraphs[1].m_firstBaseline, 32},
        {CTextBody::alignRight, {1, 0}, 400 - 2, body.m_paragraphs[1].m_firstBaseline, 32},
    };
    for (const auto& c : cases) {
        object->GetTextBody()->m_alignment = c.alignment;
        PutCaret(*object, c.at);
        EXPECT_EQ(body.m_caretX, c.x) << c.at;
        EXPECT_EQ(body.m_caretY, c.y) << c.at;
        EXPECT_EQ(body.m_caretHeight, c.height) << c.at;
        EXPECT_EQ(services.caretHeight, c.height) << c.at;
    }
}

TEST_F(TextCaret, CaretScrollsTheViewToStayVisible)
{
    auto object = MakeText(400, {"abc"});
    CTextBody& body = *object->GetTextBody();
    SIZE size;
    object->GetSize(size);
    DPOINT centre;
    object->GetCenter(centre);
    const int left = static_cast<int>(std::floor(centre.x - size.cx * 0.5));
    const int top = static_cast<int>(std::floor(centre.y - size.cy * 0.5));
    PutCaret(*object, {0, 0});
    const CPoint page(left + body.m_caretX, top + body.m_caretY);
    services.page = CSize(2000, 2000);

    const struct
    {
        CRect client;
        CPoint scroll;
        CPoint scrolled;
    } cases[] = {
        {{0, 0, 800, 600}, {0, 0}, {0, 0}},                                       // visible: no scroll
        {{0, 0, 800, page.y + 5}, {0, 0}, {0, body.m_caretHeight}},               // below: down by a caret
        {{0, 0, 800, 600}, {0, page.y + 10}, {0, page.y}},                        // above: up to it
        {{0, 0, page.x - 30, 600}, {0, 0}, {page.x - 2 * (page.x - 30) / 3, 0}},  // right: a third in
        {{0, 0, 100, 600}, {page.x + 40, 0}, {std::max(0, page.x - 100 / 3), 0}}, // left
    };
    for (const auto& c : cases) {
        services.client = c.client;
        services.scroll = c.scroll;
        PutCaret(*object, {0, 0});
        EXPECT_EQ(services.scroll, c.scrolled) << c.client.Height() << " " << c.scroll.x << "," << c.scroll.y;
        EXPECT_EQ(services.caretPos, CPoint(page.x - services.scroll.x, page.y - services.scroll.y));
    }
    // A page no larger than the client area never scrolls.
    services.page = CSize(40, 40);
    services.client = CRect(0, 0, 50, 50);
    services.scroll = CPoint(0, 0);
    services.scrolls.clear();
    PutCaret(*object, {0, 3});
    EXPECT_TRUE(services.scrolls.empty());
}

TEST_F(TextCaret, SelectionRectangleSpansTheFullWidthOfItsLines)
{
    auto object = MakeText(300, {"abc", "", "Big"});
    Append(*object, 2, "G", Format{.points = 30});
    Layout(*object);
    const CTextBody& body = *object->GetTextBody();
    SIZE size;
    object->GetSize(size);

    RECT rect{1, 2, 3, 4};
    EXPECT_EQ(object->GetSelectionRect(rect), 0);
    EXPECT_EQ(CRect(rect), CRect(1, 2, 3, 4));

    const CTextChar& a = body.m_paragraphs[0].m_chars[0];
    const CTextChar& big = body.m_paragraphs[2].m_chars[3];
    const struct
    {
        Pos anchor, focus;
        CRect expected;
    } cases[] = {
        {{0, 1}, {0, 2}, {0, a.m_baseline - a.m_ascent, size.cx, a.m_baseline + a.m_descent}},
        // The line's tallest character sets the band, whichever characters are selected.
        {{2, 0}, {2, 1}, {0, big.m_baseline - big.m_ascent, size.cx, big.m_baseline + big.m_descent}},
        {{2, 1}, {0, 2}, {0, a.m_baseline - a.m_ascent, size.cx, big.m_baseline + big.m_descent}},
        {{1, 0},
         {0, 3},
         {0, a.m_baseline - a.m_ascent, size.cx,
          body.m_paragraphs[1].m_firstBaseline + body.m_paragraphs[1].m_emptyHeight}},
    };
    for (const auto& c : cases) {
        Select(*object, c.anchor, c.focus);
        RECT r{};
        EXPECT_NE(object->GetSelectionRect(r), 0);
        EXPECT_EQ(CRect(r), c.expected) << c.anchor << " " << c.focus;
    }
}
