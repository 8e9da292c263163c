#pragma once

// The user's settings that the model reads and writes. The shell loads them at start and saves them; until it
// installs its record, the model works with the defaults below.

#include <string>
#include <vector>

#include "app/model/ftp_profile.h"
#include "image/image.h"
#include "platform/win/win_types.h"

class CKeyStore;

// What the defaults depend on that only the running program knows. Folders end with their separator.
struct CSettingsEnvironment
{
    std::string documentsFolder;
    std::string programFolder;
    int screenWidth = 1024;
    int screenHeight = 768;
};

// The main window's placement as it is stored.
struct CStoredPlacement
{
    UINT flags = 0;
    UINT showCmd = 1;
    CPoint minPosition;
    CPoint maxPosition;
    CRect normal;
};

// The shown inspector palette and where its frame window stands.
struct CInspectorState
{
    int current = 0;
    int left = 0;
    int top = 0;
};

enum InspectorPalette
{
    inspectorPage,
    inspectorObject,
    inspectorLink,
    inspectorFill,
    inspectorEffects,
    inspectorStyles,
    inspectorMouseover,
};

struct CAppSettings
{
    // Button-text defaults that a new button-text style takes.
    std::string m_buttonTextFont = "Arial";
    int m_buttonTextFontSize = 12;
    COLORREF m_clrButtonTextColor = 0xFFFFFF;
    bool m_buttonTextBold = false;
    bool m_buttonTextItalic = false;
    bool m_buttonTextUnderline = false;
    int m_buttonTextAlignment = 1;
    bool m_buttonTextShadow = false;
    int m_buttonTextShadowDistance = 1;
    int m_buttonTextShadowDirection = 120;
    COLORREF m_clrButtonTextShadowColor = 0;

    // The format that new text takes and the palettes show; text editing writes the caret's format back here.
    std::string m_textFont = "Arial";
    int m_textFontSize = 12;
    CColor m_textColor = CColor(0, 0, 0);
    BYTE m_textBold = 0;
    BYTE m_textItalic = 0;
    BYTE m_textUnderline = 0;

    // The folder site files are kept in.
    std::string m_kstPath;
    // The folder of the last chosen picture.
    std::string m_imagePath;
    std::string m_defaultFont = "Arial";
    std::string m_backgroundImagePath;

    // The number the next new counter object gets.
    int counterId = 0;

    std::string m_exportPath;
    int m_defaultPageWidth = 740;
    int m_defaultPageHeight = 600;
    int m_defaultDoctype = 0;
    bool m_defaultPageCentering = false;
    CColor m_visitedLinkColor = CColor(0x800080ul);
    CColor m_unvisitedLinkColor = CColor(0xFF0000ul);

    bool m_showStartUpDialog = true;
    bool m_showLargeObjectWarning = true;
    bool m_showTransparentShapeWarning = true;
    bool m_showAdvancedTextHelp = true;
    bool m_showMouseoverHelp = true;
    bool m_repeatBackgroundFill = true;
    CColor m_solidBackgroundFill = CColor(0xFFFFFFul);
    bool m_showHtmlPreviewWarning = true;
    bool m_showHtmlSaveWarning = true;

    // -1 the built-in preview window, 0 the system's browser, n the n-th entry of the browser list.
    int m_useBuiltInBrowser = -1;

    bool m_showArrowToolHelp = true;
    bool m_showTextToolHelp = true;
    bool m_showPolygonToolHelp = true;
    bool m_showPictureToolHelp = true;
    bool m_showPipetteToolHelp = true;
    bool m_showHtmlToolHelp = true;
    bool m_showAddFlashToolHelp = true;
    bool m_showCounterToolHelp = true;
    bool m_showFormularToolHelp = true;
    bool m_showDailyTips = true;

    // The single destination of earlier releases, kept beside the profile list.
    std::string m_ftpServer;
    std::string m_ftpUser;
    std::string m_ftpPassword;
    std::string m_ftpFolder;
    int m_ftpPort = 21;
    bool m_ftpPassive = false;
    int m_ftpProxyType = 0;
    std::string m_ftpProxyServer;
    int m_ftpProxyPort = 0;
    std::string m_ftpProxyUser;
    std::string m_ftpProxyPassword;

    // Not stored: dialogs centre on it and give their centre back.
    CPoint m_dialogCenter;

    // Every stored value from the store's "Settings" section, a missing one taking its default, then the profiles.
    // The record keeps the store to save the profiles into it later.
    void LoadSettings(CKeyStore& store, const CSettingsEnvironment& env);
    void SaveSettings(CKeyStore& store) const;

    // The FTP profiles; SetFtpProfiles replaces the list and puts it into the store at once, so a change made in
    // the setup dialogs survives a crash before exit. False when the store could not take it.
    void GetFtpProfiles(CFtpProfileArray* profiles) const { *profiles = m_ftpProfiles; }
    // The current destination as an unnamed profile, its proxy values empty while there is no proxy.
    CFtpProfile GetCurrentDestination() const;
    bool SetFtpProfiles(const CFtpProfileArray& profiles);
    bool SaveFtpProfiles() const;

    // The dialog centre, held inside the screen less a 25-pixel margin; neither raises a negative value.
    CPoint GetDialogCenter(int screenWidth, int screenHeight);
    void SetDialogCenter(int x, int y, int screenWidth, int screenHeight);

    // Puts the preview choice back to the built-in window when it names a browser beyond the list.
    void CheckPreviewBrowser(size_t browserCount);

    std::string GetButtonTextFont() const { return m_buttonTextFont; }
    std::string GetDefaultFont() const { return m_defaultFont; }
    std::string GetImagePath() const { return m_imagePath; }
    std::string GetBackgroundImagePath() const { return m_backgroundImagePath; }

private:
    CFtpProfileArray m_ftpProfiles;
    // The store the profiles are saved to at once; set by LoadSettings, and it must outlive the record.
    CKeyStore* m_pStore = nullptr;
};

inline constexpr const char* kSettingsSection = "Settings";
inline constexpr const char* kBrowsersSection = "Browsers";
inline constexpr size_t kMaxBrowsers = 32;

// The main window's placement read over `current`, with the normal rectangle brought inside the screen.
CStoredPlacement LoadWindowPlacement(const CKeyStore& store, const CStoredPlacement& current, int screenWidth,
                                     int screenHeight);
void SaveWindowPlacement(CKeyStore& store, const CStoredPlacement& placement);

COLORREF LoadToolboxColor(const CKeyStore& store);
void SaveToolboxColor(CKeyStore& store, COLORREF color);

CInspectorState LoadInspectorState(const CKeyStore& store, int screenWidth, int screenHeight);
void SaveInspectorState(CKeyStore& store, const CInspectorState& state);
// The palette a stored index shows: any value outside Page..Styles shows the Mouseover palette.
InspectorPalette InspectorPaletteFor(int current);

// The stored browser paths in order, empty ones left out, at most kMaxBrowsers.
std::vector<std::string> LoadBrowserPaths(const CKeyStore& store);
// Replaces the stored list; the sections of the old list go with it.
void SaveBrowserPaths(CKeyStore& store, const std::vector<std::string>& paths);
// "Browser-01" for n = 1.
std::string BrowserSection(int n);
