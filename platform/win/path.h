#pragma once

// Splitting and building file paths, and the folders the program keeps its files in. Paths read from old site
// files use '\' and a drive ("C:\a\b.gif"), so both separators are understood on input.

#include <string>
#include <vector>

// Splits a path into drive ("C:" or empty), folder (with its trailing separator), file name and extension (from
// the last '.' of the file part, dot included). Any of the outputs may be null.
void SplitPath(const std::string& path, std::string* drive, std::string* dir, std::string* fname, std::string* ext);

// name after folder, with a separator between them unless folder is empty or already ends with one. The separator
// added is the last one folder uses ('/' when it has none), so that a folder written on Windows stays one.
std::string JoinPath(const std::string& folder, const std::string& name);

// Joins the parts, adding the separator after dir (as JoinPath does) and the dot before ext where they are missing.
std::string MakePath(const std::string& drive, const std::string& dir, const std::string& fname,
                     const std::string& ext);

// A folder for temporary and staging files that only this user can reach (mode 0700), under $XDG_RUNTIME_DIR,
// $TMPDIR or /tmp, created when missing; ends with '/'. Throws CFileException when the folder cannot be made
// private (it exists as something else, belongs to another user, or cannot be created).
std::string GetTempFolder();

// Where the settings live: $XDG_CONFIG_HOME/Pelorin/ (default ~/.config). Not created here. Empty, like the other
// folders below, when the user has no home folder to put it in.
std::string GetConfigFolder();

// Where application data lives: $XDG_DATA_HOME/Pelorin/ (default ~/.local/share). Not created here.
std::string GetDataFolder();

// The user's documents folder as xdg-user-dirs records it (default ~/Documents). Not created here.
std::string GetDocumentsFolder();

// The user's pictures folder as xdg-user-dirs records it, when it is there; the home folder otherwise, as
// xdg-user-dir answers for a folder it has no record of. Not created here; empty without a home folder.
std::string GetPicturesFolder();
// The folder a chooser of pictures opens in: the folder asked for when it is one, else the pictures folder. The
// settings' picture folders start inside the program's folder, where a fresh install has none.
std::string PictureChooserFolder(const std::string& folder);

// The folders the program asks the desktop for, by the numbers older settings and callers use for them.
constexpr int kShellFolderDocuments = 5;
constexpr int kShellFolderAppData = 26;

// The documents or the application-data folder, created when missing; ends with '/'. Empty for any other number
// and when the folder cannot be found or made: the caller then skips its file rather than write elsewhere.
std::string GetShellFolderPath(int folder);

// One entry of a folder.
struct FolderEntry
{
    std::string name;
    bool isFolder = false;
};

// The entries of a local folder ("" is the current folder), without "." and "..", sorted by name in byte order so
// that what is built from them does not depend on the order the file system keeps; empty when the folder cannot be
// read. A link counts as what it points to.
std::vector<FolderEntry> ListFolder(const std::string& folder);
