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

// One uploaded file: the local path it was sent from, its size in bytes, and the SHA-256 of its bytes in lower-case
// hex (empty in a record written before hashes were kept, or when the file could not be read).
struct CServerRecordEntry
{
    std::string name;
    long long size = 0;
    std::string hash;

    bool operator==(const CServerRecordEntry&) const = default;
};

// The SHA-256 of a file's bytes in lower-case hex, for the record; empty when it cannot be read. The files it is
// taken of are published, so the hash tells nobody more than the file does.
std::string FileContentHash(const std::string& path);

// More than any real site's record holds: a site has at most 5000 pages, and 200000 files is 40 for each of them.
// A record beyond either bound is refused whole, and the upload then treats the site as not yet published.
inline constexpr long long kMaxServerRecordBytes = 32LL << 20;
inline constexpr size_t kMaxServerRecordEntries = 200000;

// The guard line that keeps the web server from ever showing the record's contents.
inline constexpr const char* kServerRecordGuard = "<?php exit(); ?>";

// Writes the record: the guard line, then one line per entry (name, tab, decimal size, and when the entry has a hash
// a second tab and the hash), every line ending in CR LF. A reader that knows only name and size reads the size up
// to the second tab and so ignores the hash. A name holding a line break or a tab cannot be read back as the same
// name and is left out, so that its file is simply sent again next time. Entries that would make the record larger
// than the reader takes are not written at all (the guard line alone), so that the next upload sends every file
// rather than meets a record it refuses. False with the cause in *error when the file cannot be written.
bool WriteServerRecord(const std::string& path, const std::vector<CServerRecordEntry>& entries,
                       CFileException* error = nullptr);
// Reads a record in one pass: the first line is skipped, and each further line is split at its first tab into name
// and the rest, whose leading number is the size (a line without a tab gives an empty name and the number the line
// starts with); a hash after a second tab is taken when it is one. Empty when the file is missing; empty with
// *refused set when the file is larger than kMaxServerRecordBytes or holds more than kMaxServerRecordEntries lines.
std::vector<CServerRecordEntry> ReadServerRecord(const std::string& path, bool* refused = nullptr);

// The backup copy's name in "Backups": title + ".[" + the long local date and time + "]" + ".kst", with every ":"
// of the time turned into ";" as file names on the server cannot hold one.
std::string BackupName(const std::string& title, const std::tm& localTime);

// The local copy of the old upload list "qbx.uploaded": a 32-bit count, then that many entries of a 32-bit length
// and the remote path's bytes, little-endian. Read in one pass; reading stops at the count, at a short read, or at a
// length beyond kMaxLegacyNameLength; the count is never trusted beyond what the file can hold. Paths that are empty,
// absolute, or climb out of the WWW folder with ".." are left out, so that removing what the list names stays inside
// the site. A file larger than kMaxLegacyListBytes, or one counting more than kMaxLegacyEntries entries, was never
// written for a real site: it gives nothing, with *refused set.
inline constexpr unsigned kMaxLegacyNameLength = 4096;
inline constexpr long long kMaxLegacyListBytes = 16LL << 20;
inline constexpr size_t kMaxLegacyEntries = kMaxServerRecordEntries;
std::vector<std::string> ReadLegacyUploadList(const std::string& path, bool* refused = nullptr);
