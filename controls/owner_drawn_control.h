#pragma once

// What every owner-drawn control shares: creation as a child window of a given rectangle and id, the shown,
// enabled and tracking flags, the mouse drag with capture, and notifications to the parent.
//
// The owner uses a control in a fixed order: construct, Create, the control's own Init, then its getters and
// setters; it learns of changes only from the notifications (EVT_CONTROL_NOTIFY, bound by the control's id).

#include "controls/control_raster.h"
#include "platform/win/win_types.h"

#include <wx/window.h>

class COwnerDrawnControl : public wxWindow
{
public:
    COwnerDrawnControl();
    ~COwnerDrawnControl() override;

    // Creates the visible child window over rect (in the parent's client coordinates) with the control id. Its
    // background is its parent's: the controls paint only what they show, clear elsewhere. False without a parent or
    // when the window cannot be made.
    virtual bool Create(const CRect& rect, wxWindow* parent, UINT id);

    // A hidden control paints nothing but its background. Repaints the whole control.
    void ShowHide(bool show);
    bool IsShownFlag() const { return m_shown; }

    // A disabled control ignores the mouse and paints as before; the change itself repaints nothing. The window
    // stays enabled for wx, so that it keeps painting as it is and decides about the mouse itself. Returns true
    // when the flag changed.
    bool Enable(bool enable = true) override;
    bool IsEnabledFlag() const { return m_enabled; }

    bool InTracking() const { return m_tracking; }

protected:
    // Sends code to the parent; false when there is none or it did not handle it.
    bool Notify(UINT code);

    // The drag. A left press on an enabled control where PressStartsDrag says so sets the tracking flag, captures
    // the mouse and calls DragStarted; moves while tracking call DragMoved; the release, or the loss of the
    // capture, clears the flag, releases the capture and calls DragEnded (lost: no position, captureLost set), also
    // on a control disabled during the drag.
    virtual bool PressStartsDrag(const CPoint& point);
    virtual void DragStarted(const CPoint& point);
    virtual void DragMoved(const CPoint& point);
    virtual void DragEnded(const CPoint& point, bool captureLost);

    // Paints the control; called only while it is shown.
    virtual void Paint(wxDC& dc);

    CSize ClientSize() const;

private:
    void OnPaintEvent(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void EndDrag(const CPoint& point, bool captureLost);

    bool m_shown = true;
    bool m_enabled = true;
    bool m_tracking = false;
};

// Puts a new control of the given kind where a template's place-holder window stands: the same parent, size, id and
// place in the sizer; the place-holder goes. Null when there is no such place-holder or it is not in a sizer.
COwnerDrawnControl* ReplacePlaceholderWindow(COwnerDrawnControl* control, wxWindow& window, int id);

template <class Control> Control* ReplacePlaceholder(wxWindow& window, int id)
{
    auto* control = new Control();
    if (!ReplacePlaceholderWindow(control, window, id))
        return nullptr;
    return control;
}
