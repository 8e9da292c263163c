#pragma once

// The files the publisher keeps on the server to remember an upload: the server record of what was sent and at
// which size, dated backup copies of the site file, the transfer log's place, and the upload list of older
// versions, which is only ever read (to remove what it names) and never written.

#include "platform/win/file.h"

#include <ctime>
#include <string>
#include <vector>

// The site file's name without folder and extension; every server-side name of the site is made from it.
std::string SiteTitle(const std::string& siteFilePath);

// The folder the site is built into before upload, "qbx_tmpdir/" in the private temporary folder.
std::string StagingFolder();
// Where the record is written before upload: the staging folder + title + ".php".
std::string ServerRecordStagingPath(const std::string& title);
// Where the previous record is downloaded to: beside the staging folder, named "qbx_tmpdir" + title + ".log".
std::string ServerRecordDownloadPath(const std::string& title);
// The transfer log: "FTP.log" in the staging folder.
std::string TransferLogPath();

// The record's name on the server, at the root of the WWW folder: "db.qbx_" + title + ".php".
std::string ServerRecordName(const std::string& title);

// One uploaded file: the local path it was sent from and its size in bytes.
struct CServerRecordEntry
{
    std::string name;
    long long size = 0;

    bool operator==(const CServerRecordEntry&) const = default;
};

// The guard line that keeps the web server from ever showing the record's contents.
inline constexpr const char* kServerRecordGuard = "<?php exit(); ?>";

// Writes the record: the guard line, then one line per entry (name, tab, decimal size), every line ending in CR LF.
// A name holding a line break cannot be kept on one line and is left out, so that its file is simply sent again
// next time. False with the cause in *error when the file cannot be written.
bool WriteServerRecord(const std::string& path, const std::vector<CServerRecordEntry>& entries,
                       CFileException* error = nullptr);
// Reads a record: the first line is skipped, and each further line is split at its first tab into name and size (a
// line without a tab gives an empty name and the number the line starts with). Empty when the file is missing.
std::vector<CServerRecordEntry> ReadServerRecord(const std::string& path);

// The backup copy's name in "Backups": title + ".[" + the long local date and time + "]" + ".kst", with every ":"
// of the time turned into ";" as file names on the server cannot hold one.
std::string BackupName(const std::string& title, const std::tm& localTime);

// The local copy of the old upload list "qbx.uploaded": a 32-bit count, then that many entries of a 32-bit length
// and the remote path's bytes, little-endian. Reading stops at the count, at a short read, or at a length beyond
// kMaxLegacyNameLength; the count is never trusted beyond what the file can hold. Paths that are empty, absolute,
// or climb out of the WWW folder with ".." are left out, so that removing what the list names stays inside the site.
inline constexpr unsigned kMaxLegacyNameLength = 4096;
std::vector<std::string> ReadLegacyUploadList(const std::string& path);
