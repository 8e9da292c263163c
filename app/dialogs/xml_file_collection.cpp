#include "app/dialogs/xml_file_collection.h"

#include <algorithm>
#include <filesystem>
#include <unordered_set>

#include "app/dialogs/site_folder_model.h"
#include "app/model/file_pair.h"
#include "app/model/included_file_list.h"
#include "app/model/site_paths.h"

namespace {

bool IsRegularFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool Contains(const std::vector<std::string>& list, const std::string& text)
{
    return std::find(list.begin(), list.end(), text) != list.end();
}

// A name from the XML file stays inside its folder: not absolute, no drive, no "..".
bool IsInsideFolder(const std::string& name)
{
    if (name.empty() || name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':'))
        return false;
    size_t start = 0;
    for (;;) {
        const size_t end = name.find_first_of("/\\", start);
        if (name.compare(start, end == std::string::npos ? std::string::npos : end - start, "..") == 0)
            return false;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

std::string WithSlashes(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

void Collect(CollectedFiles& set, std::string local, std::string remote)
{
    set.locals.push_back(std::move(local));
    set.remotes.push_back(std::move(remote));
}

} // namespace

void CollectXmlFiles(const std::string& xmlPath, const std::vector<std::string>& sourceNames, CollectedFiles& set,
                     CompanionPlacement companions)
{
    const CIncludedFileList list(xmlPath);
    if (list.CouldNotRead())
        return;
    const std::string folder = GetFolderFromUrlPath(xmlPath);
    const std::string companionFolder = "/" + GetFileTitleFromPath(xmlPath) + " files/";
    Collect(set, xmlPath, "/" + GetFileNameFromPath(xmlPath));
    // A list of many files is looked up once a name, not searched through.
    const std::unordered_set<std::string> taken(sourceNames.begin(), sourceNames.end());
    for (const std::string& name : list.GetNames()) {
        if (!IsInsideFolder(name))
            continue;
        const std::string local = folder + WithSlashes(name);
        if (taken.count(local) != 0 || !IsRegularFile(local))
            continue;
        std::string remote = "/" + WithSlashes(name);
        if (companions == CompanionPlacement::inRoot && remote.size() > companionFolder.size() &&
            remote.compare(0, companionFolder.size(), companionFolder) == 0)
            remote = remote.substr(companionFolder.size() - 1);
        Collect(set, local, remote);
    }
    if (const std::string script = folder + "swfobject.js"; IsRegularFile(script))
        Collect(set, script, "/swfobject.js");
    for (const char* example : {"database_management_example.php", "database_management_example.asp"}) {
        const std::string local = folder + example;
        if (IsRegularFile(local) && !Contains(set.locals, local))
            Collect(set, local, std::string("/") + example);
    }
}

int PlaceCollectedFiles(const CollectedFiles& set, CSiteFolderModel& model, std::vector<CFilePair>& pairs,
                        std::vector<std::string>& sourceNames)
{
    int added = 0;
    for (size_t i = 0; i < set.locals.size() && i < set.remotes.size(); ++i) {
        if (model.FindFileByRemotePath(set.remotes[i]))
            continue;
        // Only what the folder took is listed and counted: a refused file would otherwise be reported as added.
        if (!model.AddFile(set.locals[i], set.remotes[i], 0))
            continue;
        sourceNames.push_back(set.locals[i]);
        pairs.emplace_back(set.locals[i], set.remotes[i]);
        ++added;
    }
    return added;
}
