#include "app/model/site_paths.h"

#include <algorithm>

#include "platform/win/codepage1252.h"
#include "platform/win/path.h"

namespace {

// Case and kind of separator made alike, so that folders compare as the file system of the site's origin would.
char FoldForCompare(char c)
{
    return c == '\\' ? '/' : LowerCase1252(c);
}

// How a path is split: as the site file stores it (a drive first, either separator, "." and ".." naming folders)
// or as the additional files are placed (a '\' separates folders only in a path without a '/').
enum class PathRule
{
    stored,
    placed,
};

// Where the file name begins: after the last separator, or after the drive.
size_t FileNameStart(const std::string& path, PathRule rule)
{
    if (rule == PathRule::stored) {
        std::string drive, dir;
        SplitPath(path, &drive, &dir, nullptr, nullptr);
        return drive.size() + dir.size();
    }
    // In a path of this system a '\' is part of a name.
    size_t separator = path.rfind('/');
    if (separator == std::string::npos)
        separator = path.rfind('\\');
    return separator == std::string::npos ? 0 : separator + 1;
}

std::string FileNameOf(const std::string& path, PathRule rule)
{
    return path.substr(FileNameStart(path, rule));
}

std::string FolderOf(const std::string& path, PathRule rule)
{
    return path.substr(0, FileNameStart(path, rule));
}

std::string ExtensionOf(const std::string& path, PathRule rule)
{
    const std::string name = FileNameOf(path, rule);
    if (rule == PathRule::stored && (name == "." || name == ".."))
        return std::string();
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

} // namespace

std::string GetPathFileName(const std::string& path)
{
    return FileNameOf(path, PathRule::stored);
}

std::string GetPathFolder(const std::string& path)
{
    return FolderOf(path, PathRule::stored);
}

std::string GetFileExtension(const std::string& path)
{
    return ExtensionOf(path, PathRule::stored);
}

std::string MakeSiteRelativePath(const std::string& base, const std::string& path)
{
    if (base.empty())
        return path;
    const std::string folder = GetPathFolder(base);
    if (folder.size() > path.size())
        return path;
    for (size_t i = 0; i < folder.size(); ++i) {
        if (FoldForCompare(folder[i]) != FoldForCompare(path[i]))
            return path;
    }
    return path.substr(folder.size());
}

bool IsStoredPathAbsolute(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return true;
    return path.size() >= 3 && path.find(":\\") == 1;
}

std::string ResolveStoredPath(const std::string& path, const std::string& basePath)
{
    if (IsStoredPathAbsolute(path))
        return path;
    std::string folder = GetPathFolder(basePath);
    std::string relative = path;
    // Sites made on Windows store relative paths with backslashes; under a local folder they are separators.
    if (!folder.empty() && folder[0] == '/')
        std::replace(relative.begin(), relative.end(), '\\', '/');
    return folder + relative;
}

std::string GetFileNameFromPath(const std::string& path)
{
    return FileNameOf(path, PathRule::placed);
}

std::string GetFileTitleFromPath(const std::string& path)
{
    const std::string name = GetFileNameFromPath(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(0, dot);
}

std::string GetFolderFromUrlPath(const std::string& path)
{
    return FolderOf(path, PathRule::placed);
}

std::string GetExtensionFromPath(const std::string& path)
{
    return ExtensionOf(path, PathRule::placed);
}
