#include "app/palettes/fill_page_logic.h"

#include "app/model/app_settings.h"
#include "app/model/fill_info.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/palettes/palette_edit.h"
#include "app/palettes/palette_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

#include <gtest/gtest.h>

namespace {

class FillServices : public PaletteServicesFake
{
public:
    CAppSettings* GetAppSettings() override { return &settings; }
    bool GetToolsBarColor(CColor& color) override
    {
        color = toolsBar;
        return true;
    }
    void BeginWaitCursor() override { ++waitBegins; }
    void EndWaitCursor() override { ++waitEnds; }
    bool GetPictureFileName(std::string& path) override
    {
        dialogStarts.push_back(path);
        if (answers.empty())
            return false;
        path = answers.front();
        answers.erase(answers.begin());
        return true;
    }
    DialogAnswer ShowNotice(int id) override
    {
        notices.push_back(id);
        return DialogAnswer::ok;
    }

    CAppSettings settings;
    CColor toolsBar = CColor(0, 128, 0);
    int waitBegins = 0;
    int waitEnds = 0;
    std::vector<std::string> dialogStarts;
    // The files the user picks, one per dialog; none left means Cancel.
    std::vector<std::string> answers;
    std::vector<int> notices;
};

// A loader that knows a few paths: "bad" ones fail as invalid, "huge" ones as short of memory.
struct FakeLoader
{
    std::unique_ptr<CImage> operator()(const std::string& path, IOError& error)
    {
        loaded->push_back(path);
        if (path.find("bad") != std::string::npos) {
            error = IO_INVALID_FILE;
            return nullptr;
        }
        if (path.find("huge") != std::string::npos) {
            error = IO_NO_MEMORY;
            return nullptr;
        }
        return std::make_unique<CImage>(IMAGE_MODE_RGB, 4, 4);
    }
    std::vector<std::string>* loaded;
};

class FillPageTest : public PalettePageTest<FillServices>
{
protected:
    FillPageTest() { services.settings.m_imagePath = "/pictures/"; }

    CPageObject* SelectRectangle()
    {
        return Select(std::make_unique<CRectangleObject>(100.0, 100.0, SIZE{80, 40}, 0.0));
    }
    CTextObject* SelectText(bool advanced)
    {
        auto text = std::make_unique<CTextObject>(100.0, 100.0, SIZE{80, 40}, 0.0);
        text->GetTextBody()->m_allowAdvanced = advanced ? 1 : 0;
        return static_cast<CTextObject*>(Select(std::move(text)));
    }
    CFillInfo& Fill() { return *services.object->GetFill(); }
    FillPictureLoader Loader() { return FakeLoader{&loaded}; }

    std::vector<std::string> loaded;
};

TEST_F(FillPageTest, ControlsOnlyOfferWhatTheObjectCanTake)
{
    // Nothing selected: all off, nothing checked.
    FillPageState state = ReadFillPage();
    EXPECT_FALSE(state.solid || state.picture || state.gradient || state.noFill || state.colorWell);
    EXPECT_EQ(state.checked, kFillRadioNone);

    // A rectangle never offers no fill.
    SelectRectangle();
    Fill().SetImageFile("/pictures/sub/stone.jpg");
    Fill().SetColor(CColor(10, 20, 30));
    state = ReadFillPage();
    EXPECT_TRUE(state.solid && state.picture && state.gradient && state.colorWell && state.gradientBand);
    EXPECT_FALSE(state.noFill);
    EXPECT_EQ(state.checked, kFillRadioSolid);
    EXPECT_EQ(state.fileName, "stone.jpg") << "the box shows the remembered file without its folder";
    EXPECT_EQ(state.color, CColor(10, 20, 30));

    // A picture owned by the fill checks no radio; an animated one is shown only.
    Fill().SetPicture(std::make_unique<CImage>(IMAGE_MODE_RGB, 2, 2));
    EXPECT_EQ(ReadFillPage().checked, kFillRadioNone);
    Fill().SetAnimated(true);
    state = ReadFillPage();
    EXPECT_FALSE(state.solid || state.picture || state.colorWell || state.angleWheel);
    EXPECT_TRUE(state.hasFill);

    // A plain text: solid colour or no fill only; an advanced one adds picture and gradient.
    SelectText(false);
    state = ReadFillPage();
    EXPECT_TRUE(state.solid && state.noFill && state.colorWell);
    EXPECT_FALSE(state.picture || state.gradient || state.gradientBand || state.angleWheel);
    EXPECT_EQ(state.checked, kFillRadioNoFill);
    SelectText(true);
    state = ReadFillPage();
    EXPECT_TRUE(state.picture && state.gradient && state.noFill);

    // Editing a text in place disables everything but still shows the values.
    page.SetEditingInPlace(true);
    state = ReadFillPage();
    EXPECT_FALSE(state.solid || state.noFill || state.colorWell);
    EXPECT_EQ(state.checked, kFillRadioNoFill);
}

TEST_F(FillPageTest, ColourGradientAndAngleChooseTheKindAsOneFillStep)
{
    SelectRectangle();
    Fill().SetColor(CColor(255, 0, 0));
    CGradientInfo gradient = Fill().GetGradient();
    gradient.angle = 45;
    Fill().SetGradient(gradient);
    Fill().SetColor(CColor(255, 0, 0));
    GRADIENTCOLORS band = Fill().GetGradient();
    band.start = CColor(0, 0, 255);

    // The gradient radio keeps the angle the record had.
    EXPECT_TRUE(FillOnGradient(true, band));
    EXPECT_EQ(Fill().GetKind(), CFillInfo::FILL_GRADIENT);
    EXPECT_EQ(Fill().GetGradient().angle, 45);
    EXPECT_EQ(Fill().GetGradient().start, CColor(0, 0, 255));
    EXPECT_EQ(undo->recorded, std::vector<int>{static_cast<int>(kUndoFill)});
    // Clicking it again changes nothing; an unchecked radio does not even give the keyboard back.
    EXPECT_TRUE(FillOnGradient(true, band));
    EXPECT_FALSE(FillOnGradient(false, band));
    EXPECT_EQ(Steps(), 1u);
    // A gradient chosen in the band records a step although nothing changed.
    FillOnGradientChanged(band);
    EXPECT_EQ(Steps(), 2u);

    // The colour the solid fill has already: no step; the same colour while a gradient: solid.
    EXPECT_TRUE(FillOnColorChanged(CColor(255, 0, 0)));
    EXPECT_EQ(Fill().GetKind(), CFillInfo::FILL_COLOR);
    EXPECT_EQ(Steps(), 3u);
    FillOnColorChanged(CColor(255, 0, 0));
    EXPECT_EQ(Steps(), 3u);

    // Releasing the wheel on a solid fill makes a gradient at the wheel's angle.
    FillOnAngleChanged(band, 300);
    EXPECT_EQ(Fill().GetKind(), CFillInfo::FILL_GRADIENT);
    EXPECT_EQ(Fill().GetGradient().angle, 300);

    // The solid radio takes the well's colour; the tools bar's button takes the tools bar's.
    FillOnSolid(true, CColor(1, 2, 3));
    EXPECT_EQ(Fill().GetColor(), CColor(1, 2, 3));
    FillOnToolsBarColor();
    EXPECT_EQ(Fill().GetColor(), CColor(0, 128, 0));
    FillOnToolsBarColor();
    EXPECT_EQ(Steps(), 6u);
    for (int kind : undo->recorded)
        EXPECT_EQ(kind, static_cast<int>(kUndoFill));
}

TEST_F(FillPageTest, NoFillOnlyForTextAndOnlyWhenItIsNotAlreadyNone)
{
    SelectText(false);
    FillOnSolid(true, CColor(9, 9, 9));
    EXPECT_EQ(Fill().GetKind(), CFillInfo::FILL_COLOR);
    EXPECT_TRUE(FillOnNoFill(true));
    EXPECT_EQ(Fill().GetKind(), CFillInfo::FILL_NONE);
    FillOnNoFill(true);
    EXPECT_EQ(Steps(), 2u);
}

TEST_F(FillPageTest, PictureRadioLoadsTheRememberedFileOrAsksUntilOneLoads)
{
    SelectRectangle();
    // No file yet: the dialog starts in the last picture folder; a bad file is told and the next dialog starts in
    // its folder; a file short of memory gets the memory notice.
    services.answers = {"/a/bad.gif", "/a/huge.png", "/b/stone.jpg"};
    EXPECT_TRUE(FillOnPicture(true, Loader()));
    EXPECT_EQ(services.dialogStarts, (std::vector<std::string>{"/pictures/", "/a/", "/a/"}));
    EXPECT_EQ(services.notices, (std::vector<int>{311, 295}));
    EXPECT_EQ(Fill().GetKind(), CFillInfo::FILL_TEXTURE);
    EXPECT_EQ(Fill().GetImageFile(), "/b/stone.jpg");
    EXPECT_NE(Fill().GetImage(), nullptr) << "the loaded picture is kept, not loaded again";
    EXPECT_EQ(services.settings.m_imagePath, "/b/");
    EXPECT_EQ(Steps(), 1u);
    // One wait cursor per load.
    EXPECT_EQ(services.waitBegins, 3);
    EXPECT_EQ(services.waitEnds, 3);

    // Clicking the picture radio of a picture fill does nothing but give the keyboard back.
    EXPECT_TRUE(FillOnPicture(true, Loader()));
    EXPECT_EQ(loaded.size(), 3u);

    // Solid and back again reloads the same file without a dialog.
    FillOnSolid(true, CColor(0, 0, 0));
    services.dialogStarts.clear();
    FillOnPicture(true, Loader());
    EXPECT_TRUE(services.dialogStarts.empty());
    EXPECT_EQ(loaded.back(), "/b/stone.jpg");
    EXPECT_EQ(Fill().GetKind(), CFillInfo::FILL_TEXTURE);
    EXPECT_EQ(Steps(), 3u);
}

TEST_F(FillPageTest, CancelledOrFailedPicturesLeaveTheFillAsItWas)
{
    SelectRectangle();
    Fill().SetColor(CColor(7, 7, 7));
    // The remembered file has gone: told, then the user cancels the dialog in its folder.
    Fill().SetImageFile("/gone/bad.jpg");
    Fill().SetColor(CColor(7, 7, 7));
    EXPECT_TRUE(FillOnPicture(true, Loader()));
    EXPECT_EQ(services.notices, std::vector<int>{311});
    EXPECT_EQ(services.dialogStarts, std::vector<std::string>{"/gone/"});
    EXPECT_EQ(Fill().GetKind(), CFillInfo::FILL_COLOR);

    // Browse starts at the fill's file; a failure is told once, with no second dialog.
    services.dialogStarts.clear();
    services.answers = {"/x/huge.png", "/x/never-asked.png"};
    EXPECT_TRUE(FillOnBrowse(Loader()));
    EXPECT_EQ(services.dialogStarts, std::vector<std::string>{"/gone/bad.jpg"});
    EXPECT_EQ(services.notices, (std::vector<int>{311, 295}));
    EXPECT_EQ(Fill().GetKind(), CFillInfo::FILL_COLOR);
    EXPECT_EQ(Steps(), 0u);

    // Browse to a good file.
    services.answers = {"/y/leaf.png"};
    FillOnBrowse(Loader());
    EXPECT_EQ(Fill().GetKind(), CFillInfo::FILL_TEXTURE);
    EXPECT_EQ(Steps(), 1u);
}

TEST_F(FillPageTest, NestedLoadsShowOneWaitCursor)
{
    FillPictureLoader inner = Loader();
    int beginsSeenInside = -1;
    FillPictureLoader outer = [&](const std::string& path, IOError& error) {
        IOError innerError;
        LoadWithWaitCursor(path + ".inner", innerError, inner);
        beginsSeenInside = services.waitBegins - services.waitEnds;
        return inner(path, error);
    };
    IOError error;
    EXPECT_NE(LoadWithWaitCursor("/p/a.png", error, outer), nullptr);
    EXPECT_EQ(beginsSeenInside, 1) << "still waiting after the inner load";
    EXPECT_EQ(services.waitBegins, 1);
    EXPECT_EQ(services.waitEnds, 1);
}

} // namespace
