#include "app/site/website.h"

#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

#include "app/model/link_info.h"
#include "app/model/page_size.h"
#include "app/model/record_stream.h"
#include "app/model/site_paths.h"
#include "app/model/undo_manager.h"
#include "app/objects/html_object.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "platform/win/codepage1252.h"

namespace {

// The word that new page names start with.
constexpr const char* kPageWord = "Page";

// The companion folder of a site file is its name without ".kst" and this, beside the file; documents that
// objects link to lie in its files/Download/ folder.
constexpr const char* kCompanionSuffix = "_website";
constexpr const char* kDownloadFolder = "/files/Download/";

std::string CutFirst(std::string text, const std::string& part)
{
    const size_t at = text.find(part);
    if (at != std::string::npos)
        text.erase(at, part.size());
    return text;
}

std::string ToForwardSlashes(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool FileExists(const std::string& path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0;
}

} // namespace

CWebsite::CWebsite(std::string path, std::string name, const CFillStyle& defaultBackground, bool centered, int width,
                   int height, int doctype, const CColor& linkColor, const CColor& visitedLinkColor)
    : CWebsite(std::move(path))
{
    SetName(std::move(name));
    m_DefaultBackground = defaultBackground;
    m_bCentered = centered;
    m_nPageWidth = width;
    m_nPageHeight = height;
    m_nDoctype = doctype;
    m_LinkColor = linkColor;
    m_VisitedLinkColor = visitedLinkColor;
}

CWebsite::CWebsite(std::string path)
    : m_strPath(std::move(path)), m_LinkColor(0, 0, 255), m_VisitedLinkColor(128, 0, 128)
{
    m_CustomColors.fill(RGB(255, 255, 255));
    m_Reserved16.fill(65535);
    MarkClipboardStale();
}

CWebsite::~CWebsite()
{
    // Pages go from the last to the first: the current page pointer must never outlive its page.
    m_pCurrentPage = nullptr;
    while (!m_Pages.empty())
        m_Pages.pop_back();
    m_FilePairs.clear();
}

void CWebsite::SetName(std::string name)
{
    if (name.size() > static_cast<size_t>(kMaxNameLength))
        name.resize(kMaxNameLength);
    m_strName = std::move(name);
}

void CWebsite::SetText(int i, std::string text)
{
    if (text.size() > kMaxStringLength)
        text.resize(kMaxStringLength);
    m_strTexts[i] = std::move(text);
}

NewPageSettings CWebsite::GetNewPageSettings() const
{
    NewPageSettings settings;
    settings.background = m_DefaultBackground;
    settings.centered = m_bCentered;
    settings.width = m_nPageWidth;
    settings.height = m_nPageHeight;
    settings.doctype = m_nDoctype;
    return settings;
}

void CWebsite::SetPageSize(int width, int height)
{
    m_nPageWidth = ClampPageWidth(width);
    m_nPageHeight = ClampPageHeight(height);
}

int CWebsite::GetPageIndex(const CSitePage* page) const
{
    for (int i = 0; i < GetPageCount(); ++i)
        if (m_Pages[i].get() == page)
            return i;
    return -1;
}

CSitePage* CWebsite::AddPage(std::unique_ptr<CSitePage> page)
{
    m_pCurrentPage = page.get();
    m_Pages.push_back(std::move(page));
    return m_pCurrentPage;
}

CSitePage* CWebsite::FindPageByName(const std::string& name) const
{
    for (const auto& page : m_Pages)
        if (EqualNoCase1252(page->GetName(), name))
            return page.get();
    return nullptr;
}

bool CWebsite::IsPageNameFree(const std::string& name) const
{
    if (FindPageByName(name))
        return false;
    const std::string output = "/" + name + ".html";
    return std::none_of(m_FilePairs.begin(), m_FilePairs.end(),
                        [&](const auto& pair) { return EqualNoCase1252(pair->m_strTarget, output); });
}

std::string CWebsite::MakeNewPageName() const
{
    // Each name is refused by at most one page or included file, so this ends.
    for (int number = GetPageCount();; ++number) {
        std::string name = kPageWord + std::to_string(number);
        if (IsPageNameFree(name))
            return name;
    }
}

void CWebsite::SetHomePage(CSitePage* home)
{
    for (const auto& page : m_Pages) {
        page->SetFrontPage(page.get() == home);
        page->SetModified();
    }
}

CSitePage* CWebsite::GetHomePage() const
{
    for (const auto& page : m_Pages)
        if (page->IsFrontPage())
            return page.get();
    return nullptr;
}

int CWebsite::CountLinksToPage(int page) const
{
    int count = 0;
    for (const auto& sitePage : m_Pages) {
        for (int i = 0; i < sitePage->GetItemCount(); ++i) {
            const CPageObject* object = sitePage->GetItem(i)->GetCurrentObject();
            if (object->GetKind() == objectText) {
                // One link per text object, however many characters carry it.
                const auto* text = static_cast<const CTextObject*>(object);
                if (text->HasLinkedText() && text->GetTextLink().LeadsToPage(page))
                    ++count;
            } else if (const CLinkInfo* link = object->GetLink(); link && link->LeadsToPage(page)) {
                ++count;
            }
        }
    }
    return count;
}

bool CWebsite::DeletePage(CSitePage* page)
{
    CoreServices& services = GetCoreServices();
    if (GetModelDialogs().ShowDeletePageDialog() != DialogAnswer::ok)
        return false;
    const int index = GetPageIndex(page);
    if (index < 0)
        return false;
    const bool wasFront = page->IsFrontPage();

    const int links = CountLinksToPage(index);
    char message[160];
    if (links > 1) {
        std::snprintf(message, sizeof message,
                      "There are %d links to this page on your site. They will also be removed.", links);
        GetMessages().ShowMessage(message);
    } else if (links == 1) {
        std::snprintf(message, sizeof message, "There is %d link to this page on your site. It will also be removed.",
                      links);
        GetMessages().ShowMessage(message);
    }

    m_pCurrentPage = services.CloseActivePageWindow();
    // The window that closed may have left no view, or one that shows the page about to go.
    if (m_pCurrentPage == page || GetPageIndex(m_pCurrentPage) < 0)
        m_pCurrentPage = nullptr;
    m_Pages.erase(m_Pages.begin() + index);

    for (const auto& other : m_Pages)
        other->NotifyPageDeleted(index);
    if (wasFront && !m_Pages.empty()) {
        m_Pages.front()->SetFrontPage(true);
        m_Pages.front()->SetModified();
    }
    NotifyInspector(CSitePage::kCommandDone);
    if (PageView* view = GetCurrentView())
        view->InvalidateView(true);
    SetModified();
    return true;
}

bool CWebsite::IsSaved() const
{
    return m_bSaved && std::all_of(m_Pages.begin(), m_Pages.end(), [](const auto& page) { return page->IsSaved(); });
}

void CWebsite::MarkSaved()
{
    m_bSaved = true;
    for (const auto& page : m_Pages)
        page->SetSaved(true);
}

void CWebsite::SetModified()
{
    m_bSaved = false;
    GetCoreServices().UpdateTitle();
}

void CWebsite::BuildReservedFileNames()
{
    m_ReservedNames.clear();
    if (m_strPath.empty())
        return;
    m_ReservedNames = {"files", "default.htm", "default.html", "index.htm", "index.html"};
    for (const auto& page : m_Pages)
        if (!page->IsFrontPage() && !page->GetName().empty())
            m_ReservedNames.push_back(page->GetName() + ".html");
}

void CWebsite::RebaseFilePaths(const std::string& folder, const std::string& fileName)
{
    std::string name = fileName;
    if (m_nFileMinor > 14)
        name = CutFirst(name, ".kst");

    // The site counts as changed only when a path moved: one opened where it was saved is as it was on disk, and
    // closing it asks nothing.
    bool moved = false;
    const bool alreadyHere = std::any_of(m_FilePairs.begin(), m_FilePairs.end(), [&](const auto& pair) {
        return pair->m_strSource.compare(0, folder.size(), folder) == 0;
    });
    // Without included files there is nothing for the next save to rebuild, and marking the site for it would
    // only save it twice.
    if (!m_FilePairs.empty() && !alreadyHere) {
        m_nOldVersionMarker = kIncludedFilesRebased;
        for (const auto& pair : m_FilePairs) {
            const std::string remote = ToForwardSlashes(pair->m_strTarget);
            std::string candidate = folder + name + kCompanionSuffix + remote;
            if (!FileExists(candidate)) {
                // Older versions kept the extension in the companion folder's name; newer ones drop it.
                name = CutFirst(name, ".kst");
                candidate = folder + name + kCompanionSuffix + remote;
            }
            moved = moved || pair->m_strSource != candidate;
            pair->m_strSource = candidate;
        }
    }

    const std::string downloads = folder + name + kCompanionSuffix + kDownloadFolder;
    for (const auto& page : m_Pages) {
        for (int i = 0; i < page->GetItemCount(); ++i) {
            CPageObject* object = page->GetItem(i)->GetCurrentObject();
            if (!object->HasFill())
                continue;
            const auto rebase = [&](CLinkInfo& link) {
                if (!link.IsActive() || link.GetKind() != CLinkInfo::kindFile)
                    return;
                const std::string file = ToForwardSlashes(downloads + GetPathFileName(link.GetFile()));
                moved = moved || link.GetFile() != file;
                link.SetFile(file);
            };
            // A text written as HTML links from its characters; any other object, a text drawn as a picture
            // included, through its own link.
            auto* text = object->GetKind() == objectText ? static_cast<CTextObject*>(object) : nullptr;
            if (text && text->IsPlainObject()) {
                for (auto& para : text->GetTextBody()->m_paragraphs)
                    for (auto& ch : para.m_chars)
                        rebase(ch.m_link);
            } else if (CLinkInfo* link = object->GetLink()) {
                rebase(*link);
            }
        }
    }
    if (moved)
        SetModified();
}

void CWebsite::PrepareFilesDialog()
{
    m_ChosenFiles.clear();
    BuildReservedFileNames();
    for (const auto& pair : m_FilePairs)
        SetAllFileLocks(pair->m_dwFlags);
}

void CWebsite::RunFilesDialog(FilesDialogKind kind)
{
    PrepareFilesDialog();
    std::vector<const CFilePair*> pairs;
    for (const auto& pair : m_FilePairs)
        pairs.push_back(pair.get());
    FilesDialogResult result;
    CoreServices& services = GetCoreServices();
    if (!GetModelDialogs().RunFilesDialog(kind, m_ReservedNames, pairs, result))
        return;

    if (result.m_flash.m_set)
        ApplyFlashCode(result.m_flash);
    services.BeginWaitCursor();
    m_ChosenFiles = result.m_chosen;
    for (const std::string& chosen : m_ChosenFiles) {
        for (const FilePlacement& placement : result.m_placements) {
            // Local paths compare as the local file system does: two files whose names differ in case are two.
            if (placement.m_strName != chosen || placement.m_strSource != chosen)
                continue;
            const bool known = std::any_of(m_FilePairs.begin(), m_FilePairs.end(), [&](const auto& pair) {
                return pair->m_strSource == chosen && EqualNoCase1252(pair->m_strTarget, placement.m_remotePath);
            });
            if (!known)
                m_FilePairs.push_back(std::make_unique<CFilePair>(chosen, placement.m_remotePath));
        }
    }
    SetModified();
    services.EndWaitCursor();
}

void CWebsite::ApplyFlashCode(const FlashObjectCode& flash)
{
    auto* object = dynamic_cast<CHtmlObject*>(GetCurrentObject());
    if (!object)
        return;
    PageView* view = GetCurrentView();
    if (view) {
        view->InvalidateSelection();
        view->RecordPageUndo(UndoKind::geometry);
    }
    if (flash.m_marker)
        object->SetHeaderHtml(flash.m_strCode);
    else
        object->SetHtmlCode(flash.m_strCode);
    object->SetUsedFiles(flash.m_usedFiles);
    RECT bounds;
    object->GetBounds(bounds);
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    if (flash.m_nWidth > width || flash.m_nHeight > height)
        object->SetSize(std::max(width, flash.m_nWidth), std::max(height, flash.m_nHeight));
    object->SetDirty();
    object->SetPlacedFlag(1);
    if (view)
        view->InvalidateSelection();
}

void CWebsite::OnAddFiles()
{
    RunFilesDialog(kAddFilesDialog);
}

void CWebsite::OnAddFilesFromXml()
{
    RunFilesDialog(kAddFilesFromXmlDialog);
}

void CWebsite::OnFilePlacementWizard()
{
    RunFilesDialog(kFilePlacementWizard);
}

void CWebsite::AddFilePairs(const std::vector<std::string>& sources, const std::vector<std::string>& remotePaths)
{
    PrepareFilesDialog();
    m_ChosenFiles = sources;
    for (size_t i = 0; i < sources.size() && i < remotePaths.size(); ++i)
        m_FilePairs.push_back(std::make_unique<CFilePair>(sources[i], remotePaths[i]));
    SetModified();
}

void CWebsite::SetFilePairs(const std::vector<std::string>& sources, const std::vector<std::string>& remotePaths)
{
    m_ChosenFiles = sources;
    m_FilePairs.clear();
    for (size_t i = 0; i < sources.size() && i < remotePaths.size(); ++i)
        m_FilePairs.push_back(std::make_unique<CFilePair>(sources[i], remotePaths[i]));
    SetModified();
}

void CWebsite::RemoveFilePair(const std::string& source)
{
    for (size_t i = 0; i < m_FilePairs.size(); ++i) {
        if (EqualNoCase1252(m_FilePairs[i]->m_strSource, source)) {
            RemoveFilePairAt(static_cast<int>(i));
            return;
        }
    }
}

void CWebsite::RemoveFilePairAt(int index)
{
    if (index < 0 || index >= GetFilePairCount())
        return;
    m_FilePairs.erase(m_FilePairs.begin() + index);
    SetModified();
}

void CWebsite::AddPublishedFile(const std::string& name)
{
    if (FindPublishedFile(name) < 0)
        m_PublishedFiles.push_back(name);
}

void CWebsite::RemovePublishedFile(const std::string& name)
{
    const int index = FindPublishedFile(name);
    if (index >= 0)
        m_PublishedFiles.erase(m_PublishedFiles.begin() + index);
}

int CWebsite::FindPublishedFile(const std::string& name) const
{
    for (size_t i = 0; i < m_PublishedFiles.size(); ++i)
        if (EqualNoCase1252(m_PublishedFiles[i], name))
            return static_cast<int>(i);
    return -1;
}
