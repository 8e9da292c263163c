#include "app/model/app_settings.h"

#include <algorithm>
#include <cstdio>

#include "platform/win/key_store.h"

namespace {

int ReadInt(const CKeyStore& store, const char* name, int defaultValue)
{
    return static_cast<int>(store.GetProfileInt(kSettingsSection, name, defaultValue));
}

// Flags that switch a hint or warning off count as on only when stored as exactly 1, so a damaged value leaves the
// hint off rather than nagging; style flags count as on for any nonzero value.
bool ReadExactlyOne(const CKeyStore& store, const char* name, bool defaultValue)
{
    return ReadInt(store, name, defaultValue ? 1 : 0) == 1;
}

bool ReadNonzero(const CKeyStore& store, const char* name, bool defaultValue)
{
    return ReadInt(store, name, defaultValue ? 1 : 0) != 0;
}

CColor ReadColor(const CKeyStore& store, const char* name, const CColor& defaultValue)
{
    return CColor(static_cast<unsigned long>(
        store.GetProfileInt(kSettingsSection, name, static_cast<int>(defaultValue.GetCOLORREF()))));
}

std::string ReadString(const CKeyStore& store, const char* name, const std::string& defaultValue)
{
    return store.GetProfileString(kSettingsSection, name, defaultValue);
}

void WriteInt(CKeyStore& store, const char* name, int value)
{
    store.WriteProfileInt(kSettingsSection, name, value);
}

void WriteBool(CKeyStore& store, const char* name, bool value)
{
    WriteInt(store, name, value ? 1 : 0);
}

void WriteColor(CKeyStore& store, const char* name, const CColor& value)
{
    WriteInt(store, name, static_cast<int>(value.GetCOLORREF()));
}

void WriteString(CKeyStore& store, const char* name, const std::string& value)
{
    store.WriteProfileString(kSettingsSection, name, value);
}

// The hint and warning flags, all on by default and read as exactly 1.
template <typename Settings, typename Visit> void ForEachHintFlag(Settings& s, Visit visit)
{
    visit("Show StartUp dialog", s.m_showStartUpDialog);
    visit("Show Large Object Warning", s.m_showLargeObjectWarning);
    visit("Show Transparent Shape Warning", s.m_showTransparentShapeWarning);
    visit("Show Advanced Text help", s.m_showAdvancedTextHelp);
    visit("Show Mouseover help", s.m_showMouseoverHelp);
    visit("Show HTML Preview Warning", s.m_showHtmlPreviewWarning);
    visit("Show HTML Save Warning", s.m_showHtmlSaveWarning);
    visit("Show Arrow Tool help", s.m_showArrowToolHelp);
    visit("Show Text Tool help", s.m_showTextToolHelp);
    visit("Show Polygon Tool help", s.m_showPolygonToolHelp);
    visit("Show Picture Tool help", s.m_showPictureToolHelp);
    visit("Show Pipette Tool help", s.m_showPipetteToolHelp);
    visit("Show Html Tool help", s.m_showHtmlToolHelp);
    visit("Show Add Flash Tool help", s.m_showAddFlashToolHelp);
    visit("Show Counter Tool help", s.m_showCounterToolHelp);
    visit("Show Formular Tool help", s.m_showFormularToolHelp);
    visit("Show Daily Tips dialog", s.m_showDailyTips);
    visit("FTP passive mode", s.m_ftpPassive);
}

template <typename Settings, typename Visit> void ForEachString(Settings& s, Visit visit)
{
    visit("KST path", s.m_kstPath);
    visit("Image path", s.m_imagePath);
    visit("Export path", s.m_exportPath);
    visit("Background Image path", s.m_backgroundImagePath);
    visit("Default font", s.m_textFont);
    visit("Default ButtonText font", s.m_buttonTextFont);
    visit("FTP destination server", s.m_ftpServer);
    visit("FTP destination user", s.m_ftpUser);
    visit("FTP destination password", s.m_ftpPassword);
    visit("FTP destination catalog", s.m_ftpFolder);
    visit("FTP proxy server", s.m_ftpProxyServer);
    visit("FTP proxy username", s.m_ftpProxyUser);
    visit("FTP proxy password", s.m_ftpProxyPassword);
}

template <typename Settings, typename Visit> void ForEachInt(Settings& s, Visit visit)
{
    visit("Default page width", s.m_defaultPageWidth);
    visit("Default page height", s.m_defaultPageHeight);
    visit("Default DOCTYPE", s.m_defaultDoctype);
    visit("Default font size", s.m_textFontSize);
    visit("CounterID", s.counterId);
    visit("Default ButtonText font size", s.m_buttonTextFontSize);
    visit("Default ButtonText alignment", s.m_buttonTextAlignment);
    visit("Default ButtonText shadow distance", s.m_buttonTextShadowDistance);
    visit("Default ButtonText shadowdirection", s.m_buttonTextShadowDirection);
    visit("Use Built In Browser", s.m_useBuiltInBrowser);
    visit("FTP destination port", s.m_ftpPort);
    visit("FTP proxy type", s.m_ftpProxyType);
}

template <typename Settings, typename Visit> void ForEachStyleFlag(Settings& s, Visit visit)
{
    visit("Default page centering", s.m_defaultPageCentering);
    visit("Repeat background fill", s.m_repeatBackgroundFill);
    visit("Default ButtonText font bold", s.m_buttonTextBold);
    visit("Default ButtonText font italic", s.m_buttonTextItalic);
    visit("Default ButtonText font underline", s.m_buttonTextUnderline);
    visit("Default ButtonText use shadow", s.m_buttonTextShadow);
}

// The text format's flags are bytes its users compare with 0 and 1.
template <typename Settings, typename Visit> void ForEachTextFlag(Settings& s, Visit visit)
{
    visit("Default font bold", s.m_textBold);
    visit("Default font italic", s.m_textItalic);
    visit("Default font underline", s.m_textUnderline);
}

template <typename Settings, typename Visit> void ForEachColor(Settings& s, Visit visit)
{
    visit("Default visited color", s.m_visitedLinkColor);
    visit("Default unvisited color", s.m_unvisitedLinkColor);
    visit("Default font color", s.m_textColor);
    visit("Solid background fill", s.m_solidBackgroundFill);
}

// The button-text colours are kept as plain COLORREFs by their users.
template <typename Settings, typename Visit> void ForEachColorRef(Settings& s, Visit visit)
{
    visit("Default ButtonText font color", s.m_clrButtonTextColor);
    visit("Default ButtonText shadow color", s.m_clrButtonTextShadowColor);
}

} // namespace

void CAppSettings::LoadSettings(CKeyStore& store, const CSettingsEnvironment& env)
{
    *this = CAppSettings();
    m_kstPath = env.documentsFolder;
    m_imagePath = env.programFolder + "Animations/";
    // A drive root means nothing here; the documents folder is where a user looks for an export first.
    m_exportPath = env.documentsFolder;
    m_backgroundImagePath = env.programFolder + "Backgrounds/";
    m_dialogCenter = CPoint(env.screenWidth / 2, env.screenHeight / 2);

    ForEachString(*this, [&](const char* name, std::string& v) { v = ReadString(store, name, v); });
    ForEachInt(*this, [&](const char* name, int& v) { v = ReadInt(store, name, v); });
    ForEachHintFlag(*this, [&](const char* name, bool& v) { v = ReadExactlyOne(store, name, v); });
    ForEachStyleFlag(*this, [&](const char* name, bool& v) { v = ReadNonzero(store, name, v); });
    ForEachTextFlag(*this, [&](const char* name, BYTE& v) { v = ReadNonzero(store, name, v != 0) ? 1 : 0; });
    ForEachColor(*this, [&](const char* name, CColor& v) { v = ReadColor(store, name, v); });
    ForEachColorRef(*this, [&](const char* name, COLORREF& v) {
        v = store.GetProfileInt(kSettingsSection, name, static_cast<int>(v));
    });
    m_ftpProxyPort = ReadInt(store, "FTP proxy port number", m_ftpProxyPort);
    m_defaultFont = m_textFont;

    // A missing or rejected value leaves no profiles.
    if (!::LoadFtpProfiles(store, kSettingsSection, &m_ftpProfiles))
        m_ftpProfiles.clear();
    m_pStore = &store;
}

void CAppSettings::SaveSettings(CKeyStore& store) const
{
    ForEachString(*this, [&](const char* name, const std::string& v) { WriteString(store, name, v); });
    ForEachInt(*this, [&](const char* name, int v) { WriteInt(store, name, v); });
    ForEachHintFlag(*this, [&](const char* name, bool v) { WriteBool(store, name, v); });
    ForEachStyleFlag(*this, [&](const char* name, bool v) { WriteBool(store, name, v); });
    ForEachTextFlag(*this, [&](const char* name, BYTE v) { WriteBool(store, name, v != 0); });
    ForEachColor(*this, [&](const char* name, const CColor& v) { WriteColor(store, name, v); });
    ForEachColorRef(*this, [&](const char* name, COLORREF v) { WriteInt(store, name, static_cast<int>(v)); });
    // Without a proxy the port means nothing, and a stale one would come back if a proxy type were set later.
    WriteInt(store, "FTP proxy port number", m_ftpProxyType != 0 ? m_ftpProxyPort : 0);
    ::SaveFtpProfiles(store, kSettingsSection, m_ftpProfiles);
}

bool CAppSettings::SetFtpProfiles(const CFtpProfileArray& profiles)
{
    m_ftpProfiles = profiles;
    return SaveFtpProfiles();
}

bool CAppSettings::SaveFtpProfiles() const
{
    if (!m_pStore)
        return false;
    return ::SaveFtpProfiles(*m_pStore, kSettingsSection, m_ftpProfiles) && m_pStore->Save();
}

CPoint CAppSettings::GetDialogCenter(int screenWidth, int screenHeight)
{
    SetDialogCenter(m_dialogCenter.x, m_dialogCenter.y, screenWidth, screenHeight);
    return m_dialogCenter;
}

void CAppSettings::SetDialogCenter(int x, int y, int screenWidth, int screenHeight)
{
    m_dialogCenter = CPoint(std::min(x, screenWidth - 25), std::min(y, screenHeight - 25));
}

void CAppSettings::CheckPreviewBrowser(size_t browserCount)
{
    if (m_useBuiltInBrowser > 0 && static_cast<size_t>(m_useBuiltInBrowser) > browserCount)
        m_useBuiltInBrowser = -1;
}

namespace {

// Keeps [low, high) on a screen extent: low inside it, high past low and not past the screen. Compared unsigned, so
// a negative stored high counts as very large and becomes the screen's edge.
void ClampSpan(LONG& low, LONG& high, int extent)
{
    low = std::min(std::max(low, 0), extent);
    const auto next = static_cast<uint32_t>(low) + 1;
    if (next > std::min(static_cast<uint32_t>(extent), static_cast<uint32_t>(high)))
        high = low + 1;
    else if (static_cast<uint32_t>(high) > static_cast<uint32_t>(extent))
        high = extent;
}

} // namespace

CStoredPlacement LoadWindowPlacement(const CKeyStore& store, const CStoredPlacement& current, int screenWidth,
                                     int screenHeight)
{
    CStoredPlacement p;
    p.flags = store.GetProfileInt(kSettingsSection, "Main flags", static_cast<int>(current.flags));
    p.showCmd = store.GetProfileInt(kSettingsSection, "Main showcmd", 1);
    p.minPosition.x = ReadInt(store, "Main minposx", current.minPosition.x);
    p.minPosition.y = ReadInt(store, "Main minposy", current.minPosition.y);
    p.maxPosition.x = ReadInt(store, "Main maxposx", current.maxPosition.x);
    p.maxPosition.y = ReadInt(store, "Main maxposy", current.maxPosition.y);
    p.normal.left = ReadInt(store, "Main left", 0);
    p.normal.top = ReadInt(store, "Main top", 0);
    p.normal.right = ReadInt(store, "Main right", screenWidth);
    p.normal.bottom = ReadInt(store, "Main bottom", screenHeight);
    ClampSpan(p.normal.left, p.normal.right, screenWidth);
    ClampSpan(p.normal.top, p.normal.bottom, screenHeight);
    return p;
}

void SaveWindowPlacement(CKeyStore& store, const CStoredPlacement& p)
{
    WriteInt(store, "Main flags", static_cast<int>(p.flags));
    WriteInt(store, "Main showcmd", static_cast<int>(p.showCmd));
    WriteInt(store, "Main minposx", p.minPosition.x);
    WriteInt(store, "Main minposy", p.minPosition.y);
    WriteInt(store, "Main maxposx", p.maxPosition.x);
    WriteInt(store, "Main maxposy", p.maxPosition.y);
    WriteInt(store, "Main left", p.normal.left);
    WriteInt(store, "Main top", p.normal.top);
    WriteInt(store, "Main right", p.normal.right);
    WriteInt(store, "Main bottom", p.normal.bottom);
}

COLORREF LoadToolboxColor(const CKeyStore& store)
{
    return store.GetProfileInt(kSettingsSection, "Toolbox color", 0x008000);
}

void SaveToolboxColor(CKeyStore& store, COLORREF color)
{
    WriteInt(store, "Toolbox color", static_cast<int>(color));
}

CInspectorState LoadInspectorState(const CKeyStore& store, int screenWidth, int screenHeight)
{
    CInspectorState s;
    s.current = ReadInt(store, "Inspector current", 0);
    s.left = ReadInt(store, "Inspector left", screenWidth - 300);
    s.top = ReadInt(store, "Inspector top", screenHeight - 200);
    return s;
}

void SaveInspectorState(CKeyStore& store, const CInspectorState& s)
{
    WriteInt(store, "Inspector current", s.current);
    WriteInt(store, "Inspector left", s.left);
    WriteInt(store, "Inspector top", s.top);
}

InspectorPalette InspectorPaletteFor(int current)
{
    if (current >= inspectorPage && current < inspectorMouseover)
        return static_cast<InspectorPalette>(current);
    return inspectorMouseover;
}

std::string BrowserSection(int n)
{
    char name[32];
    std::snprintf(name, sizeof name, "Browser-%02d", n);
    return name;
}

std::vector<std::string> LoadBrowserPaths(const CKeyStore& store)
{
    std::vector<std::string> paths;
    const int count = static_cast<int>(store.GetProfileInt(kBrowsersSection, "Count", 0));
    for (int n = 1; n <= count && paths.size() < kMaxBrowsers; ++n) {
        std::string path = store.GetProfileString(BrowserSection(n), "Path");
        if (!path.empty())
            paths.push_back(std::move(path));
    }
    return paths;
}

void SaveBrowserPaths(CKeyStore& store, const std::vector<std::string>& paths)
{
    store.DeleteTree(kBrowsersSection);
    for (int n = 1; store.DeleteTree(BrowserSection(n)); ++n) {
    }
    store.WriteProfileInt(kBrowsersSection, "Count", static_cast<int>(paths.size()));
    for (size_t i = 0; i < paths.size(); ++i)
        store.WriteProfileString(BrowserSection(static_cast<int>(i + 1)), "Path", paths[i]);
}

CFtpProfile CAppSettings::GetCurrentDestination() const
{
    CFtpProfile destination;
    destination.m_strServer = m_ftpServer;
    destination.m_strUser = m_ftpUser;
    destination.m_strPassword = m_ftpPassword;
    destination.m_strWwwFolder = m_ftpFolder;
    destination.m_nPort = m_ftpPort;
    destination.m_bPassive = m_ftpPassive;
    destination.m_nProxyType = m_ftpProxyType;
    if (m_ftpProxyType != 0) {
        destination.m_strProxyServer = m_ftpProxyServer;
        destination.m_nProxyPort = m_ftpProxyPort;
        destination.m_strProxyUser = m_ftpProxyUser;
        destination.m_strProxyPassword = m_ftpProxyPassword;
    }
    return destination;
}
