#pragma once

// The page windows of the open site: each shows one page, at most kMaxPageWindows at a time, as tabs of the main
// window. They open on a page (or come forward when one shows it already), close, tell which is active, and paint
// again. The Show Page list is built here too, since each of its entries opens a page window.

#include <string>
#include <vector>

#include "app/shell/logic/frame_texts.h"
#include "app/shell/orvel_frame.h"

class COrvelView;
class CShellWindow;
class CSitePage;
class CWebsite;
class PageView;
class wxMDIParentFrame;
class wxMenu;

// What the page windows ask of the open site they show.
class CPageWindowsSite
{
public:
    virtual CWebsite* GetSite() const = 0;
    // Whether one of windowCount windows showing the site may close: the last asks about unsaved changes.
    virtual bool CanClosePageWindow(int windowCount) = 0;
    // The user closed the site's last window, and the window is gone.
    virtual void OnLastPageWindowClosed() = 0;

protected:
    ~CPageWindowsSite() = default;
};

class CPageWindows : public CPageWindowOwner
{
public:
    CPageWindows(wxMDIParentFrame& frame, CShellWindow& shell);
    CPageWindows(const CPageWindows&) = delete;
    CPageWindows& operator=(const CPageWindows&) = delete;
    // The site is given once it exists; until then no window opens.
    void SetSite(CPageWindowsSite* site) { m_pSite = site; }

    int Count() const { return static_cast<int>(m_windows.size()); }
    const std::vector<COrvelFrame*>& GetWindows() const { return m_windows; }
    COrvelFrame* GetActive() const;
    // The design view and the page of the active window; null when there is none.
    COrvelView* GetActiveView() const;
    CSitePage* GetActivePage() const;
    // The pages the windows show, in the windows' order.
    std::vector<CSitePage*> GetPages() const;
    std::vector<PageView*> GetViews() const;

    // Brings the page forward in a window of its own, or tells that no more page windows can be opened.
    COrvelFrame* Open(int pageIndex);
    // The same, closing a window first when the limit is reached.
    COrvelFrame* ShowPageByName(const std::string& name);
    // The active window goes, and the window that comes forward names the page now current; null when none is
    // left.
    CSitePage* CloseActive();
    // Every window goes, without asking (the site is closing).
    void CloseAll();
    // Paints again the windows that show the page.
    void Refresh(const CSitePage* page);
    // Each window's title names its page, which the Page palette may have renamed.
    void UpdateTitles();

    // The Show Page list as it was last built, and the menu it fills (returned).
    const std::vector<PageListEntry>& GetPageList() const { return m_pageList; }
    wxMenu* BuildPageMenu(wxMenu& menu);
    // The entry at position of the list last built.
    void OpenListedPage(size_t position);

    // The page windows' own reports.
    bool CanClosePageWindow(COrvelFrame& window) override;
    void OnPageWindowClosed(COrvelFrame& window) override;
    void OnPageWindowActivated(COrvelFrame& window) override;

private:
    wxMDIParentFrame& m_frame;
    CShellWindow& m_shell;
    CPageWindowsSite* m_pSite = nullptr;
    std::vector<COrvelFrame*> m_windows;
    std::vector<PageListEntry> m_pageList;
    // Set while CloseAll takes the windows down, so that their going does not close the site again.
    bool m_closingAll = false;
};
