#pragma once

// Small windows that several dialogs share: the two removal dialogs over a check list (browsers, included files),
// a rich text field with a Cut/Copy/Paste/Delete context menu, the prompt that only one website can be open at a
// time, and the bases of the file-placement wizard.

#include <string>
#include <vector>
#include <wx/checklst.h>
#include <wx/dialog.h>
#include <wx/panel.h>
#include <wx/propdlg.h>
#include <wx/textctrl.h>

#include "app/docview/removal_checks.h"

class CWebsite;
class CWizardSheet;

// A dialog listing items with a check each; after OK the caller removes the items whose state is 1.
class CRemoveItemsDLG : public wxDialog
{
public:
    // templateName is the dialog template of the resource folder; labels are the items' texts in order.
    CRemoveItemsDLG(wxWindow* parent, const char* templateName, const std::vector<std::string>& labels);

    // False when the dialog template could not be loaded; the dialog must not be shown then.
    bool IsReady() const { return m_pList != nullptr; }
    const std::vector<int>& GetStates() const { return m_checks.GetStates(); }
    wxCheckListBox* GetList() const { return m_pList; }

private:
    void OnCheckAll(wxCommandEvent& event);
    void OnClearAll(wxCommandEvent& event);
    void OnToggled(wxCommandEvent& event);
    void OnDoubleClick(wxCommandEvent& event);
    void UpdateButtons();

    CRemovalChecks m_checks;
    wxCheckListBox* m_pList = nullptr;
};

// The browsers the user added (their labels, description and version) / the site's included files (their local
// paths).
class CRemoveBrowserDLG : public CRemoveItemsDLG
{
public:
    CRemoveBrowserDLG(wxWindow* parent, const std::vector<std::string>& browserLabels);
};

class CRemoveIncludedFilesDLG : public CRemoveItemsDLG
{
public:
    CRemoveIncludedFilesDLG(const CWebsite& site, wxWindow* parent);
};

// Gives a text field the program's context menu (Cut, Copy, Paste, a separator, Delete) in place of the
// toolkit's own, on the right button's release and from the keyboard; its commands go to the main window as
// those of its Edit menu do, so the main window decides what they act on.
void UseEditContextMenu(wxTextCtrl& text);

// A rich text field with that context menu.
class CContextRichEdit : public wxTextCtrl
{
public:
    CContextRichEdit(wxWindow* parent, wxWindowID id, const wxString& value = wxString(),
                     const wxPoint& pos = wxDefaultPosition, const wxSize& size = wxDefaultSize, long style = 0);
};

// Only one website can be open at a time: ShowModal answers wxID_OK to close the open one, wxID_CANCEL to keep it.
class CCloseSiteDLG : public wxDialog
{
public:
    explicit CCloseSiteDLG(wxWindow* parent);
    bool IsReady() const { return m_ready; }

private:
    bool m_ready = false;
};

// A page of the file-placement wizard, made from a dialog template of the resource folder when there is one.
class CPropertyPageExt : public wxPanel
{
public:
    CPropertyPageExt(CWizardSheet& sheet, int templateId);

    int GetTemplateId() const { return m_templateId; }
    CWizardSheet* GetSheet() const { return m_sheet; }
    bool IsInitialized() const { return m_initialized; }

private:
    friend class CWizardSheet;
    int m_templateId;
    CWizardSheet* m_sheet = nullptr;
    bool m_initialized = false;
};

// The wizard's sheet. It stays hidden until the wizard allows it to show, so that the wizard can prepare its
// pages first. Its pages show one at a time, without tabs; a sheet without a caption takes its first page's title.
class CWizardSheet : public wxPropertySheetDialog
{
public:
    CWizardSheet(const wxString& caption, wxWindow* parent);

    void AddPage(CPropertyPageExt* page, const wxString& title = wxString());
    wxBookCtrlBase* CreateBookCtrl() override;
    // wxID_CANCEL at once while the sheet may not show.
    int DoModal();
    void SetShowAllowed(bool allowed) { m_showAllowed = allowed; }
    bool IsShowAllowed() const { return m_showAllowed; }
    bool Show(bool show = true) override;

private:
    bool m_showAllowed = false;
};
