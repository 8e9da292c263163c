#pragma once

// The program's one top-level window: the menu bar, the toolbar ("Buttonmenu") with its labels and drop-down
// buttons, the tools area docked at the left or right edge ("Toolbox"), the status bar with its panes, and the
// tabs of the page windows. Its placement, bar state and the tools-bar colour come from the store when it is made
// and go back when it closes. What the run keeps (the settings and their store), the open site and the page
// windows have owners of their own, which the frame holds.

#include "app/docview/site_document.h"
#include "app/model/app_settings.h"
#include "app/shell/command_ids.h"
#include "app/shell/command_table.h"
#include "app/shell/inspector_palettes.h"
#include "app/shell/logic/frame_texts.h"
#include "app/shell/open_site.h"
#include "app/shell/page_windows.h"
#include "app/shell/run_state.h"
#include "app/shell/shell_window.h"

#include <array>
#include <memory>
#include <string>
#include <vector>
#include <wx/aui/framemanager.h>
#include <wx/mdi.h>

class CWebsite;
class CSitePage;
class COrvelFrame;
class COOBmpToolBar;
class CToolsBar;

class wxMenu;

// The store sections and values of the bars' state.
inline constexpr const char* kBarStateSection = "NewBarState";

// The main window holds the open site and the page windows and answers what they ask of it.
class CMainFrame : public wxMDIParentFrame, public CShellWindow
{
public:
    // The settings record is loaded from the store in the given file (empty: a store that is never written).
    CMainFrame(const CSettingsEnvironment& environment, const std::string& storePath);
    ~CMainFrame() override;

    // Makes the window with its bars, in its stored placement. False when a resource is missing; the caller then
    // destroys the frame.
    bool Create();

    void UpdateTitle() override;
    // The text of the status bar's message pane.
    void SetStatusText(const std::string& text);
    using wxMDIParentFrame::SetStatusText;

    // The settings with their store, the recent files, the changed pages and the browsers.
    CRunState& GetRun() { return m_run; }
    // The open site with its document.
    COpenSite& GetOpenSite() { return m_site; }
    // The page windows of the open site.
    CPageWindows& GetPageWindows() { return m_pages; }
    const CPageWindows& GetPageWindows() const { return m_pages; }
    // Shortcuts to what the open site holds.
    CWebsite* GetCurrentSite() const { return m_site.GetSite(); }
    CAppSettings& GetSettings() { return m_run.GetSettings(); }

    COOBmpToolBar* GetMainToolBar() const { return m_toolBar; }
    CToolsBar* GetToolsBar() const override { return m_toolsBar; }
    wxAuiManager& GetDockManager() { return m_dock; }
    bool IsToolsBarShown();

    // Fills the Show Page list's menu with the open site's pages.
    wxMenu* BuildPageMenu();

    // The show and hide commands.
    void ShowToolBar(bool show);
    void ShowButtonTexts(bool show);
    void ShowToolsBar(bool show);
    void ShowStatusBar(bool show);
    bool IsStatusBarShown() const { return m_statusBarShown; }
    bool IsToolBarShown() const { return m_toolBarShown; }
    bool AreButtonTextsShown() const { return m_buttonTextsShown; }

    // Brings the status panes up to date now instead of at the next idle time.
    void UpdateStatusPanes();

    // Stores placement, bar state, tools-bar colour and the palettes' state (on close).
    void SaveWindowState();

    // The inspector palettes: made once the frame exists, showing the palette of the last run where it stood.
    void CreatePalettes();
    CInspectorPalettes& GetPalettes() { return m_palettes; }
    // Passes a refresh code to the page of the current palette.
    void NotifyInspector(UINT code) override;
    // The commands of the menus and bars.
    const CCommandTable& GetCommands() const { return m_commands; }
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
    void OnRecentFile(wxCommandEvent& event);
    // The commands of the bars and the Show Page list.
    void AddBarCommands();

    CRunState m_run;
    // The page windows come before the open site: it closes them, and they report to their owner while they go.
    CPageWindows m_pages{*this, *this};
    COpenSite m_site{*this, *this, m_pages, m_run};
    CInspectorPalettes m_palettes;
    CShellContext m_context{*this, *this, m_run, m_site, m_pages};
    CCommandTable m_commands;

    COOBmpToolBar* m_toolBar = nullptr;
    CToolsBar* m_toolsBar = nullptr;
    wxAuiManager m_dock;
    bool m_statusBarShown = true;
    bool m_toolBarShown = true;
    bool m_buttonTextsShown = true;
    // The window's rectangle while it was last neither maximised nor minimised.
    wxRect m_normalRect;

    wxMenu* m_pageMenu = nullptr;
};
