#include "app/docview/view_keys.h"

#include <gtest/gtest.h>

#include "app/model/seams_test_support.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_editing_test_support.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"

namespace {

using namespace text_editing_testing;

class NudgeTest : public ::testing::Test
{
protected:
    NudgeTest() : page(nullptr, "p", "P", Settings())
    {
        for (int i = 0; i < 3; ++i)
            page.AddObject(std::make_unique<CRectangleObject>(60.0 + 100 * i, 80.0, SIZE{40, 30}, 0.0));
    }

    static NewPageSettings Settings()
    {
        NewPageSettings settings;
        settings.width = 400;
        settings.height = 300;
        return settings;
    }

    // Ten key presses with one release after them, as a held key repeats.
    CRect HoldKey(int dx, int dy, int presses = 10)
    {
        CRect area;
        for (int i = 0; i < presses; ++i)
            area |= NudgeSelection(page, moving, dx, dy);
        EndNudge(page, moving);
        return area;
    }

    const std::vector<int>& Recorded() { return static_cast<RecordingUndoManager*>(page.GetUndoManager())->recorded; }

    SiteServicesFake services;
    CSitePage page;
    bool moving = false;
};

TEST_F(NudgeTest, AHeldArrowMovesOnePixelAKeyAsOneUndoStep)
{
    page.SelectItemAt(0);
    const CRect before = page.GetItem(0)->GetRect();
    const CRect area = HoldKey(1, 0);
    CRect after = before;
    after.OffsetRect(10, 0);
    EXPECT_EQ(page.GetItem(0)->GetRect(), after);
    EXPECT_EQ(Recorded(), std::vector<int>{2});
    EXPECT_FALSE(moving);
    // The repaint covers where it was and where it is.
    EXPECT_TRUE(area.PtInRect(before.TopLeft()));
    EXPECT_TRUE(area.PtInRect(CPoint(after.right - 1, after.bottom - 1)));
    // A second series is a second step; up and down move by a pixel too, with Shift as without.
    HoldKey(0, -1, 3);
    EXPECT_EQ(page.GetItem(0)->GetRect().top, before.top - 3);
    EXPECT_EQ(Recorded(), (std::vector<int>{2, 2}));
}

TEST_F(NudgeTest, NothingSelectedMovesAndRecordsNothing)
{
    const CRect before = page.GetItem(1)->GetRect();
    EXPECT_TRUE(HoldKey(-1, 0).IsRectEmpty());
    EXPECT_EQ(page.GetItem(1)->GetRect(), before);
    EXPECT_TRUE(Recorded().empty());
}

TEST_F(NudgeTest, TwoObjectsAndAUserGroupMoveTogether)
{
    page.SelectItemAt(0);
    page.AddToSelection(page.GetItem(1));
    ASSERT_TRUE(page.CanCreateGroup());
    CObjectFrame* group = page.CreateGroup();
    page.AddToSelection(page.GetItem(2));
    const CRect first = page.GetItem(0)->GetRect(), third = page.GetItem(2)->GetRect();
    const CRect groupArea = group->GetUpdateRect(true);
    HoldKey(0, 1, 4);
    EXPECT_EQ(page.GetItem(0)->GetRect().top, first.top + 4);
    EXPECT_EQ(page.GetItem(2)->GetRect().top, third.top + 4);
    CRect moved = groupArea;
    moved.OffsetRect(0, 4);
    EXPECT_EQ(group->GetUpdateRect(true), moved);
    EXPECT_EQ(Recorded(), std::vector<int>{2});
}

class KeysServices : public FakeEditServices, public NullMessages
{
public:
    void Beep() override { ++beeps; }
    int beeps = 0;
};

class TextKeysTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        text = MakeText(300, {"Hello world"});
        PutCaret(*text, {0, 5});
    }

    KeysServices services;
    std::unique_ptr<CTextObject> text;
    SeamsInstalled<KeysServices> installed{services};
};

TEST_F(TextKeysTest, ShiftArrowsSelectAndAPlainArrowCollapses)
{
    ApplyTextEditKey(*text, TextEditKey::right, true);
    const RECT area = ApplyTextEditKey(*text, TextEditKey::right, true);
    const CTextBody& body = *text->GetTextBody();
    ASSERT_FALSE(body.m_selectionEmpty);
    EXPECT_FALSE(CRect(area).IsRectEmpty());
    // Back to the anchor: nothing selected.
    ApplyTextEditKey(*text, TextEditKey::left, true);
    ApplyTextEditKey(*text, TextEditKey::left, true);
    EXPECT_TRUE(body.m_selectionEmpty);
    // Two selected, then Right alone: the selection goes, the caret moves on from where it was.
    ApplyTextEditKey(*text, TextEditKey::right, true);
    ApplyTextEditKey(*text, TextEditKey::right, true);
    const RECT cleared = ApplyTextEditKey(*text, TextEditKey::right, false);
    EXPECT_TRUE(body.m_selectionEmpty);
    EXPECT_EQ(CaretOf(*text), (Pos{0, 8}));
    EXPECT_FALSE(CRect(cleared).IsRectEmpty()) << "the old highlight is repainted";
}

TEST_F(TextKeysTest, DeleteAndBackspaceTakeTheSelectionOrOneCharacter)
{
    ApplyTextEditKey(*text, TextEditKey::right, true);
    ApplyTextEditKey(*text, TextEditKey::right, true);
    ApplyTypedChar(*text, 8);
    EXPECT_EQ(Paragraphs(*text), std::vector<std::string>{"Helloorld"});
    ApplyTextEditKey(*text, TextEditKey::del, true);
    EXPECT_EQ(Paragraphs(*text), std::vector<std::string>{"Hellorld"});
    ApplyTextEditKey(*text, TextEditKey::end, false);
    ApplyTextEditKey(*text, TextEditKey::del, false);
    EXPECT_EQ(Paragraphs(*text), std::vector<std::string>{"Hellorld"});
    EXPECT_EQ(CaretOf(*text), (Pos{0, 8}));
}

TEST_F(TextKeysTest, TypedCodesInsertSplitOrOnlyBeep)
{
    for (int code : {9, 10, 27})
        ApplyTypedChar(*text, code);
    EXPECT_EQ(Paragraphs(*text), std::vector<std::string>{"Hello world"});
    EXPECT_EQ(services.beeps, 2);
    ApplyTypedChar(*text, 13);
    ApplyTypedChar(*text, 0xE9);
    EXPECT_EQ(Paragraphs(*text), (std::vector<std::string>{"Hello", "\xE9 world"}));
}

TEST_F(TextKeysTest, CtrlBTogglesBoldOfTheSelection)
{
    ApplyTextEditKey(*text, TextEditKey::left, true);
    ApplyTextEditKey(*text, TextEditKey::left, true);
    ToggleSelectionBold(*text);
    const auto bolds = [&] {
        std::string marks;
        for (const auto& ch : text->GetTextBody()->m_paragraphs[0].m_chars)
            marks += ch.m_bBold ? 'B' : '.';
        return marks;
    };
    EXPECT_EQ(bolds(), "...BB......");
    ToggleSelectionBold(*text);
    EXPECT_EQ(bolds(), "...........");
}

TEST(TypedChars, UnicodeBecomesWindows1252OrIsRefused)
{
    const std::pair<char32_t, int> cases[] = {
        {U'a', 'a'},     {U'\u00E9', 0xE9}, {U'\u20AC', 0x80},   {U'\u2019', 0x92},
        {U'\u0100', -1}, {U'\u4E2D', -1},   {U'\U0001F600', -1},
    };
    for (const auto& [unicode, byte] : cases)
        EXPECT_EQ(TypedCharToWindows1252(unicode), byte) << static_cast<unsigned>(unicode);
}

} // namespace
