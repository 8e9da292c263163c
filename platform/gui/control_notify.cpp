#include "platform/gui/control_notify.h"

#include <wx/window.h>

wxDEFINE_EVENT(EVT_CONTROL_NOTIFY, CControlNotifyEvent);

CControlNotifyEvent::CControlNotifyEvent(wxEventType type, int id, unsigned code)
    : wxCommandEvent(type, id), m_code(code)
{
}

bool SendControlNotify(wxWindow* control, unsigned code)
{
    wxWindow* parent = control ? control->GetParent() : nullptr;
    if (!parent)
        return false;
    CControlNotifyEvent event(EVT_CONTROL_NOTIFY, control->GetId(), code);
    event.SetEventObject(control);
    event.StopPropagation();
    return parent->GetEventHandler()->ProcessEvent(event);
}
