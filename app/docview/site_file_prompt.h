#pragma once

// What the file dialog for site and theme files shows, and the name a saved file gets: a site file ends in ".kst",
// a theme file in ".kth", whatever the user typed.

#include <functional>
#include <string>

struct SiteFilePrompt
{
    std::string title;
    std::string filter; // wx's "label|pattern" form
    std::string folder; // where the dialog starts
    std::string name;   // the file name it offers, without extension
};

// The dialog for path (a folder, or a folder and a file) when opening or saving a site or a theme.
SiteFilePrompt MakeSiteFilePrompt(const std::string& path, bool open, bool theme);
// The chosen path of a save: kept when it ends in the extension of its kind (in any case), else rebuilt from its
// folder, its name without extension and that extension.
std::string FixSiteFileExtension(const std::string& path, bool theme);

// The save dialog's loop: choose shows the file dialog, starting at the path it is given and putting the user's
// choice there (false for Cancel). The chosen name gets the extension of its kind first, and only then is the user
// asked, through mayReplace, whether an existing file of that final name may be replaced: "No" shows the dialog
// again at that name. True with the path to write.
bool ChooseSiteFileToSave(std::string& path, bool theme, const std::function<bool(std::string&)>& choose,
                          const std::function<bool(const std::string&)>& mayReplace);
// The question before an existing file is replaced.
std::string ReplaceFileQuestion(const std::string& path);
