#pragma once

// Texts of the main window: its title and the Show Page list.

#include <string>
#include <vector>

class CWebsite;

// The product's name, which titles the main window and its questions.
std::string GetProductName();

// The product name; with a site open " - " and the site file's name (unnamed for a site never saved), and "*"
// while the site has changes not saved.
std::string MakeMainTitle(const std::string& productName, const CWebsite* site, const std::string& unnamed);

// One entry of the Show Page list: the text shown and the page it opens. The entry keeps the page's index, so
// that choosing it never depends on taking the front-page marker back off the text.
struct PageListEntry
{
    std::string text;
    int pageIndex = 0;
};

// The site's pages as the Show Page list shows them: the front page's name followed by the marker, sorted without
// regard to case; pages whose texts compare equal keep their site order.
std::vector<PageListEntry> BuildShowPageList(const CWebsite& site, const std::string& frontPageMarker);

// Page windows open at most at a time, and the commands that choose a page from the Show Page list.
inline constexpr int kMaxPageWindows = 25;
inline constexpr int kFirstPageCommand = 18001;
inline constexpr int kLastPageCommand = 23000;

// What becomes of files dropped on the main window: one file whose name ends exactly in ".kst" opens; any other
// single file, or several files, are refused with a message.
enum class DroppedFiles
{
    none,
    siteFile,
    wrongKind,
    several,
};
DroppedFiles ClassifyDroppedFiles(const std::vector<std::string>& files);
