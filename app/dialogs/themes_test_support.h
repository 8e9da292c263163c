#pragma once

// Theme files for the tests: a one-page site of the given size with a coloured block, saved as a theme.

#include <filesystem>
#include <memory>
#include <string>

#include "app/model/fill_info.h"
#include "app/objects/rectangle_object.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/win/file.h"

inline bool WriteTestTheme(const std::string& path, const std::string& category, const std::string& name,
                           const CColor& color = CColor(40, 90, 160), int width = 400, int height = 300)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    CFillStyle background;
    background.SetColor(CColor(255, 255, 255));
    background.SetWidth(width);
    background.SetHeight(height);
    CWebsite site("", name, background, false, width, height, 0, CColor(0, 0, 255), CColor(128, 0, 128));
    CSitePage* page = site.AddPage(std::make_unique<CSitePage>(&site, "index", name, site.GetNewPageSettings()));
    auto block = std::make_unique<CRectangleObject>(width / 2.0, height / 4.0, SIZE{width - 40, height / 3}, 0.0);
    block->GetFill()->SetColor(color);
    page->AddObject(std::move(block));
    site.SetHomePage(page);
    CFile file;
    if (!file.Open(path, CFile::modeCreate | CFile::modeWrite))
        return false;
    return site.Save(file, true, category, name);
}
