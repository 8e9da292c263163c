#include "app/shell/tools_bar.h"

#include "app/model/seams_test_support.h"
#include "app/shell/shapes_dlg.h"
#include "app/shell/shell_test_support.h"
#include "testing/test_output.h"

#include <functional>
#include <wx/dcmemory.h>
#include <wx/image.h>

namespace {

// The tools bar's services: the colour dialog answers by script and the hints are counted.
class ToolsServices : public RecordingServices
{
public:
    using RecordingServices::RecordingServices;
    bool ShowColorDialog(CColor& color, std::array<COLORREF, 16>& custom) override
    {
        customSeen = custom;
        custom[3] = RGB(1, 2, 3);
        color = answerColor;
        return true;
    }
    void ShowToolHint(int tool) override { hints.push_back(tool); }
    CAppSettings* GetAppSettings() override { return settings; }

    CColor answerColor = CColor(200, 100, 50);
    std::array<COLORREF, 16> customSeen{};
    std::vector<int> hints;
    CAppSettings* settings = nullptr;
};

void Click(wxWindow* window, wxEventType type, const CPoint& pt)
{
    wxMouseEvent event(type);
    event.SetEventObject(window);
    event.m_x = pt.x;
    event.m_y = pt.y;
    event.m_leftDown = type == wxEVT_LEFT_DOWN;
    window->GetEventHandler()->ProcessEvent(event);
}

// What a window's paint draws, on its background, written to the test output folder.
wxImage SavePicture(const wxSize& size, const wxColour& background, const std::function<void(wxDC&)>& draw,
                    const std::string& name)
{
    wxBitmap picture(size.x, size.y, 24);
    {
        wxMemoryDC dc(picture);
        dc.SetBackground(wxBrush(background));
        dc.Clear();
        draw(dc);
    }
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    const wxImage image = picture.ConvertToImage();
    EXPECT_TRUE(image.SaveFile(wxString::FromUTF8((TestOutputFolder() / name).string()), wxBITMAP_TYPE_PNG));
    return image;
}

// A point inside the button of a slot.
CPoint OnSlot(const CToolsBar* bar, int slot)
{
    const CPoint pos = bar->GetButtonPlaces()[slot].pos;
    return CPoint(pos.x + 5, pos.y + 5);
}

void ClickSlot(CToolsBar* bar, int slot)
{
    Click(bar, wxEVT_LEFT_DOWN, OnSlot(bar, slot));
    Click(bar, wxEVT_LEFT_UP, OnSlot(bar, slot));
}

TEST_F(ShellTest, ToolsBarChoosesToolsOpensTheShapesPaletteAndLaunchesCompanions)
{
    ToolsServices tools(frame);
    const SeamsInstalled toolsSeams(tools);
    Start();
    tools.settings = &frame->GetSettings();
    frame->GetSettings().m_showPictureToolHelp = false;
    CToolsBar* bar = frame->GetToolsBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetButtonCount(), 13);
    EXPECT_EQ(bar->GetTool(), 1);

    // The picture tool (its hint turned off), then the eyedropper with its hint.
    ClickSlot(bar, 3);
    EXPECT_EQ(bar->GetTool(), 5);
    ClickSlot(bar, 6);
    EXPECT_EQ(bar->GetTool(), 11);
    EXPECT_EQ(tools.hints, std::vector<int>{11});

    // The shape tool opens the palette with the rectangle pressed.
    ClickSlot(bar, 2);
    CShapesDLG* palette = bar->GetShapesPalette();
    ASSERT_NE(palette, nullptr);
    Settle();
    EXPECT_EQ(bar->GetTool(), 3);
    EXPECT_EQ(bar->GetShapeKind(), 1);
    EXPECT_TRUE(palette->IsPressed(kRectangleShapeButton));
    const wxImage shapes = SavePicture(
        palette->GetClientSize(), palette->GetBackgroundColour(), [&](wxDC& dc) { palette->DrawPalette(dc); },
        "shapes_palette.png");
    // The Straight Line button shows the shape the tool draws, a horizontal bar: its blue spans the button's face
    // from side to side and only a few rows of it.
    const wxWindow* line = palette->GetButton(1276);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->GetToolTipText(), "Straight Line");
    const wxRect face(line->GetPosition(), line->GetSize());
    wxRect blue;
    for (int y = face.GetTop(); y <= face.GetBottom(); ++y)
        for (int x = face.GetLeft(); x <= face.GetRight(); ++x)
            if (shapes.GetBlue(x, y) > shapes.GetRed(x, y) + 60)
                blue = blue.IsEmpty() ? wxRect(x, y, 1, 1) : blue.Union(wxRect(x, y, 1, 1));
    EXPECT_GE(blue.GetWidth(), face.GetWidth() * 2 / 3)
        << "blue in " << blue.x << "," << blue.y << " " << blue.width << "x" << blue.height;
    EXPECT_LE(blue.GetHeight(), face.GetHeight() / 5);

    // "Tab" draws shape kind 15; it alone is pressed.
    ASSERT_NE(palette->GetButton(1274), nullptr);
    EXPECT_EQ(palette->GetButton(1274)->GetToolTipText(), "Tab");
    Click(palette->GetButton(1274), wxEVT_LEFT_DOWN, CPoint(5, 5));
    EXPECT_EQ(bar->GetShapeKind(), 15);
    EXPECT_TRUE(palette->IsPressed(1274));
    EXPECT_FALSE(palette->IsPressed(kRectangleShapeButton));

    // With the palette open the shape button only makes the shape tool current again.
    bar->SetTool(1);
    ClickSlot(bar, 2);
    EXPECT_EQ(bar->GetShapesPalette(), palette);
    EXPECT_EQ(bar->GetTool(), 3);
    EXPECT_EQ(bar->GetShapeKind(), 15);
    palette->ResetButtons();
    EXPECT_FALSE(palette->IsPressed(1274));

    // A companion tool is current while its button is held, and its release asks once for its launch.
    std::vector<int> launched;
    frame->Bind(EVT_LAUNCH_COMPANION_TOOL, [&](wxCommandEvent& event) { launched.push_back(event.GetInt()); });
    Click(bar, wxEVT_LEFT_DOWN, OnSlot(bar, 9));
    EXPECT_EQ(bar->GetTool(), 14);
    Click(bar, wxEVT_LEFT_UP, OnSlot(bar, 9));
    EXPECT_EQ(bar->GetTool(), 3);
    Settle();
    EXPECT_EQ(launched, std::vector<int>{14});

    // A click in the gap between the groups changes nothing.
    const CPoint gap(10, bar->GetButtonPlaces()[3].pos.y - 2);
    Click(bar, wxEVT_LEFT_DOWN, gap);
    EXPECT_EQ(bar->GetTool(), 3);

    // The well takes the colour chosen in the dialog. The open site's custom colours go to the dialog the first
    // time only, and one changed there comes back and marks the site changed.
    frame->GetOpenSite().OpenSite(MakeSite({"Home"}));
    CWebsite* site = frame->GetCurrentSite();
    ASSERT_NE(site, nullptr);
    site->SetCustomColor(0, RGB(9, 9, 9));
    site->MarkSaved();
    Click(bar, wxEVT_LEFT_DOWN, CPoint(10, 10));
    EXPECT_EQ(bar->GetColor().GetCOLORREF(), CColor(200, 100, 50).GetCOLORREF());
    EXPECT_EQ(tools.customSeen[0], RGB(9, 9, 9));
    EXPECT_EQ(site->GetCustomColor(3), RGB(1, 2, 3));
    EXPECT_FALSE(site->IsSaved());
    site->SetCustomColor(0, RGB(7, 7, 7));
    site->MarkSaved();
    Click(bar, wxEVT_LEFT_DOWN, CPoint(10, 10));
    EXPECT_EQ(tools.customSeen[0], RGB(9, 9, 9));
    // The dialog's colours went back, the first among them.
    EXPECT_EQ(site->GetCustomColor(0), RGB(9, 9, 9));
    // The bar as it paints itself; the well shows the chosen colour.
    const wxImage image = SavePicture(
        bar->GetClientSize(), bar->GetBackgroundColour(), [&](wxDC& dc) { bar->DrawBar(dc); }, "tools_bar.png");
    EXPECT_EQ(image.GetRed(15, 10), 200);
    EXPECT_EQ(image.GetGreen(15, 10), 100);
    EXPECT_EQ(image.GetBlue(15, 10), 50);

    palette->Close();
    Settle();
    EXPECT_EQ(bar->GetShapesPalette(), nullptr);
    // The shape kind outlives the palette; opening it again starts from the rectangle.
    EXPECT_EQ(bar->GetShapeKind(), 15);
    ClickSlot(bar, 2);
    ASSERT_NE(bar->GetShapesPalette(), nullptr);
    EXPECT_EQ(bar->GetShapeKind(), 1);

    Close();
}

} // namespace
