#include "app/dialogs/site_folder_model.h"

#include <algorithm>
#include <cstring>

#include "app/model/file_pair.h"
#include "app/model/site_paths.h"
#include "platform/resources/string_table.h"
#include "platform/win/codepage1252.h"

namespace {

constexpr unsigned kRootMarkerString = 7019;

// The segments of a remote path; a path stored on Windows may separate them with '\'. Empty segments ("//") name
// no folder and are passed over.
std::vector<std::string> RemoteSegments(const std::string& path)
{
    std::vector<std::string> segments;
    size_t start = 0;
    while (start <= path.size()) {
        const size_t end = std::min(path.find_first_of("/\\", start), path.size());
        if (end > start)
            segments.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return segments;
}

bool IsDotName(const std::string& name)
{
    return name.empty() || name == "." || name == "..";
}

// The first file at or after folder index `from` among folder's child folders (each subtree in post-order), then the
// folder's own first file; the walk does not leave folder.
CSiteFile* FirstFileBelow(const CSiteFolder& folder, size_t from = 0)
{
    const auto& folders = folder.GetFolders();
    for (size_t i = from; i < folders.size(); ++i)
        if (CSiteFile* file = FirstFileBelow(*folders[i]))
            return file;
    return folder.GetFiles().empty() ? nullptr : folder.GetFiles().front().get();
}

template <class Node> size_t IndexOf(const std::vector<std::unique_ptr<Node>>& list, const CSiteNode* node)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == node)
            return i;
    return list.size();
}

} // namespace

const std::string& GetRootFolderName()
{
    static const std::string name = ResourceText(kRootMarkerString, "{Root}");
    return name;
}

bool IsValidFolderName(const std::string& name)
{
    return !IsDotName(name) && name.find_first_of("\t\\/:*?\"<>|") == std::string::npos;
}

BOOL CSiteNode::IsNameLocked() const
{
    return IsFileLock1(GetLockFlags()) != 0;
}

BOOL CSiteNode::IsRemoveLocked() const
{
    return IsFileLock2(GetLockFlags()) != 0;
}

BOOL CSiteNode::IsDeleteLocked() const
{
    return IsFileLock4(GetLockFlags()) != 0;
}

std::string CSiteNode::GetPath() const
{
    if (!m_pParent)
        return {};
    std::string path = GetName();
    for (const CSiteFolder* folder = m_pParent; folder; folder = folder->GetParent()) {
        const std::string name = folder->GetParent() ? folder->GetName() : std::string();
        path = (name == GetRootFolderName() ? std::string() : name) + "/" + path;
    }
    return path;
}

std::string CSiteFile::GetName() const
{
    return GetFileNameFromPath(m_strLocalPath);
}

CSiteFolder::CSiteFolder(std::string name) : m_strName(std::move(name)), m_ReservedNames{GetRootFolderName()} {}

DWORD CSiteFolder::GetLockFlags() const
{
    if (!m_pParent)
        return 7;
    DWORD flags = 0;
    for (const auto& folder : m_Folders)
        flags |= folder->GetLockFlags();
    for (const auto& file : m_Files)
        flags |= file->GetLockFlags();
    flags &= ~DWORD(1);
    if (IsFileLock2(flags))
        flags |= 1 | 4;
    return flags;
}

bool CSiteFolder::IsNameFree(const std::string& name) const
{
    const std::string part = GetFileNameFromPath(name);
    return FindReservedName(part) < 0 && !FindSubfolder(part) && !FindFile(part);
}

bool CSiteFolder::AddFolder(const std::string& name)
{
    if (!IsValidFolderName(name) || !IsNameFree(name))
        return false;
    auto folder = std::make_unique<CSiteFolder>(name);
    folder->m_pParent = this;
    m_Folders.insert(m_Folders.begin(), std::move(folder));
    return true;
}

bool CSiteFolder::AddFile(const std::string& localPath, DWORD flags)
{
    if (IsDotName(GetFileNameFromPath(localPath)) || !IsNameFree(localPath))
        return false;
    auto file = std::make_unique<CSiteFile>(localPath, flags | 1);
    file->m_pParent = this;
    m_Files.insert(m_Files.begin(), std::move(file));
    return true;
}

CSiteFolder* CSiteFolder::FindSubfolder(const std::string& name) const
{
    const std::string part = GetFileNameFromPath(name);
    for (const auto& folder : m_Folders)
        if (EqualNoCase1252(folder->m_strName, part))
            return folder.get();
    return nullptr;
}

CSiteFile* CSiteFolder::FindFile(const std::string& name) const
{
    const std::string part = GetFileNameFromPath(name);
    for (const auto& file : m_Files)
        if (EqualNoCase1252(file->GetName(), part))
            return file.get();
    return nullptr;
}

void CSiteFolder::RemoveFile(const std::string& name)
{
    if (CSiteFile* file = FindFile(name))
        DetachFile(file);
}

std::string CSiteFolder::MakeNewFolderName() const
{
    std::string name = "NewFolder";
    for (int counter = 1; !IsNameFree(name); ++counter)
        name = "NewFolder(" + std::to_string(counter) + ")";
    return name;
}

void CSiteFolder::SetReservedNames(const std::vector<std::string>& names)
{
    m_ReservedNames.clear();
    for (const std::string& name : names)
        m_ReservedNames.push_back(GetFileNameFromPath(name));
    m_ReservedNames.push_back(GetRootFolderName());
}

int CSiteFolder::FindReservedName(const std::string& name) const
{
    for (size_t i = 0; i < m_ReservedNames.size(); ++i)
        if (EqualNoCase1252(m_ReservedNames[i], name))
            return static_cast<int>(i);
    return -1;
}

void CSiteFolder::AdoptFolder(std::unique_ptr<CSiteFolder> folder)
{
    folder->m_pParent = this;
    m_Folders.insert(m_Folders.begin(), std::move(folder));
}

void CSiteFolder::AdoptFile(std::unique_ptr<CSiteFile> file)
{
    file->m_pParent = this;
    m_Files.insert(m_Files.begin(), std::move(file));
}

std::unique_ptr<CSiteFolder> CSiteFolder::DetachFolder(CSiteFolder* folder)
{
    const size_t i = IndexOf(m_Folders, folder);
    if (i == m_Folders.size())
        return nullptr;
    std::unique_ptr<CSiteFolder> detached = std::move(m_Folders[i]);
    m_Folders.erase(m_Folders.begin() + static_cast<std::ptrdiff_t>(i));
    detached->m_pParent = nullptr;
    return detached;
}

std::unique_ptr<CSiteFile> CSiteFolder::DetachFile(CSiteFile* file)
{
    const size_t i = IndexOf(m_Files, file);
    if (i == m_Files.size())
        return nullptr;
    std::unique_ptr<CSiteFile> detached = std::move(m_Files[i]);
    m_Files.erase(m_Files.begin() + static_cast<std::ptrdiff_t>(i));
    detached->m_pParent = nullptr;
    return detached;
}

void CSiteFolderModel::Clear()
{
    m_pCurrentFile = nullptr;
    m_pRoot.reset();
}

void CSiteFolderModel::Reset()
{
    Clear();
    m_pRoot = std::make_unique<CSiteFolder>();
}

void CSiteFolderModel::Build(const std::vector<std::string>& reservedNames, const std::vector<const CFilePair*>& pairs)
{
    Reset();
    // Reserved first, so that no stored pair makes a folder where a page of the site goes.
    m_pRoot->SetReservedNames(reservedNames);
    for (const CFilePair* pair : pairs)
        AddFile(pair->m_strSource, pair->m_strTarget, pair->m_dwFlags);
}

bool CSiteFolderModel::AddFile(const std::string& localPath, const std::string& remotePath, DWORD flags)
{
    if (!m_pRoot)
        m_pRoot = std::make_unique<CSiteFolder>();
    const std::vector<std::string> segments = RemoteSegments(remotePath);
    if (segments.size() > static_cast<size_t>(kMaxFolderDepth))
        return false;
    CSiteFolder* folder = m_pRoot.get();
    for (size_t i = 0; i + 1 < segments.size(); ++i) {
        folder->AddFolder(segments[i]);
        folder = folder->FindSubfolder(segments[i]);
        if (!folder)
            return false;
    }
    return folder->AddFile(localPath, flags);
}

CSiteFile* CSiteFolderModel::FindFileByRemotePath(const std::string& remotePath) const
{
    if (!m_pRoot)
        return nullptr;
    const std::vector<std::string> segments = RemoteSegments(remotePath);
    if (segments.empty())
        return nullptr;
    const CSiteFolder* folder = m_pRoot.get();
    for (size_t i = 0; i + 1 < segments.size() && folder; ++i)
        folder = folder->FindSubfolder(segments[i]);
    return folder ? folder->FindFile(segments.back()) : nullptr;
}

namespace {

CSiteFile* FindByLocalPath(const CSiteFolder& folder, const std::string& localPath)
{
    for (const auto& file : folder.GetFiles())
        if (file->GetLocalPath() == localPath)
            return file.get();
    for (const auto& child : folder.GetFolders())
        if (CSiteFile* file = FindByLocalPath(*child, localPath))
            return file;
    return nullptr;
}

} // namespace

CSiteFile* CSiteFolderModel::FindFileByPath(const std::string& localPath) const
{
    return m_pRoot ? FindByLocalPath(*m_pRoot, localPath) : nullptr;
}

CSiteFile* CSiteFolderModel::GetFirstFile()
{
    m_pCurrentFile = m_pRoot ? FirstFileBelow(*m_pRoot) : nullptr;
    return m_pCurrentFile;
}

CSiteFile* CSiteFolderModel::GetNextFile()
{
    if (!m_pCurrentFile)
        return nullptr;
    const CSiteFolder* folder = m_pCurrentFile->GetParent();
    const auto& files = folder->GetFiles();
    const size_t i = IndexOf(files, m_pCurrentFile);
    if (i + 1 < files.size()) {
        m_pCurrentFile = files[i + 1].get();
        return m_pCurrentFile;
    }
    // The folder is done: go on with its next sibling's subtree, or the parent's own files.
    m_pCurrentFile = nullptr;
    for (const CSiteNode* done = folder; done->GetParent(); done = done->GetParent()) {
        const CSiteFolder& parent = *done->GetParent();
        if ((m_pCurrentFile = FirstFileBelow(parent, IndexOf(parent.GetFolders(), done) + 1)))
            break;
    }
    return m_pCurrentFile;
}

int CompareSiteNodes(const CSiteNode& a, const CSiteNode& b)
{
    if (a.IsFolder() != b.IsFolder())
        return a.IsFolder() ? -1 : 1;
    const int order = std::strcmp(a.GetName().c_str(), b.GetName().c_str());
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

bool CanEditSiteNodeLabel(const CSiteNode& node)
{
    return node.IsFolder() && !node.IsNameLocked();
}

bool RenameSiteFolder(CSiteNode& node, const std::string& text)
{
    if (!CanEditSiteNodeLabel(node) || !node.GetParent())
        return false;
    if (!node.GetParent()->IsNameFree(text) || !IsValidFolderName(text))
        return false;
    static_cast<CSiteFolder&>(node).SetName(text);
    return true;
}

SiteFileKind GetSiteFileKind(const std::string& localPath)
{
    std::string extension = GetExtensionFromPath(GetFileNameFromPath(localPath));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    struct Kind
    {
        SiteFileKind kind;
        std::vector<const char*> extensions;
    };
    static const Kind kinds[] = {
        {SiteFileKind::page, {".htm", ".html", ".shtml", ".xhtml"}},
        {SiteFileKind::picture,
         {".gif", ".jpg", ".jpeg", ".jpe", ".png", ".bmp", ".ico", ".svg", ".webp", ".tif", ".tiff"}},
        {SiteFileKind::script, {".js", ".php", ".asp", ".aspx", ".jsp", ".cgi", ".pl", ".py", ".vbs"}},
        {SiteFileKind::flash, {".swf", ".flv"}},
    };
    for (const Kind& kind : kinds)
        for (const char* known : kind.extensions)
            if (extension == known)
                return kind.kind;
    return SiteFileKind::other;
}
