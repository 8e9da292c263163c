#pragma once

// The dialogs that show the site's remote folders: the base that owns copies of the site's file pairs and the
// folder model built from them, the Site Map, and the Add Files dialog. The caller reads the model after the
// dialog closed and before it goes.

#include <functional>
#include <string>
#include <vector>
#include <wx/dialog.h>
#include <wx/treebase.h>

#include "app/dialogs/add_files_logic.h"
#include "app/dialogs/site_folder_model.h"
#include "app/model/file_pair.h"
#include "app/model/services.h"

class CSiteFolderTree;
class wxListCtrl;
class wxListEvent;
class wxTreeEvent;

class CSiteFolderDLG : public wxDialog
{
public:
    CSiteFolderDLG(const std::vector<std::string>& reservedNames, const std::vector<const CFilePair*>& pairs);

    bool IsOk() const { return m_bLoaded; }
    CSiteFolderModel& GetModel() { return m_model; }
    const std::vector<CFilePair>& GetPairs() const { return m_pairs; }

protected:
    // Loads the template and finds the tree and, when the dialog has one, the list; false when either is missing.
    bool LoadTemplate(wxWindow* parent, const char* name, bool withList = true);

    std::vector<CFilePair> m_pairs;
    CSiteFolderModel m_model;
    CSiteFolderTree* m_tree = nullptr;
    wxListCtrl* m_pList = nullptr;
    bool m_bLoaded = false;
};

// The site's files and remote folders; it changes nothing.
class CSiteMapDLG : public CSiteFolderDLG
{
public:
    CSiteMapDLG(const std::vector<std::string>& reservedNames, const std::vector<const CFilePair*>& pairs,
                wxWindow* parent);
};

// Local files picked on the left are placed into the site's remote folders on the right.
class CAddFilesDLG : public CSiteFolderDLG
{
public:
    // localFiles belongs to the caller: Browse appends every file chosen to it.
    CAddFilesDLG(std::vector<std::string>& localFiles, const std::vector<std::string>& reservedNames,
                 const std::vector<const CFilePair*>& pairs, wxWindow* parent);

    // The chooser Browse opens; true with the paths when the user chose files. Tests answer it by script.
    std::function<bool(std::vector<std::string>&)> m_chooseFiles;

    CSiteFolderTree* GetTree() const { return m_tree; }
    wxListCtrl* GetList() const { return m_pList; }
    // The local files the list shows, in its order.
    const std::vector<std::string>& GetListed() const { return m_listed; }
    int GetPlacedCount() const { return m_placed; }
    AddFilesButtons GetButtons() const;

private:
    void InsertListItem(const std::string& path, bool select);
    std::vector<long> SelectedRows() const;
    CSiteNode* SelectedNode() const;
    // Places the listed files of the rows into the selected folder; those placed leave the list.
    void PlaceRows(const std::vector<long>& rows);
    void RemoveFileItem(const wxTreeItemId& item);
    void UpdateButtons();
    void FitColumn();

    void OnBrowse(wxCommandEvent& event);
    void OnAdd(wxCommandEvent& event);
    void OnAddAll(wxCommandEvent& event);
    void OnRemove(wxCommandEvent& event);
    void OnRemoveAll(wxCommandEvent& event);
    void OnNewFolder(wxCommandEvent& event);
    void OnDeleteFolder(wxCommandEvent& event);

    std::vector<std::string>& m_localFiles;
    std::vector<std::string> m_listed;
    int m_placed = 0;
};

// The files a Flash program's XML file names, collected and placed below the root folder by Browse.
class CAddFilesFromXmlDLG : public CSiteFolderDLG
{
public:
    // sourceNames belongs to the caller: the local path of every file placed is appended to it.
    CAddFilesFromXmlDLG(std::vector<std::string>& sourceNames, const std::vector<std::string>& reservedNames,
                        const std::vector<const CFilePair*>& pairs, wxWindow* parent);

    // The chooser of XML files Browse opens; tests answer it by script.
    std::function<bool(std::vector<std::string>&)> m_chooseFiles;

    CSiteFolderTree* GetTree() const { return m_tree; }
    int GetAddedCount() const { return m_added; }

private:
    void OnBrowse(wxCommandEvent& event);

    std::vector<std::string>& m_sourceNames;
    int m_added = 0;
};

// The chooser of several files of the given filter ("*" for all files); true with their paths when the user chose.
bool ChooseFiles(wxWindow* parent, const wxString& title, const wxString& filter, std::vector<std::string>& paths);

// What the site takes from a files dialog that ended with OK: the chosen local files, and every file of the model
// with its remote path.
FilesDialogResult MakeFilesDialogResult(CSiteFolderModel& model, const std::vector<std::string>& chosen);
