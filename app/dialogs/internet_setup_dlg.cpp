#include "app/dialogs/internet_setup_dlg.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/connection_test_dlg.h"
#include "app/docview/message_dlg.h"
#include "app/model/app_settings.h"

namespace {

enum
{
    kCombo = 1496,
    kServer = 1190,
    kUser = 1191,
    kPassword = 1193,
    kFolder = 1199,
    kAdvanced = 1001,
    kSave = 1002,
    kDelete = 1507,
    kTest = 1236,
    kPort = 1002,
    kPassive = 1501,
    kStandard = 1001,
    kProxyType = 1520,
    kProxyServer = 1503,
    kProxyPort = 1504,
    kProxyUser = 1505,
    kProxyPassword = 1506,
    kProfileName = 1000,
};

std::string Text(wxWindow* window, int id)
{
    auto* edit = dynamic_cast<wxTextCtrl*>(window->FindWindow(id));
    return edit ? std::string(edit->GetValue().utf8_str()) : std::string();
}

void ShowText(wxWindow* window, int id, const std::string& text)
{
    if (auto* edit = dynamic_cast<wxTextCtrl*>(window->FindWindow(id)))
        edit->ChangeValue(wxString::FromUTF8(text));
}

bool RunSetupQuestion(wxWindow* parent, int id)
{
    CSetupQuestionDLG question(parent, id);
    return question.IsOk() && question.ShowModal() == wxID_OK;
}

} // namespace

CInternetSetupDLG::CInternetSetupDLG(wxWindow* parent, CAppSettings& settings) : m_settings(settings)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "407");
    if (!m_bLoaded)
        return;
    m_combo = dynamic_cast<wxChoice*>(FindWindow(kCombo));
    m_server = dynamic_cast<wxTextCtrl*>(FindWindow(kServer));
    m_user = dynamic_cast<wxTextCtrl*>(FindWindow(kUser));
    m_password = dynamic_cast<wxTextCtrl*>(FindWindow(kPassword));
    m_pFolder = dynamic_cast<wxTextCtrl*>(FindWindow(kFolder));
    m_bLoaded = m_combo && m_server && m_user && m_password && m_pFolder;
    if (!m_bLoaded)
        return;
    m_setup.Load(settings);
    ShowFields();
    for (wxTextCtrl* edit : {m_server, m_user, m_password, m_pFolder})
        edit->Bind(wxEVT_TEXT, &CInternetSetupDLG::OnText, this);
    m_combo->Bind(wxEVT_CHOICE, &CInternetSetupDLG::OnChooseProfile, this);
    Bind(wxEVT_BUTTON, &CInternetSetupDLG::OnSave, this, kSave);
    Bind(wxEVT_BUTTON, &CInternetSetupDLG::OnDelete, this, kDelete);
    Bind(wxEVT_BUTTON, &CInternetSetupDLG::OnAdvanced, this, kAdvanced);
    Bind(wxEVT_BUTTON, &CInternetSetupDLG::OnTest, this, kTest);
    Bind(wxEVT_BUTTON, &CInternetSetupDLG::OnOk, this, wxID_OK);
    GetSizer()->SetSizeHints(this);
    CentreOnScreen();
}

bool CInternetSetupDLG::Show(bool show)
{
    const bool changed = wxDialog::Show(show);
    if (show && m_bLoaded) {
        if (m_focusServer)
            m_server->SetFocus();
        else if (m_focusUser)
            m_user->SetFocus();
    }
    return changed;
}

void CInternetSetupDLG::RefreshCombo()
{
    const ProfileComboState state = m_setup.GetComboState();
    m_combo->Clear();
    for (const std::string& name : state.items)
        m_combo->Append(wxString::FromUTF8(name));
    m_combo->SetSelection(state.selection);
    m_combo->Enable(state.comboEnabled);
    FindWindow(kSave)->Enable(state.saveEnabled);
    FindWindow(kDelete)->Enable(state.deleteEnabled);
}

void CInternetSetupDLG::ShowFields()
{
    m_showingFields = true;
    const CFtpProfile& fields = m_setup.Fields();
    ShowText(this, kServer, fields.m_strServer);
    ShowText(this, kUser, fields.m_strUser);
    ShowText(this, kPassword, fields.m_strPassword);
    ShowText(this, kFolder, fields.m_strWwwFolder);
    m_showingFields = false;
    RefreshCombo();
}

void CInternetSetupDLG::OnText(wxCommandEvent& event)
{
    if (m_showingFields)
        return;
    CFtpProfile& fields = m_setup.Fields();
    const std::string text = Text(this, event.GetId());
    switch (event.GetId()) {
    case kServer:
        fields.m_strServer = text;
        break;
    case kUser:
        fields.m_strUser = text;
        break;
    case kPassword:
        fields.m_strPassword = text;
        break;
    case kFolder:
        fields.m_strWwwFolder = text;
        break;
    default:
        return;
    }
    RefreshCombo();
}

void CInternetSetupDLG::OnChooseProfile(wxCommandEvent& event)
{
    m_setup.ChooseComboItem(event.GetSelection());
    ShowFields();
}

void CInternetSetupDLG::OnSave(wxCommandEvent&)
{
    CSaveProfileDLG dialog(this);
    if (!dialog.IsOk() || dialog.ShowModal() != wxID_OK)
        return;
    m_setup.SaveProfile(dialog.GetProfileName());
    RefreshCombo();
}

void CInternetSetupDLG::OnDelete(wxCommandEvent&)
{
    if (!m_setup.IsMatched() || !RunSetupQuestion(this, 541))
        return;
    m_setup.DeleteSelectedProfile();
    ShowFields();
}

void CInternetSetupDLG::OnAdvanced(wxCommandEvent&)
{
    CAdvancedFtpSettingsDLG dialog(this, m_setup.Fields());
    if (!dialog.IsOk() || dialog.ShowModal() != wxID_OK)
        return;
    m_setup.TakeAdvanced(dialog.GetSettings());
    RefreshCombo();
}

void CInternetSetupDLG::OnTest(wxCommandEvent&)
{
    const CFtpProfileArray& profiles = m_setup.Profiles();
    RunConnectionTest(this, profiles.empty() ? nullptr : &profiles);
}

void CInternetSetupDLG::OnOk(wxCommandEvent&)
{
    if (m_setup.Store(m_settings)) {
        EndModal(wxID_OK);
        return;
    }
    if (!RunSetupQuestion(this, 5018))
        EndModal(wxID_CANCEL);
}

CAdvancedFtpSettingsDLG::CAdvancedFtpSettingsDLG(wxWindow* parent, const CFtpProfile& settings) : m_settings(settings)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "539");
    m_proxyType = m_bLoaded ? dynamic_cast<wxChoice*>(FindWindow(kProxyType)) : nullptr;
    m_bLoaded = m_proxyType && dynamic_cast<wxCheckBox*>(FindWindow(kPassive));
    if (!m_bLoaded)
        return;
    m_settings.m_nProxyType = ShownProxyType(m_settings.m_nProxyType);
    ShowValues();
    m_proxyType->Bind(wxEVT_CHOICE, &CAdvancedFtpSettingsDLG::OnProxyType, this);
    Bind(wxEVT_BUTTON, &CAdvancedFtpSettingsDLG::OnStandard, this, kStandard);
    Bind(wxEVT_BUTTON, &CAdvancedFtpSettingsDLG::OnOk, this, wxID_OK);
    GetSizer()->SetSizeHints(this);
    CentreOnParent();
}

void CAdvancedFtpSettingsDLG::ShowValues()
{
    ShowText(this, kPort, std::to_string(m_settings.m_nPort));
    dynamic_cast<wxCheckBox*>(FindWindow(kPassive))->SetValue(m_settings.m_bPassive);
    m_proxyType->SetSelection(m_settings.m_nProxyType);
    ShowProxyValues();
}

void CAdvancedFtpSettingsDLG::ShowProxyValues()
{
    const bool proxy = m_settings.m_nProxyType != 0;
    ShowText(this, kProxyServer, proxy ? m_settings.m_strProxyServer : std::string());
    ShowText(this, kProxyPort, proxy ? std::to_string(m_settings.m_nProxyPort) : std::string());
    ShowText(this, kProxyUser, proxy ? m_settings.m_strProxyUser : std::string());
    ShowText(this, kProxyPassword, proxy ? m_settings.m_strProxyPassword : std::string());
    for (int id : {kProxyServer, kProxyPort, kProxyUser, kProxyPassword})
        FindWindow(id)->Enable(proxy);
}

void CAdvancedFtpSettingsDLG::ReadEdits()
{
    m_settings.m_nPort = ParsePortText(Text(this, kPort));
    m_settings.m_bPassive = dynamic_cast<wxCheckBox*>(FindWindow(kPassive))->GetValue();
    // Disabled proxy edits show nothing; the values they held stay.
    if (m_settings.m_nProxyType == 0)
        return;
    m_settings.m_strProxyServer = Text(this, kProxyServer);
    m_settings.m_nProxyPort = ParsePortText(Text(this, kProxyPort));
    m_settings.m_strProxyUser = Text(this, kProxyUser);
    m_settings.m_strProxyPassword = Text(this, kProxyPassword);
}

void CAdvancedFtpSettingsDLG::OnProxyType(wxCommandEvent& event)
{
    ReadEdits();
    m_settings.m_nProxyType = ShownProxyType(event.GetSelection());
    ShowProxyValues();
}

void CAdvancedFtpSettingsDLG::OnStandard(wxCommandEvent&)
{
    SetStandardFtpSettings(m_settings);
    ShowValues();
}

void CAdvancedFtpSettingsDLG::OnOk(wxCommandEvent&)
{
    ReadEdits();
    if (const int wrong = CheckAdvancedPorts(m_settings)) {
        CMessageDlg(this, GetTitle(), "A port number lies between 1 and 65535.", wxOK, MessageIcon::error).ShowModal();
        FindWindow(wrong)->SetFocus();
        return;
    }
    EndModal(wxID_OK);
}

CSaveProfileDLG::CSaveProfileDLG(wxWindow* parent)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "540");
    m_name = m_bLoaded ? dynamic_cast<wxTextCtrl*>(FindWindow(kProfileName)) : nullptr;
    m_bLoaded = m_name != nullptr;
    if (!m_bLoaded)
        return;
    FindWindow(wxID_OK)->Disable();
    m_name->Bind(wxEVT_TEXT,
                 [this](wxCommandEvent&) { FindWindow(wxID_OK)->Enable(IsProfileNameUsable(GetProfileName())); });
    GetSizer()->SetSizeHints(this);
    CentreOnParent();
    m_name->SetFocus();
}

std::string CSaveProfileDLG::GetProfileName() const
{
    return std::string(m_name->GetValue().utf8_str());
}

CSetupQuestionDLG::CSetupQuestionDLG(wxWindow* parent, int id)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, std::to_string(id));
    if (!m_bLoaded)
        return;
    GetSizer()->SetSizeHints(this);
    CentreOnParent();
}

bool RunInternetSetup(wxWindow* parent, CAppSettings& settings, int focus)
{
    CInternetSetupDLG dialog(parent, settings);
    if (!dialog.IsOk())
        return false;
    dialog.m_focusServer = focus == 1;
    dialog.m_focusUser = focus == 2;
    return dialog.ShowModal() == wxID_OK;
}
