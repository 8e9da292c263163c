#pragma once

// The picture files the user replaced while a site is open, so that every other fill naming the same file, or
// another file of the same folder, finds its picture again without asking. Kept in memory only, one per site.

#include <string>
#include <utility>
#include <vector>

class CFileNameMap
{
public:
    CFileNameMap() = default;

    // Keys are compared without regard to case, as the site's paths were on the system it came from. A value is
    // kept exactly as given: on a case-sensitive file system a lower-cased path may name no file at all.
    void SetReplacementFile(const std::string& oldPath, const std::string& newPath);
    // False, with out untouched, when the path has no replacement.
    bool FindReplacementFile(const std::string& path, std::string& out) const;
    void SetReplacementFolder(const std::string& oldFolder, const std::string& newFolder);
    bool LookupFolder(const std::string& folder, std::string& out) const;

private:
    // Key and value. Keys are stored lower-cased and are unique; the maps hold only what the user replaced, so a
    // linear scan suffices.
    std::vector<std::pair<std::string, std::string>> m_files;
    std::vector<std::pair<std::string, std::string>> m_folders;
};

// Lower case of Windows-1252 text: ASCII letters and the accented capitals. File names compare by it.
std::string LowerCase1252(std::string text);

namespace detail {

// The former name, still used by fill_style.cpp and fill_picture_search.cpp. Remove once they use the plain one.
using ::LowerCase1252;

} // namespace detail
