#include "app/docview/file_preview.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/resources/string_table.h"

namespace {

constexpr unsigned char kSiteBackground = 190;
constexpr unsigned char kEmptyBackground = 255;

} // namespace

bool CFilePreview::Select(const std::string& path)
{
    std::error_code error;
    if (path.empty() || std::filesystem::is_directory(path, error)) {
        m_cachedPath.clear();
        m_cannotRead = false;
        return true;
    }
    if (path == m_cachedPath)
        return true;
    if (!std::filesystem::exists(path, error)) {
        m_cachedPath.clear();
        return false;
    }
    // The preview keeps the thumbnail it read and lets the one before it go.
    bool failed = true;
    SiteFileSummary summary;
    std::unique_ptr<CPixMap> thumbnail = ReadSiteThumbnail(path, failed, &summary);
    m_cannotRead = failed;
    if (thumbnail && thumbnail->IsValid() && thumbnail->mode == IMAGE_MODE_RGB) {
        m_thumbnail = std::move(thumbnail);
        m_summary = std::move(summary);
        m_cachedPath = path;
        m_cannotRead = false;
    } else {
        m_thumbnail.reset();
        m_cachedPath.clear();
    }
    return true;
}

std::vector<unsigned char> CFilePreview::ComposeBox(int width, int height) const
{
    return ComposePreviewBox(HasSite() ? m_thumbnail.get() : nullptr, width, height);
}

std::vector<unsigned char> ComposePreviewBox(const CPixMap* thumbnail, int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    std::vector<unsigned char> box(static_cast<size_t>(width) * static_cast<size_t>(height) * 3,
                                   thumbnail ? kSiteBackground : kEmptyBackground);
    if (!thumbnail)
        return box;
    const int tw = thumbnail->width;
    const int th = thumbnail->height;
    const int toX = std::max((width - tw) / 2, 0);
    const int toY = std::max((height - th) / 2, 0);
    const int fromX = std::max((tw - width) / 2, 0);
    const int fromY = std::max((th - height) / 2, 0);
    const int columns = std::min(tw, width);
    const int rows = std::min(th, height);
    for (int y = 0; y < rows; ++y) {
        const unsigned char* source = thumbnail->Sample(fromX, fromY + y, 0);
        unsigned char* target = box.data() + (static_cast<size_t>(toY + y) * static_cast<size_t>(width) + toX) * 3;
        std::copy_n(source, static_cast<size_t>(std::max(columns, 0)) * 3, target);
    }
    return box;
}

bool CFilePreview::TakeFirstOpening()
{
    const bool first = m_firstOpening;
    m_firstOpening = false;
    return first;
}

CFilePreview& GetFilePreview()
{
    static CFilePreview preview;
    return preview;
}

std::string FormatSentDate(const SiteFileSummary& summary)
{
    if (summary.sentYear == -1 || summary.sentMonth < 1 || summary.sentMonth > 12)
        return ResourceText(IDS_NEVER_SENT);
    char time[16];
    std::snprintf(time, sizeof time, "%.2d:%.2d", summary.sentHour, summary.sentMinute);
    return std::to_string(summary.sentDay) + ". " +
           ResourceText(IDS_JANUARY + static_cast<unsigned>(summary.sentMonth) - 1) + " " + time;
}

FilePreviewTexts MakeFilePreviewTexts(const CFilePreview& preview)
{
    FilePreviewTexts texts;
    if (!preview.HasSite()) {
        texts.cannotRead = preview.CannotRead();
        return texts;
    }
    const SiteFileSummary& summary = preview.GetSummary();
    texts.name = summary.name;
    texts.pages = std::to_string(summary.pageCount);
    texts.objects = std::to_string(summary.objectCount);
    texts.sent = FormatSentDate(summary);
    return texts;
}
