#include "app/shell/open_site.h"

#include "app/dialogs/new_site_dlg.h"
#include "app/dialogs/welcome.h"
#include "app/docview/document_dialogs.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/palettes/palette_protocol.h"
#include "app/shell/logic/frame_texts.h"
#include "app/shell/logic/theme_site.h"
#include "app/shell/run_state.h"
#include "app/shell/shell_dialogs.h"
#include "app/shell/shell_window.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"
#include "platform/win/codepage1252.h"
#include "platform/win/file.h"
#include "platform/win/log.h"

#include <filesystem>
#include <wx/dnd.h>

namespace {

// Why the file at path cannot be opened as a site, told from its header alone, as the open dialog's preview reads
// it; empty when it can.
std::string CheckSiteFileHeader(const std::string& path)
{
    try {
        CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
    } catch (const CFileException& error) {
        return DescribeFileError(error);
    }
    std::string category, name;
    if (!ReadSiteFileInfo(path, category, name))
        return path + ": not a website file Pelorin can read";
    return {};
}

class CSiteFileDropTarget : public wxFileDropTarget
{
public:
    explicit CSiteFileDropTarget(COpenSite& site) : m_site(site) {}
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) override
    {
        std::vector<std::string> files;
        for (const wxString& name : names)
            files.push_back(PathFromWx(name));
        m_site.DropFiles(files);
        return true;
    }

private:
    COpenSite& m_site;
};

} // namespace

wxDropTarget* MakeSiteFileDropTarget(COpenSite& site)
{
    return new CSiteFileDropTarget(site);
}

COpenSite::COpenSite(wxWindow& window, CShellWindow& shell, CPageWindows& pages, CRunState& run)
    : m_window(window), m_shell(shell), m_pages(pages), m_run(run), m_host(window, run, pages, [this] { CloseSite(); })
{
    m_pages.SetSite(this);
}

COpenSite::~COpenSite()
{
    m_pages.SetSite(nullptr);
}

void COpenSite::EndRun()
{
    if (m_ending)
        return;
    m_ending = true;
    CloseSite();
}

void COpenSite::OpenSite(std::unique_ptr<CWebsite> site)
{
    CloseSite();
    m_document.AttachSite(std::move(site));
    ShowDocumentSite();
}

void COpenSite::ShowDocumentSite()
{
    CWebsite* site = GetSite();
    // The pages changed since this site's last upload, as the last run left them.
    if (site) {
        m_run.GetChangedPages().ApplyToSite(*site);
        m_run.GetChangedPages().CollectChangedPages(*site);
    }
    if (site && site->GetPageCount() > 0) {
        // The first window shows the front page.
        CSitePage* front = site->GetHomePage();
        m_pages.Open(front ? site->GetPageIndex(front) : 0);
    }
    m_shell.UpdateTitle();
    // The status panes follow at the next idle time: a status text set now repaints the window at once, before
    // the new tab has its place.
    m_shell.NotifyInspector(CSitePage::kCommandDone);
}

void COpenSite::CloseSite()
{
    m_pages.CloseAll();
    m_document.DeleteContents();
    if (!m_ending)
        m_shell.UpdateTitle();
}

bool COpenSite::CloseOpenSite(CloseReason reason)
{
    if (!GetSite())
        return true;
    if (reason == CloseReason::replacing && !GetMessages().AskYesNo(GetProductName(), ResourceText(IDS_ONE_SITE_OPEN)))
        return false;
    if (!SaveAllModified(reason))
        return false;
    CloseSite();
    return true;
}

bool COpenSite::SaveAllModified(CloseReason reason)
{
    m_document.CommitPendingTextEdits();
    return m_document.SaveModifiedBeforeClose(reason);
}

CWebsite* COpenSite::OpenDocumentFile(const std::string& path)
{
    // The site's absolute path, so that pictures stored relative to it are found whatever the current folder.
    std::error_code failure;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failure);
    const std::string full = failure ? path : absolute.lexically_normal().string();
    // A file that is no site is refused before the open site is closed for it, so that the user keeps it.
    if (const std::string cause = CheckSiteFileHeader(full); !cause.empty()) {
        m_host.ShowOpenError(cause);
        return nullptr;
    }
    if (!CloseOpenSite(CloseReason::replacing) || !m_document.OnOpenDocument(full))
        return nullptr;
    ShowDocumentSite();
    // However the file was chosen, the next Open starts in its folder.
    m_run.GetSettings().m_kstPath = GetPathFolder(full);
    // Themes are starting points for new sites, not files worked on: they stay out of the recent files.
    if (!EqualNoCase1252(std::filesystem::path(full).extension().string(), ".kth"))
        m_run.GetRecentFiles().Add(full);
    return GetSite();
}

CWebsite* COpenSite::NewSiteFromTheme(const std::string& path)
{
    CWebsite* site = OpenDocumentFile(path);
    if (site) {
        site->SetPath(std::string());
        site->SetModified();
        // The title shows the site as untitled and changed.
        m_shell.UpdateTitle();
        ClearThemeLinks(*site);
    }
    m_shell.NotifyInspector(kRefreshAll);
    return site;
}

CWebsite* COpenSite::NewWebsite()
{
    if (!CloseOpenSite(CloseReason::replacing))
        return nullptr;
    CNewSiteDLG dialog(&m_window);
    if (dialog.ShowModal() != wxID_OK)
        return nullptr;
    const NewSiteValues& values = dialog.GetValues();
    auto site = std::make_unique<CWebsite>(std::string(), values.m_strName, values.m_Background, values.m_bCentered,
                                           values.m_nWidth, values.m_nHeight, m_run.GetSettings().m_defaultDoctype,
                                           values.m_LinkColor, values.m_VisitedLinkColor);
    CSitePage* page = site->AddPage(
        std::make_unique<CSitePage>(site.get(), values.m_strPageId, values.m_strName, site->GetNewPageSettings()));
    site->SetHomePage(page);
    CWebsite* opened = site.get();
    OpenSite(std::move(site));
    return opened;
}

void COpenSite::OnFileOpen()
{
    std::string path = m_run.GetSettings().m_kstPath;
    if (PromptSiteFileDialog(&m_window, path, true, false))
        OpenDocumentFile(path);
}

void COpenSite::OnFileNewFromTheme()
{
    if (!CloseOpenSite(CloseReason::replacing))
        return;
    std::string path;
    if (GetShellDialogs().ShowThemesDialog(path) != DialogAnswer::ok || path.empty())
        return;
    m_run.GetSettings().m_kstPath = GetPathFolder(path);
    NewSiteFromTheme(path);
}

void COpenSite::OnRecentFile(size_t position)
{
    const std::string path = m_run.GetRecentFiles().At(position);
    if (path.empty())
        return;
    if (!OpenDocumentFile(path) && !std::filesystem::exists(path))
        m_run.GetRecentFiles().Remove(position);
}

void COpenSite::RunWelcomeDialog()
{
    int start = WelcomeChoice::none;
    WelcomeChoice choice;
    const bool ok = GetShellDialogs().ShowWelcomeDialog(start, choice.dontShowAgain) == DialogAnswer::ok;
    ApplyWelcomeChoice(ok, choice, m_run.GetSettings());
    if (!ok)
        return;
    switch (start) {
    case WelcomeChoice::newSite:
        NewWebsite();
        break;
    case WelcomeChoice::openSite:
        OnFileOpen();
        break;
    case WelcomeChoice::siteFromTheme:
        OnFileNewFromTheme();
        break;
    default:
        break;
    }
}

void COpenSite::DropFiles(const std::vector<std::string>& files)
{
    switch (ClassifyDroppedFiles(files)) {
    case DroppedFiles::siteFile:
        OpenDocumentFile(files[0]);
        break;
    case DroppedFiles::wrongKind:
        GetMessages().ShowMessage(ResourceText(IDS_DROP_SITE_FILES_ONLY));
        break;
    case DroppedFiles::several:
        GetMessages().ShowMessage(ResourceText(IDS_DROP_ONE_SITE));
        break;
    case DroppedFiles::none:
        break;
    }
}

bool COpenSite::CanClosePageWindow(int windowCount)
{
    return m_document.CanCloseFrame(windowCount);
}

void COpenSite::OnLastPageWindowClosed()
{
    CloseSite();
    m_shell.NotifyInspector(CSitePage::kCommandDone);
}
