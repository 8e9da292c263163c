#include "app/dialogs/connection_test_dlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/gauge.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/timer.h>
#include <wx/xrc/xmlres.h>

namespace {

enum
{
    kCombo = 1496,
    kSteps = 1542,
    kLog = 1626,
    kBar = 1232,
    kTest = 1236,
    kCancel = 1243,
};

// Puts lines into the list, changing only what differs so that a long log is not rebuilt on every line, and keeps
// the last line selected and in view.
void ShowInList(wxListBox* list, const std::vector<std::string>& lines)
{
    const unsigned count = static_cast<unsigned>(lines.size());
    while (list->GetCount() > count)
        list->Delete(list->GetCount() - 1);
    for (unsigned i = 0; i < count; ++i) {
        const wxString line = wxString::FromUTF8(lines[i]);
        if (i >= list->GetCount())
            list->Append(line);
        else if (list->GetString(i) != line)
            list->SetString(i, line);
    }
    if (count > 0) {
        list->SetSelection(static_cast<int>(count) - 1);
        list->EnsureVisible(static_cast<int>(count) - 1);
    }
}

} // namespace

CConnectionTestDLG::CConnectionTestDLG(wxWindow* parent, const CFtpProfileArray* profiles) : m_test(profiles)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "584");
    if (!m_bLoaded)
        return;
    m_combo = dynamic_cast<wxChoice*>(FindWindow(kCombo));
    m_steps = dynamic_cast<wxListBox*>(FindWindow(kSteps));
    m_log = dynamic_cast<wxListBox*>(FindWindow(kLog));
    m_bar = dynamic_cast<wxGauge*>(FindWindow(kBar));
    m_bLoaded = m_combo && m_steps && m_log && m_bar && FindWindow(kTest) && FindWindow(kCancel);
    if (!m_bLoaded)
        return;
    for (const CFtpProfile& profile : m_test.GetProfiles())
        m_combo->Append(wxString::FromUTF8(profile.m_strName));
    if (m_test.GetSelectedProfile() >= 0)
        m_combo->SetSelection(m_test.GetSelectedProfile());
    m_combo->Bind(wxEVT_CHOICE, [this](wxCommandEvent& event) { m_test.SelectProfile(event.GetSelection()); });
    m_bar->SetRange(CConnectionTest::kStepCount);
    m_bar->Hide();
    m_hideBar = std::make_unique<wxTimer>(this);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { m_bar->Hide(); });
    m_test.OnChange = [this] {
        ShowLines();
        // The window repaints and its Cancel button answers while the test's FTP call runs.
        wxTheApp->SafeYieldFor(nullptr, wxEVT_CATEGORY_UI | wxEVT_CATEGORY_USER_INPUT);
    };
    Bind(wxEVT_BUTTON, &CConnectionTestDLG::OnTestButton, this, kTest);
    Bind(wxEVT_BUTTON, &CConnectionTestDLG::OnCancelButton, this, kCancel);
    Bind(wxEVT_BUTTON, &CConnectionTestDLG::OnOk, this, wxID_OK);
    Bind(wxEVT_CLOSE_WINDOW, &CConnectionTestDLG::OnClose, this);
    EnableButtons();
    GetSizer()->SetSizeHints(this);
    CentreOnParent();
}

CConnectionTestDLG::~CConnectionTestDLG()
{
    m_test.OnChange = nullptr;
}

void CConnectionTestDLG::ShowLines()
{
    ShowInList(m_steps, m_test.GetStepLines());
    ShowInList(m_log, m_test.GetLogLines());
    m_bar->SetValue(m_test.GetProgress());
    Update();
}

void CConnectionTestDLG::EnableButtons()
{
    const bool running = m_test.IsRunning();
    m_combo->Enable(m_test.CanTest() && !running);
    FindWindow(kTest)->Enable(m_test.CanTest() && !running);
    FindWindow(kCancel)->Enable(running);
    FindWindow(wxID_OK)->Enable(!running);
}

void CConnectionTestDLG::OnTestButton(wxCommandEvent&)
{
    if (m_test.IsRunning() || !m_test.CanTest())
        return;
    m_hideBar->Stop();
    m_bar->SetValue(0);
    m_bar->Show();
    Layout();
    FindWindow(kTest)->Disable();
    FindWindow(kCancel)->Enable();
    FindWindow(wxID_OK)->Disable();
    m_combo->Disable();
    m_test.RunTest();
    ShowLines();
    m_bar->SetValue(CConnectionTest::kStepCount);
    EnableButtons();
    m_hideBar->StartOnce(1000);
}

void CConnectionTestDLG::OnCancelButton(wxCommandEvent&)
{
    if (!m_test.IsRunning())
        return;
    FindWindow(kCancel)->Disable();
    m_test.Cancel();
}

void CConnectionTestDLG::OnClose(wxCloseEvent& event)
{
    // The window stays while a test runs inside it; closing it then cancels the test.
    if (m_test.IsRunning()) {
        m_test.Cancel();
        event.Veto();
        return;
    }
    EndModal(wxID_OK);
}

void CConnectionTestDLG::OnOk(wxCommandEvent&)
{
    if (!m_test.IsRunning())
        EndModal(wxID_OK);
}

void RunConnectionTest(wxWindow* parent, const CFtpProfileArray* profiles)
{
    CConnectionTestDLG dialog(parent, profiles);
    if (dialog.IsOk())
        dialog.ShowModal();
}
