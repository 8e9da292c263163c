#pragma once

// What the Add Files dialog decides, without a window: which buttons are on, how local files go into a folder and
// back, and how a folder is deleted without losing what it holds.

#include <string>
#include <vector>

class CSiteFolder;
class CSiteNode;

struct AddFilesButtons
{
    bool newFolder = false;
    bool deleteFolder = false;
    bool add = false;
    bool addAll = false;
    bool remove = false;
    bool removeAll = false;
    bool ok = false;
};

// The buttons for the selected tree node (null for none), the selected and all listed local files, and the number
// of files placed in this run.
AddFilesButtons GetAddFilesButtons(const CSiteNode* selected, const std::vector<std::string>& selectedFiles,
                                   const std::vector<std::string>& listedFiles, int placedCount);

// Whether the folder may be deleted: neither it nor anything in it is locked, and everything it holds can move up
// into its parent without taking a name there.
bool CanDeleteSiteFolder(const CSiteFolder& folder);
// Moves the folder's child folders and files into its parent and removes the emptied folder. False, with nothing
// changed, when CanDeleteSiteFolder refuses.
bool DeleteSiteFolder(CSiteFolder& folder);

// Places the files into the folder in order, each tested against the folder as it stands after the ones before it,
// so that a second file of a name already taken stays out. Answers the indexes of the files placed.
std::vector<size_t> PlaceLocalFiles(CSiteFolder& folder, const std::vector<std::string>& paths);
