#include "app/publish/site_upload.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unordered_set>

#include "app/build/linked_files.h"
#include "app/build/site_builder.h"
#include "app/model/app_settings.h"
#include "app/model/file_pair.h"
#include "app/model/included_file_list.h"
#include "app/model/services.h"
#include "app/publish/publish_host.h"
#include "app/model/site_paths.h"
#include "app/publish/changed_pages.h"
#include "app/publish/linked_documents.h"
#include "app/publish/local_output.h"
#include "app/publish/upload_progress.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/ftp/ftp.h"
#include "platform/resources/string_table.h"
#include "platform/win/codepage1252.h"
#include "platform/win/file.h"
#include "platform/win/path.h"

namespace {

// Each phase keeps its status line on screen a moment before the files start moving.
constexpr int kPhasePause = 1500;
constexpr int kPhaseRange = 4096;

long long FileSize(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? static_cast<long long>(st.st_size) : -1;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool IsUnsentPage(const std::string& name)
{
    return name == "error.html" || name == "noscript.html";
}

bool Contains(const std::vector<std::string>& list, const std::string& text)
{
    return std::find(list.begin(), list.end(), text) != list.end();
}

// The parts of a remote path between its separators, empty ones left out.
std::vector<std::string> PathParts(const std::string& path)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : path + "/") {
        if (c == '/' || c == '\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    return parts;
}

// A name an included-file list may add: inside the list's folder, no address or pattern.
bool IsSafeListedName(const std::string& name)
{
    if (name.empty() || name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':'))
        return false;
    for (const std::string& part : PathParts(name))
        if (part == "..")
            return false;
    return true;
}

bool EnterOrMake(CFtp& ftp, const std::string& folder)
{
    return ftp.chdir(folder) || (ftp.mkdir(folder) && ftp.chdir(folder));
}

bool IsConnectionLost(int code)
{
    return code == CFtp::errorConnectionClosed || code == CFtp::errorTimedOut || code == CFtp::errorNetwork;
}

// Logs in to the settings' destination, through the proxy when one is set. On failure the user is told why (with
// the setup offered where the server or the log-in was wrong) and null is returned.
std::unique_ptr<CFtp> ConnectToDestination(const CFtp::ProgressCallback& progress)
{
    const CAppSettings& s = *GetAppSettings();
    PublishHost& host = GetPublishHost();
    bool serverNotFound = false, loginFailed = false, cancelled = false;
    // The connecting notice stands while the attempt runs and is gone before any notice about its failure.
    struct ConnectingNotice
    {
        PublishHost& host;
        explicit ConnectingNotice(PublishHost& h) : host(h) { host.ShowConnectingNotice(true); }
        ~ConnectingNotice() { host.ShowConnectingNotice(false); }
    };
    try {
        ConnectingNotice notice(host);
        if (s.m_nFtpProxyType != 0)
            return std::make_unique<CFtp>(serverNotFound, loginFailed, cancelled, s.m_strFtpServer, s.m_nFtpPort,
                                          s.m_strFtpUser, s.m_strFtpPassword, s.m_bFtpPassive, s.m_strFtpProxyServer,
                                          s.m_nFtpProxyPort, s.m_strFtpProxyUser, s.m_strFtpProxyPassword,
                                          s.m_nFtpProxyType == 1 ? CFtp::SOCKS4 : CFtp::SOCKS5, progress);
        return std::make_unique<CFtp>(serverNotFound, loginFailed, cancelled, s.m_strFtpServer, s.m_nFtpPort,
                                      s.m_strFtpUser, s.m_strFtpPassword, s.m_bFtpPassive, progress);
    } catch (const CFtpException&) {
        if (serverNotFound) {
            if (host.ShowPublishDialog(dialogServerNotFound) == DialogAnswer::ok)
                host.RunInternetSetupDialog(SetupFocus::server);
        } else if (loginFailed) {
            if (host.ShowPublishDialog(dialogLoginFailed) == DialogAnswer::ok)
                host.RunInternetSetupDialog(SetupFocus::userName);
        } else if (!cancelled) {
            host.ShowPublishDialog(dialogCannotConnect);
        }
        return nullptr;
    }
}

} // namespace

void FilesOfLists::Add(const std::string& list, const std::vector<std::string>& names)
{
    const std::string folder = GetPathFolder(list);
    bool first = true;
    for (const std::string& name : names) {
        if (first && listed.insert(list).second) {
            sources.push_back(list);
            targets.push_back("/" + GetPathFileName(list));
        }
        first = false;
        // Names of the list stay inside its folder; addresses and patterns are not files.
        if (!IsSafeListedName(name))
            continue;
        const std::string full = folder + name;
        if (full.find_first_of("=*") != std::string::npos || full.find("http") != std::string::npos)
            continue;
        if (listed.insert(full).second) {
            sources.push_back(full);
            targets.push_back("/" + name);
        }
    }
}

bool IsInternetSetupComplete()
{
    const CAppSettings* settings = GetAppSettings();
    if (!settings)
        return false;
    const bool server = !settings->m_strFtpServer.empty(), user = !settings->m_strFtpUser.empty(),
               password = !settings->m_strFtpPassword.empty();
    if (settings->m_nFtpProxyType == 0)
        return server && user && password;
    return server || user || password || !settings->m_strFtpProxyServer.empty();
}

bool CheckInternetSetup()
{
    PublishHost& host = GetPublishHost();
    while (!IsInternetSetupComplete()) {
        if (host.ShowPublishDialog(dialogSetupIncomplete) != DialogAnswer::ok || host.RunInternetSetupDialog(SetupFocus::none) != DialogAnswer::ok)
            return false;
    }
    return true;
}

bool PutToRemotePath(CFtp& connection, const std::string& localPath, const std::string& remotePath)
{
    const std::string start = connection.m_strCwd;
    std::vector<std::string> parts = PathParts(remotePath);
    // The site's place on the server is all it may write to.
    if (parts.empty() || std::find(parts.begin(), parts.end(), "..") != parts.end())
        return false;
    const std::string name = parts.back();
    parts.pop_back();
    for (const std::string& folder : parts)
        if (!connection.mkdir(folder) || !connection.chdir(folder))
            return false;
    if (!connection.put(localPath, name, false))
        return false;
    return connection.chdir(start);
}

bool RemoveRemoteFileAndEmptyFolders(CFtp& connection, const std::string& remotePath)
{
    const std::string start = connection.m_strCwd;
    std::vector<std::string> parts = PathParts(remotePath);
    if (parts.empty())
        return false;
    const std::string name = parts.back();
    parts.pop_back();
    std::string folder;
    for (const std::string& part : parts)
        folder += (folder.empty() ? "" : "/") + part;
    if ((!folder.empty() && !connection.chdir(folder)) || !connection.remove(name)) {
        connection.chdir(start);
        return false;
    }
    while (!parts.empty()) {
        const std::string emptied = parts.back();
        parts.pop_back();
        if (!connection.chdir("..") || !connection.rmdir(emptied)) {
            connection.chdir(start);
            return false;
        }
    }
    return connection.chdir(start);
}

CSiteUpload::CSiteUpload(CWebsite& site, CChangedPages& tracker) : m_site(site), m_tracker(tracker) {}

CSiteUpload::~CSiteUpload()
{
    GetPublishHost().ShowUploadProgress(nullptr, nullptr);
}

UploadReport CSiteUpload::Run(bool reupload)
{
    m_report = UploadReport();
    if (!Prepare() || !Build() || !Connect() || !EnterRemoteFolders())
        return m_report;

    const bool recorded = FetchOldRecord(reupload);
    if (!ChdirRoot()) {
        FolderFailed(false);
        return m_report;
    }
    if (!CollectFiles())
        return m_report;
    const bool done = recorded ? Synchronize() : UploadEverything();
    if (done)
        Finish();
    return m_report;
}

bool CSiteUpload::Prepare()
{
    PublishHost& host = GetPublishHost();
    if (m_site.GetPath().empty()) {
        if (host.ShowPublishDialog(dialogSaveBeforeSend) == DialogAnswer::ok)
            host.SaveSiteAs();
        return false;
    }
    if (!CheckInternetSetup() || !CheckLinkedDocuments(m_site))
        return false;
    m_strTitle = SiteTitle(m_site.GetPath());
    try {
        m_strStaging = StagingFolder();
    } catch (const CFileException&) {
        host.ShowPublishDialog(dialogCannotCreateFolder);
        return false;
    }
    return true;
}

bool CSiteUpload::Build()
{
    CChangedPages::MarkAllPagesChanged(m_site);
    m_tracker.CollectChangedPages(m_site);
    m_pBuilder = std::make_unique<CSiteBuilder>(SettingsBuildOptions(0, m_strStaging));
    SiteBuildResult result;
    RunSiteBuild(*m_pBuilder, result, m_site, buildForPublish);
    if (result.code == buildFolderFailed) {
        GetPublishHost().ShowPublishDialog(dialogCannotCreateFolder);
        return false;
    }
    return ReportBuildResult(result);
}

bool CSiteUpload::Connect()
{
    m_pFtp = ConnectToDestination([this](int bytes) {
        if (!m_pProgress)
            return 1;
        const bool goOn = m_pProgress->StepProgress(bytes);
        GetPublishHost().UpdateUploadProgress(0);
        return goOn ? 1 : 0;
    });
    if (!m_pFtp)
        return false;
    m_pFtp->InitLogFile(m_strStaging);
    return true;
}

bool CSiteUpload::EnterRemoteFolders()
{
    for (const std::string& part : PathParts(GetAppSettings()->m_strFtpFolder))
        if (!EnterOrMake(*m_pFtp, part))
            return FolderFailed(true);
    m_strRoot = m_pFtp->m_strCwd;
    while (!m_strRoot.empty() && m_strRoot.back() == '/')
        m_strRoot.pop_back();
    m_strRoot += '/';
    if (!EnterOrMake(*m_pFtp, "files") || !EnterOrMake(*m_pFtp, "Download"))
        return FolderFailed(true);
    // Straight from "Download" to "Backups" and back to the root: each folder change costs the server a command.
    if (!EnterOrMake(*m_pFtp, m_strRoot + "Backups"))
        return FolderFailed(true);
    if (!ChdirRoot())
        return FolderFailed(false);
    return true;
}

bool CSiteUpload::ChdirRoot()
{
    return m_pFtp->chdir(m_strRoot);
}

bool CSiteUpload::FolderFailed(bool createFailed)
{
    return Stop(createFailed ? dialogCannotCreateFolder : dialogCannotReadFolder);
}

bool CSiteUpload::TransferFailed()
{
    return Stop(dialogUploadFailed);
}

// A dropped connection has its own notice, a cancel none; the progress dialog closes and the connection goes.
bool CSiteUpload::Stop(int otherwise)
{
    PublishHost& host = GetPublishHost();
    host.ShowUploadProgress(nullptr, nullptr);
    int code = m_pFtp ? m_pFtp->m_nError : CFtp::errorNone;
    if (m_pProgress && m_pProgress->IsCancelled())
        code = CFtp::errorCancelled;
    m_pFtp.reset();
    if (IsConnectionLost(code))
        host.ShowPublishDialog(dialogConnectionDropped);
    else if (code != CFtp::errorCancelled)
        host.ShowPublishDialog(otherwise);
    return false;
}

void CSiteUpload::Status(const std::string& text, int range, int pauseMs)
{
    if (!m_pProgress)
        return;
    m_pProgress->SetStatusText(text);
    if (range >= 0)
        m_pProgress->SetRange(range);
    GetPublishHost().UpdateUploadProgress(pauseMs);
}

bool CSiteUpload::ContinueWithout(const std::string& path)
{
    std::string question =
        ResourceText(7043, "The file '%s' was not found.\nDo you want to continue uploading your site anyway?");
    if (const size_t at = question.find("%s"); at != std::string::npos)
        question.replace(at, 2, path);
    CoreServices& services = GetCoreServices();
    PublishHost& host = GetPublishHost();
    if (services.AskYesNo("FTP", question))
        return true;
    m_pFtp.reset();
    host.ShowPublishDialog(dialogUploadFailed);
    const std::string log = TransferLogPath();
    if (services.AskYesNo("FTP", "A FTP Log has been created:\n" + log + "\n\nDo you want to open it for browsing?"))
        host.OpenFileForEditing(log);
    return false;
}

// The record of the last upload decides what is sent, unless everything is to go up again. A record larger than
// any site's is not the last upload's memory of this site: the user is told, and everything goes up again, which
// also replaces it.
bool CSiteUpload::FetchOldRecord(bool reupload)
{
    const std::string recordCopy = ServerRecordDownloadPath(m_strTitle);
    std::remove(recordCopy.c_str());
    const bool recorded = m_pFtp->get(recordCopy, ServerRecordName(m_strTitle), true, kMaxServerRecordBytes);
    bool refused = !recorded && m_pFtp->m_nError == CFtp::errorTooLarge;
    if (recorded && !reupload)
        m_oldRecord = ReadServerRecord(recordCopy, &refused);
    if (refused && !reupload) {
        m_oldRecord.clear();
        GetCoreServices().ShowMessage("The record of the last upload on the server (" + ServerRecordName(m_strTitle) +
                                      ") is larger than the record of any site can be, and was not used.\nEvery "
                                      "file of the site is sent again.");
        return false;
    }
    for (size_t i = 0; i < m_oldRecord.size(); ++i)
        m_oldByName.emplace(m_oldRecord[i].name, i);
    return recorded && !reupload;
}

bool CSiteUpload::IsRecorded(const std::string& path) const
{
    return m_newByName.count(path) != 0;
}

void CSiteUpload::AddToRecord(const std::string& path, long long size, bool hashed)
{
    if (m_newByName.emplace(path, m_newRecord.size()).second)
        m_newRecord.push_back(CServerRecordEntry{path, size, hashed ? FileContentHash(path) : std::string()});
}

bool CSiteUpload::IsOnServerAlready(const std::string& path) const
{
    const long long size = FileSize(path);
    const auto now = m_newByName.find(path);
    const std::string& hash = now == m_newByName.end() ? std::string() : m_newRecord[now->second].hash;
    const auto [first, last] = m_oldByName.equal_range(path);
    return std::any_of(first, last, [&](const auto& old) {
        const CServerRecordEntry& entry = m_oldRecord[old.second];
        return entry.size == size && (entry.hash.empty() || (!hash.empty() && entry.hash == hash));
    });
}

std::string CSiteUpload::IncludedTarget(const std::string& source)
{
    if (m_nIncludedTargetsOf != m_site.GetFilePairCount()) {
        m_includedTargets.clear();
        for (int i = 0; i < m_site.GetFilePairCount(); ++i)
            m_includedTargets.emplace(m_site.GetFilePair(i)->m_strSource, m_site.GetFilePair(i)->m_strTarget);
        m_nIncludedTargetsOf = m_site.GetFilePairCount();
    }
    const auto found = m_includedTargets.find(source);
    return found == m_includedTargets.end() ? std::string() : found->second;
}

bool CSiteUpload::CollectFiles()
{
    m_staged.clear();
    m_nTotal = 0;
    std::unordered_set<std::string> staged;
    const auto stage = [&](const std::string& path) {
        if (!staged.insert(path).second)
            return true;
        const long long size = FileSize(path);
        if (size < 0)
            return ContinueWithout(path);
        m_staged.push_back(Staged{path, size});
        m_nTotal += size;
        return true;
    };
    const auto& records = m_pBuilder->GetPageRecords();
    for (const auto& record : records)
        if (!stage(m_strStaging + record->fileName))
            return false;
    for (int i = 0; i < m_site.GetFilePairCount(); ++i) {
        const long long size = FileSize(m_site.GetFilePair(i)->m_strSource);
        if (size < 0 && !ContinueWithout(m_site.GetFilePair(i)->m_strSource))
            return false;
        m_nTotal += std::max(size, 0LL);
    }
    for (const auto& record : records) {
        std::vector<std::string> urls = {record->backgroundUrl};
        for (const auto& object : record->objects) {
            urls.push_back(object->imageUrl);
            urls.push_back(object->mouseOverUrl);
        }
        for (const std::string& url : urls) {
            static const std::string prefix = "files/";
            if (url.size() <= prefix.size() || url.compare(0, prefix.size(), prefix) != 0)
                continue;
            if (!stage(m_strStaging + url))
                return false;
        }
    }
    m_pProgress = std::make_unique<CUploadProgress>(static_cast<int>(std::min<long long>(m_nTotal, INT32_MAX)));
    GetPublishHost().ShowUploadProgress(m_pProgress.get(), m_pFtp.get());
    return true;
}

void CSiteUpload::GatherDownloads()
{
    std::unordered_set<std::string> gathered;
    for (int p = 0; p < m_site.GetPageCount(); ++p) {
        const CSitePage& page = *m_site.GetPage(p);
        long long pageTotal = 0;
        bool any = false;
        for (int i = 0; i < page.GetItemCount(); ++i)
            for (const std::string& path : DocumentLinksOf(*page.GetItem(i)->GetCurrentObject())) {
                if (!gathered.insert(path).second)
                    continue;
                any = true;
                const long long size = FileSize(path);
                if (size < 0)
                    continue;
                pageTotal += size;
                AddToRecord(path, size);
                m_downloads.push_back(path);
            }
        if (any && m_pProgress)
            m_pProgress->SetRange(static_cast<int>(std::min<long long>(pageTotal, INT32_MAX)));
    }
}

bool CSiteUpload::Put(const std::string& localPath, const std::string& remoteName, const std::string& remotePath,
                      bool own)
{
    Status(GetPathFileName(remotePath));
    if (!m_pFtp->put(localPath, remoteName, own))
        return TransferFailed();
    m_report.sent.push_back(remotePath);
    m_report.bytesSent += std::max(FileSize(localPath), 0LL);
    return true;
}

bool CSiteUpload::SendPages(const std::vector<std::string>& pages)
{
    for (const std::string& page : pages)
        if (!Put(page, GetPathFileName(page), GetPathFileName(page), false))
            return false;
    return true;
}

bool CSiteUpload::SendIncluded(const std::vector<std::string>& included)
{
    for (const std::string& source : included) {
        const std::string target = IncludedTarget(source);
        Status(GetPathFileName(source));
        if (!PutToRemotePath(*m_pFtp, source, target))
            return TransferFailed();
        std::string remote = target;
        while (!remote.empty() && (remote[0] == '/' || remote[0] == '\\'))
            remote.erase(0, 1);
        m_report.sent.push_back(remote);
        m_report.bytesSent += std::max(FileSize(source), 0LL);
    }
    return true;
}

// Site files go into "files", downloads into "Download" inside it under the names the pages link them by. A folder
// with nothing to receive is not entered.
bool CSiteUpload::SendInFolder(const char* folder, const std::vector<std::string>& files, bool downloads)
{
    if (files.empty())
        return true;
    if (!m_pFtp->chdir(m_strRoot + folder))
        return FolderFailed(false);
    const std::string prefix = std::string(folder) + "/";
    for (const std::string& path : files) {
        const LinkedFile* linked = downloads ? FindLinkedFile(path) : nullptr;
        const std::string name = linked ? linked->targetName : GetPathFileName(path);
        if (!Put(path, name, prefix + name, false))
            return false;
    }
    return true;
}

void CSiteUpload::RemoveOldStartPages()
{
    for (const char* name : {"index.htm", "default.html", "default.htm"})
        if (m_pFtp->remove(name)) {
            Status(name);
            m_report.removed.push_back(name);
        }
}

bool CSiteUpload::Synchronize()
{
    Status("Detecting Changes");

    // What this run puts on the server, pages first with the front page at their head.
    const std::string index = m_strStaging + "index.html";
    AddToRecord(index, std::max(FileSize(index), 0LL));
    m_pages = {index};
    std::unordered_set<std::string> listedPages = {index};
    size_t next = 0;
    for (; next < m_staged.size() && EndsWith(m_staged[next].path, ".html"); ++next) {
        const std::string name = GetPathFileName(m_staged[next].path);
        if (IsUnsentPage(name))
            continue;
        AddToRecord(m_staged[next].path, m_staged[next].size);
        if (listedPages.insert(m_staged[next].path).second)
            m_pages.push_back(m_staged[next].path);
        m_site.AddPublishedFile(name);
    }
    for (int i = 0; i < m_site.GetFilePairCount(); ++i) {
        const CFilePair& pair = *m_site.GetFilePair(i);
        const long long size = FileSize(pair.m_strSource);
        if (pair.m_strSource.empty() || GetPathFileName(pair.m_strSource).empty() || size < 0)
            continue;
        AddToRecord(pair.m_strSource, size);
        m_included.push_back(pair.m_strSource);
        m_site.AddPublishedFile(pair.m_strTarget);
    }
    if (!ChdirRoot())
        return FolderFailed(false);
    for (; next < m_staged.size(); ++next) {
        AddToRecord(m_staged[next].path, m_staged[next].size);
        m_siteFiles.push_back(m_staged[next].path);
    }
    GatherDownloads();

    // Files whose bytes the record shows on the server already stay off the lists; pages always go.
    const auto unchanged = [&](const std::string& path) { return IsOnServerAlready(path); };
    std::vector<std::string> xmlFiles, updatedXml;
    for (const std::string& path : m_included)
        if (path.find(".xml") != std::string::npos) {
            xmlFiles.push_back(path);
            if (m_oldByName.count(path) != 0 && !unchanged(path))
                updatedXml.push_back(path);
        }
    for (auto* list : {&m_pages, &m_included, &m_siteFiles, &m_downloads})
        std::erase_if(*list, unchanged);
    if (!updatedXml.empty())
        UpdateFlashObjects(xmlFiles, updatedXml);
    listedPages = std::unordered_set<std::string>(m_pages.begin(), m_pages.end());
    for (const auto& record : m_pBuilder->GetPageRecords())
        if (record->page->IsChangedSinceUpload() && !IsUnsentPage(record->fileName) &&
            listedPages.insert(m_strStaging + record->fileName).second)
            m_pages.push_back(m_strStaging + record->fileName);

    Status("Synchronizing Files", kPhaseRange, kPhasePause);
    if (!ChdirRoot())
        return FolderFailed(false);
    if (!SendPages(m_pages) || !SendIncluded(m_included) || !SendInFolder("files", m_siteFiles, false) ||
        !SendInFolder("files/Download", m_downloads, true))
        return false;
    if (!ChdirRoot())
        return FolderFailed(false);
    // The old start pages are not removed again: the record is there because the run that wrote it reached its end,
    // and that run removed them.
    if (!DeleteRemovedFiles({}))
        return false;
    return WriteRecordAndBackup();
}

bool CSiteUpload::DeleteRemovedFiles(const std::vector<std::string>& droppedIncluded)
{
    std::vector<std::string> deleted;
    for (const CServerRecordEntry& entry : m_oldRecord)
        if (!entry.name.empty() && !IsRecorded(entry.name))
            deleted.push_back(entry.name);
    if (deleted.empty())
        return true;
    CoreServices& services = GetCoreServices();
    if (!services.AskYesNo("Deleted Objects Notification",
                           "You have deleted one or more objects or pages from your Website.\nWould you like to remove "
                           "them from the server as well? \nIf you select No, you will have to manually remove them "
                           "using an external FTP client."))
        return true;
    Status("Deleting unrelated files", kPhaseRange, kPhasePause);
    for (const std::string& source : droppedIncluded) {
        Status(GetPathFileName(source));
        if (RemoveRemoteFileAndEmptyFolders(*m_pFtp, source))
            m_report.removed.push_back(source);
    }

    // What this run keeps on the server, by remote path: a deleted file's name may be that of one of these, which
    // must stay.
    std::unordered_set<std::string> kept;
    for (const CServerRecordEntry& entry : m_newRecord) {
        const std::string name = GetPathFileName(entry.name);
        if (EndsWith(entry.name, ".html") && entry.name.rfind(m_strStaging, 0) == 0)
            kept.insert(name);
        else if (const LinkedFile* linked = FindLinkedFile(entry.name))
            kept.insert("files/Download/" + linked->targetName);
        else if (const std::string target = IncludedTarget(entry.name); !target.empty())
            kept.insert(target[0] == '/' ? target.substr(1) : target);
        else
            kept.insert("files/" + name);
    }
    const auto tryRemove = [&](const std::string& prefix) {
        std::erase_if(deleted, [&](const std::string& path) {
            const std::string name = GetPathFileName(path);
            if (kept.count(prefix + name) != 0 || !m_pFtp->remove(name))
                return false;
            Status(name);
            m_report.removed.push_back(prefix + name);
            return true;
        });
    };
    tryRemove("");
    if (!m_pFtp->chdir("files"))
        return FolderFailed(false);
    tryRemove("files/");
    if (!m_pFtp->chdir("Download"))
        return FolderFailed(false);
    tryRemove("files/Download/");
    if (!ChdirRoot())
        return FolderFailed(false);
    return true;
}

bool CSiteUpload::WriteRecordAndBackup()
{
    Status("Updating Log file", kPhaseRange, kPhasePause);
    if (!ChdirRoot())
        return FolderFailed(false);
    const std::string record = ServerRecordStagingPath(m_strTitle);
    if (!WriteServerRecord(record, m_newRecord)) {
        m_pFtp.reset();
        GetPublishHost().ShowUploadProgress(nullptr, nullptr);
        GetPublishHost().ShowPublishDialog(dialogUploadFailed);
        return false;
    }
    if (!Put(record, ServerRecordName(m_strTitle), ServerRecordName(m_strTitle), true))
        return false;
    if (!m_pFtp->chdir("Backups"))
        return FolderFailed(false);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string backup = BackupName(m_strTitle, local);
    return Put(m_site.GetPath(), backup, "Backups/" + backup, true);
}

bool CSiteUpload::UploadEverything()
{
    Status(ResourceText(7024, "Pages..."), -1, kPhasePause);
    if (!ChdirRoot())
        return FolderFailed(false);
    const std::string index = m_strStaging + "index.html";
    const CSitePage* home = CSiteBuilder::HomePageOf(m_site);
    Status(home ? home->GetName() : std::string("index.html"));
    if (!m_pFtp->put(index, "index.html", false))
        return TransferFailed();
    m_report.sent.push_back("index.html");
    m_report.bytesSent += std::max(FileSize(index), 0LL);
    AddToRecord(index, std::max(FileSize(index), 0LL));
    size_t next = 0;
    for (; next < m_staged.size() && EndsWith(m_staged[next].path, ".html"); ++next) {
        const Staged& page = m_staged[next];
        const std::string name = GetPathFileName(page.path);
        // A page that never goes to the server is recorded without the hash of its bytes, which nobody can see.
        AddToRecord(page.path, page.size, !IsUnsentPage(name));
        if (IsUnsentPage(name) || page.path == index)
            continue;
        if (!Put(page.path, name, name, false))
            return false;
        m_site.AddPublishedFile(name);
    }

    Status(ResourceText(7025, "Referenced Files..."), -1, kPhasePause);
    for (int i = 0; i < m_site.GetFilePairCount(); ++i) {
        const CFilePair& pair = *m_site.GetFilePair(i);
        const long long size = FileSize(pair.m_strSource);
        if (pair.m_strSource.empty() || size < 0)
            continue;
        if (!SendIncluded({pair.m_strSource}))
            return false;
        AddToRecord(pair.m_strSource, size);
        m_site.AddPublishedFile(pair.m_strTarget);
    }

    Status(ResourceText(7014, "Binary Files..."), -1, kPhasePause);
    for (size_t i = next; i < m_staged.size(); ++i) {
        AddToRecord(m_staged[i].path, m_staged[i].size);
        m_siteFiles.push_back(m_staged[i].path);
    }
    if (!SendInFolder("files", m_siteFiles, false))
        return false;
    Status(ResourceText(7023, "Download Files..."), -1, kPhasePause);
    GatherDownloads();
    if (!SendInFolder("files/Download", m_downloads, true))
        return false;
    if (!ChdirRoot())
        return FolderFailed(false);
    Status(ResourceText(7022, "Maintenance Files"), kPhaseRange);
    RemoveOldStartPages();
    return WriteRecordAndBackup();
}

void CSiteUpload::UpdateFlashObjects(const std::vector<std::string>& xmlFiles, const std::vector<std::string>& updated)
{
    CoreServices& services = GetCoreServices();
    FilesOfLists added;
    for (int i = 0; i < m_site.GetFilePairCount(); ++i)
        added.listed.insert(m_site.GetFilePair(i)->m_strSource);
    for (const std::string& xml : xmlFiles) {
        if (Contains(updated, xml))
            services.ShowMessage("A Tallowmere Flash Object on your Website has been updated:\n" + xml +
                                 "\n\nQBX will automatically perform an update to your Website");
        added.Add(xml, CIncludedFileList(xml).GetNames());
    }
    // The files the lists name join the site's additional files; the others stay.
    if (!added.sources.empty())
        m_site.AddFilePairs(added.sources, added.targets);
    m_report.again = true;
}

void CSiteUpload::Finish()
{
    PublishHost& host = GetPublishHost();
    host.ShowUploadProgress(nullptr, nullptr);
    if (m_pFtp)
        m_pFtp->DestroyLogFile();
    m_pFtp.reset();
    m_report.published = true;
    if (!m_report.again)
        host.ShowPublishDialog(dialogPublished);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int date[] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
    for (int i = 0; i < CWebsite::kReservedValueCount; ++i)
        m_site.SetReservedValue(i, static_cast<uint16_t>(date[i]));
    m_tracker.SetSite(m_site.GetPath());
    m_tracker.ClearAll();
    m_tracker.Save();
    m_site.SetModified();
}

void SynchronizeWebsite(bool reupload)
{
    CWebsite* site = GetCurrentSite();
    CChangedPages* tracker = GetPublishHost().GetChangedPages();
    if (!site || !tracker)
        return;
    for (;;) {
        CSiteUpload upload(*site, *tracker);
        const UploadReport report = upload.Run(reupload);
        if (!report.published || !report.again)
            return;
    }
}

bool RemovePublishedWebsite(CWebsite& site, CChangedPages& tracker)
{
    CoreServices& services = GetCoreServices();
    PublishHost& host = GetPublishHost();
    if (!CheckInternetSetup() || host.ShowPublishDialog(dialogDeleteSiteFiles) != DialogAnswer::ok)
        return false;
    // The destination's own port and mode, with or without a proxy.
    std::unique_ptr<CFtp> ftp = ConnectToDestination({});
    if (!ftp)
        return false;

    for (const std::string& part : PathParts(GetAppSettings()->m_strFtpFolder)) {
        if (ftp->chdir(part))
            continue;
        const int code = ftp->m_nError;
        ftp.reset();
        if (code == CFtp::errorNotFound) {
            host.ShowPublishDialog(dialogSiteDeleted);
        } else {
            tracker.SetSite({});
            if (IsConnectionLost(code))
                host.ShowPublishDialog(dialogConnectionDropped);
            else if (code != CFtp::errorCancelled)
                host.ShowPublishDialog(dialogCannotReadFolder);
        }
        return false;
    }

    for (const char* name : {"default.htm", "default.html", "index.htm", "index.html"})
        ftp->remove(name);
    const CSitePage* home = CSiteBuilder::HomePageOf(site);
    for (int i = 0; i < site.GetPageCount(); ++i) {
        const CSitePage& page = *site.GetPage(i);
        if (&page == home || page.GetName().empty())
            continue;
        ftp->remove(page.GetName() + ".html");
        site.RemovePublishedFile(page.GetName() + ".html");
    }

    // What an upload of an older version listed.
    try {
        const std::string staging = StagingFolder();
        std::error_code ignored;
        std::filesystem::create_directories(staging, ignored);
        const std::string legacy = staging + "qbx.uploaded";
        std::remove(legacy.c_str());
        bool refused = false;
        if (ftp->get(legacy, "qbx.uploaded", true, kMaxLegacyListBytes)) {
            for (const std::string& path : ReadLegacyUploadList(legacy, &refused))
                RemoveRemoteFileAndEmptyFolders(*ftp, path);
            std::remove(legacy.c_str());
            if (!refused)
                ftp->remove("qbx.uploaded");
        } else {
            refused = ftp->m_nError == CFtp::errorTooLarge;
        }
        // A list no site could have left is not followed; it stays on the server for the user to look at.
        if (refused)
            services.ShowMessage("The list of uploaded files on the server (qbx.uploaded) is larger than the list "
                                 "of any site can be, and was not used: the files it names stay on the server.");
    } catch (const CFileException&) {
        // Without a private folder the old list stays on the server; the rest goes on.
    }

    if (ftp->chdir("files")) {
        const std::vector<std::string> keepDownload = {"Download", "..", "."};
        const std::vector<std::string> keepNothing = {"..", "."};
        if (!ftp->mdel_excludefiles(&keepDownload)) {
            ftp.reset();
            host.ShowPublishDialog(dialogDeleteFailed);
            return false;
        }
        bool back = true;
        if (ftp->chdir("Download")) {
            if (!ftp->mdel_excludefiles(&keepNothing)) {
                ftp.reset();
                host.ShowPublishDialog(dialogDeleteFailed);
                return false;
            }
            back = ftp->chdir("..");
        }
        if (back && ftp->rmdir("Download") && ftp->chdir(".."))
            ftp->rmdir("files");
    }
    ftp.reset();
    host.ShowPublishDialog(dialogSiteDeleted);
    tracker.SetSite({});
    return true;
}
