#pragma once

// The themes browser: the categories on the left, the themes of the chosen one beside them and the chosen theme's
// picture on the right. OK or a double click on a theme gives its path; without a themes folder a notice says so
// and the browser does not open.

#include <string>
#include <vector>
#include <wx/bitmap.h>
#include <wx/dialog.h>

#include "app/dialogs/themes.h"

class wxListBox;
class wxPanel;

class CThemesDLG : public wxDialog
{
public:
    // themesFolder: an absolute path, as GetThemesFolder gives it.
    CThemesDLG(wxWindow* parent, const std::string& themesFolder);

    bool IsOk() const { return m_bLoaded; }
    // wxID_OK with the chosen theme in GetChosenPath, or wxID_CANCEL (also without a themes folder, after its notice,
    // or while no theme is listed).
    int ShowModal() override;

    const std::string& GetChosenPath() const { return m_chosenPath; }
    const std::vector<CThemeCategory>& GetCategories() const { return m_Categories; }
    int GetSelectedCategory() const { return m_category; }
    int GetSelectedTheme() const { return m_theme; }

    // The online theme store: a page on the maker's own (reserved, example) domain, like the About dialog's address.
    static constexpr const char* kThemeStoreAddress = "https://www.tallowmere-software.example/themes";

private:
    void FillThemeList();
    void UpdatePreview();
    void OnCategory(wxCommandEvent& event);
    void OnTheme(wxCommandEvent& event);
    void OnThemeDoubleClick(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);
    void OnStore(wxCommandEvent& event);
    void OnPaintPreview(wxPaintEvent& event);

    std::string m_themesFolder;
    std::string m_chosenPath;
    std::vector<CThemeCategory> m_Categories;
    ThemeScan m_scan = ThemeScan::noFolder;
    int m_category = 0;
    int m_theme = 0;
    bool m_bLoaded = false;
    wxListBox* m_categoryList = nullptr;
    wxListBox* m_themeList = nullptr;
    wxPanel* m_pPreview = nullptr;
    // The selected theme's picture, scaled for the preview area; invalid when it has none.
    wxBitmap m_preview;
    wxPoint m_previewAt;
};
