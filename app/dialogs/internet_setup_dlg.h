#pragma once

// The Internet setup window and the small dialogs it opens: the advanced FTP settings, the profile name, the
// question before a profile is deleted and the notice that refuses a WWW folder.

#include <string>
#include <wx/dialog.h>

#include "app/dialogs/internet_setup.h"

class wxChoice;
class wxTextCtrl;
class wxCheckBox;
struct CAppSettings;

class CInternetSetupDLG : public wxDialog
{
public:
    // Takes the destination and the profiles from the settings; OK stores them back.
    CInternetSetupDLG(wxWindow* parent, CAppSettings& settings);
    bool IsOk() const { return m_bLoaded; }

    // Set before the dialog is shown: where the focus starts.
    bool m_focusServer = false;
    bool m_focusUser = false;

    bool Show(bool show = true) override;
    const CInternetSetup& GetSetup() const { return m_setup; }

private:
    void RefreshCombo();
    void ShowFields();
    void OnText(wxCommandEvent& event);
    void OnChooseProfile(wxCommandEvent& event);
    void OnSave(wxCommandEvent& event);
    void OnDelete(wxCommandEvent& event);
    void OnAdvanced(wxCommandEvent& event);
    void OnTest(wxCommandEvent& event);
    void OnOk(wxCommandEvent& event);

    CAppSettings& m_settings;
    CInternetSetup m_setup;
    wxChoice* m_combo = nullptr;
    wxTextCtrl* m_server = nullptr;
    wxTextCtrl* m_user = nullptr;
    wxTextCtrl* m_password = nullptr;
    wxTextCtrl* m_pFolder = nullptr;
    bool m_bLoaded = false;
    bool m_showingFields = false;
};

class CAdvancedFtpSettingsDLG : public wxDialog
{
public:
    // Edits the port, passive mode and proxy values of settings; the other fields are left alone.
    CAdvancedFtpSettingsDLG(wxWindow* parent, const CFtpProfile& settings);
    bool IsOk() const { return m_bLoaded; }
    // The values as edited; read after OK.
    const CFtpProfile& GetSettings() const { return m_settings; }

private:
    void ShowValues();
    void ShowProxyValues();
    void ReadEdits();
    void OnProxyType(wxCommandEvent& event);
    void OnStandard(wxCommandEvent& event);
    void OnOk(wxCommandEvent& event);

    CFtpProfile m_settings;
    wxChoice* m_proxyType = nullptr;
    bool m_bLoaded = false;
};

class CSaveProfileDLG : public wxDialog
{
public:
    explicit CSaveProfileDLG(wxWindow* parent);
    bool IsOk() const { return m_bLoaded; }
    // The name as typed.
    std::string GetProfileName() const;

private:
    wxTextCtrl* m_name = nullptr;
    bool m_bLoaded = false;
};

// The delete question (541, Yes or No) and the refused WWW folder (5018, Try Again or Cancel): Yes and Try Again
// end with wxID_OK.
class CSetupQuestionDLG : public wxDialog
{
public:
    CSetupQuestionDLG(wxWindow* parent, int id);
    bool IsOk() const { return m_bLoaded; }

private:
    bool m_bLoaded = false;
};

// Runs the setup over the settings with the focus on nothing (0), the server (1) or the user name (2). Returns
// true when the destination was stored.
bool RunInternetSetup(wxWindow* parent, CAppSettings& settings, int focus);
