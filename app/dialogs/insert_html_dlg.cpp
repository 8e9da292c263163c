#include "app/dialogs/insert_html_dlg.h"

#include <wx/button.h>
#include <wx/notebook.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

namespace {

// The program's texts are Windows-1252 bytes.
wxString FromBytes(const std::string& text)
{
    return wxString(text.data(), wxCSConv(wxFONTENCODING_CP1252), text.size());
}

std::string ToBytes(const wxString& text)
{
    wxCSConv cp1252(wxFONTENCODING_CP1252);
    std::string bytes;
    for (wxUniChar ch : text) {
        const wchar_t wide[1] = {static_cast<wchar_t>(ch.GetValue())};
        char narrow[8];
        // A character the code page lacks becomes a question mark rather than emptying the whole text.
        bytes += cp1252.FromWChar(narrow, sizeof narrow, wide, 1) == 1 ? narrow[0] : '?';
    }
    return bytes;
}

} // namespace

CInsertHtmlDLG::CInsertHtmlDLG(wxWindow* parent, const HtmlObjectTexts& texts) : m_texts(texts)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "497");
    if (!m_bLoaded)
        return;
    m_pName = dynamic_cast<wxTextCtrl*>(FindWindow(1550));
    m_pCode[0] = dynamic_cast<wxTextCtrl*>(FindWindow(1548));
    m_pCode[1] = dynamic_cast<wxTextCtrl*>(FindWindow("header"));
    m_pCode[2] = dynamic_cast<wxTextCtrl*>(FindWindow("onload"));
    const std::string* code[] = {&texts.m_strHtmlCode, &texts.m_strHeaderHtml, &texts.m_strOnloadCode};
    for (int i = 0; i < 3; ++i)
        if (m_pCode[i])
            m_pCode[i]->ChangeValue(FromBytes(*code[i]));
    if (m_pName)
        m_pName->ChangeValue(FromBytes(texts.m_strName));
    // A named object opens at its code, a new one at its name.
    if (!texts.m_strName.empty() && m_pCode[0])
        m_pCode[0]->SetFocus();
    else if (m_pName)
        m_pName->SetFocus();
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnCut(); }, 1519);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnCopy(); }, 1520);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnPaste(); }, 1521);
    SetMinSize(FromDIP(wxSize(480, 400)));
    SetSize(FromDIP(wxSize(560, 440)));
    // It can grow but not shrink below the size it opened with.
    SetMinSize(GetSize());
    CentreOnParent();
}

HtmlObjectTexts CInsertHtmlDLG::GetTexts() const
{
    HtmlObjectTexts texts = m_texts;
    if (m_pName)
        texts.m_strName = ToBytes(m_pName->GetValue());
    std::string* code[] = {&texts.m_strHtmlCode, &texts.m_strHeaderHtml, &texts.m_strOnloadCode};
    for (int i = 0; i < 3; ++i)
        if (m_pCode[i])
            *code[i] = ToBytes(m_pCode[i]->GetValue());
    return texts;
}

wxTextCtrl* CInsertHtmlDLG::CurrentCode() const
{
    const auto* tabs = dynamic_cast<wxNotebook*>(FindWindow(1595));
    const int tab = tabs ? tabs->GetSelection() : 0;
    return tab >= 0 && tab < 3 ? m_pCode[tab] : nullptr;
}

void CInsertHtmlDLG::OnCut()
{
    if (wxTextCtrl* code = CurrentCode())
        code->Cut();
}

void CInsertHtmlDLG::OnCopy()
{
    if (wxTextCtrl* code = CurrentCode())
        code->Copy();
}

void CInsertHtmlDLG::OnPaste()
{
    if (wxTextCtrl* code = CurrentCode())
        code->Paste();
}
