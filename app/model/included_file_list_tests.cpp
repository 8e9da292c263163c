#include "app/model/included_file_list.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/model/fill_test_support.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

struct ReferenceCase
{
    const char* what;
    std::string text;
    Names names;
};

TEST(IncludedFileList, FindsReferencesInTheText)
{
    const ReferenceCase cases[] = {
        {"quoted picture in a sub-folder", R"(<img src="images/logo.gif" width=3>)", {"images/logo.gif"}},
        {"name between spaces", "see banner.png here", {"banner.png"}},
        {"link to a page", R"(<a href="page.html">)", {"page.htm", "page.html"}},
        {"longer extension holds a shorter one", R"(<img src="scan.tiff">)", {"scan.tiff", "scan.tif"}},
        {"by extension, not by place", R"(<link href="s.css"><img src="a.gif">)", {"a.gif", "s.css"}},
        {"quoted name with spaces", R"(src="my pics/a b.jpg")", {"my pics/a b.jpg"}},
        {"unquoted attribute", "<embed src=clip.swf width=3>", {"clip.swf"}},
        {"single quotes", "src='app.js'", {"app.js"}},
        {"style sheet url", "background: url(bg.png) no-repeat", {"bg.png"}},
        {"at the start of a line", "first line\nnext.mp3 and", {"next.mp3"}},
        {"text begins with it", "top.wav", {"top.wav"}},
        {"Windows-1252 name", "\"caf\xE9.bmp\"", {"caf\xE9.bmp"}},
        {"repeated reference", R"("a.php" "a.php")", {"a.php", "a.php"}},
        {"case counts", R"(<img src="LOGO.GIF"><img src="x.Png">)", {}},
        {"nothing", "", {}},
    };
    for (const ReferenceCase& c : cases)
        EXPECT_EQ(detail::FindReferences(c.text), c.names) << c.what;
}

void WriteFile(const fs::path& path, const std::string& bytes = "x")
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A folder of the test's own for the page and its companions, and a current folder apart from it, so that the
// search of the current folder sees only what a test puts there.
class IncludedFileListFolder : public ::testing::Test
{
protected:
    IncludedFileListFolder() : m_folder("included-files-"), m_oldCwd(fs::current_path())
    {
        fs::create_directories(Cwd());
        fs::current_path(Cwd());
    }
    ~IncludedFileListFolder() override { fs::current_path(m_oldCwd); }

    fs::path Site() const { return m_folder.Path() / "site"; }
    fs::path Cwd() const { return m_folder.Path() / "cwd"; }
    std::string Page() const { return (Site() / "holiday.html").string(); }

    TestFolder m_folder;
    fs::path m_oldCwd;
};

TEST_F(IncludedFileListFolder, CollectsTextReferencesAndCompanionFolders)
{
    WriteFile(Page(), "<html><img src=\"images\\logo.gif\"> <a href=\"other.html\">x</a> see banner.png here\r\n"
                      "<link rel=stylesheet href=\"holiday_files/style.css\"></html>");
    for (const char* name :
         {"holiday.jpg", "holiday.htm", "holiday.", "other.gif", "holiday/data.xml", "holiday_files/style.css",
          "holiday_files/pic.jpg", "holiday_files/README", "holiday_files/inner.html", "holiday_files/sub/deep.gif",
          "holiday files/clip.swf", "holiday files/frame.html", "holiday files/webfonts/f.eot",
          "holiday files/webfonts/fonts/a.ttf", "holiday files/webfonts/fonts/b.htm"})
        WriteFile(Site() / name);

    const CIncludedFileList list(Page());
    EXPECT_FALSE(list.CouldNotRead());
    const Names expected = {
        "other.htm",
        "other.html",
        "banner.png",
        "images/logo.gif",
        "holiday_files/style.css",
        "holiday.jpg",
        "holiday/data.xml",
        "holiday_files/pic.jpg",
        "holiday files/clip.swf",
        "holiday files/frame.html",
        "holiday files/webfonts/f.eot",
        "holiday files/webfonts/fonts/a.ttf",
    };
    EXPECT_EQ(list.GetNames(), expected);
}

TEST_F(IncludedFileListFolder, LooksForSiblingsInTheCurrentFolderFirst)
{
    WriteFile(Page(), "");
    WriteFile(Site() / "holiday.jpg");
    struct Case
    {
        std::vector<std::string> inCwd;
        Names names;
    };
    const Case cases[] = {
        {{}, {"holiday.jpg"}},
        {{"holidays.gif"}, {"holiday.jpg"}},
        {{"holiday.gif"}, {"holiday.gif"}},
        {{"holiday.html"}, {}},
        {{"holiday/"}, {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const fs::path cwd = Cwd() / std::to_string(n++);
        fs::create_directories(cwd);
        fs::current_path(cwd);
        for (const std::string& name : c.inCwd) {
            if (name.back() == '/')
                fs::create_directories(cwd / name);
            else
                WriteFile(cwd / name);
        }
        EXPECT_EQ(CIncludedFileList(Page()).GetNames(), c.names) << testing::PrintToString(c.inCwd);
    }
}

TEST_F(IncludedFileListFolder, PageWithoutFolderIsInTheCurrentOne)
{
    WriteFile(Cwd() / "holiday.html", R"(<img src="a.gif">)");
    WriteFile(Cwd() / "holiday_files" / "b.png");
    EXPECT_EQ(CIncludedFileList("holiday.html").GetNames(), (Names{"a.gif", "holiday_files/b.png"}));

    // A page with no title has no companions; its own folder is not one.
    WriteFile(Cwd() / ".html", R"(<img src="c.gif">)");
    WriteFile(Cwd() / "d.png");
    EXPECT_EQ(CIncludedFileList((Cwd() / ".html").string()).GetNames(), Names{"c.gif"});
}

TEST_F(IncludedFileListFolder, UnreadablePageGivesNoNamesAndNoError)
{
    const fs::path big = Site() / "big.html";
    WriteFile(big, "<img src=\"a.gif\">");
    fs::resize_file(big, CIncludedFileList::kLargestPage + 1);
    const fs::path fifo = Site() / "fifo.html";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    fs::create_directories(Site() / "folder.html");

    for (const fs::path& path : {Site() / "missing.html", big, fifo, Site() / "folder.html", fs::path()}) {
        const CIncludedFileList list(path.string());
        EXPECT_TRUE(list.GetNames().empty()) << path;
        EXPECT_TRUE(list.CouldNotRead()) << path;
    }

    // The largest page that is read at all is still scanned.
    fs::resize_file(big, CIncludedFileList::kLargestPage);
    EXPECT_EQ(CIncludedFileList(big.string()).GetNames(), Names{"a.gif"});
}

TEST_F(IncludedFileListFolder, AddNameKeepsOneOfEachExactName)
{
    WriteFile(Page(), R"("a.gif" "a.gif")");
    CIncludedFileList list(Page());
    ASSERT_EQ(list.GetNames(), (Names{"a.gif", "a.gif"}));

    for (const char* name : {"a.gif", "A.gif", "b/c.css", "b\\c.css", "A.gif"})
        list.AddName(name);
    EXPECT_EQ(list.GetNames(), (Names{"a.gif", "a.gif", "A.gif", "b/c.css", "b\\c.css"}));
    EXPECT_EQ(list.FindName("a.gif"), 0);
    EXPECT_EQ(list.FindName("A.gif"), 2);
    EXPECT_EQ(list.FindName("b\\c.css"), 4);
    EXPECT_EQ(list.FindName("a.GIF"), -1);

    list.Clear();
    EXPECT_TRUE(list.GetNames().empty());
    EXPECT_FALSE(list.CouldNotRead());
    list.AddName("a.gif");
    EXPECT_EQ(list.GetNames(), Names{"a.gif"}) << "a cleared list forgets its names";
}

} // namespace
