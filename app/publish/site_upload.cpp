#include "app/publish/site_upload.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/stat.h>
#include <unordered_set>

#include "app/build/linked_files.h"
#include "app/build/site_builder.h"
#include "app/model/app_settings.h"
#include "app/model/file_pair.h"
#include "app/model/included_file_list.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/publish/changed_pages.h"
#include "app/publish/publish_host.h"
#include "app/publish/linked_documents.h"
#include "app/publish/local_output.h"
#include "app/publish/upload_plan.h"
#include "app/publish/upload_progress.h"
#include "app/publish/upload_remote.h"
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

bool Contains(const std::vector<std::string>& list, const std::string& text)
{
    return std::find(list.begin(), list.end(), text) != list.end();
}

} // namespace

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
    if (m_site.GetPath().empty()) {
        if (GetPublishHost().ShowPublishDialog(dialogSaveBeforeSend) == DialogAnswer::ok)
            GetPublishHost().SaveSiteAs();
        return false;
    }
    if (!CheckInternetSetup() || !CheckLinkedDocuments(m_site))
        return false;
    m_title = SiteTitle(m_site.GetPath());
    try {
        m_staging = StagingFolder();
    } catch (const CFileException&) {
        GetPublishHost().ShowPublishDialog(dialogCannotCreateFolder);
        return false;
    }
    return true;
}

bool CSiteUpload::Build()
{
    CChangedPages::MarkAllPagesChanged(m_site);
    m_tracker.CollectChangedPages(m_site);
    m_builder = std::make_unique<CSiteBuilder>(SettingsBuildOptions(0, m_staging));
    SiteBuildResult result;
    RunSiteBuild(*m_builder, result, m_site, buildForPublish);
    if (result.code == buildFolderFailed) {
        GetPublishHost().ShowPublishDialog(dialogCannotCreateFolder);
        return false;
    }
    return ReportBuildResult(result);
}

bool CSiteUpload::Connect()
{
    m_ftp = ConnectToDestination([this](int bytes) {
        if (!m_progress)
            return 1;
        const bool goOn = m_progress->StepProgress(bytes);
        GetPublishHost().UpdateUploadProgress(0);
        return goOn ? 1 : 0;
    });
    if (!m_ftp)
        return false;
    m_ftp->InitLogFile(m_staging);
    return true;
}

bool CSiteUpload::EnterRemoteFolders()
{
    for (const std::string& part : RemotePathParts(GetAppSettings()->m_ftpFolder))
        if (!EnterOrMake(*m_ftp, part))
            return FolderFailed(true);
    m_root = m_ftp->m_strCwd;
    while (!m_root.empty() && m_root.back() == '/')
        m_root.pop_back();
    m_root += '/';
    if (!EnterOrMake(*m_ftp, "files") || !EnterOrMake(*m_ftp, "Download"))
        return FolderFailed(true);
    // Straight from "Download" to "Backups" and back to the root: each folder change costs the server a command.
    if (!EnterOrMake(*m_ftp, m_root + "Backups"))
        return FolderFailed(true);
    if (!ChdirRoot())
        return FolderFailed(false);
    return true;
}

bool CSiteUpload::ChdirRoot()
{
    return m_ftp->chdir(m_root);
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
    GetPublishHost().ShowUploadProgress(nullptr, nullptr);
    int code = m_ftp ? m_ftp->m_nError : CFtp::errorNone;
    if (m_progress && m_progress->IsCancelled())
        code = CFtp::errorCancelled;
    m_ftp.reset();
    if (IsConnectionLost(code))
        GetPublishHost().ShowPublishDialog(dialogConnectionDropped);
    else if (code != CFtp::errorCancelled)
        GetPublishHost().ShowPublishDialog(otherwise);
    return false;
}

void CSiteUpload::Status(const std::string& text, int range, int pauseMs)
{
    if (!m_progress)
        return;
    m_progress->SetStatusText(text);
    if (range >= 0)
        m_progress->SetRange(range);
    GetPublishHost().UpdateUploadProgress(pauseMs);
}

bool CSiteUpload::ContinueWithout(const std::string& path)
{
    std::string question =
        ResourceText(IDS_FILE_NOT_FOUND_CONTINUE,
                     "The file '%s' was not found.\nDo you want to continue uploading your site anyway?");
    if (const size_t at = question.find("%s"); at != std::string::npos)
        question.replace(at, 2, path);
    Messages& messages = GetMessages();
    if (messages.AskYesNo("FTP", question))
        return true;
    m_ftp.reset();
    GetPublishHost().ShowPublishDialog(dialogUploadFailed);
    const std::string log = TransferLogPath();
    if (messages.AskYesNo("FTP", "A FTP Log has been created:\n" + log + "\n\nDo you want to open it for browsing?"))
        GetPublishHost().OpenFileForEditing(log);
    return false;
}

// The record of the last upload decides what is sent, unless everything is to go up again. A record larger than
// any site's is not the last upload's memory of this site: the user is told, and everything goes up again, which
// also replaces it.
bool CSiteUpload::FetchOldRecord(bool reupload)
{
    const std::string recordCopy = ServerRecordDownloadPath(m_title);
    std::remove(recordCopy.c_str());
    const bool recorded = m_ftp->get(recordCopy, ServerRecordName(m_title), true, kMaxServerRecordBytes);
    bool refused = !recorded && m_ftp->m_nError == CFtp::errorTooLarge;
    std::vector<CServerRecordEntry> old;
    if (recorded && !reupload)
        old = ReadServerRecord(recordCopy, &refused);
    if (refused && !reupload) {
        GetMessages().ShowMessage("The record of the last upload on the server (" + ServerRecordName(m_title) +
                                  ") is larger than the record of any site can be, and was not used.\nEvery "
                                  "file of the site is sent again.");
        return false;
    }
    m_record.SetOld(std::move(old));
    return recorded && !reupload;
}

std::string CSiteUpload::IncludedTarget(const std::string& source)
{
    if (m_includedTargetsOf != m_site.GetFilePairCount()) {
        m_includedTargets.clear();
        for (int i = 0; i < m_site.GetFilePairCount(); ++i)
            m_includedTargets.emplace(m_site.GetFilePair(i)->m_strSource, m_site.GetFilePair(i)->m_strTarget);
        m_includedTargetsOf = m_site.GetFilePairCount();
    }
    const auto found = m_includedTargets.find(source);
    return found == m_includedTargets.end() ? std::string() : found->second;
}

bool CSiteUpload::CollectFiles()
{
    m_staged.clear();
    m_total = 0;
    std::unordered_set<std::string> staged;
    const auto stage = [&](const std::string& path) {
        if (!staged.insert(path).second)
            return true;
        const long long size = FileSize(path);
        if (size < 0)
            return ContinueWithout(path);
        m_staged.push_back(StagedFile{path, size});
        m_total += size;
        return true;
    };
    const auto& records = m_builder->GetPageRecords();
    for (const auto& record : records)
        if (!stage(m_staging + record->fileName))
            return false;
    for (int i = 0; i < m_site.GetFilePairCount(); ++i) {
        const long long size = FileSize(m_site.GetFilePair(i)->m_strSource);
        if (size < 0 && !ContinueWithout(m_site.GetFilePair(i)->m_strSource))
            return false;
        m_total += std::max(size, 0LL);
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
            if (!stage(m_staging + url))
                return false;
        }
    }
    m_progress = std::make_unique<CUploadProgress>(static_cast<int>(std::min<long long>(m_total, INT32_MAX)));
    GetPublishHost().ShowUploadProgress(m_progress.get(), m_ftp.get());
    return true;
}

std::vector<StagedFile> CSiteUpload::GatherDownloads()
{
    std::vector<StagedFile> downloads;
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
                downloads.push_back(StagedFile{path, size});
            }
        if (any && m_progress)
            m_progress->SetRange(static_cast<int>(std::min<long long>(pageTotal, INT32_MAX)));
    }
    return downloads;
}

bool CSiteUpload::Put(const std::string& localPath, const std::string& remoteName, const std::string& remotePath,
                      bool own)
{
    Status(GetPathFileName(remotePath));
    if (!m_ftp->put(localPath, remoteName, own))
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
        if (!PutToRemotePath(*m_ftp, source, target))
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
    if (!m_ftp->chdir(m_root + folder))
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
        if (m_ftp->remove(name)) {
            Status(name);
            m_report.removed.push_back(name);
        }
}

bool CSiteUpload::Synchronize()
{
    Status("Detecting Changes");
    UploadPlanInput input;
    input.index = m_staging + "index.html";
    input.staged = m_staged;
    for (int i = 0; i < m_site.GetFilePairCount(); ++i)
        input.pairs.emplace_back(m_site.GetFilePair(i)->m_strSource, m_site.GetFilePair(i)->m_strTarget);
    input.downloads = GatherDownloads();
    for (const auto& record : m_builder->GetPageRecords())
        if (record->page->IsChangedSinceUpload() && !IsUnsentPage(record->fileName))
            input.changedPages.push_back(m_staging + record->fileName);
    input.sizeOf = FileSize;
    const UploadPlan plan = PlanSynchronize(input, m_record);
    for (const std::string& name : plan.published)
        m_site.AddPublishedFile(name);
    if (!plan.updatedXml.empty())
        UpdateFlashObjects(plan.xmlFiles, plan.updatedXml);

    Status("Synchronizing Files", kPhaseRange, kPhasePause);
    if (!ChdirRoot())
        return FolderFailed(false);
    if (!SendPages(plan.pages) || !SendIncluded(plan.included) || !SendInFolder("files", plan.siteFiles, false) ||
        !SendInFolder("files/Download", plan.downloads, true))
        return false;
    if (!ChdirRoot())
        return FolderFailed(false);
    // Another program may have put a start page there since the last run, which a server could serve in place of
    // the site's own.
    RemoveOldStartPages();
    if (!DeleteRemovedFiles(plan.deleted))
        return false;
    return WriteRecordAndBackup();
}

bool CSiteUpload::DeleteRemovedFiles(std::vector<std::string> deleted)
{
    if (deleted.empty())
        return true;
    Messages& messages = GetMessages();
    if (!messages.AskYesNo("Deleted Objects Notification",
                           "You have deleted one or more objects or pages from your Website.\nWould you like to remove "
                           "them from the server as well? \nIf you select No, you will have to manually remove them "
                           "using an external FTP client."))
        return true;
    Status("Deleting unrelated files", kPhaseRange, kPhasePause);
    const std::unordered_set<std::string> kept = KeptRemotePaths(
        m_record.Entries(), m_staging, [this](const std::string& source) { return IncludedTarget(source); });
    const auto tryRemove = [&](const std::string& prefix) {
        std::erase_if(deleted, [&](const std::string& path) {
            const std::string name = GetPathFileName(path);
            if (kept.count(prefix + name) != 0 || !m_ftp->remove(name))
                return false;
            Status(name);
            m_report.removed.push_back(prefix + name);
            return true;
        });
    };
    tryRemove("");
    if (!m_ftp->chdir("files"))
        return FolderFailed(false);
    tryRemove("files/");
    if (!m_ftp->chdir("Download"))
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
    const std::string record = ServerRecordStagingPath(m_title);
    if (!WriteServerRecord(record, m_record.Entries())) {
        m_ftp.reset();
        GetPublishHost().ShowUploadProgress(nullptr, nullptr);
        GetPublishHost().ShowPublishDialog(dialogUploadFailed);
        return false;
    }
    if (!Put(record, ServerRecordName(m_title), ServerRecordName(m_title), true))
        return false;
    if (!m_ftp->chdir("Backups"))
        return FolderFailed(false);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const std::string backup = BackupName(m_title, local);
    return Put(m_site.GetPath(), backup, "Backups/" + backup, true);
}

bool CSiteUpload::UploadEverything()
{
    Status(ResourceText(IDS_PAGES_PHASE, "Pages..."), -1, kPhasePause);
    if (!ChdirRoot())
        return FolderFailed(false);
    const std::string index = m_staging + "index.html";
    const CSitePage* home = CSiteBuilder::HomePageOf(m_site);
    Status(home ? home->GetName() : std::string("index.html"));
    if (!m_ftp->put(index, "index.html", false))
        return TransferFailed();
    m_report.sent.push_back("index.html");
    m_report.bytesSent += std::max(FileSize(index), 0LL);
    m_record.Add(index, std::max(FileSize(index), 0LL));
    size_t next = 0;
    for (; next < m_staged.size() && IsHtmlPath(m_staged[next].path); ++next) {
        const StagedFile& page = m_staged[next];
        const std::string name = GetPathFileName(page.path);
        // A page that never goes to the server is recorded without the hash of its bytes, which nobody can see.
        m_record.Add(page.path, page.size, !IsUnsentPage(name));
        if (IsUnsentPage(name) || page.path == index)
            continue;
        if (!Put(page.path, name, name, false))
            return false;
        m_site.AddPublishedFile(name);
    }

    Status(ResourceText(IDS_REFERENCED_FILES_PHASE, "Referenced Files..."), -1, kPhasePause);
    for (int i = 0; i < m_site.GetFilePairCount(); ++i) {
        const CFilePair& pair = *m_site.GetFilePair(i);
        const long long size = FileSize(pair.m_strSource);
        if (pair.m_strSource.empty() || size < 0)
            continue;
        if (!SendIncluded({pair.m_strSource}))
            return false;
        m_record.Add(pair.m_strSource, size);
        m_site.AddPublishedFile(pair.m_strTarget);
    }

    Status(ResourceText(IDS_BINARY_FILES_PHASE, "Binary Files..."), -1, kPhasePause);
    std::vector<std::string> siteFiles, downloads;
    for (size_t i = next; i < m_staged.size(); ++i) {
        m_record.Add(m_staged[i].path, m_staged[i].size);
        siteFiles.push_back(m_staged[i].path);
    }
    if (!SendInFolder("files", siteFiles, false))
        return false;
    Status(ResourceText(IDS_DOWNLOAD_FILES_PHASE, "Download Files..."), -1, kPhasePause);
    for (const StagedFile& download : GatherDownloads()) {
        m_record.Add(download.path, download.size);
        downloads.push_back(download.path);
    }
    if (!SendInFolder("files/Download", downloads, true))
        return false;
    if (!ChdirRoot())
        return FolderFailed(false);
    Status(ResourceText(IDS_MAINTENANCE_FILES_PHASE, "Maintenance Files"), kPhaseRange);
    RemoveOldStartPages();
    return WriteRecordAndBackup();
}

void CSiteUpload::UpdateFlashObjects(const std::vector<std::string>& xmlFiles, const std::vector<std::string>& updated)
{
    Messages& messages = GetMessages();
    FilesOfLists added;
    for (int i = 0; i < m_site.GetFilePairCount(); ++i)
        added.listed.insert(m_site.GetFilePair(i)->m_strSource);
    for (const std::string& xml : xmlFiles) {
        if (Contains(updated, xml))
            messages.ShowMessage("A Tallowmere Flash Object on your Website has been updated:\n" + xml +
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
    GetPublishHost().ShowUploadProgress(nullptr, nullptr);
    if (m_ftp)
        m_ftp->DestroyLogFile();
    m_ftp.reset();
    m_report.published = true;
    if (!m_report.again)
        GetPublishHost().ShowPublishDialog(dialogPublished);
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
