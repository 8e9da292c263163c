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
    EXPECT_EQ(s.m_strKstPath, "/home/ann/Documents/");
    EXPECT_EQ(s.m_strImagePath, "/opt/pelorin/Animations/");
    EXPECT_EQ(s.m_exportPath, "/home/ann/Documents/");
    EXPECT_EQ(s.m_strBackgroundImagePath, "/opt/pelorin/Backgrounds/");
    EXPECT_EQ(s.m_nDefaultPageWidth, 740);
    EXPECT_EQ(s.m_nDefaultPageHeight, 600);
    EXPECT_EQ(s.m_nDefaultDoctype, 0);
    EXPECT_FALSE(s.m_bDefaultPageCentering);
    EXPECT_EQ(s.m_visitedLinkColor.GetCOLORREF(), 0x800080u);
    EXPECT_EQ(s.m_unvisitedLinkColor.GetCOLORREF(), 0xFF0000u);
    EXPECT_EQ(s.m_strTextFont, "Arial");
    EXPECT_EQ(s.m_defaultFont, "Arial");
    EXPECT_EQ(s.m_nTextFontSize, 12);
    EXPECT_EQ(s.m_textColor.GetCOLORREF(), 0u);
    EXPECT_EQ(s.m_bTextBold | s.m_bTextItalic | s.m_bTextUnderline, 0);
    EXPECT_EQ(s.m_dialogCenter, CPoint(512, 384));
    EXPECT_EQ(s.counterId, 0);
    EXPECT_TRUE(s.m_bRepeatBackgroundFill);
    EXPECT_EQ(s.m_solidBackgroundFill.GetCOLORREF(), 0xFFFFFFu);
    EXPECT_EQ(s.m_strButtonTextFont, "Arial");
    EXPECT_EQ(s.m_nButtonTextFontSize, 12);
    EXPECT_FALSE(s.m_bButtonTextBold || s.m_bButtonTextItalic || s.m_bButtonTextUnderline || s.m_bButtonTextShadow);
    EXPECT_EQ(s.m_clrButtonTextColor, 0xFFFFFFu);
    EXPECT_EQ(s.m_nButtonTextAlignment, 1);
    EXPECT_EQ(s.m_nButtonTextShadowDistance, 1);
    EXPECT_EQ(s.m_nButtonTextShadowDirection, 120);
    EXPECT_EQ(s.m_clrButtonTextShadowColor, 0u);
    EXPECT_EQ(s.m_nUseBuiltInBrowser, -1);
    for (bool flag :
         {s.m_bShowStartUpDialog, s.m_bShowLargeObjectWarning, s.m_bShowTransparentShapeWarning,
          s.m_bShowAdvancedTextHelp, s.m_bShowMouseoverHelp, s.m_bShowHtmlPreviewWarning, s.m_bShowHtmlSaveWarning,
          s.m_bShowArrowToolHelp, s.m_bShowTextToolHelp, s.m_bShowPolygonToolHelp, s.m_bShowPictureToolHelp,
          s.m_bShowPipetteToolHelp, s.m_bShowHtmlToolHelp, s.m_bShowAddFlashToolHelp, s.m_bShowCounterToolHelp,
          s.m_bShowFormularToolHelp, s.m_bShowDailyTips})
        EXPECT_TRUE(flag);
    for (const std::string* str : {&s.m_strFtpServer, &s.m_strFtpUser, &s.m_strFtpPassword, &s.m_strFtpFolder,
                                   &s.m_strFtpProxyServer, &s.m_strFtpProxyUser, &s.m_strFtpProxyPassword})
        EXPECT_EQ(*str, "");
    EXPECT_EQ(s.m_nFtpPort, 21);
    EXPECT_FALSE(s.m_bFtpPassive);
    EXPECT_EQ(s.m_nFtpProxyType, 0);
    EXPECT_EQ(s.m_nFtpProxyPort, 0);
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
    s.m_strKstPath = "/sites/";
    s.m_strImagePath = "/pics/";
    s.m_exportPath = "/out/";
    s.m_strBackgroundImagePath = "/bg/";
    s.m_nDefaultPageWidth = 800;
    s.m_nDefaultPageHeight = -5;
    s.m_nDefaultDoctype = 2;
    s.m_bDefaultPageCentering = true;
    s.m_visitedLinkColor = CColor(0x010203ul);
    s.m_unvisitedLinkColor = CColor(0x040506ul);
    s.m_strTextFont = "Verdana";
    s.m_nTextFontSize = 9;
    s.m_textColor = CColor(0x0A0B0Cul);
    s.m_bTextBold = s.m_bTextItalic = s.m_bTextUnderline = 1;
    s.counterId = 17;
    s.m_bShowStartUpDialog = s.m_bShowDailyTips = s.m_bShowFormularToolHelp = s.m_bShowHtmlSaveWarning = false;
    s.m_bRepeatBackgroundFill = false;
    s.m_solidBackgroundFill = CColor(0x112233ul);
    s.m_strButtonTextFont = "Tahoma";
    s.m_nButtonTextFontSize = 20;
    s.m_bButtonTextBold = s.m_bButtonTextItalic = s.m_bButtonTextUnderline = s.m_bButtonTextShadow = true;
    s.m_clrButtonTextColor = 0x445566;
    s.m_nButtonTextAlignment = 2;
    s.m_nButtonTextShadowDistance = 4;
    s.m_nButtonTextShadowDirection = 270;
    s.m_clrButtonTextShadowColor = 0x778899;
    s.m_nUseBuiltInBrowser = 3;
    s.m_strFtpServer = "ftp.example.org";
    s.m_strFtpUser = "ann";
    s.m_strFtpPassword = "p\xe4ss";
    s.m_strFtpFolder = "/www";
    s.m_nFtpPort = 2121;
    s.m_bFtpPassive = true;
    s.m_nFtpProxyType = 2;
    s.m_strFtpProxyServer = "proxy";
    s.m_nFtpProxyPort = 1080;
    s.m_strFtpProxyUser = "bob";
    s.m_strFtpProxyPassword = "pw";
    s.SaveSettings(*m_store);

    const CAppSettings r = Loaded();
    EXPECT_EQ(r.m_strKstPath, "/sites/");
    EXPECT_EQ(r.m_strImagePath, "/pics/");
    EXPECT_EQ(r.m_exportPath, "/out/");
    EXPECT_EQ(r.m_strBackgroundImagePath, "/bg/");
    EXPECT_EQ(r.m_nDefaultPageWidth, 800);
    EXPECT_EQ(r.m_nDefaultPageHeight, -5);
    EXPECT_EQ(r.m_nDefaultDoctype, 2);
    EXPECT_TRUE(r.m_bDefaultPageCentering);
    EXPECT_EQ(r.m_visitedLinkColor.GetCOLORREF(), 0x010203u);
    EXPECT_EQ(r.m_unvisitedLinkColor.GetCOLORREF(), 0x040506u);
    EXPECT_EQ(r.m_strTextFont, "Verdana");
    EXPECT_EQ(r.m_defaultFont, "Verdana");
    EXPECT_EQ(r.m_nTextFontSize, 9);
    EXPECT_EQ(r.m_textColor.GetCOLORREF(), 0x0A0B0Cu);
    EXPECT_EQ(r.m_bTextBold + r.m_bTextItalic + r.m_bTextUnderline, 3);
    EXPECT_EQ(r.counterId, 17);
    EXPECT_FALSE(r.m_bShowStartUpDialog || r.m_bShowDailyTips || r.m_bShowFormularToolHelp || r.m_bShowHtmlSaveWarning);
    EXPECT_TRUE(r.m_bShowArrowToolHelp);
    EXPECT_FALSE(r.m_bRepeatBackgroundFill);
    EXPECT_EQ(r.m_solidBackgroundFill.GetCOLORREF(), 0x112233u);
    EXPECT_EQ(r.m_strButtonTextFont, "Tahoma");
    EXPECT_EQ(r.m_nButtonTextFontSize, 20);
    EXPECT_TRUE(r.m_bButtonTextBold && r.m_bButtonTextItalic && r.m_bButtonTextUnderline && r.m_bButtonTextShadow);
    EXPECT_EQ(r.m_clrButtonTextColor, 0x445566u);
    EXPECT_EQ(r.m_nButtonTextAlignment, 2);
    EXPECT_EQ(r.m_nButtonTextShadowDistance, 4);
    EXPECT_EQ(r.m_nButtonTextShadowDirection, 270);
    EXPECT_EQ(r.m_clrButtonTextShadowColor, 0x778899u);
    EXPECT_EQ(r.m_nUseBuiltInBrowser, 3);
    EXPECT_EQ(r.m_strFtpServer, "ftp.example.org");
    EXPECT_EQ(r.m_strFtpUser, "ann");
    EXPECT_EQ(r.m_strFtpPassword, "p\xe4ss");
    EXPECT_EQ(r.m_strFtpFolder, "/www");
    EXPECT_EQ(r.m_nFtpPort, 2121);
    EXPECT_TRUE(r.m_bFtpPassive);
    EXPECT_EQ(r.m_nFtpProxyType, 2);
    EXPECT_EQ(r.m_strFtpProxyServer, "proxy");
    EXPECT_EQ(r.m_nFtpProxyPort, 1080);
    EXPECT_EQ(r.m_strFtpProxyUser, "bob");
    EXPECT_EQ(r.m_strFtpProxyPassword, "pw");
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
        {"Show StartUp dialog", 2, &CAppSettings::m_bShowStartUpDialog, false},
        {"Show StartUp dialog", -1, &CAppSettings::m_bShowStartUpDialog, false},
        {"Show StartUp dialog", 1, &CAppSettings::m_bShowStartUpDialog, true},
        {"Show Daily Tips dialog", 2, &CAppSettings::m_bShowDailyTips, false},
        {"FTP passive mode", 2, &CAppSettings::m_bFtpPassive, false},
        {"FTP passive mode", 1, &CAppSettings::m_bFtpPassive, true},
        {"Default page centering", 2, &CAppSettings::m_bDefaultPageCentering, true},
        {"Repeat background fill", 0, &CAppSettings::m_bRepeatBackgroundFill, false},
        {"Repeat background fill", -7, &CAppSettings::m_bRepeatBackgroundFill, true},
        {"Default ButtonText font bold", 2, &CAppSettings::m_bButtonTextBold, true},
        {"Default ButtonText use shadow", 2, &CAppSettings::m_bButtonTextShadow, true},
    };
    for (const Case& c : cases) {
        m_store->WriteProfileInt(kSettingsSection, c.name, c.stored);
        EXPECT_EQ(Loaded().*c.field, c.expected) << c.name << " = " << c.stored;
    }
    m_store->WriteProfileInt(kSettingsSection, "Default font bold", 2);
    EXPECT_EQ(Loaded().m_bTextBold, 1);
}

TEST_F(SettingsStore, ProxyPortStoredOnlyWithAProxy)
{
    CAppSettings s = Loaded();
    s.m_nFtpProxyPort = 1080;
    for (int type : {0, 1}) {
        s.m_nFtpProxyType = type;
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
        s.m_nUseBuiltInBrowser = stored;
        s.CheckPreviewBrowser(paths.size());
        EXPECT_EQ(s.m_nUseBuiltInBrowser, expected) << stored;
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
