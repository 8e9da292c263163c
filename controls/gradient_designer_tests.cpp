#include "controls/gradient_designer.h"

#include "controls/button_controls.h"
#include "controls/control_test_support.h"
#include "controls/gradient_control.h"
#include "platform/gui/xrc_resources.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <wx/combobox.h>

namespace {

using detail::BuildDesignerBand;
using detail::DesignerHandleX;
using detail::DesignerKeyItem;
using detail::SeparateHandles;

constexpr ControlRgb kRed{255, 0, 0}, kBlue{0, 0, 255}, kWhite{255, 255, 255}, kBlack{0, 0, 0};
constexpr int S = CGradientDesignerControl::START_WELL, E = CGradientDesignerControl::END_WELL;

TEST(GradientDesignerRules, StopPositionsAreClampedOntoTheBand)
{
    const std::pair<double, int> cases[] = {{-0.5, 0},
                                            {0.0, 0},
                                            {0.5, 50},
                                            {0.999, 99},
                                            {1.0, 99},
                                            {1.75, 99},
                                            {std::numeric_limits<double>::quiet_NaN(), 0},
                                            {std::numeric_limits<double>::infinity(), 99}};
    for (const auto& [position, x] : cases)
        EXPECT_EQ(DesignerHandleX(position, 100), x) << position;
    EXPECT_EQ(DesignerHandleX(0.5, 0), 0) << "no band";
}

TEST(GradientDesignerRules, HandlesSharingAnXAreMovedApartWithinTheBand)
{
    const struct
    {
        const char* name;
        std::vector<int> xs;
        int width;
        std::vector<int> separated;
    } cases[] = {
        {"apart already", {3, 10, 40}, 100, {3, 10, 40}},       {"three on one x", {10, 10, 10}, 100, {10, 11, 12}},
        {"at the band's end", {99, 99, 99}, 100, {97, 98, 99}}, {"at the band's start", {0, 0}, 100, {0, 1}},
        {"more handles than pixels", {0, 0, 0}, 2, {0, 0, 1}},
    };
    for (auto c : cases) {
        SeparateHandles(c.xs, c.width);
        EXPECT_EQ(c.xs, c.separated) << c.name;
    }
}

TEST(GradientDesignerRules, BandTakesKeysFromTheTopItemDown)
{
    const struct
    {
        const char* name;
        std::vector<int> order;
        std::vector<DesignerKeyItem> handles;
        std::vector<ControlRgb> band;
        std::vector<bool> shown;
    } cases[] = {
        {"wells only", {S, E}, {}, {kBlack, {63, 63, 63}, {127, 127, 127}, {191, 191, 191}, kWhite}, {}},
        {"a hard edge in the middle",
         {S, E, 0},
         {{2, kRed, kBlue}},
         {kBlack, kRed, kBlue, {127, 127, 255}, kWhite},
         {true}},
        {"the upper of two handles on one x wins",
         {S, E, 0, 1},
         {{2, kRed, kRed}, {2, kBlue, kBlue}},
         {kBlack, kBlue, kBlue, {127, 127, 255}, kWhite},
         {false, true}},
        {"a handle on the first pixel shows its right colour",
         {S, E, 0},
         {{0, kRed, kBlue}},
         {kBlue, {63, 63, 255}, {127, 127, 255}, {191, 191, 255}, kWhite},
         {true}},
        {"a handle on the last pixel shows its left colour",
         {S, E, 0},
         {{4, kRed, kBlue}},
         {kBlack, {63, 0, 0}, {127, 0, 0}, {191, 0, 0}, kRed},
         {true}},
        {"a well above a handle hides it",
         {0, E, S},
         {{0, kRed, kBlue}},
         {kBlack, {63, 63, 63}, {127, 127, 127}, {191, 191, 191}, kWhite},
         {false}},
    };
    for (const auto& c : cases) {
        std::vector<bool> shown;
        EXPECT_EQ(BuildDesignerBand(c.order, c.handles, kBlack, kWhite, 5, &shown), c.band) << c.name;
        EXPECT_EQ(shown, c.shown) << c.name;
    }
    EXPECT_TRUE(BuildDesignerBand({S, E, 0}, {{7, kRed, kRed}}, kBlack, kWhite, 0, nullptr).empty());
    // On a band of one pixel both wells want it; the end well lies above the start well.
    EXPECT_EQ(BuildDesignerBand({S, E}, {}, kRed, kWhite, 1, nullptr), std::vector<ControlRgb>{kWhite});
}

// The designer's colour dialog says OK with green unless a test says otherwise.
class ScriptedDesigner : public ScriptedColors<CGradientDesignerControl>
{
public:
    ScriptedDesigner()
    {
        answer = true;
        choice = 0x00ff00;
    }
};

class GradientDesigner : public ControlHost
{
protected:
    // 360 x 60: the band runs from x = 6 to 354 (348 pixels), from y = 23 down to 58.
    ScriptedDesigner* MakeDesigner(std::vector<double> positions)
    {
        m_gradient.start = CColor(0, 0, 0);
        m_gradient.end = CColor(255, 255, 255);
        m_gradient.RemoveAllStops();
        for (double p : positions)
            m_gradient.AddStop(p, CColor(255, 0, 0), CColor(0, 0, 255));
        auto* designer = Make<ScriptedDesigner>(360, 60, 6000);
        EXPECT_TRUE(designer->Init(&m_gradient));
        return designer;
    }
    std::vector<int> Xs(const CGradientDesignerControl* designer) const
    {
        std::vector<int> xs;
        for (int i = 0; i < designer->GetHandleCount(); ++i)
            xs.push_back(designer->GetHandle(i).rect.left);
        return xs;
    }
    void Click(wxWindow* control, CPoint at)
    {
        Press(control, at.x, at.y);
        Release(control, at.x, at.y);
    }

    GRADIENTCOLORS m_gradient;
};

TEST_F(GradientDesigner, LaysOutTheBandAndClampsStopsIntoIt)
{
    auto* designer = MakeDesigner({-0.25, 0.5, 1.75});
    EXPECT_EQ(designer->GetBandRect(), CRect(6, 23, 354, 58));
    EXPECT_EQ(Xs(designer), (std::vector<int>{0, 174, 347}));
    EXPECT_EQ(m_gradient.positions, (std::vector<double>{0.0, 0.5, 1.0})) << "clamped positions are written back";
    const auto& band = designer->GetBand();
    ASSERT_EQ(band.size(), 348u);
    EXPECT_EQ(band[0], kBlue) << "the first stop's right colour";
    EXPECT_EQ(band[173], kRed);
    EXPECT_EQ(band[174], kBlue);
    EXPECT_EQ(band[347], kRed) << "the last stop's left colour";
    EXPECT_TRUE(m_received.empty());
}

TEST_F(GradientDesigner, ClickOnTheBandAddsAStopExceptAtItsEndsAndNearAHandle)
{
    auto* designer = MakeDesigner({0.5});
    const CRect band = designer->GetBandRect();
    const int y = band.top + 20;
    const struct
    {
        const char* name;
        int bandX;
        std::vector<int> xs;
    } clicks[] = {
        {"first pixel", 0, {174}},
        {"last pixel", 347, {174}},
        {"next to a handle", 173, {174}},
        {"one pixel further", 172, {173, 174}},
        {"left of both", 50, {51, 173, 174}},
        {"right of all", 300, {51, 173, 174, 301}},
    };
    size_t added = 0;
    for (const auto& c : clicks) {
        const int before = designer->GetHandleCount();
        Click(designer, CPoint(band.left + c.bandX, y));
        EXPECT_EQ(Xs(designer), c.xs) << c.name;
        added += designer->GetHandleCount() - before;
        EXPECT_EQ(m_received.size(), added) << c.name;
    }
    // The new stop takes the band's colours where it was made, so the band looks as before.
    const GRADIENTHANDLE& made = designer->GetHandle(0);
    EXPECT_EQ(detail::RgbOf(made.leftColor), designer->GetBand()[50]);
    EXPECT_EQ(detail::RgbOf(made.rightColor), designer->GetBand()[51]);
    EXPECT_TRUE(designer->asked.empty()) << "no colour dialog for adding";
}

TEST_F(GradientDesigner, DraggingAHandleKeepsStopsInOrderAndOnTheBand)
{
    auto* designer = MakeDesigner({0.25, 0.5});
    ASSERT_EQ(Xs(designer), (std::vector<int>{87, 174}));
    const CPoint grip = designer->GripPoint(0);
    Press(designer, grip.x, grip.y);
    ASSERT_TRUE(designer->InTracking());
    EXPECT_EQ(designer->GetDraggedHandle(), 0);
    const struct
    {
        int mouseX;
        std::vector<int> xs;
        int dragged;
    } moves[] = {
        {grip.x + 10, {97, 174}, 0},    {grip.x + 87, {97, 174}, 0}, // onto the other handle's x: ignored
        {grip.x + 100, {174, 187}, 1},                               // past it: they change places
        {grip.x + 1000, {174, 347}, 1}, {grip.x - 1000, {0, 174}, 0},
    };
    for (const auto& m : moves) {
        Drag(designer, m.mouseX, grip.y);
        EXPECT_EQ(Xs(designer), m.xs) << m.mouseX;
        EXPECT_EQ(designer->GetDraggedHandle(), m.dragged) << m.mouseX;
    }
    EXPECT_EQ(designer->GetBand()[0], kBlue) << "the band follows the handle";
    Release(designer, grip.x - 1000, grip.y);
    EXPECT_EQ(Codes(), (std::vector<unsigned>{GRADIENT_DESIGNER_NOTIFY_CHANGED, GRADIENT_DESIGNER_NOTIFY_CHANGED}));
    EXPECT_FALSE(designer->InTracking());
    // A lost capture ends a drag without a notification.
    m_received.clear();
    const CPoint again = designer->GripPoint(1);
    Press(designer, again.x, again.y);
    Drag(designer, again.x + 5, again.y);
    LoseCapture(designer);
    EXPECT_EQ(m_received.size(), 1u);
    EXPECT_EQ(Xs(designer), (std::vector<int>{0, 179}));
}

TEST_F(GradientDesigner, RemoveMarkDeletesAndColourClicksAskTheDialog)
{
    auto* designer = MakeDesigner({0.25, 0.5, 0.75});
    const CPoint remove = designer->RemovePoint(1);
    Click(designer, remove);
    EXPECT_EQ(Xs(designer), (std::vector<int>{87, 261}));
    EXPECT_EQ(designer->GetDrawingOrder(), (std::vector<int>{S, E, 0, 1}));

    // The body of a handle below its grip: left half, then right half; then both wells.
    const GRADIENTHANDLE& handle = designer->GetHandle(0);
    const int bodyY = handle.rect.top + 18;
    designer->choice = 0x00ff00;
    Click(designer, CPoint(handle.rect.left + 2, bodyY));
    EXPECT_EQ(designer->GetHandle(0).leftColor.GetCOLORREF(), 0x00ff00ul);
    EXPECT_EQ(designer->GetHandle(0).rightColor.GetCOLORREF(), 0xff0000ul);
    designer->answer = false;
    Click(designer, CPoint(handle.rect.left + 10, bodyY));
    EXPECT_EQ(designer->GetHandle(0).rightColor.GetCOLORREF(), 0xff0000ul) << "cancelled";
    designer->answer = true;
    designer->choice = 0x123456;
    const CRect well = designer->EndWellRect();
    Click(designer, CPoint(well.left + well.Width() / 2, well.top + 8));
    EXPECT_EQ(designer->GetEndColor().GetCOLORREF(), 0x123456ul);
    EXPECT_EQ(designer->GetDrawingOrder().back(), E) << "the well comes to the top";
    EXPECT_EQ(designer->GetBand().back(), (ControlRgb{0x56, 0x34, 0x12}));
    EXPECT_EQ(designer->asked, (std::vector<unsigned long>{0x0000ff, 0xff0000, 0xffffff}));
    EXPECT_EQ(m_received.size(), 3u) << "remove, left colour, well; not the cancelled one";
}

TEST_F(GradientDesigner, MirroringTwiceGivesTheGradientBack)
{
    auto* designer = MakeDesigner({0.1, 0.5});
    GRADIENTCOLORS before, once, twice;
    designer->CopyStops(before);
    designer->Mirror();
    designer->CopyStops(once);
    EXPECT_EQ(Xs(designer), (std::vector<int>{173, 313}));
    EXPECT_EQ(once.start.GetCOLORREF(), 0xfffffful);
    EXPECT_EQ(once.leftColors[0].GetCOLORREF(), 0xff0000ul) << "colours swap sides";
    EXPECT_EQ(designer->GetBand().front(), kWhite);
    designer->Mirror();
    designer->CopyStops(twice);
    EXPECT_TRUE(CGradientModel::IsGradientEqual(before, twice));
    EXPECT_EQ(Codes(), (std::vector<unsigned>{GRADIENT_DESIGNER_NOTIFY_CHANGED, GRADIENT_DESIGNER_NOTIFY_CHANGED}));
}

class GradientDesignerDialog : public ControlHost
{
protected:
    GradientDesignerDialog() { EXPECT_TRUE(LoadXrcResources()); }
    static std::vector<std::string> Entries(wxComboBox* combo)
    {
        std::vector<std::string> entries;
        for (unsigned i = 0; i < combo->GetCount(); ++i)
            entries.push_back(combo->GetString(i).ToStdString());
        return entries;
    }
};

TEST_F(GradientDesignerDialog, PredefinedChoicesAndEditsTurnTheListToCustom)
{
    CGradientDesignerDialog dialog(m_frame);
    ASSERT_NE(dialog.Designer(), nullptr);
    ASSERT_NE(dialog.Predefined(), nullptr);
    GRADIENTCOLORS g;
    CGradientModel::GetPredefinedGradient(g, 1);
    dialog.SetGradient(g);
    wxComboBox* combo = dialog.Predefined();
    const std::vector<std::string> names = {"White to black", "Black to white", "Blue border", "Rainbow"};
    EXPECT_EQ(Entries(combo), names);
    EXPECT_EQ(combo->GetSelection(), 1);

    dialog.ChoosePredefined(3);
    GRADIENTCOLORS rainbow;
    CGradientModel::GetPredefinedGradient(rainbow, 3);
    EXPECT_EQ(dialog.Designer()->GetHandleCount(), static_cast<int>(rainbow.GetStopCount()));
    EXPECT_EQ(dialog.GetPredefinedIndex(), 3);

    // Mirror is an edit: the list holds only "Custom".
    wxCommandEvent mirror(wxEVT_BUTTON, GRADIENT_DESIGNER_MIRROR);
    dialog.ProcessWindowEvent(mirror);
    EXPECT_EQ(dialog.GetPredefinedIndex(), -1);
    EXPECT_EQ(Entries(combo), std::vector<std::string>{"Custom"});
    dialog.FillPredefinedList();
    EXPECT_EQ(Entries(combo).front(), "Custom");
    EXPECT_EQ(combo->GetSelection(), 0);

    // With "Custom" first, entry 0 changes nothing and entry n is predefined n - 1.
    dialog.ChoosePredefined(0);
    EXPECT_EQ(dialog.GetPredefinedIndex(), -1);
    dialog.ChoosePredefined(1);
    EXPECT_EQ(dialog.GetPredefinedIndex(), 0);
    EXPECT_EQ(Entries(combo), names);
    EXPECT_EQ(combo->GetSelection(), 0);
    GRADIENTCOLORS result;
    dialog.GetGradient(result);
    GRADIENTCOLORS whiteToBlack;
    CGradientModel::GetPredefinedGradient(whiteToBlack, 0);
    EXPECT_TRUE(CGradientModel::IsGradientEqual(result, whiteToBlack));
    EXPECT_EQ(result.predefined, 0);
}

TEST_F(GradientDesigner, AWellAboveAHandleOnItsPixelHidesItUntilOkDropsIt)
{
    auto* designer = MakeDesigner({0.0, 0.5});
    EXPECT_TRUE(designer->GetHandle(0).shown);
    const CRect well = designer->StartWellRect();
    Click(designer, CPoint(well.right - 2, well.top + 8));
    EXPECT_FALSE(designer->GetHandle(0).shown);
    EXPECT_EQ(designer->GetBand().front(), (ControlRgb{0, 255, 0})) << "the well's new colour";
    designer->RemoveHiddenHandles();
    EXPECT_EQ(Xs(designer), std::vector<int>{174});
    EXPECT_EQ(designer->GetDrawingOrder(), (std::vector<int>{E, 0, S}));
}

TEST_F(GradientDesignerDialog, OkEndsTheDialogWithTheDesignersStops)
{
    CGradientDesignerDialog dialog(m_frame);
    GRADIENTCOLORS g;
    g.start = CColor(0, 0, 0);
    g.end = CColor(255, 255, 255);
    g.AddStop(0.0, CColor(255, 0, 0), CColor(255, 0, 0));
    g.predefined = -1;
    dialog.SetGradient(g);
    ASSERT_EQ(dialog.Designer()->GetHandleCount(), 1);
    dialog.CallAfter([&] {
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        dialog.ProcessWindowEvent(ok);
    });
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    GRADIENTCOLORS result;
    dialog.GetGradient(result);
    EXPECT_EQ(result.GetStopCount(), 1u);
    EXPECT_EQ(result.positions[0], 0.0);
    EXPECT_EQ(result.predefined, -1);
}

// A gradient control whose designer answers as the test says.
class ScriptedGradientControl : public CGradientControl
{
public:
    bool answer = true;
    int runs = 0;

protected:
    bool EditGradient(GRADIENTCOLORS& gradient) override
    {
        ++runs;
        if (!answer)
            return false;
        gradient.RemoveAllStops();
        gradient.start = CColor(255, 0, 0);
        gradient.end = CColor(0, 0, 255);
        gradient.predefined = -1;
        return true;
    }
};

TEST_F(GradientDesigner, GradientControlShowsWhiteToBlackAndTakesConfirmedEdits)
{
    auto* control = Make<ScriptedGradientControl>(104, 20);
    control->Init();
    EXPECT_EQ(control->GetCurrentGradient().predefined, 0);
    const DisplayBuffer& picture = control->Picture();
    EXPECT_EQ(picture.Get(2, 10), kWhite);
    EXPECT_EQ(picture.Get(101, 10), kBlack);
    EXPECT_EQ(picture.Get(0, 0), kWhite) << "frame";
    EXPECT_EQ(picture.Get(103, 19), kBlack) << "frame";

    const struct
    {
        bool enabled, ok;
        int runs;
        size_t notifications;
        ControlRgb left;
    } clicks[] = {{false, true, 0, 0, kWhite}, {true, false, 1, 0, kWhite}, {true, true, 2, 1, kRed}};
    for (const auto& c : clicks) {
        control->Enable(c.enabled);
        control->answer = c.ok;
        Press(control, 50, 10);
        Release(control, 50, 10);
        EXPECT_EQ(control->runs, c.runs);
        EXPECT_EQ(m_received.size(), c.notifications);
        EXPECT_EQ(control->Picture().Get(2, 10), c.left);
    }
    EXPECT_EQ(m_received.back(), (Notification{7100, GRADIENT_NOTIFY_CHANGED}));
    GRADIENTCOLORS copy;
    control->CopyCurrentGradient(copy);
    EXPECT_TRUE(control->IsGradientEqual(&copy));
    EXPECT_EQ(copy.predefined, -1);
}

TEST_F(GradientDesignerDialog, ClickOnTheGradientControlRunsTheDesignerAndTakesItsResult)
{
    auto* control = Make<CGradientControl>(104, 20, 7300);
    control->Init();
    GRADIENTCOLORS blueBorder;
    CGradientModel::GetPredefinedGradient(blueBorder, 2);
    const struct
    {
        bool ok;
        int predefined;
        size_t notifications;
    } runs[] = {{false, 0, 0}, {true, 2, 1}};
    for (const auto& run : runs) {
        bool answered = false;
        // The dialog is modal: the answer comes from inside its own event loop.
        control->CallAfter([&] {
            for (wxWindow* window : wxTopLevelWindows) {
                auto* dialog = dynamic_cast<CGradientDesignerDialog*>(window);
                if (!dialog || !dialog->IsModal())
                    continue;
                dialog->ChoosePredefined(2);
                wxCommandEvent button(wxEVT_BUTTON, run.ok ? wxID_OK : wxID_CANCEL);
                if (run.ok)
                    dialog->ProcessWindowEvent(button);
                else
                    dialog->EndModal(wxID_CANCEL);
                answered = true;
            }
        });
        Press(control, 50, 10);
        Release(control, 50, 10);
        EXPECT_TRUE(answered);
        EXPECT_EQ(control->GetCurrentGradient().predefined, run.predefined);
        EXPECT_EQ(m_received.size(), run.notifications);
    }
    // The stops come back as the designer's handles stood: each position within a band pixel of the original.
    const GRADIENTCOLORS& taken = control->GetCurrentGradient();
    ASSERT_EQ(taken.GetStopCount(), blueBorder.GetStopCount());
    for (size_t i = 0; i < taken.GetStopCount(); ++i) {
        EXPECT_NEAR(taken.positions[i], blueBorder.positions[i], 1.0 / 300) << i;
        EXPECT_EQ(taken.leftColors[i], blueBorder.leftColors[i]) << i;
    }
    EXPECT_EQ(m_received.back(), (Notification{7300, GRADIENT_NOTIFY_CHANGED}));
}

} // namespace
