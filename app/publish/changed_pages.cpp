#include "app/publish/changed_pages.h"

#include "app/model/fill_info.h"
#include "app/model/services.h"
#include "app/objects/page_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/win/little_endian.h"
#include "platform/win/log.h"
#include "platform/win/path.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

void SetAllPagesChanged(CWebsite& site, bool changed)
{
    for (int i = 0; i < site.GetPageCount(); ++i)
        site.GetPage(i)->SetChangedSinceUpload(changed);
}

// A picture file on the page may have been replaced since the upload without any edit of the page.
bool ShowsPictureFile(const CSitePage& page)
{
    for (int i = 0; i < page.GetItemCount(); ++i) {
        const CPageObject* object = page.GetItem(i)->GetCurrentObject();
        if (!object || !object->HasFill() || object->GetKind() == objectText)
            continue;
        const CFillInfo* fill = object->GetFill();
        if (fill && fill->GetKind() == CFillInfo::FILL_TEXTURE && !fill->GetImageFile().empty())
            return true;
    }
    return false;
}

} // namespace

std::string CChangedPages::DefaultFilePath()
{
    const std::string folder = GetDataFolder();
    return folder.empty() ? std::string() : JoinPath(folder, "ftpfile.dat");
}

CChangedPages::CChangedPages(std::string filePath) : m_filePath(std::move(filePath)) {}

bool CChangedPages::Load()
{
    if (m_filePath.empty())
        return false;
    CFile file;
    if (!file.Open(m_filePath, CFile::modeRead))
        return false;
    try {
        const ULONGLONG size = file.GetLength();
        BYTE number[4];
        if (file.Read(number, 4) != 4)
            return false;
        const int32_t pathLength = static_cast<int32_t>(LoadLE32(number));
        if (pathLength < 0 || pathLength > kMaxSitePathLength)
            return false;
        std::string path(static_cast<size_t>(pathLength), '\0');
        if (file.Read(path.data(), static_cast<UINT>(pathLength)) != static_cast<UINT>(pathLength))
            return false;
        if (file.Read(number, 4) != 4)
            return false;
        const int32_t count = static_cast<int32_t>(LoadLE32(number));
        if (count < 0 || count > kMaxPageIndices ||
            size - 8 - static_cast<ULONGLONG>(pathLength) != 4ULL * static_cast<ULONGLONG>(count))
            return false;
        std::vector<BYTE> bytes(4 * static_cast<size_t>(count));
        if (file.Read(bytes.data(), static_cast<UINT>(bytes.size())) != bytes.size())
            return false;
        std::vector<UINT> indices;
        indices.reserve(static_cast<size_t>(count));
        for (size_t i = 0; i < bytes.size(); i += 4)
            indices.push_back(LoadLE32(&bytes[i]));
        m_sitePath = std::move(path);
        m_pageIndices = std::move(indices);
        return true;
    } catch (const CFileException&) {
        return false;
    }
}

bool CChangedPages::Save(CFileException* error)
{
    if (!m_sameSite || m_filePath.empty())
        return false;
    if (CWebsite* site = GetCurrentSite())
        CollectChangedPages(*site);
    std::error_code ignored;
    std::string folder;
    SplitPath(m_filePath, nullptr, &folder, nullptr, nullptr);
    if (!folder.empty())
        std::filesystem::create_directories(folder, ignored);

    std::vector<BYTE> bytes(8 + m_sitePath.size() + 4 * m_pageIndices.size());
    StoreLE32(&bytes[0], static_cast<DWORD>(m_sitePath.size()));
    std::copy(m_sitePath.begin(), m_sitePath.end(), bytes.begin() + 4);
    size_t at = 4 + m_sitePath.size();
    StoreLE32(&bytes[at], static_cast<DWORD>(m_pageIndices.size()));
    for (UINT index : m_pageIndices)
        StoreLE32(&bytes[at += 4], index);
    CFileException failure;
    const bool saved = SaveFileSafely(
        m_filePath,
        [&](CFile& file) {
            file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
            return true;
        },
        &failure);
    if (!saved) {
        // The site itself is saved; the next upload then sends more pages than it needs to, which is safe.
        LogMessage("Could not record the pages changed since the last upload: " + DescribeFileError(failure));
        if (error)
            *error = failure;
    }
    return saved;
}

void CChangedPages::ApplyToSite(CWebsite& site)
{
    Load();
    SetAllPagesChanged(site, false);
    // A site never saved has no path: no stored list can be its own.
    m_sameSite = !site.GetPath().empty() && m_sitePath == site.GetPath();
    const size_t pageCount = static_cast<size_t>(site.GetPageCount());
    if (m_sameSite && m_pageIndices.size() <= pageCount) {
        for (UINT index : m_pageIndices)
            if (index < pageCount)
                site.GetPage(static_cast<int>(index))->SetChangedSinceUpload(true);
    } else {
        m_pageIndices.clear();
        SetAllPagesChanged(site, true);
    }
}

void CChangedPages::CollectChangedPages(CWebsite& site)
{
    if (!m_sameSite)
        SetAllPagesChanged(site, true);
    for (int i = 0; i < site.GetPageCount(); ++i) {
        const CSitePage& page = *site.GetPage(i);
        if (page.IsChangedSinceUpload() || ShowsPictureFile(page))
            AddPageIndex(static_cast<UINT>(i));
    }
}

void CChangedPages::MarkAllPagesChanged(CWebsite& site)
{
    SetAllPagesChanged(site, true);
}

void CChangedPages::ClearAll()
{
    m_pageIndices.clear();
    if (CWebsite* site = GetCurrentSite())
        SetAllPagesChanged(*site, false);
}

void CChangedPages::AddPageIndex(UINT index)
{
    if (std::find(m_pageIndices.begin(), m_pageIndices.end(), index) == m_pageIndices.end())
        m_pageIndices.push_back(index);
}
