#pragma once

// The site's additional files as a tree of remote folders, which every dialog that places such files edits. The
// model is built from the site's file pairs; after the dialog the site reads each file's remote path back from it.
// Remote names are compared without regard to case, as the servers the site goes to may ignore it; local paths
// are compared exactly, as the local file system does.
//
// Headless: the folder tree and the dialogs show and change it.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win/win_types.h"

class CFilePair;
class CSiteFolder;

// A folder's list of children read from its newest entry to its oldest (the list keeps them oldest first, which
// appending wants). Valid while the folder is not changed.
template <class Node> class NewestFirst
{
public:
    using List = std::vector<std::unique_ptr<Node>>;
    explicit NewestFirst(const List& list) : m_list(&list) {}

    auto begin() const { return m_list->rbegin(); }
    auto end() const { return m_list->rend(); }
    size_t size() const { return m_list->size(); }
    bool empty() const { return m_list->empty(); }
    const std::unique_ptr<Node>& front() const { return m_list->back(); }
    const std::unique_ptr<Node>& operator[](size_t i) const { return (*m_list)[m_list->size() - 1 - i]; }

private:
    const List* m_list;
};

// The root's display name, which is also a reserved name in every folder.
const std::string& GetRootFolderName();

// Whether a name may name a remote folder: none of tab \ / : * ? " < > |, and not empty, "." or "..", which would
// name no folder or one outside the site on the server.
bool IsValidFolderName(const std::string& name);

class CSiteNode
{
public:
    CSiteNode() = default;
    CSiteNode(const CSiteNode&) = delete;
    CSiteNode& operator=(const CSiteNode&) = delete;
    virtual ~CSiteNode() = default;

    virtual BOOL IsFolder() const = 0;
    virtual BOOL IsFile() const = 0;
    virtual std::string GetName() const = 0;
    virtual DWORD GetLockFlags() const = 0;
    virtual BOOL IsNameLocked() const;
    virtual BOOL IsRemoveLocked() const;
    virtual BOOL IsDeleteLocked() const;

    // The remote path: "/images/logo.gif" for logo.gif in folder images; empty for the root.
    std::string GetPath() const;
    CSiteFolder* GetParent() const { return m_parent; }
    // Where the node stands in its folder's list of folders or files, 0 for the newest; 0 without a folder.
    size_t GetListPosition() const;

protected:
    friend class CSiteFolder;
    CSiteFolder* m_parent = nullptr;
    // The index in the folder's list as it is kept, oldest first.
    size_t m_nIndex = 0;
};

class CSiteFile : public CSiteNode
{
public:
    CSiteFile(std::string localPath, DWORD flags) : m_localPath(std::move(localPath)), m_dwFlags(flags) {}

    BOOL IsFolder() const override { return 0; }
    BOOL IsFile() const override { return 1; }
    // The local file's name.
    std::string GetName() const override;
    DWORD GetLockFlags() const override { return m_dwFlags; }
    // A file keeps its local name on the site.
    BOOL IsNameLocked() const override { return 1; }

    const std::string& GetLocalPath() const { return m_localPath; }

private:
    std::string m_localPath;
    DWORD m_dwFlags = 1;
};

class CSiteFolder : public CSiteNode
{
public:
    explicit CSiteFolder(std::string name = {});

    BOOL IsFolder() const override { return 1; }
    BOOL IsFile() const override { return 0; }
    std::string GetName() const override { return m_strName; }
    // Worked out from what the folder holds: a folder holding, at any depth, a file that may not be removed may be
    // neither renamed nor deleted. The root answers 7.
    DWORD GetLockFlags() const override;

    // Sets the name as it stands; the caller has validated it (see RenameSiteFolder).
    void SetName(std::string name);

    // Child folders and files, each list from the newest entry to the oldest.
    NewestFirst<CSiteFolder> GetFolders() const { return NewestFirst<CSiteFolder>(m_Folders); }
    NewestFirst<CSiteFile> GetFiles() const { return NewestFirst<CSiteFile>(m_Files); }

    // True when the name part of name is neither reserved here nor the name of a child folder or a file here;
    // case is ignored. A name holding a '\' is never free: remote paths are split at it.
    bool IsNameFree(const std::string& name) const;
    // False when the name is not free or names no folder.
    bool AddFolder(const std::string& name);
    // False when the local file's name is not free here; the word gets bit 1.
    bool AddFile(const std::string& localPath, DWORD flags);
    CSiteFolder* FindSubfolder(const std::string& name) const;
    CSiteFile* FindFile(const std::string& name) const;
    void RemoveFile(const std::string& name);
    // The first free one of NewFolder, NewFolder(1), NewFolder(2), ...
    std::string MakeNewFolderName() const;
    // The name parts of names, then the root marker.
    void SetReservedNames(const std::vector<std::string>& names);
    // The index in the reserved-name list, or -1.
    int FindReservedName(const std::string& name) const;

    // Moves a node of another folder here (the caller checked the name is free). Used when a folder is deleted and
    // its content goes up one level.
    void AdoptFolder(std::unique_ptr<CSiteFolder> folder);
    void AdoptFile(std::unique_ptr<CSiteFile> file);
    // Cheapest for the newest node of a list, which no other node has to make room for.
    std::unique_ptr<CSiteFolder> DetachFolder(CSiteFolder* folder);
    std::unique_ptr<CSiteFile> DetachFile(CSiteFile* file);

private:
    // Each list is kept oldest first, so that adding is cheap, with its nodes by folded name (the newest of a name
    // when two share one), so that a folder of many files finds a name without comparing it with every other.
    template <class Node> using NameIndex = std::unordered_map<std::string, Node*>;
    template <class Node>
    static void Append(std::vector<std::unique_ptr<Node>>& list, NameIndex<Node>& index, std::unique_ptr<Node> node,
                       CSiteFolder* parent);
    template <class Node>
    static std::unique_ptr<Node> Remove(std::vector<std::unique_ptr<Node>>& list, NameIndex<Node>& index,
                                        const CSiteNode* node, const CSiteFolder* parent);
    template <class Node>
    static void Unindex(const std::vector<std::unique_ptr<Node>>& list, NameIndex<Node>& index, const std::string& key,
                        const Node* node, bool sharedNames);

    std::string m_strName;
    std::vector<std::string> m_ReservedNames;
    // The first index of each folded reserved name.
    std::unordered_map<std::string, int> m_reservedIndex;
    std::vector<std::unique_ptr<CSiteFolder>> m_Folders;
    std::vector<std::unique_ptr<CSiteFile>> m_Files;
    NameIndex<CSiteFolder> m_folderIndex;
    NameIndex<CSiteFile> m_fileIndex;
    // Whether two nodes of a list ever shared a folded name.
    bool m_sharedNames = false;
};

class CSiteFolderModel
{
public:
    // Remote paths deeper than this are refused: no site goes near it, and every walk of the tree stays shallow.
    static constexpr int kMaxFolderDepth = 64;

    // The root, made on demand by AddFile.
    CSiteFolder* GetRoot() const { return m_root.get(); }
    void Clear();
    // Clears and makes a new empty root.
    void Reset();
    // A new root holding every pair that can be placed (those that cannot are left out), with the reserved names.
    void Build(const std::vector<std::string>& reservedNames, const std::vector<const CFilePair*>& pairs);

    // Places the local file in the folders the remote path names (made as needed). The file keeps its local name:
    // the remote path's last segment is not used. False when a folder or the file cannot be placed.
    bool AddFile(const std::string& localPath, const std::string& remotePath, DWORD flags);
    CSiteFile* FindFileByRemotePath(const std::string& remotePath) const;
    // The first file with exactly that local path: a folder's own files before its child folders, depth first.
    CSiteFile* FindFileByPath(const std::string& localPath) const;

    // Every file once, folders in post-order: the files below each child folder, then the folder's own files.
    CSiteFile* GetFirstFile();
    CSiteFile* GetNextFile();

private:
    std::unique_ptr<CSiteFolder> m_root;
    CSiteFile* m_currentFile = nullptr;
};

// The order of a folder's items in the tree: folders before files, then by name, case-sensitive, ascending.
int CompareSiteNodes(const CSiteNode& a, const CSiteNode& b);

// The end of a label edit of a folder: true, with the folder renamed, when the node is a folder that may be
// renamed and the text is a valid name free in its parent. Otherwise the folder keeps its name and the caller
// tells the user; a file, the root and a name-locked folder refuse at once.
bool RenameSiteFolder(CSiteNode& node, const std::string& text);
// Whether a label edit may start on the node: only a folder whose name is not locked.
bool CanEditSiteNodeLabel(const CSiteNode& node);

// What a local file holds, judged by its extension (in any case), for the icon it shows with.
enum class SiteFileKind
{
    page,
    picture,
    script,
    flash,
    other,
};
SiteFileKind GetSiteFileKind(const std::string& localPath);
