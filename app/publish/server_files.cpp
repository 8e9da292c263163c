#include "app/publish/server_files.h"

#include "platform/win/leading_number.h"
#include "platform/win/little_endian.h"
#include "platform/win/path.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string_view>
#include <sys/stat.h>

namespace {

bool IsContentHash(std::string_view text)
{
    return text.size() == 64 && std::all_of(text.begin(), text.end(),
                                            [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

enum class WholeFile
{
    missing,
    read,
    tooLarge,
};

// The whole of a regular file of at most limit bytes, in one read; a file larger than that is not read at all.
WholeFile ReadWholeFile(const std::string& path, long long limit, std::string& text)
{
    text.clear();
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return WholeFile::missing;
    if (st.st_size > limit)
        return WholeFile::tooLarge;
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return WholeFile::missing;
    // A file that grew since it was measured is taken as far as it was.
    text.resize(static_cast<size_t>(st.st_size));
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(file.gcount()));
    return WholeFile::read;
}

// SHA-256 (FIPS 180-4), fed in pieces.
class Sha256
{
public:
    void Add(const unsigned char* data, size_t size)
    {
        m_length += size;
        while (size > 0) {
            const size_t take = std::min(size, sizeof m_block - m_used);
            std::memcpy(m_block + m_used, data, take);
            m_used += take;
            data += take;
            size -= take;
            if (m_used == sizeof m_block) {
                Compress(m_block);
                m_used = 0;
            }
        }
    }

    std::string HexDigest()
    {
        const uint64_t bits = m_length * 8;
        const unsigned char one = 0x80, zero = 0;
        Add(&one, 1);
        while (m_used != 56)
            Add(&zero, 1);
        unsigned char length[8];
        for (int i = 0; i < 8; ++i)
            length[i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
        Add(length, 8);
        static const char digits[] = "0123456789abcdef";
        std::string hex;
        for (uint32_t word : m_state)
            for (int shift = 28; shift >= 0; shift -= 4)
                hex += digits[(word >> shift) & 15];
        return hex;
    }

private:
    static uint32_t Rotate(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

    void Compress(const unsigned char* block)
    {
        static const uint32_t k[64] = {
            0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
            0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
            0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
            0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
            0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
            0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
            0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
            0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
        };
        uint32_t w[64];
        for (int i = 0; i < 16; ++i)
            w[i] = uint32_t(block[4 * i]) << 24 | uint32_t(block[4 * i + 1]) << 16 | uint32_t(block[4 * i + 2]) << 8 |
                   uint32_t(block[4 * i + 3]);
        for (int i = 16; i < 64; ++i) {
            const uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        uint32_t a = m_state[0], b = m_state[1], c = m_state[2], d = m_state[3], e = m_state[4], f = m_state[5],
                 g = m_state[6], h = m_state[7];
        for (int i = 0; i < 64; ++i) {
            const uint32_t t1 = h + (Rotate(e, 6) ^ Rotate(e, 11) ^ Rotate(e, 25)) + ((e & f) ^ (~e & g)) + k[i] + w[i];
            const uint32_t t2 = (Rotate(a, 2) ^ Rotate(a, 13) ^ Rotate(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        const uint32_t next[8] = {a, b, c, d, e, f, g, h};
        for (int i = 0; i < 8; ++i)
            m_state[i] += next[i];
    }

    uint32_t m_state[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                           0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    unsigned char m_block[64] = {};
    size_t m_used = 0;
    uint64_t m_length = 0;
};

} // namespace

std::string FileContentHash(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return {};
    Sha256 sha;
    std::vector<char> buffer(1 << 16);
    while (file) {
        file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        sha.Add(reinterpret_cast<const unsigned char*>(buffer.data()), static_cast<size_t>(file.gcount()));
    }
    if (file.bad())
        return {};
    return sha.HexDigest();
}

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
    const std::string guard = std::string(kServerRecordGuard) + "\r\n";
    std::string text = guard;
    size_t lines = 0;
    for (const CServerRecordEntry& entry : entries) {
        if (entry.name.find_first_of("\r\n\t") != std::string::npos)
            continue;
        text += entry.name + "\t" + std::to_string(entry.size);
        if (IsContentHash(entry.hash))
            text += "\t" + entry.hash;
        text += "\r\n";
        ++lines;
    }
    if (lines > kMaxServerRecordEntries || static_cast<long long>(text.size()) > kMaxServerRecordBytes)
        text = guard;
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

std::vector<CServerRecordEntry> ReadServerRecord(const std::string& path, bool* refused)
{
    if (refused)
        *refused = false;
    std::vector<CServerRecordEntry> entries;
    std::string text;
    if (const WholeFile got = ReadWholeFile(path, kMaxServerRecordBytes, text); got != WholeFile::read) {
        if (refused)
            *refused = got == WholeFile::tooLarge;
        return entries;
    }
    const std::string_view all(text);
    size_t start = all.find('\n');
    if (start == std::string_view::npos)
        return entries;
    for (++start; start < all.size();) {
        size_t end = all.find('\n', start);
        if (end == std::string_view::npos)
            end = all.size();
        std::string_view line = all.substr(start, end - start);
        start = end + 1;
        if (entries.size() == kMaxServerRecordEntries) {
            entries.clear();
            entries.shrink_to_fit();
            if (refused)
                *refused = true;
            return entries;
        }
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            entries.push_back({std::string(), LeadingNumber(line), {}});
            continue;
        }
        const std::string_view rest = line.substr(tab + 1);
        const size_t second = rest.find('\t');
        std::string hash;
        if (second != std::string_view::npos && IsContentHash(rest.substr(second + 1)))
            hash = rest.substr(second + 1);
        entries.push_back({std::string(line.substr(0, tab)), LeadingNumber(rest), std::move(hash)});
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

std::vector<std::string> ReadLegacyUploadList(const std::string& path, bool* refused)
{
    if (refused)
        *refused = false;
    std::vector<std::string> names;
    std::string text;
    if (const WholeFile got = ReadWholeFile(path, kMaxLegacyListBytes, text); got != WholeFile::read) {
        if (refused)
            *refused = got == WholeFile::tooLarge;
        return names;
    }
    const auto* bytes = reinterpret_cast<const BYTE*>(text.data());
    const size_t size = text.size();
    if (size < 4)
        return names;
    // Every entry takes at least its four length bytes.
    const size_t count = std::min<size_t>(LoadLE32(bytes), (size - 4) / 4);
    size_t at = 4;
    for (size_t i = 0; i < count && size - at >= 4; ++i) {
        if (i == kMaxLegacyEntries) {
            names.clear();
            if (refused)
                *refused = true;
            return names;
        }
        const UINT length = LoadLE32(bytes + at);
        at += 4;
        if (length > kMaxLegacyNameLength || length > size - at)
            break;
        std::string name(text, at, length);
        at += length;
        if (IsSafeRemotePath(name))
            names.push_back(std::move(name));
    }
    return names;
}
