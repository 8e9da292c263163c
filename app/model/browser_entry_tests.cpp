// The external browsers: which files may join the list, their labels and commands, and the preview choice as
// browsers are removed.

#include "app/model/browser_entry.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

#include "platform/win/program_launch.h"
#include "testing/scratch_folder.h"

namespace {

class Browsers : public testing::Test
{
protected:
    ScratchFolder scratch;

    std::string Write(const std::string& name, const std::string& text, bool runnable)
    {
        const std::string path = scratch / name;
        std::ofstream(path) << text;
        chmod(path.c_str(), runnable ? 0755 : 0644);
        return path;
    }
    std::string Entry(const std::string& name, const std::string& exec)
    {
        return Write(
            name,
            "[Desktop Entry]\nType=Application\nVersion=1.5\nName=Web Reader\nName[de]=Netzleser\nExec=" + exec + "\n",
            false);
    }
};

TEST_F(Browsers, ProgramsAndDesktopEntriesJoinTheListOnce)
{
    const std::string program = Write("reader.sh", "#!/bin/sh\n", true);
    const std::string entry = Entry("reader.desktop", "reader %u");
    const std::string text = Write("notes.txt", "hello", false);
    const std::string noExec = Write("broken.desktop", "[Desktop Entry]\nName=Broken\n", false);
    symlink(program.c_str(), (scratch / "link.sh").c_str());

    EXPECT_EQ(CheckNewBrowser(program, {}), 0);
    EXPECT_EQ(CheckNewBrowser(entry, {program}), 0);
    EXPECT_EQ(CheckNewBrowser(text, {}), 7001) << "a file that cannot be run";
    EXPECT_EQ(CheckNewBrowser(noExec, {}), 7001) << "an entry that starts nothing";
    EXPECT_EQ(CheckNewBrowser(scratch / "missing", {}), 7001);
    EXPECT_EQ(CheckNewBrowser(scratch.Path(), {}), 7001) << "a folder";
    EXPECT_EQ(CheckNewBrowser(program, {entry, program}), 7002);
    EXPECT_EQ(CheckNewBrowser(scratch / "link.sh", {program}), 7002) << "the same program by another path";

    CBrowserEntry browser;
    ASSERT_TRUE(browser.SetFromFile(entry));
    EXPECT_EQ(browser.GetLabel(), "Web Reader");
    ASSERT_TRUE(browser.SetFromFile(scratch / "link.sh"));
    EXPECT_EQ(browser.GetPath(), GetLongPath(program));
    EXPECT_EQ(browser.GetLabel(), "reader.sh");
    EXPECT_FALSE(browser.SetFromFile(text));
    EXPECT_EQ(browser.GetLabel(), "reader.sh") << "a refused file changes nothing";
}

TEST_F(Browsers, TheAddressIsOneArgumentOfTheCommand)
{
    const std::string address = "file:///home/ann/My Site/index.html?a=1&b=$(x)";
    struct Case
    {
        std::string exec;
        std::vector<std::string> command;
    };
    const std::vector<Case> cases = {
        {"reader %u", {"reader", address}},
        {"reader --new-window %U --private", {"reader", "--new-window", address, "--private"}},
        {"reader", {"reader", address}},
        {"\"/opt/web reader/bin\" %i %c --url=%u 100%%", {"/opt/web reader/bin", "--url=" + address, "100%"}},
        {"env \"A=\\\\\"q\\\\\"\" reader %f", {"env", "A=\"q\"", "reader", address}},
    };
    for (const Case& c : cases) {
        CBrowserEntry browser;
        ASSERT_TRUE(browser.SetFromFile(Entry("case.desktop", c.exec))) << c.exec;
        EXPECT_EQ(browser.GetCommand(address), c.command) << c.exec;
    }
    CBrowserEntry program;
    ASSERT_TRUE(program.SetFromFile(Write("reader.sh", "#!/bin/sh\n", true)));
    EXPECT_EQ(program.GetCommand(address), (std::vector<std::string>{program.GetPath(), address}));
}

TEST_F(Browsers, RemovingBrowsersShiftsTheChoiceWithTheList)
{
    struct Case
    {
        std::vector<bool> selected;
        int choice, after;
        std::vector<std::string> left;
    };
    const std::vector<Case> cases = {
        {{true, false, false}, 3, 2, {"b", "c"}},  // the chosen browser moved down
        {{false, true, false}, 2, -1, {"a", "c"}}, // the chosen one went
        {{false, false, true}, 1, 1, {"a", "b"}},  // a later one went
        {{true, true, false}, 3, 1, {"c"}},
        {{true, true, true}, 0, 0, {}}, // the desktop's browser stays chosen
        {{true, false, false}, -1, -1, {"b", "c"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> browsers = {"a", "b", "c"};
        EXPECT_EQ(RemoveBrowsers(browsers, c.selected, c.choice), c.after);
        EXPECT_EQ(browsers, c.left);
    }
    EXPECT_EQ(UsablePreviewChoice(3, 2), -1);
    EXPECT_EQ(UsablePreviewChoice(2, 2), 2);
    EXPECT_EQ(UsablePreviewChoice(0, 0), 0);
    EXPECT_EQ(UsablePreviewChoice(-7, 2), -1);
}

TEST_F(Browsers, APreviewStartsTheChosenBrowser)
{
    std::vector<std::vector<std::string>> started;
    const ProgramStarter before = SetProgramStarter([&](const std::vector<std::string>& arguments) {
        started.push_back(arguments);
        return true;
    });
    const std::vector<std::string> browsers = {Entry("one.desktop", "one %u"), Write("two.sh", "#!/bin/sh\n", true)};
    EXPECT_EQ(StartPreviewBrowser(-1, browsers, "file:///p.html"), PreviewStart::builtIn);
    EXPECT_EQ(StartPreviewBrowser(3, browsers, "file:///p.html"), PreviewStart::builtIn) << "out of range";
    EXPECT_EQ(StartPreviewBrowser(0, browsers, "file:///p.html"), PreviewStart::started);
    EXPECT_EQ(StartPreviewBrowser(2, browsers, "file:///p.html"), PreviewStart::started);
    EXPECT_EQ(StartPreviewBrowser(1, {scratch / "gone.sh"}, "file:///p.html"), PreviewStart::failed);
    SetProgramStarter(before);
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0], (std::vector<std::string>{"xdg-open", "file:///p.html"}));
    EXPECT_EQ(started[1], (std::vector<std::string>{GetLongPath(browsers[1]), "file:///p.html"}));
}

} // namespace
