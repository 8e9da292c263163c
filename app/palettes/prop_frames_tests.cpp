#include "app/palettes/prop_frames.h"

#include "platform/gui/xrc_resources.h"
#include "testing/gui_settle.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/utils.h>

namespace {

class PaletteFramesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadXrcResources());
        owner = new wxFrame(nullptr, wxID_ANY, "owner", wxPoint(0, 0), wxSize(400, 300));
        owner->Show();
        ASSERT_EQ(manager.Create(MakePaletteHost(owner, manager)), 0);
    }
    void TearDown() override
    {
        owner->Destroy();
        Settle();
    }
    CPropFrame* Frame(int index) { return dynamic_cast<CPropFrame*>(manager.GetPropFrame(index)); }

    wxFrame* owner = nullptr;
    CPropSheetManager manager;
};

TEST_F(PaletteFramesTest, EachPaletteIsAFrameWithAOneTabSheet)
{
    for (int index = 0; index < kPropSheetCount; ++index) {
        CPropFrame* frame = Frame(index);
        ASSERT_NE(frame, nullptr);
        EXPECT_FALSE(frame->IsShown());
        EXPECT_EQ(frame->GetTitle(), wxString(DescribePalette(index).title));
        ASSERT_NE(frame->GetSheet(), nullptr);
        EXPECT_EQ(frame->GetSheet()->GetPageCount(), 1u);
        ASSERT_NE(frame->GetSheet()->GetActivePage(), nullptr);
        EXPECT_EQ(frame->GetSheet()->GetActivePage()->GetPaletteIndex(), index);
    }
}

TEST_F(PaletteFramesTest, ShownPaletteTakesItsSizeAndHearsItsCodes)
{
    manager.ShowFillPropSheet();
    Settle();
    CPropFrame* fill = Frame(kFillPropSheet);
    EXPECT_TRUE(fill->IsShown());
    // The table's size, wider where the desktop's fonts need it for the controls.
    EXPECT_GE(fill->GetSize().GetWidth(), 255);
    EXPECT_LE(fill->GetSize().GetWidth(), 255 + 40);
    EXPECT_EQ(fill->GetSize().GetHeight(), 200);
    EXPECT_FALSE(Frame(kPagePropSheet)->IsShown());

    CPalettePage* page = fill->GetSheet()->GetActivePage();
    const int fills = page->GetFillCount();
    manager.NotifyActivePropPage(kRefreshGeometry); // the Fill page does not listen to this one
    manager.NotifyActivePropPage(kRefreshSelection);
    EXPECT_EQ(page->GetFillCount(), fills + 1);
    EXPECT_EQ(Frame(kObjectPropSheet)->GetSheet()->GetActivePage()->GetFillCount(), 1);

    // The close box hides the palette; the toggle brings the same one back.
    fill->Close();
    Settle();
    EXPECT_FALSE(manager.IsAnyPropSheetVisible());
    manager.TogglePropSheets();
    Settle();
    EXPECT_TRUE(fill->IsShown());
    EXPECT_EQ(manager.GetCurrentIndex(), kFillPropSheet);
}

// A hidden palette keeps the place it stood at, even where its hidden window reports another one (a frame that is
// not on the screen reports the screen's corner under some window managers): the next palette shows there, the
// same palette comes back there, and that place is what the next start is given.
TEST_F(PaletteFramesTest, AHiddenPaletteKeepsThePlaceItStoodAt)
{
    const CPoint place(300, 250);
    manager.ShowObjectPropSheet();
    CPaletteFrame* object = manager.GetPropFrame(kObjectPropSheet);
    object->SetNormalRect(CRect(place, object->GetNormalRect().Size()));
    Settle();
    ASSERT_EQ(Frame(kObjectPropSheet)->GetPosition(), wxPoint(place.x, place.y));
    manager.HidePropSheet();
    Settle();
    Frame(kObjectPropSheet)->Move(0, 0);
    Settle();

    CInspectorState state;
    ASSERT_TRUE(manager.GetState(state));
    EXPECT_EQ(CPoint(state.left, state.top), place);
    manager.ShowCurrentPropSheet();
    Settle();
    EXPECT_EQ(Frame(kObjectPropSheet)->GetPosition(), wxPoint(place.x, place.y));
    manager.HidePropSheet();
    Frame(kObjectPropSheet)->Move(0, 0);
    manager.ShowFillPropSheet();
    Settle();
    EXPECT_EQ(Frame(kFillPropSheet)->GetPosition(), wxPoint(place.x, place.y));
}

} // namespace
