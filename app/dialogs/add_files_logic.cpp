#include "app/dialogs/add_files_logic.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "app/dialogs/site_folder_model.h"
#include "platform/win/codepage1252.h"

namespace {

bool AllFree(const CSiteFolder& folder, const std::vector<std::string>& files)
{
    return std::all_of(files.begin(), files.end(), [&](const std::string& path) { return folder.IsNameFree(path); });
}

} // namespace

AddFilesButtons GetAddFilesButtons(const CSiteNode* selected, const std::vector<std::string>& selectedFiles,
                                   const std::vector<std::string>& listedFiles, int placedCount)
{
    AddFilesButtons buttons;
    if (selected && selected->IsFolder()) {
        const auto& folder = static_cast<const CSiteFolder&>(*selected);
        buttons.newFolder = true;
        buttons.deleteFolder = CanDeleteSiteFolder(folder);
        buttons.add = !selectedFiles.empty() && AllFree(folder, selectedFiles);
        buttons.addAll = !listedFiles.empty() && AllFree(folder, listedFiles);
    } else if (selected) {
        buttons.remove = !selected->IsRemoveLocked();
    }
    buttons.removeAll = placedCount >= 1;
    buttons.ok = placedCount > 0;
    return buttons;
}

bool CanDeleteSiteFolder(const CSiteFolder& folder)
{
    const CSiteFolder* parent = folder.GetParent();
    if (!parent || folder.IsDeleteLocked() || folder.IsRemoveLocked())
        return false;
    const std::string own = folder.GetName();
    auto movable = [&](const CSiteNode& node) {
        return EqualNoCase1252(node.GetName(), own) || parent->IsNameFree(node.GetName());
    };
    for (const auto& child : folder.GetFolders())
        if (!movable(*child))
            return false;
    for (const auto& file : folder.GetFiles())
        if (!movable(*file))
            return false;
    return true;
}

bool DeleteSiteFolder(CSiteFolder& folder)
{
    if (!CanDeleteSiteFolder(folder))
        return false;
    CSiteFolder& parent = *folder.GetParent();
    std::unique_ptr<CSiteFolder> gone = parent.DetachFolder(&folder);
    // Taken off newest first, where taking is cheap, and adopted oldest first, so that each list keeps its order at
    // the head of the parent's.
    std::vector<std::unique_ptr<CSiteFolder>> folders;
    while (!gone->GetFolders().empty())
        folders.push_back(gone->DetachFolder(gone->GetFolders().front().get()));
    std::vector<std::unique_ptr<CSiteFile>> files;
    while (!gone->GetFiles().empty())
        files.push_back(gone->DetachFile(gone->GetFiles().front().get()));
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        parent.AdoptFolder(std::move(*it));
    for (auto it = files.rbegin(); it != files.rend(); ++it)
        parent.AdoptFile(std::move(*it));
    return true;
}

std::vector<size_t> PlaceLocalFiles(CSiteFolder& folder, const std::vector<std::string>& paths)
{
    std::vector<size_t> placed;
    for (size_t i = 0; i < paths.size(); ++i)
        if (folder.AddFile(paths[i], 0))
            placed.push_back(i);
    return placed;
}
