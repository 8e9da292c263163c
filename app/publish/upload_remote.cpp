#include "app/publish/upload_remote.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app/build/site_builder.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "app/publish/changed_pages.h"
#include "app/publish/publish_host.h"
#include "app/publish/server_files.h"
#include "app/publish/upload_plan.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/win/file.h"

bool EnterOrMake(CFtp& ftp, const std::string& folder)
{
    return ftp.chdir(folder) || (ftp.mkdir(folder) && ftp.chdir(folder));
}

bool IsConnectionLost(int code)
{
    return code == CFtp::errorConnectionClosed || code == CFtp::errorTimedOut || code == CFtp::errorNetwork;
}

std::unique_ptr<CFtp> ConnectToDestination(const CFtp::ProgressCallback& progress)
{
    const CAppSettings& s = *GetAppSettings();
    bool serverNotFound = false, loginFailed = false, cancelled = false;
    // The connecting notice stands while the attempt runs and is gone before any notice about its failure.
    struct ConnectingNotice
    {
        PublishHost& host;
        explicit ConnectingNotice(PublishHost& h) : host(h) { host.ShowConnectingNotice(true); }
        ~ConnectingNotice() { host.ShowConnectingNotice(false); }
    };
    try {
        ConnectingNotice notice(GetPublishHost());
        if (s.m_ftpProxyType != 0)
            return std::make_unique<CFtp>(serverNotFound, loginFailed, cancelled, s.m_ftpServer, s.m_ftpPort,
                                          s.m_ftpUser, s.m_ftpPassword, s.m_ftpPassive, s.m_ftpProxyServer,
                                          s.m_ftpProxyPort, s.m_ftpProxyUser, s.m_ftpProxyPassword,
                                          s.m_ftpProxyType == 1 ? CFtp::SOCKS4 : CFtp::SOCKS5, progress);
        return std::make_unique<CFtp>(serverNotFound, loginFailed, cancelled, s.m_ftpServer, s.m_ftpPort, s.m_ftpUser,
                                      s.m_ftpPassword, s.m_ftpPassive, progress);
    } catch (const CFtpException&) {
        if (serverNotFound) {
            if (GetPublishHost().ShowPublishDialog(dialogServerNotFound) == DialogAnswer::ok)
                GetPublishHost().RunInternetSetupDialog(SetupFocus::server);
        } else if (loginFailed) {
            if (GetPublishHost().ShowPublishDialog(dialogLoginFailed) == DialogAnswer::ok)
                GetPublishHost().RunInternetSetupDialog(SetupFocus::userName);
        } else if (!cancelled) {
            GetPublishHost().ShowPublishDialog(dialogCannotConnect);
        }
        return nullptr;
    }
}

bool IsInternetSetupComplete()
{
    const CAppSettings* settings = GetAppSettings();
    if (!settings)
        return false;
    const bool server = !settings->m_ftpServer.empty(), user = !settings->m_ftpUser.empty(),
               password = !settings->m_ftpPassword.empty();
    if (settings->m_ftpProxyType == 0)
        return server && user && password;
    return server || user || password || !settings->m_ftpProxyServer.empty();
}

bool CheckInternetSetup()
{
    while (!IsInternetSetupComplete()) {
        if (GetPublishHost().ShowPublishDialog(dialogSetupIncomplete) != DialogAnswer::ok || GetPublishHost().RunInternetSetupDialog(SetupFocus::none) != DialogAnswer::ok)
            return false;
    }
    return true;
}

bool PutToRemotePath(CFtp& connection, const std::string& localPath, const std::string& remotePath)
{
    const std::string start = connection.m_strCwd;
    std::vector<std::string> parts = RemotePathParts(remotePath);
    // The site's place on the server is all it may write to.
    if (parts.empty() || std::find(parts.begin(), parts.end(), "..") != parts.end())
        return false;
    const std::string name = parts.back();
    parts.pop_back();
    for (const std::string& folder : parts)
        if (!connection.mkdir(folder) || !connection.chdir(folder))
            return false;
    if (!connection.put(localPath, name, false))
        return false;
    return connection.chdir(start);
}

bool RemoveRemoteFileAndEmptyFolders(CFtp& connection, const std::string& remotePath)
{
    const std::string start = connection.m_strCwd;
    std::vector<std::string> parts = RemotePathParts(remotePath);
    if (parts.empty())
        return false;
    const std::string name = parts.back();
    parts.pop_back();
    std::string folder;
    for (const std::string& part : parts)
        folder += (folder.empty() ? "" : "/") + part;
    if ((!folder.empty() && !connection.chdir(folder)) || !connection.remove(name)) {
        connection.chdir(start);
        return false;
    }
    while (!parts.empty()) {
        const std::string emptied = parts.back();
        parts.pop_back();
        if (!connection.chdir("..") || !connection.rmdir(emptied)) {
            connection.chdir(start);
            return false;
        }
    }
    return connection.chdir(start);
}

bool RemovePublishedWebsite(CWebsite& site, CChangedPages& tracker)
{
    Messages& messages = GetMessages();
    if (!CheckInternetSetup() || GetPublishHost().ShowPublishDialog(dialogDeleteSiteFiles) != DialogAnswer::ok)
        return false;
    // The destination's own port and mode, with or without a proxy.
    std::unique_ptr<CFtp> ftp = ConnectToDestination({});
    if (!ftp)
        return false;

    for (const std::string& part : RemotePathParts(GetAppSettings()->m_ftpFolder)) {
        if (ftp->chdir(part))
            continue;
        const int code = ftp->m_nError;
        ftp.reset();
        if (code == CFtp::errorNotFound) {
            GetPublishHost().ShowPublishDialog(dialogSiteDeleted);
        } else {
            tracker.SetSite({});
            if (IsConnectionLost(code))
                GetPublishHost().ShowPublishDialog(dialogConnectionDropped);
            else if (code != CFtp::errorCancelled)
                GetPublishHost().ShowPublishDialog(dialogCannotReadFolder);
        }
        return false;
    }

    for (const char* name : {"default.htm", "default.html", "index.htm", "index.html"})
        ftp->remove(name);
    const CSitePage* home = CSiteBuilder::HomePageOf(site);
    for (int i = 0; i < site.GetPageCount(); ++i) {
        const CSitePage& page = *site.GetPage(i);
        if (&page == home || page.GetName().empty())
            continue;
        ftp->remove(page.GetName() + ".html");
        site.RemovePublishedFile(page.GetName() + ".html");
    }

    // What an upload of an older version listed.
    try {
        const std::string staging = StagingFolder();
        std::error_code ignored;
        std::filesystem::create_directories(staging, ignored);
        const std::string legacy = staging + "qbx.uploaded";
        std::remove(legacy.c_str());
        bool refused = false;
        if (ftp->get(legacy, "qbx.uploaded", true, kMaxLegacyListBytes)) {
            for (const std::string& path : ReadLegacyUploadList(legacy, &refused))
                RemoveRemoteFileAndEmptyFolders(*ftp, path);
            std::remove(legacy.c_str());
            if (!refused)
                ftp->remove("qbx.uploaded");
        } else {
            refused = ftp->m_nError == CFtp::errorTooLarge;
        }
        // A list no site could have left is not followed; it stays on the server for the user to look at.
        if (refused)
            messages.ShowMessage("The list of uploaded files on the server (qbx.uploaded) is larger than the list "
                                 "of any site can be, and was not used: the files it names stay on the server.");
    } catch (const CFileException&) {
        // Without a private folder the old list stays on the server; the rest goes on.
    }

    if (ftp->chdir("files")) {
        const std::vector<std::string> keepDownload = {"Download", "..", "."};
        const std::vector<std::string> keepNothing = {"..", "."};
        if (!ftp->mdel_excludefiles(&keepDownload)) {
            ftp.reset();
            GetPublishHost().ShowPublishDialog(dialogDeleteFailed);
            return false;
        }
        bool back = true;
        if (ftp->chdir("Download")) {
            if (!ftp->mdel_excludefiles(&keepNothing)) {
                ftp.reset();
                GetPublishHost().ShowPublishDialog(dialogDeleteFailed);
                return false;
            }
            back = ftp->chdir("..");
        }
        if (back && ftp->rmdir("Download") && ftp->chdir(".."))
            ftp->rmdir("files");
    }
    ftp.reset();
    GetPublishHost().ShowPublishDialog(dialogSiteDeleted);
    tracker.SetSite({});
    return true;
}
