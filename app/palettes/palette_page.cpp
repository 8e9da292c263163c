#include "app/palettes/palette_page.h"

#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/xrc/xmlres.h>

CPalettePage::CPalettePage(wxWindow* parent, int index) : m_nIndex(index)
{
    // The page's template from the resource folder; a palette whose template is not there shows an empty page.
    const int templateId = DescribePalette(index).pageTemplate;
    if (!wxXmlResource::Get()->LoadPanel(this, parent, wxString::Format("%d", templateId)))
        Create(parent, wxID_ANY);
    Bind(wxEVT_CHAR_HOOK, &CPalettePage::OnCharHook, this);
    Fill();
}

void CPalettePage::OnRefresh(UINT code)
{
    if (!PaletteListensTo(m_nIndex, code))
        return;
    // In its sheet the page keeps the size the sheet gives it (a size of its own would lay the controls out for
    // a page the sheet then cuts); alone, it takes the table's size, never smaller than its controls need.
    const wxSize client = GetClientSize();
    if (auto size = PageSizeToRestore(m_nIndex, CSize(client.GetWidth(), client.GetHeight()));
        size && !dynamic_cast<wxBookCtrlBase*>(GetParent())) {
        wxSize restored(size->cx, size->cy);
        restored.IncTo(GetBestSize());
        SetSize(restored);
    }
    Fill();
}

void CPalettePage::Fill()
{
    ++m_fills;
    FillControls();
}

void CPalettePage::OnCharHook(wxKeyEvent& event)
{
    // Return hands the keyboard back to the design view; a field that had the focus applies its value on losing it.
    if (event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER) {
        ApplyFocusedValue();
        FocusMainFrame();
        return;
    }
    event.Skip();
}

void FocusMainFrame()
{
    if (wxWindow* main = wxTheApp ? wxTheApp->GetTopWindow() : nullptr)
        main->SetFocus();
}
