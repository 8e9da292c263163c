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

// Lists the document under its own file name, or, when another document has that name already, under its title
// with the first free number added ("photo0.jpg", "photo1.jpg", ...); names are compared without regard to case.
// Nothing happens for a document already listed. False, listing nothing, when no number up to 32767 is free.
bool AddLinkedFile(const std::string& path);

// The address by which a page shown from this computer (a preview, the print window) links a document where it
// lies: a file address of its absolute path. Every byte a browser would read as something else is escaped: "#" and
// "?" would end the path, "%" would start an escape, and the file system's bytes above 127 would be read in the
// page's code page instead. Empty for an empty path.
std::string LocalFileAddress(const std::string& path);
