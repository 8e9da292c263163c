#pragma once

// What the control tests share: a shown frame with a panel that records every notification its child controls
// send, and synthetic mouse input delivered to a control the way wx delivers it.

#include "controls/owner_drawn_control.h"
#include "platform/gui/control_notify.h"
#include "testing/gui_settle.h"

#include <gtest/gtest.h>
#include <vector>
#include <wx/frame.h>
#include <wx/panel.h>
#include <wx/utils.h>

struct Notification
{
    int id;
    unsigned code;
    bool operator==(const Notification&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Notification& n)
{
    return out << "{" << n.id << ", " << n.code << "}";
}

// A control whose colour dialog answers as the test says, recording the colour it was opened with.
template <class Control> class ScriptedColors : public Control
{
public:
    bool answer = false;
    unsigned long choice = 0;
    std::vector<unsigned long> asked;

protected:
    bool AskColor(unsigned long& colorref) override
    {
        asked.push_back(colorref);
        if (answer)
            colorref = choice;
        return answer;
    }
};

// Mouse input as wx delivers it to a control.
inline void Mouse(wxWindow* control, wxEventType type, int x, int y, bool leftDown)
{
    wxMouseEvent event(type);
    event.SetPosition(wxPoint(x, y));
    event.m_leftDown = leftDown;
    event.SetEventObject(control);
    event.SetId(control->GetId());
    control->GetEventHandler()->ProcessEvent(event);
}
inline void Press(wxWindow* control, int x, int y)
{
    Mouse(control, wxEVT_LEFT_DOWN, x, y, true);
}
inline void Drag(wxWindow* control, int x, int y)
{
    Mouse(control, wxEVT_MOTION, x, y, true);
}
inline void Release(wxWindow* control, int x, int y)
{
    Mouse(control, wxEVT_LEFT_UP, x, y, false);
}
inline void LoseCapture(wxWindow* control)
{
    // wx takes the capture away before it tells the window, as it does when another window grabs the mouse.
    if (control->HasCapture())
        control->ReleaseMouse();
    wxMouseCaptureLostEvent event(control->GetId());
    event.SetEventObject(control);
    control->GetEventHandler()->ProcessEvent(event);
}

class ControlHost : public ::testing::Test
{
protected:
    ControlHost()
    {
        m_frame = new wxFrame(nullptr, wxID_ANY, "controls", wxPoint(0, 0), wxSize(400, 300));
        m_panel = new wxPanel(m_frame);
        m_panel->Bind(EVT_CONTROL_NOTIFY, [this](CControlNotifyEvent& event) {
            m_received.push_back({event.GetId(), event.GetCode()});
        });
        m_frame->Show();
        Settle();
    }
    ~ControlHost() override { m_frame->Destroy(); }

    // Construct, Create on the panel, as the program does; the caller calls Init.
    template <class Control> Control* Make(int width, int height, int id = 7100)
    {
        auto* control = new Control();
        EXPECT_TRUE(control->Create(CRect(10, 10, 10 + width, 10 + height), m_panel, id));
        return control;
    }

    std::vector<unsigned> Codes() const
    {
        std::vector<unsigned> codes;
        for (const Notification& n : m_received)
            codes.push_back(n.code);
        return codes;
    }

    wxFrame* m_frame;
    wxPanel* m_panel;
    std::vector<Notification> m_received;
};
