#include "platform/gui/control_notify.h"

#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include <wx/frame.h>
#include <wx/panel.h>

namespace {

struct Received
{
    int id;
    unsigned code;
    wxObject* from;
};

// A frame holding a panel (the parent) holding two child windows (the controls); both the frame and the panel
// record what reaches them.
class NotifyFixture : public ::testing::Test
{
protected:
    NotifyFixture()
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "notify");
        m_panel = new wxPanel(m_frame, wxID_ANY);
        m_first = new wxWindow(m_panel, 4001);
        m_second = new wxWindow(m_panel, 4002);
        m_panel->Bind(
            EVT_CONTROL_NOTIFY,
            [this](CControlNotifyEvent& event) {
                m_atPanel.push_back({event.GetId(), event.GetCode(), event.GetEventObject()});
            },
            4001);
        m_frame->Bind(EVT_CONTROL_NOTIFY, [this](CControlNotifyEvent& event) {
            m_atFrame.push_back({event.GetId(), event.GetCode(), event.GetEventObject()});
        });
    }
    ~NotifyFixture() override { m_frame->Destroy(); }

    wxFrame* m_frame;
    wxPanel* m_panel;
    wxWindow* m_first;
    wxWindow* m_second;
    std::vector<Received> m_atPanel;
    std::vector<Received> m_atFrame;
};

TEST_F(NotifyFixture, ParentBoundToTheIdGetsTheCodeBeforeTheSendReturns)
{
    EXPECT_TRUE(SendControlNotify(m_first, 4025));
    ASSERT_EQ(m_atPanel.size(), 1u);
    EXPECT_EQ(m_atPanel[0].id, 4001);
    EXPECT_EQ(m_atPanel[0].code, 4025u);
    EXPECT_EQ(m_atPanel[0].from, m_first);
    EXPECT_TRUE(m_atFrame.empty());
}

TEST_F(NotifyFixture, UnhandledNotificationGoesNoFurtherThanTheParent)
{
    EXPECT_FALSE(SendControlNotify(m_second, 2029));
    EXPECT_TRUE(m_atPanel.empty());
    EXPECT_TRUE(m_atFrame.empty());
}

TEST_F(NotifyFixture, WindowWithoutParentSendsNothing)
{
    std::unique_ptr<wxFrame> orphan(new wxFrame(nullptr, 4001, "orphan"));
    EXPECT_FALSE(SendControlNotify(orphan.get(), 4026));
    EXPECT_FALSE(SendControlNotify(nullptr, 4026));
    EXPECT_TRUE(m_atPanel.empty());
    orphan.release()->Destroy();
}

// The event table form binds the same way.
class TablePanel : public wxPanel
{
public:
    explicit TablePanel(wxWindow* parent) : wxPanel(parent) {}
    std::vector<unsigned> codes;

private:
    void OnNotify(CControlNotifyEvent& event) { codes.push_back(event.GetCode()); }
    wxDECLARE_EVENT_TABLE();
};

wxBEGIN_EVENT_TABLE(TablePanel, wxPanel) EVT_CONTROL_NOTIFY_ID(4003, TablePanel::OnNotify) wxEND_EVENT_TABLE()

    TEST_F(NotifyFixture, EventTableEntryBindsById)
{
    auto* panel = new TablePanel(m_frame);
    auto* control = new wxWindow(panel, 4003);
    auto* other = new wxWindow(panel, 4004);
    EXPECT_TRUE(SendControlNotify(control, 2030));
    EXPECT_FALSE(SendControlNotify(other, 2030));
    EXPECT_EQ(panel->codes, std::vector<unsigned>{2030});
}

} // namespace
