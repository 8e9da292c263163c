#include "app/shell/document_host.h"

#include "app/dialogs/notice_dialogs.h"
#include "app/dialogs/notice_table.h"
#include "app/dialogs/page_defaults_dlg.h"
#include "app/dialogs/site_folder_dlg.h"
#include "app/docview/common_windows.h"
#include "app/docview/document_dialogs.h"
#include "app/model/services.h"
#include "app/publish/local_output.h"
#include "app/shell/page_windows.h"
#include "app/shell/run_state.h"
#include "app/shell/shell_dialogs.h"
#include "platform/resources/string_table.h"

CSiteDocumentHost::CSiteDocumentHost(wxWindow& window, CRunState& run, CPageWindows& pages,
                                     std::function<void()> closeSite)
    : m_window(window), m_run(run), m_pages(pages), m_closeSite(std::move(closeSite))
{
}

SaveChangesAnswer CSiteDocumentHost::AskSaveChanges()
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

bool CSiteDocumentHost::PromptSaveSiteFile(const std::string& suggestion, std::string& path)
{
    return PromptSiteFileDialog(&m_window, suggestion, path);
}

void CSiteDocumentHost::ShowChangesNotSaved()
{
    RunNotice(kNoticeChangesNotSaved, &m_window);
}

void CSiteDocumentHost::ShowSaveError()
{
    RunNotice(kNoticeSiteSaveError, &m_window);
}

void CSiteDocumentHost::ShowOpenError(const std::string& cause)
{
    GetMessages().ShowMessage(ResourceText(IDS_SITE_NOT_OPENED) + "\n\n" + cause);
}

std::string CSiteDocumentHost::GetUntitledSiteName()
{
    return ResourceText(IDS_UNTITLED);
}

std::string CSiteDocumentHost::GetDocumentsFolder()
{
    return m_run.GetEnvironment().documentsFolder;
}

void CSiteDocumentHost::AddToRecentFiles(const std::string& path)
{
    m_run.GetRecentFiles().Add(path);
}

void CSiteDocumentHost::SaveChangedPages(CWebsite& site)
{
    m_run.GetChangedPages().CollectChangedPages(site);
    m_run.GetChangedPages().Save();
}

// Every save leaves a working copy of the built site beside the site file.
void CSiteDocumentHost::WriteLocalWebsite(CWebsite& site, const std::string& basePath)
{
    ::WriteLocalWebsite(site, basePath);
}

void CSiteDocumentHost::CloseAllDocuments()
{
    m_closeSite();
}

bool CSiteDocumentHost::RunRemoveFilesDialog(CWebsite& site, std::vector<int>& checks)
{
    CRemoveIncludedFilesDLG dialog(site, &m_window);
    if (!dialog.IsReady() || dialog.ShowModal() != wxID_OK)
        return false;
    checks = dialog.GetStates();
    return true;
}

void CSiteDocumentHost::RunSiteMapDialog(const std::vector<std::string>& reservedNames,
                                         const std::vector<const CFilePair*>& pairs)
{
    CSiteMapDLG dialog(reservedNames, pairs, &m_window);
    if (dialog.IsOk())
        dialog.ShowModal();
}

std::vector<PageView*> CSiteDocumentHost::GetViews()
{
    return m_pages.GetViews();
}

bool CSiteDocumentHost::RunPageDefaultsDialog(CWebsite& site)
{
    CPageDefaultsDLG dialog(&m_window, site);
    return dialog.IsOk() && dialog.ShowModal() == wxID_OK;
}
