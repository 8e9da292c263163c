#pragma once

// The Internet connection test: against the real server of one FTP profile it does everything an upload needs (log
// on, make folders, upload, download and delete a small file, remove the test folder), one result line per step,
// and keeps the FTP conversation. This is the dialog's model; the dialog shows the lines and the bar and calls
// Cancel from its button.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/model/ftp_profile.h"

class CFtp;

class CConnectionTest
{
public:
    // The folder made in the WWW folder and the file sent into it, both removed again by a passing test.
    static constexpr const char* kTestFolder = "qbx.test";
    static constexpr const char* kTestFile = "qbx.txt";
    static constexpr int kStepCount = 6;

    // Copies the given profiles, or with null the settings' stored ones. Selects the first profile whose data fields
    // equal the settings' current destination, else the first one, or none when there are no profiles.
    explicit CConnectionTest(const CFtpProfileArray* profiles);
    ~CConnectionTest();
    CConnectionTest(const CConnectionTest&) = delete;
    CConnectionTest& operator=(const CConnectionTest&) = delete;

    const CFtpProfileArray& GetProfiles() const { return m_profiles; }
    // -1 when there is none.
    int GetSelectedProfile() const { return m_selected; }
    void SelectProfile(int index);
    // The profile choice and Test are enabled only with at least one profile.
    bool CanTest() const { return !m_profiles.empty(); }
    bool IsRunning() const { return m_running; }

    // The Test button: runs the six steps on the selected profile, stopping at the first that fails.
    void RunTest();
    // The Cancel button, pressed while the test runs (the dialog's windows are alive inside OnChange): the running
    // call fails and the sequence stops.
    void Cancel();

    // The steps list: one line per step begun (the last one is being built while its step runs), then after the
    // run a blank line, a rule, a blank line and the outcome.
    const std::vector<std::string>& GetStepLines() const { return m_stepLines; }
    // The FTP conversation of the test's connection.
    const std::vector<std::string>& GetLogLines() const { return m_logLines; }
    // The bar: 0..kStepCount, one more for every step that passed.
    int GetProgress() const { return m_progress; }

    // Called after every change of the lines or the bar, also while an FTP call runs: where the dialog repaints and
    // keeps its windows alive.
    std::function<void()> OnChange;

    // The log callback of the test's connection: the line with its CR and LF turned into blanks.
    void FtpLogCallback(const std::string& line);

    // The local copy of the test file in the private temporary folder: 512 bytes, "QBX-" 128 times.
    static std::string LocalTestFilePath();

private:
    bool ConnectStep(const CFtpProfile& profile);
    bool FolderStep(const CFtpProfile& profile);
    bool UploadStep();
    bool DownloadStep();
    bool DeleteFileStep();
    bool DeleteFolderStep();
    // A step failed: keeps the first error's text and drops the connection.
    void Failure();
    void SetErrorText();
    void Changed();

    CFtpProfileArray m_profiles;
    int m_selected = -1;
    std::vector<std::string> m_stepNames;
    std::vector<std::string> m_stepLines;
    std::vector<std::string> m_logLines;
    std::string m_strError;
    std::string m_currentLine;
    bool m_cancel = false;
    bool m_error = false;
    bool m_running = false;
    int m_progress = 0;
    std::unique_ptr<CFtp> m_ftp;
    std::string m_localFile;
};
