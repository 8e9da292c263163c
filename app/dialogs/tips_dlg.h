#pragma once

// Tips of the day: a captionless window, moved by dragging any point, showing one tip at a time under a header.
// Escape shows the previous tip; OK (or the window manager's close) ends it, and with the box ticked stops it from
// showing at start.

#include <wx/dialog.h>

#include "app/dialogs/tips.h"

class wxCheckBox;
class wxPanel;

class CTipsDLG : public wxDialog
{
public:
    CTipsDLG(wxWindow* parent, unsigned start = RandomTipStart());

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;
    const CTipsList& GetTips() const { return m_tips; }

private:
    void OnNext(wxCommandEvent& event);
    void OnPrevious(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);
    void OnPaintTip(wxPaintEvent& event);
    void OnMouseDown(wxMouseEvent& event);
    void OnMouseMove(wxMouseEvent& event);
    void OnMouseUp(wxMouseEvent& event);

    CTipsList m_tips;
    bool m_bLoaded = false;
    wxPanel* m_area = nullptr;
    wxCheckBox* m_check = nullptr;
    wxPoint m_dragOffset;
};
