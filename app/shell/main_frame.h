#pragma once

// The program's one top-level window: the menu bar, the toolbar ("Buttonmenu") with its labels and drop-down
// buttons, the tools area docked at the left or right edge ("Toolbox"), the status bar with its panes, and the
// page windows of the open site, shown as tabs. It holds the settings record and the store it lives in, and the
// pointer to the open site. Its placement, bar state and the tools-bar colour come from the store when it is made
// and go back when it closes; the settings record is written when it goes.

#include "app/docview/site_document.h"
#include "app/model/app_settings.h"
#include "app/publish/changed_pages.h"
#include "app/shell/command_ids.h"
#include "app/shell/logic/frame_texts.h"
#include "platform/win/key_store.h"

#include <array>
#include <memory>
#include <string>
#include <vector>
#include <wx/aui/framemanager.h>
#include <wx/filehistory.h>
#include <wx/mdi.h>

class CWebsite;
class CSitePage;
class COrvelFrame;
class COOBmpToolBar;
class CToolsBar;

class CPropSheetManager;
class wxMenu;

// The store sections and values of the bars' state.
inline constexpr const char* kBarStateSection = "NewBarState";
inline constexpr const char* kRecentFilesSection = "Recent File List";

// The frame is the host of the site document: its dialogs, recent files, changed-pages tracker and page windows.
class CMainFrame : public wxMDIParentFrame, public CDocumentHost
{
public:
    // The settings record is loaded from the store in the given file (empty: a store that is never written).
    CMainFrame(const CSettingsEnvironment& environment, const std::string& storePath);
    ~CMainFrame() override;

    // Makes the window with its bars, in its stored placement. False when a resource is missing; the caller then
    // destroys the frame.
    bool Create();

    void UpdateTitle();
    // The text of the status bar's message pane.
    void SetStatusText(const std::string& text);
    using wxMDIParentFrame::SetStatusText;

    CAppSettings& GetSettings() { return m_settings; }
    const CSettingsEnvironment& GetEnvironment() const { return m_environment; }
    // The last site files opened, newest first (at most four; theme files never enter it).
    void AddRecentFile(const std::string& path);
    std::vector<std::string> GetRecentFiles() const;

    // Which pages changed since the last upload, as the previous run left them.
    CChangedPages& GetChangedPages() { return m_changedPages; }
    CKeyStore& GetStore() { return m_store; }
    COOBmpToolBar* GetMainToolBar() const { return m_pToolBar; }
    CToolsBar* GetToolsBar() const { return m_pToolsBar; }
    // The external browsers' paths, in the order of the browser menu.
    std::vector<std::string>& GetBrowserPaths() { return m_browserPaths; }
    wxAuiManager& GetDockManager() { return m_dock; }
    bool IsToolsBarShown();

    // The open site: set when a site is opened, null when none is. The frame keeps a site opened through
    // OpenSite until another replaces it.
    CWebsite* GetCurrentSite() const { return m_pCurrentSite; }
    // The document that owns the open site and keeps it on disk.
    COrvelDoc& GetDocument() { return m_document; }
    void OpenSite(std::unique_ptr<CWebsite> site);
    void CloseSite();

    // Page windows.
    int CountPageWindows() const;
    const std::vector<COrvelFrame*>& GetPageWindows() const { return m_pageWindows; }
    COrvelFrame* GetActivePageWindow() const;
    // The page of the active page window, null when there is none.
    CSitePage* GetActivePage() const;
    // The browsers added for previews, the first numbered 1.
    const std::vector<std::string>& GetBrowserPaths() const { return m_browserPaths; }
    // Brings the page forward in a window of its own, or tells that no more page windows can be opened.
    COrvelFrame* OpenPageWindow(int pageIndex);
    // The same, closing a window first when the limit is reached.
    COrvelFrame* ShowPageByName(const std::string& name);
    void OnPageWindowClosed(COrvelFrame* window);
    // Whether a page window may close: the last one of the site asks about unsaved changes first.
    bool CanClosePageWindow(COrvelFrame* window);
    // The pages the page windows show, in the windows' order.
    std::vector<CSitePage*> GetPageWindowPages() const;
    // Paints again the windows that show the page.
    void RefreshPageWindows(const CSitePage* page);
    // The Show Page list as it was last built.
    const std::vector<PageListEntry>& GetPageList() const { return m_pageList; }
    wxMenu* BuildPageMenu();

    // The show and hide commands.
    void ShowToolBar(bool show);
    void ShowButtonTexts(bool show);
    void ShowToolsBar(bool show);
    void ShowStatusBar(bool show);
    bool IsStatusBarShown() const { return m_bStatusBarShown; }
    bool IsToolBarShown() const { return m_bToolBarShown; }
    bool AreButtonTextsShown() const { return m_bButtonTextsShown; }

    // Brings the status panes up to date now instead of at the next idle time.
    void UpdateStatusPanes();

    // The welcome dialog at start and the way to begin chosen in it; Cancel changes nothing.
    void RunWelcomeDialog();

    // Opens a dropped file, or tells why it does not.
    void DropFiles(const std::vector<std::string>& files);

    // The document's host.
    SaveChangesAnswer AskSaveChanges() override;
    bool PromptSiteFile(const std::string& suggestion, std::string& path) override;
    // The file dialog for site or theme files (opening or saving), starting at path; true for OK with the chosen
    // path.
    bool PromptSiteFile(std::string& path, bool open, bool theme);
    void ShowChangesNotSaved() override;
    void ShowSaveError() override;
    void ShowOpenError() override;
    std::string GetUntitledSiteName() override;
    std::string GetDocumentsFolder() override { return m_environment.documentsFolder; }
    void AddToRecentFiles(const std::string& path) override { AddRecentFile(path); }
    void ApplyChangedPages(CWebsite& site) override;
    void SaveChangedPages() override;
    void WriteLocalWebsite(const std::string& basePath) override;
    void CloseAllDocuments() override { CloseSite(); }
    bool RunRemoveFilesDialog(CWebsite& site, std::vector<int>& checks) override;
    void RunSiteMapDialog(const std::vector<std::string>& reservedNames,
                          const std::vector<const CFilePair*>& pairs) override;
    bool RunPageDefaultsDialog(CWebsite& site) override;
    std::vector<PageView*> GetViews() override;

    // The user guide beside the program, which Help opens with the desktop's browser.
    std::string GetUserGuidePath() const;

    // Stores placement, bar state, tools-bar colour and inspector state (on close).
    void SaveWindowState();

    // The inspector palettes: made once the frame exists, showing the palette of the last run where it stood.
    void CreatePalettes();
    void RestoreInspectorState();
    CPropSheetManager* GetPropSheetManager() const { return m_pPropSheets.get(); }
    // Passes a refresh code to the page of the current palette.
    void NotifyInspector(UINT code);
    // Shows a palette as its command does; fromPopup for the view's menu, which brings the inspector up first.
    void ShowInspector(int index, bool fromPopup);
    // The Object palette on its first page, after the view made or selected an object.
    void ShowObjectInspector();
    // Which palette the user chose last, one flag a palette.
    const std::array<bool, 7>& GetInspectorFlags() const { return m_inspectorFlags; }
    // The placement the window has now, as the store keeps it.
    CStoredPlacement GetPlacement() const;

private:
    void ApplyPlacement(const CStoredPlacement& placement);
    void LoadBarState();
    void SaveBarState();
    void OnClose(wxCloseEvent& event);
    void OnIdle(wxIdleEvent& event);
    void OnSizeOrMove(wxEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    void OnCommand(wxCommandEvent& event);
    void OnPageCommand(wxCommandEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnToolDropDown(wxCommandEvent& event);
    void OnFileOpen();
    void OnFileNewFromTheme();
    void OnRecentFile(wxCommandEvent& event);
    void ShowPalettesWithSite();
    void PutPalettesAway();
    void ShowRecentFiles();
    void OnHelp();

    CSettingsEnvironment m_environment;
    CKeyStore m_store;
    CAppSettings m_settings;
    CInspectorState m_inspectorState;
    std::array<bool, 7> m_inspectorFlags{};
    std::unique_ptr<CPropSheetManager> m_pPropSheets;
    std::vector<std::string> m_browserPaths;
    CChangedPages m_changedPages;
    wxFileHistory m_recentFiles{4};
    wxMenuItem* m_pRecentSeparator = nullptr;
    // Whether a site was open at the last idle time; the palettes shown when the last site closed, which come
    // back with the next one.
    bool m_bSiteOpen = false;
    bool m_bPalettesAway = false;
    bool m_bShapesAway = false;

    COOBmpToolBar* m_pToolBar = nullptr;
    CToolsBar* m_pToolsBar = nullptr;
    wxAuiManager m_dock;
    bool m_bStatusBarShown = true;
    bool m_bToolBarShown = true;
    bool m_bButtonTextsShown = true;
    bool m_bCreated = false;
    // Set while CloseSite takes the page windows down, so that their going does not close the site again.
    bool m_bClosingSite = false;
    // The window's rectangle while it was last neither maximised nor minimised.
    wxRect m_normalRect;

    CWebsite* m_pCurrentSite = nullptr;
    COrvelDoc m_document{this};
    std::vector<COrvelFrame*> m_pageWindows;
    std::vector<PageListEntry> m_pageList;
    wxMenu* m_pPageMenu = nullptr;
    std::array<std::string, 5> m_paneTexts;
};

// The product's name, which titles the main window.
std::string GetProductName();
