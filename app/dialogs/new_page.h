#pragma once

// What the new-page dialog decides, without a window: the list of pages to duplicate, the characters a page ID
// loses, and which page a chosen entry names.

#include <functional>
#include <string>
#include <vector>

// The dialog's results after OK.
struct NewPageValues
{
    std::string m_strPageId;
    std::string m_title;
    // The page to copy, when m_nDuplicate is 1.
    std::string m_sourceName;
    int m_nDuplicate = 0;
};

// What the dialog is opened with: the site's page names in site order, which of them is the front page (-1 for
// none), and the ID and title it proposes. isFree tells whether the site takes an ID as a new page's.
struct NewPageSetup
{
    std::vector<std::string> pageNames;
    int homeIndex = -1;
    std::string proposedId;
    std::string proposedTitle;
    std::function<bool(const std::string&)> isFree;
};

// The names sorted without regard to case, the front page's followed by suffix (" (front page)").
std::vector<std::string> BuildDuplicateList(const std::vector<std::string>& names, int homeIndex,
                                            const std::string& suffix);
// The page a list entry names: the front page's name for its entry, else the entry itself.
std::string DuplicateSourceName(const std::string& entry, const std::string& suffix, const std::string& homeName);
// Removes every character a new page's ID may not hold (more than an ID typed elsewhere: also '-', '_' and the
// byte 172); true when any went.
bool RemoveNewPageIdCharacters(std::string& id);
