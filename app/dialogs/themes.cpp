#include "app/dialogs/themes.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/site/website.h"
#include "platform/win/codepage1252.h"

namespace fs = std::filesystem;

namespace {

bool IsThemeFile(const fs::path& path)
{
    return EqualNoCase1252(path.extension().string(), ".kth");
}

// The entries of a folder by name, so that a scan lists the same files in the same order on every machine.
bool ListFolder(const fs::path& folder, std::vector<fs::directory_entry>& entries)
{
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error)
        return false;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error)
            return false;
        entries.push_back(*it);
    }
    std::sort(entries.begin(), entries.end(),
              [](const fs::directory_entry& a, const fs::directory_entry& b) { return a.path() < b.path(); });
    return true;
}

bool LessNoCase(const std::string& a, const std::string& b)
{
    return LowerCase1252(a) < LowerCase1252(b);
}

void SortThemes(CThemeCategory& category)
{
    std::vector<size_t> order(category.m_ThemeNames.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return LessNoCase(category.m_ThemeNames[a], category.m_ThemeNames[b]);
    });
    CThemeCategory sorted{category.m_strName, {}, {}};
    for (size_t i : order) {
        sorted.m_ThemeNames.push_back(std::move(category.m_ThemeNames[i]));
        sorted.m_ThemePaths.push_back(std::move(category.m_ThemePaths[i]));
    }
    category = std::move(sorted);
}

} // namespace

std::string GetThemesFolder(const std::string& programFolder)
{
    std::string folder = programFolder;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder + "/Themes/";
}

ThemeScan ScanThemes(const std::string& themesFolder, std::vector<CThemeCategory>& categories)
{
    categories.clear();
    std::error_code error;
    const fs::path root(themesFolder);
    if (!fs::is_directory(root, error))
        return ThemeScan::noFolder;

    std::vector<fs::directory_entry> entries;
    if (!ListFolder(root, entries))
        return ThemeScan::noFolder;
    std::vector<fs::path> folders;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : entries) {
        if (entry.is_directory(error))
            folders.push_back(entry.path());
        else if (IsThemeFile(entry.path()))
            files.push_back(entry.path());
    }
    // Category folders are searched one level deep only.
    for (const fs::path& folder : folders) {
        std::vector<fs::directory_entry> inner;
        if (!ListFolder(folder, inner))
            return ThemeScan::cannotEnter;
        for (const fs::directory_entry& entry : inner)
            if (!entry.is_directory(error) && IsThemeFile(entry.path()))
                files.push_back(entry.path());
    }

    for (const fs::path& file : files) {
        std::string category, name;
        if (!ReadSiteFileInfo(file.string(), category, name))
            continue;
        // Categories are told apart by their exact names: one differing only in case is a category of its own.
        auto found = std::find_if(categories.begin(), categories.end(),
                                  [&](const CThemeCategory& c) { return c.m_strName == category; });
        if (found == categories.end()) {
            categories.push_back({category, {}, {}});
            found = categories.end() - 1;
        }
        found->m_ThemeNames.push_back(name);
        found->m_ThemePaths.push_back(file.string());
    }

    std::stable_sort(categories.begin(), categories.end(), [](const CThemeCategory& a, const CThemeCategory& b) {
        return LessNoCase(a.m_strName, b.m_strName);
    });
    for (CThemeCategory& category : categories)
        SortThemes(category);
    return ThemeScan::ok;
}

bool FitThemeThumbnail(int areaWidth, int areaHeight, int imageWidth, int imageHeight, ThemeThumbnailFit& fit)
{
    const int boxWidth = areaWidth - 4;
    const int boxHeight = areaHeight - 4;
    if (boxWidth < 1 || boxHeight < 1 || imageWidth < 1 || imageHeight < 1)
        return false;
    const double scale = static_cast<double>(boxWidth) / imageWidth;
    fit.sourceHeight = std::max(1, static_cast<int>(std::min(boxHeight / scale, static_cast<double>(imageHeight))));
    fit.width = boxWidth;
    fit.height = std::max(1, static_cast<int>(fit.sourceHeight * scale));
    fit.left = (areaWidth - fit.width) / 2;
    fit.top = (areaHeight - fit.height) / 2;
    return true;
}
