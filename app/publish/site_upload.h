#pragma once

// Publishing the open site: it is built into the private staging folder, compared with the record of what the
// last upload left on the server, and what is new or changed goes up; files the site no longer has may be deleted
// from the server; a new record and a dated copy of the site file are left there. Every question and notice goes
// through the program's dialog seam, so that the run can be driven by a script.

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/publish/server_files.h"
#include "app/publish/upload_plan.h"
#include "app/publish/upload_remote.h"

class CWebsite;
class CChangedPages;
class CFtp;
class CUploadProgress;
class CSiteBuilder;

// What one run did, for the caller and the tests.
struct UploadReport
{
    // The run reached its end: the record and the backup are on the server.
    bool published = false;
    // An updated Flash object's list named new files: the run must go again.
    bool again = false;
    // The remote paths sent, from the root of the WWW folder, in order ("index.html", "files/IMG_0.jpg", ...).
    std::vector<std::string> sent;
    // The remote paths removed as no longer part of the site.
    std::vector<std::string> removed;
    long long bytesSent = 0;
};

class CSiteUpload
{
public:
    CSiteUpload(CWebsite& site, CChangedPages& tracker);
    ~CSiteUpload();
    CSiteUpload(const CSiteUpload&) = delete;
    CSiteUpload& operator=(const CSiteUpload&) = delete;

    // One run. reupload ignores the server's record: everything is sent and nothing is offered for deletion.
    UploadReport Run(bool reupload);

private:
    bool Prepare();
    bool Build();
    bool Connect();
    bool EnterRemoteFolders();
    bool CollectFiles();
    std::vector<StagedFile> GatherDownloads();
    bool Synchronize();
    bool UploadEverything();
    bool SendPages(const std::vector<std::string>& pages);
    bool SendIncluded(const std::vector<std::string>& included);
    bool SendInFolder(const char* folder, const std::vector<std::string>& files, bool downloads);
    void RemoveOldStartPages();
    bool DeleteRemovedFiles(std::vector<std::string> deleted);
    bool WriteRecordAndBackup();
    void UpdateFlashObjects(const std::vector<std::string>& xmlFiles, const std::vector<std::string>& updated);
    void Finish();

    bool ChdirRoot();
    bool Put(const std::string& localPath, const std::string& remoteName, const std::string& remotePath, bool own);
    // Reports a failed folder change or transfer the way the connection's error code asks, and ends the run.
    bool FolderFailed(bool createFailed);
    bool TransferFailed();
    bool Stop(int otherwise);
    void Status(const std::string& text, int range = -1, int pauseMs = 0);
    // Asks whether to go on without a missing file; false ends the run (the log is offered).
    bool ContinueWithout(const std::string& path);
    // Reads the record of the last upload; false when the run is to send everything.
    bool FetchOldRecord(bool reupload);
    std::string IncludedTarget(const std::string& source);

    CWebsite& m_site;
    CChangedPages& m_tracker;
    std::string m_title;
    std::string m_staging;
    std::unique_ptr<CSiteBuilder> m_builder;
    std::unique_ptr<CFtp> m_ftp;
    std::unique_ptr<CUploadProgress> m_progress;
    std::string m_root;
    long long m_total = 0;

    std::vector<StagedFile> m_staged;
    CUploadRecord m_record{FileContentHash};
    // The remote path of each included file's source, the first pair's, made again when the pairs change.
    std::unordered_map<std::string, std::string> m_includedTargets;
    int m_includedTargetsOf = -1;
    UploadReport m_report;
};

// The Send and re-upload commands: runs the upload on the current site and the main window's tracker, again while
// an updated Flash object asks for it.
void SynchronizeWebsite(bool reupload);
