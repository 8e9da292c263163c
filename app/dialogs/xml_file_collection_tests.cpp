#include "app/dialogs/xml_file_collection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "app/dialogs/site_folder_model.h"
#include "app/model/file_pair.h"
#include "testing/scratch_folder.h"

namespace {

namespace fs = std::filesystem;

// A Flash program's folder: its XML names a picture in a sub-folder, its movie, a page the site reserves, a file
// that is missing and one outside the folder; the companion folder holds a second movie.
class XmlCollection : public ::testing::Test
{
protected:
    XmlCollection()
    {
        Write("app/movie.xml", "<gallery><image src=\"images\\a.jpg\"/><movie file=\"clip.swf\"/>"
                               "<link href=\"index.html\"/><image src=\"missing.png\"/><image src=\"../evil.jpg\"/>"
                               "</gallery>");
        for (const char* name :
             {"app/images/a.jpg", "app/clip.swf", "app/index.html", "app/movie files/extra.swf", "evil.jpg"})
            Write(name, "x");
        model.Reset();
        model.GetRoot()->SetReservedNames({"index.html"});
    }

    void Write(const std::string& name, const std::string& bytes)
    {
        fs::create_directories(fs::path(folder / name).parent_path());
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }

    std::map<std::string, std::string> Placed() const
    {
        std::map<std::string, std::string> placed;
        for (const CFilePair& pair : pairs)
            placed[pair.m_strTarget] = pair.m_strSource.substr(folder.Path().size());
        return placed;
    }

    ScratchFolder folder;
    CSiteFolderModel model;
    std::vector<CFilePair> pairs;
    std::vector<std::string> sourceNames;
};

TEST_F(XmlCollection, PlacesTheProgramInItsLayoutOnce)
{
    Write("app/swfobject.js", "x");
    CollectedFiles set;
    CollectXmlFiles(folder / "app/movie.xml", sourceNames, set);
    ASSERT_EQ(set.locals.size(), set.remotes.size());
    // index.html is collected but the root refuses it: it is neither counted, listed nor paired.
    EXPECT_EQ(PlaceCollectedFiles(set, model, pairs, sourceNames), 5);
    const std::map<std::string, std::string> expected = {
        {"/movie.xml", "app/movie.xml"},       {"/images/a.jpg", "app/images/a.jpg"},
        {"/clip.swf", "app/clip.swf"},         {"/movie files/extra.swf", "app/movie files/extra.swf"},
        {"/swfobject.js", "app/swfobject.js"},
    };
    EXPECT_EQ(Placed(), expected);
    EXPECT_EQ(sourceNames.size(), 5u);
    EXPECT_EQ(model.FindFileByRemotePath("/images/a.jpg")->GetLocalPath(), folder / "app/images/a.jpg");
    EXPECT_EQ(model.FindFileByRemotePath("/index.html"), nullptr);

    // The same XML file again finds every remote path taken.
    CollectedFiles again;
    CollectXmlFiles(folder / "app/movie.xml", sourceNames, again);
    EXPECT_EQ(PlaceCollectedFiles(again, model, pairs, sourceNames), 0);
    EXPECT_EQ(pairs.size(), 5u);
}

TEST_F(XmlCollection, WizardPutsTheCompanionFolderInTheRoot)
{
    CollectedFiles set;
    CollectXmlFiles(folder / "app/movie.xml", {folder / "app/clip.swf"}, set, CompanionPlacement::inRoot);
    PlaceCollectedFiles(set, model, pairs, sourceNames);
    const std::map<std::string, std::string> expected = {{"/movie.xml", "app/movie.xml"},
                                                         {"/images/a.jpg", "app/images/a.jpg"},
                                                         {"/extra.swf", "app/movie files/extra.swf"}};
    EXPECT_EQ(Placed(), expected);
}

// A gallery of 2 x 10^4 pictures in one folder: each is placed and paired once, a second time none, and the site's
// own files already listed stay out (a folder that compared each name with every other took seconds here).
TEST_F(XmlCollection, AGalleryOfManyPicturesIsPlacedOnceEach)
{
    constexpr int n = 20000;
    std::string xml = "<gallery>";
    for (int i = 0; i < n; ++i) {
        const std::string name = "big/images/IMG_" + std::to_string(i) + ".jpg";
        Write(name, "x");
        xml += "<image src=\"images/IMG_" + std::to_string(i) + ".jpg\"/>";
    }
    Write("big/gallery.xml", xml + "</gallery>");
    sourceNames = {folder / "big/images/IMG_7.jpg"};
    CollectedFiles set;
    CollectXmlFiles(folder / "big/gallery.xml", sourceNames, set);
    EXPECT_EQ(PlaceCollectedFiles(set, model, pairs, sourceNames), n);
    EXPECT_EQ(model.FindFileByRemotePath("/images/IMG_7.jpg"), nullptr);
    EXPECT_EQ(model.FindFileByRemotePath("/images/img_19999.JPG")->GetLocalPath(),
              folder / "big/images/IMG_19999.jpg");
    EXPECT_EQ(model.GetRoot()->FindSubfolder("images")->GetFiles().size(), static_cast<size_t>(n - 1));
    CollectedFiles again;
    CollectXmlFiles(folder / "big/gallery.xml", sourceNames, again);
    EXPECT_EQ(PlaceCollectedFiles(again, model, pairs, sourceNames), 0);
    EXPECT_EQ(pairs.size(), static_cast<size_t>(n));
}

TEST_F(XmlCollection, ExampleScriptsComeOnceAndAnUnreadableFileBringsNothing)
{
    Write("app/database_management_example.php", "x");
    Write("app/database_management_example.asp", "x");
    CollectedFiles set;
    CollectXmlFiles(folder / "app/movie.xml", sourceNames, set);
    CollectXmlFiles(folder / "app/gone.xml", sourceNames, set);
    CollectXmlFiles(folder / "app/movie.xml", sourceNames, set);
    const auto count = [&](const std::string& remote) {
        return std::count(set.remotes.begin(), set.remotes.end(), remote);
    };
    EXPECT_EQ(count("/database_management_example.php"), 1);
    EXPECT_EQ(count("/database_management_example.asp"), 1);
    EXPECT_EQ(count("/gone.xml"), 0);
    EXPECT_EQ(PlaceCollectedFiles(set, model, pairs, sourceNames), 6);
}

} // namespace
