#include "platform/resources/string_table.h"

#include "platform/resources/resource_folder.h"
#include "testing/scratch_folder.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

TEST(StringTable, ReadsTextsAsWindows1252)
{
    ScratchFolder folder;
    WriteFile(folder / "strings.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                      "<strings><string id=\"6\">White to black</string>"
                                      "<string id=\"8\">Bl\xC3\xA5 kant</string><string id=\"9\"/></strings>");
    CStringTable table;
    std::string error;
    ASSERT_TRUE(table.Load(folder / "strings.xml", &error)) << error;
    std::string text;
    ASSERT_TRUE(table.Find(6, text));
    EXPECT_EQ(text, "White to black");
    ASSERT_TRUE(table.Find(8, text));
    EXPECT_EQ(text, "Bl\xE5 kant");
    ASSERT_TRUE(table.Find(9, text));
    EXPECT_EQ(text, "");
    text = "kept";
    EXPECT_FALSE(table.Find(7, text));
    EXPECT_EQ(text, "kept");
}

// The names the build gives ids stand in the same file; the table reads past them.
TEST(StringTable, ReadsPastTheNamesOfIds)
{
    ScratchFolder folder;
    WriteFile(folder / "strings.xml", "<strings><string id=\"3051\" name=\"IDS_ONE_SITE_OPEN\">One site</string>"
                                      "<string id=\"3052\">Unnamed</string></strings>");
    CStringTable table;
    std::string error;
    ASSERT_TRUE(table.Load(folder / "strings.xml", &error)) << error;
    std::string text;
    ASSERT_TRUE(table.Find(3051, text));
    EXPECT_EQ(text, "One site");
    ASSERT_TRUE(table.Find(3052, text));
    EXPECT_EQ(text, "Unnamed");
}

TEST(StringTable, RefusesBadFilesAndEmptiesTheTable)
{
    struct Case
    {
        const char* name;
        const char* content; // null: no file at all
        const char* reason;
    };
    const Case cases[] = {
        {"missing file", nullptr, "strings.xml"},
        {"not XML", "<strings><string id=\"1\">open", "strings.xml"},
        {"wrong root", "<texts/>", "no <strings>"},
        {"id not a number", "<strings><string id=\"six\">x</string></strings>", "not a number"},
        {"id with a tail", "<strings><string id=\"6a\">x</string></strings>", "not a number"},
        {"negative id", "<strings><string id=\"-6\">x</string></strings>", "not a number"},
        {"no id", "<strings><string>x</string></strings>", "not a number"},
        {"id twice", "<strings><string id=\"6\">a</string><string id=\"6\">b</string></strings>", "twice"},
        {"outside the code page", "<strings><string id=\"6\">\xE2\x82\xAC \xE4\xB8\xAD</string></strings>",
         "Windows-1252"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder folder;
        WriteFile(folder / "good.xml", "<strings><string id=\"1\">one</string></strings>");
        if (c.content)
            WriteFile(folder / "strings.xml", c.content);
        CStringTable table;
        ASSERT_TRUE(table.Load(folder / "good.xml"));
        std::string error;
        EXPECT_FALSE(table.Load(folder / "strings.xml", &error));
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_TRUE(table.IsEmpty());
    }
}

TEST(StringTable, ProgramTableFollowsTheResourceFolder)
{
    ScratchFolder first, second;
    WriteFile(first / "strings.xml", "<strings><string id=\"10\">Custom</string></strings>");
    WriteFile(second / "strings.xml", "<strings><string id=\"10\">Brugerdefineret</string></strings>");
    std::string text;
    SetResourceFolder(first.Path());
    EXPECT_TRUE(LoadResourceString(10, text));
    EXPECT_EQ(text, "Custom");
    SetResourceFolder(second.Path());
    EXPECT_TRUE(LoadResourceString(10, text));
    EXPECT_EQ(text, "Brugerdefineret");
    EXPECT_FALSE(LoadResourceString(11, text));
    SetResourceFolder({});
}

TEST(ResourceFolder, LiesBesideTheExecutableUnlessChosen)
{
    SetResourceFolder({});
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe");
    EXPECT_EQ(GetResourceFolder(), exe.parent_path() / "resources");
    SetResourceFolder("/some/where");
    EXPECT_EQ(GetBitmapResourcePath(6089), std::filesystem::path("/some/where/bitmaps/6089.png"));
    SetResourceFolder({});
}

} // namespace
