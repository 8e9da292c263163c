#pragma once

// The site's remote folders as a tree, with the files in them when they are shown. Folders are renamed in place,
// only through the validated end of a label edit; in the sorted mode a folder's items are put in order when it is
// opened. Every item carries its node.

#include <memory>
#include <string>
#include <wx/treectrl.h>

class CSiteFolderModel;
class CSiteNode;
class wxImageList;

class CSiteFolderTree : public wxTreeCtrl
{
public:
    // Items at the end of their folder; sorted as the tree sorts; sorted when a folder is opened.
    enum Mode
    {
        kAppend = 0,
        kSorted = 1,
        kSortOnExpand = 2,
    };
    // The icons of the shared image list: the folders, then the files by what they hold.
    enum Icon
    {
        kFolderIcon,
        kOpenFolderIcon,
        kPageIcon,
        kPictureIcon,
        kScriptIcon,
        kFlashIcon,
        kFileIcon,
    };

    CSiteFolderTree();
    ~CSiteFolderTree() override;

    void SetModel(CSiteFolderModel* model) { m_pModel = model; }
    CSiteFolderModel* GetModel() const { return m_pModel; }
    // The tree's icons, which a list beside it may share.
    wxImageList* GetIcons() const { return m_icons.get(); }

    // Shows the whole model; false, with the tree empty, when the model has no root.
    bool Fill(int mode, bool showFiles);
    // A folder (empty local path) or file item under parent; a file whose local file is gone is not shown and
    // gives an invalid item.
    wxTreeItemId InsertNode(const wxTreeItemId& parent, const std::string& localPath, CSiteNode* node);
    CSiteNode* GetItemNode(const wxTreeItemId& item) const;
    // The item of a node, or an invalid item.
    wxTreeItemId FindNodeItem(const CSiteNode* node) const;
    // The text an item of the node shows.
    static wxString NodeText(const CSiteNode& node);
    // The icon of a local file.
    static int FileIcon(const std::string& localPath);

protected:
    int OnCompareItems(const wxTreeItemId& a, const wxTreeItemId& b) override;

private:
    void InsertFolder(const wxTreeItemId& parent, CSiteNode* folder);
    void OnItemExpanded(wxTreeEvent& event);
    void OnBeginLabelEdit(wxTreeEvent& event);
    void OnEndLabelEdit(wxTreeEvent& event);

    CSiteFolderModel* m_pModel = nullptr;
    std::unique_ptr<wxImageList> m_icons;
    int m_nMode = kAppend;
    bool m_showFiles = false;

    wxDECLARE_DYNAMIC_CLASS(CSiteFolderTree);
};
