#pragma once

// The range of a page's size, the one range for typed sizes, stored pages and sites, and backgrounds, and the
// sizes a user may pick from a list (the new-site and page-defaults dialogs and the Page palette).

#include <string>
#include <vector>

inline constexpr int kMinPageSide = 10;
inline constexpr int kMaxPageWidth = 2000;
inline constexpr int kMaxPageHeight = 30000;

// 10 or less gives 10, 2000 (30000 for the height) or more gives the most.
int ClampPageWidth(int width);
int ClampPageHeight(int height);
// Whether a page of this size may be stored: both sides within their range.
bool IsPageSizeInRange(int width, int height);
// What a typed number reads as, the way atoi reads it: leading blanks and a sign, then digits; anything else is 0.
int ReadTypedNumber(const std::string& text);

// The presets of the site's pages (400 x 400, 640 x 480, 740 x 600), or those of the standard settings for new
// pages (400 x 400, 400 x 600, 600 x 800).
enum class PageSizePresets
{
    page,
    pageDefaults,
};

// The size list as it drops down: the three presets, with "W x H" of the current size before them when it is
// none of them. The selection is the matching preset, or that first entry.
struct SizePresetList
{
    std::vector<std::string> entries;
    int selection = 0;
};
SizePresetList BuildSizePresetList(int width, int height, PageSizePresets presets = PageSizePresets::page);
// The list shown while closed: only the current size.
std::string FormatPageSize(int width, int height);
// The size an entry of a list of entryCount entries stands for; false for the current size's own entry (the first
// of four), which changes nothing, and for an index out of range.
bool SizeOfPresetEntry(int index, int entryCount, int& width, int& height,
                       PageSizePresets presets = PageSizePresets::page);
