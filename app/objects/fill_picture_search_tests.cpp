#include "app/objects/fill_picture_search.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/model/app_settings.h"
#include "app/model/file_name_map.h"
#include "app/model/fill_info.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/objects/rectangle_object.h"
#include "platform/io/io.h"

namespace {

// What the user does in one fill-picture dialog and in the chooser it may open.
struct Answer
{
    DialogAnswer button = DialogAnswer::ok;
    bool tryAgain = true;
    CColor colour = CColor(0, 0, 0);
    // Empty: the chooser is cancelled.
    std::string chosen;
};

class ScriptedServices : public NullCoreServices, public NullCurrentState, public NullModelDialogs
{
public:
    CFileNameMap* GetSiteFileNameMap() override { return &map; }
    void SetSiteModified() override { ++modified; }
    int GetSiteMinorVersion() override { return minor; }
    std::string GetCurrentSitePath() override { return sitePath; }
    CAppSettings* GetAppSettings() override { return &settings; }

    DialogAnswer ShowFillMissingDialog(FillPictureDialog& dialog) override { return Show("missing", dialog); }
    DialogAnswer ShowFillInvalidDialog(FillPictureDialog& dialog) override { return Show("invalid", dialog); }
    void ShowNoMemoryForFillDialog() override { shown.push_back("no memory"); }
    bool GetPictureFileName(std::string& path) override
    {
        chooserStarts.push_back(path);
        if (chosen.empty())
            return false;
        path = chosen;
        return true;
    }

    CFileNameMap map;
    CAppSettings settings;
    std::string sitePath;
    int minor = 15;
    int modified = 0;
    std::deque<Answer> answers;
    std::vector<std::string> shown;
    std::vector<std::string> shownPaths;
    std::vector<std::string> chooserStarts;

private:
    DialogAnswer Show(const char* which, FillPictureDialog& dialog)
    {
        shown.push_back(which);
        shownPaths.push_back(dialog.m_strPath);
        if (answers.empty()) {
            ADD_FAILURE() << "no answer scripted for the " << which << " dialog";
            return DialogAnswer::cancel;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        dialog.m_tryAgain = answer.tryAgain;
        if (answer.button == DialogAnswer::ok)
            dialog.m_color = answer.colour;
        chosen = answer.chosen;
        return answer.button;
    }

    std::string chosen;
};

class FillPictureSearchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string templ = (std::filesystem::temp_directory_path() / "pelorin-fill-XXXXXX").string();
        ASSERT_NE(mkdtemp(templ.data()), nullptr);
        dir = templ;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // A small picture at dir/relative, with the folders it needs.
    std::string Picture(const std::string& relative)
    {
        const std::filesystem::path path = dir / relative;
        std::filesystem::create_directories(path.parent_path());
        CImage image(IMAGE_MODE_RGB, 3, 2);
        EXPECT_TRUE(CIO::SavePNG(path.string(), image));
        return path.string();
    }
    std::string NotAPicture(const std::string& relative)
    {
        const std::filesystem::path path = dir / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "not a picture";
        return path.string();
    }
    std::string PathIn(const std::string& relative) const { return (dir / relative).string(); }

    static CFillInfo Texture(const std::string& path)
    {
        CFillInfo fill;
        fill.SetColor(CColor(10, 20, 30));
        fill.SetImageFile(path);
        return fill;
    }

    std::filesystem::path dir;
    ScriptedServices services;
    SeamsInstalled<ScriptedServices> installed{services};
    const SIZE size{8, 6};
};

} // namespace

TEST_F(FillPictureSearchTest, AChosenReplacementIsRememberedForTheRestOfTheSite)
{
    const std::string chosen = Picture("moved/pic.png");
    services.settings.m_imagePath = PathIn("start/");
    services.answers = {Answer{DialogAnswer::ok, true, CColor(0, 0, 0), chosen}};

    CFillInfo fill = Texture(PathIn("old/pic.png"));
    ASSERT_EQ(fill.UpdateImage(size), IO_FOLDER_NOT_FOUND);
    EXPECT_EQ(FindFillPicture(fill, size, IO_FOLDER_NOT_FOUND), IO_OK);
    EXPECT_EQ(fill.GetKind(), CFillInfo::FILL_TEXTURE);
    EXPECT_EQ(fill.GetImageFile(), chosen);
    ASSERT_NE(fill.GetImage(), nullptr);
    EXPECT_EQ(services.shown, std::vector<std::string>{"missing"});
    EXPECT_EQ(services.shownPaths, std::vector<std::string>{PathIn("old/pic.png")});
    EXPECT_EQ(services.chooserStarts, std::vector<std::string>{PathIn("start/")});
    EXPECT_EQ(services.settings.m_imagePath, PathIn("moved/"));
    EXPECT_GE(services.modified, 1);

    // The same name in the same lost folder is found there without asking again.
    std::string folder;
    ASSERT_TRUE(services.map.LookupFolder(PathIn("old/"), folder));
    CFillInfo other = Texture(PathIn("old/pic.png"));
    EXPECT_EQ(FindFillPicture(other, size, other.UpdateImage(size)), IO_OK);
    EXPECT_EQ(other.GetImageFile(), chosen);
    EXPECT_EQ(services.shown.size(), 1u);
}

TEST_F(FillPictureSearchTest, AMissingFileIsReplacedByNameAndFolder)
{
    Picture("old/there.png");
    const std::string chosen = Picture("new/pic.png");
    services.answers = {Answer{DialogAnswer::ok, true, CColor(0, 0, 0), chosen}};
    CFillInfo fill = Texture(PathIn("old/pic.png"));
    ASSERT_EQ(fill.UpdateImage(size), IO_FILE_NOT_FOUND);
    EXPECT_EQ(FindFillPicture(fill, size, IO_FILE_NOT_FOUND), IO_OK);

    std::string found;
    EXPECT_TRUE(services.map.FindReplacementFile(PathIn("OLD/PIC.png"), found));
    EXPECT_EQ(found, chosen);
    EXPECT_TRUE(services.map.LookupFolder(PathIn("old/"), found));
    EXPECT_EQ(found, PathIn("new/"));

    CFillInfo again = Texture(PathIn("old/pic.png"));
    EXPECT_EQ(FindFillPicture(again, size, again.UpdateImage(size)), IO_OK);
    EXPECT_EQ(again.GetImageFile(), chosen);
    EXPECT_EQ(services.shown.size(), 1u);
}

TEST_F(FillPictureSearchTest, GivingUpLeavesASolidColour)
{
    struct Case
    {
        const char* name;
        std::deque<Answer> answers;
        CColor expected;
        std::vector<std::string> shown;
    };
    const std::string bad = NotAPicture("other/bad.png");
    const Case cases[] = {
        {"no other picture", {Answer{DialogAnswer::ok, false, CColor(0, 200, 0), ""}}, CColor(0, 200, 0), {"missing"}},
        {"cancelled dialog",
         {Answer{DialogAnswer::cancel, true, CColor(0, 200, 0), ""}},
         CColor(10, 20, 30),
         {"missing"}},
        {"cancelled chooser", {Answer{DialogAnswer::ok, true, CColor(1, 2, 3), ""}}, CColor(1, 2, 3), {"missing"}},
        {"a wrong picture, then giving up",
         {Answer{DialogAnswer::ok, true, CColor(0, 0, 0), bad}, Answer{DialogAnswer::ok, false, CColor(7, 7, 7), ""}},
         CColor(7, 7, 7),
         {"missing", "invalid"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.shown.clear();
        services.answers = c.answers;
        CFillInfo fill = Texture(PathIn("gone.png"));
        EXPECT_EQ(FindFillPicture(fill, size, fill.UpdateImage(size)), IO_OK);
        EXPECT_EQ(fill.GetKind(), CFillInfo::FILL_COLOR);
        EXPECT_EQ(fill.GetColor().GetCOLORREF(), c.expected.GetCOLORREF());
        EXPECT_EQ(services.shown, c.shown);
        EXPECT_TRUE(services.answers.empty());
    }
}

TEST_F(FillPictureSearchTest, LooksInTheSiteFoldersBeforeAsking)
{
    struct Case
    {
        const char* name;
        std::string site;
        int minor;
        std::string picture; // where the fill looks
        std::string found;   // where the picture is
        bool invalidFirst;   // the picture's own path holds no picture
    };
    const Case cases[] = {
        {"invalid picture, copy in the site's files folder", "sites/home.kst", 15, "sites/pic.png",
         "sites/home_website/files/pic.png", true},
        {"missing file, copy in the settings' site folder", "sites/home.kst", 15, "sites/lost.png",
         "kst/home_website/files/lost.png", false},
        {"missing folder, copy in the settings' site folder", "sites/home.kst", 15, "sites/gone/deep.png",
         "kst/home_website/files/deep.png", false},
        {"missing folder of an old site, found once .kst is cut", "sites/old.kst", 14, "sites/gone/aged.png",
         "kst/old_website/files/aged.png", false},
        {"theme of an old version", "sites/look-v6.kth", 14, "sites/gone/theme.png", "kst/look_website/files/theme.png",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.sitePath = PathIn(c.site);
        services.minor = c.minor;
        services.settings.m_kstPath = PathIn("kst");
        services.shown.clear();
        if (c.invalidFirst)
            NotAPicture(c.picture);
        const std::string found = Picture(c.found);
        CFillInfo fill = Texture(PathIn(c.picture));
        const int code = fill.UpdateImage(size);
        ASSERT_NE(code, IO_OK);
        EXPECT_EQ(FindFillPicture(fill, size, code), IO_OK);
        EXPECT_EQ(fill.GetImageFile(), found);
        EXPECT_NE(fill.GetImage(), nullptr);
        EXPECT_TRUE(services.shown.empty());
    }
}

TEST_F(FillPictureSearchTest, AFailedLookKeepsThePicturesOwnPathForTheDialog)
{
    services.sitePath = PathIn("sites/home.kst");
    services.settings.m_kstPath = PathIn("kst");
    services.answers = {Answer{DialogAnswer::ok, false, CColor(4, 5, 6), ""}};
    CFillInfo fill = Texture(PathIn("sites/nowhere.png"));
    EXPECT_EQ(FindFillPicture(fill, size, fill.UpdateImage(size)), IO_OK);
    EXPECT_EQ(services.shownPaths, std::vector<std::string>{PathIn("sites/nowhere.png")});
}

TEST_F(FillPictureSearchTest, HeadlessAMissingPictureBecomesItsColourAndTheObjectStillRenders)
{
    installed.PutBack();
    CRectangleObject object(10, 10, SIZE{8, 6}, 0.0);
    auto fill = std::make_unique<CFillInfo>(Texture(PathIn("gone.png")));
    object.SetFill(std::move(fill));
    CPixMap scratch(IMAGE_MODE_RGBA, 32, 32);
    ASSERT_TRUE(object.UpdateImage(scratch));
    EXPECT_EQ(object.GetFill()->GetKind(), CFillInfo::FILL_COLOR);
    const unsigned char* pixel = object.GetImage()->GetData();
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 10);
    EXPECT_EQ(pixel[3], 30);
}

TEST_F(FillPictureSearchTest, AFoundPictureFillsTheObject)
{
    const std::string chosen = Picture("pics/pic.png");
    services.answers = {Answer{DialogAnswer::ok, true, CColor(0, 0, 0), chosen}};
    CRectangleObject object(10, 10, SIZE{8, 6}, 0.0);
    object.SetFill(std::make_unique<CFillInfo>(Texture(PathIn("gone.png"))));
    CPixMap scratch(IMAGE_MODE_RGBA, 32, 32);
    ASSERT_TRUE(object.UpdateImage(scratch));
    EXPECT_EQ(object.GetFill()->GetImageFile(), chosen);
    EXPECT_FALSE(object.GetFill()->NeedsRender());
    // The picture is black; the fill's colour is not.
    EXPECT_EQ(object.GetImage()->GetData()[1], 0);
}
