#include "controls/gallery_frame.h"

#include "controls/bitmap_list_control.h"
#include "controls/button_controls.h"
#include "controls/control_test_support.h"
#include "controls/gradient_control.h"
#include "controls/gradient_designer.h"
#include "controls/slider_control.h"
#include "controls/wheel_control.h"
#include "platform/gui/xrc_resources.h"
#include "testing/test_output.h"

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/stattext.h>

namespace {

// The gallery as a person sees it: its picture goes to test-output/controls_gallery.png. The checks below look at a
// few pixels of the controls on the screen, so that a control that paints nothing or in the wrong place fails.
TEST(Gallery, PictureShowsTheControlsAsSet)
{
    auto* frame = new CGalleryFrame();
    frame->SetPosition(wxPoint(0, 0));
    frame->Show();
    CWheelControl* wheel = frame->Rotation();
    CSliderControl* slider = frame->Opacity();

    // Turn the wheel to 45 degrees and the slider to 60 by the mouse, so the labels follow the notifications.
    Press(wheel, 50, 31);
    Drag(wheel, 51, 11);
    Release(wheel, 51, 11);
    Press(slider, 5 + 60 * 169 / 100 + 1, 10);
    Release(slider, 5 + 60 * 169 / 100 + 1, 10);
    EXPECT_EQ(wheel->WheelGetValue(), 45);
    EXPECT_EQ(slider->GetValue(), 60);
    EXPECT_EQ(frame->RotationLabel()->GetLabel(), wxString(L"Angle 45\u00B0"));
    EXPECT_EQ(frame->OpacityLabel()->GetLabel(), "60 %");
    // Bold on (italic was set by the program), and the seventh swatch picked.
    Press(frame->Bold(), 5, 5);
    Release(frame->Bold(), 5, 5);
    EXPECT_EQ(frame->StyleLabel()->GetLabel(), "bold, italic");
    CBitmapListControl* swatches = frame->Swatches();
    const CPoint seventh(swatches->ListArea().left + 6 * (swatches->GetThumbSize() + 3) + 4,
                         swatches->ListArea().top + 4);
    Press(swatches, seventh.x, seventh.y);
    Release(swatches, seventh.x, seventh.y);
    EXPECT_EQ(frame->SwatchLabel()->GetLabel(), "Swatch 7");
    Settle();
    frame->Update();
    Settle();

    const std::string file = (TestOutputFolder() / "controls_gallery.png").string();
    ASSERT_TRUE(SaveWindowPicture(frame, file));
    wxImage picture;
    ASSERT_TRUE(picture.LoadFile(file, wxBITMAP_TYPE_PNG));
    EXPECT_EQ(picture.GetSize(), frame->GetSize());

    auto grey = [&](wxWindow* control, int x, int y) {
        const wxPoint at = control->GetScreenPosition() - frame->GetScreenPosition() + wxPoint(x, y);
        return (picture.GetRed(at.x, at.y) + picture.GetGreen(at.x, at.y) + picture.GetBlue(at.x, at.y)) / 3;
    };
    // The wheel (63 pixels across, centre 31): its pointer runs up and to the right, its ring closes round.
    EXPECT_LT(grey(wheel, 31 + 14, 31 - 14), 110) << "pointer at 45 degrees";
    EXPECT_GT(grey(wheel, 31 - 14, 31 + 14), 180) << "nothing opposite the pointer";
    EXPECT_LT(grey(wheel, 0, 31), 120) << "ring, left";
    EXPECT_LT(grey(wheel, 62, 31), 120) << "ring, right";
    EXPECT_LT(grey(wheel, 31, 31), 60) << "centre dot";
    // The slider: the thumb's grey border at its left edge, and the groove's dark line away from the thumb.
    const CRect thumb = slider->ThumbRect();
    EXPECT_LT(grey(slider, thumb.left, thumb.top + 6), 160) << "thumb border";
    EXPECT_GT(grey(slider, thumb.left + 5, thumb.top + 6), 200) << "thumb body";
    EXPECT_LT(grey(slider, slider->GrooveStart() + 20, slider->GrooveTop() + 1), 30) << "groove line";
    // The bold button sunken (dark top-left corner), the colour well framed round its colour, the swatch list
    // showing its seventh swatch's colour.
    EXPECT_LT(grey(frame->Bold(), 0, 0), 40) << "checked button";
    const wxPoint well = frame->FillColour()->GetScreenPosition() - frame->GetScreenPosition() + wxPoint(10, 10);
    EXPECT_EQ(picture.GetBlue(well.x, well.y), 204) << "fill colour";
    const wxPoint swatch = swatches->GetScreenPosition() - frame->GetScreenPosition() + wxPoint(seventh.x, seventh.y);
    EXPECT_EQ(picture.GetRed(swatch.x, swatch.y), 0xee) << "seventh swatch";
    EXPECT_EQ(picture.GetGreen(swatch.x, swatch.y), 0xcc) << "seventh swatch";
    // The gradient control from white at the left to black at the right; the designer's band as it built it.
    EXPECT_GT(grey(frame->Gradient(), 3, 10), 240) << "gradient start";
    EXPECT_LT(grey(frame->Gradient(), 116, 10), 15) << "gradient end";
    CGradientDesignerControl* designer = frame->Designer();
    const CRect band = designer->GetBandRect();
    for (int x : {band.Width() / 4, band.Width() / 2}) {
        const wxPoint at =
            designer->GetScreenPosition() - frame->GetScreenPosition() + wxPoint(band.left + x, band.bottom - 3);
        const ControlRgb expected = designer->GetBand()[x];
        EXPECT_EQ(picture.GetRed(at.x, at.y), expected.red) << "designer band at " << x;
        EXPECT_EQ(picture.GetBlue(at.x, at.y), expected.blue) << "designer band at " << x;
    }
    frame->Destroy();
}

// The gradient designer dialog as a person sees it, with the rainbow chosen: test-output/gradient_designer.png.
TEST(Gallery, GradientDesignerDialogPicture)
{
    ASSERT_TRUE(LoadXrcResources());
    auto* dialog = new CGradientDesignerDialog(nullptr);
    GRADIENTCOLORS g;
    CGradientModel::GetPredefinedGradient(g, 3);
    dialog->SetGradient(g);
    dialog->SetPosition(wxPoint(0, 0));
    dialog->Show();
    Settle();
    dialog->Update();
    Settle();

    const std::string file = (TestOutputFolder() / "gradient_designer.png").string();
    ASSERT_TRUE(SaveWindowPicture(dialog, file));
    wxImage picture;
    ASSERT_TRUE(picture.LoadFile(file, wxBITMAP_TYPE_PNG));
    EXPECT_EQ(picture.GetSize(), dialog->GetSize());
    dialog->Destroy();
    Settle();
}

} // namespace
