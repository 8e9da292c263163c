#include "app/objects/text_layout.h"
#include "app/objects/text_owner_fake.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

// Characters with fixed measures, so that the expected places can be worked out by hand: 10 wide, ascent 10,
// descent 3.
CTextChar FixedChar(char c, int width = 10, int ascent = 10, int descent = 3)
{
    CTextChar ch;
    ch.m_ch = static_cast<BYTE>(c);
    ch.m_nWidth = width;
    ch.m_nHeight = ascent + descent;
    ch.m_ascent = ascent;
    ch.m_descent = descent;
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
    body->m_alignment = alignment;
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
    EXPECT_EQ(body.m_paragraphs[0].m_firstBaseline, 2);
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
    EXPECT_EQ(para.m_chars[2].m_baseline, 12 + 2 * 13);
    EXPECT_EQ(body->m_widestChar, 10);

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
            EXPECT_EQ(para.m_chars[k].m_baseline, k < 6 ? 12 : 25);
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
    EXPECT_EQ(first.m_firstBaseline, 12);
    EXPECT_EQ(first.m_chars[3].m_baseline, 12 + 5 + 20);
    // The empty paragraph starts where the last line's descent ends and is its empty-line height tall.
    EXPECT_EQ(body->m_paragraphs[1].m_firstBaseline, 37 + 6);
    EXPECT_EQ(body->m_paragraphs[2].m_firstBaseline, 43 + 20 + 10);
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
    body->m_alignment = CTextBody::alignCenter;
    LayoutText(*body, dirty);
    EXPECT_EQ(dirty, CRect(2, 2, 42, 15));

    // A character marked for placing is reported even where it stays.
    dirty.SetRectEmpty();
    body->m_paragraphs[0].m_chars[1].m_needsPlacing = 1;
    LayoutText(*body, dirty);
    EXPECT_EQ(dirty, CRect(32, 2, 42, 15));
    EXPECT_EQ(body->m_paragraphs[0].m_chars[1].m_needsPlacing, 0);
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

namespace {

// Everything layout decides, paragraph by paragraph: the lines, the first baseline and each character's place.
void ExpectSameLayout(const CTextBody& edited, const CTextBody& whole, const std::string& step)
{
    SCOPED_TRACE(step);
    ASSERT_EQ(edited.GetParagraphCount(), whole.GetParagraphCount());
    EXPECT_EQ(edited.m_nHeight, whole.m_nHeight);
    EXPECT_EQ(edited.m_nWidth, whole.m_nWidth);
    EXPECT_EQ(edited.m_widestChar, whole.m_widestChar);
    for (int p = 0; p < edited.GetParagraphCount(); ++p) {
        const CTextParagraph& a = edited.m_paragraphs[static_cast<size_t>(p)];
        const CTextParagraph& b = whole.m_paragraphs[static_cast<size_t>(p)];
        ASSERT_EQ(a.m_lines, b.m_lines) << "paragraph " << p;
        EXPECT_EQ(a.m_firstBaseline, b.m_firstBaseline) << "paragraph " << p;
        EXPECT_EQ(a.m_laidOutTop, b.m_laidOutTop) << "paragraph " << p;
        EXPECT_EQ(a.m_laidOutBottom, b.m_laidOutBottom) << "paragraph " << p;
        ASSERT_EQ(a.GetCount(), b.GetCount());
        for (int i = 0; i < a.GetCount(); ++i) {
            const CTextChar& x = a.m_chars[static_cast<size_t>(i)];
            const CTextChar& y = b.m_chars[static_cast<size_t>(i)];
            ASSERT_TRUE(x.m_nLeft == y.m_nLeft && x.m_baseline == y.m_baseline && x.m_needsPlacing == y.m_needsPlacing)
                << "paragraph " << p << " character " << i << ": " << x.m_nLeft << "," << x.m_baseline << " vs "
                << y.m_nLeft << "," << y.m_baseline;
        }
    }
}

} // namespace

// An edit lays out only the lines it moves; whatever it touches (a letter in a word that then fits the line above,
// a blank that opens a break, a taller letter, a split or a join, a new width), the text must come out as a layout
// of the whole text leaves it, the dirty rectangle included. Two copies take the same seeded edits, one laid out
// after each edit from the edit on, the other whole.
TEST(LayoutText, EditsLaidOutFromTheEditMatchTheWholeLayout)
{
    for (int alignment : {CTextBody::alignLeft, CTextBody::alignCenter, CTextBody::alignRight}) {
        SCOPED_TRACE("alignment " + std::to_string(alignment));
        unsigned seed = 2024u + static_cast<unsigned>(alignment);
        const auto next = [&seed](int range) {
            seed = seed * 1103515245u + 12345u;
            return static_cast<int>((seed >> 8) % static_cast<unsigned>(range));
        };
        const auto randomChar = [&] {
            if (next(5) == 0)
                return FixedChar(' ', 4 + next(6), 8 + next(4), 2 + next(2));
            return FixedChar(static_cast<char>('a' + next(26)), 5 + next(20), 8 + next(9), 2 + next(4));
        };
        auto edited = std::make_unique<CTextBody>(nullptr, 120, 25);
        edited->m_alignment = alignment;
        edited->m_paragraphs.assign(4, CTextParagraph());
        for (auto& para : edited->m_paragraphs)
            for (int i = 0, n = 30 + next(60); i < n; ++i)
                para.m_chars.push_back(randomChar());
        CRect dirty;
        LayoutText(*edited, dirty);

        for (int step = 0; step < 400; ++step) {
            std::unique_ptr<CTextBody> whole = edited->Clone();
            CRect editedDirty, wholeDirty;
            const int p = next(edited->GetParagraphCount());
            auto& para = edited->m_paragraphs[static_cast<size_t>(p)];
            auto& twin = whole->m_paragraphs[static_cast<size_t>(p)];
            const int count = para.GetCount();
            const int kind = next(20);
            std::string what;
            if (kind < 9 || count == 0) {
                const int at = next(count + 1);
                const CTextChar ch = randomChar();
                para.m_chars.insert(para.m_chars.begin() + at, ch);
                twin.m_chars.insert(twin.m_chars.begin() + at, ch);
                edited->m_widestChar = whole->m_widestChar = std::max(edited->m_widestChar, ch.m_nWidth);
                LayoutEditedChars(*edited, true, p, at, 0, 1, editedDirty);
                what = "insert at " + std::to_string(at);
            } else if (kind < 16) {
                const int at = next(count);
                const int removed = std::min(count - at, 1 + next(3) / 2);
                const int inserted = kind == 15 ? 2 : 0;
                para.m_chars.erase(para.m_chars.begin() + at, para.m_chars.begin() + at + removed);
                twin.m_chars.erase(twin.m_chars.begin() + at, twin.m_chars.begin() + at + removed);
                for (int k = 0; k < inserted; ++k) {
                    const CTextChar ch = randomChar();
                    para.m_chars.insert(para.m_chars.begin() + at, ch);
                    twin.m_chars.insert(twin.m_chars.begin() + at, ch);
                    edited->m_widestChar = whole->m_widestChar = std::max(edited->m_widestChar, ch.m_nWidth);
                }
                LayoutEditedChars(*edited, true, p, at, removed, inserted, editedDirty);
                what = "replace at " + std::to_string(at);
            } else if (kind < 18 && edited->GetParagraphCount() < 8) {
                const int at = next(count + 1);
                for (CTextBody* body : {edited.get(), whole.get()}) {
                    auto& chars = body->m_paragraphs[static_cast<size_t>(p)].m_chars;
                    CTextParagraph tail;
                    tail.m_emptyHeight = 17;
                    tail.m_chars.assign(chars.begin() + at, chars.end());
                    chars.erase(chars.begin() + at, chars.end());
                    body->m_paragraphs.insert(body->m_paragraphs.begin() + p + 1, std::move(tail));
                }
                LayoutEditedParagraphs(*edited, true, p, p + 1, 1, editedDirty);
                what = "split at " + std::to_string(at);
            } else if (kind < 19 && p > 0) {
                for (CTextBody* body : {edited.get(), whole.get()}) {
                    auto& previous = body->m_paragraphs[static_cast<size_t>(p) - 1].m_chars;
                    auto& joined = body->m_paragraphs[static_cast<size_t>(p)].m_chars;
                    previous.insert(previous.end(), joined.begin(), joined.end());
                    body->m_paragraphs.erase(body->m_paragraphs.begin() + p);
                }
                LayoutEditedParagraphs(*edited, true, p - 1, p - 1, -1, editedDirty);
                what = "join " + std::to_string(p);
            } else {
                // A new width leaves nothing standing: the edit lays the whole text out.
                edited->m_nWidth = whole->m_nWidth = 80 + next(80);
                const int at = next(count + 1);
                const CTextChar ch = randomChar();
                para.m_chars.insert(para.m_chars.begin() + at, ch);
                twin.m_chars.insert(twin.m_chars.begin() + at, ch);
                edited->m_widestChar = whole->m_widestChar = std::max(edited->m_widestChar, ch.m_nWidth);
                LayoutEditedChars(*edited, true, p, at, 0, 1, editedDirty);
                what = "new width " + std::to_string(edited->m_nWidth);
            }
            LayoutText(*whole, wholeDirty);
            const std::string label = "step " + std::to_string(step) + ", paragraph " + std::to_string(p) + ": " + what;
            ExpectSameLayout(*edited, *whole, label);
            EXPECT_EQ(editedDirty, wholeDirty) << label;
            if (HasFatalFailure() || HasFailure())
                return;
        }
    }
}
