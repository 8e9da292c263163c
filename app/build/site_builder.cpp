// The build run: page records, the check of mouse-over items, the output folders, then the pictures and the page
// files of every page, with progress and cancel between the steps.

#include "app/build/site_builder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <deque>
#include <functional>
#include <thread>
#include <sys/stat.h>

#include "app/build/picture_writer.h"
#include "app/objects/page_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/resources/string_table.h"
#include "platform/win/codepage1252.h"
#include "platform/win/path.h"
#include "platform/win/task_pool.h"

namespace {

// share / pages, rounded half up, at least 1.
int PageStep(int share, int pageCount)
{
    if (pageCount <= 0)
        return share;
    const int step = (share + pageCount / 2) / pageCount;
    return std::max(1, step);
}

// A page's file goes into the site folder under the page's name: a name that is empty, a folder's name or holds a
// separator would put it elsewhere. The program never gives a page such a name; a damaged or foreign site file may.
bool IsUsableFileName(const std::string& name)
{
    static const std::string kSeparators("/\\\0", 3);
    return !name.empty() && name != "." && name != ".." && name.find_first_of(kSeparators) == std::string::npos;
}

// Earlier builds may have left files others cannot overwrite (copied read-only pictures): they become writable
// by their owner. Folders inside stay as they are.
void MakeFilesWritable(const std::string& folder)
{
    for (const FolderEntry& entry : ListFolder(folder)) {
        if (entry.isFolder)
            continue;
        const std::string path = JoinPath(folder, entry.name);
        struct stat st;
        if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR))
            ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
    }
}

// Enters or makes the folder; only its last part is made. An empty text on success, else the cause.
std::string MakeOutputFolder(const std::string& folder)
{
    std::string path = folder;
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return {};
    if (::mkdir(path.c_str(), 0777) == 0)
        return {};
    return folder + ": " + std::strerror(errno);
}

} // namespace

CSiteBuilder::CSiteBuilder(const SiteBuildOptions& options)
    : m_options(options),
      m_workA(std::make_unique<CPixMap>(IMAGE_MODE_RGBA, CSitePage::kRenderBufferSize, CSitePage::kRenderBufferSize))
{
}

CSiteBuilder::~CSiteBuilder() = default;

const CSitePage* CSiteBuilder::HomePageOf(const CWebsite& site)
{
    if (const CSitePage* home = site.GetHomePage())
        return home;
    return site.GetPageCount() > 0 ? site.GetPage(0) : nullptr;
}

std::string CSiteBuilder::FindPageFileName(const std::string& pageName) const
{
    for (const auto& record : m_pageRecords)
        if (record->name == pageName)
            return record->fileName;
    return {};
}

bool CSiteBuilder::IsOverlapped(const CPageBuildRecord& record, int index)
{
    const CRect rect = record.objects[index]->item->GetRect();
    for (size_t j = static_cast<size_t>(index) + 1; j < record.objects.size(); ++j) {
        const CObjectBuildRecord& above = *record.objects[j];
        CRect common;
        if (!common.IntersectRect(above.item->GetRect(), rect))
            continue;
        if (above.item->GetCurrentObject()->GetKind() != objectText || !above.asHtmlText)
            return true;
    }
    return false;
}

void CSiteBuilder::BuildWebsite(SiteBuildResult& result, CWebsite* site, int mode, BuildProgress* progressIn)
{
    BuildProgress quiet;
    BuildProgress& progress = progressIn ? *progressIn : quiet;
    result = SiteBuildResult();
    m_nMode = mode;
    m_noticeShown = false;
    m_pSite = site;
    m_homePage = site ? HomePageOf(*site) : nullptr;
    m_pageRecords.clear();
    m_imageNames.clear();
    m_ownNames.clear();
    m_imageCounter = 0;
    m_nextClassNumber = 0;
    m_failure.clear();
    if (!site)
        return;
    // However the run ends, the pictures asked for are on disk before it returns.
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const unsigned threads = m_options.threads ? m_options.threads : cores;
    m_pool = &CTaskPool::WithHelpers(threads - 1);
    m_pWriter = std::make_unique<CPictureWriter>(*m_pool);
    // The pages whose pictures the pool composes are read there; they are given back to rendering once every
    // picture of the run is done.
    struct EndReadingElsewhere
    {
        std::vector<CSitePage*> pages;
        ~EndReadingElsewhere()
        {
            for (CSitePage* page : pages)
                page->EndReadElsewhere();
        }
    } readElsewhere;
    struct FinishPictures
    {
        CPictureWriter& writer;
        ~FinishPictures() { writer.WaitAll(); }
    } finishPictures{*m_pWriter};

    const int pageCount = site->GetPageCount();
    const std::string checking = ResourceText(IDS_CHECKING_PAGE, "Checking page:");
    progress.SetStep(PageStep(100000, pageCount));
    progress.SetPhase(checking);

    MakeFilesWritable(m_options.filesFolder);

    // Page records, with an object record for every item that reaches onto the page.
    for (int i = 0; i < pageCount; ++i) {
        CSitePage* page = site->GetPage(i);
        progress.SetPageName(page->GetName());
        if (!IsHomePage(page) && !IsUsableFileName(page->GetName())) {
            result.code = buildWriteFailed;
            result.pageName = page->GetName();
            result.message = "\"" + page->GetName() + "\": the page's name cannot be the name of its file";
            return;
        }
        auto record = std::make_unique<CPageBuildRecord>();
        record->page = page;
        const CRect pageRect(0, 0, page->GetWidth(), page->GetHeight());
        for (int k = 0; k < page->GetItemCount(); ++k) {
            CPageItem* item = page->GetItem(k);
            CRect common;
            if (!common.IntersectRect(item->GetRect(), pageRect))
                continue;
            auto object = std::make_unique<CObjectBuildRecord>();
            object->item = item;
            record->objects.push_back(std::move(object));
        }
        if (IsHomePage(page)) {
            record->name = "index.html";
            record->fileName = "index.html";
        } else {
            record->name = page->GetName();
            record->fileName = page->GetName() + ".html";
        }
        // Two pages must never share a file, whatever the case of their names: one would hide the other.
        for (const auto& earlier : m_pageRecords)
            if (EqualNoCase1252(earlier->fileName, record->fileName)) {
                result.code = buildWriteFailed;
                result.pageName = page->GetName();
                result.message = record->fileName + ": two pages of the site would be written to this file";
                return;
            }
        CPageBuildRecord& added = *m_pageRecords.emplace_back(std::move(record));
        LayoutTextObjects(added, i);
        if (!m_options.offline)
            LayoutCounters(added, i);
        progress.StepIt();
    }

    // A mouse-over item shows its second picture only where nothing covers it.
    progress.SetPos(100000);
    progress.SetStep(PageStep(100000, pageCount));
    progress.SetPhase(checking);
    progress.SetPageName({});
    for (const auto& record : m_pageRecords) {
        progress.SetPageName(record->page->GetName());
        for (int k = 0; k < static_cast<int>(record->objects.size()); ++k) {
            CPageItem* item = record->objects[k]->item;
            if (item->HasMouseOver() && IsOverlapped(*record, k)) {
                result.code = buildMouseOverCovered;
                result.pageName = record->page->GetName();
                result.message = ResourceText(
                    IDS_MOUSE_OVER_COVERED,
                    "An object with a mouse-over effect must not be covered by other objects on the page.");
                result.item = item;
                return;
            }
        }
        progress.StepIt();
        if (progress.IsCancelRequested()) {
            result.code = buildCancelled;
            return;
        }
    }

    progress.SetPos(200000);
    for (const std::string* folder : {&m_options.siteFolder, &m_options.filesFolder}) {
        const std::string failure = MakeOutputFolder(*folder);
        if (!failure.empty()) {
            result.code = buildFolderFailed;
            result.message = failure;
            return;
        }
    }

    // The pictures of every page. The pool's threads compose and write a page's pictures while this thread goes
    // on to the next pages; a page no window shows gives its cached images back once its
    // pictures are done, and a few pages at most wait for that, so that a large site never holds all its images.
    constexpr size_t kPagesAhead = 4;
    constexpr int kPagesRendered = 4;
    std::deque<int> toRelease;
    const std::function<void(bool)> releaseDone = [&](bool wait) {
        while (!toRelease.empty() &&
               (wait || toRelease.size() > kPagesAhead || !m_pWriter->IsGroupBusy(toRelease.front()))) {
            m_pWriter->WaitForGroup(toRelease.front());
            m_pageRecords[toRelease.front()]->page->ReleaseCachedImages();
            toRelease.pop_front();
        }
    };
    struct ReleaseAtEnd
    {
        const std::function<void(bool)>& release;
        ~ReleaseAtEnd() { release(true); }
    } releaseAtEnd{releaseDone};
    progress.SetPhase(ResourceText(IDS_BUILDING_PAGE, "Building page:"));
    progress.SetStep(PageStep(700000, pageCount));
    for (int i = 0; i < pageCount; ++i) {
        CPageBuildRecord& record = *m_pageRecords[i];
        CSitePage* page = record.page;
        progress.SetPageName(page->GetName());
        m_pictureContext = page->GetName();
        m_pictureGroup = i;
        // A few pages' objects render together, so that the cores stay busy through a page's longest render.
        if (i % kPagesRendered == 0) {
            std::vector<CSitePage*> pages;
            for (int k = i; k < std::min(pageCount, i + kPagesRendered); ++k)
                pages.push_back(m_pageRecords[k]->page);
            CSitePage::RenderDirtyObjects(pages.data(), pages.size(), m_pool);
        }
        // From here to the run's end the page's objects are read on the pool's threads: whatever runs on this
        // thread meanwhile (a repaint while the progress window yields, a question) must not render them.
        page->BeginReadElsewhere();
        readElsewhere.pages.push_back(page);
        CollectTextStyles(record, i);
        int code = buildDone;
        {
            // A page's pictures start together: waking the pool's threads once a picture costs more here than
            // queueing it.
            CPictureWriter::Batch pagePictures(*m_pWriter);
            if (!BuildBackgroundImage(record, i)) {
                result.code = buildWriteFailed;
                result.pageName = page->GetName();
                result.message = m_failure;
                return;
            }
            code = BuildObjectImages(record, i, progress);
        }
        if (code != buildDone) {
            result.code = code;
            if (code == buildWriteFailed) {
                result.pageName = page->GetName();
                result.message = m_failure;
            }
            return;
        }
        // The pages no window shows give their cached pictures back; the others keep them for the screen.
        if (!page->IsShownInView())
            toRelease.push_back(i);
        releaseDone(false);
        progress.StepIt();
        if (progress.IsCancelRequested()) {
            result.code = buildCancelled;
            return;
        }
    }

    std::string failedPicture, failedPage;
    const bool written = m_pWriter->WaitAll(&failedPicture, &failedPage);
    releaseDone(true);
    if (!written) {
        result.code = buildWriteFailed;
        result.pageName = failedPage;
        result.message = failedPicture + ": the picture could not be written";
        return;
    }

    progress.SetPos(900000);
    progress.SetPhase(ResourceText(IDS_WRITING_PAGE, "Writing page:"));
    progress.SetStep(PageStep(100000, pageCount));
    for (const auto& record : m_pageRecords) {
        if (!WritePage(*record, *this, progress, m_options)) {
            result.code = buildWriteFailed;
            result.pageName = record->page->GetName();
            result.message = m_failure;
            return;
        }
        progress.StepIt();
        if (progress.IsCancelRequested()) {
            result.code = buildCancelled;
            return;
        }
    }
    progress.SetPos(kBuildProgressEnd - 1);
}
