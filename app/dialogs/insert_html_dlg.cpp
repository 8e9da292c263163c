#include "app/dialogs/insert_html_dlg.h"

#include <wx/button.h>
#include <wx/notebook.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/docview/common_windows.h"
#include "platform/gui/text_bytes.h"

CInsertHtmlDLG::CInsertHtmlDLG(wxWindow* parent, const HtmlObjectTexts& texts) : m_texts(texts)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "497");
    if (!m_bLoaded)
        return;
    m_name = dynamic_cast<wxTextCtrl*>(FindWindow(1550));
    m_pCode[0] = dynamic_cast<wxTextCtrl*>(FindWindow(1548));
    m_pCode[1] = dynamic_cast<wxTextCtrl*>(FindWindow("header"));
    m_pCode[2] = dynamic_cast<wxTextCtrl*>(FindWindow("onload"));
    const std::string* code[] = {&texts.m_htmlCode, &texts.m_headerHtml, &texts.m_onloadCode};
    for (int i = 0; i < 3; ++i)
        if (m_pCode[i])
            m_pCode[i]->ChangeValue(BytesToWx(*code[i]));
    if (m_name)
        m_name->ChangeValue(BytesToWx(texts.m_strName));
    for (wxTextCtrl* text : {m_name, m_pCode[0], m_pCode[1], m_pCode[2]})
        if (text)
            UseEditContextMenu(*text);
    // A named object opens at its code, a new one at its name.
    if (!texts.m_strName.empty() && m_pCode[0])
        m_pCode[0]->SetFocus();
    else if (m_name)
        m_name->SetFocus();
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
    if (m_name)
        texts.m_strName = WxToBytes(m_name->GetValue());
    std::string* code[] = {&texts.m_htmlCode, &texts.m_headerHtml, &texts.m_onloadCode};
    for (int i = 0; i < 3; ++i)
        if (m_pCode[i])
            *code[i] = WxToBytes(m_pCode[i]->GetValue());
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

bool CInsertHtmlDLG::CanCutCode() const
{
    const wxTextCtrl* code = CurrentCode();
    return code && code->CanCut();
}

bool CInsertHtmlDLG::CanCopyCode() const
{
    const wxTextCtrl* code = CurrentCode();
    return code && code->CanCopy();
}

bool CInsertHtmlDLG::CanPasteCode() const
{
    const wxTextCtrl* code = CurrentCode();
    return code && code->CanPaste();
}

void CInsertHtmlDLG::OnRemoveFile()
{
    if (wxTextCtrl* code = CurrentCode())
        code->SetFocus();
}
