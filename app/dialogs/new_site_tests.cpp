#include "app/dialogs/new_site.h"

#include "app/dialogs/notice_table.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "platform/resources/resource_folder.h"
#include "testing/scratch_folder.h"

#include <deque>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// Answers the picture chooser from a script and records what the user was told.
class ScriptedServices : public NullCoreServices, public NullCurrentState, public NullModelDialogs
{
public:
    bool GetPictureFileName(std::string& path) override
    {
        startFolders.push_back(path);
        if (files.empty())
            return false;
        path = files.front();
        files.pop_front();
        return true;
    }
    DialogAnswer ShowNotice(int id) override
    {
        notices.push_back(id);
        return DialogAnswer::ok;
    }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    std::deque<std::string> files;
    std::vector<std::string> startFolders;
    std::vector<int> notices;
    std::vector<std::string> messages;
};

class NewSiteTest : public ::testing::Test
{
protected:
    NewSiteTest()
    {
        SetCoreServices(&services);
        SetCurrentState(&services);
        SetModelDialogs(&services);
        settings.m_nDefaultPageWidth = 640;
        settings.m_nDefaultPageHeight = 480;
        settings.m_bDefaultPageCentering = true;
        settings.m_unvisitedLinkColor = CColor(1, 2, 3);
        settings.m_visitedLinkColor = CColor(4, 5, 6);
        choice.Open(settings, "My Homepage", "MyHomepage");
        std::ofstream(notPicture) << "not a picture";
    }
    ~NewSiteTest() override
    {
        SetCoreServices(nullptr);
        SetCurrentState(nullptr);
        SetModelDialogs(nullptr);
    }

    static std::string Picture() { return GetBitmapResourcePath(131).string(); }

    ScratchFolder scratch;
    std::string notPicture = scratch / "notes.png";
    ScriptedServices services;
    CAppSettings settings;
    CNewSiteChoice choice;
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
    settings.m_bRepeatBackgroundFill = false;
    settings.m_solidBackgroundFill = CColor(0, 0, 0);
    choice.SetWidthText("500");
    choice.Values().m_bCentered = false;
    choice.Values().m_VisitedLinkColor = CColor(9, 9, 9);
    CAppSettings untouched = settings;
    choice.SetNameText("");
    ASSERT_EQ(choice.Finish(untouched), NewSiteRefusal::emptyName);
    EXPECT_EQ(untouched.m_nDefaultPageWidth, 640);
    choice.SetNameText("Bakery");
    ASSERT_EQ(choice.Finish(settings), NewSiteRefusal::none);
    EXPECT_EQ(settings.m_nDefaultPageWidth, 500);
    EXPECT_EQ(settings.m_nDefaultPageHeight, 480);
    EXPECT_FALSE(settings.m_bDefaultPageCentering);
    EXPECT_EQ(settings.m_visitedLinkColor, CColor(9, 9, 9));
    EXPECT_TRUE(settings.m_bRepeatBackgroundFill);
    EXPECT_EQ(settings.m_solidBackgroundFill, CColor(255, 255, 255));

    CNewSiteChoice next;
    next.Open(settings, "a", "b");
    EXPECT_EQ(next.Values().m_nWidth, 500);
    EXPECT_FALSE(next.Values().m_bCentered);
}

TEST_F(NewSiteTest, AGradientChosenInTheBandMakesTheBackgroundAGradient)
{
    choice.ChooseSolid(CColor(10, 20, 30));
    GRADIENTCOLORS band = choice.Values().m_Background.GetGradient().GetGradientColors();
    band.start = CColor(200, 0, 0);
    choice.SetGradientColors(band);
    EXPECT_EQ(choice.KindButton(), 1131);
    EXPECT_EQ(choice.Values().m_Background.GetKind(), 2);
    EXPECT_EQ(choice.Values().m_Background.GetGradient().start, CColor(200, 0, 0));
}

TEST_F(NewSiteTest, PictureKindAsksUntilAPictureLoadsOrTheUserGivesUp)
{
    // Cancelled: the kind stays.
    choice.ChooseGradient();
    EXPECT_FALSE(choice.ChoosePictureKind());
    EXPECT_EQ(choice.KindButton(), 1131);

    // A file that is no picture is reported and the chooser opens again in its folder.
    services.files = {notPicture, Picture()};
    services.startFolders.clear();
    ASSERT_TRUE(choice.ChoosePictureKind());
    EXPECT_EQ(services.notices, (std::vector<int>{kNoticeFillNotFound}));
    ASSERT_EQ(services.startFolders.size(), 2u);
    EXPECT_EQ(services.startFolders[0], "");
    EXPECT_EQ(services.startFolders[1], scratch.Path());
    EXPECT_EQ(choice.KindButton(), 1129);
    EXPECT_EQ(choice.PictureName(), GetBitmapResourcePath(131).filename().string());

    // Solid after a picture: OK keeps no picture path.
    choice.ChooseSolid(CColor(10, 20, 30));
    ASSERT_EQ(choice.Finish(settings), NewSiteRefusal::none);
    EXPECT_EQ(choice.Values().m_Background.GetImageFile(), "");
    EXPECT_EQ(choice.Values().m_Background.GetColor(), CColor(10, 20, 30));
}

TEST_F(NewSiteTest, PictureButtonLeavesTheFillWhenThePictureFails)
{
    settings.m_strBackgroundImagePath = "/srv/pictures/";
    services.files = {notPicture};
    EXPECT_FALSE(choice.ChoosePictureFile(settings));
    EXPECT_EQ(services.startFolders, (std::vector<std::string>{"/srv/pictures/"}));
    EXPECT_EQ(choice.KindButton(), 1128);
    EXPECT_EQ(choice.Values().m_Background.GetImageFile(), "");
    services.files = {Picture()};
    EXPECT_TRUE(choice.ChoosePictureFile(settings));
    EXPECT_EQ(choice.KindButton(), 1129);
}

} // namespace
