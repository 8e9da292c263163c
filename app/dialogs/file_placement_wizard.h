#pragma once

// The file-placement wizard: one page that opens the XML chooser at once, places the chosen Flash program's files
// below the site's root folder, reads the code its HTML page gives the selected HTML object, and finishes by itself
// when Browse is over.

#include <functional>
#include <string>
#include <vector>

#include "app/dialogs/site_folder_model.h"
#include "app/docview/common_windows.h"
#include "app/model/file_pair.h"
#include "app/model/services.h"

class CSiteFolderTree;

class CFilePlacementWizard : public CWizardSheet
{
public:
    // sourceNames belongs to the caller: the local path of every file placed is appended to it.
    CFilePlacementWizard(std::vector<std::string>& sourceNames, const std::vector<std::string>& reservedNames,
                         const std::vector<const CFilePair*>& pairs, wxWindow* parent);

    bool IsOk() const { return m_tree != nullptr; }
    // The chooser of XML files Browse opens; tests answer it by script.
    std::function<bool(std::vector<std::string>&)> m_chooseFiles;

    CSiteFolderModel& GetModel() { return m_model; }
    CSiteFolderTree* GetTree() const { return m_tree; }
    int GetAddedCount() const { return m_added; }
    // Set once a program's page was read.
    const FlashObjectCode& GetFlashCode() const { return m_flash; }

private:
    void OnBrowse(wxCommandEvent& event);
    void UpdateFinish();

    std::vector<std::string>& m_sourceNames;
    std::vector<CFilePair> m_pairs;
    CSiteFolderModel m_model;
    CSiteFolderTree* m_tree = nullptr;
    FlashObjectCode m_flash;
    int m_added = 0;
};
