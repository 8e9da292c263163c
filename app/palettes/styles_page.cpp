#include "app/palettes/styles_page.h"

#include <wx/dcclient.h>
#include <wx/image.h>
#include <wx/renderer.h>

#include "app/palettes/palette_controls.h"
#include "app/palettes/palette_protocol.h"
#include "controls/owner_drawn_control.h"
#include "platform/resources/resource_folder.h"

namespace {

wxBitmap LoadPreview(unsigned id)
{
    wxImage image;
    if (!image.LoadFile(wxString::FromUTF8(GetBitmapResourcePath(id).string()), wxBITMAP_TYPE_PNG))
        return wxBitmap();
    return wxBitmap(image);
}

// One style's button: a black frame, inside it a white one (red while pushed), and the style's preview filling the
// rest. It clicks like a button, with the mouse or the space bar.
class CStyleButton : public COwnerDrawnControl
{
public:
    explicit CStyleButton(const CStylesPage* page) : m_pPage(page)
    {
        Bind(wxEVT_KEY_DOWN, &CStyleButton::OnKeyDown, this);
        Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
            Refresh(false);
            event.Skip();
        });
        Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
            Refresh(false);
            event.Skip();
        });
    }

    bool AcceptsFocus() const override { return true; }

protected:
    bool PressStartsDrag(const CPoint&) override { return true; }
    void DragStarted(const CPoint&) override { SetPushed(true); }
    void DragMoved(const CPoint& point) override { SetPushed(Inside(point)); }
    void DragEnded(const CPoint& point, bool captureLost) override
    {
        SetPushed(false);
        if (!captureLost && Inside(point))
            Click();
    }

    void Paint(wxDC& dc) override
    {
        const CSize size = ClientSize();
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.SetPen(*wxBLACK_PEN);
        dc.DrawRectangle(0, 0, size.cx, size.cy);
        dc.SetPen(m_bPushed ? *wxRED_PEN : *wxWHITE_PEN);
        dc.DrawRectangle(1, 1, size.cx - 2, size.cy - 2);
        // The look is decided now, from the selection as it is at this paint.
        const wxBitmap& preview = m_pPage->GetPreview(StyleForButton(GetId()), CanApplyStyle());
        const wxSize inside(size.cx - 4, size.cy - 4);
        if (preview.IsOk() && inside.GetWidth() > 0 && inside.GetHeight() > 0) {
            if (preview.GetSize() == inside)
                dc.DrawBitmap(preview, 2, 2);
            else
                dc.DrawBitmap(wxBitmap(preview.ConvertToImage().Scale(inside.GetWidth(), inside.GetHeight())), 2, 2);
        }
        if (HasFocus())
            wxRendererNative::Get().DrawFocusRect(this, dc, wxRect(3, 3, size.cx - 6, size.cy - 6));
    }

private:
    bool Inside(const CPoint& point) const
    {
        const CSize size = ClientSize();
        return point.x >= 0 && point.y >= 0 && point.x < size.cx && point.y < size.cy;
    }
    void SetPushed(bool pushed)
    {
        if (pushed == m_bPushed)
            return;
        m_bPushed = pushed;
        Refresh(false);
    }
    void Click()
    {
        wxCommandEvent click(wxEVT_BUTTON, GetId());
        click.SetEventObject(this);
        ProcessWindowEvent(click);
    }
    void OnKeyDown(wxKeyEvent& event)
    {
        if (event.GetKeyCode() == WXK_SPACE)
            Click();
        else
            event.Skip();
    }

    const CStylesPage* m_pPage;
    bool m_bPushed = false;
};

} // namespace

CStylesPage::CStylesPage(wxWindow* parent) : CPalettePage(parent, kStylesPropSheet)
{
    for (int style = 1; style <= kStyleCount; ++style) {
        const PresetStyle& preset = GetPresetStyle(style);
        m_available[static_cast<size_t>(style - 1)] = LoadPreview(preset.preview);
        m_unavailable[static_cast<size_t>(style - 1)] = LoadPreview(preset.unavailablePreview);
        if (ReplacePagePlaceholder<CStyleButton>(this, preset.buttonId, this))
            Bind(wxEVT_BUTTON, &CStylesPage::OnStyleButton, this, preset.buttonId);
    }
    Layout();
}

const wxBitmap& CStylesPage::GetPreview(int style, bool available) const
{
    const size_t index = style >= 1 && style <= kStyleCount ? static_cast<size_t>(style - 1) : 0;
    return available ? m_available[index] : m_unavailable[index];
}

void CStylesPage::FillControls()
{
    // Every button works out its look when it paints.
    for (int style = 1; style <= kStyleCount; ++style)
        if (wxWindow* button = FindWindow(GetPresetStyle(style).buttonId))
            button->Refresh(false);
}

void CStylesPage::OnStyleButton(wxCommandEvent& event)
{
    ApplyStyle(StyleForButton(event.GetId()), GetProgramFolder());
    FocusMainFrame();
}
