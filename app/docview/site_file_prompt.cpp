#include "app/docview/site_file_prompt.h"

#include "app/model/site_paths.h"
#include "platform/resources/string_table.h"
#include "platform/text/codepage.h"
#include "platform/win/codepage1252.h"

#include <filesystem>
#include <system_error>

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

bool ChooseSiteFileToSave(std::string& path, bool theme, const std::function<bool(std::string&)>& choose,
                          const std::function<bool(const std::string&)>& mayReplace)
{
    for (;;) {
        std::string chosen = path;
        if (!choose(chosen) || chosen.empty())
            return false;
        chosen = FixSiteFileExtension(chosen, theme);
        std::error_code error;
        if (!std::filesystem::exists(chosen, error) || mayReplace(chosen)) {
            path = chosen;
            return true;
        }
        path = chosen;
    }
}

std::string ReplaceFileQuestion(const std::string& path)
{
    std::string text =
        ResourceText(IDS_REPLACE_FILE_QUESTION, "A file named \"%s\" already exists. Do you want to replace it?");
    const size_t at = text.find("%s");
    // The program's texts are Windows-1252; a file name is the file system's UTF-8.
    const std::string name = GetPathFileName(path);
    if (at != std::string::npos)
        text.replace(at, 2, Utf8ToWindows1252(name).value_or(name));
    return text;
}
