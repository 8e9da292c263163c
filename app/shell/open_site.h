#pragma once

// The open site and what lives with it for the whole run: the document that owns the site and keeps it on disk,
// the settings record and the store it lives in, the recent files, the changed-pages tracker and the browsers
// added for previews. Opening a site file, making a new site (empty or from a theme) and closing go through here:
// the question that only one website can be open and the question whether to save are asked in one place,
// CloseOpenSite. It is the document's host, and tells the page windows which site they show.

#include <memory>
#include <string>
#include <vector>

#include "app/docview/site_document.h"
#include "app/model/app_settings.h"
#include "app/publish/changed_pages.h"
#include "app/shell/page_windows.h"
#include "app/shell/recent_files.h"
#include "platform/win/key_store.h"

class CShellWindow;
class wxDropTarget;
class wxWindow;

class COpenSite : public CDocumentHost, public CPageWindowsSite
{
public:
    // The settings record is loaded from the store in the given file (empty: a store that is never written).
    // Dialogs stand over window.
    COpenSite(wxWindow& window, CShellWindow& shell, CPageWindows& pages, const CSettingsEnvironment& environment,
              const std::string& storePath);
    COpenSite(const COpenSite&) = delete;
    COpenSite& operator=(const COpenSite&) = delete;
    ~COpenSite() override;

    // The open site: set when a site is opened, null when none is.
    CWebsite* GetSite() const override { return m_pSite; }
    // The document that owns the open site and keeps it on disk.
    COrvelDoc& GetDocument() { return m_document; }
    CAppSettings& GetSettings() { return m_settings; }
    const CSettingsEnvironment& GetEnvironment() const { return m_environment; }
    CKeyStore& GetStore() { return m_store; }
    // Which pages changed since the last upload, as the previous run left them.
    CChangedPages& GetChangedPages() { return m_changedPages; }
    // The external browsers' paths, in the order of the browser menu, the first numbered 1; the Settings menu's
    // commands change them.
    const std::vector<std::string>& GetBrowserPaths() const { return m_browserPaths; }
    std::vector<std::string>& EditBrowserPaths() { return m_browserPaths; }
    CRecentFiles& GetRecentFiles() { return m_recentFiles; }

    // The site becomes the open one, replacing any, its front page in a window.
    void OpenSite(std::unique_ptr<CWebsite> site);
    // The page windows go and the site with them, without asking.
    void CloseSite();
    // Before the open site closes: for another site (replacing), the user is first told that only one website
    // can be open and may keep it; then asked whether to save its changes. True when no site is open any more.
    bool CloseOpenSite(CloseReason reason);
    // Asked before the main window closes or another site replaces the open one: the user may save the changes,
    // drop them or stay. True when the caller may go on.
    bool SaveAllModified(CloseReason reason = CloseReason::closing);
    // Opens the file as the open site, after asking to close the site open now. Null, with the reason shown, when
    // the file cannot be read; null without a message when the user keeps the open site.
    CWebsite* OpenDocumentFile(const std::string& path);
    // Opens a theme file as a new site that was never saved, without the links the theme carried. Null when it
    // was not opened.
    CWebsite* NewSiteFromTheme(const std::string& path);
    // New Website: closes the open site (after asking), asks for the new site's settings and opens it with its
    // front page in a window. Null when the user kept the open site or cancelled.
    CWebsite* NewWebsite();
    // File > Open Website and File > New Website From Theme, each with its file dialog.
    void OnFileOpen();
    void OnFileNewFromTheme();
    // The recent file at position; a file that went away leaves the list.
    void OnRecentFile(size_t position);
    // The welcome dialog at start and the way to begin chosen in it; Cancel changes nothing.
    void RunWelcomeDialog();
    // Opens a dropped file, or tells why it does not.
    void DropFiles(const std::vector<std::string>& files);
    // The main window is going: the site closes without asking, and the store keeps the settings, the browsers
    // and the recent files for the next run.
    void EndRun();

    // The document's host.
    SaveChangesAnswer AskSaveChanges() override;
    bool PromptSaveSiteFile(const std::string& suggestion, std::string& path) override;
    void ShowChangesNotSaved() override;
    void ShowSaveError() override;
    void ShowOpenError() override;
    std::string GetUntitledSiteName() override;
    std::string GetDocumentsFolder() override { return m_environment.documentsFolder; }
    void AddToRecentFiles(const std::string& path) override { m_recentFiles.Add(path); }
    void ApplyChangedPages(CWebsite& site) override;
    void SaveChangedPages() override;
    void WriteLocalWebsite(const std::string& basePath) override;
    void CloseAllDocuments() override { CloseSite(); }
    bool RunRemoveFilesDialog(CWebsite& site, std::vector<int>& checks) override;
    void RunSiteMapDialog(const std::vector<std::string>& reservedNames,
                          const std::vector<const CFilePair*>& pairs) override;
    bool RunPageDefaultsDialog(CWebsite& site) override;
    std::vector<PageView*> GetViews() override;

    // What the page windows ask.
    bool CanClosePageWindow(int windowCount) override;
    void OnLastPageWindowClosed() override;

private:
    wxWindow& m_window;
    CShellWindow& m_shell;
    CPageWindows& m_pages;
    CSettingsEnvironment m_environment;
    CKeyStore m_store;
    CAppSettings m_settings;
    std::vector<std::string> m_browserPaths;
    CChangedPages m_changedPages;
    CRecentFiles m_recentFiles;
    CWebsite* m_pSite = nullptr;
    COrvelDoc m_document{this};
    // Set once the main window is going: nothing is shown any more.
    bool m_ending = false;
};

// Files dropped on a window go to the open site.
wxDropTarget* MakeSiteFileDropTarget(COpenSite& site);
