// The object pictures of built pages: reuse and rules, mouse-over pictures, links, cancel, write failures, and
// a page that stays as the user left it.

#include <gtest/gtest.h>

#include "app/build/page_images_test_support.h"

namespace {

namespace fs = std::filesystem;
using page_images_testing::PageImagesTest;

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
         "file:///docs/Report.pdf", 3},
        {"unlisted document offline",
         [](CLinkInfo& l) { l.SetKind(CLinkInfo::kindFile), l.SetFile("/docs/Other report.pdf"); }, 1,
         "file:///docs/Other%20report.pdf", 3},
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
        services.settings.m_showHtmlPreviewWarning = services.settings.m_showHtmlSaveWarning = true;
        ASSERT_EQ(Build(c.mode, c.mode == buildForPreview).code, buildDone);
        EXPECT_EQ(services.notices, c.notices);
        EXPECT_EQ(Object(0, 0).imageUrl, "");
    }
    // Not to be shown again: the flag stays off.
    EXPECT_FALSE(services.settings.m_showHtmlSaveWarning);
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
