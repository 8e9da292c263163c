#include "platform/resources/resource_folder.h"

#include <string>
#include <system_error>

namespace {

std::filesystem::path& ChosenFolder()
{
    static std::filesystem::path folder;
    return folder;
}

} // namespace

std::filesystem::path GetResourceFolder()
{
    if (!ChosenFolder().empty())
        return ChosenFolder();
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return "resources";
    return exe.parent_path() / "resources";
}

void SetResourceFolder(const std::filesystem::path& folder)
{
    ChosenFolder() = folder;
}

std::filesystem::path GetBitmapResourcePath(unsigned id)
{
    return GetResourceFolder() / "bitmaps" / (std::to_string(id) + ".png");
}
