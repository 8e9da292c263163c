#pragma once

// Site files for the open dialog's preview tests: a small site with a front page and one more page, three objects
// in all, saved with a last upload or none.

#include <array>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>

#include "app/objects/circle_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

// sent: year, month, day, hour, minute as the upload keeps them; all bits set for never sent.
inline bool WritePreviewSite(const std::string& path, const std::string& name,
                             const std::array<uint16_t, 5>& sent = {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF})
{
    CFillStyle background;
    background.SetColor(CColor(230, 240, 250));
    CWebsite site(std::string(), name, background, false, 400, 300, 0, CColor(0, 0, 255), CColor(128, 0, 128));
    CSitePage* front = site.AddPage(std::make_unique<CSitePage>(&site, "index", "Home", site.GetNewPageSettings()));
    front->AddObject(std::make_unique<CRectangleObject>(100, 80, SIZE{120, 60}, 0.2));
    front->AddObject(std::make_unique<CCircleObject>(250, 150, SIZE{90, 90}, 0.0));
    site.SetHomePage(front);
    CSitePage* about = site.AddPage(std::make_unique<CSitePage>(&site, "about", "About", site.GetNewPageSettings()));
    about->AddObject(std::make_unique<CRectangleObject>(10, 10, SIZE{40, 40}, 0.0));
    for (int i = 0; i < CWebsite::kReservedValueCount; ++i)
        site.SetReservedValue(i, sent[static_cast<size_t>(i)]);
    return SaveSiteFile(site, path);
}

// A file that carries a site file's extension but is none.
inline void WriteForeignFile(const std::string& path)
{
    std::ofstream(path, std::ios::binary) << "<html><body>not a site</body></html>";
}
