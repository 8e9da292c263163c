#pragma once

// The themes the program offers as starting points for new sites: the theme files (".kth") found in the program's
// "Themes" folder and its sub-folders, one level deep, grouped by the category each file stores (not by folder).

#include <string>
#include <vector>

class CPixMap;

// One category: entry i of the names and of the paths belongs to one theme.
struct CThemeCategory
{
    std::string m_strName;
    std::vector<std::string> m_ThemeNames;
    std::vector<std::string> m_ThemePaths;
};

enum class ThemeScan
{
    ok,          // the folder was read; it may still hold no theme
    noFolder,    // there is no themes folder
    cannotEnter, // a category folder could not be read
};

// Reads the themes below themesFolder (an absolute path) into categories, sorted by name and each category's themes
// by display name, both without regard to case. Files whose header cannot be read are left out. The process's
// current folder is never changed.
ThemeScan ScanThemes(const std::string& themesFolder, std::vector<CThemeCategory>& categories);

// The themes folder of a program whose folder is programFolder.
std::string GetThemesFolder(const std::string& programFolder);

// How a theme's picture of imageWidth x imageHeight goes into a preview area of areaWidth x areaHeight: it fills
// the width of the area less a two-pixel frame on each side, and a picture relatively taller than that box is cut
// at the bottom. The top sourceHeight rows are scaled to width x height and drawn at (left, top).
struct ThemeThumbnailFit
{
    int sourceHeight = 0;
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
};
// False when either size is empty.
bool FitThemeThumbnail(int areaWidth, int areaHeight, int imageWidth, int imageHeight, ThemeThumbnailFit& fit);
