#include "app/model/file_name_map.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// The two maps behave alike; each case runs against both, and checks that the other map never sees the entry.
struct MapSide
{
    const char* name;
    std::function<void(CFileNameMap&, const std::string&, const std::string&)> set;
    std::function<bool(const CFileNameMap&, const std::string&, std::string&)> find;
    std::function<bool(const CFileNameMap&, const std::string&, std::string&)> findInOther;
};

const MapSide kSides[] = {
    {"file", [](CFileNameMap& m, const std::string& a, const std::string& b) { m.SetReplacementFile(a, b); },
     [](const CFileNameMap& m, const std::string& k, std::string& out) { return m.FindReplacementFile(k, out); },
     [](const CFileNameMap& m, const std::string& k, std::string& out) { return m.LookupFolder(k, out); }},
    {"folder", [](CFileNameMap& m, const std::string& a, const std::string& b) { m.SetReplacementFolder(a, b); },
     [](const CFileNameMap& m, const std::string& k, std::string& out) { return m.LookupFolder(k, out); },
     [](const CFileNameMap& m, const std::string& k, std::string& out) { return m.FindReplacementFile(k, out); }},
};

} // namespace

TEST(FileNameMap, KeysMatchWithoutRegardToCaseAndValuesKeepTheirCase)
{
    for (const MapSide& side : kSides) {
        SCOPED_TRACE(side.name);
        CFileNameMap map;
        side.set(map, "/Home/Pics/Sky.PNG", "/home/New/Sky.PNG");
        side.set(map, "/old/\xC9t\xE9.gif", "/New/\xC9t\xE9.gif");

        std::string out;
        EXPECT_TRUE(side.find(map, "/home/pics/sky.png", out));
        EXPECT_EQ(out, "/home/New/Sky.PNG");
        EXPECT_TRUE(side.find(map, "/HOME/PICS/SKY.PNG", out));
        EXPECT_EQ(out, "/home/New/Sky.PNG");
        // Accented capitals of the site's single-byte text fold too.
        EXPECT_TRUE(side.find(map, "/OLD/\xE9T\xC9.GIF", out));
        EXPECT_EQ(out, "/New/\xC9t\xE9.gif");

        out = "untouched";
        EXPECT_FALSE(side.findInOther(map, "/home/pics/sky.png", out));
        EXPECT_FALSE(side.find(map, "/home/pics/sky.gif", out));
        EXPECT_EQ(out, "untouched");
    }
}

TEST(FileNameMap, SettingAKeyAgainReplacesItsValue)
{
    for (const MapSide& side : kSides) {
        SCOPED_TRACE(side.name);
        CFileNameMap map;
        side.set(map, "/a/One.png", "/b/One.png");
        side.set(map, "/a/Two.png", "/b/Two.png");
        side.set(map, "/A/ONE.PNG", "/C/Third.Png");

        std::string out;
        EXPECT_TRUE(side.find(map, "/a/one.png", out));
        EXPECT_EQ(out, "/C/Third.Png");
        EXPECT_TRUE(side.find(map, "/a/two.png", out));
        EXPECT_EQ(out, "/b/Two.png");
    }
}

TEST(FileNameMap, EmptyMapFindsNothing)
{
    const CFileNameMap map;
    std::string out = "kept";
    EXPECT_FALSE(map.FindReplacementFile("", out));
    EXPECT_FALSE(map.LookupFolder("/a/", out));
    EXPECT_EQ(out, "kept");
}

TEST(FileNameMap, LowerCase1252FoldsOnlyTheCapitalsOfTheCodePage)
{
    struct Case
    {
        const char* text;
        const char* lowered;
    };
    const Case cases[] = {
        {"AZaz09@[`{", "azaz09@[`{"},
        // The accented capitals, from the first to the last; the multiplication sign between them is no letter.
        {"\xC0\xD6\xD7\xD8\xDE\xDF", "\xE0\xF6\xD7\xF8\xFE\xDF"},
        // S, OE and Z with caron, and Y with diaeresis, sit apart from the others.
        {"\x8A\x8C\x8E\x9F", "\x9A\x9C\x9E\xFF"},
        {"\x8B\x8D\x9A\xBF\xFF", "\x8B\x8D\x9A\xBF\xFF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LowerCase1252(c.text), c.lowered) << c.text;
}
