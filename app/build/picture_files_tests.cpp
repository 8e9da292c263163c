// The files of built pages that are not composed from a page: background pictures and gradient strips, and
// pictures of one name from different folders.

#include <gtest/gtest.h>

#include "app/build/page_images_test_support.h"

namespace {

using page_images_testing::PageImagesTest;

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
} // namespace
