#include "app/build/linked_files.h"

#include "platform/win/codepage1252.h"
#include "platform/win/path.h"

namespace {

bool IsTargetTaken(const std::string& name)
{
    for (const LinkedFile& file : GetLinkedFiles())
        if (EqualNoCase1252(file.targetName, name))
            return true;
    return false;
}

} // namespace

std::vector<LinkedFile>& GetLinkedFiles()
{
    static std::vector<LinkedFile> files;
    return files;
}

const LinkedFile* FindLinkedFile(const std::string& path)
{
    for (const LinkedFile& file : GetLinkedFiles())
        if (EqualNoCase1252(file.sourcePath, path))
            return &file;
    return nullptr;
}

bool AddLinkedFile(const std::string& path)
{
    if (FindLinkedFile(path))
        return true;
    std::string title, extension;
    SplitPath(path, nullptr, nullptr, &title, &extension);
    std::string name = title + extension;
    for (int counter = 0; IsTargetTaken(name); ++counter) {
        if (counter > 32767)
            return false;
        name = title + std::to_string(counter) + extension;
    }
    GetLinkedFiles().push_back({path, name});
    return true;
}
