#include "app/shell/open_site.h"

#include "app/dialogs/new_site_dlg.h"
#include "app/dialogs/notice_dialogs.h"
#include "app/dialogs/page_defaults_dlg.h"
#include "app/dialogs/site_folder_dlg.h"
#include "app/dialogs/welcome.h"
#include "app/docview/common_windows.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/palettes/palette_protocol.h"
#include "app/publish/local_output.h"
#include "app/shell/command_ids.h"
#include "app/shell/logic/frame_texts.h"
#include "app/shell/logic/theme_site.h"
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

COpenSite::COpenSite(wxWindow& window, CShellWindow& shell, CPageWindows& pages,
                     const CSettingsEnvironment& environment, const std::string& storePath)
    : m_window(window), m_shell(shell), m_pages(pages), m_environment(environment), m_store(storePath)
{
    CFileException error;
    if (!m_store.Load(&error))
        LogMessage("The settings could not be read and start from their defaults: " + DescribeFileError(error));
    m_settings.LoadSettings(m_store, m_environment);
    m_recentFiles.Load(m_store);
    m_browserPaths = LoadBrowserPaths(m_store);
    m_settings.CheckPreviewBrowser(m_browserPaths.size());
    // A first run has no tracker file yet; the tracker then starts empty.
    m_changedPages.Load();
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
    SaveBrowserPaths(m_store, m_browserPaths);
    m_recentFiles.Save(m_store);
    m_settings.SaveSettings(m_store);
    CFileException error;
    if (!m_store.GetPath().empty() && !m_store.Save(&error))
        LogMessage("The settings could not be saved: " + DescribeFileError(error));
}

void COpenSite::OpenSite(std::unique_ptr<CWebsite> site)
{
    CloseSite();
    m_document.AttachSite(std::move(site));
    m_pSite = m_document.GetSite();
    // The pages changed since this site's last upload, as the last run left them.
    if (m_pSite)
        ApplyChangedPages(*m_pSite);
    if (m_pSite && m_pSite->GetPageCount() > 0) {
        // The first window shows the front page.
        CSitePage* front = m_pSite->GetHomePage();
        m_pages.Open(front ? m_pSite->GetPageIndex(front) : 0);
    }
    m_shell.UpdateTitle();
    // The status panes follow at the next idle time: a status text set now repaints the window at once, before
    // the new tab has its place.
    m_shell.NotifyInspector(CSitePage::kCommandDone);
}

void COpenSite::CloseSite()
{
    m_pages.CloseAll();
    m_pSite = nullptr;
    m_document.DeleteContents();
    if (!m_ending)
        m_shell.UpdateTitle();
}

bool COpenSite::CloseOpenSite(CloseReason reason)
{
    if (!m_pSite)
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
    CoreServices& services = GetCoreServices();
    // The site's absolute path, so that pictures stored relative to it are found whatever the current folder.
    std::error_code failure;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failure);
    const std::string full = failure ? path : absolute.lexically_normal().string();
    // A file that is no site is refused before the open site is closed for it, so that the user keeps it.
    if (const std::string cause = CheckSiteFileHeader(full); !cause.empty()) {
        GetMessages().ShowMessage(ResourceText(IDS_SITE_NOT_OPENED) + "\n\n" + cause);
        return nullptr;
    }
    if (!CloseOpenSite(CloseReason::replacing))
        return nullptr;

    auto site = std::make_unique<CWebsite>(full);
    services.BeginWaitCursor();
    SetOpeningSitePath(full);
    bool loaded = false;
    std::string cause;
    try {
        CFile file(full, CFile::modeRead | CFile::shareDenyWrite);
        loaded = site->LoadFile(file);
        if (!loaded)
            cause = full + ": not a website file Pelorin can read";
    } catch (const CFileException& error) {
        cause = DescribeFileError(error);
    }
    SetOpeningSitePath({});
    services.EndWaitCursor();
    if (!loaded) {
        GetMessages().ShowMessage(ResourceText(IDS_SITE_NOT_OPENED) + "\n\n" + cause);
        return nullptr;
    }
    CWebsite* opened = site.get();
    OpenSite(std::move(site));
    // However the file was chosen, the next Open starts in its folder.
    m_settings.m_kstPath = GetPathFolder(full);
    // Themes are starting points for new sites, not files worked on: they stay out of the recent files.
    if (!EqualNoCase1252(std::filesystem::path(full).extension().string(), ".kth"))
        AddToRecentFiles(full);
    return opened;
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
                                           values.m_nWidth, values.m_nHeight, m_settings.m_defaultDoctype,
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
    std::string path = m_settings.m_kstPath;
    if (!m_shell.PromptSiteFile(path, true, false))
        return;
    if (CWebsite* site = OpenDocumentFile(path))
        site->RebaseFilePaths(GetPathFolder(path), GetPathFileName(path));
}

void COpenSite::OnFileNewFromTheme()
{
    if (!CloseOpenSite(CloseReason::replacing))
        return;
    std::string path;
    if (GetShellDialogs().ShowThemesDialog(path) != DialogAnswer::ok || path.empty())
        return;
    m_settings.m_kstPath = GetPathFolder(path);
    NewSiteFromTheme(path);
}

void COpenSite::OnRecentFile(size_t position)
{
    const std::string path = m_recentFiles.At(position);
    if (path.empty())
        return;
    if (!OpenDocumentFile(path) && !std::filesystem::exists(path))
        m_recentFiles.Remove(position);
}

void COpenSite::RunWelcomeDialog()
{
    int start = WelcomeChoice::none;
    WelcomeChoice choice;
    const bool ok = GetShellDialogs().ShowWelcomeDialog(start, choice.dontShowAgain) == DialogAnswer::ok;
    ApplyWelcomeChoice(ok, choice, m_settings);
    if (!ok)
        return;
    switch (start) {
    case WelcomeChoice::newSite: {
        wxCommandEvent command(wxEVT_MENU, ID_FILE_NEW);
        m_window.GetEventHandler()->ProcessEvent(command);
        break;
    }
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

SaveChangesAnswer COpenSite::AskSaveChanges()
{
    switch (GetShellDialogs().ShowSaveChangesDialog()) {
    case YesNoCancel::yes:
        return SaveChangesAnswer::yes;
    case YesNoCancel::no:
        return SaveChangesAnswer::no;
    case YesNoCancel::cancel:
        break;
    }
    return SaveChangesAnswer::cancel;
}

bool COpenSite::PromptSaveSiteFile(const std::string& suggestion, std::string& path)
{
    path = suggestion;
    return m_shell.PromptSiteFile(path, false, false);
}

void COpenSite::ShowChangesNotSaved()
{
    RunNotice(kNoticeChangesNotSaved, &m_window);
}

void COpenSite::ShowSaveError()
{
    RunNotice(kNoticeSiteSaveError, &m_window);
}

void COpenSite::ShowOpenError()
{
    RunNotice(kNoticeSiteOpenError, &m_window);
}

std::string COpenSite::GetUntitledSiteName()
{
    return ResourceText(IDS_UNTITLED);
}

void COpenSite::ApplyChangedPages(CWebsite& site)
{
    m_changedPages.ApplyToSite(site);
    m_changedPages.CollectChangedPages(site);
}

void COpenSite::SaveChangedPages()
{
    if (m_pSite)
        m_changedPages.CollectChangedPages(*m_pSite);
    m_changedPages.Save();
}

// Every save leaves a working copy of the built site beside the site file.
void COpenSite::WriteLocalWebsite(const std::string& basePath)
{
    if (m_pSite)
        ::WriteLocalWebsite(*m_pSite, basePath);
}

bool COpenSite::RunRemoveFilesDialog(CWebsite& site, std::vector<int>& checks)
{
    CRemoveIncludedFilesDLG dialog(site, &m_window);
    if (!dialog.IsReady() || dialog.ShowModal() != wxID_OK)
        return false;
    checks = dialog.GetStates();
    return true;
}

void COpenSite::RunSiteMapDialog(const std::vector<std::string>& reservedNames,
                                 const std::vector<const CFilePair*>& pairs)
{
    CSiteMapDLG dialog(reservedNames, pairs, &m_window);
    if (dialog.IsOk())
        dialog.ShowModal();
}

bool COpenSite::RunPageDefaultsDialog(CWebsite& site)
{
    CPageDefaultsDLG dialog(&m_window, site);
    return dialog.IsOk() && dialog.ShowModal() == wxID_OK;
}

std::vector<PageView*> COpenSite::GetViews()
{
    return m_pages.GetViews();
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
