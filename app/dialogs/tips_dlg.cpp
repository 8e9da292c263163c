#include "app/dialogs/tips_dlg.h"

#include <wx/checkbox.h>
#include <wx/dcbuffer.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/notice_dialogs.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "platform/gui/text_bytes.h"

namespace {

constexpr int kAreaId = 1662;
constexpr int kTipsCheckId = 1645;
constexpr int kTipsPreviousId = 2;
constexpr int kNextId = 3;

} // namespace

CTipsDLG::CTipsDLG(wxWindow* parent, unsigned start) : m_tips(start)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "5044");
    if (!m_bLoaded)
        return;
    m_area = dynamic_cast<wxPanel*>(FindWindow(kAreaId));
    m_check = dynamic_cast<wxCheckBox*>(FindWindow(kTipsCheckId));
    if (!m_area || !m_check) {
        m_bLoaded = false;
        return;
    }
    m_area->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_area->Bind(wxEVT_PAINT, &CTipsDLG::OnPaintTip, this);
    m_area->Bind(wxEVT_LEFT_DOWN, &CTipsDLG::OnMouseDown, this);
    m_area->Bind(wxEVT_MOTION, &CTipsDLG::OnMouseMove, this);
    m_area->Bind(wxEVT_LEFT_UP, &CTipsDLG::OnMouseUp, this);
    Bind(wxEVT_BUTTON, &CTipsDLG::OnNext, this, kNextId);
    Bind(wxEVT_BUTTON, &CTipsDLG::OnPrevious, this, kTipsPreviousId);
    Bind(wxEVT_BUTTON, &CTipsDLG::OnOK, this, wxID_OK);
    // Escape shows the previous tip, as the Previous button does, and only OK ends the tips. The window manager's
    // close (the window has no caption, so this is Alt+F4) ends them as OK does: a window that refused it would
    // leave the user no way out but the button.
    SetEscapeId(kTipsPreviousId);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
        wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
        OnOK(ok);
    });
    GetSizer()->SetSizeHints(this);
}

int CTipsDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    CentreOnParent();
    return wxDialog::ShowModal();
}

void CTipsDLG::OnNext(wxCommandEvent&)
{
    m_tips.Next();
    m_area->Refresh();
}

void CTipsDLG::OnPrevious(wxCommandEvent&)
{
    m_tips.Previous();
    m_area->Refresh();
}

void CTipsDLG::OnOK(wxCommandEvent&)
{
    if (m_check->GetValue())
        if (CAppSettings* settings = GetAppSettings())
            settings->m_showDailyTips = false;
    EndModal(wxID_OK);
}

void CTipsDLG::OnPaintTip(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(m_area);
    const wxSize size = m_area->GetClientSize();
    const int header = m_area->FromDIP(56);
    const int margin = m_area->FromDIP(20);
    // A header band over a light page, the tip written into the page.
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(wxColour(255, 255, 255)));
    dc.DrawRectangle(0, 0, size.GetWidth(), size.GetHeight());
    dc.GradientFillLinear(wxRect(0, 0, size.GetWidth(), header), wxColour(32, 74, 135), wxColour(114, 159, 207),
                          wxEAST);
    wxFont title = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    title.SetPointSize(title.GetPointSize() + 6);
    title.SetWeight(wxFONTWEIGHT_BOLD);
    dc.SetFont(title);
    dc.SetTextForeground(*wxWHITE);
    const wxString heading = "Did you know...";
    dc.DrawText(heading, margin, (header - dc.GetTextExtent(heading).GetHeight()) / 2);

    wxFont body = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    body.SetPointSize(body.GetPointSize() + 1);
    dc.SetFont(body);
    dc.SetTextForeground(wxColour(0, 0, 0));
    // Word wrap into the free area under the header.
    const int width = size.GetWidth() - 2 * margin;
    wxString line, text = BytesToWx(m_tips.GetTip());
    int y = header + margin;
    const int lineHeight = dc.GetCharHeight() + m_area->FromDIP(2);
    wxString word;
    auto flush = [&] {
        dc.DrawText(line, margin, y);
        y += lineHeight;
        line.clear();
    };
    for (size_t i = 0; i <= text.length(); ++i) {
        if (i < text.length() && text[i] != ' ') {
            word += text[i];
            continue;
        }
        const wxString candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && dc.GetTextExtent(candidate).GetWidth() > width) {
            flush();
            line = word;
        } else {
            line = candidate;
        }
        word.clear();
    }
    if (!line.empty())
        flush();
}

void CTipsDLG::OnMouseDown(wxMouseEvent& event)
{
    m_dragOffset = m_area->ClientToScreen(event.GetPosition()) - GetPosition();
    m_area->CaptureMouse();
}

void CTipsDLG::OnMouseMove(wxMouseEvent& event)
{
    if (m_area->HasCapture() && event.Dragging())
        Move(m_area->ClientToScreen(event.GetPosition()) - m_dragOffset);
}

void CTipsDLG::OnMouseUp(wxMouseEvent&)
{
    if (m_area->HasCapture())
        m_area->ReleaseMouse();
}
