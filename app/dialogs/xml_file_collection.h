#pragma once

// The files a Flash program made by one of the maker's other programs brings along: its XML file, the files the
// XML names and those of its companion folders, the script that loads the movie and the example database scripts.
// They are collected beside the XML file and placed below the site's root folder in the same relative layout.
// Headless: the Add Files From XML dialog and the file-placement wizard run it.

#include <string>
#include <vector>

class CFilePair;
class CSiteFolderModel;

// Local paths and the remote paths they take; entry i of one belongs to entry i of the other.
struct CollectedFiles
{
    std::vector<std::string> locals;
    std::vector<std::string> remotes;
};

// How the wizard differs: the files of the folder named after the XML file's title and " files" go to the root
// folder, not into a folder of that name.
enum class CompanionPlacement
{
    inTheirFolder,
    inRoot,
};

// Collects the file set of one XML file into set. Files named relative to the XML file are taken when they exist,
// lie inside its folder, and their local path is not in sourceNames; an unreadable XML file adds nothing.
void CollectXmlFiles(const std::string& xmlPath, const std::vector<std::string>& sourceNames, CollectedFiles& set,
                     CompanionPlacement companions = CompanionPlacement::inTheirFolder);

// Places each collected file whose remote path the model does not hold yet; a file the folder refuses is passed
// over. Each placed file's local path goes into sourceNames and a pair into pairs. Answers how many were placed.
int PlaceCollectedFiles(const CollectedFiles& set, CSiteFolderModel& model, std::vector<CFilePair>& pairs,
                        std::vector<std::string>& sourceNames);
