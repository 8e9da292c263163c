#include "app/dialogs/site_folder_dlg.h"

#include <algorithm>
#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/notice_dialogs.h"
#include "app/dialogs/site_folder_tree.h"
#include "app/dialogs/xml_file_collection.h"
#include "platform/gui/text_bytes.h"
#include "platform/gui/xrc_resources.h"
#include "platform/resources/string_table.h"

namespace {

constexpr int kTreeId = 1620;
constexpr int kListId = 1626;
constexpr int kBrowseId = 1631;
constexpr int kAddId = 1628;
constexpr int kAddAllId = 1536;
constexpr int kRemoveId = 1629;
constexpr int kRemoveAllId = 1630;
constexpr int kNewFolderId = 1622;
constexpr int kDeleteFolderId = 1623;
constexpr int kMoveToId = 1621;

// The prompt after the newline of a command's string.
wxString CommandPrompt(unsigned id, const char* fallback)
{
    const std::string text = ResourceText(id, fallback);
    const size_t newline = text.find('\n');
    return BytesToWx(newline == std::string::npos ? text : text.substr(newline + 1));
}

} // namespace

CSiteFolderDLG::CSiteFolderDLG(const std::vector<std::string>& reservedNames,
                               const std::vector<const CFilePair*>& pairs)
{
    for (const CFilePair* pair : pairs)
        m_pairs.push_back(*pair);
    std::vector<const CFilePair*> copies;
    for (const CFilePair& pair : m_pairs)
        copies.push_back(&pair);
    m_model.Build(reservedNames, copies);
}

bool CSiteFolderDLG::LoadTemplate(wxWindow* parent, const char* name, bool withList)
{
    if (!LoadXrcResources() || !wxXmlResource::Get()->LoadDialog(this, parent, name))
        return false;
    m_tree = dynamic_cast<CSiteFolderTree*>(FindWindow(kTreeId));
    m_pList = dynamic_cast<wxListCtrl*>(FindWindow(kListId));
    if (!m_tree || (withList && !m_pList))
        return false;
    m_tree->SetModel(&m_model);
    return true;
}

CSiteMapDLG::CSiteMapDLG(const std::vector<std::string>& reservedNames, const std::vector<const CFilePair*>& pairs,
                         wxWindow* parent)
    : CSiteFolderDLG(reservedNames, pairs)
{
    m_bLoaded = LoadTemplate(parent, "581");
    if (!m_bLoaded)
        return;
    // The list shows where each of the site's files goes.
    m_pList->InsertColumn(0, wxString());
    for (const CFilePair& pair : m_pairs)
        m_pList->InsertItem(m_pList->GetItemCount(), BytesToWx(pair.m_strTarget));
    m_pList->SetColumnWidth(0, wxLIST_AUTOSIZE);
    // The folder buttons have nothing to act on here.
    for (int id : {kNewFolderId, kDeleteFolderId, kMoveToId})
        if (wxWindow* button = FindWindow(id))
            button->Disable();
    GetSizer()->SetSizeHints(this);
    CentreOnParent();
}

CAddFilesDLG::CAddFilesDLG(std::vector<std::string>& localFiles, const std::vector<std::string>& reservedNames,
                           const std::vector<const CFilePair*>& pairs, wxWindow* parent)
    : CSiteFolderDLG(reservedNames, pairs), m_localFiles(localFiles)
{
    m_chooseFiles = [this](std::vector<std::string>& paths) {
        return ChooseFiles(this, CommandPrompt(IDS_ADD_FILES_PROMPT, "Add Files"),
                           BytesToWx(ResourceText(IDS_ALL_FILES, "All Files")) + " (*.*)|*", paths);
    };
    m_bLoaded = LoadTemplate(parent, "583");
    if (!m_bLoaded)
        return;
    m_tree->Fill(CSiteFolderTree::kSortOnExpand, true);
    m_tree->Expand(m_tree->GetRootItem());
    m_pList->SetImageList(m_tree->GetIcons(), wxIMAGE_LIST_SMALL);
    m_pList->InsertColumn(0, wxString());
    for (const std::string& path : m_localFiles)
        InsertListItem(path, false);
    if (!m_listed.empty())
        m_pList->SetItemState(0, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    FitColumn();

    Bind(wxEVT_BUTTON, &CAddFilesDLG::OnBrowse, this, kBrowseId);
    Bind(wxEVT_BUTTON, &CAddFilesDLG::OnAdd, this, kAddId);
    Bind(wxEVT_BUTTON, &CAddFilesDLG::OnAddAll, this, kAddAllId);
    Bind(wxEVT_BUTTON, &CAddFilesDLG::OnRemove, this, kRemoveId);
    Bind(wxEVT_BUTTON, &CAddFilesDLG::OnRemoveAll, this, kRemoveAllId);
    Bind(wxEVT_BUTTON, &CAddFilesDLG::OnNewFolder, this, kNewFolderId);
    Bind(wxEVT_BUTTON, &CAddFilesDLG::OnDeleteFolder, this, kDeleteFolderId);
    m_pList->Bind(wxEVT_LIST_ITEM_SELECTED, [this](wxListEvent& event) {
        UpdateButtons();
        event.Skip();
    });
    m_pList->Bind(wxEVT_LIST_ITEM_DESELECTED, [this](wxListEvent& event) {
        UpdateButtons();
        event.Skip();
    });
    m_tree->Bind(wxEVT_TREE_SEL_CHANGED, [this](wxTreeEvent& event) {
        UpdateButtons();
        event.Skip();
    });
    // A renamed folder may free or take names.
    m_tree->Bind(wxEVT_TREE_END_LABEL_EDIT, [this](wxTreeEvent& event) {
        event.Skip();
        CallAfter([this] { UpdateButtons(); });
    });
    UpdateButtons();
    GetSizer()->SetSizeHints(this);
    CentreOnParent();
}

void CAddFilesDLG::InsertListItem(const std::string& path, bool select)
{
    const long row = m_pList->InsertItem(m_pList->GetItemCount(), PathToWx(path), CSiteFolderTree::FileIcon(path));
    m_listed.push_back(path);
    if (select) {
        m_pList->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        m_pList->EnsureVisible(row);
    }
}

std::vector<long> CAddFilesDLG::SelectedRows() const
{
    std::vector<long> rows;
    for (long row = m_pList->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); row >= 0;
         row = m_pList->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(row);
    return rows;
}

CSiteNode* CAddFilesDLG::SelectedNode() const
{
    return m_tree->GetItemNode(m_tree->GetSelection());
}

AddFilesButtons CAddFilesDLG::GetButtons() const
{
    std::vector<std::string> selected;
    for (long row : SelectedRows())
        selected.push_back(m_listed[static_cast<size_t>(row)]);
    return GetAddFilesButtons(SelectedNode(), selected, m_listed, m_placed);
}

void CAddFilesDLG::UpdateButtons()
{
    const AddFilesButtons buttons = GetButtons();
    const std::pair<int, bool> states[] = {
        {kNewFolderId, buttons.newFolder},
        {kDeleteFolderId, buttons.deleteFolder},
        {kAddId, buttons.add},
        {kAddAllId, buttons.addAll},
        {kRemoveId, buttons.remove},
        {kRemoveAllId, buttons.removeAll},
        {wxID_OK, buttons.ok},
    };
    for (const auto& [id, on] : states)
        if (wxWindow* button = FindWindow(id))
            button->Enable(on);
}

void CAddFilesDLG::FitColumn()
{
    m_pList->SetColumnWidth(0, m_listed.empty() ? wxLIST_AUTOSIZE_USEHEADER : wxLIST_AUTOSIZE);
}

void CAddFilesDLG::OnBrowse(wxCommandEvent&)
{
    std::vector<std::string> chosen;
    if (!m_chooseFiles || !m_chooseFiles(chosen))
        return;
    bool any = false;
    for (const std::string& path : chosen) {
        if (std::find(m_localFiles.begin(), m_localFiles.end(), path) != m_localFiles.end())
            continue;
        m_localFiles.push_back(path);
        for (long row : SelectedRows())
            m_pList->SetItemState(row, 0, wxLIST_STATE_SELECTED);
        InsertListItem(path, true);
        any = true;
    }
    if (any) {
        FitColumn();
        UpdateButtons();
    }
}

void CAddFilesDLG::PlaceRows(const std::vector<long>& rows)
{
    CSiteNode* node = SelectedNode();
    if (!node || !node->IsFolder() || rows.empty())
        return;
    auto& folder = static_cast<CSiteFolder&>(*node);
    const wxTreeItemId folderItem = m_tree->GetSelection();
    std::vector<std::string> paths;
    for (long row : rows)
        paths.push_back(m_listed[static_cast<size_t>(row)]);
    const std::vector<size_t> placed = PlaceLocalFiles(folder, paths);
    wxTreeItemId last;
    for (size_t i : placed) {
        CSiteFile* file = folder.FindFile(paths[i]);
        if (const wxTreeItemId item = m_tree->InsertNode(folderItem, paths[i], file); item.IsOk())
            last = item;
    }
    m_tree->Expand(folderItem);
    if (last.IsOk())
        m_tree->EnsureVisible(last);
    m_placed += static_cast<int>(placed.size());
    // The rows placed leave the list, from the last to the first; a file the folder refused stays.
    for (auto i = placed.rbegin(); i != placed.rend(); ++i) {
        const long row = rows[*i];
        m_pList->DeleteItem(row);
        m_listed.erase(m_listed.begin() + row);
    }
    FitColumn();
    if (wxWindow* ok = FindWindow(wxID_OK))
        ok->SetFocus();
    UpdateButtons();
}

void CAddFilesDLG::OnAdd(wxCommandEvent&)
{
    PlaceRows(SelectedRows());
}

void CAddFilesDLG::OnAddAll(wxCommandEvent&)
{
    std::vector<long> rows(m_listed.size());
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<long>(i);
    PlaceRows(rows);
}

void CAddFilesDLG::RemoveFileItem(const wxTreeItemId& item)
{
    CSiteNode* node = m_tree->GetItemNode(item);
    if (!node || !node->IsFile() || node->IsRemoveLocked())
        return;
    const std::string path = static_cast<CSiteFile*>(node)->GetLocalPath();
    CSiteFolder* folder = node->GetParent();
    m_tree->Delete(item);
    folder->DetachFile(static_cast<CSiteFile*>(node));
    for (long row : SelectedRows())
        m_pList->SetItemState(row, 0, wxLIST_STATE_SELECTED);
    InsertListItem(path, true);
    --m_placed;
}

void CAddFilesDLG::OnRemove(wxCommandEvent&)
{
    const wxTreeItemId item = m_tree->GetSelection();
    if (!item.IsOk())
        return;
    const wxTreeItemId parent = m_tree->GetItemParent(item);
    RemoveFileItem(item);
    if (parent.IsOk()) {
        m_tree->SelectItem(parent);
        m_tree->EnsureVisible(parent);
    }
    FitColumn();
    if (wxWindow* add = FindWindow(kAddId))
        add->SetFocus();
    UpdateButtons();
}

void CAddFilesDLG::OnRemoveAll(wxCommandEvent&)
{
    std::vector<wxTreeItemId> files;
    std::vector<wxTreeItemId> pending{m_tree->GetRootItem()};
    while (!pending.empty()) {
        const wxTreeItemId item = pending.front();
        pending.erase(pending.begin());
        if (!item.IsOk())
            continue;
        const CSiteNode* node = m_tree->GetItemNode(item);
        if (node && node->IsFile())
            files.push_back(item);
        wxTreeItemIdValue cookie;
        std::vector<wxTreeItemId> children;
        for (wxTreeItemId child = m_tree->GetFirstChild(item, cookie); child.IsOk();
             child = m_tree->GetNextChild(item, cookie))
            children.push_back(child);
        pending.insert(pending.begin(), children.begin(), children.end());
    }
    m_tree->SelectItem(m_tree->GetRootItem());
    for (const wxTreeItemId& item : files)
        RemoveFileItem(item);
    FitColumn();
    UpdateButtons();
}

void CAddFilesDLG::OnNewFolder(wxCommandEvent&)
{
    CSiteNode* node = SelectedNode();
    if (!node || !node->IsFolder())
        return;
    auto& folder = static_cast<CSiteFolder&>(*node);
    const std::string name = folder.MakeNewFolderName();
    if (!folder.AddFolder(name))
        return;
    const wxTreeItemId item = m_tree->InsertNode(m_tree->GetSelection(), {}, folder.FindSubfolder(name));
    m_tree->SelectItem(item);
    m_tree->EnsureVisible(item);
    m_tree->EditLabel(item);
    UpdateButtons();
}

void CAddFilesDLG::OnDeleteFolder(wxCommandEvent&)
{
    CSiteNode* node = SelectedNode();
    if (!node || !node->IsFolder())
        return;
    wxBusyCursor wait;
    CSiteFolder* parent = node->GetParent();
    if (!DeleteSiteFolder(static_cast<CSiteFolder&>(*node)))
        return;
    // What the folder held is now in its parent: show the tree again with the parent open.
    m_tree->Fill(CSiteFolderTree::kSortOnExpand, true);
    const wxTreeItemId item = m_tree->FindNodeItem(parent);
    m_tree->Expand(m_tree->GetRootItem());
    m_tree->Expand(item);
    m_tree->SelectItem(item);
    m_tree->EnsureVisible(item);
    UpdateButtons();
}

FilesDialogResult MakeFilesDialogResult(CSiteFolderModel& model, const std::vector<std::string>& chosen)
{
    FilesDialogResult result;
    result.m_chosen = chosen;
    for (CSiteFile* file = model.GetFirstFile(); file; file = model.GetNextFile())
        result.m_placements.push_back({file->GetLocalPath(), file->GetLocalPath(), file->GetPath()});
    return result;
}

bool ChooseFiles(wxWindow* parent, const wxString& title, const wxString& filter, std::vector<std::string>& paths)
{
    wxFileDialog chooser(parent, title, wxEmptyString, wxEmptyString, filter,
                         wxFD_OPEN | wxFD_MULTIPLE | wxFD_FILE_MUST_EXIST);
    if (chooser.ShowModal() != wxID_OK)
        return false;
    wxArrayString chosen;
    chooser.GetPaths(chosen);
    for (const wxString& path : chosen)
        paths.push_back(PathFromWx(path));
    return true;
}

CAddFilesFromXmlDLG::CAddFilesFromXmlDLG(std::vector<std::string>& sourceNames,
                                         const std::vector<std::string>& reservedNames,
                                         const std::vector<const CFilePair*>& pairs, wxWindow* parent)
    : CSiteFolderDLG(reservedNames, pairs), m_sourceNames(sourceNames)
{
    m_chooseFiles = [this](std::vector<std::string>& paths) {
        return ChooseFiles(this, BytesToWx(ResourceText(IDS_ADD_FILES_FROM_XML, "Add Files From XML")),
                           BytesToWx(ResourceText(IDS_XML_FILES, "XML Files")) + " (*.xml)|*.xml;*.XML", paths);
    };
    m_bLoaded = LoadTemplate(parent, "5038", false);
    if (!m_bLoaded)
        return;
    m_tree->Fill(CSiteFolderTree::kSortOnExpand, true);
    m_tree->Expand(m_tree->GetRootItem());
    Bind(wxEVT_BUTTON, &CAddFilesFromXmlDLG::OnBrowse, this, kBrowseId);
    FindWindow(wxID_OK)->Enable(m_added > 0);
    GetSizer()->SetSizeHints(this);
    CentreOnParent();
}

void CAddFilesFromXmlDLG::OnBrowse(wxCommandEvent&)
{
    std::vector<std::string> chosen;
    if (!m_chooseFiles || !m_chooseFiles(chosen))
        return;
    const int added = [&] {
        wxBusyCursor wait;
        CollectedFiles set;
        for (const std::string& xml : chosen)
            CollectXmlFiles(xml, m_sourceNames, set);
        return PlaceCollectedFiles(set, m_model, m_pairs, m_sourceNames);
    }();
    m_added += added;
    if (added > 0) {
        m_tree->Fill(CSiteFolderTree::kSortOnExpand, true);
        m_tree->Expand(m_tree->GetRootItem());
    }
    FindWindow(wxID_OK)->Enable(m_added > 0);
}
