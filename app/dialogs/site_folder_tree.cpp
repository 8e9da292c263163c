#include "app/dialogs/site_folder_tree.h"

#include <filesystem>
#include <optional>
#include <wx/artprov.h>
#include <wx/image.h>
#include <wx/imaglist.h>
#include <wx/utils.h>

#include "app/dialogs/notice_dialogs.h"
#include "app/dialogs/site_folder_model.h"
#include "app/model/services.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/resource_folder.h"
#include "platform/text/codepage.h"

wxIMPLEMENT_DYNAMIC_CLASS(CSiteFolderTree, wxTreeCtrl);

namespace {

class NodeData : public wxTreeItemData
{
public:
    explicit NodeData(CSiteNode* node) : m_pNode(node) {}
    CSiteNode* m_pNode;
};

bool LocalFileExists(const std::string& path)
{
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// The program's picture of an icon, its cyan left transparent; the toolkit's own when the picture is missing.
wxBitmap IconPicture(int icon)
{
    constexpr unsigned kFirstIconBitmap = 6140;
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    wxImage image;
    if (image.LoadFile(wxString::FromUTF8(GetBitmapResourcePath(kFirstIconBitmap + icon).string()),
                       wxBITMAP_TYPE_PNG)) {
        image.SetMaskColour(0, 255, 255);
        return wxBitmap(image);
    }
    const char* art = icon == CSiteFolderTree::kFolderIcon       ? wxART_FOLDER
                      : icon == CSiteFolderTree::kOpenFolderIcon ? wxART_FOLDER_OPEN
                                                                 : wxART_NORMAL_FILE;
    return wxArtProvider::GetBitmap(art, wxART_OTHER, wxSize(16, 16));
}

} // namespace

CSiteFolderTree::CSiteFolderTree()
{
    Bind(wxEVT_TREE_ITEM_EXPANDED, &CSiteFolderTree::OnItemExpanded, this);
    Bind(wxEVT_TREE_BEGIN_LABEL_EDIT, &CSiteFolderTree::OnBeginLabelEdit, this);
    Bind(wxEVT_TREE_END_LABEL_EDIT, &CSiteFolderTree::OnEndLabelEdit, this);
}

CSiteFolderTree::~CSiteFolderTree()
{
    // The list of icons goes with this tree; the tree must let go of it first.
    if (m_icons)
        SetImageList(nullptr);
}

wxString CSiteFolderTree::NodeText(const CSiteNode& node)
{
    const std::string name = node.GetName();
    return BytesToWx(name.empty() || name == "/" ? GetRootFolderName() : name);
}

int CSiteFolderTree::FileIcon(const std::string& localPath)
{
    switch (GetSiteFileKind(localPath)) {
    case SiteFileKind::page:
        return kPageIcon;
    case SiteFileKind::picture:
        return kPictureIcon;
    case SiteFileKind::script:
        return kScriptIcon;
    case SiteFileKind::flash:
        return kFlashIcon;
    case SiteFileKind::other:
        break;
    }
    return kFileIcon;
}

bool CSiteFolderTree::Fill(int mode, bool showFiles)
{
    m_nMode = mode;
    m_showFiles = showFiles;
    DeleteAllItems();
    if (!m_pModel || !m_pModel->GetRoot())
        return false;
    if (!m_icons) {
        const wxSize size(16, 16);
        m_icons = std::make_unique<wxImageList>(size.x, size.y, true, kFileIcon + 1);
        for (int icon = kFolderIcon; icon <= kFileIcon; ++icon)
            m_icons->Add(IconPicture(icon));
        SetImageList(m_icons.get());
    }
    CSiteFolder* root = m_pModel->GetRoot();
    const wxTreeItemId rootItem = AddRoot(NodeText(*root), kFolderIcon, kOpenFolderIcon, new NodeData(root));
    for (const auto& folder : root->GetFolders())
        InsertFolder(rootItem, folder.get());
    if (m_showFiles)
        for (const auto& file : root->GetFiles())
            InsertNode(rootItem, file->GetLocalPath(), file.get());
    SelectItem(rootItem);
    return true;
}

void CSiteFolderTree::InsertFolder(const wxTreeItemId& parent, CSiteNode* node)
{
    const wxTreeItemId item = InsertNode(parent, {}, node);
    auto* folder = static_cast<CSiteFolder*>(node);
    for (const auto& child : folder->GetFolders())
        InsertFolder(item, child.get());
    if (m_showFiles)
        for (const auto& file : folder->GetFiles())
            InsertNode(item, file->GetLocalPath(), file.get());
}

wxTreeItemId CSiteFolderTree::InsertNode(const wxTreeItemId& parent, const std::string& localPath, CSiteNode* node)
{
    const bool folder = localPath.empty();
    if (!folder && !LocalFileExists(localPath))
        return {};
    const int image = folder ? kFolderIcon : FileIcon(localPath);
    const int selected = folder ? kOpenFolderIcon : image;
    auto* data = new NodeData(node);
    if (m_nMode == kSorted) {
        // After the last item that sorts before the new one.
        wxTreeItemId previous;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId child = GetFirstChild(parent, cookie); child.IsOk(); child = GetNextChild(parent, cookie)) {
            if (CompareSiteNodes(*GetItemNode(child), *node) > 0)
                break;
            previous = child;
        }
        return previous.IsOk() ? InsertItem(parent, previous, NodeText(*node), image, selected, data)
                               : PrependItem(parent, NodeText(*node), image, selected, data);
    }
    return AppendItem(parent, NodeText(*node), image, selected, data);
}

CSiteNode* CSiteFolderTree::GetItemNode(const wxTreeItemId& item) const
{
    const auto* data = item.IsOk() ? dynamic_cast<NodeData*>(GetItemData(item)) : nullptr;
    return data ? data->m_pNode : nullptr;
}

wxTreeItemId CSiteFolderTree::FindNodeItem(const CSiteNode* node) const
{
    std::vector<wxTreeItemId> pending;
    if (GetRootItem().IsOk())
        pending.push_back(GetRootItem());
    while (!pending.empty()) {
        const wxTreeItemId item = pending.back();
        pending.pop_back();
        if (GetItemNode(item) == node)
            return item;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId child = GetFirstChild(item, cookie); child.IsOk(); child = GetNextChild(item, cookie))
            pending.push_back(child);
    }
    return {};
}

int CSiteFolderTree::OnCompareItems(const wxTreeItemId& a, const wxTreeItemId& b)
{
    const CSiteNode* x = GetItemNode(a);
    const CSiteNode* y = GetItemNode(b);
    return x && y ? CompareSiteNodes(*x, *y) : 0;
}

void CSiteFolderTree::OnItemExpanded(wxTreeEvent& event)
{
    if (m_nMode == kSortOnExpand) {
        wxBusyCursor wait;
        SortChildren(event.GetItem());
    }
    event.Skip();
}

void CSiteFolderTree::OnBeginLabelEdit(wxTreeEvent& event)
{
    const CSiteNode* node = GetItemNode(event.GetItem());
    if (!node || !CanEditSiteNodeLabel(*node))
        event.Veto();
}

void CSiteFolderTree::OnEndLabelEdit(wxTreeEvent& event)
{
    CSiteNode* node = GetItemNode(event.GetItem());
    if (event.IsEditCancelled() || !node)
        return;
    if (!CanEditSiteNodeLabel(*node)) {
        event.Veto();
        return;
    }
    // A name the program's text cannot hold is refused like any other bad name.
    const std::optional<std::string> text = Utf8ToWindows1252(event.GetLabel().utf8_string());
    if (text && RenameSiteFolder(*node, *text)) {
        // Shown as the model now names it, whoever ended the edit.
        SetItemText(event.GetItem(), NodeText(*node));
        return;
    }
    event.Veto();
    Messages& messages = GetMessages();
    messages.Beep();
    messages.ShowNotice(kNoticeFolderNameRefused);
}
