#pragma once

// What the new-website dialog decides, without a window: the values of the new site, how each field's text
// changes them, and the checks and settings of OK. The background group's choices are the shared background
// controls' (background_controls.h).

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
