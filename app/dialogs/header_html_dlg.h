#pragma once

// The header HTML and onload dialog (5030): the HTML of a page's head and its onload code, each on a tab of its own.
// It opens at its smallest size and may be made larger.

#include <string>
#include <wx/dialog.h>

class wxNotebook;
class wxTextCtrl;

class CHeaderHtmlDLG : public wxDialog
{
public:
    CHeaderHtmlDLG(wxWindow* parent, const std::string& headerHtml, const std::string& onloadCode);

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;
    // After OK.
    const std::string& GetHeaderHtml() const { return m_headerHtml; }
    const std::string& GetOnloadCode() const { return m_onloadCode; }

private:
    wxTextCtrl* ShownEditor() const;

    bool m_bLoaded = false;
    std::string m_headerHtml;
    std::string m_onloadCode;
    wxNotebook* m_tabs = nullptr;
    wxTextCtrl* m_header = nullptr;
    wxTextCtrl* m_onload = nullptr;
};
