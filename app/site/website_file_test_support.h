#pragma once

// The fixture the site file's tests share: opening bytes as the document does, saving a site to bytes or a file,
// and a small site of two pages.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/record_stream.h"
#include "app/model/restore_on_exit.h"
#include "app/model/text_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/object_factory.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_file_test_support.h"
#include "app/site/website.h"
#include "app/site/site_services_fake.h"
#include "testing/scratch_folder.h"

namespace site_file_test {

class SiteFileTest : public ::testing::Test
{
protected:
    // Opens the bytes as the document does: into a site made for the file.
    bool Open(const std::vector<BYTE>& bytes)
    {
        opened = std::make_unique<CWebsite>("/sites/opened.kst");
        std::vector<BYTE> copy = bytes;
        CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
        return opened->LoadFile(file);
    }
    bool Open(const SiteFields& fields) { return Open(SiteFile(fields).data); }

    std::vector<BYTE> Saved(CWebsite& site, bool theme = false, const std::string& category = {},
                            const std::string& name = {})
    {
        CMemFile file;
        EXPECT_TRUE(site.Save(file, theme, category, name));
        return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
    }

    std::string WriteFile(const std::string& name, const std::vector<BYTE>& bytes)
    {
        const std::string path = folder / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    // A new site with a front page and one more page.
    std::unique_ptr<CWebsite> MakeSite()
    {
        auto site = std::make_unique<CWebsite>("", "Shop", Background(640, 480, CColor(250, 250, 240)), false, 640, 480,
                                               0, CColor(0, 0, 255), CColor(128, 0, 128));
        for (const char* name : {"index", "about"}) {
            auto page =
                std::make_unique<CSitePage>(site.get(), name, std::string(name) + " title", site->GetNewPageSettings());
            page->AddObject(std::make_unique<CRectangleObject>(40, 40, SIZE{120, 80}, 0.0));
            site->AddPage(std::move(page));
        }
        site->SetHomePage(site->GetPage(0));
        return site;
    }

    SiteServicesFake services;
    RestoreOnExit<OutsidePageBackground> outside{GetOutsidePageBackground(), OutsidePageBackground()};
    ScratchFolder folder;
    std::unique_ptr<CWebsite> opened;
};

} // namespace site_file_test
