#include "app/publish/server_files.h"

#include "platform/win/leading_number.h"
#include "platform/win/little_endian.h"
#include "platform/win/path.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>

std::string SiteTitle(const std::string& siteFilePath)
{
    std::string title;
    SplitPath(siteFilePath, nullptr, nullptr, &title, nullptr);
    return title;
}

std::string StagingFolder()
{
    return GetTempFolder() + "qbx_tmpdir/";
}

std::string ServerRecordStagingPath(const std::string& title)
{
    return StagingFolder() + title + ".php";
}

std::string ServerRecordDownloadPath(const std::string& title)
{
    std::string folder = StagingFolder();
    folder.pop_back();
    return folder + title + ".log";
}

std::string TransferLogPath()
{
    return StagingFolder() + "FTP.log";
}

std::string ServerRecordName(const std::string& title)
{
    return "db.qbx_" + title + ".php";
}

bool WriteServerRecord(const std::string& path, const std::vector<CServerRecordEntry>& entries, CFileException* error)
{
    std::string text = std::string(kServerRecordGuard) + "\r\n";
    for (const CServerRecordEntry& entry : entries) {
        if (entry.name.find_first_of("\r\n") != std::string::npos)
            continue;
        text += entry.name + "\t" + std::to_string(entry.size) + "\r\n";
    }
    return SaveFileSafely(
        path,
        [&](CFile& file) {
            file.Write(text.data(), static_cast<UINT>(text.size()));
            return true;
        },
        error);
}

namespace {

bool IsSafeRemotePath(const std::string& name)
{
    if (name.empty() || name.find('\0') != std::string::npos)
        return false;
    if (name[0] == '/' || name[0] == '\\' || (name.size() >= 2 && name[1] == ':'))
        return false;
    for (size_t start = 0; start <= name.size();) {
        const size_t end = std::min(name.find_first_of("/\\", start), name.size());
        if (name.compare(start, end - start, "..") == 0)
            return false;
        start = end + 1;
    }
    return true;
}

} // namespace

std::vector<CServerRecordEntry> ReadServerRecord(const std::string& path)
{
    std::vector<CServerRecordEntry> entries;
    std::ifstream file(path, std::ios::binary);
    std::string line;
    if (!std::getline(file, line))
        return entries;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t tab = line.find('\t');
        if (tab == std::string::npos)
            entries.push_back({std::string(), LeadingNumber(line)});
        else
            entries.push_back({line.substr(0, tab), LeadingNumber(line.substr(tab + 1))});
    }
    return entries;
}

std::string BackupName(const std::string& title, const std::tm& localTime)
{
    char when[128];
    const size_t length = std::strftime(when, sizeof when, "%A, %B %d, %Y %H:%M:%S", &localTime);
    std::string text(when, length);
    for (char& c : text)
        if (c == ':')
            c = ';';
    return title + ".[" + text + "].kst";
}

std::vector<std::string> ReadLegacyUploadList(const std::string& path)
{
    std::vector<std::string> names;
    CFile file;
    if (!file.Open(path, CFile::modeRead))
        return names;
    try {
        const ULONGLONG size = file.GetLength();
        BYTE number[4];
        if (file.Read(number, 4) != 4)
            return names;
        // Every entry takes at least its four length bytes.
        const ULONGLONG count = std::min<ULONGLONG>(LoadLE32(number), (size - 4) / 4);
        for (ULONGLONG i = 0; i < count; ++i) {
            if (file.Read(number, 4) != 4)
                break;
            const UINT length = LoadLE32(number);
            if (length > kMaxLegacyNameLength)
                break;
            std::string name(length, '\0');
            if (file.Read(name.data(), length) != length)
                break;
            if (IsSafeRemotePath(name))
                names.push_back(std::move(name));
        }
    } catch (const CFileException&) {
    }
    return names;
}
