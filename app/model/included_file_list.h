#pragma once

// The files that an HTML page on disk brings along when it is included in a site or published: the names its text
// refers to, and the files in the folders that web editors and browsers save beside a page. Every name is relative
// to the page's folder; the callers make local and server paths of them and keep those that exist.

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

class CIncludedFileList
{
public:
    // Reads and scans the page at path, then collects its companion files. A page that cannot be read adds nothing
    // from its text and is told by CouldNotRead; its companion folders are searched all the same.
    explicit CIncludedFileList(const std::string& path);
    virtual ~CIncludedFileList();

    void Clear();
    // Appends name unless the list holds it already (exact comparison).
    void AddName(const std::string& name);
    // The index of the first name equal to name (exact comparison), or -1.
    int FindName(const std::string& name) const;

    const std::vector<std::string>& GetNames() const { return m_Names; }
    bool CouldNotRead() const { return m_nReserved != 0; }

    // Pages over this size are not scanned: the names found in a text can add up to many times its size, and no
    // page a person edits comes near it.
    static constexpr size_t kLargestPage = 16 * 1024 * 1024;
    // The folder a web-font tool keeps its data in, inside the page's " files" folder.
    static constexpr const char* kWebFontDataFolder = "webfonts";

private:
    void ReadText(const std::string& path);
    void CollectCompanionFiles(const std::string& path);

    // Nonzero when the page could not be read.
    int m_nReserved = 0;
    // The page's bytes with every '\' made '/', so that references written either way read alike.
    std::string m_strText;
    std::vector<std::string> m_Names;
    // The names of m_Names once one is added, so that adding one compares it with none of the others.
    std::unordered_set<std::string> m_known;
};

namespace detail {

// The references in a page's text, in the order the scan meets them: for each of the extensions that name files a
// page uses, every occurrence, taken back to the opening quote when a double quote follows it, else to the nearest
// space, quote or other character that cannot stand in an unquoted name. Duplicates stay.
std::vector<std::string> FindReferences(const std::string& text);

} // namespace detail
