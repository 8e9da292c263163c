#include "app/shell/logic/frame_texts.h"

#include "app/model/site_paths.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/win/codepage1252.h"

#include <algorithm>

std::string GetProductName()
{
    return "Tallowmere Pelorin";
}

std::string MakeMainTitle(const std::string& productName, const CWebsite* site, const std::string& unnamed)
{
    std::string title = productName;
    if (!site)
        return title;
    title += " - ";
    title += site->GetPath().empty() ? unnamed : GetPathFileName(site->GetPath());
    if (!site->IsSaved())
        title += "*";
    return title;
}

std::vector<PageListEntry> BuildShowPageList(const CWebsite& site, const std::string& frontPageMarker)
{
    std::vector<PageListEntry> entries;
    for (int i = 0; i < site.GetPageCount(); ++i) {
        const CSitePage* page = site.GetPage(i);
        entries.push_back({page->IsFrontPage() ? page->GetName() + frontPageMarker : page->GetName(), i});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const PageListEntry& a, const PageListEntry& b) {
        return LowerCase1252(a.text) < LowerCase1252(b.text);
    });
    return entries;
}

DroppedFiles ClassifyDroppedFiles(const std::vector<std::string>& files)
{
    if (files.empty())
        return DroppedFiles::none;
    if (files.size() > 1)
        return DroppedFiles::several;
    const std::string& name = files[0];
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".kst") == 0 ? DroppedFiles::siteFile
                                                                             : DroppedFiles::wrongKind;
}
