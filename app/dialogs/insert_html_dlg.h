#pragma once

// The Insert HTML dialog: the name of an HTML object and its body HTML, header HTML and onload code, one tab each.
// It works on copies; the caller stores them into the object when the dialog ends with OK.

#include <wx/dialog.h>

#include "app/model/services.h"

class wxTextCtrl;

class CInsertHtmlDLG : public wxDialog
{
public:
    CInsertHtmlDLG(wxWindow* parent, const HtmlObjectTexts& texts);
    bool IsOk() const { return m_bLoaded; }

    // The texts as the controls hold them now; the used files as they came.
    HtmlObjectTexts GetTexts() const;

    // Cut, Copy and Paste act on the code of the tab shown (the main window's Edit menu also reaches them, and so
    // does the context menu of the dialog's text fields, which sends its commands to the main window).
    void OnCut();
    void OnCopy();
    void OnPaste();
    bool CanCutCode() const;
    bool CanCopyCode() const;
    bool CanPasteCode() const;
    // Edit > Delete while the dialog is open. The used files are not listed, so none is selected to remove; the
    // code of the tab shown gets the focus back.
    void OnRemoveFile();

private:
    wxTextCtrl* CurrentCode() const;

    bool m_bLoaded = false;
    HtmlObjectTexts m_texts;
    wxTextCtrl* m_name = nullptr;
    wxTextCtrl* m_pCode[3] = {};
};
