#pragma once

// How a control tells its parent that something happened: a command event carrying the control's id and a code,
// sent synchronously to the parent only. Parents bind by the control's id:
//     Bind(EVT_CONTROL_NOTIFY, &CMyPage::OnAngle, this, ID_ANGLE_WHEEL);
// or, in an event table, EVT_CONTROL_NOTIFY_ID(ID_ANGLE_WHEEL, CMyPage::OnAngle).

#include <wx/event.h>

class CControlNotifyEvent : public wxCommandEvent
{
public:
    CControlNotifyEvent(wxEventType type = wxEVT_NULL, int id = 0, unsigned code = 0);

    // What happened, in the control's own numbering (for example 4025 while a wheel is dragged).
    unsigned GetCode() const { return m_code; }

    wxEvent* Clone() const override { return new CControlNotifyEvent(*this); }

private:
    unsigned m_code;
};

wxDECLARE_EVENT(EVT_CONTROL_NOTIFY, CControlNotifyEvent);

typedef void (wxEvtHandler::*CControlNotifyEventFunction)(CControlNotifyEvent&);
#define EVT_CONTROL_NOTIFY_ID(id, func)                                                                                \
    wx__DECLARE_EVT1(EVT_CONTROL_NOTIFY, id, wxEVENT_HANDLER_CAST(CControlNotifyEventFunction, func))

// Sends code from control to its parent and returns once the parent has handled it. True when the parent handled
// the event; false when it did not or when the control has no parent, in which case nothing is sent. The event
// does not travel further up than the parent: the parent is the control's owner and the only one that answers.
bool SendControlNotify(wxWindow* control, unsigned code);
