#pragma once

// The local copy of the built site that saving a site writes beside its file, and the steps it shares with the
// previews and the upload: copying additional files into a folder tree and answering a build's result.

#include <string>

#include "app/build/site_builder.h"

class CWebsite;
class CSitePage;

// The folder beside the site file named after its title: "/s/shop.kst" gives "/s/shop_website/"; a file without
// a title gives "/s/website/", a path without a folder "./shop_website/".
std::string LocalOutputFolder(const std::string& sitePath);

// Copies source to base + relativeTarget ('/' or '\' separated), making the folders on the way. False when the
// copy fails or the target would leave base (an absolute path, a drive or a ".." part).
bool CopyIntoFolderTree(const std::string& source, const std::string& base, const std::string& relativeTarget);

// The build options of the user's settings: the background beyond the page, as the settings choose it.
SiteBuildOptions SettingsBuildOptions(int offline, const std::string& siteFolder);

// Runs the builder over the site in mode under the build's progress dialog, whose Cancel stops it.
void RunSiteBuild(CSiteBuilder& builder, SiteBuildResult& result, CWebsite& site, int mode);

// Tells the user what stopped a build, as every command that builds does: the build error for results 1 and 2
// (then the page is shown with the item selected), 4 and 5; nothing for a cancel. True when the result lets the
// command go on.
bool ReportBuildResult(const SiteBuildResult& result);

// Checks the linked documents (a missing one is reported and may be shown) and stops when one is missing. True
// when all exist; the program's linked-file list then holds them.
bool CheckLinkedDocuments(CWebsite& site, int onlyPage = -1);

struct LocalOutputResult
{
    bool written = false;
    std::string folder;
    // Why nothing, or not everything, was written; the user has been told already.
    std::string message;
};

// Builds the site into LocalOutputFolder(sitePath) with the links of a published site (documents under
// files/Download), copies the additional files and the linked documents beside it, and gives the front page the
// names servers look for ("index.htm", "default.htm", "default.html").
LocalOutputResult WriteLocalWebsite(CWebsite& site, const std::string& sitePath);

// The previews: checks the linked documents (of the page alone when it is given), builds the whole site for a
// preview into the private staging folder with the additional files beside it (a build shown from this computer,
// which links the documents where they lie), and answers the built file to open:
// the page's own file, or "index.html" for the front page, a page without a name or no page. Empty when the build
// stopped or could not be completed (the user has been told why).
std::string BuildSitePreview(CWebsite& site, const CSitePage* page);

// Printing: builds the whole site for a browser into the private staging folder and answers its front page. Empty
// when the build stopped or could not be completed (the user has been told why).
std::string BuildSiteForPrint(CWebsite& site);
