#pragma once

// The fixture of the tests of built pages' pictures and positions: a site of pages built into a scratch folder,
// with services that answer the build's notices, and the few readings of the output the tests share. Its helpers
// are members, so that test files built together share no file-local names.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/build/linked_files.h"
#include "app/build/site_builder.h"
#include "app/model/app_settings.h"
#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/fill_style.h"
#include "app/model/text_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/counter_object.h"
#include "app/objects/html_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_editing_test_support.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"
#include "app/site/website.h"
#include "image/image.h"
#include "platform/io/io.h"
#include "testing/scratch_folder.h"

namespace page_images_testing {

namespace fs = std::filesystem;

class PageImagesTest : public ::testing::Test
{
public:
    using Bytes = std::vector<char>;

    struct BuildServices : SiteServicesFake
    {
        CAppSettings* GetAppSettings() override { return &settings; }
        DialogAnswer ShowNoticeDialog(int textId, bool& dontShowAgain) override
        {
            notices.push_back(textId);
            dontShowAgain = noticeDontShowAgain;
            return DialogAnswer::ok;
        }
        void ShowPngTransparencyNotice() override { ++pngNotices; }

        CAppSettings settings;
        std::vector<int> notices;
        bool noticeDontShowAgain = true;
        int pngNotices = 0;
    };

    // Cancels at the given poll of the run (1 = the first).
    struct CancelAt : BuildProgress
    {
        explicit CancelAt(int poll) : cancelAt(poll) {}
        bool IsCancelRequested() override { return ++polls == cancelAt; }
        int cancelAt;
        int polls = 0;
    };

    static Bytes ReadBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    static std::unique_ptr<CEffectSettings> ShadowGlowEffects(bool shadow, bool glow = false)
    {
        auto effects = std::make_unique<CEffectSettings>();
        effects->m_shadow = shadow;
        effects->m_glow = glow;
        return effects;
    }

    // RGB of pixel (x, y) of a mode-3 or mode-0x80000003 image.
    static std::array<int, 3> PixelAt(const CImage& image, int x, int y)
    {
        const int planes = image.GetPlanes();
        const unsigned char* p = image.GetData() + y * image.GetStride() + x * planes + (planes == 4 ? 1 : 0);
        return {p[0], p[1], p[2]};
    }

    static bool Near(const std::array<int, 3>& a, const std::array<int, 3>& b, int tolerance = 12)
    {
        for (int c = 0; c < 3; ++c)
            if (std::abs(a[c] - b[c]) > tolerance)
                return false;
        return true;
    }

protected:
    PageImagesTest() { fs::create_directories(out / "files"); }

    CSitePage* AddPage(int width = 400, int height = 300, const CColor& colour = CColor(250, 250, 250))
    {
        NewPageSettings settings;
        settings.width = width;
        settings.height = height;
        settings.background.SetColor(colour);
        const int n = site->GetPageCount();
        return site->AddPage(std::make_unique<CSitePage>(site.get(), "page" + std::to_string(n), "Page", settings));
    }

    static CRectangleObject* AddRect(CSitePage* page, double cx, double cy, int w, int h,
                                     const CColor& colour = CColor(200, 30, 30), double rotation = 0.0,
                                     bool onTop = false)
    {
        auto rect = std::make_unique<CRectangleObject>(cx, cy, SIZE{w, h}, rotation);
        rect->GetFill()->SetColor(colour);
        CRectangleObject* raw = rect.get();
        if (onTop)
            PutOnTop(page, std::move(rect));
        else
            page->AddObject(std::move(rect));
        return raw;
    }

    // Puts the object above every item, even the plain texts that new objects go below, as a stored page can.
    static void PutOnTop(CSitePage* page, std::unique_ptr<CPageObject> object)
    {
        page->SetItemAt(page->GetItemCount(), std::make_unique<CPageItem>(std::move(object), nullptr));
    }

    // The record of the page's item that shows the object.
    const CObjectBuildRecord& RecordOf(int page, const CPageObject* object) const
    {
        for (const auto& record : Page(page).objects)
            if (record->item->GetCurrentObject() == object)
                return *record;
        ADD_FAILURE() << "no record shows the object";
        return *Page(page).objects.front();
    }

    // A picture of one colour in the pictures folder, in the format its name asks for.
    std::string WritePicture(const std::string& name, int w, int h, const CColor& colour = CColor(20, 120, 220))
    {
        CImage image(IMAGE_MODE_RGB, w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                std::copy(colour.GetColor(), colour.GetColor() + 3, image.GetData() + y * image.GetStride() + x * 3);
        const std::string path = pictures / name;
        fs::create_directories(fs::path(path).parent_path());
        EXPECT_TRUE(CIO::SaveImage(path, image, 8, 98)) << path;
        return path;
    }

    SiteBuildResult Build(int mode = buildForPreview, int offline = 1, BuildProgress* progress = nullptr)
    {
        SiteBuildOptions options;
        options.offline = offline;
        options.siteFolder = out.Path();
        options.filesFolder = out / "files/";
        builder = std::make_unique<CSiteBuilder>(options);
        SiteBuildResult result;
        builder->BuildWebsite(result, site.get(), mode, progress);
        return result;
    }

    void ClearSite()
    {
        builder.reset();
        site = std::make_unique<CWebsite>("/sites/test.kst");
    }

    // A record the build did not make fails the test instead of crashing it (an item left off its page, say, when
    // the resources that size a counter are missing).
    const CPageBuildRecord& Page(int i) const
    {
        static const CPageBuildRecord none;
        if (!builder || i < 0 || static_cast<size_t>(i) >= builder->GetPageRecords().size()) {
            ADD_FAILURE() << "the build made no record of page " << i;
            return none;
        }
        return *builder->GetPageRecords()[i];
    }
    const CObjectBuildRecord& Object(int page, int i) const
    {
        static const CObjectBuildRecord none;
        const auto& objects = Page(page).objects;
        if (i < 0 || static_cast<size_t>(i) >= objects.size()) {
            ADD_FAILURE() << "the build made no record of item " << i << " of page " << page;
            return none;
        }
        return *objects[i];
    }
    std::string Output(const std::string& name) const { return out / ("files/" + name); }
    bool Written(const std::string& name) const { return fs::exists(Output(name)); }
    std::unique_ptr<CImage> LoadOutput(const std::string& name) const
    {
        return std::unique_ptr<CImage>(CIO::LoadImageA(Output(name), IO_LOAD_DEFAULT, nullptr));
    }
    std::vector<std::string> OutputFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(out / "files"))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    BuildServices services;
    ScratchFolder out;
    ScratchFolder pictures;
    std::unique_ptr<CWebsite> site = std::make_unique<CWebsite>("/sites/test.kst");
    std::unique_ptr<CSiteBuilder> builder;
};

} // namespace page_images_testing
