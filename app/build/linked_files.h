#pragma once

// The documents that pages link to, with the names they are published under: one list for the whole program,
// filled before a build by the check for missing linked files, read by the builder (for the links it writes) and
// by the upload (for the files it sends).

#include <string>
#include <vector>

struct LinkedFile
{
    std::string sourcePath;
    std::string targetName;
};

// The program's list.
std::vector<LinkedFile>& GetLinkedFiles();

// The entry whose source path equals path, compared without regard to case; null when the list has none.
const LinkedFile* FindLinkedFile(const std::string& path);
