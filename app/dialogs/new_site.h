#pragma once

// What the new-website dialog decides, without a window: the values of the new site, how each field's text
// changes them, the background's kind as the radio buttons choose it, and the checks and settings of OK.

#include <string>

#include "app/model/fill_style.h"

struct CAppSettings;

// The settings of the site to make, read by the caller after OK.
struct NewSiteValues
{
    std::string m_strName;
    std::string m_strPageId;
    int m_nWidth = 740;
    int m_nHeight = 600;
    bool m_bCentered = false;
    // Solid white, the first predefined gradient laid horizontally, no picture.
    CFillStyle m_Background;
    CColor m_LinkColor = CColor(255, 255, 255);
    CColor m_VisitedLinkColor = CColor(255, 255, 255);
};

// Why OK did not close the dialog.
enum class NewSiteRefusal
{
    none,
    emptyName,
    emptyPageId,
};

class CNewSiteChoice
{
public:
    // The longest text a field hands over.
    static constexpr size_t kMaxFieldLength = 99;

    // Starts from the two default words and the defaults of the settings.
    void Open(const CAppSettings& settings, const std::string& name, const std::string& pageId);

    NewSiteValues& Values() { return m_values; }
    const NewSiteValues& Values() const { return m_values; }

    // The texts of the fields as the user leaves them. An emptied name or page ID is empty; an emptied size field
    // keeps the size; a size out of range is held to it while the field shows what was typed.
    void SetNameText(const std::string& text);
    void SetPageIdText(const std::string& text);
    void SetWidthText(const std::string& text);
    void SetHeightText(const std::string& text);
    // The entry chosen from the size list of entryCount entries; false when it changed nothing.
    bool ChooseSizeEntry(int index, int entryCount);

    // The background's kinds. The picture kinds ask for a file through the core's chooser and try it on a copy:
    // the fill changes only once the picture loads.
    void ChooseSolid(const CColor& color);
    void ChooseGradient();
    // A gradient chosen in the band makes the background a gradient of it, whatever its kind was.
    void SetGradientColors(const GRADIENTCOLORS& colors);
    void SetGradientHorizontal(bool horizontal);
    // The picture radio: the fill's own picture when it has one, else the chooser from no folder, asked again
    // from the failed file's folder after each picture that does not load. False when the user gave up.
    bool ChoosePictureKind();
    // The picture button: one file, from the fill's picture folder or the settings' background folder. False
    // when nothing was chosen or it did not load (the fill then stays as it was).
    bool ChoosePictureFile(const CAppSettings& settings);
    // The radio button (1128, 1129, 1131) of the fill's kind, 0 for none.
    int KindButton() const;
    // The picture's file name without its folder.
    std::string PictureName() const;

    // OK: cleans the page ID (telling the user when characters went), then refuses an empty name or page ID.
    // Otherwise the size, centring and link colours become the settings' defaults for the next new site, the
    // default background of new pages starts again as repeated white, and a fill that is no picture keeps no
    // picture path.
    NewSiteRefusal Finish(CAppSettings& settings);

private:
    // The fill covers the page at the dialog's size.
    void CoverPage();

    NewSiteValues m_values;
};
