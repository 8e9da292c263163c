#include "app/build/linked_files.h"

#include "platform/win/codepage1252.h"

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
