#pragma once

// What the dialog of the standard settings for new pages decides, without a window: the values it edits, the
// page list it offers as the target, and what OK and Transfer do with the site and the program's settings.

#include <string>
#include <vector>

#include "app/site/page_defaults.h"

class CSitePage;
class CWebsite;
struct CAppSettings;

// Shown when OK finds no target page.
inline constexpr const char* kNoTargetPageMessage = "Please select a target page for these settings.";

class CPageDefaultsChoice
{
public:
    // Starts from the site's defaults for new pages and its link colours, with no target page.
    void Open(CWebsite& site);

    PageDefaults& Values() { return m_values; }
    const PageDefaults& Values() const { return m_values; }

    // Typed sizes are held to their range while the field keeps what was typed; an emptied field keeps the size.
    void SetWidthText(const std::string& text);
    void SetHeightText(const std::string& text);
    // The entry chosen from the size list of entryCount entries; false when it changed nothing.
    bool ChooseSizeEntry(int index, int entryCount);

    // The page list as it drops down: the site's page names sorted without regard to case. Dropping it down
    // clears the target.
    const std::vector<std::string>& DropDownPages();
    // The entry of the last dropped-down list becomes the target; its size, DOCTYPE, centring and background
    // become the dialog's values.
    void ChooseTarget(int index);
    CSitePage* GetTarget() const { return m_target; }

    // OK: without a target the user is told and false comes back, nothing changed. Otherwise the target takes
    // the values, and the settings keep them for the next new site.
    bool Apply(CAppSettings& settings);
    // Transfer: confirmed, every page takes the values; the settings keep them either way.
    void Transfer(bool confirmed, CAppSettings& settings);

private:
    void CoverPage();
    void StoreInSettings(CAppSettings& settings) const;

    CWebsite* m_pSite = nullptr;
    PageDefaults m_values;
    std::vector<std::string> m_names;
    std::vector<CSitePage*> m_pages;
    CSitePage* m_target = nullptr;
};
