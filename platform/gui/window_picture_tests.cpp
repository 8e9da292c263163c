// Pictures of windows show the screen as it stands when each is taken, not as it stood at an earlier one.

#include "platform/gui/window_picture.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/image.h>
#include <wx/panel.h>

#include "testing/gui_settle.h"
#include "testing/scratch_folder.h"

namespace {

wxColour CentreColour(const std::string& file)
{
    wxImage image;
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    if (!image.LoadFile(wxString::FromUTF8(file), wxBITMAP_TYPE_PNG))
        return wxColour();
    const int x = image.GetWidth() / 2, y = image.GetHeight() / 2;
    return wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
}

TEST(WindowPicture, EachPictureShowsTheWindowAsItIsNow)
{
    ScratchFolder folder;
    auto* frame = new wxFrame(nullptr, wxID_ANY, "Pictures", wxPoint(50, 50), wxSize(200, 150));
    auto* panel = new wxPanel(frame);
    frame->Show();
    // The panel's new colour reaches the screen with its next paint, which may come after the toolkit looked quiet.
    bool painted = false;
    panel->Bind(wxEVT_PAINT, [&painted](wxPaintEvent& event) {
        painted = true;
        event.Skip();
    });
    const wxColour colours[] = {wxColour(200, 30, 30), wxColour(30, 160, 40), wxColour(20, 40, 220)};
    int i = 0;
    for (const wxColour& colour : colours) {
        painted = false;
        panel->SetBackgroundColour(colour);
        panel->Refresh();
        ASSERT_TRUE(SettleUntil([&painted] { return painted; }));
        Settle();
        const std::string file = folder / ("picture" + std::to_string(i++) + ".png");
        ASSERT_TRUE(SaveWindowPicture(panel, wxString::FromUTF8(file)));
        EXPECT_EQ(CentreColour(file).GetAsString(wxC2S_HTML_SYNTAX), colour.GetAsString(wxC2S_HTML_SYNTAX)) << file;
    }
    frame->Destroy();
    Settle();
}

} // namespace
