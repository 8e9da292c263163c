#include "app/publish/upload_plan.h"

#include <algorithm>

#include "app/build/linked_files.h"
#include "app/model/site_paths.h"

namespace {

// A name an included-file list may add: inside the list's folder, no address or pattern.
bool IsSafeListedName(const std::string& name)
{
    if (name.empty() || name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':'))
        return false;
    for (const std::string& part : RemotePathParts(name))
        if (part == "..")
            return false;
    return true;
}

} // namespace

std::vector<std::string> RemotePathParts(const std::string& path)
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

bool IsUnsentPage(const std::string& name)
{
    return name == "error.html" || name == "noscript.html";
}

bool IsHtmlPath(const std::string& path)
{
    static const std::string end = ".html";
    return path.size() >= end.size() && path.compare(path.size() - end.size(), end.size(), end) == 0;
}

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

void CUploadRecord::SetOld(std::vector<CServerRecordEntry> old)
{
    m_oldRecord = std::move(old);
    for (size_t i = 0; i < m_oldRecord.size(); ++i)
        m_oldByName.emplace(m_oldRecord[i].name, i);
}

void CUploadRecord::Add(const std::string& path, long long size, bool hashed)
{
    if (m_newByName.emplace(path, m_newRecord.size()).second)
        m_newRecord.push_back(CServerRecordEntry{path, size, hashed ? m_hashOf(path) : std::string()});
}

bool CUploadRecord::IsOnServerAlready(const std::string& path, long long size) const
{
    const auto now = m_newByName.find(path);
    const std::string& hash = now == m_newByName.end() ? std::string() : m_newRecord[now->second].hash;
    const auto [first, last] = m_oldByName.equal_range(path);
    return std::any_of(first, last, [&](const auto& old) {
        const CServerRecordEntry& entry = m_oldRecord[old.second];
        return entry.size == size && (entry.hash.empty() || (!hash.empty() && entry.hash == hash));
    });
}

std::vector<std::string> CUploadRecord::Dropped() const
{
    std::vector<std::string> deleted;
    for (const CServerRecordEntry& entry : m_oldRecord)
        if (!entry.name.empty() && !IsRecorded(entry.name))
            deleted.push_back(entry.name);
    return deleted;
}

UploadPlan PlanSynchronize(const UploadPlanInput& input, CUploadRecord& record)
{
    UploadPlan plan;
    // What this run puts on the server, pages first with the front page at their head.
    const std::string& index = input.index;
    record.Add(index, std::max(input.sizeOf(index), 0LL));
    plan.pages = {index};
    std::unordered_set<std::string> listedPages = {index};
    size_t next = 0;
    for (; next < input.staged.size() && IsHtmlPath(input.staged[next].path); ++next) {
        const std::string name = GetPathFileName(input.staged[next].path);
        if (IsUnsentPage(name))
            continue;
        record.Add(input.staged[next].path, input.staged[next].size);
        if (listedPages.insert(input.staged[next].path).second)
            plan.pages.push_back(input.staged[next].path);
        plan.published.push_back(name);
    }
    for (const auto& [source, target] : input.pairs) {
        const long long size = input.sizeOf(source);
        if (source.empty() || GetPathFileName(source).empty() || size < 0)
            continue;
        record.Add(source, size);
        plan.included.push_back(source);
        plan.published.push_back(target);
    }
    for (; next < input.staged.size(); ++next) {
        record.Add(input.staged[next].path, input.staged[next].size);
        plan.siteFiles.push_back(input.staged[next].path);
    }
    for (const StagedFile& download : input.downloads) {
        record.Add(download.path, download.size);
        plan.downloads.push_back(download.path);
    }

    // Files whose bytes the record shows on the server already stay off the lists; pages always go.
    const auto unchanged = [&](const std::string& path) { return record.IsOnServerAlready(path, input.sizeOf(path)); };
    for (const std::string& path : plan.included)
        if (path.find(".xml") != std::string::npos) {
            plan.xmlFiles.push_back(path);
            if (record.WasRecorded(path) && !unchanged(path))
                plan.updatedXml.push_back(path);
        }
    for (auto* list : {&plan.pages, &plan.included, &plan.siteFiles, &plan.downloads})
        std::erase_if(*list, unchanged);
    listedPages = std::unordered_set<std::string>(plan.pages.begin(), plan.pages.end());
    for (const std::string& page : input.changedPages)
        if (listedPages.insert(page).second)
            plan.pages.push_back(page);
    plan.deleted = record.Dropped();
    return plan;
}

std::unordered_set<std::string> KeptRemotePaths(const std::vector<CServerRecordEntry>& record,
                                                const std::string& staging,
                                                const std::function<std::string(const std::string&)>& includedTarget)
{
    std::unordered_set<std::string> kept;
    for (const CServerRecordEntry& entry : record) {
        const std::string name = GetPathFileName(entry.name);
        if (IsHtmlPath(entry.name) && entry.name.rfind(staging, 0) == 0)
            kept.insert(name);
        else if (const LinkedFile* linked = FindLinkedFile(entry.name))
            kept.insert("files/Download/" + linked->targetName);
        else if (const std::string target = includedTarget(entry.name); !target.empty())
            kept.insert(target[0] == '/' ? target.substr(1) : target);
        else
            kept.insert("files/" + name);
    }
    return kept;
}
