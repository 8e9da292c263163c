#include "app/model/file_version_info.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

TEST(FileVersionInfo, AnswersFromADesktopEntry)
{
    const struct
    {
        const char* what;
        const char* text;
        bool loaded;
        const char* name;
        const char* version;
    } cases[] = {
        {"entry", "[Desktop Entry]\nType=Application\nName=Web Browser\nVersion=1.5\nExec=browser %u\n", true,
         "Web Browser", "1.5"},
        {"no version", "[Desktop Entry]\nName = Viewer \n", true, "Viewer", ""},
        {"escapes", "[Desktop Entry]\r\nName=A\\sB\\\\C\r\n", true, "A B\\C", ""},
        {"action names are not the program's", "[Desktop Entry]\nName=Main\n[Desktop Action new]\nName=New\n", true,
         "Main", ""},
        {"no name", "[Desktop Entry]\nVersion=1.0\n", false, "", ""},
        {"name outside the group", "Name=Loose\n[Other]\nName=Other\n", false, "", ""},
        {"localised name only", "[Desktop Entry]\nName[de]=Browser\n", false, "", ""},
        {"an executable",
         "\x7f"
         "ELF\x02\x01\x01",
         false, "", ""},
    };
    for (const auto& c : cases) {
        CFileVersionInfo info;
        EXPECT_EQ(info.LoadFromText(c.text), c.loaded) << c.what;
        EXPECT_EQ(info.GetString(CFileVersionInfo::fileDescription), c.name) << c.what;
        EXPECT_EQ(info.GetString(CFileVersionInfo::productName), c.name) << c.what;
        EXPECT_EQ(info.GetString(CFileVersionInfo::productVersion), c.version) << c.what;
        EXPECT_EQ(info.GetString(CFileVersionInfo::fileVersion), c.version) << c.what;
        for (int index : {int(CFileVersionInfo::companyName), int(CFileVersionInfo::legalCopyright), -1, 9})
            EXPECT_EQ(info.GetString(index), "") << c.what << ' ' << index;
    }
}

TEST(FileVersionInfo, ASecondLoadForgetsTheFirst)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("version_info_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "app.desktop") << "[Desktop Entry]\nName=App\nVersion=2\n";
    std::ofstream(folder / "plain") << "#!/bin/sh\necho hi\n";

    CFileVersionInfo info;
    EXPECT_TRUE(info.Load((folder / "app.desktop").string()));
    EXPECT_EQ(info.GetString(CFileVersionInfo::productVersion), "2");
    EXPECT_FALSE(info.Load((folder / "plain").string()));
    EXPECT_EQ(info.GetString(CFileVersionInfo::fileDescription), "");
    EXPECT_TRUE(info.Load((folder / "app.desktop").string()));
    EXPECT_TRUE(mkfifo((folder / "pipe").c_str(), 0600) == 0);
    for (const char* name : {"missing", "pipe", ""}) {
        EXPECT_FALSE(info.Load((folder / name).string())) << name;
        EXPECT_FALSE(info.Load(name)) << name;
    }
    EXPECT_EQ(info.GetString(CFileVersionInfo::productName), "");
    std::filesystem::remove_all(folder);
}
