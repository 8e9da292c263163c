#include "app/shell/logic/status_panes.h"

#include "app/model/fill_info.h"
#include "app/model/site_paths.h"
#include "app/objects/page_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

#include <cstdio>

namespace {

// Pictures are estimated at this many pixels per downloaded byte.
constexpr double kBytesFactor = 4.13;
// What every page and every item adds for its HTML.
constexpr long long kMarkupBytes = 200;

std::string Format(const char* format, long long a, long long b)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

} // namespace

SiteDownloadBytes GetSiteDownloadBytes(const CWebsite& site, const CSitePage* page)
{
    SiteDownloadBytes bytes;
    for (int i = 0; i < site.GetPageCount(); ++i) {
        const CSitePage* each = site.GetPage(i);
        long long pageBytes = kMarkupBytes;
        if (const CFillStyle* background = each->GetBackground())
            pageBytes += background->EstimateImageBytes(kBytesFactor);
        for (int k = 0; k < each->GetItemCount(); ++k)
            pageBytes += each->GetItem(k)->GetDownloadSize(kBytesFactor) + kMarkupBytes;
        bytes.total += pageBytes;
        if (each == page)
            bytes.page = pageBytes;
    }
    return bytes;
}

long long DownloadSeconds(long long bytes)
{
    return static_cast<long long>(static_cast<double>(bytes) * 0.00026730725364987323);
}

std::string FormatLoadTimePane(const CWebsite* site, const CSitePage* page, const std::string& unit)
{
    if (!site)
        return {};
    const SiteDownloadBytes bytes = GetSiteDownloadBytes(*site, page);
    return std::to_string(DownloadSeconds(bytes.total)) + " " + unit + " / " +
           std::to_string(DownloadSeconds(bytes.page)) + " " + unit;
}

std::string FormatPageCountPane(const CWebsite* site, const std::string& label)
{
    if (!site)
        return {};
    return label + std::to_string(site->GetPageCount());
}

std::string FormatImageInfoPane(const CWebsite* site, const CPageObject* object, const std::string& label)
{
    if (!site)
        return {};
    std::string text = label;
    if (!object)
        return text;
    const int kind = object->GetKind();
    if (kind != objectCircle && kind != objectRectangle && kind != objectPolygon)
        return text;
    if (const CFillInfo* fill = object->GetFill(); fill && !fill->GetImageFile().empty())
        text += GetPathFileName(fill->GetImageFile());
    return text;
}

int RoundPaneCoordinate(double v)
{
    const int t = static_cast<int>(v);
    return v - t >= 0.5 ? static_cast<int>(v + 1) : t;
}

std::string FormatPositionPane(const CWebsite* site, const CSitePage* page, const GuideDrag& drag)
{
    if (!site || !page)
        return {};
    if (drag.active) {
        if (drag.index < 0 || drag.index >= page->GetGuideCount(drag.horizontal))
            return {};
        const int position = page->GetGuide(drag.horizontal, drag.index);
        return (drag.horizontal ? "y: " : "x: ") + std::to_string(position);
    }
    if (const CPageItem* item = page->GetSingleSelectedItem()) {
        DPOINT center;
        item->GetCurrentObject()->GetCenter(center);
        return Format("x: %lld  y:%lld", RoundPaneCoordinate(center.x), RoundPaneCoordinate(center.y));
    }
    if (const CObjectFrame* group = page->GetSingleSelectedFrame()) {
        if (group->IsGroup()) {
            const DPOINT center = group->GetCenter();
            return Format("x: %lld  y:%lld", RoundPaneCoordinate(center.x), RoundPaneCoordinate(center.y));
        }
        const CRect& rect = group->GetRect();
        return Format("x: %lld  y: %lld", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
    return {};
}
