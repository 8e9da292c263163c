#include "app/model/app_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/win/key_store.h"

namespace {

const CSettingsEnvironment kEnv{"/home/ann/Documents/", "/opt/pelorin/", 1024, 768};

// A store whose file lives in a folder of its own, removed afterwards.
class SettingsStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "app_settings_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_folder = pattern;
        m_store = std::make_unique<CKeyStore>((m_folder / "settings.keys").string());
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    CAppSettings Loaded()
    {
        CAppSettings s;
        s.LoadSettings(*m_store, kEnv);
        return s;
    }

    std::filesystem::path m_folder;
    std::unique_ptr<CKeyStore> m_store;
};

TEST_F(SettingsStore, EmptyStoreGivesEveryDefault)
{
    const CAppSettings s = Loaded();
    EXPECT_EQ(s.m_kstPath, "/home/ann/Documents/");
    EXPECT_EQ(s.m_imagePath, "/opt/pelorin/Animations/");
    EXPECT_EQ(s.m_exportPath, "/home/ann/Documents/");
    EXPECT_EQ(s.m_backgroundImagePath, "/opt/pelorin/Backgrounds/");
    EXPECT_EQ(s.m_defaultPageWidth, 740);
    EXPECT_EQ(s.m_defaultPageHeight, 600);
    EXPECT_EQ(s.m_defaultDoctype, 0);
    EXPECT_FALSE(s.m_defaultPageCentering);
    EXPECT_EQ(s.m_visitedLinkColor.GetCOLORREF(), 0x800080u);
    EXPECT_EQ(s.m_unvisitedLinkColor.GetCOLORREF(), 0xFF0000u);
    EXPECT_EQ(s.m_textFont, "Arial");
    EXPECT_EQ(s.m_defaultFont, "Arial");
    EXPECT_EQ(s.m_textFontSize, 12);
    EXPECT_EQ(s.m_textColor.GetCOLORREF(), 0u);
    EXPECT_EQ(s.m_textBold | s.m_textItalic | s.m_textUnderline, 0);
    EXPECT_EQ(s.m_dialogCenter, CPoint(512, 384));
    EXPECT_EQ(s.counterId, 0);
    EXPECT_TRUE(s.m_repeatBackgroundFill);
    EXPECT_EQ(s.m_solidBackgroundFill.GetCOLORREF(), 0xFFFFFFu);
    EXPECT_EQ(s.m_buttonTextFont, "Arial");
    EXPECT_EQ(s.m_buttonTextFontSize, 12);
    EXPECT_FALSE(s.m_buttonTextBold || s.m_buttonTextItalic || s.m_buttonTextUnderline || s.m_buttonTextShadow);
    EXPECT_EQ(s.m_clrButtonTextColor, 0xFFFFFFu);
    EXPECT_EQ(s.m_buttonTextAlignment, 1);
    EXPECT_EQ(s.m_buttonTextShadowDistance, 1);
    EXPECT_EQ(s.m_buttonTextShadowDirection, 120);
    EXPECT_EQ(s.m_clrButtonTextShadowColor, 0u);
    EXPECT_EQ(s.m_useBuiltInBrowser, -1);
    for (bool flag : {s.m_showStartUpDialog, s.m_showLargeObjectWarning, s.m_showTransparentShapeWarning,
                      s.m_showAdvancedTextHelp, s.m_showMouseoverHelp, s.m_showHtmlPreviewWarning,
                      s.m_showHtmlSaveWarning, s.m_showArrowToolHelp, s.m_showTextToolHelp, s.m_showPolygonToolHelp,
                      s.m_showPictureToolHelp, s.m_showPipetteToolHelp, s.m_showHtmlToolHelp, s.m_showAddFlashToolHelp,
                      s.m_showCounterToolHelp, s.m_showFormularToolHelp, s.m_showDailyTips})
        EXPECT_TRUE(flag);
    for (const std::string* str : {&s.m_ftpServer, &s.m_ftpUser, &s.m_ftpPassword, &s.m_ftpFolder, &s.m_ftpProxyServer,
                                   &s.m_ftpProxyUser, &s.m_ftpProxyPassword})
        EXPECT_EQ(*str, "");
    EXPECT_EQ(s.m_ftpPort, 21);
    EXPECT_FALSE(s.m_ftpPassive);
    EXPECT_EQ(s.m_ftpProxyType, 0);
    EXPECT_EQ(s.m_ftpProxyPort, 0);
    CFtpProfileArray profiles{CFtpProfile{}};
    s.GetFtpProfiles(&profiles);
    EXPECT_TRUE(profiles.empty());
}

TEST_F(SettingsStore, EmptyStoreGivesTheFrameDefaults)
{
    CStoredPlacement current;
    current.flags = 2;
    current.minPosition = CPoint(-1, -1);
    current.maxPosition = CPoint(-8, -8);
    const CStoredPlacement p = LoadWindowPlacement(*m_store, current, 1024, 768);
    EXPECT_EQ(p.flags, 2u);
    EXPECT_EQ(p.showCmd, 1u);
    EXPECT_EQ(p.minPosition, CPoint(-1, -1));
    EXPECT_EQ(p.maxPosition, CPoint(-8, -8));
    EXPECT_EQ(CRect(p.normal), CRect(0, 0, 1024, 768));
    EXPECT_EQ(LoadToolboxColor(*m_store), 0x008000u);
    const CInspectorState inspector = LoadInspectorState(*m_store, 1024, 768);
    EXPECT_EQ(inspector.current, 0);
    EXPECT_EQ(inspector.left, 724);
    EXPECT_EQ(inspector.top, 568);
    EXPECT_TRUE(LoadBrowserPaths(*m_store).empty());
}

// Every field changed from its default, saved, and read into a fresh record.
TEST_F(SettingsStore, ValuesWrittenReadBack)
{
    CAppSettings s = Loaded();
    s.m_kstPath = "/sites/";
    s.m_imagePath = "/pics/";
    s.m_exportPath = "/out/";
    s.m_backgroundImagePath = "/bg/";
    s.m_defaultPageWidth = 800;
    s.m_defaultPageHeight = -5;
    s.m_defaultDoctype = 2;
    s.m_defaultPageCentering = true;
    s.m_visitedLinkColor = CColor(0x010203ul);
    s.m_unvisitedLinkColor = CColor(0x040506ul);
    s.m_textFont = "Verdana";
    s.m_textFontSize = 9;
    s.m_textColor = CColor(0x0A0B0Cul);
    s.m_textBold = s.m_textItalic = s.m_textUnderline = 1;
    s.counterId = 17;
    s.m_showStartUpDialog = s.m_showDailyTips = s.m_showFormularToolHelp = s.m_showHtmlSaveWarning = false;
    s.m_repeatBackgroundFill = false;
    s.m_solidBackgroundFill = CColor(0x112233ul);
    s.m_buttonTextFont = "Tahoma";
    s.m_buttonTextFontSize = 20;
    s.m_buttonTextBold = s.m_buttonTextItalic = s.m_buttonTextUnderline = s.m_buttonTextShadow = true;
    s.m_clrButtonTextColor = 0x445566;
    s.m_buttonTextAlignment = 2;
    s.m_buttonTextShadowDistance = 4;
    s.m_buttonTextShadowDirection = 270;
    s.m_clrButtonTextShadowColor = 0x778899;
    s.m_useBuiltInBrowser = 3;
    s.m_ftpServer = "ftp.example.org";
    s.m_ftpUser = "ann";
    s.m_ftpPassword = "p\xe4ss";
    s.m_ftpFolder = "/www";
    s.m_ftpPort = 2121;
    s.m_ftpPassive = true;
    s.m_ftpProxyType = 2;
    s.m_ftpProxyServer = "proxy";
    s.m_ftpProxyPort = 1080;
    s.m_ftpProxyUser = "bob";
    s.m_ftpProxyPassword = "pw";
    s.SaveSettings(*m_store);

    const CAppSettings r = Loaded();
    EXPECT_EQ(r.m_kstPath, "/sites/");
    EXPECT_EQ(r.m_imagePath, "/pics/");
    EXPECT_EQ(r.m_exportPath, "/out/");
    EXPECT_EQ(r.m_backgroundImagePath, "/bg/");
    EXPECT_EQ(r.m_defaultPageWidth, 800);
    EXPECT_EQ(r.m_defaultPageHeight, -5);
    EXPECT_EQ(r.m_defaultDoctype, 2);
    EXPECT_TRUE(r.m_defaultPageCentering);
    EXPECT_EQ(r.m_visitedLinkColor.GetCOLORREF(), 0x010203u);
    EXPECT_EQ(r.m_unvisitedLinkColor.GetCOLORREF(), 0x040506u);
    EXPECT_EQ(r.m_textFont, "Verdana");
    EXPECT_EQ(r.m_defaultFont, "Verdana");
    EXPECT_EQ(r.m_textFontSize, 9);
    EXPECT_EQ(r.m_textColor.GetCOLORREF(), 0x0A0B0Cu);
    EXPECT_EQ(r.m_textBold + r.m_textItalic + r.m_textUnderline, 3);
    EXPECT_EQ(r.counterId, 17);
    EXPECT_FALSE(r.m_showStartUpDialog || r.m_showDailyTips || r.m_showFormularToolHelp || r.m_showHtmlSaveWarning);
    EXPECT_TRUE(r.m_showArrowToolHelp);
    EXPECT_FALSE(r.m_repeatBackgroundFill);
    EXPECT_EQ(r.m_solidBackgroundFill.GetCOLORREF(), 0x112233u);
    EXPECT_EQ(r.m_buttonTextFont, "Tahoma");
    EXPECT_EQ(r.m_buttonTextFontSize, 20);
    EXPECT_TRUE(r.m_buttonTextBold && r.m_buttonTextItalic && r.m_buttonTextUnderline && r.m_buttonTextShadow);
    EXPECT_EQ(r.m_clrButtonTextColor, 0x445566u);
    EXPECT_EQ(r.m_buttonTextAlignment, 2);
    EXPECT_EQ(r.m_buttonTextShadowDistance, 4);
    EXPECT_EQ(r.m_buttonTextShadowDirection, 270);
    EXPECT_EQ(r.m_clrButtonTextShadowColor, 0x778899u);
    EXPECT_EQ(r.m_useBuiltInBrowser, 3);
    EXPECT_EQ(r.m_ftpServer, "ftp.example.org");
    EXPECT_EQ(r.m_ftpUser, "ann");
    EXPECT_EQ(r.m_ftpPassword, "p\xe4ss");
    EXPECT_EQ(r.m_ftpFolder, "/www");
    EXPECT_EQ(r.m_ftpPort, 2121);
    EXPECT_TRUE(r.m_ftpPassive);
    EXPECT_EQ(r.m_ftpProxyType, 2);
    EXPECT_EQ(r.m_ftpProxyServer, "proxy");
    EXPECT_EQ(r.m_ftpProxyPort, 1080);
    EXPECT_EQ(r.m_ftpProxyUser, "bob");
    EXPECT_EQ(r.m_ftpProxyPassword, "pw");
}

TEST_F(SettingsStore, OnOffValuesReadByTheirRule)
{
    // Hint and warning flags are on only for exactly 1; style flags for any nonzero value.
    struct Case
    {
        const char* name;
        int stored;
        bool CAppSettings::*field;
        bool expected;
    };
    const Case cases[] = {
        {"Show StartUp dialog", 2, &CAppSettings::m_showStartUpDialog, false},
        {"Show StartUp dialog", -1, &CAppSettings::m_showStartUpDialog, false},
        {"Show StartUp dialog", 1, &CAppSettings::m_showStartUpDialog, true},
        {"Show Daily Tips dialog", 2, &CAppSettings::m_showDailyTips, false},
        {"FTP passive mode", 2, &CAppSettings::m_ftpPassive, false},
        {"FTP passive mode", 1, &CAppSettings::m_ftpPassive, true},
        {"Default page centering", 2, &CAppSettings::m_defaultPageCentering, true},
        {"Repeat background fill", 0, &CAppSettings::m_repeatBackgroundFill, false},
        {"Repeat background fill", -7, &CAppSettings::m_repeatBackgroundFill, true},
        {"Default ButtonText font bold", 2, &CAppSettings::m_buttonTextBold, true},
        {"Default ButtonText use shadow", 2, &CAppSettings::m_buttonTextShadow, true},
    };
    for (const Case& c : cases) {
        m_store->WriteProfileInt(kSettingsSection, c.name, c.stored);
        EXPECT_EQ(Loaded().*c.field, c.expected) << c.name << " = " << c.stored;
    }
    m_store->WriteProfileInt(kSettingsSection, "Default font bold", 2);
    EXPECT_EQ(Loaded().m_textBold, 1);
}

TEST_F(SettingsStore, ProxyPortStoredOnlyWithAProxy)
{
    CAppSettings s = Loaded();
    s.m_ftpProxyPort = 1080;
    for (int type : {0, 1}) {
        s.m_ftpProxyType = type;
        s.SaveSettings(*m_store);
        EXPECT_EQ(static_cast<int>(m_store->GetProfileInt(kSettingsSection, "FTP proxy port number", -1)),
                  type ? 1080 : 0);
    }
}

TEST_F(SettingsStore, FtpProfilesGoThroughTheRecordAndReachTheFileAtOnce)
{
    CAppSettings s = Loaded();
    CFtpProfile a;
    a.m_strName = "Home";
    a.m_strServer = "ftp.home";
    a.m_nPort = 21;
    CFtpProfile b = a;
    b.m_strName = "Work";
    ASSERT_TRUE(s.SetFtpProfiles({a, b}));

    // Another store over the same file sees them without a settings save.
    CKeyStore other(m_store->GetPath());
    ASSERT_TRUE(other.Load());
    CAppSettings fromFile;
    fromFile.LoadSettings(other, kEnv);
    CFtpProfileArray read;
    fromFile.GetFtpProfiles(&read);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].m_strName, "Home");
    EXPECT_EQ(read[1].m_strName, "Work");
    EXPECT_TRUE(HaveSameFtpSettings(read[1], b));

    ASSERT_TRUE(s.SetFtpProfiles({}));
    std::vector<BYTE> raw;
    ASSERT_TRUE(m_store->GetProfileBinary(kSettingsSection, kFtpProfilesValue, &raw));
    EXPECT_EQ(raw, (std::vector<BYTE>{0, 0}));
}

TEST_F(SettingsStore, RejectedFtpProfilesValueGivesAnEmptyList)
{
    const BYTE corrupt[] = {1, 0, 200, 0, 'x'};
    m_store->WriteProfileBinary(kSettingsSection, kFtpProfilesValue, corrupt, sizeof corrupt);
    CFtpProfileArray read{CFtpProfile{}};
    Loaded().GetFtpProfiles(&read);
    EXPECT_TRUE(read.empty());
}

TEST_F(SettingsStore, FtpProfilesTheFileRefusesAreNotReportedSaved)
{
    // The store's folder would have to be made where a plain file stands.
    const std::filesystem::path blocker = m_folder / "blocker";
    {
        std::ofstream(blocker) << "x";
    }
    CKeyStore store((blocker / "settings.keys").string());
    CAppSettings s;
    s.LoadSettings(store, kEnv);
    EXPECT_FALSE(s.SetFtpProfiles({CFtpProfile{}}));
}

TEST(AppSettings, FtpProfilesWithoutAStoreAreNotReportedSaved)
{
    CAppSettings s;
    EXPECT_FALSE(s.SetFtpProfiles({CFtpProfile{}}));
    CFtpProfileArray read;
    s.GetFtpProfiles(&read);
    EXPECT_EQ(read.size(), 1u);
}

TEST_F(SettingsStore, WindowPlacementClampedToTheScreen)
{
    struct Case
    {
        CRect stored;
        CRect expected;
    };
    const Case cases[] = {
        {{100, 50, 600, 400}, {100, 50, 600, 400}},        {{-50, -20, 600, 400}, {0, 0, 600, 400}},
        {{100, 50, 2000, 900}, {100, 50, 1024, 768}},      {{300, 200, 300, 100}, {300, 200, 301, 201}},
        {{2000, 900, 2100, 1000}, {1024, 768, 1025, 769}}, {{100, 50, -10, -10}, {100, 50, 1024, 768}},
    };
    for (const Case& c : cases) {
        CStoredPlacement p;
        p.normal = c.stored;
        SaveWindowPlacement(*m_store, p);
        EXPECT_EQ(CRect(LoadWindowPlacement(*m_store, {}, 1024, 768).normal), c.expected)
            << c.stored.left << "," << c.stored.top << "," << c.stored.right << "," << c.stored.bottom;
    }
}

TEST_F(SettingsStore, FrameValuesReadBack)
{
    CStoredPlacement p;
    p.flags = 2;
    p.showCmd = 3;
    p.minPosition = CPoint(-32000, -32000);
    p.maxPosition = CPoint(-4, -4);
    p.normal = CRect(10, 20, 30, 40);
    SaveWindowPlacement(*m_store, p);
    const CStoredPlacement r = LoadWindowPlacement(*m_store, {}, 1024, 768);
    EXPECT_EQ(r.flags, 2u);
    EXPECT_EQ(r.showCmd, 3u);
    EXPECT_EQ(r.minPosition, p.minPosition);
    EXPECT_EQ(r.maxPosition, p.maxPosition);
    EXPECT_EQ(CRect(r.normal), CRect(10, 20, 30, 40));

    SaveToolboxColor(*m_store, 0x123456);
    EXPECT_EQ(LoadToolboxColor(*m_store), 0x123456u);

    SaveInspectorState(*m_store, {4, -10, 77});
    const CInspectorState i = LoadInspectorState(*m_store, 1024, 768);
    EXPECT_EQ(i.current, 4);
    EXPECT_EQ(i.left, -10);
    EXPECT_EQ(i.top, 77);
}

TEST(AppSettings, InspectorPaletteForStoredIndex)
{
    const std::pair<int, InspectorPalette> cases[] = {
        {0, inspectorPage},      {1, inspectorObject},    {2, inspectorLink},
        {3, inspectorFill},      {4, inspectorEffects},   {5, inspectorStyles},
        {6, inspectorMouseover}, {9, inspectorMouseover}, {-1, inspectorMouseover},
    };
    for (const auto& [stored, palette] : cases)
        EXPECT_EQ(InspectorPaletteFor(stored), palette) << stored;
}

TEST_F(SettingsStore, BrowserListSkipsEmptyPathsAndTheChoiceFollowsIt)
{
    m_store->WriteProfileInt(kBrowsersSection, "Count", 3);
    m_store->WriteProfileString("Browser-01", "Path", "/usr/bin/firefox");
    m_store->WriteProfileString("Browser-02", "Path", "");
    m_store->WriteProfileString("Browser-03", "Path", "/usr/bin/chromium");
    const std::vector<std::string> paths = LoadBrowserPaths(*m_store);
    EXPECT_EQ(paths, (std::vector<std::string>{"/usr/bin/firefox", "/usr/bin/chromium"}));

    const std::pair<int, int> choices[] = {{3, -1}, {2, 2}, {0, 0}, {-1, -1}};
    for (const auto& [stored, expected] : choices) {
        CAppSettings s;
        s.m_useBuiltInBrowser = stored;
        s.CheckPreviewBrowser(paths.size());
        EXPECT_EQ(s.m_useBuiltInBrowser, expected) << stored;
    }

    SaveBrowserPaths(*m_store, {"/usr/bin/lynx"});
    EXPECT_EQ(LoadBrowserPaths(*m_store), (std::vector<std::string>{"/usr/bin/lynx"}));
    EXPECT_EQ(m_store->GetProfileString("Browser-01", "Path"), "/usr/bin/lynx");
    EXPECT_FALSE(m_store->HasSection("Browser-03"));
}

TEST_F(SettingsStore, BrowserListHoldsAtMostItsLimit)
{
    std::vector<std::string> many;
    for (int n = 1; n <= 40; ++n)
        many.push_back("/b/" + std::to_string(n));
    SaveBrowserPaths(*m_store, many);
    EXPECT_EQ(LoadBrowserPaths(*m_store).size(), kMaxBrowsers);
    EXPECT_EQ(BrowserSection(7), "Browser-07");
}

TEST(AppSettings, DialogCenterKeptInsideTheScreen)
{
    struct Case
    {
        CPoint stored;
        CPoint expected;
    };
    const Case cases[] = {
        {{1100, 300}, {999, 300}},
        {{500, 900}, {500, 743}},
        {{-40, -3}, {-40, -3}},
        {{999, 743}, {999, 743}},
    };
    for (const Case& c : cases) {
        CAppSettings s;
        s.m_dialogCenter = c.stored;
        EXPECT_EQ(s.GetDialogCenter(1024, 768), c.expected) << c.stored.x << "," << c.stored.y;
        EXPECT_EQ(s.m_dialogCenter, c.expected);
        s.SetDialogCenter(c.stored.x, c.stored.y, 1024, 768);
        EXPECT_EQ(s.m_dialogCenter, c.expected);
    }
}

} // namespace
