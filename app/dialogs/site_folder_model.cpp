#include "app/dialogs/site_folder_model.h"

#include <algorithm>
#include <cstring>

#include "app/model/file_pair.h"
#include "app/model/site_paths.h"
#include "platform/resources/string_table.h"
#include "platform/win/codepage1252.h"

namespace {

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
    const auto folders = folder.GetFolders();
    for (size_t i = from; i < folders.size(); ++i)
        if (CSiteFile* file = FirstFileBelow(*folders[i]))
            return file;
    return folder.GetFiles().empty() ? nullptr : folder.GetFiles().front().get();
}

} // namespace

const std::string& GetRootFolderName()
{
    static const std::string name = ResourceText(IDS_ROOT_MARKER, "{Root}");
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
    if (!m_parent)
        return {};
    std::string path = GetName();
    for (const CSiteFolder* folder = m_parent; folder; folder = folder->GetParent()) {
        const std::string name = folder->GetParent() ? folder->GetName() : std::string();
        path = (name == GetRootFolderName() ? std::string() : name) + "/" + path;
    }
    return path;
}

size_t CSiteNode::GetListPosition() const
{
    if (!m_parent)
        return 0;
    const size_t count = IsFolder() ? m_parent->GetFolders().size() : m_parent->GetFiles().size();
    return count - 1 - m_nIndex;
}

std::string CSiteFile::GetName() const
{
    return GetFileNameFromPath(m_localPath);
}

CSiteFolder::CSiteFolder(std::string name) : m_strName(std::move(name)), m_ReservedNames{GetRootFolderName()}
{
    m_reservedIndex.emplace(LowerCase1252(GetRootFolderName()), 0);
}

DWORD CSiteFolder::GetLockFlags() const
{
    if (!m_parent)
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

template <class Node>
void CSiteFolder::Append(std::vector<std::unique_ptr<Node>>& list, NameIndex<Node>& index, std::unique_ptr<Node> node,
                         CSiteFolder* parent)
{
    node->m_parent = parent;
    node->m_nIndex = list.size();
    Node*& indexed = index[LowerCase1252(node->GetName())];
    // Only a node adopted unchecked can share a name; without one, a node leaving never has another to look for.
    parent->m_sharedNames = parent->m_sharedNames || indexed != nullptr;
    indexed = node.get();
    list.push_back(std::move(node));
}

// After node left the list or changed its name: the key names the newest other node of that name, if any.
template <class Node>
void CSiteFolder::Unindex(const std::vector<std::unique_ptr<Node>>& list, NameIndex<Node>& index,
                          const std::string& key, const Node* node, bool sharedNames)
{
    const auto found = index.find(key);
    if (found == index.end() || found->second != node)
        return;
    index.erase(found);
    if (!sharedNames)
        return;
    for (size_t i = list.size(); i-- > 0;)
        if (list[i].get() != node && LowerCase1252(list[i]->GetName()) == key) {
            index.emplace(key, list[i].get());
            break;
        }
}

template <class Node>
std::unique_ptr<Node> CSiteFolder::Remove(std::vector<std::unique_ptr<Node>>& list, NameIndex<Node>& index,
                                          const CSiteNode* node, const CSiteFolder* parent)
{
    if (!node || node->m_parent != parent || node->m_nIndex >= list.size() || list[node->m_nIndex].get() != node)
        return nullptr;
    const size_t at = node->m_nIndex;
    std::unique_ptr<Node> removed = std::move(list[at]);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(at));
    for (size_t i = at; i < list.size(); ++i)
        list[i]->m_nIndex = i;
    Unindex(list, index, LowerCase1252(removed->GetName()), removed.get(), parent->m_sharedNames);
    removed->m_parent = nullptr;
    removed->m_nIndex = 0;
    return removed;
}

void CSiteFolder::SetName(std::string name)
{
    if (!m_parent) {
        m_strName = std::move(name);
        return;
    }
    CSiteFolder& parent = *m_parent;
    const std::string oldKey = LowerCase1252(m_strName);
    m_strName = std::move(name);
    Unindex(parent.m_Folders, parent.m_folderIndex, oldKey, this, parent.m_sharedNames);
    // The folder renamed is the one its new name finds, as the newest of that name would be.
    CSiteFolder*& indexed = parent.m_folderIndex[LowerCase1252(m_strName)];
    parent.m_sharedNames = parent.m_sharedNames || (indexed != nullptr && indexed != this);
    indexed = this;
}

bool CSiteFolder::IsNameFree(const std::string& name) const
{
    const std::string part = GetFileNameFromPath(name);
    return part.find('\\') == std::string::npos && FindReservedName(part) < 0 && !FindSubfolder(part) &&
           !FindFile(part);
}

bool CSiteFolder::AddFolder(const std::string& name)
{
    if (!IsValidFolderName(name) || !IsNameFree(name))
        return false;
    Append(m_Folders, m_folderIndex, std::make_unique<CSiteFolder>(name), this);
    return true;
}

bool CSiteFolder::AddFile(const std::string& localPath, DWORD flags)
{
    if (IsDotName(GetFileNameFromPath(localPath)) || !IsNameFree(localPath))
        return false;
    Append(m_Files, m_fileIndex, std::make_unique<CSiteFile>(localPath, flags | 1), this);
    return true;
}

CSiteFolder* CSiteFolder::FindSubfolder(const std::string& name) const
{
    const auto found = m_folderIndex.find(LowerCase1252(GetFileNameFromPath(name)));
    return found == m_folderIndex.end() ? nullptr : found->second;
}

CSiteFile* CSiteFolder::FindFile(const std::string& name) const
{
    const auto found = m_fileIndex.find(LowerCase1252(GetFileNameFromPath(name)));
    return found == m_fileIndex.end() ? nullptr : found->second;
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
    m_reservedIndex.clear();
    for (const std::string& name : names)
        m_ReservedNames.push_back(GetFileNameFromPath(name));
    m_ReservedNames.push_back(GetRootFolderName());
    for (size_t i = 0; i < m_ReservedNames.size(); ++i)
        m_reservedIndex.emplace(LowerCase1252(m_ReservedNames[i]), static_cast<int>(i));
}

int CSiteFolder::FindReservedName(const std::string& name) const
{
    const auto found = m_reservedIndex.find(LowerCase1252(name));
    return found == m_reservedIndex.end() ? -1 : found->second;
}

void CSiteFolder::AdoptFolder(std::unique_ptr<CSiteFolder> folder)
{
    Append(m_Folders, m_folderIndex, std::move(folder), this);
}

void CSiteFolder::AdoptFile(std::unique_ptr<CSiteFile> file)
{
    Append(m_Files, m_fileIndex, std::move(file), this);
}

std::unique_ptr<CSiteFolder> CSiteFolder::DetachFolder(CSiteFolder* folder)
{
    return Remove(m_Folders, m_folderIndex, folder, this);
}

std::unique_ptr<CSiteFile> CSiteFolder::DetachFile(CSiteFile* file)
{
    return Remove(m_Files, m_fileIndex, file, this);
}

void CSiteFolderModel::Clear()
{
    m_currentFile = nullptr;
    m_root.reset();
}

void CSiteFolderModel::Reset()
{
    Clear();
    m_root = std::make_unique<CSiteFolder>();
}

void CSiteFolderModel::Build(const std::vector<std::string>& reservedNames, const std::vector<const CFilePair*>& pairs)
{
    Reset();
    // Reserved first, so that no stored pair makes a folder where a page of the site goes.
    m_root->SetReservedNames(reservedNames);
    for (const CFilePair* pair : pairs)
        AddFile(pair->m_strSource, pair->m_strTarget, pair->m_dwFlags);
}

bool CSiteFolderModel::AddFile(const std::string& localPath, const std::string& remotePath, DWORD flags)
{
    if (!m_root)
        m_root = std::make_unique<CSiteFolder>();
    const std::vector<std::string> segments = RemoteSegments(remotePath);
    if (segments.size() > static_cast<size_t>(kMaxFolderDepth))
        return false;
    CSiteFolder* folder = m_root.get();
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
    if (!m_root)
        return nullptr;
    const std::vector<std::string> segments = RemoteSegments(remotePath);
    if (segments.empty())
        return nullptr;
    const CSiteFolder* folder = m_root.get();
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
    return m_root ? FindByLocalPath(*m_root, localPath) : nullptr;
}

CSiteFile* CSiteFolderModel::GetFirstFile()
{
    m_currentFile = m_root ? FirstFileBelow(*m_root) : nullptr;
    return m_currentFile;
}

CSiteFile* CSiteFolderModel::GetNextFile()
{
    if (!m_currentFile)
        return nullptr;
    const CSiteFolder* folder = m_currentFile->GetParent();
    const auto files = folder->GetFiles();
    const size_t i = m_currentFile->GetListPosition();
    if (i + 1 < files.size()) {
        m_currentFile = files[i + 1].get();
        return m_currentFile;
    }
    // The folder is done: go on with its next sibling's subtree, or the parent's own files.
    m_currentFile = nullptr;
    for (const CSiteNode* done = folder; done->GetParent(); done = done->GetParent()) {
        const CSiteFolder& parent = *done->GetParent();
        if ((m_currentFile = FirstFileBelow(parent, done->GetListPosition() + 1)))
            break;
    }
    return m_currentFile;
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
