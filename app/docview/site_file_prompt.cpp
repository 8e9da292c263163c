#include "app/docview/site_file_prompt.h"

#include "app/model/site_paths.h"
#include "platform/win/codepage1252.h"

namespace {

// The file name without its extension.
std::string FileTitle(const std::string& path)
{
    const std::string name = GetPathFileName(path);
    const std::string extension = GetFileExtension(name);
    return name.substr(0, name.size() - extension.size());
}

} // namespace

SiteFilePrompt MakeSiteFilePrompt(const std::string& path, bool open, bool theme)
{
    SiteFilePrompt prompt;
    prompt.title = open ? "Open" : "Save As";
    prompt.filter = theme ? "Pelorin Theme (*.kth)|*.kth" : "Pelorin Homepage (*.kst)|*.kst";
    prompt.folder = GetPathFolder(path);
    prompt.name = FileTitle(path);
    return prompt;
}

std::string FixSiteFileExtension(const std::string& path, bool theme)
{
    const std::string wanted = theme ? ".kth" : ".kst";
    if (EqualNoCase1252(GetFileExtension(path), wanted))
        return path;
    return GetPathFolder(path) + FileTitle(path) + wanted;
}
