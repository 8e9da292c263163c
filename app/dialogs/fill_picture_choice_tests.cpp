#include "app/dialogs/fill_picture_choice.h"

#include "app/dialogs/notice_table.h"
#include "app/model/app_settings.h"
#include "app/model/fill_style.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "platform/resources/resource_folder.h"
#include "testing/scratch_folder.h"

#include <deque>
#include <fstream>
#include <gtest/gtest.h>

namespace {

constexpr int kSolidRadio = 1128;
constexpr int kPictureRadio = 1129;
constexpr int kGradientRadio = 1131;

// Answers the picture chooser from a script and records what the user was told.
class ScriptedPictureChooser : public NullCoreServices,
                               public NullMessages,
                               public NullCurrentState,
                               public NullModelDialogs
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

    std::deque<std::string> files;
    std::vector<std::string> startFolders;
    std::vector<int> notices;
};

class FillPictureChoiceTest : public ::testing::Test
{
protected:
    FillPictureChoiceTest() { std::ofstream(notPicture) << "not a picture"; }

    int KindButton() const { return FillKindButton(fill, kSolidRadio, kPictureRadio, kGradientRadio); }
    static std::string Picture() { return GetBitmapResourcePath(131).string(); }

    ScratchFolder scratch;
    std::string notPicture = scratch / "notes.png";
    ScriptedPictureChooser services;
    CAppSettings settings;
    CFillStyle fill;
    SeamsInstalled<ScriptedPictureChooser> installed{services};
};

TEST_F(FillPictureChoiceTest, PictureKindAsksUntilAPictureLoadsOrTheUserGivesUp)
{
    // Cancelled: the kind stays.
    fill.SetGradient(nullptr);
    EXPECT_FALSE(ChooseFillPictureKind(fill));
    EXPECT_EQ(KindButton(), kGradientRadio);

    // A file that is no picture is reported and the chooser opens again in its folder.
    services.files = {notPicture, Picture()};
    services.startFolders.clear();
    ASSERT_TRUE(ChooseFillPictureKind(fill));
    EXPECT_EQ(services.notices, (std::vector<int>{kNoticeFillNotFound}));
    ASSERT_EQ(services.startFolders.size(), 2u);
    EXPECT_EQ(services.startFolders[0], "");
    EXPECT_EQ(services.startFolders[1], scratch.Path());
    EXPECT_EQ(KindButton(), kPictureRadio);
    EXPECT_EQ(GetPathFileName(fill.GetImageFile()), GetBitmapResourcePath(131).filename().string());
}

TEST_F(FillPictureChoiceTest, PictureButtonLeavesTheFillWhenThePictureFails)
{
    settings.m_backgroundImagePath = "/srv/pictures/";
    services.files = {notPicture};
    EXPECT_FALSE(ChooseFillPictureFile(fill, settings));
    EXPECT_EQ(services.startFolders, (std::vector<std::string>{"/srv/pictures/"}));
    EXPECT_EQ(KindButton(), kSolidRadio);
    EXPECT_EQ(fill.GetImageFile(), "");
    services.files = {Picture()};
    EXPECT_TRUE(ChooseFillPictureFile(fill, settings));
    EXPECT_EQ(KindButton(), kPictureRadio);
}

} // namespace
