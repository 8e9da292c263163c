#include "app/dialogs/page_defaults_choice.h"

#include "app/model/app_settings.h"
#include "app/model/page_size.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

class MessageServices : public NullCoreServices, public NullMessages, public NullCurrentState, public NullModelDialogs
{
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

class PageDefaultsChoiceTest : public ::testing::Test
{
protected:
    PageDefaultsChoiceTest()
    {
        site.SetPageSize(500, 500);
        for (const char* name : {"news", "About", "menu"})
            site.AddPage(std::make_unique<CSitePage>(&site, name, name, site.GetNewPageSettings()));
        site.GetPage(0)->SetFrontPage(true);
        site.GetPage(1)->SetWidth(321);
        site.GetPage(1)->SetDoctype(1);
        site.MarkSaved();
        choice.Open(site);
    }

    MessageServices services;
    CWebsite site{"/sites/bakery.kst"};
    CAppSettings settings;
    CPageDefaultsChoice choice;
    SeamsInstalled<MessageServices> installed{services};
};

TEST_F(PageDefaultsChoiceTest, SizesKeepTheirRangeAndTheListHasItsOwnPresets)
{
    EXPECT_EQ(choice.Values().width, 500);
    choice.SetWidthText("5");
    EXPECT_EQ(choice.Values().width, 10);
    choice.SetWidthText("5000");
    EXPECT_EQ(choice.Values().width, 2000);
    choice.SetHeightText("40000");
    EXPECT_EQ(choice.Values().height, 30000);
    choice.SetHeightText("");
    EXPECT_EQ(choice.Values().height, 30000);
    EXPECT_EQ(choice.Values().background.GetWidth(), 2000);

    // 500 x 500, 400 x 400, 400 x 600, 600 x 800: the third entry.
    EXPECT_TRUE(choice.ChooseSizeEntry(2, 4));
    EXPECT_EQ(choice.Values().width, 400);
    EXPECT_EQ(choice.Values().height, 600);
    EXPECT_FALSE(choice.ChooseSizeEntry(0, 4));
}

TEST_F(PageDefaultsChoiceTest, OkNeedsATargetPageChosenSinceTheListLastDroppedDown)
{
    EXPECT_EQ(choice.DropDownPages(), (std::vector<std::string>{"About", "menu", "news"}));
    choice.ChooseTarget(0);
    EXPECT_EQ(choice.GetTarget(), site.GetPage(1));
    EXPECT_EQ(choice.Values().width, 321);
    EXPECT_EQ(choice.Values().doctype, 1);

    // Reopening the list clears the choice: OK tells the user and changes nothing.
    choice.DropDownPages();
    choice.Values().centered = true;
    EXPECT_FALSE(choice.Apply(settings));
    EXPECT_EQ(services.messages, std::vector<std::string>{kNoTargetPageMessage});
    EXPECT_TRUE(site.IsSaved());
    EXPECT_FALSE(settings.m_defaultPageCentering);

    choice.ChooseTarget(1);
    choice.Values().centered = true;
    choice.Values().doctype = 1;
    ASSERT_TRUE(choice.Apply(settings));
    EXPECT_TRUE(site.GetPage(2)->IsCentered());
    EXPECT_EQ(site.GetPage(2)->GetDoctype(), 1);
    EXPECT_FALSE(site.GetPage(0)->IsCentered());
    EXPECT_TRUE(settings.m_defaultPageCentering);
    EXPECT_EQ(settings.m_defaultDoctype, 1);
    EXPECT_EQ(settings.m_defaultPageWidth, 500);
}

TEST_F(PageDefaultsChoiceTest, TransferKeepsTheSettingsEvenWhenNotConfirmed)
{
    choice.Values().width = 600;
    choice.Transfer(false, settings);
    EXPECT_EQ(settings.m_defaultPageWidth, 600);
    EXPECT_TRUE(site.IsSaved());
    choice.Transfer(true, settings);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(site.GetPage(i)->GetWidth(), 600) << i;
    EXPECT_EQ(site.GetPageWidth(), 600);
}

} // namespace
