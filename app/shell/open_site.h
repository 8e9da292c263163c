#pragma once

// The open site's life: opening a site file (from the File menu, the recent files, a drop, the command line or the
// welcome dialog, all by OpenDocumentFile), making a new site (empty or from a theme) and closing. The question
// that only one website can be open and the question whether to save are asked in one place, CloseOpenSite. It
// holds the document that owns the site with the document's host, and tells the page windows which site they show.

#include <memory>
#include <string>
#include <vector>

#include "app/docview/site_document.h"
#include "app/shell/document_host.h"
#include "app/shell/page_windows.h"

class CRunState;
class CShellWindow;
class wxDropTarget;
class wxWindow;

class COpenSite : public CPageWindowsSite
{
public:
    // Dialogs stand over window; what the run keeps (the settings, the recent files, the changed pages) is run's.
    COpenSite(wxWindow& window, CShellWindow& shell, CPageWindows& pages, CRunState& run);
    COpenSite(const COpenSite&) = delete;
    COpenSite& operator=(const COpenSite&) = delete;
    ~COpenSite();

    // The open site: set when a site is opened, null when none is.
    CWebsite* GetSite() const override { return m_document.GetSite(); }
    // The document that owns the open site and keeps it on disk.
    COrvelDoc& GetDocument() { return m_document; }

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
    // Opens the file as the open site, after asking to close the site open now: every way of opening a site file
    // comes here. Null, with the reason shown, when the file cannot be read; null without a message when the user
    // keeps the open site.
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
    // The main window is going: the site closes without asking, and nothing is shown any more.
    void EndRun();

    // What the page windows ask.
    bool CanClosePageWindow(int windowCount) override;
    void OnLastPageWindowClosed() override;

private:
    // The document's site is shown: the pages changed since its last upload are marked, and its front page comes
    // up in a window.
    void ShowDocumentSite();

    wxWindow& m_window;
    CShellWindow& m_shell;
    CPageWindows& m_pages;
    CRunState& m_run;
    CSiteDocumentHost m_host;
    COrvelDoc m_document{m_host};
    // Set once the main window is going: nothing is shown any more.
    bool m_ending = false;
};

// Files dropped on a window go to the open site.
wxDropTarget* MakeSiteFileDropTarget(COpenSite& site);
