#include "app/model/site_paths.h"

#include <gtest/gtest.h>

TEST(SitePaths, SplitsPaths)
{
    struct Case
    {
        const char* path;
        const char* name;
        const char* folder;
        const char* extension;
    };
    const Case cases[] = {
        {"C:\\a\\b.gif", "b.gif", "C:\\a\\", ".gif"},
        {"/home/u/site/pic.tar.gz", "pic.tar.gz", "/home/u/site/", ".gz"},
        {"img/a\\b.png", "b.png", "img/a\\", ".png"},
        {"C:noext", "noext", "C:", ""},
        {"folder.d/file", "file", "folder.d/", ""},
        {"", "", "", ""},
        {"C:\\a\\", "", "C:\\a\\", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetPathFileName(c.path), c.name) << c.path;
        EXPECT_EQ(GetPathFolder(c.path), c.folder) << c.path;
        EXPECT_EQ(GetFileExtension(c.path), c.extension) << c.path;
    }
}

TEST(SitePaths, MakeSiteRelativePath)
{
    struct Case
    {
        const char* base;
        const char* path;
        const char* result;
    };
    const Case cases[] = {
        {"C:\\Sites\\My.kst", "c:\\sites\\img\\A.gif", "img\\A.gif"},
        {"C:\\Sites\\My.kst", "D:\\x.gif", "D:\\x.gif"},
        {"", "C:\\Sites\\a.gif", "C:\\Sites\\a.gif"},
        {"/home/u/Sites/My.kst", "/home/u/Sites/img/A.gif", "img/A.gif"},
        {"/home/u/Sites/My.kst", "/home/u/SitesX/a.gif", "/home/u/SitesX/a.gif"},
        {"C:\\Sites\\My.kst", "C:/Sites/a.gif", "a.gif"},
        {"C:\\\xC9t\xE9\\My.kst", "c:\\\xE9T\xC9\\a.gif", "a.gif"},
        // Š and š (0x8A, 0x9A) name one folder, as they do for the file-name map.
        {"/sites/\x8Aite/My.kst", "/sites/\x9Aite/p.gif", "p.gif"},
        {"/\x8C\x8E\x9F/My.kst", "/\x9C\x9E\xFF/p.gif", "p.gif"},
        // × is no capital of ÷.
        {"/\xD7/My.kst", "/\xF7/p.gif", "/\xF7/p.gif"},
        {"C:\\Sites\\My.kst", "C:\\Si", "C:\\Si"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeSiteRelativePath(c.base, c.path), c.result) << c.base << " | " << c.path;
}

TEST(SitePaths, ResolvesStoredPaths)
{
    struct Case
    {
        const char* stored;
        const char* base;
        const char* result;
    };
    const Case cases[] = {
        {"C:\\pics\\a.gif", "/home/u/site.kst", "C:\\pics\\a.gif"},
        {"/srv/pics/a.gif", "/home/u/site.kst", "/srv/pics/a.gif"},
        {"img/a.gif", "/home/u/site.kst", "/home/u/img/a.gif"},
        {"img\\a.gif", "C:\\Sites\\My.kst", "C:\\Sites\\img\\a.gif"},
        // Backslashes of a site made on Windows become separators under a local folder.
        {"pics\\sub\\a.gif", "/home/u/site.kst", "/home/u/pics/sub/a.gif"},
        // ":\" elsewhere than at index 1 does not make a path absolute.
        {"ab:\\c.gif", "/s/x.kst", "/s/ab:/c.gif"},
        {"C:\\", "/s/x.kst", "C:\\"},
        {"a.gif", "", "a.gif"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveStoredPath(c.stored, c.base), c.result) << c.stored;
}

TEST(SitePaths, PlacementHelpersReadEitherSeparator)
{
    struct Case
    {
        const char* path;
        const char* name;
        const char* title;
        const char* folder;
        const char* extension;
    };
    const Case cases[] = {
        {"/home/u/logo.gif", "logo.gif", "logo", "/home/u/", ".gif"},
        {"C:\\a\\photo.jpg", "photo.jpg", "photo", "C:\\a\\", ".jpg"},
        // With a '/' in the path a '\' belongs to the name, as it may on this system.
        {"C:\\a/b\\c.tar.gz", "b\\c.tar.gz", "b\\c.tar", "C:\\a/", ".gz"},
        {"/mixed\\dir/x\\y.gif", "x\\y.gif", "x\\y", "/mixed\\dir/", ".gif"},
        {"C:\\dir\\x.y\\z", "z", "", "C:\\dir\\x.y\\", ""},
        {"README", "README", "", "", ""},
        {"/v1.2/README", "README", "", "/v1.2/", ""},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetFileNameFromPath(c.path), c.name);
        EXPECT_EQ(GetFileTitleFromPath(c.path), c.title);
        EXPECT_EQ(GetFolderFromUrlPath(c.path), c.folder);
        EXPECT_EQ(GetExtensionFromPath(c.path), c.extension);
    }
}

// The stored-path helpers and the placement helpers split one way, apart from three rules: a drive, a '\' in a
// path that has a '/', and the folder names "." and "..". Every other path splits alike.
TEST(SitePaths, StoredAndPlacementHelpersDifferOnlyWhereTheirRulesDo)
{
    struct Side
    {
        const char* name;
        const char* folder;
        const char* extension;
    };
    struct Case
    {
        const char* path;
        Side stored;
        Side placed;
    };
    const Case cases[] = {
        // A drive without a separator is the stored path's folder; the placement helpers know no drive.
        {"C:logo.gif", {"logo.gif", "C:", ".gif"}, {"C:logo.gif", "", ".gif"}},
        {"C:", {"", "C:", ""}, {"C:", "", ""}},
        // With a '/' in the path a '\' belongs to the name for placement only.
        {"img/a\\b.png", {"b.png", "img/a\\", ".png"}, {"a\\b.png", "img/", ".png"}},
        {"a.d\\x/y", {"y", "a.d\\x/", ""}, {"y", "a.d\\x/", ""}},
        {"a/b.d\\c", {"c", "a/b.d\\", ""}, {"b.d\\c", "a/", ".d\\c"}},
        // "." and ".." name folders in a stored path.
        {"pics/..", {"..", "pics/", ""}, {"..", "pics/", "."}},
        {".", {".", "", ""}, {".", "", "."}},
        // Alike: either separator alone, no separator, a trailing separator, nothing.
        {"C:\\a\\b.gif", {"b.gif", "C:\\a\\", ".gif"}, {"b.gif", "C:\\a\\", ".gif"}},
        {"/home/u/pic.tar.gz", {"pic.tar.gz", "/home/u/", ".gz"}, {"pic.tar.gz", "/home/u/", ".gz"}},
        {"README", {"README", "", ""}, {"README", "", ""}},
        {"/v1.2/", {"", "/v1.2/", ""}, {"", "/v1.2/", ""}},
        {"", {"", "", ""}, {"", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetPathFileName(c.path), c.stored.name);
        EXPECT_EQ(GetPathFolder(c.path), c.stored.folder);
        EXPECT_EQ(GetFileExtension(c.path), c.stored.extension);
        EXPECT_EQ(GetFileNameFromPath(c.path), c.placed.name);
        EXPECT_EQ(GetFolderFromUrlPath(c.path), c.placed.folder);
        EXPECT_EQ(GetExtensionFromPath(c.path), c.placed.extension);
    }
}
