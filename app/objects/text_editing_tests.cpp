#include <gtest/gtest.h>

#include <cstring>

#include <string>
#include <vector>

#include "app/model/record_stream.h"
#include "app/objects/text_editing_test_support.h"
#include "platform/io/io.h"
#include "platform/win/file.h"
#include "testing/test_output.h"

using namespace text_editing_testing;
using TextEditing = TextEditFixture;

namespace {

std::string BlockOf(const std::vector<BYTE>& bytes)
{
    return std::string(bytes.begin(), bytes.end());
}

std::vector<BYTE> Written(CMemFile& file)
{
    const BYTE* data = file.GetBuffer();
    return std::vector<BYTE>(data, data + file.GetLength());
}

// A clipboard block holding exactly the given bytes.
struct Block
{
    explicit Block(const std::string& bytes) : data(bytes.begin(), bytes.end()), file(data.data(), Size()) {}
    UINT Size() const { return static_cast<UINT>(data.size()); }
    std::vector<BYTE> data;
    CMemFile file;
};

CLinkInfo PageLink(int page)
{
    CLinkInfo link;
    link.SetKind(CLinkInfo::kindPage);
    link.SetPage(page);
    link.SetActive(true);
    return link;
}

} // namespace

TEST_F(TextEditing, TypingNeverMakesTwoBlanksInARow)
{
    const struct
    {
        int index;
        std::string text;
        int caret;
    } cases[] = {
        {2, "ab cd", 3}, // after a blank: nothing
        {3, "ab cd", 3}, // before a blank: steps over it
        {1, "a b cd", 2},
        {5, "ab cd ", 6},
    };
    for (const auto& c : cases) {
        auto object = MakeText(400, {"ab cd"});
        PutCaret(*object, {0, c.index});
        RECT dirty{};
        object->InsertChar(dirty, ' ', true);
        EXPECT_EQ(Paragraphs(*object), std::vector<std::string>{c.text}) << c.index;
        EXPECT_EQ(CaretOf(*object), (Pos{0, c.caret})) << c.index;
    }
    auto leading = MakeText(400, {" ab"});
    PutCaret(*leading, {0, 0});
    RECT dirty{};
    leading->InsertChar(dirty, ' ', true);
    EXPECT_EQ(Paragraphs(*leading), std::vector<std::string>{" ab"});
    EXPECT_EQ(CaretOf(*leading), (Pos{0, 1}));
}

TEST_F(TextEditing, TypedCharactersTakeTheWordsFormatOrTheCurrentFont)
{
    const struct
    {
        int index;
        const char* face;
        WORD points;
        BYTE bold;
    } cases[] = {
        {1, "Times New Roman", 14, 1}, // inside a word: the word's format, which the palettes then show
        {3, "Courier New", 20, 0},     // after the blank: the current font
        {0, "Courier New", 20, 0},     // before the word
    };
    for (const auto& c : cases) {
        services.settings.m_textFont = "Courier New";
        services.settings.m_textFontSize = 20;
        services.settings.m_textBold = 0;
        auto object = MakeText(400, {"ab"}, Format{.face = "Times New Roman", .points = 14, .bold = true});
        Append(*object, 0, " ");
        Layout(*object);
        PutCaret(*object, {0, c.index});
        RECT dirty{};
        object->InsertChar(dirty, 'x', true);
        const CTextChar& typed = object->GetTextBody()->m_paragraphs[0].m_chars[c.index];
        EXPECT_EQ(typed.m_ch, 'x');
        EXPECT_EQ(typed.m_faceIndex, FindFontIndex(c.face)) << c.index;
        EXPECT_EQ(typed.m_pointSize, c.points) << c.index;
        EXPECT_EQ(typed.m_bBold, c.bold) << c.index;
        const CTextChar model = MakeChar('x', Format{.face = c.face, .points = c.points, .bold = c.bold != 0});
        EXPECT_EQ(typed.m_nWidth, model.m_nWidth) << c.index;
        EXPECT_TRUE(typed.IsPlaced()) << c.index;
        EXPECT_EQ(services.settings.m_textFont, c.face) << c.index;
        EXPECT_EQ(services.settings.m_textFontSize, c.points) << c.index;
        EXPECT_EQ(services.settings.m_textBold, c.bold) << c.index;
    }
}

TEST_F(TextEditing, TypingExtendsALinkOnlyFromInsideIt)
{
    const struct
    {
        int index;
        bool linked;
    } cases[] = {{3, true}, {2, false}, {4, false}, {5, false}};
    for (const auto& c : cases) {
        auto copy = MakeText(400, {"ab"});
        Append(*copy, 0, "cd", Format{.linked = true});
        Append(*copy, 0, "ef");
        Layout(*copy);
        PutCaret(*copy, {0, c.index});
        RECT dirty{};
        copy->InsertChar(dirty, 'x', true);
        EXPECT_EQ(copy->GetTextBody()->m_paragraphs[0].m_chars[c.index].m_link.IsActive(), c.linked) << c.index;
    }
}

TEST_F(TextEditing, TypingIntoASelectionReplacesItWithTheFormatAroundIt)
{
    auto object = MakeText(400, {"ab"}, Format{.colour = RGB(200, 0, 0)});
    Append(*object, 0, "CD", Format{.points = 20});
    Append(*object, 1, "EFgh", Format{.points = 20});
    Layout(*object);
    Select(*object, {1, 2}, {0, 2});
    RECT dirty{};
    object->InsertChar(dirty, 'x', true);
    EXPECT_EQ(Paragraphs(*object), std::vector<std::string>{"abxgh"});
    EXPECT_EQ(CaretOf(*object), (Pos{0, 3}));
    EXPECT_TRUE(object->GetTextBody()->m_selectionEmpty);
    const CTextChar& x = object->GetTextBody()->m_paragraphs[0].m_chars[2];
    EXPECT_EQ(x.m_color, RGB(200, 0, 0));
    EXPECT_EQ(x.m_pointSize, 12);
    EXPECT_FALSE(CRect(dirty).IsRectEmpty());
}

TEST_F(TextEditing, DeleteAndBackspaceJoinParagraphsAtTheirEdges)
{
    const struct
    {
        Pos caret;
        bool forward;
        std::vector<std::string> text;
        Pos after;
    } table[] = {
        {{1, 0}, false, {"abcd", "", "ef"}, {0, 2}},    {{0, 0}, false, {"ab", "cd", "", "ef"}, {0, 0}},
        {{0, 1}, false, {"b", "cd", "", "ef"}, {0, 0}}, {{2, 0}, false, {"ab", "cd", "ef"}, {1, 2}},
        {{3, 0}, false, {"ab", "cd", "ef"}, {2, 0}},    {{0, 2}, true, {"abcd", "", "ef"}, {0, 2}},
        {{1, 1}, true, {"ab", "c", "", "ef"}, {1, 1}},  {{2, 0}, true, {"ab", "cd", "ef"}, {2, 0}},
        {{3, 2}, true, {"ab", "cd", "", "ef"}, {3, 2}},
    };
    for (const auto& c : table) {
        auto object = MakeText(400, {"ab", "cd", "", "ef"});
        PutCaret(*object, c.caret);
        object->GetTextBody()->m_selectionEmpty = 0;
        RECT dirty{};
        object->DeleteChar(dirty, c.forward, true);
        EXPECT_EQ(Paragraphs(*object), c.text) << c.caret << (c.forward ? " Delete" : " Backspace");
        EXPECT_EQ(CaretOf(*object), c.after) << c.caret << (c.forward ? " Delete" : " Backspace");
        EXPECT_TRUE(object->GetTextBody()->m_selectionEmpty);
        const bool changed = Paragraphs(*object) != std::vector<std::string>{"ab", "cd", "", "ef"};
        EXPECT_EQ(!CRect(dirty).IsRectEmpty(), changed) << c.caret;
    }
}

TEST_F(TextEditing, DeletingASelectionLeavesTheCaretAtTheJoin)
{
    const struct
    {
        Pos anchor, focus;
        std::vector<std::string> text;
    } cases[] = {
        {{0, 1}, {2, 2}, {"ai"}},
        {{2, 2}, {0, 1}, {"ai"}},
        {{1, 3}, {1, 0}, {"abc", "", "ghi"}},
        {{0, 3}, {1, 0}, {"abcdef", "ghi"}},
        {{0, 0}, {2, 3}, {""}},
    };
    for (const auto& c : cases)
        for (bool toStart : {true, false}) {
            auto object = MakeText(400, {"abc", "def", "ghi"});
            Select(*object, c.anchor, c.focus);
            int sp = 0, ep = 0, si = 0, ei = 0;
            object->GetTextBody()->GetOrderedSelection(sp, ep, si, ei);
            services.editRects.clear();
            RECT dirty{};
            object->DeleteSelectedChars(dirty, toStart);
            EXPECT_EQ(Paragraphs(*object), c.text) << c.anchor << c.focus << toStart;
            EXPECT_EQ(CaretOf(*object), (Pos{sp, si}));
            EXPECT_TRUE(object->GetTextBody()->m_selectionEmpty);
            EXPECT_FALSE(CRect(dirty).IsRectEmpty());
            EXPECT_EQ(services.editRects.size(), 1u);
        }

    // Nothing selected: nothing deleted, whatever the ends say.
    auto object = MakeText(400, {"abc"});
    Select(*object, {0, 0}, {0, 3});
    object->GetTextBody()->m_selectionEmpty = 1;
    object->DeleteSelection();
    EXPECT_EQ(Paragraphs(*object), std::vector<std::string>{"abc"});
    // Ends left from a longer text are clamped into it.
    Select(*object, {0, 1}, {4, 9});
    object->DeleteSelection();
    EXPECT_EQ(Paragraphs(*object), std::vector<std::string>{"a"});
}

TEST_F(TextEditing, SplittingAndJoiningAreInverse)
{
    auto object = MakeText(400, {"abcd", "ef"});
    const CTextBody& body = *object->GetTextBody();
    PutCaret(*object, {0, 1});
    Select(*object, {0, 1}, {0, 3});
    PutCaret(*object, {0, 1});
    RECT dirty{};
    object->SplitParagraph(dirty);
    EXPECT_EQ(Paragraphs(*object), (std::vector<std::string>{"a", "bcd", "ef"}));
    EXPECT_EQ(CaretOf(*object), (Pos{1, 0}));
    EXPECT_TRUE(body.m_selectionEmpty);
    EXPECT_EQ(body.m_paragraphs[1].m_emptyHeight, body.m_curAscent + body.m_curDescent);
    // Layout ran: the new paragraph has its lines and its characters their places.
    EXPECT_EQ(body.m_paragraphs[1].m_lines, (std::vector<int>{0, 2}));
    EXPECT_EQ(body.m_paragraphs[1].m_chars[0].m_nLeft, 2);
    EXPECT_FALSE(CRect(dirty).IsRectEmpty());

    object->DeleteChar(dirty, false, true);
    EXPECT_EQ(Paragraphs(*object), (std::vector<std::string>{"abcd", "ef"}));
    EXPECT_EQ(CaretOf(*object), (Pos{0, 1}));
}

TEST_F(TextEditing, PastingPlainTextStopsAtItsEndWithOrWithoutTheZero)
{
    const struct
    {
        std::string block;
        std::vector<std::string> text;
    } cases[] = {
        {std::string("a\r\nb\0", 5), {"Xa", "bY"}},
        {std::string("a\rb\0", 4), {"XabY"}},
        {std::string("a\tb\nc\0", 6), {"Xa b cY"}},
        {std::string("a  b\0", 5), {"Xa bY"}},
        {std::string("\xE9\xFC\0", 3), {"X\xE9\xFCY"}},
        {std::string("ab\0cd", 5), {"XabY"}},
        {std::string("abc"), {"XabcY"}},          // no terminating 0
        {std::string("ab\r"), {"XabY"}},          // ends inside a line break
        {std::string("ab\r\n"), {"Xab", "Y"}},    // ends after one
        {std::string("\r\r\n\0", 4), {"X", "Y"}}, // a CR before a CR LF
        {std::string(), {"XY"}},
    };
    for (const auto& c : cases) {
        auto object = MakeText(400, {"XY"});
        PutCaret(*object, {0, 1});
        Block block(c.block);
        object->PastePlainText(block.file);
        EXPECT_EQ(Paragraphs(*object), c.text) << c.block;
        EXPECT_EQ(block.file.GetLength(), block.Size()) << c.block;
        // Laid out: every character placed.
        for (const auto& para : object->GetTextBody()->m_paragraphs)
            for (const auto& ch : para.m_chars)
                EXPECT_TRUE(ch.IsPlaced()) << c.block;
    }

    // A paste replaces the selection, also when it starts with a line break.
    auto object = MakeText(400, {"abcd"});
    Select(*object, {0, 1}, {0, 3});
    Block block(std::string("\r\nx\0", 4));
    object->PastePlainText(block.file);
    EXPECT_EQ(Paragraphs(*object), (std::vector<std::string>{"a", "xd"}));
    EXPECT_EQ(CaretOf(*object), (Pos{1, 1}));
}

TEST_F(TextEditing, CopiesFrameTheSelectionWithParagraphBreaks)
{
    auto object = MakeText(400, {"abc", "", "def"});
    const struct
    {
        Pos anchor, focus;
        std::string text;
    } cases[] = {
        {{0, 1}, {0, 3}, std::string("bc\0", 3)},
        {{2, 2}, {0, 2}, std::string("c\r\rde\0", 6)},
        {{0, 0}, {2, 3}, std::string("abc\r\rdef\0", 9)},
    };
    for (const auto& c : cases) {
        Select(*object, c.anchor, c.focus);
        CMemFile text;
        object->WriteSelectionText(text);
        EXPECT_EQ(BlockOf(Written(text)), c.text);
    }
    Select(*object, {0, 1}, {0, 1});
    CMemFile text, formatted;
    object->WriteSelectionText(text);
    object->WriteSelectionFormatted(formatted);
    EXPECT_EQ(text.GetLength(), 0u);
    EXPECT_EQ(formatted.GetLength(), 0u);
}

TEST_F(TextEditing, FormattedTextSurvivesCopyAndPasteAndACutShortBlockPastesItsWholeCharacters)
{
    auto source = MakeText(400, {"aB"}, Format{.face = "Times New Roman", .points = 18, .colour = RGB(1, 2, 3)});
    Append(*source, 0, "c", Format{.bold = true, .linked = true});
    Append(*source, 1, "d", Format{.face = "Courier New"});
    Layout(*source);
    source->SelectAll();
    CMemFile clip;
    source->WriteSelectionFormatted(clip);
    const std::vector<BYTE> bytes = Written(clip);
    ASSERT_EQ(bytes.back(), 0);

    const auto sameFormat = [](const CTextChar& a, const CTextChar& b) {
        return a.m_faceIndex == b.m_faceIndex && a.m_pointSize == b.m_pointSize && a.m_bBold == b.m_bBold &&
               a.m_bItalic == b.m_bItalic && a.m_bUnderline == b.m_bUnderline && a.m_color == b.m_color &&
               a.m_link == b.m_link;
    };
    {
        auto target = MakeText(400, {"XY"});
        PutCaret(*target, {0, 1});
        Block block(BlockOf(bytes));
        target->PasteFormattedText(block.file, false, false);
        ASSERT_EQ(Paragraphs(*target), (std::vector<std::string>{"XaBc", "dY"}));
        const auto& pasted = target->GetTextBody()->m_paragraphs;
        const auto& original = source->GetTextBody()->m_paragraphs;
        EXPECT_TRUE(sameFormat(pasted[0].m_chars[1], original[0].m_chars[0]));
        EXPECT_TRUE(sameFormat(pasted[0].m_chars[3], original[0].m_chars[2]));
        EXPECT_TRUE(sameFormat(pasted[1].m_chars[0], original[1].m_chars[0]));
        EXPECT_EQ(pasted[0].m_chars[3].m_nWidth, original[0].m_chars[2].m_nWidth);
        EXPECT_TRUE(pasted[1].m_chars[0].IsPlaced());
    }

    // Cut anywhere, with the 0 gone: the characters whose records are whole are pasted, in order, and no more.
    // Where each character's record ends in the block, and the text pasted up to there:
    std::vector<std::pair<size_t, std::string>> whole = {{0, ""}};
    // A block cut right where a linked character's link starts cannot show that it lost the link: that
    // character is pasted, without it.
    std::pair<size_t, std::string> linkLost;
    {
        CMemFile counting;
        std::string text;
        for (const auto& [p, k] : std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {0, 2}, {-1, 0}, {1, 0}}) {
            if (p < 0) {
                WriteByte(counting, 13);
                text += '|';
            } else {
                const CTextChar& ch = source->GetTextBody()->m_paragraphs[p].m_chars[k];
                WriteByte(counting, ch.m_ch);
                text += static_cast<char>(ch.m_ch);
                if (ch.m_link.IsActive()) {
                    CTextChar unlinked = ch;
                    unlinked.m_link = CLinkInfo();
                    CMemFile part;
                    unlinked.WriteFormat(part);
                    linkLost = {counting.GetLength() + part.GetLength(), text};
                }
                ch.WriteFormat(counting);
            }
            whole.emplace_back(counting.GetLength(), text);
        }
        ASSERT_EQ(whole.back().first + 1, bytes.size());
    }
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        auto target = MakeText(400, {"XY"});
        PutCaret(*target, {0, 1});
        Block block(BlockOf(std::vector<BYTE>(bytes.begin(), bytes.begin() + cut)));
        ASSERT_NO_THROW(target->PasteFormattedText(block.file, false, false)) << cut;
        std::string joined;
        for (const auto& p : Paragraphs(*target))
            joined += (joined.empty() ? "" : "|") + p;
        std::string expected;
        for (const auto& [end, text] : whole)
            if (end <= cut)
                expected = "X" + text + "Y";
        if (cut == linkLost.first)
            expected = "X" + linkLost.second + "Y";
        EXPECT_EQ(joined, expected) << cut;
    }
}

TEST_F(TextEditing, PastedPageLinksAreResetOrClampedAsAsked)
{
    auto source = MakeText(400, {""});
    CTextChar linked = MakeChar('a');
    linked.m_link = PageLink(7);
    source->GetTextBody()->m_paragraphs[0].m_chars = {linked};
    Layout(*source);
    source->SelectAll();
    CMemFile clip;
    source->WriteSelectionFormatted(clip);
    const std::string bytes = BlockOf(Written(clip));

    services.pageCount = 3;
    const struct
    {
        bool reset, clamp;
        bool active;
        int page;
    } cases[] = {{false, false, true, 7}, {true, false, false, 0}, {false, true, true, 2}};
    for (const auto& c : cases) {
        auto target = MakeText(400, {""});
        Block block(bytes);
        target->PasteFormattedText(block.file, c.reset, c.clamp);
        const CLinkInfo& link = target->GetTextBody()->m_paragraphs[0].m_chars.at(0).m_link;
        EXPECT_EQ(link.IsActive(), c.active) << c.reset << c.clamp;
        EXPECT_EQ(link.GetPage(), c.page) << c.reset << c.clamp;
    }
}

TEST_F(TextEditing, FormatsApplyToTheSelectionOrTheWordAtTheCaret)
{
    const struct
    {
        Pos anchor, focus; // equal: no selection, the caret at anchor
        std::string bolded;
    } cases[] = {
        {{0, 1}, {0, 5}, "ne t"}, {{0, 5}, {0, 5}, "two"},
        {{0, 1}, {0, 1}, "one"},  {{0, 3}, {0, 3}, ""}, // at a word's end: not inside it
        {{0, 0}, {0, 0}, ""},
    };
    for (const auto& c : cases) {
        auto object = MakeText(400, {"one two"});
        object->GetTextBody()->m_logFont.lfWeight = 700;
        Select(*object, c.anchor, c.focus);
        RECT dirty{};
        object->ApplyFormatToSelection(2, dirty, CLinkInfo());
        std::string bolded;
        for (const auto& ch : object->GetTextBody()->m_paragraphs[0].m_chars)
            if (ch.m_bBold) {
                bolded.push_back(static_cast<char>(ch.m_ch));
                EXPECT_EQ(ch.m_needsPlacing, 1);
                EXPECT_EQ(ch.m_nWidth, MakeChar(static_cast<char>(ch.m_ch), Format{.bold = true}).m_nWidth);
            }
        EXPECT_EQ(bolded, c.bolded) << c.anchor << c.focus;
        EXPECT_EQ(CRect(dirty).IsRectEmpty(), c.bolded.empty());
    }
}

TEST_F(TextEditing, EachFormatAttributeComesFromTheCurrentFont)
{
    auto object = MakeText(400, {"ab"});
    CTextBody& body = *object->GetTextBody();
    body.m_logFont.lfFaceName = "Courier New";
    body.m_logFont.lfHeight = -32;
    body.m_logFont.lfWeight = 700;
    body.m_logFont.lfItalic = 1;
    body.m_logFont.lfUnderline = 1;
    body.m_curColor = RGB(9, 8, 7);
    Select(*object, {0, 0}, {0, 2});
    RECT dirty{};
    for (int attribute = 0; attribute <= 6; ++attribute)
        object->ApplyFormatToSelection(attribute, dirty, PageLink(2));
    for (const auto& ch : body.m_paragraphs[0].m_chars) {
        EXPECT_EQ(ch.m_faceIndex, FindFontIndex("Courier New"));
        EXPECT_EQ(ch.m_pointSize, 24);
        EXPECT_EQ(ch.m_bBold, 1);
        EXPECT_EQ(ch.m_bItalic, 1);
        EXPECT_EQ(ch.m_bUnderline, 1);
        EXPECT_EQ(ch.m_color, RGB(9, 8, 7));
        EXPECT_EQ(ch.m_link, PageLink(2));
    }
    Layout(*object);
    EXPECT_GT(body.m_paragraphs[0].m_chars[1].m_nLeft - body.m_paragraphs[0].m_chars[0].m_nLeft,
              MakeChar('a').m_nWidth);
}

TEST_F(TextEditing, LinksApplyToTheSelectionOrTheLinkRunAtTheCaret)
{
    auto object = MakeText(400, {"go "});
    Append(*object, 0, "here", Format{.linked = true});
    Append(*object, 0, " now");
    Layout(*object);
    const CTextBody& body = *object->GetTextBody();

    TextLinkFields fields;
    fields.setUrl = true;
    fields.url = "http://example.org/";
    fields.setTarget = true;
    fields.target = 3;
    PutCaret(*object, {0, 5});
    RECT dirty{};
    object->ApplyLinkFields(dirty, fields);
    for (int k = 0; k < body.m_paragraphs[0].GetCount(); ++k) {
        const CLinkInfo& link = body.m_paragraphs[0].m_chars[k].m_link;
        const bool inRun = k >= 3 && k < 7;
        EXPECT_EQ(link.GetUrl() == "http://example.org/", inRun) << k;
        EXPECT_EQ(link.GetTarget() == 3, inRun) << k;
    }

    TextLinkFields page;
    page.activate = true;
    page.setPage = true;
    page.page = 1;
    Select(*object, {0, 0}, {0, 2});
    object->ApplyLinkFields(dirty, page);
    EXPECT_EQ(body.m_paragraphs[0].m_chars[1].m_link.LeadsToPage(1), true);
    EXPECT_EQ(body.m_paragraphs[0].m_chars[2].m_link.IsActive(), false);

    TextLinkSameness same;
    CLinkInfo link;
    Select(*object, {0, 0}, {0, 5});
    object->GetSelectionFormat(same, link);
    EXPECT_TRUE(link.LeadsToPage(1));
    EXPECT_FALSE(same.active);
    EXPECT_FALSE(same.kind);
    Select(*object, {0, 3}, {0, 7});
    object->GetSelectionFormat(same, link);
    EXPECT_TRUE(same.active && same.kind && same.url && same.target && same.complete);
    EXPECT_EQ(link.GetUrl(), "http://example.org/");
}

TEST_F(TextEditing, CaretFormatReadsTheCharacterBeforeTheCaretOrTheSelection)
{
    auto object = MakeText(400, {"ab"}, Format{.points = 10, .colour = RGB(1, 1, 1)});
    Append(*object, 0, "cd", Format{.face = "Courier New", .points = 20, .colour = RGB(2, 2, 2)});
    Append(*object, 1, "");
    Layout(*object);
    const WORD arial = FindFontIndex("Arial");
    const WORD courier = FindFontIndex("Courier New");
    const struct
    {
        Pos anchor, focus;
        bool answered;
        WORD face, points;
        COLORREF colour;
    } cases[] = {
        {{0, 0}, {0, 0}, true, arial, 10, RGB(1, 1, 1)},   {{0, 3}, {0, 3}, true, courier, 20, RGB(2, 2, 2)},
        {{0, 4}, {0, 4}, true, courier, 20, RGB(2, 2, 2)}, {{1, 0}, {1, 0}, false, 0, 0, 0},
        {{0, 1}, {0, 2}, true, arial, 10, RGB(1, 1, 1)},   {{0, 3}, {0, 1}, true, 65535, 65535, 0},
        {{1, 0}, {0, 2}, true, courier, 20, RGB(2, 2, 2)},
    };
    for (const auto& c : cases) {
        Select(*object, c.anchor, c.focus);
        WORD face = 0, points = 0;
        BYTE bold = 9, italic = 9, underline = 9;
        COLORREF colour = 0;
        CLinkInfo link;
        EXPECT_EQ(object->QueryCaretFormat(face, points, bold, italic, underline, colour, link), c.answered)
            << c.anchor << c.focus;
        if (!c.answered)
            continue;
        EXPECT_EQ(face, c.face) << c.anchor << c.focus;
        EXPECT_EQ(points, c.points) << c.anchor << c.focus;
        EXPECT_EQ(colour, c.colour) << c.anchor << c.focus;
        EXPECT_EQ(bold, 0);
    }

    // The link is reported only when every selected character has the same one.
    Append(*object, 0, "e", Format{.linked = true});
    CLinkInfo link = PageLink(5);
    WORD face = 0, points = 0;
    BYTE bold = 0, italic = 0, underline = 0;
    COLORREF colour = 0;
    Select(*object, {0, 3}, {0, 5});
    object->QueryCaretFormat(face, points, bold, italic, underline, colour, link);
    EXPECT_EQ(link, PageLink(5));
    Select(*object, {0, 4}, {0, 5});
    object->QueryCaretFormat(face, points, bold, italic, underline, colour, link);
    EXPECT_TRUE(link.IsActive());
    EXPECT_EQ(link.GetUrl(), "http://example.com/");
}

TEST_F(TextEditing, WordAndLinkRunBoundsNeedTheCaretStrictlyInside)
{
    auto object = MakeText(400, {"ab "});
    Append(*object, 0, "cd", Format{.linked = true});
    Append(*object, 0, " ", Format{.linked = true});
    Append(*object, 0, "ef gh");
    Layout(*object);
    // "ab cd ef gh" with "cd " linked.
    const struct
    {
        int caret;
        bool word;
        int wordStart, wordEnd;
        bool run;
        int runStart, runEnd;
        bool atLink;
    } cases[] = {
        {0, false, 0, 0, false, 0, 0, false},  {1, true, 0, 2, true, 0, 2, false},
        {2, false, 0, 0, false, 0, 0, false},  {4, true, 3, 5, true, 3, 6, true},
        {5, false, 0, 0, true, 3, 6, true},    {6, false, 0, 0, false, 0, 0, false},
        {7, true, 6, 8, true, 6, 8, false},    {10, true, 9, 11, true, 9, 11, false},
        {11, false, 0, 0, false, 0, 0, false},
    };
    for (const auto& c : cases) {
        PutCaret(*object, {0, c.caret});
        int start = -1, end = -1;
        EXPECT_EQ(object->GetWordBounds(start, end), c.word) << c.caret;
        if (c.word) {
            EXPECT_EQ(std::make_pair(start, end), std::make_pair(c.wordStart, c.wordEnd)) << c.caret;
        }
        EXPECT_EQ(object->GetLinkRunBounds(start, end), c.run) << c.caret;
        if (c.run) {
            EXPECT_EQ(std::make_pair(start, end), std::make_pair(c.runStart, c.runEnd)) << c.caret;
        }
        CLinkInfo link;
        EXPECT_EQ(object->GetLinkAtCaret(link), c.atLink) << c.caret;
        EXPECT_EQ(link.IsActive(), c.atLink) << c.caret;
    }
}

// Writes a text object being edited as the view shows it: typed text with a link, a selection over a paragraph
// break drawn by inversion, and the caret, for a person to look at.
TEST_F(TextEditing, WritesEditingPictureWithSelection)
{
    services.settings.m_textFontSize = 20;
    auto object = MakeText(420, {""});
    RECT dirty{};
    const std::string typed = "Selected text spans lines and paragraphs";
    for (char c : typed)
        object->InsertChar(dirty, static_cast<BYTE>(c), true);
    object->SplitParagraph(dirty);
    for (char c : std::string("with a link here and bold"))
        object->InsertChar(dirty, static_cast<BYTE>(c), true);
    CTextBody& body = *object->GetTextBody();
    body.m_logFont.lfWeight = 700;
    PutCaret(*object, {1, 23});
    object->ApplyFormatToSelection(2, dirty, CLinkInfo());
    CLinkInfo link;
    link.SetActive(true);
    Select(*object, {1, 7}, {1, 11});
    object->ApplyFormatToSelection(6, dirty, link);
    Layout(*object);
    body.m_selectionEmpty = 1;
    PutCaret(*object, {0, 9});
    for (int i = 0; i < 40; ++i)
        object->MoveCaretRight(true);
    object->UpdateCaret(0, 9);
    ASSERT_FALSE(body.m_selectionEmpty);

    SIZE size;
    object->GetSize(size);
    DPOINT centre;
    object->GetCenter(centre);
    constexpr int kMargin = 12;
    CPixMap view(IMAGE_MODE_RGB, size.cx + 2 * kMargin, size.cy + 2 * kMargin);
    for (int y = 0; y < view.height; ++y)
        std::memset(view.Sample(0, y, 0), 255, static_cast<size_t>(view.width) * 3);
    const POINT pageOrigin{kMargin - RoundHalfUp(centre.x - size.cx * 0.5),
                           kMargin - RoundHalfUp(centre.y - size.cy * 0.5)};
    DrawEditing(body, view, RECT{0, 0, view.width, view.height}, pageOrigin);
    const CRect changed = DrawSelectionRange(body, view, pageOrigin);
    EXPECT_FALSE(changed.IsRectEmpty());
    // The caret, a one-pixel bar of its height.
    for (int y = 0; y < body.m_caretHeight; ++y)
        std::memset(view.Sample(kMargin + body.m_caretX, kMargin + body.m_caretY + y, 0), 0, 3);

    // The highlight lies within the selection's band.
    RECT band{};
    ASSERT_NE(object->GetSelectionRect(band), 0);
    CRect inView(band);
    inView.OffsetRect(kMargin, kMargin);
    CRect both = inView;
    both |= changed;
    EXPECT_EQ(both, inView);

    CImage out(IMAGE_MODE_RGB, view.width, view.height);
    ASSERT_TRUE(out.SetBuf(0, 0, view));
    const std::string path = (TestOutputFolder() / "text_object_editing.png").string();
    ASSERT_TRUE(CIO::SavePNG(path, out)) << path;
}
