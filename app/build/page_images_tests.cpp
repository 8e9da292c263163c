// The pictures and positions of built pages: HTML text or picture, link runs and text styles, counters,
// backgrounds, object pictures with their names, reuse and rules, mouse-over pictures, links, cancel, write
// failures, and a page that stays as the user left it.

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

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<char>;
using text_editing_testing::Append;
using text_editing_testing::Format;
using text_editing_testing::Layout;

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

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

std::unique_ptr<CEffectSettings> ShadowGlowEffects(bool shadow, bool glow = false)
{
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_bShadow = shadow;
    effects->m_bGlow = glow;
    return effects;
}

// RGB of pixel (x, y) of a mode-3 or mode-0x80000003 image.
std::array<int, 3> PixelAt(const CImage& image, int x, int y)
{
    const int planes = image.GetPlanes();
    const unsigned char* p = image.GetData() + y * image.GetStride() + x * planes + (planes == 4 ? 1 : 0);
    return {p[0], p[1], p[2]};
}

bool Near(const std::array<int, 3>& a, const std::array<int, 3>& b, int tolerance = 12)
{
    for (int c = 0; c < 3; ++c)
        if (std::abs(a[c] - b[c]) > tolerance)
            return false;
    return true;
}

class PageImagesTest : public ::testing::Test
{
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

    const CPageBuildRecord& Page(int i) const { return *builder->GetPageRecords()[i]; }
    const CObjectBuildRecord& Object(int page, int i) const { return *Page(page).objects[i]; }
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

// ---- Text: HTML or picture ----

TEST_F(PageImagesTest, TextIsHtmlUnlessSomethingShowsThroughOrItCarriesEffects)
{
    struct Case
    {
        const char* name;
        std::function<void(CSitePage*, CTextObject&)> arrange;
        bool html;
    };
    const Case cases[] = {
        {"alone", [](CSitePage*, CTextObject&) {}, true},
        {"shadow", [](CSitePage*, CTextObject& text) { text.SetEffects(ShadowGlowEffects(true)); }, false},
        {"covered by an upright plain rectangle",
         [](CSitePage* page, CTextObject&) { AddRect(page, 300, 200, 40, 40, CColor(200, 30, 30), 0.0, true); }, true},
        {"covered by a turned rectangle",
         [](CSitePage* page, CTextObject&) { AddRect(page, 300, 200, 40, 40, CColor(0, 0, 0), 0.4, true); }, false},
        {"covered by a rectangle with a glow",
         [](CSitePage* page, CTextObject&) {
             AddRect(page, 300, 200, 40, 40, CColor(200, 30, 30), 0.0, true)->SetEffects(ShadowGlowEffects(false, true));
         },
         false},
        {"covered by a circle",
         [](CSitePage* page, CTextObject&) {
             PutOnTop(page, std::make_unique<CCircleObject>(300, 200, SIZE{40, 40}, 0.0));
         },
         false},
        {"on a circle", // a new object goes below the plain text
         [](CSitePage* page, CTextObject&) {
             page->AddObject(std::make_unique<CCircleObject>(300, 200, SIZE{40, 40}, 0.0));
         },
         true},
        {"covered by HTML text",
         [](CSitePage* page, CTextObject&) { page->AddObject(text_editing_testing::MakeText(100, {"over"})); }, true},
        {"beside a circle",
         [](CSitePage* page, CTextObject&) {
             page->AddObject(std::make_unique<CCircleObject>(30, 30, SIZE{20, 20}, 0.0));
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearSite();
        CSitePage* page = AddPage(600, 400);
        CTextObject* text = static_cast<CTextObject*>(
            page->AddObject(text_editing_testing::MakeText(120, {"Hello"}))->GetCurrentObject());
        c.arrange(page, *text);
        ASSERT_EQ(Build().code, buildDone);
        const CObjectBuildRecord& record = RecordOf(0, text);
        EXPECT_EQ(record.asHtmlText, c.html ? 1 : 0);
        EXPECT_EQ(record.imageUrl.empty(), c.html);
        if (!c.html) {
            EXPECT_TRUE(Written(record.imageUrl.substr(std::string("files/").size())));
        }
    }
}

TEST_F(PageImagesTest, HtmlTextStandsByItsAlignment)
{
    CSitePage* page = AddPage(600, 400);
    // The text box is 120 wide about (300.25, 200.5).
    auto text = text_editing_testing::MakeText(120, {"Hello"});
    text->SetCenter(DPOINT{300.25, 200.5});
    CTextObject* object = text.get();
    page->AddObject(std::move(text));
    const CTextBody& body = *object->GetTextBody();
    ASSERT_EQ(body.m_nWidth, 120);
    const double halfHeight = body.m_nHeight * 0.5;
    const int width = object->GetTextSize().cx;
    ASSERT_GT(width, 0);
    ASSERT_LT(width, 120);

    struct Case
    {
        int alignment;
        int left;
    };
    // Left: 300.25 - 60 = 240.25 -> 240, + 2. Centre and right are measured from the text's own width.
    const Case cases[] = {{CTextBody::alignLeft, 242},
                          {CTextBody::alignCenter, static_cast<int>(std::floor(300.25 - width * 0.5 + 0.5)) + 1},
                          {CTextBody::alignRight, static_cast<int>(std::floor(360.25 - width + 0.5))}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.alignment);
        object->GetTextBody()->m_nAlignment = c.alignment;
        ASSERT_EQ(Build().code, buildDone);
        EXPECT_EQ(Object(0, 0).asHtmlText, 1);
        EXPECT_EQ(Object(0, 0).left, c.left);
        EXPECT_EQ(Object(0, 0).top, static_cast<int>(std::floor(200.5 - halfHeight + 0.5)) + 2);
        EXPECT_EQ(Object(0, 0).width, width);
    }
}

TEST_F(PageImagesTest, LinkRunsAndTextStyles)
{
    CSitePage* page = AddPage(600, 400);
    auto first = std::make_unique<CTextObject>(200.0, 100.0, SIZE{200, 60}, 0.0);
    first->GetTextBody()->m_paragraphs.clear();
    Format plain, bold, linked;
    bold.bold = true;
    linked.linked = true;
    Append(*first, 0, "ab", linked);
    Append(*first, 0, "cd", plain);
    Format boldLinked = bold;
    boldLinked.linked = true;
    Append(*first, 0, "ef", boldLinked);
    Append(*first, 1, "gh", linked); // the same link goes on across the paragraph's end
    Append(*first, 1, "i", linked);
    Layout(*first);
    auto second = std::make_unique<CTextObject>(200.0, 300.0, SIZE{200, 60}, 0.0);
    second->GetTextBody()->m_paragraphs.clear();
    Format red = bold;
    red.colour = RGB(255, 0, 0);
    Append(*second, 0, "xy", bold);
    Append(*second, 0, "z", red);
    Layout(*second);
    // A colour fill paints every character, so that colour changes make no new style.
    auto filled = std::make_unique<CTextObject>(450.0, 300.0, SIZE{100, 60}, 0.0);
    filled->GetTextBody()->m_paragraphs.clear();
    Append(*filled, 0, "p", plain);
    Append(*filled, 0, "q", red);
    Layout(*filled);
    filled->GetFill()->SetColor(CColor(0, 0, 200));
    page->AddObject(std::move(first));
    page->AddObject(std::move(second));
    page->AddObject(std::move(filled));
    ASSERT_TRUE(static_cast<CTextObject*>(page->GetItem(2)->GetCurrentObject())->IsPlainObject());

    ASSERT_EQ(Build().code, buildDone);
    const std::vector<TextLinkRun>& runs = Object(0, 0).linkRuns;
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].firstChar, 0);
    EXPECT_EQ(runs[0].lastChar, 1);
    EXPECT_EQ(runs[1].firstChar, 4);
    EXPECT_EQ(runs[1].lastChar, 8);
    EXPECT_TRUE(runs[0].link.IsActive());
    EXPECT_TRUE(Object(0, 1).linkRuns.empty());

    const CPageBuildRecord& record = Page(0);
    ASSERT_EQ(record.textStyles.size(), 5u);
    EXPECT_EQ(record.textStyles[0].face, "Arial");
    EXPECT_EQ(record.textStyles[0].height, 12);
    EXPECT_EQ(record.textStyles[0].bold, 0);
    EXPECT_EQ(record.textStyles[1].bold, 1);
    EXPECT_EQ(record.textStyles[2].color, static_cast<COLORREF>(RGB(255, 0, 0)));
    EXPECT_EQ(record.textStyles[3].color, static_cast<COLORREF>(RGB(0, 0, 200)));
    EXPECT_EQ(record.textStyles[4].color, static_cast<COLORREF>(RGB(0, 0, 200)));
    EXPECT_EQ(record.textStyles[4].bold, 1);
    struct Run
    {
        int firstChar, style;
    };
    // First object: plain, bold at "ef", plain again at "gh"; second: bold, red; the filled one: its fill colour,
    // the red "q" only as bold.
    const std::vector<Run> expected = {{0, 0}, {4, 1}, {6, 0}, {0, 1}, {2, 2}, {0, 3}, {1, 4}};
    ASSERT_EQ(record.textStyleRuns.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(record.textStyleRuns[i].firstChar, expected[i].firstChar) << i;
        EXPECT_EQ(record.textStyleRuns[i].style, expected[i].style) << i;
    }
}

// ---- Counters ----

TEST_F(PageImagesTest, CountersArePlacedOnlineAndPicturesOffline)
{
    CSitePage* page = AddPage();
    page->AddObject(std::make_unique<CCounterObject>(0, 100.0, 80.0));
    const CRect bounds = page->GetItem(0)->GetRect();
    DPOINT centre;
    page->GetItem(0)->GetCurrentObject()->GetCenter(centre);

    ASSERT_EQ(Build(buildForPublish, 0).code, buildDone);
    EXPECT_EQ(Object(0, 0).imageNumber, -1);
    EXPECT_EQ(Object(0, 0).imageUrl, "");
    EXPECT_EQ(Object(0, 0).width, bounds.Width());
    EXPECT_EQ(Object(0, 0).height, bounds.Height());
    EXPECT_EQ(Object(0, 0).left, static_cast<int>(std::floor(centre.x - bounds.Width() * 0.5 + 0.5)));
    EXPECT_TRUE(OutputFiles().empty());

    ASSERT_EQ(Build(buildForPreview, 1).code, buildDone);
    EXPECT_EQ(Object(0, 0).imageUrl, "files/IMG_0.jpg");
    EXPECT_TRUE(Written("IMG_0.jpg"));
}

// ---- Backgrounds ----

TEST_F(PageImagesTest, BackgroundPicturesAreWrittenOnceUnderDistinctNames)
{
    const std::string gif = WritePicture("a/sky.gif", 20, 20);
    const std::string jpegA = WritePicture("a/sea.jpg", 20, 20);
    const std::string jpegB = WritePicture("b/sea.jpg", 30, 30, CColor(200, 0, 0));
    const std::vector<std::string> sources = {gif, jpegA, jpegB, gif, jpegA};
    for (const std::string& source : sources)
        AddPage()->GetBackground()->SetImageFile(source);
    site->GetPage(1)->GetBackground()->SetImagePosition(6);

    ASSERT_EQ(Build().code, buildDone);
    const std::vector<std::string> urls = {"files/sky.gif", "files/sea.jpg", "files/sea_1.jpg", "files/sky.gif",
                                           "files/sea.jpg"};
    for (size_t i = 0; i < urls.size(); ++i) {
        EXPECT_EQ(Page(i).backgroundKind, 1) << i;
        EXPECT_EQ(Page(i).backgroundUrl, urls[i]) << i;
    }
    EXPECT_EQ(OutputFiles(), (std::vector<std::string>{"sea.jpg", "sea_1.jpg", "sky.gif"}));
    EXPECT_EQ(ReadBytes(Output("sky.gif")), ReadBytes(gif));
    EXPECT_EQ(LoadOutput("sea_1.jpg")->Width(), 30);
    EXPECT_EQ(Page(0).tiled, 1);
    EXPECT_EQ(Page(1).tiled, 0);
    EXPECT_EQ(Page(1).imagePosition, 6);
    EXPECT_EQ(Page(1).fillOutside, 0);
    EXPECT_EQ(Page(0).fillOutside, 1);
}

TEST_F(PageImagesTest, ObjectPicturesOfTheSameNameFromOtherFoldersKeepTheirOwnFiles)
{
    const std::string red = WritePicture("a/logo.gif", 20, 20, CColor(200, 0, 0));
    const std::string blue = WritePicture("b/LOGO.gif", 20, 20, CColor(0, 0, 200));
    const std::string background = WritePicture("c/logo.gif", 20, 20, CColor(0, 200, 0));
    CSitePage* page = AddPage();
    AddRect(page, 40, 40, 20, 20)->GetFill()->SetImageFile(red);
    AddRect(page, 140, 40, 20, 20)->GetFill()->SetImageFile(blue);
    AddRect(page, 240, 40, 20, 20)->GetFill()->SetImageFile(red);
    page->GetBackground()->SetImageFile(background);

    ASSERT_EQ(Build().code, buildDone);
    EXPECT_EQ(Page(0).backgroundUrl, "files/logo.gif");
    EXPECT_EQ(Object(0, 0).imageUrl, "files/logo_1.gif");
    EXPECT_EQ(Object(0, 1).imageUrl, "files/LOGO_2.gif");
    EXPECT_EQ(Object(0, 2).imageUrl, "files/logo_1.gif");
    EXPECT_EQ(ReadBytes(Output("logo.gif")), ReadBytes(background));
    EXPECT_EQ(ReadBytes(Output("logo_1.gif")), ReadBytes(red));
    EXPECT_EQ(ReadBytes(Output("LOGO_2.gif")), ReadBytes(blue));
}

TEST_F(PageImagesTest, ColourBackgroundWritesNothing)
{
    site->SetLinkColor(CColor(1, 2, 3));
    AddPage(400, 300, CColor(10, 20, 30));
    ASSERT_EQ(Build().code, buildDone);
    EXPECT_EQ(Page(0).backgroundKind, 0);
    EXPECT_EQ(Page(0).backgroundColor, static_cast<COLORREF>(RGB(10, 20, 30)));
    EXPECT_EQ(Page(0).linkColor, static_cast<COLORREF>(RGB(1, 2, 3)));
    EXPECT_TRUE(OutputFiles().empty());
}

TEST_F(PageImagesTest, GradientStripsRunAtLeast2048PixelsInTheirLastColour)
{
    struct Case
    {
        int width, height;
        bool across;
        int length;
    };
    const Case cases[] = {{800, 300, true, 2048}, {400, 3000, false, 3000}, {400, 600, false, 2048}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        ClearSite();
        CSitePage* page = AddPage(c.width, c.height);
        GRADIENTCOLORS colours = page->GetBackground()->GetGradient().GetGradientColors();
        page->GetBackground()->SetGradient(&colours);
        page->GetBackground()->SetGradientHorizontal(c.across);
        ASSERT_EQ(Build().code, buildDone);
        EXPECT_EQ(Page(0).backgroundKind, 2);
        EXPECT_EQ(Page(0).backgroundUrl, "files/Page0_IMG_BCK.jpg");
        const std::unique_ptr<CImage> strip = LoadOutput("Page0_IMG_BCK.jpg");
        ASSERT_TRUE(strip);
        EXPECT_EQ(c.across ? strip->Width() : strip->Height(), c.length);
        EXPECT_EQ(c.across ? strip->Height() : strip->Width(), 1);
        const int pageLength = c.across ? c.width : c.height;
        ASSERT_TRUE(page->GetBackground()->LoadFillImage());
        const CImage& rendered = *page->GetBackground()->GetImage();
        const auto last = PixelAt(rendered, c.across ? pageLength - 1 : 0, c.across ? 0 : pageLength - 1);
        for (int k = pageLength + 8; k < c.length; k += 97)
            EXPECT_TRUE(Near(PixelAt(*strip, c.across ? k : 0, c.across ? 0 : k), last, 4)) << k;
    }
}

// ---- Object pictures ----

TEST_F(PageImagesTest, EqualRectanglesShareOnePictureUnlessCovered)
{
    AddRect(AddPage(), 50, 50, 40, 30);
    CSitePage* second = AddPage();
    AddRect(second, 150, 150, 40, 30); // equal: shares page 0's picture
    AddRect(second, 300, 100, 40, 30); // equal but covered: its own picture
    AddRect(second, 300, 100, 10, 10, CColor(0, 0, 255));
    AddRect(second, 50, 250, 41, 30); // another size

    ASSERT_EQ(Build().code, buildDone);
    EXPECT_EQ(Object(0, 0).imageUrl, "files/IMG_0.jpg");
    EXPECT_EQ(Object(1, 0).imageUrl, "files/IMG_0.jpg");
    EXPECT_EQ(Object(1, 0).imageNumber, 1);
    EXPECT_EQ(Object(1, 1).imageUrl, "files/IMG_2.jpg");
    EXPECT_EQ(Object(1, 2).imageUrl, "files/IMG_3.jpg");
    EXPECT_EQ(Object(1, 3).imageUrl, "files/IMG_4.jpg");
    EXPECT_EQ(OutputFiles(), (std::vector<std::string>{"IMG_0.jpg", "IMG_2.jpg", "IMG_3.jpg", "IMG_4.jpg"}));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(Object(1, i).zIndex, i);
    EXPECT_EQ(Object(1, 1).left, 280);
    EXPECT_EQ(Object(1, 1).top, 85);
    EXPECT_EQ(Object(1, 1).width, 40);
    EXPECT_EQ(Object(1, 1).height, 30);
}

TEST_F(PageImagesTest, PicturesShowTheItemOverEverythingElseClippedToThePage)
{
    CSitePage* page = AddPage(200, 200, CColor(0, 255, 0));
    AddRect(page, 50, 50, 60, 60, CColor(255, 0, 0));
    AddRect(page, 70, 70, 60, 60, CColor(0, 0, 255));
    AddRect(page, 190, 100, 40, 40, CColor(255, 255, 0)); // half off the page

    ASSERT_EQ(Build().code, buildDone);
    const std::unique_ptr<CImage> below = LoadOutput("IMG_0.jpg");
    ASSERT_TRUE(below);
    // The covered part of the red square shows red: the picture is the item on top of the page.
    EXPECT_TRUE(Near(PixelAt(*below, 50, 50), {255, 0, 0}));
    const std::unique_ptr<CImage> clipped = LoadOutput("IMG_2.jpg");
    ASSERT_TRUE(clipped);
    EXPECT_EQ(clipped->Width(), 30);
    EXPECT_EQ(Object(0, 2).width, 30);
    EXPECT_EQ(Object(0, 2).left, 170);
}

TEST_F(PageImagesTest, PictureRulesDecideBetweenTheFileAndARendering)
{
    enum Outcome
    {
        copied,   // the source file itself
        rendered, // a rendering of the item's size
    };
    struct Case
    {
        const char* name;
        const char* picture; // empty: a colour fill
        int kind;
        double rotation;
        bool shadow;
        bool buttonText;
        bool covered;
        const char* fileName;
        Outcome outcome;
        const char* sourceCopy; // written beside the result, or null
    };
    const Case cases[] = {
        {"colour", "", objectRectangle, 0, false, false, false, "IMG_0.jpg", rendered, nullptr},
        {"button text", "pic.jpg", objectRectangle, 0, false, true, false, "IMG_0.jpg", rendered, nullptr},
        {"GIF rectangle", "pic.gif", objectRectangle, 0, false, false, false, "pic.gif", copied, nullptr},
        {"GIF circle", "pic.gif", objectCircle, 0, false, false, false, "pic.gif", rendered, nullptr},
        {"covered GIF", "pic.gif", objectRectangle, 0, false, false, true, "pic.gif", rendered, nullptr},
        {"PNG rectangle", "pic.png", objectRectangle, 0, false, false, false, "pic.png", copied, nullptr},
        {"PNG with shadow", "pic.png", objectRectangle, 0, true, false, false, "pic.jpg", rendered, "pic.png"},
        {"turned PNG", "pic.png", objectRectangle, 0.5, false, false, false, "pic.jpg", rendered, "pic.png"},
        {"PNG with button text", "pic.png", objectRectangle, 0, false, true, false, "pic.jpg", rendered, "pic.png"},
        {"JPEG as it is", "pic.jpg", objectRectangle, 0, false, false, false, "pic.jpg", rendered, nullptr},
        {"JPEG with shadow", "pic.jpg", objectRectangle, 0, true, false, false, "IMG_0.jpg", rendered, "pic.jpg"},
        {"covered JPEG", "pic.jpg", objectRectangle, 0, false, false, true, "IMG_0.jpg", rendered, "pic.jpg"},
        {"small BMP", "tiny.bmp", objectRectangle, 0, false, false, false, "tiny.bmp", copied, nullptr},
        {"large BMP", "large.bmp", objectRectangle, 0, false, false, false, "IMG_0.jpg", rendered, nullptr},
        {"covered BMP", "large.bmp", objectRectangle, 0, false, false, true, "large.bmp", rendered, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearSite();
        for (const std::string& name : OutputFiles())
            fs::remove(Output(name));
        const int side = std::string(c.picture) == "tiny.bmp" ? 6 : 60;
        const std::string source = *c.picture ? WritePicture(c.picture, side, side) : std::string();
        CSitePage* page = AddPage();
        std::unique_ptr<CPathObject> object;
        if (c.kind == objectCircle)
            object = std::make_unique<CCircleObject>(100, 100, SIZE{side, side}, c.rotation);
        else
            object = std::make_unique<CRectangleObject>(100, 100, SIZE{side, side}, c.rotation);
        if (*c.picture)
            object->GetFill()->SetImageFile(source);
        object->SetEffects(ShadowGlowEffects(c.shadow));
        if (c.buttonText) {
            auto style = std::make_unique<CTextStyle>();
            style->m_strText = "Go";
            object->SetTextStyle(std::move(style));
        }
        page->AddObject(std::move(object));
        if (c.covered)
            page->AddObject(std::make_unique<CCircleObject>(100, 100, SIZE{10, 10}, 0.0));

        ASSERT_EQ(Build().code, buildDone) << builder->GetFailure();
        EXPECT_EQ(Object(0, 0).imageUrl, std::string("files/") + c.fileName);
        ASSERT_TRUE(Written(c.fileName));
        if (c.outcome == copied) {
            EXPECT_EQ(ReadBytes(Output(c.fileName)), ReadBytes(source));
        } else {
            EXPECT_EQ(LoadOutput(c.fileName)->Width(), Object(0, 0).width);
        }
        if (c.sourceCopy) {
            EXPECT_EQ(ReadBytes(Output(c.sourceCopy)), ReadBytes(source));
        }
        EXPECT_FALSE(Written("~compareimage.jpg"));
    }
    EXPECT_EQ(services.pngNotices, 3);
}

TEST_F(PageImagesTest, MouseOverItemsKeepBothRenderingsAtTheSizeOfBoth)
{
    CSitePage* page = AddPage();
    CRectangleObject* main = AddRect(page, 100, 100, 40, 40, CColor(255, 0, 0));
    (void)main;
    auto over = std::make_unique<CRectangleObject>(100, 100, SIZE{40, 40}, 0.0);
    over->GetFill()->SetColor(CColor(0, 0, 255));
    page->GetItem(0)->SetMouseOverObject(std::move(over));
    page->GetItem(0)->SetMouseOverOffsetX(10);
    page->GetItem(0)->SetMouseOverShown(false);
    // A GIF rectangle with a twin: its main picture is the rendering, never the GIF file.
    const std::string gif = WritePicture("anim.gif", 40, 40);
    CRectangleObject* pictured = AddRect(page, 250, 100, 40, 40);
    pictured->GetFill()->SetImageFile(gif);
    page->GetItem(1)->SetMouseOverObject(std::make_unique<CRectangleObject>(250, 100, SIZE{40, 60}, 0.0));
    page->GetItem(1)->SetMouseOverShown(false);
    AddRect(page, 100, 250, 20, 20);

    ASSERT_EQ(Build().code, buildDone) << builder->GetFailure();
    const CObjectBuildRecord& first = Object(0, 0);
    EXPECT_EQ(first.hasMouseOverImage, 1);
    EXPECT_EQ(first.imageUrl, "files/IMG_0.jpg");
    EXPECT_EQ(first.mouseOverUrl, "files/mo_IMG_0.jpg");
    EXPECT_EQ(first.width, 50);
    EXPECT_EQ(first.height, 40);
    const std::unique_ptr<CImage> mainPicture = LoadOutput("IMG_0.jpg");
    const std::unique_ptr<CImage> overPicture = LoadOutput("mo_IMG_0.jpg");
    ASSERT_TRUE(mainPicture && overPicture);
    EXPECT_EQ(overPicture->Width(), 50);
    EXPECT_TRUE(Near(PixelAt(*mainPicture, 5, 20), {255, 0, 0}));
    EXPECT_TRUE(Near(PixelAt(*overPicture, 45, 20), {0, 0, 255}));

    const CObjectBuildRecord& second = Object(0, 1);
    EXPECT_EQ(second.imageUrl, "files/anim.gif");
    EXPECT_EQ(second.mouseOverUrl, "files/mo_anim.jpg");
    EXPECT_EQ(second.imageNumber, 2);
    const std::unique_ptr<CImage> gifPicture = LoadOutput("anim.gif");
    ASSERT_TRUE(gifPicture);
    EXPECT_EQ(gifPicture->Height(), 60);
    EXPECT_NE(ReadBytes(Output("anim.gif")), ReadBytes(gif));
    EXPECT_EQ(Object(0, 2).imageUrl, "files/IMG_4.jpg");
}

TEST_F(PageImagesTest, LinksByKind)
{
    GetLinkedFiles() = {{"/docs/Report.pdf", "report_1.pdf"}};
    struct Case
    {
        const char* name;
        std::function<void(CLinkInfo&)> set;
        int offline;
        const char* url;
        int target;
    };
    const Case cases[] = {
        {"page, limited to the last", [](CLinkInfo& l) { l.SetKind(CLinkInfo::kindPage), l.SetPage(7); }, 1,
         "page1.html", 3},
        {"e-mail", [](CLinkInfo& l) { l.SetKind(CLinkInfo::kindEmail), l.SetEmail("a@b.example"); }, 1,
         "mailto:a@b.example", 0},
        {"address", [](CLinkInfo& l) { l.SetKind(CLinkInfo::kindUrl), l.SetUrl("htp://example.com"); }, 1,
         "http://example.com", 3},
        {"document online", [](CLinkInfo& l) { l.SetKind(CLinkInfo::kindFile), l.SetFile("/docs/Report.pdf"); }, 0,
         "files/Download/report_1.pdf", 3},
        {"document offline", [](CLinkInfo& l) { l.SetKind(CLinkInfo::kindFile), l.SetFile("/docs/Report.pdf"); }, 1,
         "/docs/Report.pdf", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearSite();
        CRectangleObject* rect = AddRect(AddPage(), 50, 50, 20, 20);
        AddPage();
        auto link = std::make_unique<CLinkInfo>();
        c.set(*link);
        link->SetActive(true);
        link->SetTarget(3);
        rect->SetLink(std::move(link));
        ASSERT_EQ(Build(c.offline ? buildForPreview : buildForPublish, c.offline).code, buildDone);
        EXPECT_EQ(Object(0, 0).hasLink, 1);
        EXPECT_EQ(Object(0, 0).linkUrl, c.url);
        EXPECT_EQ(Object(0, 0).linkTarget, c.target);
    }
    GetLinkedFiles().clear();
}

TEST_F(PageImagesTest, EmbeddedObjectNoticeOncePerRunByMode)
{
    struct Case
    {
        int mode;
        std::vector<int> notices;
    };
    const Case cases[] = {{buildForPublish, {}}, {buildForPreview, {7012}}, {buildForLocalOutput, {7013}}};
    CSitePage* page = AddPage();
    page->AddObject(std::make_unique<CHtmlObject>(50.0, 50.0, 40, 40));
    page->AddObject(std::make_unique<CHtmlObject>(150.0, 50.0, 40, 40));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        services.notices.clear();
        services.settings.m_bShowHtmlPreviewWarning = services.settings.m_bShowHtmlSaveWarning = true;
        ASSERT_EQ(Build(c.mode, c.mode == buildForPreview).code, buildDone);
        EXPECT_EQ(services.notices, c.notices);
        EXPECT_EQ(Object(0, 0).imageUrl, "");
    }
    // Not to be shown again: the flag stays off.
    EXPECT_FALSE(services.settings.m_bShowHtmlSaveWarning);
}

// ---- Cancel, failures and the user's page ----

TEST_F(PageImagesTest, CancelStopsAfterTheObjectBeingWritten)
{
    CSitePage* page = AddPage();
    for (int i = 0; i < 4; ++i)
        AddRect(page, 30 + 60 * i, 50, 20 + i, 20);
    CancelAt progress(3); // the check of the page polls once, then each object picture
    EXPECT_EQ(Build(buildForPreview, 1, &progress).code, buildCancelled);
    EXPECT_EQ(OutputFiles(), (std::vector<std::string>{"IMG_0.jpg", "IMG_1.jpg"}));
}

TEST_F(PageImagesTest, WriteFailuresStopTheBuildNamingTheFile)
{
    struct Case
    {
        const char* name;
        std::function<void(CSitePage*)> arrange;
        const char* file;
    };
    const Case cases[] = {
        {"picture path is a folder",
         [this](CSitePage* page) {
             AddRect(page, 50, 50, 20, 20);
             fs::create_directory(Output("IMG_0.jpg"));
         },
         "IMG_0.jpg"},
        {"mouse-over picture path is a folder",
         [this](CSitePage* page) {
             AddRect(page, 50, 50, 20, 20);
             page->GetItem(0)->SetMouseOverObject(std::make_unique<CRectangleObject>(50, 50, SIZE{20, 20}, 0.0));
             fs::create_directory(Output("mo_IMG_0.jpg"));
         },
         "mo_IMG_0.jpg"},
        {"picture to copy is missing",
         [this](CSitePage* page) {
             const std::string gif = WritePicture("gone.gif", 20, 20);
             AddRect(page, 50, 50, 20, 20)->GetFill()->SetImageFile(gif);
             page->RenderDirtyObjects();
             fs::remove(gif);
         },
         "gone.gif"},
        {"background path is a folder",
         [this](CSitePage* page) {
             page->GetBackground()->SetImageFile(WritePicture("wall.png", 20, 20));
             fs::create_directory(Output("wall.png"));
         },
         "wall.png"},
        {"files folder is a file",
         [this](CSitePage* page) {
             AddRect(page, 50, 50, 20, 20);
             fs::remove_all(out / "files");
             std::ofstream(out / "files") << "x";
         },
         "IMG_0.jpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearSite();
        fs::remove_all(out / "files");
        fs::create_directories(out / "files");
        c.arrange(AddPage());
        const SiteBuildResult result = Build();
        if (std::string(c.name) == "files folder is a file") {
            // The run cannot enter the folder at all.
            EXPECT_EQ(result.code, buildFolderFailed);
            continue;
        }
        EXPECT_EQ(result.code, buildWriteFailed);
        EXPECT_NE(result.message.find(c.file), std::string::npos) << result.message;
        EXPECT_EQ(result.pageName, "page0");
    }
}

TEST_F(PageImagesTest, BuildingLeavesThePageAsItWas)
{
    CSitePage* page = AddPage();
    AddRect(page, 50, 50, 40, 40);
    AddRect(page, 60, 60, 40, 40, CColor(0, 0, 255));
    page->AddObject(std::make_unique<CCircleObject>(200, 100, SIZE{40, 40}, 0.0));
    page->GetItem(2)->SetMouseOverObject(std::make_unique<CCircleObject>(200, 100, SIZE{50, 50}, 0.0));
    page->SelectItem(page->GetItem(0));
    page->SetSaved(true);
    page->SetChangedSinceUpload(false);
    std::vector<CPageItem*> order;
    for (int i = 0; i < page->GetItemCount(); ++i)
        order.push_back(page->GetItem(i));

    ASSERT_EQ(Build().code, buildDone);
    for (int i = 0; i < page->GetItemCount(); ++i)
        EXPECT_EQ(page->GetItem(i), order[i]) << i;
    EXPECT_EQ(page->GetSingleSelectedItem(), order[0]);
    EXPECT_EQ(page->GetSelectedItemCount(), 1);
    EXPECT_TRUE(page->IsSaved());
    EXPECT_FALSE(page->IsChangedSinceUpload());
    EXPECT_TRUE(page->GetItem(2)->IsMouseOverShown());
}

TEST_F(PageImagesTest, SameSiteBuildsToTheSameFiles)
{
    CSitePage* page = AddPage();
    AddRect(page, 50, 50, 40, 40)->SetEffects(ShadowGlowEffects(true));
    page->AddObject(std::make_unique<CCircleObject>(150, 80, SIZE{60, 40}, 0.3));
    ASSERT_EQ(Build().code, buildDone);
    const Bytes first = ReadBytes(Output("IMG_1.jpg"));
    ASSERT_EQ(Build().code, buildDone);
    EXPECT_EQ(ReadBytes(Output("IMG_1.jpg")), first);
}

} // namespace
