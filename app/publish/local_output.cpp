#include "app/publish/local_output.h"

#include <filesystem>
#include <system_error>

#include "app/build/linked_files.h"
#include "app/model/app_settings.h"
#include "app/model/file_pair.h"
#include "app/model/services.h"
#include "app/publish/publish_host.h"
#include "app/model/site_paths.h"
#include "app/publish/linked_documents.h"
#include "app/publish/server_files.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/resources/string_table.h"
#include "platform/win/log.h"
#include "platform/win/path.h"

namespace fs = std::filesystem;

namespace {

std::string NoFolderText()
{
    return ResourceText(IDS_NO_LOCAL_FOLDER, "A folder for the website's files could not be created on this computer.");
}

// The parts of a relative path, or nothing when it would leave its base.
bool RelativeParts(const std::string& path, std::vector<std::string>& parts)
{
    if (path.size() >= 2 && path[1] == ':')
        return false;
    std::string part;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '/' || path[i] == '\\') {
            if (part == "..")
                return false;
            if (!part.empty() && part != ".")
                parts.push_back(part);
            part.clear();
        } else {
            part += path[i];
        }
    }
    return !parts.empty();
}

bool CopyFileOver(const std::string& source, const std::string& target)
{
    std::error_code error;
    return fs::copy_file(source, target, fs::copy_options::overwrite_existing, error) && !error;
}

} // namespace

std::string LocalOutputFolder(const std::string& sitePath)
{
    std::string drive, folder, title;
    SplitPath(sitePath, &drive, &folder, &title, nullptr);
    folder = drive + folder;
    if (folder.empty())
        folder = "./";
    return JoinPath(folder, title.empty() ? std::string("website") : title + "_website") + folder.back();
}

bool CopyIntoFolderTree(const std::string& source, const std::string& base, const std::string& relativeTarget)
{
    std::vector<std::string> parts;
    if (!RelativeParts(relativeTarget, parts))
        return false;
    std::string target = base;
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        target = JoinPath(target, parts[i]);
        std::error_code ignored;
        fs::create_directory(target, ignored);
    }
    return CopyFileOver(source, JoinPath(target, parts.back()));
}

SiteBuildOptions SettingsBuildOptions(int offline, const std::string& siteFolder)
{
    SiteBuildOptions options;
    options.offline = offline;
    options.siteFolder = siteFolder;
    options.filesFolder = siteFolder + "files/";
    if (const CAppSettings* settings = GetAppSettings()) {
        options.fillOutside = settings->m_repeatBackgroundFill ? 1 : 0;
        options.outsideColor = settings->m_solidBackgroundFill;
    }
    return options;
}

void RunSiteBuild(CSiteBuilder& builder, SiteBuildResult& result, CWebsite& site, int mode)
{
    const std::shared_ptr<BuildProgress> progress = GetPublishHost().ShowBuildProgress();
    builder.BuildWebsite(result, &site, mode, progress.get());
}

bool ReportBuildResult(const SiteBuildResult& result)
{
    PublishHost& host = GetPublishHost();
    switch (result.code) {
    case buildDone:
        return true;
    case buildMouseOverCovered:
    case buildTextProblem: {
        // The object is shown selected on its page behind the error, so that the user sees what it is about.
        CWebsite* site = GetCurrentSite();
        CSitePage* page = site ? site->FindPageByName(result.pageName) : nullptr;
        if (page && result.item)
            host.ShowItemOnPage(page, result.item);
        host.ShowBuildErrorDialog(result.pageName, result.message);
        return false;
    }
    case buildCancelled:
        return false;
    case buildFolderFailed:
        host.ShowBuildErrorDialog({}, NoFolderText() + "\n" + result.message);
        return false;
    default:
        host.ShowBuildErrorDialog(result.pageName, result.message);
        return false;
    }
}

bool CheckLinkedDocuments(CWebsite& site, int onlyPage)
{
    const MissingDocument missing = FindMissingFile(site, onlyPage);
    if (missing.path.empty())
        return true;
    PublishHost& host = GetPublishHost();
    MissingDocumentDialog dialog;
    dialog.m_missingPath = missing.path;
    // Browse points the links at the file found; a search the user cancelled leaves them as they are.
    if (host.ShowMissingDocumentDialog(dialog) != DialogAnswer::ok && dialog.m_browsed &&
        !dialog.m_replacementPath.empty() && ReplaceDocumentLinks(site, missing.path, dialog.m_replacementPath))
        GetCurrentState().SetSiteModified();
    // Either way the user is shown the object that links the document, and nothing is built.
    CSitePage* page = site.GetPage(missing.page);
    host.ShowItemOnPage(page, page->GetItem(missing.item));
    return false;
}

LocalOutputResult WriteLocalWebsite(CWebsite& site, const std::string& sitePath)
{
    LocalOutputResult output;
    output.folder = LocalOutputFolder(sitePath);
    if (!CheckLinkedDocuments(site)) {
        output.message = "a linked document is missing";
        return output;
    }

    // Documents are linked as on the server, so the folder works on its own once they are copied beside it.
    SiteBuildResult result;
    CSiteBuilder builder(SettingsBuildOptions(0, output.folder));
    RunSiteBuild(builder, result, site, buildForLocalOutput);
    if (!ReportBuildResult(result)) {
        output.message = result.message;
        return output;
    }
    bool complete = true;
    for (int i = 0; i < site.GetFilePairCount(); ++i) {
        const CFilePair& pair = *site.GetFilePair(i);
        complete &= CopyIntoFolderTree(pair.m_strSource, output.folder, pair.m_strTarget);
    }

    // The names a server may serve before "index.html" show the same front page.
    const std::string index = output.folder + "index.html";
    for (const char* name : {"default.htm", "default.html", "index.htm"})
        complete &= CopyFileOver(index, output.folder + name);

    const std::vector<std::string> documents = CollectLinkedFiles(site);
    if (!documents.empty()) {
        const std::string downloads = output.folder + "files/Download/";
        std::error_code error;
        fs::create_directories(downloads, error);
        if (!fs::is_directory(downloads)) {
            output.message = downloads + ": " + error.message();
            GetPublishHost().ShowBuildErrorDialog({}, NoFolderText() + "\n" + output.message);
            return output;
        }
        for (const std::string& document : documents) {
            const LinkedFile* linked = FindLinkedFile(document);
            complete &= CopyFileOver(document, downloads + (linked ? linked->targetName : GetPathFileName(document)));
        }
    }
    output.written = true;
    if (!complete) {
        output.message = "Some files could not be copied into " + output.folder;
        LogMessage(output.message);
    }
    return output;
}

std::string BuildSitePreview(CWebsite& site, const CSitePage* page)
{
    const int onlyPage = page ? site.GetPageIndex(page) : -1;
    if (!CheckLinkedDocuments(site, onlyPage))
        return {};
    // Shown from this computer: documents are linked where they lie and counters are pictures, as in print.
    const std::string folder = StagingFolder();
    SiteBuildResult result;
    CSiteBuilder builder(SettingsBuildOptions(1, folder));
    RunSiteBuild(builder, result, site, buildForPreview);
    if (!ReportBuildResult(result))
        return {};
    bool complete = true;
    for (int i = 0; i < site.GetFilePairCount(); ++i) {
        const CFilePair& pair = *site.GetFilePair(i);
        complete &= CopyIntoFolderTree(pair.m_strSource, folder, pair.m_strTarget);
    }
    // A preview of a site that is missing files would show something other than what would be published.
    if (!complete) {
        GetPublishHost().ShowBuildErrorDialog({}, "Some files could not be copied into " + folder);
        return {};
    }
    if (!page || page->GetName().empty() || builder.IsHomePage(page))
        return folder + "index.html";
    const std::string file = builder.FindPageFileName(page->GetName());
    return folder + (file.empty() ? "index.html" : file);
}

std::string BuildSiteForPrint(CWebsite& site)
{
    // Printed as a browser shows it offline: counters are pictures.
    const std::string folder = StagingFolder();
    SiteBuildResult result;
    CSiteBuilder builder(SettingsBuildOptions(1, folder));
    RunSiteBuild(builder, result, site, buildForPreview);
    if (!ReportBuildResult(result))
        return {};
    return folder + "index.html";
}
