#pragma once

// The notice dialog that shows every row of the notice table, and the missing-document dialog with its Browse
// button. Both are modal and run on the caller's stack.

#include <functional>
#include <string>
#include <wx/dialog.h>

#include "app/dialogs/notice_table.h"

class wxCheckBox;

// Centres the dialog as its placement says. The remembered centre comes from the settings record; without one the
// dialog centres over its owner.
void PlaceDialog(wxDialog& dialog, NoticePlacement placement);
// Stores the dialog's centre as the remembered one.
void StoreDialogCentre(const wxDialog& dialog);
// Escape ends the dialog as Cancel does, storing nothing, whether a Cancel button shows or not.
void EscapeCancels(wxDialog& dialog);
// Puts the message-box icon into the dialog's icon (1515) and text, wrapped, into its text (1551).
void SetIconAndText(wxDialog& dialog, NoticeIcon icon, const wxString& text);

class CNoticeTableDLG : public wxDialog
{
public:
    // The notice of the row, showing text in place of the row's own string when it is given.
    CNoticeTableDLG(const NoticeRow& row, wxWindow* parent, const std::string& text = {});

    // The build error's page and reason, shown under the text.
    void SetDetails(const std::string& pageName, const std::string& reason);

    bool IsOk() const { return m_bLoaded; }
    // wxID_OK or wxID_CANCEL.
    int ShowModal() override;
    bool IsChecked() const;

private:
    void OnOK(wxCommandEvent& event);
    void OnCheck(wxCommandEvent& event);

    NoticeRow m_row;
    bool m_bLoaded = false;
    wxCheckBox* m_check = nullptr;
};

// Runs a notice of the table by its number: IDOK (1) or IDCANCEL (2); IDCANCEL for a number without a row.
int RunNotice(int id, wxWindow* parent);

// An object links to a document that does not exist. OK stores the centre and ends with IDOK; Browse asks for the
// document, sets the browse flag whether one was chosen or not, and ends with IDCANCEL.
class CMissingDocumentDLG : public wxDialog
{
public:
    CMissingDocumentDLG(wxWindow* parent, const std::string& missingPath);

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;

    // Asks for a file; true with its path. The program's file dialog until replaced.
    std::function<bool(std::string&)> m_chooseFile;

    std::string m_missingPath;
    std::string m_replacementPath;
    bool m_browsed = false;

private:
    void OnOK(wxCommandEvent& event);
    void OnBrowse(wxCommandEvent& event);

    bool m_bLoaded = false;
};
