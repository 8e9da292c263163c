#include "app/model/included_file_list.h"

#include <sys/stat.h>

#include <algorithm>
#include <string_view>

#include "platform/win/file.h"
#include "platform/win/path.h"

namespace {

// Searched in this order, each over the whole text, so that a link to "page.html" yields "page.htm" as well.
const char* const kReferenceExtensions[] = {
    ".htm", ".html", ".php",      ".js",  ".bmp", ".jpg", ".png",  ".gif", ".tiff", ".tif", ".swf",
    ".fla", ".flv",  ".settings", ".avi", ".mov", ".mwm", ".mpeg", ".rm",  ".mp3",  ".wav", ".css",
};

// Where a reference that no double quote closes begins. A space alone would take in `href="` in front of the
// "page.htm" of a link to "page.html", or the line before a name at the start of a line; none of these characters
// can stand in an unquoted reference.
bool StartsUnquotedReference(char c)
{
    return std::string_view(" \t\r\n\f\"'=(<>").find(c) != std::string_view::npos;
}

// The file names of a companion search leave out what is no file a page uses: names without an extension and,
// where the page's own kind would come along, other pages.
enum class Skip
{
    NoExtension,
    NoExtensionOrPage,
};

bool Skipped(const std::string& name, Skip skip)
{
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return true;
    const std::string ext = name.substr(dot);
    if (ext == ".")
        return true;
    return skip == Skip::NoExtensionOrPage && (ext == ".html" || ext == ".htm");
}

} // namespace

namespace detail {

std::vector<std::string> FindReferences(const std::string& text)
{
    std::vector<std::string> names;
    for (const char* extension : kReferenceExtensions) {
        const std::string ext = extension;
        // Each search goes on after the last occurrence, and a name never reaches back before it.
        size_t from = 0;
        for (size_t p = text.find(ext); p != std::string::npos; p = text.find(ext, from)) {
            const size_t end = p + ext.size();
            const bool quoted = end < text.size() && text[end] == '"';
            size_t start = p;
            while (start > from && (quoted ? text[start - 1] != '"' : !StartsUnquotedReference(text[start - 1])))
                --start;
            names.push_back(text.substr(start, end - start));
            from = p + 1;
        }
    }
    return names;
}

} // namespace detail

CIncludedFileList::CIncludedFileList(const std::string& path)
{
    Clear();
    ReadText(path);
    if (!m_strText.empty()) {
        std::replace(m_strText.begin(), m_strText.end(), '\\', '/');
        m_Names = detail::FindReferences(m_strText);
    }
    CollectCompanionFiles(path);
}

CIncludedFileList::~CIncludedFileList() = default;

void CIncludedFileList::Clear()
{
    m_nReserved = 0;
    m_strText.clear();
    m_Names.clear();
    m_known.clear();
}

void CIncludedFileList::AddName(const std::string& name)
{
    // The names of the text are taken in only once a name is added, as most pages bring no companion files.
    if (m_known.empty())
        m_known.insert(m_Names.begin(), m_Names.end());
    if (m_known.insert(name).second)
        m_Names.push_back(name);
}

int CIncludedFileList::FindName(const std::string& name) const
{
    const auto found = std::find(m_Names.begin(), m_Names.end(), name);
    return found == m_Names.end() ? -1 : static_cast<int>(found - m_Names.begin());
}

void CIncludedFileList::ReadText(const std::string& path)
{
    m_nReserved = 1;
    // Only a regular file: opening a FIFO someone named like a page would wait for a writer forever.
    struct stat st;
    if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    try {
        CFile file;
        if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone))
            return;
        const ULONGLONG length = file.GetLength();
        if (length > kLargestPage)
            return;
        std::string text(static_cast<size_t>(length), '\0');
        if (file.Read(text.data(), static_cast<UINT>(length)) != length)
            return;
        m_strText = std::move(text);
        m_nReserved = 0;
    } catch (const CFileException&) {
    }
}

void CIncludedFileList::CollectCompanionFiles(const std::string& path)
{
    std::string folder, title;
    SplitPath(path, nullptr, &folder, &title, nullptr);
    // Without a title every search below would list the page's own folder or every hidden file.
    if (title.empty())
        return;
    // A page given without a folder lies in the current one, not in the root.
    const bool fromRoot = !folder.empty() && (folder.front() == '/' || folder.front() == '\\');
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    if (!folder.empty() || fromRoot)
        folder += '/';

    // The companion folders' files are named by the folder they sit in, so that the callers can find them from the
    // page's folder and place them beside the page on the server.
    auto addFiles = [this](const std::string& dir, const std::string& prefix, Skip skip) {
        for (const FolderEntry& entry : ListFolder(dir)) {
            if (!entry.isFolder && !Skipped(entry.name, skip))
                AddName(prefix + entry.name);
        }
    };

    // Entries named like the page, alone or with an extension, looked for in the current folder first, which is
    // the page's folder when the page was just chosen in a file dialog; the page's folder is searched only when
    // the current one holds no such entry at all.
    auto siblingsOf = [&title](const std::string& dir) {
        std::vector<FolderEntry> siblings;
        for (FolderEntry& entry : ListFolder(dir)) {
            if (entry.name.compare(0, title.size(), title) == 0 &&
                (entry.name.size() == title.size() || entry.name[title.size()] == '.'))
                siblings.push_back(std::move(entry));
        }
        return siblings;
    };
    std::vector<FolderEntry> siblings = siblingsOf("");
    if (siblings.empty())
        siblings = siblingsOf(folder);
    for (const FolderEntry& entry : siblings) {
        if (!entry.isFolder && !Skipped(entry.name, Skip::NoExtensionOrPage))
            AddName(entry.name);
    }

    addFiles(folder + title, title + "/", Skip::NoExtensionOrPage);
    addFiles(folder + title + "_files", title + "_files/", Skip::NoExtensionOrPage);
    const std::string spaced = title + " files/";
    addFiles(folder + spaced, spaced, Skip::NoExtension);
    const std::string fontData = spaced + kWebFontDataFolder + "/";
    addFiles(folder + fontData, fontData, Skip::NoExtension);
    addFiles(folder + fontData + "fonts", fontData + "fonts/", Skip::NoExtensionOrPage);
}
