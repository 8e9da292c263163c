// The Internet setup and the connection test on a display, driven by events, each written as a picture into
// test-output/dialogs/ for a person to look at. The connection test runs against the loopback FTP server.

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/gauge.h>
#include <wx/listbox.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include "app/dialogs/connection_test_dlg.h"
#include "app/dialogs/dialogs_test_support.h"
#include "app/dialogs/internet_setup_dlg.h"
#include "app/dialogs/upload_progress_dlg.h"
#include "app/docview/message_dlg.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "app/publish/upload_progress.h"
#include "testing/ftp_test_servers.h"
#include "testing/gui_settle.h"

namespace {

using ftp_test::FtpServer;
using ftp_test::TheFtpServer;

void Later(std::function<void()> action)
{
    wxTheApp->CallAfter(std::move(action));
}

void Type(wxWindow& window, int id, const std::string& text)
{
    auto* edit = dynamic_cast<wxTextCtrl*>(window.FindWindow(id));
    ASSERT_NE(edit, nullptr) << id;
    edit->SetValue(wxString::FromUTF8(text)); // sends the text event a typing user sends
}

void Choose(wxWindow& window, int id, int item)
{
    auto* choice = dynamic_cast<wxChoice*>(window.FindWindow(id));
    ASSERT_NE(choice, nullptr) << id;
    choice->SetSelection(item);
    wxCommandEvent event(wxEVT_CHOICE, id);
    event.SetEventObject(choice);
    event.SetInt(item);
    choice->ProcessWindowEvent(event);
}

// The innermost modal dialog: the one opened last.
wxDialog* ModalDialog()
{
    wxDialog* found = nullptr;
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<wxDialog*>(window); dialog && dialog->IsModal() && dialog->IsShown())
            found = dialog;
    return found;
}

struct Step
{
    template <class Action> Step(Action action) : run(std::move(action)) {}
    std::function<void()> run;
    bool inner = false;
};

Step Inner(std::function<void()> action)
{
    Step step(std::move(action));
    step.inner = true;
    return step;
}

class SettingsServices : public NullCoreServices, public NullCurrentState, public NullModelDialogs
{
public:
    CAppSettings* GetAppSettings() override { return &settings; }
    CAppSettings settings;
};

class SetupWindows : public DialogOwnerTest<SettingsServices>
{
protected:
    // Runs the dialog modally while the steps, called one after the other from inside its loop (and from inside
    // the loops of the dialogs they open), drive it. A step that opens a dialog clicks last, through Later; a step
    // on the dialog it opens is an Inner one, run inside that dialog's loop, and the steps after it wait until that
    // loop has ended and the handler that opened it has returned.
    int RunModal(wxDialog& dialog, std::vector<Step> steps)
    {
        size_t done = 0;
        wxEventLoopBase* outer = nullptr;
        // A step that must wait tries again from a timer: a loop that is ending runs every pending call first, and
        // one that queued itself again would keep it from ending.
        wxTimer retry;
        std::function<void()> next;
        retry.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { next(); });
        next = [&] {
            if (done >= steps.size())
                return;
            if (!outer)
                outer = wxEventLoopBase::GetActive();
            if ((wxEventLoopBase::GetActive() != outer) != steps[done].inner) {
                retry.StartOnce(10);
                return;
            }
            steps[done++].run();
            // Nothing stays queued once the last step ran: it would outlive this function.
            if (done < steps.size())
                wxTheApp->CallAfter(next);
        };
        wxTheApp->CallAfter(next);
        const int result = dialog.ShowModal();
        EXPECT_EQ(done, steps.size());
        return result;
    }
};

TEST(UploadDestination, ServerAndFolderJoinWithOneSlash)
{
    const struct
    {
        const char* folder;
        const char* shown;
    } cases[] = {{"www/", "ftp.example.org/www/"}, {"/www/", "ftp.example.org/www/"}, {"//", "ftp.example.org/"},
                 {"", "ftp.example.org/"}};
    for (const auto& c : cases) {
        CAppSettings settings;
        settings.m_ftpServer = "ftp.example.org";
        settings.m_ftpFolder = c.folder;
        EXPECT_EQ(UploadDestinationText(settings), c.shown) << c.folder;
    }
}

TEST_F(SetupWindows, SetupSavesAProfileAndStoresTheDestination)
{
    CInternetSetupDLG dialog(owner, services.settings);
    ASSERT_TRUE(dialog.IsOk());
    const int result = RunModal(
        dialog, {
                    [&] {
                        Type(dialog, 1190, "ftp.example.org");
                        Type(dialog, 1191, "ann");
                        Type(dialog, 1193, "secret");
                        Type(dialog, 1199, "/site/");
                        EXPECT_TRUE(dialog.FindWindow(1002)->IsEnabled());
                        EXPECT_FALSE(dialog.FindWindow(1507)->IsEnabled());
                        EXPECT_FALSE(dialog.FindWindow(1496)->IsEnabled());
                        SaveDialogPicture(dialog, "407");
                        Later([&] { Click(dialog, 1002); }); // Save opens the name dialog, answered by the next step
                    },
                    Inner([&] {
                        wxDialog* name = ModalDialog();
                        ASSERT_NE(name, nullptr);
                        EXPECT_FALSE(name->FindWindow(wxID_OK)->IsEnabled());
                        Type(*name, 1000, "   ");
                        EXPECT_FALSE(name->FindWindow(wxID_OK)->IsEnabled());
                        Type(*name, 1000, "Work");
                        EXPECT_TRUE(name->FindWindow(wxID_OK)->IsEnabled());
                        Click(*name, wxID_OK);
                    }),
                    [&] {
                        auto* combo = dynamic_cast<wxChoice*>(dialog.FindWindow(1496));
                        EXPECT_EQ(combo->GetStringSelection(), "Work");
                        EXPECT_TRUE(dialog.FindWindow(1507)->IsEnabled());
                        EXPECT_FALSE(dialog.FindWindow(1002)->IsEnabled());
                        Click(dialog, wxID_OK);
                    },
                });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(services.settings.m_ftpServer, "ftp.example.org");
    EXPECT_EQ(services.settings.m_ftpFolder, "/site/");
    CFtpProfileArray stored;
    services.settings.GetFtpProfiles(&stored);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].m_strName, "Work");
}

TEST_F(SetupWindows, SaveProfileDialog)
{
    CSaveProfileDLG dialog(owner);
    ASSERT_TRUE(dialog.IsOk());
    const int result = RunModal(dialog, {
                                            [&] {
                                                Type(dialog, 1000, "Work");
                                                SaveDialogPicture(dialog, "540");
                                                Click(dialog, wxID_CANCEL);
                                            },
                                        });
    EXPECT_EQ(result, wxID_CANCEL);
}

TEST_F(SetupWindows, RefusedFolderAsksAgainAndCancelStoresNothing)
{
    CInternetSetupDLG dialog(owner, services.settings);
    ASSERT_TRUE(dialog.IsOk());
    const int result = RunModal(dialog, {
                                            [&] {
                                                Type(dialog, 1190, "ftp.example.org");
                                                Type(dialog, 1199, "site/2003");
                                                Later([&] { Click(dialog, wxID_OK); });
                                            },
                                            Inner([&] {
                                                wxDialog* refusal = ModalDialog();
                                                ASSERT_NE(refusal, nullptr);
                                                EXPECT_EQ(refusal->GetTitle(), "Invalid Names");
                                                SaveDialogPicture(*refusal, "5018");
                                                Click(*refusal, wxID_CANCEL);
                                            }),
                                        });
    EXPECT_EQ(result, wxID_CANCEL);
    EXPECT_EQ(services.settings.m_ftpServer, "");
}

TEST_F(SetupWindows, DeleteAsksAndLoadsTheNextProfile)
{
    CFtpProfile work;
    work.m_strName = "Work";
    work.m_strServer = "ftp.work";
    work.m_nPort = 21;
    CFtpProfile home = work;
    home.m_strName = "Home";
    home.m_strServer = "ftp.home";
    CAppSettings& settings = services.settings;
    settings.SetFtpProfiles({work, home});
    settings.m_ftpServer = "ftp.work";
    CInternetSetupDLG dialog(owner, settings);
    ASSERT_TRUE(dialog.IsOk());
    RunModal(dialog, {
                         [&] { Later([&] { Click(dialog, 1507); }); },
                         Inner([&] {
                             wxDialog* question = ModalDialog();
                             ASSERT_NE(question, nullptr);
                             SaveDialogPicture(*question, "541");
                             Click(*question, wxID_OK);
                         }),
                         [&] {
                             EXPECT_EQ(dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1190))->GetValue(), "ftp.home");
                             EXPECT_EQ(dynamic_cast<wxChoice*>(dialog.FindWindow(1496))->GetStringSelection(), "Home");
                             Click(dialog, wxID_CANCEL);
                         },
                     });
    // Cancel keeps the stored list as it was.
    CFtpProfileArray stored;
    settings.GetFtpProfiles(&stored);
    EXPECT_EQ(stored.size(), 2u);
}

TEST_F(SetupWindows, AdvancedStandardClearsTheProxy)
{
    CFtpProfile fields;
    fields.m_nPort = 2121;
    fields.m_bPassive = true;
    fields.m_nProxyType = 2;
    fields.m_strProxyServer = "socks.example";
    fields.m_nProxyPort = 1080;
    CAdvancedFtpSettingsDLG dialog(owner, fields);
    ASSERT_TRUE(dialog.IsOk());
    const int result = RunModal(
        dialog, {
                    [&] {
                        EXPECT_TRUE(dialog.FindWindow(1503)->IsEnabled());
                        SaveDialogPicture(dialog, "539");
                        Choose(dialog, 1520, 0);
                        EXPECT_FALSE(dialog.FindWindow(1503)->IsEnabled());
                        EXPECT_EQ(dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1503))->GetValue(), "");
                        Choose(dialog, 1520, 1); // the proxy values come back
                        EXPECT_EQ(dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1503))->GetValue(), "socks.example");
                        Click(dialog, 1001);
                        EXPECT_EQ(dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1002))->GetValue(), "21");
                        EXPECT_FALSE(dynamic_cast<wxCheckBox*>(dialog.FindWindow(1501))->GetValue());
                        EXPECT_FALSE(dialog.FindWindow(1504)->IsEnabled());
                        Click(dialog, wxID_OK);
                    },
                });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(dialog.GetSettings().m_nPort, 21);
    EXPECT_EQ(dialog.GetSettings().m_nProxyType, 0);
}

TEST_F(SetupWindows, AdvancedRefusesAPortOutOfRangeInTheProgramsMessage)
{
    CAdvancedFtpSettingsDLG dialog(owner, CFtpProfile());
    ASSERT_TRUE(dialog.IsOk());
    const int result = RunModal(dialog, {
                                            [&] {
                                                Type(dialog, 1002, "70000");
                                                Later([&] { Click(dialog, wxID_OK); });
                                            },
                                            Inner([&] {
                                                auto* message = dynamic_cast<CMessageDlg*>(ModalDialog());
                                                ASSERT_NE(message, nullptr);
                                                EXPECT_EQ(message->GetParent(), &dialog);
                                                EXPECT_EQ(message->GetTitle(), dialog.GetTitle());
                                                auto* text = message->FindWindow(CMessageDlg::IDC_TEXT);
                                                ASSERT_NE(text, nullptr);
                                                EXPECT_EQ(text->GetLabel(), "A port number lies between 1 and 65535.");
                                                Click(*message, wxID_OK);
                                            }),
                                            // The dialog stays open with the port field ready for another try.
                                            [&] {
                                                EXPECT_TRUE(dialog.IsShown());
                                                EXPECT_EQ(wxWindow::FindFocus(), dialog.FindWindow(1002));
                                                Click(dialog, wxID_CANCEL);
                                            },
                                        });
    EXPECT_EQ(result, wxID_CANCEL);
}

class ConnectionTestWindow : public SetupWindows
{
protected:
    CFtpProfileArray Profiles(const std::string& password)
    {
        CFtpProfile profile;
        profile.m_strName = "Loopback";
        profile.m_strServer = "127.0.0.1";
        profile.m_nPort = TheFtpServer().Port();
        profile.m_strUser = FtpServer::kUser;
        profile.m_strPassword = password;
        profile.m_bPassive = true;
        return {profile};
    }
    static std::vector<std::string> Lines(wxDialog& dialog, int id)
    {
        std::vector<std::string> lines;
        auto* list = dynamic_cast<wxListBox*>(dialog.FindWindow(id));
        for (unsigned i = 0; list && i < list->GetCount(); ++i)
            lines.push_back(std::string(list->GetString(i).utf8_str()));
        return lines;
    }
};

TEST_F(ConnectionTestWindow, AllSixStepsPassAndTheLogHoldsNoPassword)
{
    if (!TheFtpServer().Running())
        GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
    const CFtpProfileArray profiles = Profiles(FtpServer::kPassword);
    CConnectionTestDLG dialog(owner, &profiles);
    ASSERT_TRUE(dialog.IsOk());
    RunModal(dialog, {
                         [&] {
                             EXPECT_FALSE(dialog.FindWindow(1243)->IsEnabled());
                             Click(dialog, 1236);
                             const std::vector<std::string> steps = Lines(dialog, 1542);
                             ASSERT_EQ(steps.size(), 10u);
                             for (size_t i = 0; i < 6; ++i)
                                 EXPECT_NE(steps[i].find("OK"), std::string::npos) << steps[i];
                             EXPECT_EQ(steps.back(), "Done: No errors were found.");
                             const std::vector<std::string> log = Lines(dialog, 1626);
                             EXPECT_FALSE(log.empty());
                             for (const std::string& line : log)
                                 EXPECT_EQ(line.find(FtpServer::kPassword), std::string::npos) << line;
                             EXPECT_TRUE(dialog.FindWindow(1236)->IsEnabled());
                             EXPECT_FALSE(dialog.FindWindow(1243)->IsEnabled());
                             SaveDialogPicture(dialog, "584");
                             Click(dialog, wxID_OK);
                         },
                     });
    EXPECT_FALSE(std::filesystem::exists(TheFtpServer().Home() + "qbx.test"));
}

TEST_F(ConnectionTestWindow, CancelButtonStopsTheRunningTest)
{
    if (!TheFtpServer().Running())
        GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
    const CFtpProfileArray profiles = Profiles(FtpServer::kPassword);
    CConnectionTestDLG dialog(owner, &profiles);
    ASSERT_TRUE(dialog.IsOk());
    // The Cancel button is pressed while the second step runs, from inside the window's own updates.
    std::function<void()> shown = dialog.GetTest().OnChange;
    dialog.GetTest().OnChange = [&] {
        shown();
        if (dialog.GetTest().GetStepLines().size() == 2 && dialog.FindWindow(1243)->IsEnabled())
            Click(dialog, 1243);
    };
    RunModal(dialog, {
                         [&] {
                             Click(dialog, 1236);
                             const std::vector<std::string> steps = Lines(dialog, 1542);
                             ASSERT_GE(steps.size(), 2u);
                             EXPECT_EQ(steps.back(), "Cancelled: Test Sequence Cancelled by User.");
                             EXPECT_TRUE(dialog.FindWindow(1236)->IsEnabled());
                             Click(dialog, wxID_OK);
                         },
                     });
}

TEST_F(ConnectionTestWindow, WrongPasswordEndsInAnError)
{
    if (!TheFtpServer().Running())
        GTEST_SKIP() << "no FTP server: " << TheFtpServer().Error();
    const CFtpProfileArray profiles = Profiles("wrong");
    CConnectionTestDLG dialog(owner, &profiles);
    ASSERT_TRUE(dialog.IsOk());
    RunModal(dialog, {
                         [&] {
                             Click(dialog, 1236);
                             const std::vector<std::string> steps = Lines(dialog, 1542);
                             ASSERT_FALSE(steps.empty());
                             EXPECT_NE(steps.front().find("ERROR"), std::string::npos) << steps.front();
                             EXPECT_EQ(steps.back().rfind("Error: ", 0), 0u) << steps.back();
                             Click(dialog, wxID_OK);
                         },
                     });
}

TEST_F(ConnectionTestWindow, NoProfilesLeaveTestDisabled)
{
    const CFtpProfileArray none;
    CConnectionTestDLG dialog(owner, &none);
    ASSERT_TRUE(dialog.IsOk());
    EXPECT_FALSE(dialog.FindWindow(1236)->IsEnabled());
    EXPECT_FALSE(dialog.FindWindow(1496)->IsEnabled());
}

TEST_F(SetupWindows, UploadProgressKeepsTheMainWindowDisabledAndCancelIsTheModels)
{
    CUploadProgress progress(4000);
    {
        CUploadProgressWindow window(owner, progress, nullptr, "ftp.example.org//site/");
        ASSERT_NE(window.GetDialog(), nullptr);
        EXPECT_FALSE(owner->IsEnabled());
        progress.SetStatusText("Sending index.html");
        progress.StepProgress(1000);
        window.Update(0);
        auto* bar = dynamic_cast<wxGauge*>(window.GetDialog()->FindWindow(1184));
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->GetValue(), 1000);
        EXPECT_EQ(dynamic_cast<wxTextCtrl*>(window.GetDialog()->FindWindow(1553))->GetValue(), "Sending index.html");
        SaveDialogPicture(*window.GetDialog(), "408");
        // Cancel leaves the window to the run, which sees the flag at its next step.
        Click(*window.GetDialog(), wxID_CANCEL);
        EXPECT_TRUE(progress.IsCancelled());
        EXPECT_TRUE(window.GetDialog()->IsShown());
        EXPECT_FALSE(progress.StepProgress(10));
    }
    Settle();
    EXPECT_TRUE(owner->IsEnabled());
}

} // namespace
