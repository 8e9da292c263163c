#include "app/shell/page_windows.h"

#include "app/dialogs/notice_table.h"
#include "app/model/services.h"
#include "app/palettes/palette_protocol.h"
#include "app/shell/shell_window.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

#include <wx/menu.h>

CPageWindows::CPageWindows(wxMDIParentFrame& frame, CShellWindow& shell) : m_frame(frame), m_shell(shell) {}

COrvelFrame* CPageWindows::GetActive() const
{
    return dynamic_cast<COrvelFrame*>(m_frame.GetActiveChild());
}

COrvelView* CPageWindows::GetActiveView() const
{
    const COrvelFrame* window = GetActive();
    return window ? window->GetView() : nullptr;
}

CSitePage* CPageWindows::GetActivePage() const
{
    const COrvelFrame* window = GetActive();
    return window ? window->GetPage() : nullptr;
}

std::vector<CSitePage*> CPageWindows::GetPages() const
{
    std::vector<CSitePage*> pages;
    for (const COrvelFrame* window : m_windows)
        pages.push_back(window->GetPage());
    return pages;
}

std::vector<PageView*> CPageWindows::GetViews() const
{
    std::vector<PageView*> views;
    for (COrvelFrame* window : m_windows)
        views.push_back(window->GetView());
    return views;
}

COrvelFrame* CPageWindows::Open(int pageIndex)
{
    CWebsite* site = m_pSite ? m_pSite->GetSite() : nullptr;
    if (!site || pageIndex < 0 || pageIndex >= site->GetPageCount())
        return nullptr;
    CSitePage* page = site->GetPage(pageIndex);
    for (COrvelFrame* window : m_windows) {
        if (window->GetPage() == page) {
            window->Activate();
            site->SetCurrentPage(page);
            return window;
        }
    }
    if (Count() >= kMaxPageWindows) {
        GetMessages().ShowNotice(kNoticePageLimitShow);
        return nullptr;
    }
    site->SetCurrentPage(page);
    auto* window = new COrvelFrame(&m_frame, *this, page);
    m_windows.push_back(window);
    window->Show();
    window->Activate();
    return window;
}

COrvelFrame* CPageWindows::ShowPageByName(const std::string& name)
{
    CWebsite* site = m_pSite ? m_pSite->GetSite() : nullptr;
    CSitePage* page = site ? site->FindPageByName(name) : nullptr;
    if (!page)
        return nullptr;
    if (Count() >= kMaxPageWindows) {
        // Room for the page: the first window goes, or the second when the first already shows it.
        COrvelFrame* victim = m_windows[0]->GetPage() == page ? m_windows[1] : m_windows[0];
        delete victim;
    }
    return Open(site->GetPageIndex(page));
}

CSitePage* CPageWindows::CloseActive()
{
    COrvelFrame* window = GetActive();
    if (!window)
        return nullptr;
    delete window;
    COrvelFrame* next = GetActive();
    if (!next && !m_windows.empty())
        next = m_windows.front();
    if (!next)
        return nullptr;
    next->Activate();
    return next->GetPage();
}

void CPageWindows::CloseAll()
{
    m_closingAll = true;
    for (COrvelFrame* window : std::vector<COrvelFrame*>(m_windows))
        delete window;
    m_closingAll = false;
    m_windows.clear();
    m_pageList.clear();
}

void CPageWindows::Refresh(const CSitePage* page)
{
    for (COrvelFrame* window : m_windows)
        if (window->GetPage() == page)
            window->GetView()->Refresh(false);
}

void CPageWindows::UpdateTitles()
{
    for (COrvelFrame* window : m_windows)
        if (const wxString name = BytesToWx(window->GetPage()->GetName()); window->GetTitle() != name)
            window->SetTitle(name);
}

wxMenu* CPageWindows::BuildPageMenu(wxMenu& menu)
{
    while (menu.GetMenuItemCount() > 0)
        menu.Destroy(menu.FindItemByPosition(0));
    m_pageList.clear();
    if (CWebsite* site = m_pSite ? m_pSite->GetSite() : nullptr)
        m_pageList = BuildShowPageList(*site, ResourceText(IDS_FRONT_PAGE_SUFFIX));
    for (size_t i = 0; i < m_pageList.size(); ++i)
        menu.Append(kFirstPageCommand + static_cast<int>(i), BytesToWx(m_pageList[i].text));
    return &menu;
}

void CPageWindows::OpenListedPage(size_t position)
{
    if (position < m_pageList.size())
        Open(m_pageList[position].pageIndex);
}

bool CPageWindows::CanClosePageWindow(COrvelFrame& window)
{
    (void)window;
    return !m_pSite || m_pSite->CanClosePageWindow(Count());
}

void CPageWindows::OnPageWindowClosed(COrvelFrame& window)
{
    std::erase(m_windows, &window);
    // The site lives while one of its windows is open. It goes once the window is gone, since the window's view
    // still points at its page while it is being destroyed.
    if (m_windows.empty() && m_pSite && m_pSite->GetSite() && !m_closingAll && !m_frame.IsBeingDeleted())
        m_frame.CallAfter([this] {
            if (m_windows.empty() && m_pSite && m_pSite->GetSite())
                m_pSite->OnLastPageWindowClosed();
        });
}

void CPageWindows::OnPageWindowActivated(COrvelFrame& window)
{
    (void)window;
    // The palettes read the page again. The toolkit counts the window as the active one only once its tab has
    // changed, after its activation.
    m_frame.CallAfter([this] { m_shell.NotifyInspector(kRefreshAll); });
}
