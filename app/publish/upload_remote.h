#pragma once

// The publisher's operations on the server: logging in to the settings' destination, entering folders, putting a
// file at a path and removing one with the folders it leaves empty, and removing the published site.

#include <memory>
#include <string>

#include "platform/ftp/ftp.h"

class CWebsite;
class CChangedPages;

// The dialogs the publisher shows, by number.
enum PublishDialog : int
{
    dialogSetupIncomplete = 413,
    dialogCannotConnect = 468,
    dialogCannotCreateFolder = 469,
    dialogDeleteFailed = 470,
    dialogUploadFailed = 471,
    dialogServerNotFound = 475,
    dialogLoginFailed = 476,
    dialogCannotReadFolder = 477,
    dialogSiteDeleted = 472,
    dialogConnectionDropped = 478,
    dialogDeleteSiteFiles = 416,
    dialogPublished = 5011,
    dialogSaveBeforeSend = 5015,
};

// Whether the settings name a destination the upload can use: with no proxy a server, a user and a password; with
// a proxy at least one of the proxy server, the server, the user and the password.
bool IsInternetSetupComplete();
// The same, and when it is not, the prompt and the setup dialog until it is or the user gives up.
bool CheckInternetSetup();

bool EnterOrMake(CFtp& ftp, const std::string& folder);
bool IsConnectionLost(int code);
// Logs in to the settings' destination, through the proxy when one is set. On failure the user is told why (with
// the setup offered where the server or the log-in was wrong) and null is returned.
std::unique_ptr<CFtp> ConnectToDestination(const CFtp::ProgressCallback& progress);

// Copies a file to the server at a path below the current remote folder, making its folders on the way, and
// returns to the folder it started from. False when any step fails.
bool PutToRemotePath(CFtp& connection, const std::string& localPath, const std::string& remotePath);
// Removes a file below the current remote folder and then every folder of its path that the removal left empty,
// returning to the folder it started from. False at the first step that fails.
bool RemoveRemoteFileAndEmptyFolders(CFtp& connection, const std::string& remotePath);

// The command that removes the published site from the server: after the user agrees (416), the pages, the
// files the old upload list names, and "files" with "Download" go; the record and the backups stay. False when
// it stopped early (the user has been told why).
bool RemovePublishedWebsite(CWebsite& site, CChangedPages& tracker);
