#pragma once

// What a publish puts on the server and takes off it, worked out from the record the last upload left and the
// files staged for this one before any file moves. Nothing here talks to a server, and the sizes and hashes of
// files come through functions the caller gives, so that a plan can be checked on its own.

#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/publish/server_files.h"

// The parts of a remote path between its separators, empty ones left out.
std::vector<std::string> RemotePathParts(const std::string& path);
// The pages the site keeps to itself ("error.html", "noscript.html"): built, never sent.
bool IsUnsentPage(const std::string& name);
bool IsHtmlPath(const std::string& path);

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

struct StagedFile
{
    std::string path;
    long long size = 0;
};

// The record this run leaves on the server beside the one the last run left.
class CUploadRecord
{
public:
    using HashOf = std::function<std::string(const std::string&)>;
    explicit CUploadRecord(HashOf hashOf) : m_hashOf(std::move(hashOf)) {}

    // The record of the last upload (a name may be there more than once).
    void SetOld(std::vector<CServerRecordEntry> old);
    bool WasRecorded(const std::string& path) const { return m_oldByName.count(path) != 0; }
    // Adds the file with its size and, when hashed, the hash of its bytes, unless it is recorded already.
    void Add(const std::string& path, long long size, bool hashed = true);
    bool IsRecorded(const std::string& path) const { return m_newByName.count(path) != 0; }
    // Whether the last upload left this file's bytes on the server: the old record holds its name at its size, and
    // with the same hash where the old record has one (a record of an older run has none: then the size decides).
    bool IsOnServerAlready(const std::string& path, long long size) const;
    // The names of the old record that this one lacks: files the site no longer has.
    std::vector<std::string> Dropped() const;
    const std::vector<CServerRecordEntry>& Entries() const { return m_newRecord; }

private:
    HashOf m_hashOf;
    std::vector<CServerRecordEntry> m_oldRecord;
    std::vector<CServerRecordEntry> m_newRecord;
    std::unordered_multimap<std::string, size_t> m_oldByName;
    std::unordered_map<std::string, size_t> m_newByName;
};

// What a run that knows the last upload's record starts from.
struct UploadPlanInput
{
    // The front page in the staging folder; it heads the pages.
    std::string index;
    // The built files: pages (".html") first, then the site's files.
    std::vector<StagedFile> staged;
    // The site's additional files: source and remote path.
    std::vector<std::pair<std::string, std::string>> pairs;
    // The linked documents, with their sizes.
    std::vector<StagedFile> downloads;
    // The pages changed since the last upload, which go whatever the record says.
    std::vector<std::string> changedPages;
    // The size of a local file, -1 when there is none.
    std::function<long long(const std::string&)> sizeOf;
};

// The puts and deletes of a run, and what the site is to remember of it.
struct UploadPlan
{
    std::vector<std::string> pages;
    std::vector<std::string> included;
    std::vector<std::string> siteFiles;
    std::vector<std::string> downloads;
    // The remote names the site now has published.
    std::vector<std::string> published;
    // The included-file lists among the additional files, and those of them whose bytes changed since the last run.
    std::vector<std::string> xmlFiles;
    std::vector<std::string> updatedXml;
    // The names of the last record the site no longer has, offered for deletion.
    std::vector<std::string> deleted;
};

// Fills record with what the run leaves on the server (its old record already set) and gives the plan.
UploadPlan PlanSynchronize(const UploadPlanInput& input, CUploadRecord& record);

// What a run keeps on the server, by remote path, from its record: a deleted file's name may be that of one of
// these, which must stay. includedTarget gives an additional file's remote path, empty for other files.
std::unordered_set<std::string> KeptRemotePaths(const std::vector<CServerRecordEntry>& record,
                                                const std::string& staging,
                                                const std::function<std::string(const std::string&)>& includedTarget);
