#pragma once

// Events as the window system sends them to the design view, for the tests that drive it.

#include <wx/event.h>

#include "app/docview/design_view.h"

// A mouse event at a page point, sent to the view as the window system would.
inline void SendMouse(COrvelView* view, wxEventType type, CPoint pt, bool shift = false, bool ctrl = false)
{
    const CPoint origin = view->GetPageOrigin(), scroll = view->GetScrollPosition();
    wxMouseEvent event(type);
    event.SetEventObject(view);
    event.SetId(view->GetId());
    event.m_x = pt.x + origin.x - scroll.x;
    event.m_y = pt.y + origin.y - scroll.y;
    event.m_leftDown = type != wxEVT_LEFT_UP;
    event.SetShiftDown(shift);
    event.SetControlDown(ctrl);
    view->GetEventHandler()->ProcessEvent(event);
}
