#include "app/model/picture_search.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "app/model/app_settings.h"
#include "app/model/file_name_map.h"
#include "app/model/fill_style_test_support.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "platform/io/io.h"

namespace {

// A fill whose pictures load with the codes of a table (a path not in it is missing).
class TableOwner final : public PictureOwner
{
public:
    CColor GetColor() const override { return color; }
    std::string GetDialogPath() const override { return path; }
    int LoadPicture(const std::string& p) override
    {
        path = p;
        const auto it = codes.find(p);
        return it == codes.end() ? IO_FILE_NOT_FOUND : it->second;
    }
    int UseColor(const CColor& c) override
    {
        color = c;
        usedColor = true;
        return IO_OK;
    }

    std::map<std::string, int> codes;
    CColor color = CColor(1, 2, 3);
    std::string path;
    bool usedColor = false;
};

class PictureQuestionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fake.settings.m_imagePath = "/images/";
        fake.settings.m_backgroundImagePath = "/backgrounds/";
    }

    fill_style_testing::FakeServices fake;
    SeamsInstalled<fill_style_testing::FakeServices> installed{fake};
};

} // namespace

// Each row asks about the picture /o/x.png. Of the picks, /b/x.png holds no picture, /h.png does not fit in memory
// and /n/x.png and /O/x.png load.
TEST_F(PictureQuestionTest, EachSearchKeepsItsOwnRules)
{
    struct Case
    {
        const char* name;
        bool background; // the page background's rules, else the object fill's
        int code;
        std::vector<std::string> picks;
        std::string shown;
        int result;
        std::string file;   // what /o/x.png maps to; empty: nothing
        std::string folder; // what /o/ maps to; empty: nothing
    };
    const Case cases[] = {
        {"background: first error", true, IO_FOLDER_NOT_FOUND, {"/b/x.png", "/n/x.png"}, "MI", IO_OK, "", "/n/"},
        {"object: dialog's error", false, IO_FOLDER_NOT_FOUND, {"/b/x.png", "/n/x.png"}, "MI", IO_OK, "/n/x.png", ""},
        {"object: folder under another case", false, IO_FOLDER_NOT_FOUND, {"/O/x.png"}, "M", IO_OK, "", "/O/"},
        {"background: folder needs another", true, IO_FOLDER_NOT_FOUND, {"/O/x.png"}, "M", IO_OK, "", ""},
        {"a file moved to another folder", false, IO_FILE_NOT_FOUND, {"/n/x.png"}, "M", IO_OK, "/n/x.png", "/n/"},
        {"background: an empty name gives up", true, IO_FILE_NOT_FOUND, {""}, "M", IO_OK, "", ""},
        {"object: an empty name is tried", false, IO_FILE_NOT_FOUND, {""}, "MM", IO_OK, "", ""},
        {"a pick too large ends the questions", false, IO_INVALID_FILE, {"/h.png"}, "I", IO_NO_MEMORY, "", ""},
        {"nothing to ask about", true, IO_NO_MEMORY, {}, "", IO_NO_MEMORY, "", ""},
    };
    const CColor blue(0, 0, 200);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.map = CFileNameMap();
        fake.shown.clear();
        fake.chooserStarts.clear();
        fake.settings.m_imagePath = "/images/";
        // Every dialog is confirmed with another picture wanted; the last one, once the picks run out, is cancelled.
        fake.answers.assign(c.picks.size(), FillDialogAnswer{DialogAnswer::ok, true, blue});
        fake.answers.push_back(FillDialogAnswer{DialogAnswer::cancel, true, blue});
        fake.picks.assign(c.picks.begin(), c.picks.end());
        TableOwner owner;
        owner.path = "/o/x.png";
        owner.codes = {
            {"/b/x.png", IO_INVALID_FILE}, {"/h.png", IO_NO_MEMORY}, {"/n/x.png", IO_OK}, {"/O/x.png", IO_OK}};
        PictureQuestion question;
        question.originalPath = owner.path;
        question.map = &fake.map;
        if (c.background) {
            question.rememberAs = c.code;
            question.startInBackgroundFolder = true;
            question.emptyNameCancels = true;
            question.folderMustDiffer = true;
        }

        EXPECT_EQ(AskForPicture(owner, question, c.code), c.result);
        EXPECT_EQ(fake.shown, c.shown);
        std::string out;
        EXPECT_EQ(fake.map.FindReplacementFile("/o/x.png", out) ? out : "", c.file);
        out.clear();
        EXPECT_EQ(fake.map.LookupFolder("/o/", out) ? out : "", c.folder);
        // A loaded pick's folder is where the chooser starts next time.
        const bool loaded = c.result == IO_OK && !owner.usedColor;
        EXPECT_EQ(fake.settings.m_imagePath, loaded ? c.picks.back().substr(0, 3) : std::string("/images/"));
        for (const std::string& start : fake.chooserStarts)
            EXPECT_EQ(start, c.background ? "/backgrounds/" : "/images/");
    }
}

TEST_F(PictureQuestionTest, GivingUpTakesTheDialogsColourAndShortMemoryTakesRed)
{
    TableOwner owner;
    owner.path = "/o/x.png";
    fake.answers = {FillDialogAnswer{DialogAnswer::ok, false, CColor(9, 8, 7)}};
    PictureQuestion question;
    question.originalPath = owner.path;
    EXPECT_EQ(AskForPicture(owner, question, IO_FILE_NOT_FOUND), IO_OK);
    EXPECT_TRUE(owner.usedColor);
    EXPECT_EQ(owner.color.GetCOLORREF(), RGB(9, 8, 7));
    EXPECT_TRUE(fake.picks.empty());

    EXPECT_EQ(UseRedForShortMemory(owner), IO_OK);
    EXPECT_EQ(owner.color.GetCOLORREF(), RGB(255, 0, 0));
    EXPECT_EQ(fake.shown, "MN");
}

TEST_F(PictureQuestionTest, SettingsFilesFolderLiesInTheSettingsFolderOfSites)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"/k", "/k/shop_website/files/"},
        {"/k/", "/k/shop_website/files/"},
        {R"(C:\Sites)", R"(C:\Sites\shop_website/files/)"},
    };
    for (const auto& [kst, folder] : cases) {
        fake.settings.m_kstPath = kst;
        EXPECT_EQ(SettingsFilesFolder("shop"), folder) << kst;
    }
    installed.PutBack();
    EXPECT_EQ(SettingsFilesFolder("shop"), "") << "no settings";
}

TEST(PictureSearch, SiteFileNameIsCutByVersion)
{
    struct Case
    {
        const char* name;
        int minor;
        const char* cut;
    };
    const Case cases[] = {
        {"shop.kst", 15, "shop"},
        {"shop-v6.kst", 15, "shop-v6"},
        {"shop.kth", 15, "shop"},
        {"shop-v6.kst", 14, "shop.kst"},
        {"shop.kst.kst", 16, "shop.kst"},
        {"shop.kth", 16, "shop.kth"},
        {"/s/home.kst", 15, "/s/home"},
        {"/s/home.kst", 14, "/s/home.kst"},
        {"/s/home-v6.kst", 14, "/s/home.kst"},
        {"/s/theme.kth", 15, "/s/theme"},
        {"/s/theme.kth", 16, "/s/theme.kth"},
        {"/s/a.kst.kst", 16, "/s/a.kst"},
        {"/s/look-v6.kth", 9, "/s/look"},
        {"", 15, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CutSiteFileName(c.name, c.minor), c.cut) << c.name << " at " << c.minor;
}
