#include "app/dialogs/themes_dlg.h"

#include <memory>
#include <wx/dcbuffer.h>
#include <wx/image.h>
#include <wx/listbox.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/notice_dialogs.h"
#include "app/dialogs/notice_table.h"
#include "app/site/website.h"
#include "image/image.h"
#include "platform/gui/text_bytes.h"

namespace {

constexpr int kCategoryListId = 1220;
constexpr int kThemeListId = 1221;
constexpr int kPreviewId = 1222;
constexpr int kStoreButtonId = 1290;

// The theme's stored picture scaled into the preview area as FitThemeThumbnail places it; an invalid bitmap when
// the file holds no readable picture.
wxBitmap MakeThemePreview(const std::string& path, const wxSize& area, wxPoint& at)
{
    bool failed = false;
    const std::unique_ptr<CPixMap> thumbnail = ReadSiteThumbnail(path, failed);
    ThemeThumbnailFit fit;
    if (!thumbnail || !FitThemeThumbnail(area.GetWidth(), area.GetHeight(), thumbnail->width, thumbnail->height, fit))
        return wxBitmap();
    wxImage image(thumbnail->width, fit.sourceHeight, false);
    unsigned char* out = image.GetData();
    for (int y = 0; y < fit.sourceHeight; ++y)
        for (int x = 0; x < thumbnail->width; ++x)
            for (int p = 0; p < 3; ++p)
                *out++ = *thumbnail->Sample(x, y, p);
    image.Rescale(fit.width, fit.height, wxIMAGE_QUALITY_HIGH);
    at = wxPoint(fit.left, fit.top);
    return wxBitmap(image);
}

} // namespace

CThemesDLG::CThemesDLG(wxWindow* parent, const std::string& themesFolder) : m_themesFolder(themesFolder)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "424");
    if (!m_bLoaded)
        return;
    m_categoryList = dynamic_cast<wxListBox*>(FindWindow(kCategoryListId));
    m_themeList = dynamic_cast<wxListBox*>(FindWindow(kThemeListId));
    m_pPreview = dynamic_cast<wxPanel*>(FindWindow(kPreviewId));
    if (!m_categoryList || !m_themeList || !m_pPreview) {
        m_bLoaded = false;
        return;
    }
    m_pPreview->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_pPreview->Bind(wxEVT_PAINT, &CThemesDLG::OnPaintPreview, this);
    Bind(wxEVT_LISTBOX, &CThemesDLG::OnCategory, this, kCategoryListId);
    Bind(wxEVT_LISTBOX, &CThemesDLG::OnTheme, this, kThemeListId);
    Bind(wxEVT_LISTBOX_DCLICK, &CThemesDLG::OnThemeDoubleClick, this, kThemeListId);
    Bind(wxEVT_BUTTON, &CThemesDLG::OnOK, this, wxID_OK);
    Bind(wxEVT_BUTTON, &CThemesDLG::OnStore, this, kStoreButtonId);

    m_scan = ScanThemes(m_themesFolder, m_Categories);
    for (const CThemeCategory& category : m_Categories)
        m_categoryList->Append(BytesToWx(category.m_strName));
    if (!m_Categories.empty())
        m_categoryList->SetSelection(0);
    FillThemeList();
    GetSizer()->SetSizeHints(this);
}

int CThemesDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    if (m_scan == ThemeScan::noFolder) {
        RunNotice(kNoticeNoThemes, GetParent());
        return wxID_CANCEL;
    }
    if (m_scan == ThemeScan::cannotEnter)
        return wxID_CANCEL;
    CentreOnParent();
    return wxDialog::ShowModal();
}

void CThemesDLG::FillThemeList()
{
    m_themeList->Clear();
    if (m_category < static_cast<int>(m_Categories.size())) {
        for (const std::string& name : m_Categories[m_category].m_ThemeNames)
            m_themeList->Append(BytesToWx(name));
        if (!m_themeList->IsEmpty())
            m_themeList->SetSelection(m_theme);
    }
    UpdatePreview();
}

void CThemesDLG::UpdatePreview()
{
    m_preview = wxBitmap();
    if (m_category < static_cast<int>(m_Categories.size())) {
        const CThemeCategory& category = m_Categories[m_category];
        if (m_theme < static_cast<int>(category.m_ThemePaths.size()))
            m_preview = MakeThemePreview(category.m_ThemePaths[m_theme], m_pPreview->GetClientSize(), m_previewAt);
    }
    m_pPreview->Refresh(false);
}

void CThemesDLG::OnCategory(wxCommandEvent& event)
{
    const int selection = event.GetSelection();
    if (selection < 0 || selection >= static_cast<int>(m_Categories.size()))
        return;
    m_category = selection;
    m_theme = 0;
    FillThemeList();
}

void CThemesDLG::OnTheme(wxCommandEvent& event)
{
    const int selection = event.GetSelection();
    if (selection < 0 || m_category >= static_cast<int>(m_Categories.size()) ||
        selection >= static_cast<int>(m_Categories[m_category].m_ThemePaths.size()))
        return;
    m_theme = selection;
    UpdatePreview();
}

void CThemesDLG::OnThemeDoubleClick(wxCommandEvent& event)
{
    OnTheme(event);
    wxCommandEvent ok;
    OnOK(ok);
}

void CThemesDLG::OnOK(wxCommandEvent&)
{
    // With no theme listed there is nothing to start from.
    if (m_category >= static_cast<int>(m_Categories.size()) ||
        m_theme >= static_cast<int>(m_Categories[m_category].m_ThemePaths.size())) {
        m_chosenPath.clear();
        EndModal(wxID_CANCEL);
        return;
    }
    m_chosenPath = m_Categories[m_category].m_ThemePaths[m_theme];
    EndModal(wxID_OK);
}

void CThemesDLG::OnStore(wxCommandEvent&)
{
    wxLaunchDefaultBrowser(kThemeStoreAddress);
}

void CThemesDLG::OnPaintPreview(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(m_pPreview);
    const wxSize size = m_pPreview->GetClientSize();
    const int w = size.GetWidth();
    const int h = size.GetHeight();
    // A white area in a two-pixel sunken frame.
    const auto fill = [&dc](const wxColour& colour, int x, int y, int width, int height) {
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(colour));
        dc.DrawRectangle(x, y, width, height);
    };
    fill(wxColour(255, 255, 255), 0, 0, w, h);
    fill(wxColour(128, 128, 128), 0, 0, w - 1, h - 1);
    fill(wxColour(223, 223, 223), 1, 1, w - 2, h - 2);
    fill(wxColour(0, 0, 0), 1, 1, w - 3, h - 3);
    fill(wxColour(255, 255, 255), 2, 2, w - 4, h - 4);
    if (m_preview.IsOk())
        dc.DrawBitmap(m_preview, m_previewAt);
}
