#include "app/publish/connection_test.h"

#include <cstdio>
#include <fstream>

#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "platform/ftp/ftp.h"
#include "platform/win/path.h"

namespace {

constexpr const char* kStepNames[CConnectionTest::kStepCount] = {
    "Testing Server and Logon...", "Testing Folder Creation...", "Testing Uploads...",
    "Testing Downloads...",        "Testing File Deletion...",   "Testing Folder Deletion...",
};
constexpr const char* kOk = "OK";
constexpr const char* kError = "ERROR";
constexpr const char* kCancelled = "Cancelled";
constexpr const char* kDone = "Done: No errors were found.";
constexpr const char* kCancelledByUser = "Cancelled: Test Sequence Cancelled by User.";
constexpr const char* kErrorPrefix = "Error: ";
constexpr const char* kUnknownError = "A System or Unknown Error Occurred.";

// The WWW folder's components, separated by "\" or "/", empty ones left out.
std::vector<std::string> FolderComponents(const std::string& folder)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : folder + "/") {
        if (c != '/' && c != '\\') {
            part.push_back(c);
        } else if (!part.empty()) {
            parts.push_back(part);
            part.clear();
        }
    }
    return parts;
}

} // namespace

CConnectionTest::CConnectionTest(const CFtpProfileArray* profiles)
    : m_stepNames(std::begin(kStepNames), std::end(kStepNames))
{
    CAppSettings* settings = GetAppSettings();
    if (profiles)
        m_profiles = *profiles;
    else if (settings)
        settings->GetFtpProfiles(&m_profiles);
    if (m_profiles.empty())
        return;
    m_selected = 0;
    if (settings) {
        const CFtpProfile destination = settings->GetCurrentDestination();
        for (size_t i = 0; i < m_profiles.size(); ++i) {
            if (HaveSameFtpSettings(m_profiles[i], destination)) {
                m_selected = static_cast<int>(i);
                break;
            }
        }
    }
}

CConnectionTest::~CConnectionTest() = default;

void CConnectionTest::SelectProfile(int index)
{
    if (index >= 0 && index < static_cast<int>(m_profiles.size()))
        m_selected = index;
}

std::string CConnectionTest::LocalTestFilePath()
{
    return GetTempFolder() + kTestFile;
}

void CConnectionTest::RunTest()
{
    if (m_running || m_selected < 0)
        return;
    const CFtpProfile profile = m_profiles[m_selected];
    m_running = true;
    m_cancel = false;
    m_error = false;
    m_strError.clear();
    m_currentLine.clear();
    m_stepLines.clear();
    m_logLines.clear();
    m_progress = 0;
    // A text left from an earlier connection must not explain this run's failure.
    CFtp::m_strError.clear();
    Changed();

    for (int step = 0; step < kStepCount; ++step) {
        m_currentLine = m_stepNames[step] + " ";
        m_stepLines.push_back(m_currentLine);
        Changed();
        bool passed = false;
        try {
            switch (step) {
            case 0:
                passed = ConnectStep(profile);
                break;
            case 1:
                passed = FolderStep(profile);
                break;
            case 2:
                passed = UploadStep();
                break;
            case 3:
                passed = DownloadStep();
                break;
            case 4:
                passed = DeleteFileStep();
                break;
            default:
                passed = DeleteFolderStep();
                break;
            }
        } catch (...) {
            m_error = true;
            Failure();
            passed = false;
        }
        // Only the log-on and the folders can tell a cancel from a failure: later a cancel shows as the failure
        // of the call it broke off.
        const bool cancelShown = step < 2 && m_cancel;
        m_currentLine += cancelShown ? kCancelled : passed ? kOk : kError;
        m_stepLines.back() = m_currentLine;
        if (passed)
            ++m_progress;
        Changed();
        if (!passed)
            break;
    }

    if (m_ftp) {
        if (m_cancel || m_error)
            SetErrorText();
        m_ftp.reset();
    }
    m_stepLines.insert(m_stepLines.end(), {"", "--------------", ""});
    if (m_cancel)
        m_stepLines.push_back(kCancelledByUser);
    else if (m_error || m_progress < kStepCount)
        m_stepLines.push_back(m_strError);
    else
        m_stepLines.push_back(kDone);
    m_progress = kStepCount;
    m_running = false;
    Changed();
}

void CConnectionTest::Cancel()
{
    m_cancel = true;
    SetErrorText();
    if (m_ftp)
        m_ftp->DisconnectOnly();
}

void CConnectionTest::FtpLogCallback(const std::string& line)
{
    std::string shown = line;
    for (char& c : shown) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    m_logLines.push_back(shown);
    Changed();
}

bool CConnectionTest::ConnectStep(const CFtpProfile& profile)
{
    bool serverNotFound = false, loginFailed = false;
    auto log = [this](const std::string& line) { FtpLogCallback(line); };
    // Called while any call of the connection waits on the server, also when the server says nothing: the dialog
    // stays alive and its Cancel acts at once.
    auto progress = [this](int) {
        Changed();
        return m_cancel ? 0 : 1;
    };
    try {
        if (profile.m_nProxyType == 0) {
            m_ftp = std::make_unique<CFtp>(serverNotFound, loginFailed, m_cancel, profile.m_strServer, profile.m_nPort,
                                           profile.m_strUser, profile.m_strPassword, profile.m_bPassive, progress, log);
        } else {
            m_ftp = std::make_unique<CFtp>(serverNotFound, loginFailed, m_cancel, profile.m_strServer, profile.m_nPort,
                                           profile.m_strUser, profile.m_strPassword, profile.m_bPassive,
                                           profile.m_strProxyServer, profile.m_nProxyPort, profile.m_strProxyUser,
                                           profile.m_strProxyPassword,
                                           profile.m_nProxyType == 1 ? CFtp::SOCKS4 : CFtp::SOCKS5, progress, log);
        }
    } catch (const CFtpException&) {
        // The flags are not shown: the error text carries the reason.
        m_error = true;
    }
    if (m_ftp && !m_cancel)
        return true;
    Failure();
    return false;
}

bool CConnectionTest::FolderStep(const CFtpProfile& profile)
{
    for (const std::string& part : FolderComponents(profile.m_strWwwFolder)) {
        if (!m_ftp->chdir(part) && (!m_ftp->mkdir(part) || !m_ftp->chdir(part))) {
            Failure();
            return false;
        }
    }
    if (m_cancel) {
        Failure();
        return false;
    }
    if (!m_ftp->mkdir(kTestFolder)) {
        m_error = true;
        Failure();
        return false;
    }
    return true;
}

bool CConnectionTest::UploadStep()
{
    m_localFile = LocalTestFilePath();
    std::ofstream file(m_localFile, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < 128 && file; ++i)
        file << "QBX-";
    file.close();
    if (!file) {
        m_ftp->rmdir(kTestFolder);
        Failure();
        return false;
    }
    if (!m_ftp->chdir(kTestFolder)) {
        Failure();
        return false;
    }
    if (!m_ftp->put(m_localFile, kTestFile, false)) {
        if (m_ftp->chdir(".."))
            m_ftp->rmdir(kTestFolder);
        Failure();
        return false;
    }
    return true;
}

bool CConnectionTest::DownloadStep()
{
    std::remove(m_localFile.c_str());
    if (!m_ftp->get(m_localFile, kTestFile, false)) {
        m_ftp->remove(kTestFile);
        if (m_ftp->chdir(".."))
            m_ftp->rmdir(kTestFolder);
        Failure();
        return false;
    }
    return true;
}

bool CConnectionTest::DeleteFileStep()
{
    if (!m_ftp->remove(kTestFile)) {
        Failure();
        return false;
    }
    return true;
}

bool CConnectionTest::DeleteFolderStep()
{
    if (!m_ftp->chdir("..") || !m_ftp->rmdir(kTestFolder)) {
        Failure();
        return false;
    }
    return true;
}

void CConnectionTest::Failure()
{
    SetErrorText();
    if (m_ftp) {
        m_ftp->DisconnectOnly();
        m_ftp.reset();
    }
}

void CConnectionTest::SetErrorText()
{
    if (m_strError.empty())
        m_strError = kErrorPrefix + (CFtp::m_strError.empty() ? std::string(kUnknownError) : CFtp::m_strError);
}

void CConnectionTest::Changed()
{
    if (OnChange)
        OnChange();
}
