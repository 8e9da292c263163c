#include "app/palettes/prop_frames.h"

#include <algorithm>

#include <wx/display.h>
#include <wx/sizer.h>
#include <wx/xrc/xmlres.h>

#include "app/palettes/effects_page.h"
#include "app/palettes/fill_page.h"
#include "app/palettes/link_page.h"
#include "app/palettes/mouse_over_page.h"
#include "app/palettes/object_page.h"
#include "app/palettes/page_info_page.h"
#include "app/palettes/styles_page.h"

namespace {

// The page of a palette: its own class where it has one, else the empty page.
CPalettePage* MakePalettePage(wxWindow* sheet, int index)
{
    switch (index) {
    case kPagePropSheet:
        return new CPageInfoPage(sheet);
    case kObjectPropSheet:
        return new CObjectPage(sheet);
    case kFillPropSheet:
        return new CFillPage(sheet);
    case kLinkPropSheet:
        return new CLinkPage(sheet);
    case kEffectsPropSheet:
        return new CEffectsPage(sheet);
    case kMouseOverPropSheet:
        return new CMouseOverPage(sheet);
    case kStylesPropSheet:
        return new CStylesPage(sheet);
    default:
        return new CPalettePage(sheet, index);
    }
}

} // namespace

CPropSheet::CPropSheet(wxWindow* parent, int index)
    : wxNotebook(parent, wxID_ANY, wxDefaultPosition,
                 wxSize(DescribePalette(index).pageSize.cx, DescribePalette(index).pageSize.cy))
{
    CPalettePage* page = MakePalettePage(this, index);
    // The tab names the palette without its leading blank.
    wxString title = wxString::FromUTF8(DescribePalette(index).title).Trim(false);
    title.Replace(" Properties", "");
    AddPage(page, title, true);
    FitPage();
}

void CPropSheet::FitPage()
{
    // At least as large as the page's controls need with the desktop's fonts, which are larger than the sizes
    // of the table allow for; the need grows with what the page shows.
    CPalettePage* page = GetActivePage();
    if (!page)
        return;
    page->InvalidateBestSize();
    const PaletteDescription& palette = DescribePalette(page->GetPaletteIndex());
    wxSize needed = CalcSizeFromPage(page->GetBestSize());
    needed.IncTo(wxSize(palette.pageSize.cx, palette.pageSize.cy));
    SetMinSize(needed);
}

CPalettePage* CPropSheet::GetActivePage() const
{
    return dynamic_cast<CPalettePage*>(GetCurrentPage());
}

CPropFrame::CPropFrame(wxWindow* parent, int index, CPropSheetManager& manager)
    : wxMiniFrame(parent, wxID_ANY, wxString::FromUTF8(DescribePalette(index).title), wxPoint(0, 0), wxSize(156, 70),
                  wxCAPTION | wxCLOSE_BOX | wxFRAME_FLOAT_ON_PARENT | wxFRAME_TOOL_WINDOW),
      m_manager(manager)
{
    m_sheet = new CPropSheet(this, index);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_sheet, 1, wxEXPAND);
    SetSizer(sizer);
    SetClientSize(m_sheet->GetBestSize());
    m_normal = GetShownRect();
    Bind(wxEVT_MOVE, &CPropFrame::OnMoveOrSize, this);
    Bind(wxEVT_SIZE, &CPropFrame::OnMoveOrSize, this);
    Bind(wxEVT_CLOSE_WINDOW, &CPropFrame::OnClose, this);
    Bind(wxEVT_SET_FOCUS, &CPropFrame::OnSetFocus, this);
}

CRect CPropFrame::GetShownRect() const
{
    const wxRect r = GetRect();
    return CRect(r.GetLeft(), r.GetTop(), r.GetRight() + 1, r.GetBottom() + 1);
}

CRect CPropFrame::GetNormalRect() const
{
    return m_normal;
}

void CPropFrame::SetNormalRect(const CRect& rect)
{
    m_normal = rect;
    SetSize(rect.left, rect.top, rect.Width(), rect.Height());
}

void CPropFrame::OnMoveOrSize(wxEvent& event)
{
    // Where the user moved the palette to, read only while it is on the screen: a frame that is hidden, or not
    // mapped yet, may report a place the window manager never gave it (the screen's corner), which must neither
    // show the next palette there nor be stored for the next start.
    if (IsShownOnScreen())
        m_normal = GetShownRect();
    event.Skip();
}

void CPropFrame::ShowFrame(bool show)
{
    if (!show) {
        Hide();
        return;
    }
    if (IsShown())
        return;
    // Back where it stood, whatever place the hidden window reports.
    if (GetShownRect() != m_normal)
        SetSize(m_normal.left, m_normal.top, m_normal.Width(), m_normal.Height());
    ShowWithoutActivating();
}

void CPropFrame::SetFrameBounds(const CPoint& topLeft, const CSize& size, bool resizeSheet)
{
    // Never smaller than the page's controls need with the desktop's fonts, so that none is squeezed.
    if (m_sheet)
        m_sheet->FitPage();
    InvalidateBestSize();
    const wxSize least = GetBestSize();
    const CSize shown(std::max<int>(size.cx, least.GetWidth()), std::max<int>(size.cy, least.GetHeight()));
    m_normal = CRect(topLeft, shown);
    SetSize(topLeft.x, topLeft.y, shown.cx, shown.cy);
    if (resizeSheet)
        Layout();
}

void CPropFrame::ActivateFirstPage()
{
    // The toolkit's page change takes the keyboard into the sheet, out of the page window that has it; the one
    // page is the first already, and any other is turned to without it (the palette reads the selection afresh
    // whenever it is shown).
    if (m_sheet && m_sheet->GetPageCount() > 0 && m_sheet->GetSelection() != 0)
        m_sheet->ChangeSelection(0);
}

void CPropFrame::NotifyActivePage(UINT code)
{
    if (CPalettePage* page = m_sheet ? m_sheet->GetActivePage() : nullptr)
        page->OnRefresh(code);
}

void CPropFrame::OnClose(wxCloseEvent& event)
{
    // The close box only hides the palette; the next Show Inspector brings the same one back.
    if (event.CanVeto()) {
        event.Veto();
        m_manager.HidePropSheet();
        return;
    }
    Destroy();
}

void CPropFrame::OnSetFocus(wxFocusEvent& event)
{
    if (m_sheet)
        m_sheet->SetFocus();
    event.Skip();
}

namespace {

class CWindowPaletteHost : public CPaletteHost
{
public:
    CWindowPaletteHost(wxWindow* parent, CPropSheetManager& manager) : m_parent(parent), m_manager(manager) {}

    CPaletteFrame* CreatePaletteFrame(int index) override { return new CPropFrame(m_parent, index, m_manager); }

    CSize GetScreenSize() const override
    {
        const int display = wxDisplay::GetFromWindow(m_parent);
        const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0u : static_cast<unsigned>(display)).GetGeometry();
        return CSize(screen.GetWidth(), screen.GetHeight());
    }

private:
    wxWindow* m_parent;
    CPropSheetManager& m_manager;
};

} // namespace

std::unique_ptr<CPaletteHost> MakePaletteHost(wxWindow* parent, CPropSheetManager& manager)
{
    return std::make_unique<CWindowPaletteHost>(parent, manager);
}
