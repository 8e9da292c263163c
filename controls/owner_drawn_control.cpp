#include "controls/owner_drawn_control.h"

#include "platform/gui/control_notify.h"

#include <memory>
#include <wx/dcclient.h>
#include <wx/sizer.h>

namespace {

CPoint PointOf(const wxMouseEvent& event)
{
    return CPoint(event.GetX(), event.GetY());
}

} // namespace

COwnerDrawnControl::COwnerDrawnControl()
{
    Bind(wxEVT_PAINT, &COwnerDrawnControl::OnPaintEvent, this);
    Bind(wxEVT_LEFT_DOWN, &COwnerDrawnControl::OnLeftDown, this);
    Bind(wxEVT_MOTION, &COwnerDrawnControl::OnMotion, this);
    Bind(wxEVT_LEFT_UP, &COwnerDrawnControl::OnLeftUp, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &COwnerDrawnControl::OnCaptureLost, this);
}

COwnerDrawnControl::~COwnerDrawnControl()
{
    // wx insists that a window gives up the mouse before it goes.
    if (HasCapture())
        ReleaseMouse();
}

bool COwnerDrawnControl::Create(const CRect& rect, wxWindow* parent, UINT id)
{
    if (!parent)
        return false;
    const wxSize size(rect.Width(), rect.Height());
    if (!wxWindow::Create(parent, static_cast<wxWindowID>(id), wxPoint(rect.left, rect.top), size,
                          wxBORDER_NONE | wxFULL_REPAINT_ON_RESIZE))
        return false;
    // Sizers keep the control at the size it was made for: its pictures are built for that size.
    SetMinSize(size);
    // No background colour of its own: the ground a control stands on is the dialog's. (On GTK the button face the
    // system reports is a shade off what dialogs are painted with.) The controls draw only what they show.
    return true;
}

void COwnerDrawnControl::ShowHide(bool show)
{
    m_shown = show;
    Refresh(true);
}

bool COwnerDrawnControl::Enable(bool enable)
{
    const bool changed = m_enabled != enable;
    m_enabled = enable;
    return changed;
}

bool COwnerDrawnControl::Notify(UINT code)
{
    return SendControlNotify(this, code);
}

bool COwnerDrawnControl::PressStartsDrag(const CPoint&)
{
    return false;
}

void COwnerDrawnControl::DragStarted(const CPoint&) {}

void COwnerDrawnControl::DragMoved(const CPoint&) {}

void COwnerDrawnControl::DragEnded(const CPoint&, bool) {}

void COwnerDrawnControl::Paint(wxDC&) {}

CSize COwnerDrawnControl::ClientSize() const
{
    const wxSize size = GetClientSize();
    return CSize(size.GetWidth(), size.GetHeight());
}

void COwnerDrawnControl::OnPaintEvent(wxPaintEvent&)
{
    wxPaintDC dc(this);
    if (m_shown)
        Paint(dc);
}

void COwnerDrawnControl::OnLeftDown(wxMouseEvent& event)
{
    const CPoint point = PointOf(event);
    if (m_enabled && !m_tracking && PressStartsDrag(point)) {
        m_tracking = true;
        if (!HasCapture())
            CaptureMouse();
        DragStarted(point);
    }
    event.Skip();
}

void COwnerDrawnControl::OnMotion(wxMouseEvent& event)
{
    if (m_tracking)
        DragMoved(PointOf(event));
    event.Skip();
}

void COwnerDrawnControl::OnLeftUp(wxMouseEvent& event)
{
    if (m_tracking)
        EndDrag(PointOf(event), false);
    event.Skip();
}

void COwnerDrawnControl::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    // wx has already taken the capture away; only the drag is left to end. It ends even on a control disabled
    // in the middle of it, which would otherwise stay in a drag it can no longer finish.
    if (m_tracking) {
        m_tracking = false;
        DragEnded(CPoint(), true);
    }
}

void COwnerDrawnControl::EndDrag(const CPoint& point, bool captureLost)
{
    m_tracking = false;
    if (HasCapture())
        ReleaseMouse();
    DragEnded(point, captureLost);
}

COwnerDrawnControl* ReplacePlaceholderWindow(COwnerDrawnControl* control, wxWindow& window, int id)
{
    std::unique_ptr<COwnerDrawnControl> owned(control);
    wxWindow* place = window.FindWindow(id);
    if (!place || !place->GetContainingSizer())
        return nullptr;
    const wxSize size = place->GetSize();
    if (!owned->Create(CRect(0, 0, size.GetWidth(), size.GetHeight()), place->GetParent(), static_cast<UINT>(id)))
        return nullptr;
    owned->SetMinSize(size);
    place->GetContainingSizer()->Replace(place, owned.get());
    place->Destroy();
    // The parent window owns the control from here on.
    return owned.release();
}
