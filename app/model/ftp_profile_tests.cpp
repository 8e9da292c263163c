#include "app/model/ftp_profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <unistd.h>

#include "platform/win/key_store.h"

namespace {

CFtpProfile Profile(std::string name, std::string server)
{
    CFtpProfile p;
    p.m_strName = std::move(name);
    p.m_strServer = std::move(server);
    p.m_strUser = "ann";
    p.m_strPassword = "secret";
    p.m_strWwwFolder = "/www";
    p.m_nPort = 21;
    p.m_bPassive = true;
    return p;
}

std::vector<BYTE> Bytes(std::initializer_list<int> values)
{
    return std::vector<BYTE>(values.begin(), values.end());
}

std::vector<BYTE> Write(const CFtpProfileArray& profiles)
{
    std::vector<BYTE> bytes;
    EXPECT_TRUE(WriteFtpProfiles(profiles, &bytes));
    return bytes;
}

} // namespace

TEST(FtpProfilesValue, WritesTheStoredLayoutByteForByte)
{
    EXPECT_EQ(Write({}), Bytes({0, 0}));

    CFtpProfile p;
    p.m_strName = "W";
    p.m_strServer = "ab";
    p.m_strPassword = "p";
    p.m_nPort = 0x1234;
    p.m_bPassive = true;
    p.m_nProxyType = 2;
    p.m_strProxyServer = "x";
    p.m_nProxyPort = 70000; // kept as its low 16 bits: 4464 = 0x1170
    p.m_strProxyPassword = "q";
    const std::vector<BYTE> expected = Bytes({
        1,    0,              // count
        1,    0,    'W',      // name
        2,    0,    'a', 'b', // server
        0,    0,              // user
        1,    0,    'p',      // password
        0,    0,              // WWW folder
        0x34, 0x12,           // port
        1,                    // passive
        2,    0,              // proxy type
        1,    0,    'x',      // proxy server
        0x70, 0x11,           // proxy port
        0,    0,              // proxy user
        1,    0,    'q',      // proxy password
    });
    const std::vector<BYTE> bytes = Write({p});
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(bytes.size(), 2u + 23u + 6u);

    CFtpProfileArray read;
    ASSERT_TRUE(ReadFtpProfiles(bytes.data(), bytes.size(), &read));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].m_strName, "W");
    EXPECT_EQ(read[0].m_nProxyPort, 4464);
    EXPECT_EQ(read[0].m_nPort, 0x1234);
    p.m_nProxyPort = 4464;
    EXPECT_TRUE(HaveSameFtpSettings(read[0], p));
}

TEST(FtpProfilesValue, RoundTripsSeveralProfilesInOrder)
{
    CFtpProfile a = Profile("Work", "ftp.example.com");
    CFtpProfile b = Profile("work", "ftp.other.org");
    b.m_bPassive = false;
    b.m_nPort = 65535;
    b.m_strPassword = std::string("\0\xff", 2);
    const std::vector<BYTE> bytes = Write({a, b});
    CFtpProfileArray read;
    ASSERT_TRUE(ReadFtpProfiles(bytes.data(), bytes.size(), &read));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].m_strName, "Work");
    EXPECT_TRUE(HaveSameFtpSettings(read[0], a));
    EXPECT_EQ(read[1].m_strName, "work");
    EXPECT_TRUE(HaveSameFtpSettings(read[1], b));
}

TEST(FtpProfilesValue, PassiveIsOnlyTheByteOne)
{
    std::vector<BYTE> bytes = Write({Profile("A", "s")});
    const size_t passiveAt = 2 + 2 + 1 + 2 + 1 + 2 + 3 + 2 + 6 + 2 + 4 + 2;
    for (const auto& [stored, passive] : {std::pair{0, false}, {1, true}, {2, false}, {255, false}}) {
        bytes[passiveAt] = static_cast<BYTE>(stored);
        CFtpProfileArray read;
        ASSERT_TRUE(ReadFtpProfiles(bytes.data(), bytes.size(), &read));
        EXPECT_EQ(read[0].m_bPassive, passive) << stored;
    }
}

TEST(FtpProfilesValue, RejectsAValueThatDisagreesWithItself)
{
    const std::vector<BYTE> good = Write({Profile("A", "server"), Profile("B", "s")});
    const struct
    {
        const char* what;
        std::vector<BYTE> bytes;
    } cases[] = {
        {"nothing", {}},
        {"half a count", {1}},
        {"count without profiles", {1, 0}},
        {"count beyond the bytes", {0xff, 0xff, 0, 0}},
        {"name longer than the rest", Bytes({1, 0, 0xff, 0xff, 'a'})},
        {"one byte short", std::vector<BYTE>(good.begin(), good.end() - 1)},
        {"a byte left over",
         [&] {
             auto b = good;
             b.push_back(0);
             return b;
         }()},
        {"count one too high",
         [&] {
             auto b = good;
             b[0] = 3;
             return b;
         }()},
        {"server length one too long",
         [&] {
             auto b = good;
             b[5] = 7;
             return b;
         }()},
        {"empty list with a tail", {0, 0, 0}},
    };
    const CFtpProfileArray before = {Profile("Kept", "k")};
    for (const auto& c : cases) {
        CFtpProfileArray read = before;
        EXPECT_FALSE(ReadFtpProfiles(c.bytes.data(), c.bytes.size(), &read)) << c.what;
        ASSERT_EQ(read.size(), 1u) << c.what;
        EXPECT_EQ(read[0].m_strName, "Kept") << c.what;
    }
}

TEST(FtpProfilesValue, RefusesToWriteWhatSixteenBitsCannotHold)
{
    CFtpProfile p = Profile("A", "s");
    p.m_strPassword.assign(65536, 'x');
    std::vector<BYTE> bytes = {9};
    EXPECT_FALSE(WriteFtpProfiles({p}, &bytes));
    EXPECT_EQ(bytes, Bytes({9}));
    p.m_strPassword.assign(65535, 'x');
    EXPECT_TRUE(WriteFtpProfiles({p}, &bytes));
    EXPECT_FALSE(WriteFtpProfiles(CFtpProfileArray(65536), &bytes));
}

TEST(FtpProfilesValue, ThroughTheKeyStore)
{
    CKeyStore store(std::filesystem::temp_directory_path() / ("ftp_profiles_" + std::to_string(getpid())));
    CFtpProfileArray read;
    EXPECT_FALSE(LoadFtpProfiles(store, "Settings", &read));
    ASSERT_TRUE(SaveFtpProfiles(store, "Settings", {Profile("A", "s")}));
    std::vector<BYTE> raw;
    ASSERT_TRUE(store.GetProfileBinary("Settings", "FTP profiles", &raw));
    EXPECT_EQ(raw, Write({Profile("A", "s")}));
    ASSERT_TRUE(LoadFtpProfiles(store, "Settings", &read));
    EXPECT_EQ(read.size(), 1u);
}

TEST(FtpProfiles, MatchingAndNames)
{
    CFtpProfile a = Profile("Work", "one");
    CFtpProfile b = Profile("Home", "two");
    CFtpProfile twin = Profile("Twin", "one");
    CFtpProfileArray list = {a, b, twin};

    // The name never takes part in matching, and the later of two equal profiles wins.
    CFtpProfile edited = Profile("", "one");
    EXPECT_EQ(FindMatchingFtpProfile(list, edited), 2);
    edited.m_strServer = "ONE";
    EXPECT_EQ(FindMatchingFtpProfile(list, edited), -1);
    edited = b;
    edited.m_nProxyPort = 1;
    EXPECT_EQ(FindMatchingFtpProfile(list, edited), -1);

    EXPECT_EQ(FindFtpProfile(list, "Work"), 0);
    EXPECT_EQ(FindFtpProfile(list, "work"), -1);
    EXPECT_EQ(FindFtpProfile(list, "Work "), -1);

    // Saving under an existing name keeps its place and name; another case of the name is another profile.
    CFtpProfile changed = Profile("ignored", "three");
    EXPECT_EQ(SaveFtpProfile(list, "Work", changed), 0);
    EXPECT_EQ(list[0].m_strName, "Work");
    EXPECT_EQ(list[0].m_strServer, "three");
    EXPECT_EQ(SaveFtpProfile(list, "work", changed), 3);
    EXPECT_EQ(list[3].m_strName, "work");
    EXPECT_EQ(list.size(), 4u);
}

TEST(FtpProfiles, WwwFolderCheck)
{
    const struct
    {
        const char* folder;
        bool valid;
    } cases[] = {
        {"", true},           {"/", true},        {"//", true},
        {"/site/", true},     {"a//b", true},     {"~user/public_html", true},
        {"a-b.c_d", true},    {"site2/v3", true}, {"2site", false},
        {"site/2003", false}, {"/2site", false},  {"a//2", false},
        {"my site", false},   {"a\\b", false},    {"a:b", false},
        {"caf\xe9", false},   {"///", true},      {"//x//", true},
        {"x/", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidWwwFolder(c.folder), c.valid) << '"' << c.folder << '"';
}

TEST(FtpProfiles, ProxyPortOutsideTheRangeIsRefused)
{
    const struct
    {
        int proxyType;
        int port;
        bool valid;
    } cases[] = {
        {1, 1, true},      {2, 1080, true},   {2, 65535, true}, {1, 0, false},    {2, -1, false},
        {2, 65536, false}, {1, 70000, false}, {0, 0, true},     {0, 70000, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidProxyPort(c.proxyType, c.port), c.valid) << c.proxyType << " " << c.port;
}
