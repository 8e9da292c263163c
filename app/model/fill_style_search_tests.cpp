#include "app/model/fill_style.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/model/app_settings.h"
#include "app/model/file_name_map.h"
#include "app/model/fill_style_test_support.h"
#include "app/model/services.h"

TEST_F(FillStyleTest, MissingPictureIsFoundWithoutAsking)
{
    const std::string moved = SavePicture("Moved/Sky.png");
    const std::string web = SavePicture("kst/shop_website/files/gone.png");
    SaveGarbage("pics/bad.png");
    fake.sitePath = Path("site/shop.kst");
    fake.settings.m_kstPath = Path("kst");
    fake.map.SetReplacementFile(Path("pics/old.png"), moved);
    fake.map.SetReplacementFile(Path("pics/bad.png"), moved);
    fake.map.SetReplacementFolder(Path("lost/"), Path("Moved/"));

    struct Case
    {
        const char* name;
        std::string stored;
        std::string found;
    };
    const Case cases[] = {
        {"replacement file for a missing file", Path("pics/OLD.PNG"), moved},
        {"replacement file for an invalid picture", Path("pics/bad.png"), moved},
        {"replacement folder for a missing folder", Path("lost/Sky.png"), moved},
        {"web folder for a missing file", Path("pics/gone.png"), web},
        {"web folder for a missing folder", Path("nowhere/gone.png"), web},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.modified = 0;
        fake.shown.clear();
        CFillStyle style;
        style.SetImageFile(c.stored);
        EXPECT_TRUE(style.LoadFillImage());
        EXPECT_NE(style.GetImage(), nullptr);
        EXPECT_FALSE(style.NeedsRender());
        EXPECT_EQ(style.GetImageFile(), c.found);
        EXPECT_EQ(fake.modified, 1);
        EXPECT_EQ(fake.shown, "");
    }
}

TEST_F(FillStyleTest, AskingTheUserForAnotherPictureOrAColour)
{
    const std::string good = SavePicture("new/sky.png");
    const std::string bad = SaveGarbage("bad.png");
    const CColor blue(0, 0, 200);
    const CColor own(10, 20, 30);
    struct Case
    {
        const char* name;
        std::vector<FillDialogAnswer> answers;
        std::vector<std::string> picks;
        std::string shown;
        int kind;
        unsigned long color;
    };
    const Case cases[] = {
        {"retry until a picture loads",
         {{DialogAnswer::ok, true, own}, {DialogAnswer::ok, true, own}},
         {bad, good},
         "MI",
         1,
         0},
        {"solid colour", {{DialogAnswer::ok, false, blue}}, {}, "M", 0, blue.GetCOLORREF()},
        {"cancel takes the dialog's colour", {{DialogAnswer::cancel, true, blue}}, {}, "M", 0, blue.GetCOLORREF()},
        {"no file picked", {{DialogAnswer::ok, true, blue}}, {}, "M", 0, blue.GetCOLORREF()},
        {"empty file name picked", {{DialogAnswer::ok, true, own}}, {""}, "M", 0, own.GetCOLORREF()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.answers.assign(c.answers.begin(), c.answers.end());
        fake.picks.assign(c.picks.begin(), c.picks.end());
        fake.map = CFileNameMap();
        fake.shown.clear();
        fake.shownPaths.clear();
        fake.chooserStarts.clear();
        CFillStyle style;
        style.SetColor(own);
        style.SetImageFile(Path("pics/sky.png"));

        EXPECT_TRUE(style.LoadFillImage());
        EXPECT_EQ(fake.shown, c.shown);
        EXPECT_EQ(style.GetKind(), c.kind);
        EXPECT_FALSE(style.NeedsRender());
        if (c.kind == CFillStyle::FILL_COLOR) {
            EXPECT_EQ(style.GetColor().GetCOLORREF(), c.color);
            EXPECT_EQ(style.GetImage(), nullptr);
        } else {
            EXPECT_EQ(style.GetImageFile(), good);
            EXPECT_NE(style.GetImage(), nullptr);
            // The dialog names the picture it asks about; the chooser starts in the background folder.
            EXPECT_EQ(fake.shownPaths, (std::vector<std::string>{Path("pics/sky.png"), bad}));
            EXPECT_EQ(fake.chooserStarts, (std::vector<std::string>{Path("backgrounds/"), Path("backgrounds/")}));
            EXPECT_EQ(fake.settings.m_imagePath, Path("new/"));
        }
        EXPECT_TRUE(fake.answers.empty());
        EXPECT_TRUE(fake.picks.empty());
    }
}

TEST_F(FillStyleTest, ThePickedPictureTeachesTheSiteMap)
{
    SaveGarbage("pics/bad.png");
    const std::string other = SavePicture("other/x.png");
    const std::string renamed = SavePicture("other/y.png");
    struct Case
    {
        const char* name;
        std::string stored; // fails with the first error
        std::string picked;
        bool file;   // the old path maps to the picked one
        bool folder; // the old folder maps to the picked one's
    };
    const Case cases[] = {
        {"missing file, same name elsewhere", Path("pics/X.png"), other, true, true},
        {"missing file, other name", Path("pics/x.png"), renamed, true, false},
        {"missing folder, same name elsewhere", Path("lost/x.png"), other, false, true},
        {"missing folder, other name", Path("lost/x.png"), renamed, false, false},
        {"invalid picture", Path("pics/bad.png"), other, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.map = CFileNameMap();
        fake.answers = {{DialogAnswer::ok, true, CColor(0, 0, 0)}};
        fake.picks = {c.picked};
        CFillStyle style;
        style.SetImageFile(c.stored);
        ASSERT_TRUE(style.LoadFillImage());
        ASSERT_NE(style.GetImage(), nullptr);

        std::string out;
        EXPECT_EQ(fake.map.FindReplacementFile(c.stored, out), c.file);
        if (c.file) {
            EXPECT_EQ(out, c.picked);
        }
        EXPECT_EQ(fake.map.LookupFolder(std::filesystem::path(c.stored).parent_path().string() + "/", out), c.folder);
        if (c.folder) {
            EXPECT_EQ(out, Path("other/"));
        }
    }
}

TEST_F(FillStyleTest, ARepaintWhileAskingPaintsTheColourInsteadOfAskingAgain)
{
    CFillStyle style;
    style.SetImageFile(Path("pics/none.png"));
    bool nested = true;
    fake.whileAsking = [&] { nested = style.LoadFillImage(); };
    fake.answers = {{DialogAnswer::ok, false, CColor(1, 2, 3)}};
    EXPECT_TRUE(style.LoadFillImage());
    EXPECT_FALSE(nested);
    EXPECT_EQ(fake.shown, "M");
    EXPECT_EQ(style.GetColor().GetCOLORREF(), RGB(1, 2, 3));
}

TEST_F(FillStyleTest, HeadlessAMissingPictureFallsBackToTheColour)
{
    installed.PutBack();
    CFillStyle style;
    style.SetColor(CColor(5, 6, 7));
    style.SetImageFile(Path("pics/none.png"));
    EXPECT_TRUE(style.LoadFillImage());
    EXPECT_EQ(style.GetKind(), CFillStyle::FILL_COLOR);
    EXPECT_EQ(style.GetColor().GetCOLORREF(), RGB(5, 6, 7));
}
