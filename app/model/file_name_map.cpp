#include "app/model/file_name_map.h"

#include "platform/win/codepage1252.h"

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

void SetEntry(Entries& entries, const std::string& key, const std::string& value)
{
    const std::string lowered = LowerCase1252(key);
    for (auto& entry : entries) {
        if (entry.first == lowered) {
            entry.second = value;
            return;
        }
    }
    entries.emplace_back(lowered, value);
}

bool FindEntry(const Entries& entries, const std::string& key, std::string& out)
{
    const std::string lowered = LowerCase1252(key);
    for (const auto& entry : entries) {
        if (entry.first == lowered) {
            out = entry.second;
            return true;
        }
    }
    return false;
}

} // namespace

void CFileNameMap::SetReplacementFile(const std::string& oldPath, const std::string& newPath)
{
    SetEntry(m_files, oldPath, newPath);
}

bool CFileNameMap::FindReplacementFile(const std::string& path, std::string& out) const
{
    return FindEntry(m_files, path, out);
}

void CFileNameMap::SetReplacementFolder(const std::string& oldFolder, const std::string& newFolder)
{
    SetEntry(m_folders, oldFolder, newFolder);
}

bool CFileNameMap::LookupFolder(const std::string& folder, std::string& out) const
{
    return FindEntry(m_folders, folder, out);
}
