#pragma once

// The dialogs the site document shows, for the program's document host: the question whether to save the changes,
// the notices of a failed save or open, and the save dialog for site files.

#include <string>

#include "app/docview/site_document.h"

class wxWindow;

enum DocumentNotice
{
    kChangesNotSavedNotice = 304,
    kSaveErrorNotice = 402,
    kOpenErrorNotice = 403,
};

// Yes, No or Cancel; Cancel when the dialog cannot be shown.
SaveChangesAnswer AskSaveChangesDialog(wxWindow* parent);
void ShowDocumentNotice(wxWindow* parent, DocumentNotice notice);
// The save dialog for site files, starting at suggestion (a folder, or a folder and a name); true with the chosen
// path.
bool PromptSiteFileDialog(wxWindow* parent, const std::string& suggestion, std::string& path);
// The file dialog for site or theme files, opening or saving, starting at path (a folder, or a folder and a name).
// True for OK, with the chosen path in path; a saved one ends in the extension of its kind.
bool PromptSiteFileDialog(wxWindow* parent, std::string& path, bool open, bool theme);
