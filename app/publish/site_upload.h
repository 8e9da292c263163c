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

class CWebsite;
class CChangedPages;
class CFtp;
class CUploadProgress;
class CSiteBuilder;

// The dialogs the publisher shows, by number.
enum PublishDialog : int
{
    dialogSetupIncomplete = 413,
    dialogCannotConnect = 468,
    dialogCannotCreateFolder = 469,
    dialogDeleteFailed = 470,
    dialogUploadFailed = 471,
    dialogServerNotFound = 475,
    dialogLoginFailed = 476,
    dialogCannotReadFolder = 477,
    dialogSiteDeleted = 472,
    dialogConnectionDropped = 478,
    dialogDeleteSiteFiles = 416,
    dialogPublished = 5011,
    dialogSaveBeforeSend = 5015,
};

// Whether the settings name a destination the upload can use: with no proxy a server, a user and a password; with
// a proxy at least one of the proxy server, the server, the user and the password.
bool IsInternetSetupComplete();
// The same, and when it is not, the prompt and the setup dialog until it is or the user gives up.
bool CheckInternetSetup();

// Copies a file to the server at a path below the current remote folder, making its folders on the way, and
// returns to the folder it started from. False when any step fails.
bool PutToRemotePath(CFtp& connection, const std::string& localPath, const std::string& remotePath);
// Removes a file below the current remote folder and then every folder of its path that the removal left empty,
// returning to the folder it started from. False at the first step that fails.
bool RemoveRemoteFileAndEmptyFolders(CFtp& connection, const std::string& remotePath);

// The files that included-file lists of Flash objects name, as pairs to add to the site: the list itself (under its
// file name at the root) once it names anything, then every name that stays inside the list's folder and is no
// address or pattern (under "/" + the name). A source already listed, or already a source of the site, is not
// added again.
struct FilesOfLists
{
    void Add(const std::string& list, const std::vector<std::string>& names);

    std::unordered_set<std::string> listed;
    std::vector<std::string> sources;
    std::vector<std::string> targets;
};

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
    struct Staged
    {
        std::string path;
        long long size = 0;
    };

    bool Prepare();
    bool Build();
    bool Connect();
    bool EnterRemoteFolders();
    bool CollectFiles();
    void GatherDownloads();
    bool Synchronize();
    bool UploadEverything();
    bool SendPages(const std::vector<std::string>& pages);
    bool SendIncluded(const std::vector<std::string>& included);
    bool SendInFolder(const char* folder, const std::vector<std::string>& files, bool downloads);
    void RemoveOldStartPages();
    bool DeleteRemovedFiles(const std::vector<std::string>& droppedIncluded);
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
    // Adds the file with its size and, when hashed, the hash of its bytes, unless it is recorded already.
    void AddToRecord(const std::string& path, long long size, bool hashed = true);
    bool IsRecorded(const std::string& path) const;
    // Whether the last upload left this file's bytes on the server: the old record holds its name at its size, and
    // with the same hash where the old record has one (a record of an older run has none: then the size decides).
    bool IsOnServerAlready(const std::string& path) const;
    // Reads the record of the last upload; false when the run is to send everything.
    bool FetchOldRecord(bool reupload);
    std::string IncludedTarget(const std::string& source);

    CWebsite& m_site;
    CChangedPages& m_tracker;
    std::string m_strTitle;
    std::string m_strStaging;
    std::unique_ptr<CSiteBuilder> m_pBuilder;
    std::unique_ptr<CFtp> m_pFtp;
    std::unique_ptr<CUploadProgress> m_pProgress;
    std::string m_strRoot;
    long long m_nTotal = 0;

    std::vector<std::string> m_pages;
    std::vector<std::string> m_included;
    std::vector<std::string> m_siteFiles;
    std::vector<std::string> m_downloads;
    std::vector<Staged> m_staged;
    std::vector<CServerRecordEntry> m_oldRecord;
    std::vector<CServerRecordEntry> m_newRecord;
    // By name: the entries of the old record (a name may be there more than once) and of the new one.
    std::unordered_multimap<std::string, size_t> m_oldByName;
    std::unordered_map<std::string, size_t> m_newByName;
    // The remote path of each included file's source, the first pair's, made again when the pairs change.
    std::unordered_map<std::string, std::string> m_includedTargets;
    int m_nIncludedTargetsOf = -1;
    UploadReport m_report;
};

// The command that removes the published site from the server: after the user agrees (416), the pages, the
// files the old upload list names, and "files" with "Download" go; the record and the backups stay. False when
// it stopped early (the user has been told why).
bool RemovePublishedWebsite(CWebsite& site, CChangedPages& tracker);

// The Send and re-upload commands: runs the upload on the current site and the main window's tracker, again while
// an updated Flash object asks for it.
void SynchronizeWebsite(bool reupload);
