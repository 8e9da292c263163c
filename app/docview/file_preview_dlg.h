#pragma once

// The open dialog for site and theme files: the toolkit's file chooser with a panel below it that previews the
// chosen file (its thumbnail, the site's name, its numbers of pages and objects and its last upload). What the
// panel shows is worked out by CFilePreview.

#include <string>
#include <wx/dialog.h>
#include <wx/filectrl.h> // wxFileCtrl names the toolkit's own class, so it cannot be declared ahead

class wxPanel;

class CFilePreviewDLG : public wxDialog
{
public:
    // folder and name: where the chooser starts and the file it offers; filter in wx's "label|pattern" form.
    CFilePreviewDLG(wxWindow* parent, const std::string& title, const std::string& folder, const std::string& name,
                    const std::string& filter);

    bool IsOk() const { return m_bLoaded; }
    // The chosen file after OK.
    const std::string& GetPath() const { return m_strPath; }
    wxFileCtrl* GetFileCtrl() const { return m_fileCtrl; }

    // Brings the panel up to date with the chooser's selection.
    void UpdatePreview();

private:
    void ShowTexts();
    void OnSelectionChanged(wxFileCtrlEvent& event);
    void OnFileActivated(wxFileCtrlEvent& event);
    void OnOK(wxCommandEvent& event);
    void OnPaintBox(wxPaintEvent& event);
    bool Accept();

    bool m_bLoaded = false;
    std::string m_strPath;
    wxFileCtrl* m_fileCtrl = nullptr;
    wxPanel* m_box = nullptr;
};
