#include "app/docview/site_file_prompt.h"

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "testing/scratch_folder.h"

namespace {

TEST(SiteFilePrompt, SavedNamesGetTheExtensionOfTheirKind)
{
    struct Case
    {
        const char* path;
        bool theme;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/ann/mysite.kst", true, "/home/ann/mysite.kth"},     {"/home/ann/name.KST", false, "/home/ann/name.KST"},
        {"/home/ann/name.Kth", true, "/home/ann/name.Kth"},         {"/home/ann/shop", false, "/home/ann/shop.kst"},
        {"/home/ann/my.shop.html", false, "/home/ann/my.shop.kst"}, {"/home/ann.d/shop", true, "/home/ann.d/shop.kth"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FixSiteFileExtension(c.path, c.theme), c.expected) << c.path;
}

TEST(SiteFilePrompt, StartsInTheFolderWithTheNameWithoutExtension)
{
    const SiteFilePrompt save = MakeSiteFilePrompt("/home/ann/Sites/bakery.kst", false, true);
    EXPECT_EQ(save.title, "Save As");
    EXPECT_EQ(save.filter, "Pelorin Theme (*.kth)|*.kth");
    EXPECT_EQ(save.folder, "/home/ann/Sites/");
    EXPECT_EQ(save.name, "bakery");
    const SiteFilePrompt open = MakeSiteFilePrompt("/home/ann/Sites/", true, false);
    EXPECT_EQ(open.title, "Open");
    EXPECT_EQ(open.filter, "Pelorin Homepage (*.kst)|*.kst");
    EXPECT_EQ(open.folder, "/home/ann/Sites/");
    EXPECT_EQ(open.name, "");
}

// The save dialog answers from a list of typed names (empty for Cancel); the question about replacing a file is
// asked about the file that will be written, after its extension was mended, and "No" shows the dialog again.
TEST(SiteFilePrompt, ReplacingIsAskedAboutTheFileActuallyWritten)
{
    ScratchFolder folder;
    for (const char* name : {"mysite.kth", "shop.kst"})
        std::ofstream(folder / name) << "old";
    struct Case
    {
        const char* what;
        bool theme;
        std::vector<std::string> typed;
        std::vector<bool> answers; // to the replace questions, in turn
        bool chosen;
        std::string path;
        std::vector<std::string> asked;
        std::vector<std::string> startedAt; // where each dialog started
    };
    const std::string f = folder / "";
    const Case cases[] = {
        // The typed name does not exist, but the theme written under it does: that is what is asked about.
        {"mended name exists", true, {f + "mysite.kst"}, {true}, true, f + "mysite.kth", {f + "mysite.kth"}, {f}},
        {"no file there", false, {f + "mysite"}, {}, true, f + "mysite.kst", {}, {f}},
        {"typed with another case", false, {f + "SHOP.kst"}, {}, true, f + "SHOP.kst", {}, {f}},
        {"no, then another name",
         true,
         {f + "mysite.kst", f + "other"},
         {false},
         true,
         f + "other.kth",
         {f + "mysite.kth"},
         {f, f + "mysite.kth"}},
        {"no, then cancel", false, {f + "shop", ""}, {false}, false, f, {f + "shop.kst"}, {f, f + "shop.kst"}},
        {"cancel", false, {""}, {}, false, f, {}, {f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        size_t shown = 0, answered = 0;
        std::vector<std::string> asked, startedAt;
        std::string path = f;
        const bool chosen = ChooseSiteFileToSave(
            path, c.theme,
            [&](std::string& at) {
                startedAt.push_back(at);
                at = shown < c.typed.size() ? c.typed[shown++] : std::string();
                return !at.empty();
            },
            [&](const std::string& file) {
                asked.push_back(file);
                return answered < c.answers.size() && c.answers[answered++];
            });
        EXPECT_EQ(chosen, c.chosen);
        if (c.chosen) {
            EXPECT_EQ(path, c.path);
        }
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(startedAt, c.startedAt);
    }
    EXPECT_EQ(ReplaceFileQuestion(f + "caf\xc3\xa9.kth"),
              "A file named \"caf\xe9.kth\" already exists. Do you want to replace it?");
}

} // namespace
