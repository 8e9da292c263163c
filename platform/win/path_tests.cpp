#include "platform/win/path.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win/file.h"
#include "testing/scoped_env.h"
#include "testing/scratch_folder.h"

namespace {

struct SplitCase
{
    std::string path, drive, dir, fname, ext;
};

const SplitCase kSplitCases[] = {
    {R"(C:\a\b.gif)", "C:", R"(\a\)", "b", ".gif"},
    {"/home/x/site.kst", "", "/home/x/", "site", ".kst"},
    {"/home/x/README", "", "/home/x/", "README", ""},
    {"/home/x/", "", "/home/x/", "", ""},
    {R"(C:\Sites\)", "C:", R"(\Sites\)", "", ""},
    {"/a.b/c", "", "/a.b/", "c", ""},
    {R"(/a.b\c.d.png)", "", R"(/a.b\)", "c.d", ".png"},
    {"site.kst", "", "", "site", ".kst"},
    {"c:x.gif", "c:", "", "x", ".gif"},
    {"/x/.hidden", "", "/x/", "", ".hidden"},
    {"/x/..", "", "/x/", "..", ""},
    {"1:/x", "", "1:/", "x", ""},
    {"", "", "", "", ""},
};

} // namespace

TEST(PathTest, SplitPath)
{
    for (const SplitCase& c : kSplitCases) {
        SCOPED_TRACE(c.path);
        std::string drive = "?", dir = "?", fname = "?", ext = "?";
        SplitPath(c.path, &drive, &dir, &fname, &ext);
        EXPECT_EQ(drive, c.drive);
        EXPECT_EQ(dir, c.dir);
        EXPECT_EQ(fname, c.fname);
        EXPECT_EQ(ext, c.ext);
        // The parts put back together give the path again.
        EXPECT_EQ(MakePath(drive, dir, fname, ext), c.path);
    }
    std::string ext;
    SplitPath("/a/b.gif", nullptr, nullptr, nullptr, &ext);
    EXPECT_EQ(ext, ".gif");
}

TEST(PathTest, MakePathAddsMissingSeparatorAndDot)
{
    struct Case
    {
        std::string drive, dir, fname, ext, path;
    } cases[] = {
        {"", "/home/x", "site", "kst", "/home/x/site.kst"},
        {"C:", R"(\a\b)", "c", ".gif", R"(C:\a\b\c.gif)"},
        {"", R"(/a\b)", "c", "", R"(/a\b\c)"},
        {"", "folder", "c", "png", "folder/c.png"},
        {"", "", "c", "", "c"},
        {"", "/tmp/", "", "", "/tmp/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakePath(c.drive, c.dir, c.fname, c.ext), c.path);
}

TEST(PathTest, JoinPathAddsTheFoldersOwnSeparatorOnlyWhereMissing)
{
    struct Case
    {
        std::string folder, name, path;
    } cases[] = {
        {"", "a.gif", "a.gif"},
        {"/srv/", "a.gif", "/srv/a.gif"},
        {"/srv", "a.gif", "/srv/a.gif"},
        {R"(C:\Web\)", "a.gif", R"(C:\Web\a.gif)"},
        {R"(C:\Web)", "a.gif", R"(C:\Web\a.gif)"},
        {R"(/home\web)", "a.gif", R"(/home\web\a.gif)"},
        {R"(C:\Web/site)", "files/", R"(C:\Web/site/files/)"},
        {"kst", "home_website/files/", "kst/home_website/files/"},
        {"/srv/", "", "/srv/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JoinPath(c.folder, c.name), c.path) << c.folder << " + " << c.name;
}

class TempFolderTest : public ::testing::Test
{
protected:
    std::string Expected() const { return m_base + "/pelorin-" + std::to_string(getuid()) + "/"; }

    ScratchFolder m_folder;
    // Without the trailing separator.
    const std::string m_base = m_folder.Path().substr(0, m_folder.Path().size() - 1);
};

TEST_F(TempFolderTest, CreatesPrivateFolderAndTightensLooseOne)
{
    ScopedEnv runtime("XDG_RUNTIME_DIR", nullptr);
    ScopedEnv tmpdir("TMPDIR", (m_base + "/").c_str());

    EXPECT_EQ(GetTempFolder(), Expected());
    struct stat st;
    ASSERT_EQ(stat(Expected().c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    chmod(Expected().c_str(), 0777);
    EXPECT_EQ(GetTempFolder(), Expected());
    ASSERT_EQ(stat(Expected().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    // The runtime folder comes first; a relative value is no folder at all.
    ScopedEnv relative("XDG_RUNTIME_DIR", "relative/dir");
    EXPECT_EQ(GetTempFolder(), Expected());
    ScopedEnv absolute("XDG_RUNTIME_DIR", (m_base + "/run").c_str());
    std::filesystem::create_directory(m_base + "/run");
    EXPECT_EQ(GetTempFolder(), m_base + "/run/pelorin-" + std::to_string(getuid()) + "/");
}

TEST_F(TempFolderTest, RefusesNameTakenByLinkOrFile)
{
    ScopedEnv runtime("XDG_RUNTIME_DIR", m_base.c_str());
    std::string name = Expected();
    name.pop_back();

    std::filesystem::create_directory(m_base + "/elsewhere");
    std::filesystem::create_directory_symlink(m_base + "/elsewhere", name);
    EXPECT_THROW(GetTempFolder(), CFileException);

    std::filesystem::remove(name);
    {
        CFile(name, CFile::modeCreate | CFile::modeWrite);
    }
    EXPECT_THROW(GetTempFolder(), CFileException);
}

TEST_F(TempFolderTest, ListFolderSortsEntriesAndTellsFoldersByWhatLinksPointTo)
{
    namespace fs = std::filesystem;
    const std::string dir = m_base + "/list";
    fs::create_directories(dir + "/sub");
    for (const char* name : {"b.gif", "A.css", "a.css", "no extension", ".hidden", "back\\slash.png"})
        CFile(dir + "/" + name, CFile::modeCreate | CFile::modeWrite);
    fs::create_directory_symlink(dir + "/sub", dir + "/to sub");
    fs::create_symlink(dir + "/b.gif", dir + "/to b.gif");
    fs::create_symlink(dir + "/gone", dir + "/dangling");

    std::vector<std::pair<std::string, bool>> listed;
    for (const FolderEntry& entry : ListFolder(dir))
        listed.emplace_back(entry.name, entry.isFolder);
    const std::vector<std::pair<std::string, bool>> expected = {
        {".hidden", false},  {"A.css", false},        {"a.css", false}, {"b.gif", false},    {"back\\slash.png", false},
        {"dangling", false}, {"no extension", false}, {"sub", true},    {"to b.gif", false}, {"to sub", true},
    };
    EXPECT_EQ(listed, expected);

    EXPECT_TRUE(ListFolder(m_base + "/missing").empty());
    EXPECT_TRUE(ListFolder(dir + "/b.gif").empty());
}

TEST(PathTest, ConfigAndDataFolders)
{
    ScopedEnv home("HOME", "/home/u");
    {
        ScopedEnv config("XDG_CONFIG_HOME", nullptr);
        ScopedEnv data("XDG_DATA_HOME", "");
        EXPECT_EQ(GetConfigFolder(), "/home/u/.config/Pelorin/");
        EXPECT_EQ(GetDataFolder(), "/home/u/.local/share/Pelorin/");
    }
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/cfg/");
        ScopedEnv data("XDG_DATA_HOME", "/data");
        EXPECT_EQ(GetConfigFolder(), "/cfg/Pelorin/");
        EXPECT_EQ(GetDataFolder(), "/data/Pelorin/");
    }
    ScopedEnv relative("XDG_CONFIG_HOME", "cfg");
    EXPECT_EQ(GetConfigFolder(), "/home/u/.config/Pelorin/");
}

// The pictures folder as xdg-user-dir answers it: the recorded folder, or the home folder when there is no record
// or the recorded folder is not there. A picture chooser opens there when the folder it is asked for is none.
TEST(PathTest, PictureChoosersOpenInTheAskedFolderOrThePicturesFolder)
{
    ScratchFolder scratch;
    const std::string home = scratch / "home";
    std::filesystem::create_directories(home + "/Photos");
    std::filesystem::create_directories(home + "/.config");
    ScopedEnv homeVariable("HOME", home.c_str());
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    const std::string dirs = home + "/.config/user-dirs.dirs";

    const std::vector<std::pair<std::string, std::string>> recorded = {
        {"", home + "/"},
        {"XDG_PICTURES_DIR=\"$HOME/Photos\"", home + "/Photos/"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/Photos\"", home + "/"},
        {"XDG_PICTURES_DIR=\"$HOME/Gone\"", home + "/"},
        {"XDG_PICTURES_DIR=\"$HOME/\"", home + "/"},
    };
    for (const auto& [line, expected] : recorded) {
        std::ofstream(dirs) << line << "\n";
        EXPECT_EQ(GetPicturesFolder(), expected) << line;
    }

    std::ofstream(dirs) << "XDG_PICTURES_DIR=\"$HOME/Photos\"\n";
    std::ofstream(home + "/file.png") << "not a folder";
    const std::vector<std::pair<std::string, std::string>> asked = {
        {scratch / "", scratch / ""},
        {scratch / "program/Animations/", home + "/Photos/"},
        {home + "/file.png", home + "/Photos/"},
        {"", home + "/Photos/"},
    };
    for (const auto& [folder, expected] : asked)
        EXPECT_EQ(PictureChooserFolder(folder), expected) << folder;

    ScopedEnv noHome("HOME", "/");
    EXPECT_EQ(GetPicturesFolder(), "");
}

TEST(PathTest, ShellFoldersAreMadeOnDemandAndEmptyWhenThereIsNoHome)
{
    ScratchFolder scratch;
    const std::string home = scratch / "home";
    const auto write = [&](const std::string& name, const std::string& text) {
        std::filesystem::create_directories(std::filesystem::path(scratch / name).parent_path());
        std::ofstream(scratch / name) << text;
    };
    ScopedEnv homeVariable("HOME", home.c_str());
    ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    ScopedEnv data("XDG_DATA_HOME", nullptr);

    EXPECT_EQ(GetShellFolderPath(kShellFolderDocuments), home + "/Documents/");
    EXPECT_TRUE(std::filesystem::is_directory(home + "/Documents"));
    EXPECT_EQ(GetShellFolderPath(kShellFolderAppData), home + "/.local/share/Pelorin/");
    EXPECT_TRUE(std::filesystem::is_directory(home + "/.local/share/Pelorin"));
    EXPECT_EQ(GetShellFolderPath(7), "");

    // The documents folder as xdg-user-dirs records it; a line naming the home folder itself turns it off.
    const std::vector<std::pair<std::string, std::string>> recorded = {
        {"XDG_DOCUMENTS_DIR=\"$HOME/Papers\"", home + "/Papers/"},
        {"# XDG_DOCUMENTS_DIR=\"/elsewhere\"\nXDG_DOCUMENTS_DIR=\"" + scratch / "abs" + "\"", scratch / "abs/"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/\"", home + "/Documents/"},
        {"XDG_DOCUMENTS_DIR=\"relative\"", home + "/Documents/"},
        {"XDG_DOCUMENTS_DIR=\"$HOMEWORK\"", home + "/Documents/"},
        {"XDG_DOCUMENTS_DIR=\"$HOME/unterminated", home + "/Documents/"},
    };
    for (const auto& [line, expected] : recorded) {
        write("home/.config/user-dirs.dirs", line + "\n");
        EXPECT_EQ(GetDocumentsFolder(), expected) << line;
    }

    // A documents folder that cannot be made gives no folder at all.
    write("home/.config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/taken\"\n");
    write("home/taken", "a file");
    EXPECT_EQ(GetShellFolderPath(kShellFolderDocuments), "");

    ScopedEnv noHome("HOME", "/");
    EXPECT_EQ(GetConfigFolder(), "");
    EXPECT_EQ(GetDocumentsFolder(), "");
    EXPECT_EQ(GetShellFolderPath(kShellFolderAppData), "");
}
