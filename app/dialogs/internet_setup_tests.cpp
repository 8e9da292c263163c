#include "app/dialogs/internet_setup.h"

#include <gtest/gtest.h>

#include "app/model/app_settings.h"
#include "platform/win/key_store.h"
#include "testing/scratch_folder.h"

namespace {

CFtpProfile Profile(const std::string& name, const std::string& server, const std::string& user = "ann")
{
    CFtpProfile profile;
    profile.m_strName = name;
    profile.m_strServer = server;
    profile.m_strUser = user;
    profile.m_strPassword = "secret";
    profile.m_nPort = 21;
    return profile;
}

CInternetSetup SetupWith(const CFtpProfileArray& profiles, const CFtpProfile& fields)
{
    CInternetSetup setup;
    setup.SetProfiles(profiles);
    setup.Fields().SetSettingsFrom(fields);
    return setup;
}

TEST(InternetSetupCombo, EmptyItemFirstUnlessAProfileMatchesAndTheLastMatchWins)
{
    // No profiles: only the empty item, the choice disabled, Save enabled.
    CInternetSetup none = SetupWith({}, Profile("", "ftp.example"));
    ProfileComboState state = none.GetComboState();
    EXPECT_EQ(state.items, std::vector<std::string>{""});
    EXPECT_EQ(state.selection, 0);
    EXPECT_FALSE(state.comboEnabled);
    EXPECT_TRUE(state.saveEnabled);
    EXPECT_FALSE(state.deleteEnabled);

    // Two profiles with the same settings: the later one is selected, with no empty item.
    const CFtpProfileArray twins = {Profile("Home", "ftp.example"), Profile("Other", "ftp.other"),
                                    Profile("Work", "ftp.example")};
    CInternetSetup matched = SetupWith(twins, Profile("", "ftp.example"));
    state = matched.GetComboState();
    EXPECT_EQ(state.items, (std::vector<std::string>{"Home", "Other", "Work"}));
    EXPECT_EQ(state.selection, 2);
    EXPECT_TRUE(state.comboEnabled);
    EXPECT_FALSE(state.saveEnabled);
    EXPECT_TRUE(state.deleteEnabled);

    // Typing changes a field: nothing matches any more, the empty item comes back and item i + 1 is profile i.
    matched.Fields().m_strUser = "bob";
    state = matched.GetComboState();
    EXPECT_EQ(state.items, (std::vector<std::string>{"", "Home", "Other", "Work"}));
    EXPECT_EQ(state.selection, 0);
    EXPECT_TRUE(state.comboEnabled);
    matched.ChooseComboItem(0);
    EXPECT_EQ(matched.Fields().m_strUser, "bob");
    matched.ChooseComboItem(2);
    EXPECT_EQ(matched.Fields().m_strServer, "ftp.other");
    EXPECT_EQ(matched.Fields().m_strUser, "ann");
    // Now "Other" matches and the items carry no empty one: item 0 is the first profile.
    matched.ChooseComboItem(0);
    EXPECT_EQ(matched.GetComboState().selection, 2);
    EXPECT_EQ(matched.Fields().m_strServer, "ftp.example");
}

TEST(InternetSetupProfiles, SaveOverwritesOnlyTheExactNameAndDeleteSelectsTheNextOrTheLast)
{
    CInternetSetup setup = SetupWith({Profile("Work", "ftp.work"), Profile("Home", "ftp.home")}, Profile("", "new"));
    setup.SaveProfile("Work");
    ASSERT_EQ(setup.Profiles().size(), 2u);
    EXPECT_EQ(setup.Profiles()[0].m_strName, "Work");
    EXPECT_EQ(setup.Profiles()[0].m_strServer, "new");
    setup.Fields().m_strServer = "lower";
    setup.SaveProfile("work");
    ASSERT_EQ(setup.Profiles().size(), 3u);
    EXPECT_EQ(setup.Profiles()[2].m_strName, "work");
    EXPECT_FALSE(setup.GetComboState().saveEnabled);

    // Deleting the last profile selects the new last one.
    ASSERT_TRUE(setup.DeleteSelectedProfile());
    ASSERT_EQ(setup.Profiles().size(), 2u);
    EXPECT_EQ(setup.Fields().m_strServer, "ftp.home");
    EXPECT_EQ(setup.GetComboState().selection, 1);
    // Deleting the first selects the one that moved up into its place.
    setup.ChooseComboItem(0);
    ASSERT_TRUE(setup.DeleteSelectedProfile());
    EXPECT_EQ(setup.Fields().m_strServer, "ftp.home");
    // Deleting the only profile leaves the fields and brings the empty item back.
    ASSERT_TRUE(setup.DeleteSelectedProfile());
    EXPECT_TRUE(setup.Profiles().empty());
    EXPECT_EQ(setup.Fields().m_strServer, "ftp.home");
    EXPECT_EQ(setup.GetComboState().items, std::vector<std::string>{""});
    // Nothing selected: nothing to delete.
    EXPECT_FALSE(setup.DeleteSelectedProfile());
}

TEST(InternetSetupProfiles, NameNeedsMoreThanBlanksAndIsTakenAsTyped)
{
    EXPECT_FALSE(IsProfileNameUsable(""));
    EXPECT_FALSE(IsProfileNameUsable("  \t "));
    EXPECT_TRUE(IsProfileNameUsable(" Work "));
    CInternetSetup setup = SetupWith({}, Profile("", "ftp.example"));
    setup.SaveProfile(" Work ");
    EXPECT_EQ(setup.Profiles().at(0).m_strName, " Work ");
}

TEST(AdvancedFtpSettings, StandardAndTheProxyValuesTakenOnlyWithAProxy)
{
    CInternetSetup setup = SetupWith({}, Profile("", "ftp.example"));
    CFtpProfile advanced = setup.Fields();
    advanced.m_nPort = 2121;
    advanced.m_bPassive = true;
    advanced.m_nProxyType = 2;
    advanced.m_strProxyServer = "socks.example";
    advanced.m_nProxyPort = 1080;
    advanced.m_strProxyUser = "p";
    advanced.m_strProxyPassword = "q";
    setup.TakeAdvanced(advanced);
    EXPECT_EQ(setup.Fields().m_nProxyPort, 1080);
    EXPECT_EQ(setup.Fields().m_strProxyServer, "socks.example");

    advanced.m_nProxyType = 0;
    setup.TakeAdvanced(advanced);
    EXPECT_EQ(setup.Fields().m_nPort, 2121);
    EXPECT_TRUE(setup.Fields().m_bPassive);
    EXPECT_EQ(setup.Fields().m_strProxyServer, "");
    EXPECT_EQ(setup.Fields().m_nProxyPort, 0);
    EXPECT_EQ(setup.Fields().m_strProxyPassword, "");

    SetStandardFtpSettings(advanced);
    setup.TakeAdvanced(advanced);
    EXPECT_EQ(setup.Fields().m_nPort, 21);
    EXPECT_FALSE(setup.Fields().m_bPassive);
    EXPECT_EQ(setup.Fields().m_nProxyType, 0);

    EXPECT_EQ(ShownProxyType(-1), 0);
    EXPECT_EQ(ShownProxyType(2), 2);
    EXPECT_EQ(ShownProxyType(3), 0);
}

TEST(AdvancedFtpSettings, PortTextAndPortChecks)
{
    const struct
    {
        const char* text;
        int value;
    } cases[] = {{"21", 21}, {"", 0}, {"ftp", 0}, {" 8021x", 8021}, {"-5", -5}, {"99999999999", 2147483647}};
    for (const auto& c : cases)
        EXPECT_EQ(ParsePortText(c.text), c.value) << c.text;

    CFtpProfile settings = Profile("", "ftp.example");
    EXPECT_EQ(CheckAdvancedPorts(settings), 0);
    settings.m_nPort = 70000;
    EXPECT_EQ(CheckAdvancedPorts(settings), 1002);
    settings.m_nPort = 21;
    settings.m_nProxyPort = 70000;
    EXPECT_EQ(CheckAdvancedPorts(settings), 0); // no proxy: its port is not used
    settings.m_nProxyType = 1;
    EXPECT_EQ(CheckAdvancedPorts(settings), 1504);
}

TEST(InternetSetupStore, RefusedFolderStoresNothingAndAPassingOneIsStoredAsTyped)
{
    ScratchFolder folder;
    CKeyStore store(folder.Path() + "settings.keys");
    CAppSettings settings;
    settings.LoadSettings(store, CSettingsEnvironment{"/home/ann/", "/opt/pelorin/", 1024, 768});
    settings.m_ftpProxyType = 0;
    settings.m_ftpProxyServer = "left over";

    CInternetSetup setup;
    setup.Load(settings);
    EXPECT_EQ(setup.Fields().m_strProxyServer, ""); // proxy values count only with a proxy
    setup.Fields().m_strServer = "ftp.example";
    setup.SaveProfile("Work");
    for (const char* refused : {"2site", "site/2003", "my site", "a\\b"}) {
        setup.Fields().m_strWwwFolder = refused;
        EXPECT_FALSE(setup.Store(settings)) << refused;
        EXPECT_EQ(settings.m_ftpServer, "") << refused;
    }
    setup.Fields().m_strWwwFolder = "a//b";
    ASSERT_TRUE(setup.Store(settings));
    EXPECT_EQ(settings.m_ftpFolder, "a//b");
    EXPECT_EQ(settings.m_ftpServer, "ftp.example");

    // The list reached the store.
    CKeyStore reread(store.GetPath());
    ASSERT_TRUE(reread.Load());
    CFtpProfileArray stored;
    ASSERT_TRUE(LoadFtpProfiles(reread, kSettingsSection, &stored));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].m_strName, "Work");
}

TEST(UploadEntry, NamesTheFirstStoredProfileThatEqualsTheDestination)
{
    CAppSettings settings;
    EXPECT_EQ(FindDestinationProfile(settings), -1); // no profiles
    settings.m_ftpServer = "ftp.example";
    settings.m_ftpUser = "ann";
    settings.m_ftpPassword = "secret";
    settings.m_ftpProxyPort = 1080; // not counted without a proxy
    CFtpProfile other = Profile("Other", "ftp.other");
    CFtpProfile first = Profile("First", "ftp.example");
    CFtpProfile second = Profile("Second", "ftp.example");
    settings.SetFtpProfiles({other});
    EXPECT_EQ(FindDestinationProfile(settings), -1);
    settings.SetFtpProfiles({other, first, second});
    EXPECT_EQ(FindDestinationProfile(settings), 1);
    settings.m_ftpPassword = "Secret";
    EXPECT_EQ(FindDestinationProfile(settings), -1);
}

} // namespace
