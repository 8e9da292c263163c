#pragma once

// The Internet connection test window over the test's engine: the profile to test, the result line of every step,
// the FTP conversation, a bar over the six steps, and Cancel while a test runs.

#include <memory>
#include <wx/dialog.h>

#include "app/model/ftp_profile.h"
#include "app/publish/connection_test.h"

class wxChoice;
class wxListBox;
class wxGauge;
class wxTimer;

class CConnectionTestDLG : public wxDialog
{
public:
    // The profiles to choose from, or with null the settings' stored ones.
    CConnectionTestDLG(wxWindow* parent, const CFtpProfileArray* profiles);
    ~CConnectionTestDLG() override;
    bool IsOk() const { return m_bLoaded; }
    CConnectionTest& GetTest() { return m_test; }

private:
    void ShowLines();
    void EnableButtons();
    void OnTestButton(wxCommandEvent& event);
    void OnCancelButton(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);
    void OnOk(wxCommandEvent& event);

    CConnectionTest m_test;
    wxChoice* m_combo = nullptr;
    wxListBox* m_steps = nullptr;
    wxListBox* m_log = nullptr;
    wxGauge* m_bar = nullptr;
    std::unique_ptr<wxTimer> m_hideBar;
    bool m_bLoaded = false;
};

// Runs the test window modally.
void RunConnectionTest(wxWindow* parent, const CFtpProfileArray* profiles);
