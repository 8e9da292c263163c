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

} // namespace

std::string GetPathFileName(const std::string& path)
{
    std::string fname, ext;
    SplitPath(path, nullptr, nullptr, &fname, &ext);
    return MakePath("", "", fname, ext);
}

std::string GetPathFolder(const std::string& path)
{
    std::string drive, dir;
    SplitPath(path, &drive, &dir, nullptr, nullptr);
    return MakePath(drive, dir, "", "");
}

std::string GetFileExtension(const std::string& path)
{
    std::string ext;
    SplitPath(path, nullptr, nullptr, nullptr, &ext);
    return ext;
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

namespace {

// A '\' separates folders only in a path that has no '/': in a path of this system it is part of a name.
size_t LastSeparator(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash != std::string::npos ? slash : path.rfind('\\');
}

} // namespace

std::string GetFileNameFromPath(const std::string& path)
{
    const size_t slash = LastSeparator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string GetFileTitleFromPath(const std::string& path)
{
    const std::string name = GetFileNameFromPath(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(0, dot);
}

std::string GetFolderFromUrlPath(const std::string& path)
{
    const size_t slash = LastSeparator(path);
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string GetExtensionFromPath(const std::string& path)
{
    const std::string name = GetFileNameFromPath(path);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}
