#include "controls/owner_drawn_control.h"

#include "controls/control_test_support.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// A control that drags everywhere left of x = 20 and writes down what the drag hooks see.
class ProbeControl : public COwnerDrawnControl
{
public:
    std::string log;

protected:
    bool PressStartsDrag(const CPoint& point) override { return point.x < 20; }
    void DragStarted(const CPoint& point) override { log += "start " + std::to_string(point.x) + ";"; }
    void DragMoved(const CPoint& point) override { log += "move " + std::to_string(point.x) + ";"; }
    void DragEnded(const CPoint& point, bool lost) override
    {
        log += lost ? std::string("lost;") : "end " + std::to_string(point.x) + ";";
        Notify(9000);
    }
};

using OwnerDrawnControl = ControlHost;

TEST_F(OwnerDrawnControl, CreateNeedsAParentAndKeepsRectAndId)
{
    ProbeControl orphan;
    EXPECT_FALSE(orphan.Create(CRect(0, 0, 10, 10), nullptr, 7000));

    auto* control = Make<ProbeControl>(30, 20, 7001);
    EXPECT_EQ(control->GetId(), 7001);
    EXPECT_EQ(control->GetPosition(), wxPoint(10, 10));
    EXPECT_EQ(control->GetClientSize(), wxSize(30, 20));
    EXPECT_TRUE(control->IsShownFlag());
    EXPECT_TRUE(control->IsEnabledFlag());
    EXPECT_FALSE(control->InTracking());
    EXPECT_FALSE(control->UseBgCol()) << "the parent's background shows through";
}

TEST_F(OwnerDrawnControl, DragHooksFollowPressMovesAndRelease)
{
    const struct
    {
        const char* name;
        bool enabled;
        int pressX;
        const char* log;
        std::vector<unsigned> codes;
    } cases[] = {
        {"drag", true, 5, "start 5;move 30;end 40;", {9000}},
        {"press off the active part", true, 25, "", {}},
        {"disabled", false, 5, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_received.clear();
        auto* control = Make<ProbeControl>(50, 20);
        EXPECT_EQ(control->Enable(c.enabled), !c.enabled) << "Enable says whether the flag changed";
        Press(control, c.pressX, 5);
        Drag(control, 30, 5);
        Release(control, 40, 5);
        Drag(control, 45, 5);
        EXPECT_EQ(control->log, c.log);
        EXPECT_EQ(Codes(), c.codes);
        EXPECT_FALSE(control->InTracking());
        EXPECT_FALSE(control->HasCapture());
        EXPECT_TRUE(control->IsEnabled()) << "wx's own state stays enabled, so the control keeps painting as it is";
    }
}

TEST_F(OwnerDrawnControl, SecondPressDuringADragStartsNothingNew)
{
    auto* control = Make<ProbeControl>(50, 20);
    Press(control, 5, 5);
    Press(control, 6, 5);
    Release(control, 7, 5);
    EXPECT_EQ(control->log, "start 5;end 7;");
}

TEST_F(OwnerDrawnControl, DestroyedInTheMiddleOfADragGivesTheMouseBack)
{
    auto* control = Make<ProbeControl>(50, 20);
    Press(control, 5, 5);
    ASSERT_TRUE(control->HasCapture());
    delete control;
    EXPECT_EQ(wxWindow::GetCapture(), nullptr);
}

} // namespace
