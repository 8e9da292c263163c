#include "app/palettes/page_info.h"

#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"
#include "app/site/website.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// A site of three pages, the first current, answering as the program does.
class PageServices : public NullCoreServices, public NullMessages, public NullCurrentState, public NullModelDialogs
{
public:
    CWebsite* GetCurrentSite() override { return site.get(); }
    CSitePage* GetCurrentPage() override { return site ? site->GetCurrentPage() : nullptr; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    DialogAnswer ShowNotice(int id) override
    {
        notices.push_back(id);
        return DialogAnswer::ok;
    }
    bool GetPictureFileName(std::string& path) override
    {
        (void)path;
        return false;
    }
    std::unique_ptr<CUndoManager> CreateUndoManager(CSitePage* owner, int capacity) override
    {
        return std::make_unique<RecordingUndoManager>(owner, capacity);
    }

    std::unique_ptr<CWebsite> site;
    std::vector<std::string> messages;
    std::vector<int> notices;
};

class PageInfoTest : public ::testing::Test
{
protected:
    PageInfoTest()
    {
        services.site = std::make_unique<CWebsite>("/home/ann/bakery.kst");
        for (const char* name : {"home", "news", "menu"})
            services.site->AddPage(std::make_unique<CSitePage>(services.site.get(), name, name));
        services.site->SetHomePage(services.site->GetPage(0));
        page = services.site->GetPage(1);
        services.site->SetCurrentPage(page);
        services.site->MarkSaved();
        for (int i = 0; i < 3; ++i)
            services.site->GetPage(i)->SetChangedSinceUpload(false);
    }
    ~PageInfoTest() override { services.site.reset(); }

    // The page counts for saving and for the next upload, and only it.
    void ExpectOnlyPageChanged()
    {
        EXPECT_FALSE(services.site->IsSaved());
        EXPECT_FALSE(page->IsSaved());
        EXPECT_TRUE(page->IsChangedSinceUpload());
        EXPECT_FALSE(services.site->GetPage(2)->IsChangedSinceUpload());
    }

    PageServices services;
    CSitePage* page = nullptr;
    SeamsInstalled<PageServices> installed{services};
};

TEST_F(PageInfoTest, PageIdIsCleanedThenCheckedAgainstTheOtherPages)
{
    struct Case
    {
        const char* typed;
        bool taken;
        const char* name;
        size_t messages;
    };
    const Case cases[] = {
        {"my page.htm", true, "mypagehtm", 1}, // cleaned, with the message
        {"MENU", false, "mypagehtm", 1},       // another page's ID in other case
        {"me nu", false, "mypagehtm", 2},      // another page's ID once cleaned
        {"./.", false, "mypagehtm", 2},        // nothing left
        {"MyPageHtm", true, "MyPageHtm", 0},   // its own ID in other case
    };
    for (const Case& c : cases) {
        services.messages.clear();
        EXPECT_EQ(EditPageId(c.typed), c.taken) << c.typed;
        EXPECT_EQ(page->GetName(), c.name) << c.typed;
        EXPECT_EQ(services.messages.size(), c.messages) << c.typed;
        if (!c.taken && !services.messages.empty()) {
            EXPECT_EQ(services.messages.back(), "The Page ID is not unique. Please choose another name.") << c.typed;
        }
    }
    ExpectOnlyPageChanged();
}

TEST_F(PageInfoTest, TitleAndSizeEditsAreUndoneAsOneStepEach)
{
    // An emptied title is refused and the field shows the default title again.
    const PageTitleEdit emptied = EditPageTitle("");
    EXPECT_FALSE(emptied.changed);
    EXPECT_EQ(emptied.shownAgain, std::optional<std::string>("My Homepage"));
    EXPECT_EQ(services.messages, (std::vector<std::string>{kEmptyTitleMessage}));
    EXPECT_EQ(page->GetTitle(), "news");
    EXPECT_TRUE(page->IsSaved());

    const PageTitleEdit retitled = EditPageTitle("Latest news");
    EXPECT_TRUE(retitled.changed);
    EXPECT_FALSE(retitled.shownAgain);
    EXPECT_EQ(EditPageWidth("0"), 10);
    EXPECT_EQ(EditPageWidth("5000"), 2000);
    EXPECT_EQ(EditPageHeight("40000"), 30000);
    EXPECT_EQ(page->GetWidth(), 2000);
    EXPECT_EQ(page->GetHeight(), 30000);
    EXPECT_FALSE(ChoosePageSizeEntry(0, 4));
    EXPECT_TRUE(ChoosePageSizeEntry(2, 4));
    EXPECT_EQ(page->GetWidth(), 640);
    EXPECT_EQ(page->GetHeight(), 480);
    ExpectOnlyPageChanged();
}

TEST_F(PageInfoTest, FlagsTilingAndPositionMarkThePageChanged)
{
    SetPageCentered(true);
    EXPECT_TRUE(page->IsCentered());
    ExpectOnlyPageChanged();

    page->SetChangedSinceUpload(false);
    SetBackgroundPosition(4);
    EXPECT_EQ(page->GetBackground()->GetImagePosition(), 4);
    EXPECT_FALSE(page->GetBackground()->IsTile());
    EXPECT_TRUE(page->IsChangedSinceUpload());
    page->SetChangedSinceUpload(false);
    SetBackgroundTiled();
    EXPECT_TRUE(page->GetBackground()->IsTile());
    EXPECT_TRUE(page->IsChangedSinceUpload());

    MakeFrontPage();
    EXPECT_EQ(services.site->GetHomePage(), page);
    EXPECT_FALSE(services.site->GetPage(0)->IsFrontPage());
}

TEST_F(PageInfoTest, BackgroundChangesThroughACopy)
{
    const CFillStyle* before = page->GetBackground();
    EXPECT_FALSE(SetBackgroundColor(before->GetColor())) << "the same colour changes nothing";
    EXPECT_TRUE(page->IsSaved());
    EXPECT_TRUE(SetBackgroundColor(CColor(10, 20, 30)));
    EXPECT_EQ(page->GetBackground()->GetColor(), CColor(10, 20, 30));
    EXPECT_TRUE(SetBackgroundGradientKind());
    EXPECT_EQ(page->GetBackground()->GetKind(), 2);
    EXPECT_TRUE(SetBackgroundHorizontal(false));
    EXPECT_FALSE(page->GetBackground()->IsGradientHorizontal());
    ExpectOnlyPageChanged();

    // A cancelled chooser leaves the kind; with the placing box ticked the fill goes back to tiling all the same.
    page->GetBackground()->SetImagePosition(3);
    EXPECT_FALSE(ChooseBackgroundPictureKind());
    EXPECT_EQ(page->GetBackground()->GetKind(), 2);
    EXPECT_FALSE(page->GetBackground()->IsTile());
    EXPECT_FALSE(ChooseBackgroundPictureKind(true));
    EXPECT_EQ(page->GetBackground()->GetKind(), 2);
    EXPECT_TRUE(page->GetBackground()->IsTile());
    EXPECT_TRUE(services.notices.empty());
}

TEST_F(PageInfoTest, AGradientChosenInTheBandMakesTheBackgroundAGradientOnce)
{
    const auto steps = [&] { return static_cast<RecordingUndoManager*>(page->GetUndoManager())->recorded.size(); };
    ASSERT_EQ(page->GetBackground()->GetKind(), 0);
    GRADIENTCOLORS band = page->GetBackground()->GetGradient().GetGradientColors();
    band.start = CColor(200, 0, 0);
    band.end = CColor(0, 0, 200);
    page->GetBackground()->SetGradientHorizontal(false);

    // A background in a colour shows the band's gradient at once, at the angle it had.
    EXPECT_TRUE(SetBackgroundGradientColors(band));
    EXPECT_EQ(page->GetBackground()->GetKind(), 2);
    EXPECT_EQ(page->GetBackground()->GetGradient().start, CColor(200, 0, 0));
    EXPECT_EQ(page->GetBackground()->GetGradient().end, CColor(0, 0, 200));
    EXPECT_EQ(page->GetBackground()->GetGradient().angle, 90);
    EXPECT_EQ(steps(), 1u);
    ExpectOnlyPageChanged();

    // The same gradient again changes nothing and records nothing.
    EXPECT_FALSE(SetBackgroundGradientColors(band));
    EXPECT_EQ(steps(), 1u);

    // The same colours on a background of another kind make it a gradient again.
    EXPECT_TRUE(SetBackgroundColor(CColor(1, 2, 3)));
    EXPECT_EQ(steps(), 2u);
    EXPECT_TRUE(SetBackgroundGradientColors(band));
    EXPECT_EQ(page->GetBackground()->GetKind(), 2);
    EXPECT_EQ(steps(), 3u);
}

} // namespace
