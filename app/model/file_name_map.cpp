#include "app/model/file_name_map.h"

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

std::string LowerCase1252(std::string text)
{
    for (char& c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
            c = static_cast<char>(u + 0x20);
        else if (u == 0x8A || u == 0x8C || u == 0x8E)
            c = static_cast<char>(u + 0x10);
        else if (u == 0x9F)
            c = static_cast<char>(0xFF);
    }
    return text;
}

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
