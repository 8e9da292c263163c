#pragma once

// What the page background's tests share: a stand-in for the program and a fixture that installs it beside a
// folder for picture files.

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/model/app_settings.h"
#include "app/model/file_name_map.h"
#include "app/model/fill_style.h"
#include "app/model/fill_test_support.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "platform/io/io.h"

// Not in an anonymous namespace: the fixture is shared by the background's test files, and a test suite must
// have one fixture class.
namespace fill_style_testing {

struct FillDialogAnswer
{
    DialogAnswer result;
    bool tryAgain; // after OK: pick another picture
    CColor color;  // the colour the user leaves in the dialog
};

// Stands in for the program: a site with its map and settings, and a user who answers from a script. Dialogs
// shown are recorded as 'M' (missing), 'I' (invalid) and 'N' (no memory).
class FakeServices : public NullCoreServices, public NullCurrentState, public NullModelDialogs
{
public:
    CWebsite* GetCurrentSite() override { return sitePath.empty() ? nullptr : reinterpret_cast<CWebsite*>(this); }
    std::string GetCurrentSitePath() override { return sitePath; }
    CAppSettings* GetAppSettings() override { return &settings; }
    CFileNameMap* GetSiteFileNameMap() override { return &map; }
    void SetSiteModified() override { ++modified; }
    int GetSiteMinorVersion() override { return minor; }
    DialogAnswer ShowFillMissingDialog(FillPictureDialog& dialog) override { return Ask('M', dialog); }
    DialogAnswer ShowFillInvalidDialog(FillPictureDialog& dialog) override { return Ask('I', dialog); }
    void ShowNoMemoryForFillDialog() override { shown += 'N'; }
    bool GetPictureFileName(std::string& path) override
    {
        chooserStarts.push_back(path);
        if (picks.empty())
            return false;
        path = picks.front();
        picks.pop_front();
        return true;
    }

    DialogAnswer Ask(char kind, FillPictureDialog& dialog)
    {
        shown += kind;
        if (whileAsking)
            whileAsking();
        shownPaths.push_back(dialog.m_strPath);
        if (answers.empty())
            return DialogAnswer::cancel;
        const FillDialogAnswer a = answers.front();
        answers.pop_front();
        dialog.m_tryAgain = a.tryAgain;
        dialog.m_color = a.color;
        return a.result;
    }

    std::string sitePath;
    CAppSettings settings;
    CFileNameMap map;
    int minor = 15;
    int modified = 0;
    std::deque<FillDialogAnswer> answers;
    std::deque<std::string> picks;
    std::string shown;
    std::vector<std::string> shownPaths;
    std::vector<std::string> chooserStarts;
    // Runs while a dialog is up, as a repaint of the view would.
    std::function<void()> whileAsking;
};

class FillStyleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(folder / "pics");
        fake.settings.m_backgroundImagePath = Path("backgrounds/");
    }
    void TearDown() override { SetOpeningSitePath(""); }

    std::string Path(const std::string& relative) const { return (folder / relative).string(); }

    // Writes a picture file and returns its path.
    std::string SavePicture(const std::string& relative, int w = 4, int h = 3)
    {
        const std::filesystem::path path = folder / relative;
        std::filesystem::create_directories(path.parent_path());
        EXPECT_TRUE(CIO::SavePNG(path.string(), *Picture(w, h)));
        return path.string();
    }

    std::string SaveGarbage(const std::string& relative)
    {
        const std::filesystem::path path = folder / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "not a picture";
        return path.string();
    }

    FakeServices fake;
    SeamsInstalled<FakeServices> installed{fake};
    TestFolder scratch{"pelorin-background-"};
    const std::filesystem::path folder = scratch.Path();
};

} // namespace fill_style_testing

using fill_style_testing::FillDialogAnswer;
using fill_style_testing::FillStyleTest;
