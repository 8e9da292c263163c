#pragma once

// The program's answers to what the site document asks: the question whether to save, the save dialog for site
// files, the notices of a failed save or open, the dialogs of the site's included files and of the standard page
// settings, the views of the page windows, and what a save leaves beside the site file (the recent files, the
// changed-pages tracker, the local copy of the web site).

#include <functional>
#include <string>
#include <vector>

#include "app/docview/site_document.h"

class CPageWindows;
class CRunState;
class wxWindow;

class CSiteDocumentHost : public CDocumentHost
{
public:
    // Dialogs stand over window; closeSite takes the open site and its page windows away without asking.
    CSiteDocumentHost(wxWindow& window, CRunState& run, CPageWindows& pages, std::function<void()> closeSite);

    SaveChangesAnswer AskSaveChanges() override;
    bool PromptSaveSiteFile(const std::string& suggestion, std::string& path) override;
    void ShowChangesNotSaved() override;
    void ShowSaveError() override;
    void ShowOpenError(const std::string& cause) override;
    std::string GetUntitledSiteName() override;
    std::string GetDocumentsFolder() override;
    void AddToRecentFiles(const std::string& path) override;
    void SaveChangedPages(CWebsite& site) override;
    void WriteLocalWebsite(CWebsite& site, const std::string& basePath) override;
    void CloseAllDocuments() override;
    bool RunRemoveFilesDialog(CWebsite& site, std::vector<int>& checks) override;
    void RunSiteMapDialog(const std::vector<std::string>& reservedNames,
                          const std::vector<const CFilePair*>& pairs) override;
    std::vector<PageView*> GetViews() override;
    bool RunPageDefaultsDialog(CWebsite& site) override;

private:
    wxWindow& m_window;
    CRunState& m_run;
    CPageWindows& m_pages;
    std::function<void()> m_closeSite;
};
