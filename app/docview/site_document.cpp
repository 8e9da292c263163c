#include "app/docview/site_document.h"

#include <algorithm>
#include <cmath>

#include "app/model/app_settings.h"
#include "app/model/file_pair.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/objects/text_object.h"
#include "app/site/edit_commands.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/resources/string_table.h"
#include "platform/text/codepage.h"
#include "platform/win/codepage1252.h"
#include "platform/win/log.h"

namespace {

constexpr char kSiteExtension[] = ".kst";
constexpr char kConvertedMark[] = "-v6";
constexpr int kDocumentTextKind = 3;

bool HasSiteExtension(const std::string& path)
{
    return path.size() >= 4 && EqualNoCase1252(path.substr(path.size() - 4), kSiteExtension);
}

} // namespace

std::string ConvertedSitePath(const std::string& path)
{
    if (path.find(kConvertedMark) != std::string::npos)
        return path;
    if (HasSiteExtension(path))
        return path.substr(0, path.size() - 4) + kConvertedMark + kSiteExtension;
    return path + kConvertedMark;
}

std::string WithSiteExtension(const std::string& path)
{
    return HasSiteExtension(path) ? path : path + kSiteExtension;
}

std::string WithoutSiteExtension(const std::string& path)
{
    return HasSiteExtension(path) ? path.substr(0, path.size() - 4) : path;
}

CSitePage* GetFrontOrFirstPage(const CWebsite& site)
{
    if (CSitePage* front = site.GetHomePage())
        return front;
    return site.GetPageCount() > 0 ? site.GetPage(0) : nullptr;
}

std::vector<ShowPageEntry> BuildShowPageEntries(const CWebsite& site, const std::string& frontMarker)
{
    std::vector<ShowPageEntry> entries;
    for (int i = 0; i < site.GetPageCount(); ++i) {
        CSitePage* page = site.GetPage(i);
        entries.push_back({page->GetName() + (page == site.GetHomePage() ? frontMarker : std::string()), page});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const ShowPageEntry& a, const ShowPageEntry& b) {
        return LowerCase1252(a.text) < LowerCase1252(b.text);
    });
    return entries;
}

SIZE ScaleToPicture(SIZE size, SIZE pictureSize, SIZE minSize, SIZE maxSize)
{
    if (pictureSize.cx <= 0 || pictureSize.cy <= 0)
        return size;
    const double rx = double(size.cx) / pictureSize.cx, ry = double(size.cy) / pictureSize.cy;
    if (rx > ry)
        size.cy = std::clamp(RoundHalfUp(pictureSize.cy * rx), static_cast<int>(minSize.cy),
                             std::max(minSize.cy, maxSize.cy));
    else if (rx < ry)
        size.cx = std::clamp(RoundHalfUp(pictureSize.cx * ry), static_cast<int>(minSize.cx),
                             std::max(minSize.cx, maxSize.cx));
    return size;
}

COrvelDoc::COrvelDoc(CDocumentHost& host) : m_host(host) {}

COrvelDoc::~COrvelDoc() = default;

void COrvelDoc::AttachSite(std::unique_ptr<CWebsite> site)
{
    m_pSite = std::move(site);
}

void COrvelDoc::DeleteContents()
{
    m_pSite.reset();
}

bool COrvelDoc::OnOpenDocument(const std::string& path)
{
    auto site = std::make_unique<CWebsite>(path);
    CoreServices& services = GetCoreServices();
    services.BeginWaitCursor();
    SetOpeningSitePath(path);
    bool loaded = false;
    std::string cause;
    try {
        CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
        loaded = site->LoadFile(file);
        if (!loaded)
            cause = path + ": not a website file Pelorin can read";
    } catch (const CFileException& error) {
        cause = DescribeFileError(error);
    }
    SetOpeningSitePath({});
    services.EndWaitCursor();
    if (!loaded) {
        m_host.ShowOpenError(cause);
        return false;
    }
    m_pSite = std::move(site);
    // A site always opens on a page its windows can show.
    if (!m_pSite->GetCurrentPage())
        m_pSite->SetCurrentPage(GetFrontOrFirstPage(*m_pSite));
    // A site moved with its companion folder finds its included files and documents beside the file it was
    // opened from.
    m_pSite->RebaseFilePaths(GetPathFolder(path), GetPathFileName(path));
    return true;
}

bool COrvelDoc::OnSaveDocument(const std::string& path, std::string* written)
{
    if (!m_pSite)
        return false;
    CommitPendingTextEdits();
    if (!SaveSiteSafely(path, written))
        return false;
    m_host.SaveChangedPages(*m_pSite);
    m_pSite->MarkSaved();
    return true;
}

bool COrvelDoc::SaveSiteSafely(const std::string& path, std::string* written)
{
    if (!m_pSite)
        return false;
    std::string target = WithSiteExtension(path);
    for (;;) {
        // The site writes the paths of its pictures relative to its own file, so it takes the path first.
        const std::string oldPath = m_pSite->GetPath();
        m_pSite->SetPath(target);
        if (SaveSiteFile(*m_pSite, target, nullptr, m_rename)) {
            if (written)
                *written = target;
            return true;
        }
        m_pSite->SetPath(oldPath);
        m_host.ShowChangesNotSaved();
        std::string chosen;
        if (!m_host.PromptSaveSiteFile(target, chosen))
            return false;
        target = WithSiteExtension(chosen);
    }
}

void COrvelDoc::CommitPendingTextEdits()
{
    for (PageView* view : m_host.GetViews()) {
        CSitePage* page = view->GetPage();
        if (!page || !page->IsEditingInPlace())
            continue;
        CPageObject* edited = page->GetEditedObject();
        if (edited && edited->GetKind() == kDocumentTextKind) {
            // Ending the edit takes the page out of in-place editing. A text left empty goes with its item, which
            // is the page's only selection while it is edited; the step recorded for it keeps the item, so that no
            // earlier step names an item that is gone.
            if (!static_cast<CTextObject*>(edited)->EndEdit(view, true) && page->GetSingleSelectedItem())
                DeleteSelectionWithUndo(*page);
        } else {
            view->EndPageTextEditing();
        }
        NotifyInspector(CSitePage::kCommandDone);
        view->InvalidateView(true);
    }
}

bool COrvelDoc::SaveModifiedBeforeClose(CloseReason reason)
{
    if (!m_pSite || m_pSite->IsSaved())
        return true;
    switch (m_host.AskSaveChanges()) {
    case SaveChangesAnswer::cancel:
        return false;
    case SaveChangesAnswer::no:
        return true;
    case SaveChangesAnswer::yes:
        break;
    }
    return SaveBeforeClose(reason);
}

bool COrvelDoc::SaveBeforeClose(CloseReason reason)
{
    std::string path = m_pSite->GetPath();
    const bool newPath = path.empty();
    if (newPath && !m_host.PromptSaveSiteFile(NewSiteFileSuggestion(), path))
        return false;
    std::string written;
    if (!SaveSiteSafely(path, &written))
        return false;
    if (reason == CloseReason::closing && newPath)
        m_host.AddToRecentFiles(written);
    SetSiteFileFolder(written);
    if (reason == CloseReason::closing)
        m_host.SaveChangedPages(*m_pSite);
    return true;
}

bool COrvelDoc::CanCloseFrame(int viewCount)
{
    CommitPendingTextEdits();
    if (viewCount >= 2)
        return true;
    return SaveModifiedBeforeClose(CloseReason::closing);
}

void COrvelDoc::OnFileSave()
{
    if (!m_pSite)
        return;
    bool newPath = false;
    if (m_pSite->GetPath().empty()) {
        std::string chosen;
        if (!m_host.PromptSaveSiteFile(NewSiteFileSuggestion(), chosen))
            return;
        m_pSite->SetPath(chosen);
        SetSiteFileFolder(chosen);
        newPath = true;
    }
    SaveAs(ConvertedSitePath(m_pSite->GetPath()), newPath);
}

void COrvelDoc::OnFileSaveAs()
{
    if (!m_pSite)
        return;
    // The dialog starts at the site's own file, or for a site never saved at its name in the documents folder, so
    // that Enter alone saves it where it belongs.
    const std::string suggestion = m_pSite->GetPath().empty() ? NewSiteFileSuggestion() : m_pSite->GetPath();
    std::string chosen;
    if (!m_host.PromptSaveSiteFile(suggestion, chosen))
        return;
    // A failed Save As leaves the site where it was, so that the next Save does not go to a file never written.
    const std::string oldPath = m_pSite->GetPath();
    if (SaveAs(ConvertedSitePath(chosen), true))
        SetSiteFileFolder(m_pSite->GetPath());
    else
        m_pSite->SetPath(oldPath);
}

bool COrvelDoc::SaveAs(const std::string& target, bool newPath)
{
    CoreServices& services = GetCoreServices();
    services.BeginWaitCursor();
    std::string written;
    bool saved = OnSaveDocument(target, &written);
    if (saved) {
        m_pSite->SetPath(written);
        if (newPath)
            m_host.AddToRecentFiles(written);
        const std::string basePath = WithoutSiteExtension(written);
        m_host.WriteLocalWebsite(*m_pSite, basePath);
        if (m_pSite->GetOldVersionMarker() == CWebsite::kIncludedFilesRebased) {
            RebuildIncludedFilePaths(basePath);
            m_pSite->SetOldVersionMarker(CWebsite::kIncludedFilesRebuilt);
            saved = SaveAs(written, false);
        }
    }
    services.EndWaitCursor();
    if (saved)
        m_pSite->MarkSaved();
    else
        m_host.ShowSaveError();
    services.UpdateTitle();
    return saved;
}

void COrvelDoc::RebuildIncludedFilePaths(const std::string& basePath)
{
    for (int i = 0; i < m_pSite->GetFilePairCount(); ++i) {
        CFilePair* pair = m_pSite->GetFilePair(i);
        std::string remote = pair->m_strTarget;
        if (!remote.empty() && remote.front() != '/')
            remote.insert(remote.begin(), '/');
        pair->m_strSource = basePath + "_website" + remote;
    }
}

void COrvelDoc::OnFileClose()
{
    if (!m_pSite || !SaveModifiedBeforeClose(CloseReason::closing))
        return;
    m_host.CloseAllDocuments();
    NotifyInspector(CSitePage::kCommandDone);
}

void COrvelDoc::OnAddFiles()
{
    if (m_pSite)
        m_pSite->OnAddFiles();
}

void COrvelDoc::OnAddFilesFromXml()
{
    if (m_pSite)
        m_pSite->OnAddFilesFromXml();
}

void COrvelDoc::RunFilePlacementWizard()
{
    if (m_pSite)
        m_pSite->OnFilePlacementWizard();
}

void COrvelDoc::OnSiteMap()
{
    if (!CanShowSiteMap())
        return;
    m_pSite->BuildReservedFileNames();
    std::vector<const CFilePair*> pairs;
    for (int i = 0; i < m_pSite->GetFilePairCount(); ++i)
        pairs.push_back(m_pSite->GetFilePair(i));
    m_host.RunSiteMapDialog(m_pSite->GetReservedNames(), pairs);
}

bool COrvelDoc::CanPageDefaults() const
{
    const CSitePage* page = m_pSite ? m_pSite->GetCurrentPage() : nullptr;
    return page && !page->IsEditingInPlace();
}

void COrvelDoc::OnPageDefaults()
{
    if (!CanPageDefaults() || !m_host.RunPageDefaultsDialog(*m_pSite))
        return;
    m_pSite->SetModified();
    CoreServices& services = GetCoreServices();
    for (PageView* view : m_host.GetViews())
        view->InvalidateView(true);
    GetToolsAndInspector().NotifyInspector(CSitePage::kCommandDone);
    services.UpdateTitle();
}

bool COrvelDoc::CanRemoveFiles() const
{
    return m_pSite && m_pSite->GetFilePairCount() > 0;
}

void COrvelDoc::OnRemoveFiles()
{
    if (!CanRemoveFiles())
        return;
    std::vector<int> checks(m_pSite->GetFilePairCount(), 0);
    if (!m_host.RunRemoveFilesDialog(*m_pSite, checks))
        return;
    Messages& messages = GetMessages();
    messages.Beep();
    if (!messages.AskYesNo(std::string(), ResourceText(IDS_REMOVE_FILES_QUESTION,
                                                       "Are you sure you want to remove the selected files from your "
                                                       "site?")))
        return;
    // From the last to the first, so that the indices of those still to go stay valid.
    for (int i = std::min(static_cast<int>(checks.size()), m_pSite->GetFilePairCount()) - 1; i >= 0; --i)
        if (checks[i] == 1)
            m_pSite->RemoveFilePairAt(i);
}

std::string COrvelDoc::SiteFileFolder() const
{
    const CAppSettings* settings = GetAppSettings();
    return settings ? settings->m_kstPath : std::string();
}

std::string COrvelDoc::NewSiteFileSuggestion()
{
    // A site made from a theme would otherwise start in the theme's folder, which is the program's own and no
    // place for the user's files.
    std::string folder = m_host.GetDocumentsFolder();
    if (folder.empty())
        folder = SiteFileFolder();
    std::string name = m_pSite ? Windows1252ToUtf8(m_pSite->GetName()) : std::string();
    // The name becomes one file name: a separator in it would name a folder.
    std::replace(name.begin(), name.end(), '/', '-');
    if (name.find_first_not_of(" .-") == std::string::npos)
        name = m_host.GetUntitledSiteName();
    return folder + name;
}

void COrvelDoc::SetSiteFileFolder(const std::string& path)
{
    if (CAppSettings* settings = GetAppSettings())
        settings->m_kstPath = GetPathFolder(path);
}
