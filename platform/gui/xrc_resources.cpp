#include "platform/gui/xrc_resources.h"

#include "platform/resources/resource_folder.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>
#include <wx/filename.h>
#include <wx/xrc/xmlres.h>

bool LoadXrcResources(std::string* error)
{
    static std::set<std::filesystem::path> loaded;
    static bool handlersReady = false;
    if (!handlersReady) {
        wxXmlResource::Get()->InitAllHandlers();
        handlersReady = true;
    }

    const std::filesystem::path folder = GetResourceFolder();
    std::error_code failure;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, failure)) {
        if (entry.path().extension() == ".xrc")
            files.push_back(entry.path());
    }
    if (failure) {
        if (error)
            *error = folder.string() + ": " + failure.message();
        return false;
    }
    std::sort(files.begin(), files.end());
    for (const std::filesystem::path& file : files) {
        if (loaded.count(file))
            continue;
        if (!wxXmlResource::Get()->Load(wxFileName(wxString::FromUTF8(file.string())).GetFullPath())) {
            if (error)
                *error = file.string() + ": not a dialog template file wx can read";
            return false;
        }
        loaded.insert(file);
    }
    return true;
}
