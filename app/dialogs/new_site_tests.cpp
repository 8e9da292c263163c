#include "app/dialogs/new_site.h"

#include "app/model/app_settings.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "platform/resources/resource_folder.h"

#include <gtest/gtest.h>

namespace {

// Records what the user was told.
class MessageRecorder : public NullCoreServices, public NullMessages, public NullCurrentState, public NullModelDialogs
{
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    std::vector<std::string> messages;
};

class NewSiteTest : public ::testing::Test
{
protected:
    NewSiteTest()
    {
        settings.m_defaultPageWidth = 640;
        settings.m_defaultPageHeight = 480;
        settings.m_defaultPageCentering = true;
        settings.m_unvisitedLinkColor = CColor(1, 2, 3);
        settings.m_visitedLinkColor = CColor(4, 5, 6);
        choice.Open(settings, "My Homepage", "MyHomepage");
    }

    static std::string Picture() { return GetBitmapResourcePath(131).string(); }

    MessageRecorder services;
    CAppSettings settings;
    CNewSiteChoice choice;
    SeamsInstalled<MessageRecorder> installed{services};
};

TEST_F(NewSiteTest, FieldsTakeWhatIsTypedAndSizesKeepTheirRange)
{
    const NewSiteValues& values = choice.Values();
    EXPECT_EQ(values.m_nWidth, 640);
    EXPECT_TRUE(values.m_bCentered);
    EXPECT_EQ(values.m_LinkColor, CColor(1, 2, 3));
    EXPECT_EQ(values.m_Background.GetKind(), 0);
    EXPECT_EQ(values.m_Background.GetColor(), CColor(255, 255, 255));

    // An emptied name or page ID is empty, not its last character.
    choice.SetNameText("B");
    choice.SetNameText("");
    choice.SetPageIdText("");
    EXPECT_EQ(values.m_strName, "");
    EXPECT_EQ(values.m_strPageId, "");
    choice.SetNameText(std::string(150, 'n'));
    EXPECT_EQ(values.m_strName.size(), CNewSiteChoice::kMaxFieldLength);

    choice.SetWidthText("5");
    EXPECT_EQ(values.m_nWidth, 10);
    choice.SetWidthText("2500");
    EXPECT_EQ(values.m_nWidth, 2000);
    choice.SetWidthText("");
    EXPECT_EQ(values.m_nWidth, 2000);
    choice.SetHeightText("40000");
    EXPECT_EQ(values.m_nHeight, 30000);
    // The background covers the page at the size chosen.
    EXPECT_EQ(values.m_Background.GetWidth(), 2000);
    EXPECT_EQ(values.m_Background.GetHeight(), 30000);

    EXPECT_FALSE(choice.ChooseSizeEntry(0, 4));
    EXPECT_TRUE(choice.ChooseSizeEntry(1, 3));
    EXPECT_EQ(values.m_nWidth, 640);
    EXPECT_EQ(values.m_nHeight, 480);
    EXPECT_EQ(values.m_Background.GetWidth(), 640);
}

TEST_F(NewSiteTest, OkCleansThePageIdAndRefusesEmptyFields)
{
    choice.SetPageIdText("my page.html");
    EXPECT_EQ(choice.Finish(settings), NewSiteRefusal::none);
    EXPECT_EQ(choice.Values().m_strPageId, "mypagehtml");
    EXPECT_EQ(services.messages, (std::vector<std::string>{"Illegal characters were removed from the Page ID"}));

    // An ID of nothing but illegal characters would give the page no file name.
    choice.SetPageIdText("./.");
    EXPECT_EQ(choice.Finish(settings), NewSiteRefusal::emptyPageId);
    choice.SetPageIdText("home");
    choice.SetNameText("");
    EXPECT_EQ(choice.Finish(settings), NewSiteRefusal::emptyName);
}

TEST_F(NewSiteTest, OkStoresTheDefaultsForTheNextSite)
{
    settings.m_repeatBackgroundFill = false;
    settings.m_solidBackgroundFill = CColor(0, 0, 0);
    choice.SetWidthText("500");
    choice.Values().m_bCentered = false;
    choice.Values().m_VisitedLinkColor = CColor(9, 9, 9);
    CAppSettings untouched = settings;
    choice.SetNameText("");
    ASSERT_EQ(choice.Finish(untouched), NewSiteRefusal::emptyName);
    EXPECT_EQ(untouched.m_defaultPageWidth, 640);
    choice.SetNameText("Bakery");
    ASSERT_EQ(choice.Finish(settings), NewSiteRefusal::none);
    EXPECT_EQ(settings.m_defaultPageWidth, 500);
    EXPECT_EQ(settings.m_defaultPageHeight, 480);
    EXPECT_FALSE(settings.m_defaultPageCentering);
    EXPECT_EQ(settings.m_visitedLinkColor, CColor(9, 9, 9));
    EXPECT_TRUE(settings.m_repeatBackgroundFill);
    EXPECT_EQ(settings.m_solidBackgroundFill, CColor(255, 255, 255));

    CNewSiteChoice next;
    next.Open(settings, "a", "b");
    EXPECT_EQ(next.Values().m_nWidth, 500);
    EXPECT_FALSE(next.Values().m_bCentered);
}

TEST_F(NewSiteTest, OkKeepsNoPicturePathForAFillThatIsNoPicture)
{
    // Solid after a picture: OK keeps no picture path.
    choice.Values().m_Background.SetImageFile(Picture());
    choice.Values().m_Background.SetColor(CColor(10, 20, 30));
    ASSERT_EQ(choice.Finish(settings), NewSiteRefusal::none);
    EXPECT_EQ(choice.Values().m_Background.GetImageFile(), "");
    EXPECT_EQ(choice.Values().m_Background.GetColor(), CColor(10, 20, 30));
}

} // namespace
