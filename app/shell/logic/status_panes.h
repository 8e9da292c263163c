#pragma once

// The texts of the main window's status bar panes, from the open site. Each takes what is current (null when
// nothing is) and the label texts of the string table, and answers "" when no site is open.

#include <string>

class CWebsite;
class CSitePage;
class CPageObject;

// Bytes a visitor downloads: every page counts its background picture and 200 bytes, every item its pictures and
// 200 bytes more. Summed in 64 bits: a site of thousands of large pages passes what an int holds.
struct SiteDownloadBytes
{
    long long total = 0;
    long long page = 0;
};
SiteDownloadBytes GetSiteDownloadBytes(const CWebsite& site, const CSitePage* page);

// The seconds a download of bytes takes at about 3741 bytes a second, truncated.
long long DownloadSeconds(long long bytes);

// "<whole site> <unit> / <current page> <unit>".
std::string FormatLoadTimePane(const CWebsite* site, const CSitePage* page, const std::string& unit);

// The label followed by the number of pages.
std::string FormatPageCountPane(const CWebsite* site, const std::string& label);

// The label, followed by the file name of the picture filling the selected outline object when it has one.
std::string FormatImageInfoPane(const CWebsite* site, const CPageObject* object, const std::string& label);

// A coordinate as the position pane shows it: a fraction of one half or more rounds up, and a negative value is
// truncated toward zero.
int RoundPaneCoordinate(double v);

// A guide the design view is dragging.
struct GuideDrag
{
    bool active = false;
    bool horizontal = false;
    int index = 0;
};

// Where what is moved stands: the dragged guide, the centre of the one selected item, or the centre of the one
// selected group; "" when there is none of these.
std::string FormatPositionPane(const CWebsite* site, const CSitePage* page, const GuideDrag& drag = {});
