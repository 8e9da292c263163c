#include "app/dialogs/flash_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/dialogs/site_folder_model.h"
#include "app/dialogs/xml_file_collection.h"
#include "app/model/file_pair.h"
#include "testing/scratch_folder.h"

namespace {

TEST(FlashPage, CutsTheCodeAndReadsItsSize)
{
    struct Case
    {
        const char* what;
        std::string page;
        bool ok;
        std::string code;
        bool marker;
        int width, height;
    };
    const Case cases[] = {
        {"object tag", "<html><body><object width=\"640\" height=\"480\"><embed src=\"m.swf\"></object></body></html>",
         true, "<object width=\"640\" height=\"480\"><embed src=\"m.swf\"></object>", false, 640, 480},
        {"script naming its movie", "<p><script>go(\"m.swf\", \"w\",550,   400)</script>\n", true,
         "<script>go(\"m.swf\", \"w\",550,   400)</script>", false, 550, 400},
        {"script naming its list", "<script>go(\"a.xml\",  99,    77)</script>", true,
         "<script>go(\"a.xml\",  99,    77)</script>", false, 99, 77},
        {"marker block", "head BEGIN123<link href=\"a.css\">12345TALL tail", true, "<link href=\"a.css\">", true, 1, 1},
        // The fixed distances run past the end of a short text: the size stays 1 by 1.
        {"short script", "<script>x.swf</script>", true, "<script>x.swf</script>", false, 1, 1},
        {"no size", "<object></object> width", true, "<object></object>", false, 1, 1},
        {"plain page", "<html><body>hello</body></html>", false, "", false, 1, 1},
        {"marker without its end", "BEGIN123<link>", false, "", true, 1, 1},
        {"marker cut short", "BEGIN12", false, "", true, 1, 1},
        {"empty", "", false, "", false, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FlashCode code;
        EXPECT_EQ(CutFlashCode(c.page, code), c.ok);
        if (!c.ok)
            continue;
        EXPECT_EQ(code.text, c.code);
        EXPECT_EQ(code.marker, c.marker);
        EXPECT_EQ(code.width, c.width);
        EXPECT_EQ(code.height, c.height);
    }
}

TEST(FlashPage, FindsThePageBesideTheXmlOrInItsFilesFolder)
{
    EXPECT_EQ(FlashPageCandidates("/a/b/movie.xml"),
              (std::vector<std::string>{"/a/b/movie.html", "/a/b/movie files/movie.html"}));
    ScratchFolder folder;
    FlashCode code;
    EXPECT_EQ(LoadFlashPage(folder / "movie.xml", code), FlashPageResult::noPage);
    EXPECT_STREQ(FlashPageError(FlashPageResult::noPage),
                 "Error: HTML File not present in the directory or wrong XML File");
    std::filesystem::create_directories(folder / "movie files");
    std::ofstream(folder / "movie files/movie.html") << "<object width=\"320\" height=\"200\"></object>";
    EXPECT_EQ(LoadFlashPage(folder / "movie.xml", code), FlashPageResult::ok);
    EXPECT_EQ(code.width, 320);
    std::ofstream(folder / "movie.html") << "<html>no program here</html>";
    EXPECT_EQ(LoadFlashPage(folder / "movie.xml", code), FlashPageResult::notFlashApplication);
    EXPECT_STREQ(FlashPageError(FlashPageResult::notFlashApplication),
                 "Error: The XML File loaded isnt a Tallowmere Flash Application");
}

TEST(FlashPage, TheObjectUsesOnlyTheFilesTheSiteHolds)
{
    CSiteFolderModel model;
    model.Reset();
    model.GetRoot()->SetReservedNames({"index.html"});
    model.AddFile("/other/clip.swf", "/clip.swf", 7);
    const CollectedFiles set = {{"/app/movie.xml", "/app/clip.swf", "/app/index.html", "/app/a.jpg", "/app/movie.xml"},
                                {"/movie.xml", "/clip.swf", "/index.html", "/pics/a.jpg", "/movie.xml"}};
    std::vector<CFilePair> pairs;
    std::vector<std::string> sourceNames;
    EXPECT_EQ(PlaceCollectedFiles(set, model, pairs, sourceNames), 2);
    EXPECT_EQ(UsedFlashFiles(set, model), (std::vector<std::string>{"/app/movie.xml", "/app/a.jpg"}));
    // Placed again: nothing new, the same files used.
    EXPECT_EQ(PlaceCollectedFiles(set, model, pairs, sourceNames), 0);
    EXPECT_EQ(UsedFlashFiles(set, model), (std::vector<std::string>{"/app/movie.xml", "/app/a.jpg"}));
}

} // namespace
