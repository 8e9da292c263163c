#include "browser/browser_test_support.h"

#include <filesystem>

using namespace kitefly;
using namespace kitefly::test;

namespace {

TEST_F(LibraryTest, ProfileFilesKeepTheirOtherLinesWhenAValueIsWritten)
{
    const std::string file = Folder("some.ini");
    WriteFile(file, "; kept\r\n[Other]\r\nPreferred=9\r\n[browser]\r\nopera = /old\r\n\r\n[Last]\r\nx=1\r\n");
    EXPECT_EQ(GetPrivateProfileString("BROWSER", "Opera", "none", 260, file), "/old");
    EXPECT_EQ(GetPrivateProfileInt("Browser", "Preferred", 4, file), 4) << "keys belong to their section";

    ASSERT_TRUE(WritePrivateProfileString("Browser", "Opera", "/new", file));
    ASSERT_TRUE(WritePrivateProfileInt("Browser", "Preferred", 2, file));
    ASSERT_TRUE(WritePrivateProfileString("Added", "Key", "v", file));
    EXPECT_EQ(ReadFile(file), "; kept\r\n[Other]\r\nPreferred=9\r\n[browser]\r\nOpera=/new\r\nPreferred=2\r\n\r\n"
                              "[Last]\r\nx=1\r\n[Added]\r\nKey=v\r\n");
    for (const auto& entry : std::filesystem::directory_iterator(Folder("")))
        EXPECT_TRUE(entry.path().filename() == "some.ini" || entry.path().filename() == "Kitefly")
            << "no temporary file is left: " << entry.path();
}

TEST_F(LibraryTest, ProfileValuesAreReadWithinTheirLimit)
{
    WritePrivateProfileString("Browser", "Long", std::string(300, 'p'), "Kitefly.ini");
    EXPECT_EQ(GetPrivateProfileString("Browser", "Long", "", 260, "Kitefly.ini"), std::string(259, 'p'));
    EXPECT_EQ(GetPrivateProfileString("Browser", "Missing", "default", 260, "Kitefly.ini"), "default");
    EXPECT_EQ(GetPrivateProfileString("Browser", "Missing", "", 260, "nowhere.ini"), "");
    EXPECT_TRUE(FileExists(ProfileFolder() + "/Kitefly.ini")) << "a bare name lies in the profile folder";
    EXPECT_EQ(ProfileFolder(), Folder("Kitefly"));
}

TEST_F(LibraryTest, TheRegistryStandInAnswersOnlyWhatWasSeeded)
{
    EXPECT_EQ(ReadRegistryValue(RegistryRoot::CurrentUser, "Software\\A", "Value"), std::nullopt);
    SeedRegistryValue(RegistryRoot::CurrentUser, "Software\\A", "Value", "data");
    EXPECT_EQ(ReadRegistryValue(RegistryRoot::CurrentUser, "software\\a", "VALUE"), "data");
    EXPECT_EQ(ReadRegistryValue(RegistryRoot::LocalMachine, "Software\\A", "Value"), std::nullopt);
    EXPECT_EQ(ReadRegistryValue(RegistryRoot::CurrentUser, "Software\\A", ""), std::nullopt);
}

} // namespace
