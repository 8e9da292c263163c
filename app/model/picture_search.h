#pragma once

// What the page background's and the object fill's searches for a missing picture share: the folders in which a
// built site keeps its pictures, and the question to the user, asked until a picture loads or a solid colour is
// chosen, whose answer the site's file-name map learns. Each search keeps its own order of places to look first.

#include <optional>
#include <string>

#include "image/image.h"

class CFileNameMap;

// Whether a loader's code is one a search can do something about: a missing file or folder, or a file that holds
// no picture.
bool CanSearchForPicture(int code);

// "<site>_website/files/": the folder beside the site file, given its path or name without the extension, in
// which the built site keeps its files.
std::string SiteFilesFolder(const std::string& site);
// The built site's files folder in the settings' folder of site files, for the site file's name without its
// extension; empty when there are no settings or they name no such folder.
std::string SettingsFilesFolder(const std::string& siteName);

// A fill whose picture could not be loaded, as the question to the user sees it.
class PictureOwner
{
public:
    // The colour the dialog offers and the path it names.
    virtual CColor GetColor() const = 0;
    virtual std::string GetDialogPath() const = 0;
    // Makes path the fill's picture and loads it: IO_OK once loaded, else the loader's code.
    virtual int LoadPicture(const std::string& path) = 0;
    // Gives the picture up for a solid colour: the fill's code afterwards.
    virtual int UseColor(const CColor& color) = 0;

protected:
    ~PictureOwner() = default;
};

// Where the questions of the two searches part: each kind of fill keeps the rules its dialogs always had.
struct PictureQuestion
{
    // The path the search began with, and the site's map (null without a site) that learns what replaces it.
    std::string originalPath;
    CFileNameMap* map = nullptr;
    // The error by which a loaded pick is remembered; unset: the error of the dialog the user answered.
    std::optional<int> rememberAs;
    // The chooser starts in the settings' background picture folder, else in their image folder.
    bool startInBackgroundFolder = false;
    // A chooser that hands back an empty name counts as cancelled.
    bool emptyNameCancels = false;
    // A lost folder is mapped to the picked picture's folder only when that is another folder; a missing file's
    // folder always needs another one.
    bool folderMustDiffer = false;
};

// While code is one CanSearchForPicture accepts, shows the missing or invalid picture dialog and lets the user
// pick another picture, until one loads; a loaded pick is remembered in the map and its folder becomes the
// settings' image folder. Returns IO_OK once a picture loaded, the owner's code when the user settled for a solid
// colour (the dialog's), else the last loader code, such as IO_NO_MEMORY.
int AskForPicture(PictureOwner& owner, const PictureQuestion& question, int code);

// Tells the user that the picture does not fit in memory and gives it up for solid red: the owner's code.
int UseRedForShortMemory(PictureOwner& owner);

// The name of the built site's folder for a site file: the file name with ".kst" cut for minor versions above 14,
// "-v6" for versions below 15 and ".kth" up to 15, each at its first occurrence.
std::string CutSiteFileName(std::string name, int minor);
