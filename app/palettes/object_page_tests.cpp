#include "app/palettes/object_page.h"

#include "app/model/text_style.h"
#include "app/model/undo_manager.h"
#include "app/objects/circle_object.h"
#include "app/objects/counter_object.h"
#include "app/objects/html_object.h"
#include "app/objects/path_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/shape_outline.h"
#include "app/objects/text_body.h"
#include "app/objects/text_editing_test_support.h"
#include "app/objects/text_object.h"
#include "app/palettes/palette_window_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "controls/button_controls.h"
#include "platform/gui/window_picture.h"
#include "platform/gui/xrc_resources.h"
#include "testing/gui_settle.h"
#include "testing/test_output.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/bmpcbox.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/frame.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

namespace {

class ObjectPageWindowTest : public PaletteWindowTest
{
protected:
    void SetUp() override
    {
        PaletteWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        objectPage = ShowPalette<CObjectPage>(kObjectPropSheet);
        ASSERT_NE(objectPage, nullptr);
    }

    wxTextCtrl* Box(int id) const { return dynamic_cast<wxTextCtrl*>(objectPage->FindWindow(id)); }

    CObjectPage* objectPage = nullptr;
};

SIZE SizeOf(const CPageObject& object)
{
    SIZE size;
    return object.GetSize(size);
}

// A width typed into the palette and Return resize the star; one Undo brings its size back.
TEST_F(ObjectPageWindowTest, TypedWidthResizesTheStarAndUndoRestoresIt)
{
    CPageObject* star = Select(std::make_unique<CPolygonObject>(150.0, 150.0, SIZE{60, 60}, 0.0, shapeFivePointedStar));
    wxTextCtrl* width = Box(1032);
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->GetValue(), wxString::Format("%d", SizeOf(*star).cx));
    EXPECT_TRUE(width->IsEnabled());
    EXPECT_FALSE(Box(1015)->IsEnabled()) << "a star has no corner radius";
    Picture("object_palette_shape.png");

    const SIZE before = SizeOf(*star);
    wxUIActionSimulator keys;
    const wxRect area = width->GetScreenRect();
    keys.MouseMove(area.GetLeft() + area.GetWidth() / 2, area.GetTop() + area.GetHeight() / 2);
    keys.MouseClick();
    Settle();
    width->SelectAll();
    keys.Text("140");
    keys.Char(WXK_RETURN);
    Settle();

    ASSERT_EQ(width->GetValue(), "140");
    EXPECT_EQ(SizeOf(*star).cx, 140);
    EXPECT_EQ(SizeOf(*star).cy, 140) << "a star stays as high as it is wide";
    CUndoManager* undo = page->GetUndoManager();
    ASSERT_TRUE(undo->CanUndo());
    undo->Undo();
    star = page->GetItem(0)->GetCurrentObject();
    EXPECT_EQ(SizeOf(*star).cx, before.cx);
    EXPECT_EQ(SizeOf(*star).cy, before.cy);
    EXPECT_FALSE(undo->CanUndo()) << "the edit was one step";
}

// While a text is edited in place the format section shows the caret's format, the height and angle wait, and
// Bold on the palette makes the selected characters bold.
TEST_F(ObjectPageWindowTest, TextBeingEditedTakesBoldFromThePalette)
{
    auto made = text_editing_testing::MakeText(200, {"hello world"}, {.points = 14});
    made->GetTextBody()->m_allowAdvanced = 1;
    CTextObject* text = made.get();
    Select(std::move(made));
    EXPECT_FALSE(objectPage->FindWindow("textFormat")->IsShown());
    text_editing_testing::Select(*text, {0, 0}, {0, 5});
    page->SetEditedObject(text);
    page->SetEditingInPlace(true);
    manager.NotifyActivePropPage(kRefreshTextCaret);
    Settle();
    EXPECT_TRUE(objectPage->FindWindow("textFormat")->IsShown());
    EXPECT_TRUE(Box(1032)->IsEnabled());
    EXPECT_FALSE(Box(1033)->IsEnabled());
    EXPECT_FALSE(Box(1034)->IsEnabled());
    EXPECT_FALSE(objectPage->FindWindow(1130)->IsEnabled());
    auto* size = dynamic_cast<wxChoice*>(objectPage->FindWindow(1037));
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(size->GetStringSelection(), "4") << "14 points";

    wxWindow* bold = objectPage->FindWindow(1042);
    ASSERT_NE(bold, nullptr);
    wxUIActionSimulator mouse;
    const wxRect area = bold->GetScreenRect();
    mouse.MouseMove(area.GetLeft() + area.GetWidth() / 2, area.GetTop() + area.GetHeight() / 2);
    mouse.MouseClick();
    Settle();
    const auto& chars = text->GetTextBody()->m_paragraphs[0].m_chars;
    EXPECT_TRUE(chars[0].m_bBold && chars[4].m_bBold) << "the selection";
    EXPECT_FALSE(chars[6].m_bBold) << "the rest";
    manager.NotifyActivePropPage(kRefreshTextCaret);
    Picture("object_palette_text_editing.png");
}

// The label's bold button: each click is a step of the history, the second one gives the style back.
TEST_F(ObjectPageWindowTest, ButtonTextBoldClickedTwiceIsTwoSteps)
{
    CPageObject* circle = Select(std::make_unique<CCircleObject>(150.0, 150.0, SIZE{60, 60}, 0.0));
    const CTextStyle& style = *dynamic_cast<CPathObject*>(circle)->GetTextStyle();
    const bool bold = style.m_bBold;
    wxWindow* button = objectPage->FindWindow(1593);
    ASSERT_NE(button, nullptr);
    wxUIActionSimulator mouse;
    const wxRect area = button->GetScreenRect();
    mouse.MouseMove(area.GetLeft() + area.GetWidth() / 4, area.GetTop() + area.GetHeight() / 2);
    mouse.MouseClick();
    Settle();
    EXPECT_NE(style.m_bBold, bold);
    EXPECT_TRUE(dynamic_cast<CButtonControl*>(button)->GetCheck() != bold);
    // Two presses in quick succession at one spot would be a double click, which the button leaves alone: the
    // second lands half the button's width away, beyond the toolkit's double-click distance.
    ASSERT_GT(area.GetWidth() / 2, 6);
    mouse.MouseMove(area.GetLeft() + area.GetWidth() * 3 / 4, area.GetTop() + area.GetHeight() / 2);
    Settle();
    mouse.MouseClick();
    Settle();
    EXPECT_EQ(style.m_bBold, bold);
    CUndoManager* undo = page->GetUndoManager();
    int steps = 0;
    for (; undo->CanUndo() && steps < 5; ++steps)
        undo->Undo();
    EXPECT_EQ(steps, 2);
}

TEST_F(ObjectPageWindowTest, HtmlObjectShowsItsButtons)
{
    Select(std::make_unique<CHtmlObject>(200.0, 200.0, 100, 80));
    EXPECT_FALSE(objectPage->FindWindow("textFormat")->IsShown());
    for (int id : {1558, 1606, 1607})
        EXPECT_TRUE(objectPage->FindWindow(id)->IsShown()) << id;
    EXPECT_FALSE(objectPage->FindWindow(1130)->IsShown());
    EXPECT_FALSE(objectPage->FindWindow(1158)->IsShown());
    EXPECT_FALSE(Box(1522)->IsEnabled());
    EXPECT_EQ(Box(1032)->GetValue(), "100");
    Picture("object_palette_html.png");
}

TEST_F(ObjectPageWindowTest, CounterShowsItsStyles)
{
    Select(std::make_unique<CCounterObject>(1, 300.0, 300.0));
    EXPECT_FALSE(objectPage->FindWindow(1558)->IsShown());
    auto* styles = dynamic_cast<wxBitmapComboBox*>(objectPage->FindWindow(1158));
    ASSERT_NE(styles, nullptr);
    EXPECT_TRUE(objectPage->FindWindow(1158)->IsShown());
    EXPECT_EQ(styles->GetSelection(), 1);
    Picture("object_palette_counter.png");
}

} // namespace
