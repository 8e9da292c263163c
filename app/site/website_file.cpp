// The site file: writing it, reading it with every older version it ever had, and the two light readers that
// look at its header only (the open dialog's preview and the themes browser).

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/model/page_size.h"
#include "app/model/record_stream.h"
#include "app/model/restore_on_exit.h"
#include "app/model/services.h"
#include "app/site/website.h"
#include "platform/io/jpeg_io.h"
#include "platform/win/codepage1252.h"
#include "platform/win/path.h"

// What the lists between the site name and the page defaults held. Only the fields the file's version has are
// filled; the rest keep these values.
struct SiteFileLists
{
    std::vector<std::pair<std::string, std::string>> pairs;
    std::vector<std::string> oldSources;
    std::vector<std::string> published;
    bool hasCustomColors = false;
    std::array<COLORREF, CWebsite::kCustomColorCount> customColors{};
    bool hasCentered = false;
    bool centered = false;
};

namespace {

constexpr const char* kConversionCaption = "Notification";
constexpr const char* kConversionNotice =
    "Opening this Website will convert it so it is compatible with version 6.0.\n\nOnce the conversion is complete, "
    "your new Website will be saved in the same location \nbut will be appended with ''-v6'' (e.g. "
    "yourwebsite-v6.kst). \n\nYou can delete the old file or keep it as a backup.\n\nDo you want to continue?";
constexpr const char* kRemotePathConflictMessage =
    "$$Some of the previously included files could not be added to the site\nbecause of a conflict between their "
    "remote path names.\nTry adding the files again by placing them on different remote folders.";

constexpr int kThumbnailMarker = 1;
constexpr int kReservedBytes = 3;
constexpr int kReservedWords = 15;

// Which fields a file of version major.minor holds.
struct SiteFileVersion
{
    int major;
    int minor;

    bool HasText1() const { return IsVersionAtLeast(major, minor, 1, 6); }
    bool HasText2() const { return IsVersionAtLeast(major, minor, 1, 7); }
    // The third text came late in the 5.x files and never reached a later major version.
    bool HasText3() const { return major == 5 && minor >= 14; }
    bool HasCenteredFlag() const { return major >= 5; }
    bool HasOldSourceList() const { return major == 5 && (minor == 1 || minor == 2); }
    bool HasPublishedList() const { return major == 5 && minor == 2; }
    bool HasFilePairs() const { return IsVersionAtLeast(major, minor, 5, 3); }
    bool HasCustomColors() const { return IsVersionAtLeast(major, minor, 5, 5); }
    bool HasRawThumbnail() const { return major == 1 && minor <= 7; }
    // Files the program converts, after asking, into the present form.
    bool NeedsConversion() const { return major == 5 && minor <= 14; }
};

// Everything of the header up to the thumbnail.
struct SiteHeader
{
    std::string name;
    SiteFileLists lists;
    int pageWidth = 0;
    int pageHeight = 0;
    CFillStyle background;
    CColor linkColor;
    CColor visitedLinkColor;
    bool theme = false;
    std::array<std::string, 3> texts;
    int pageCount = 0;
    DWORD itemTotal = 0;
    std::array<uint16_t, CWebsite::kReservedValueCount> reserved{};
};

// ------------------------------------------------------------------------------------------------------------
// Primitives of the site record that the other records do not use.

uint16_t ReadUInt16(CFile& file)
{
    BYTE b[2];
    ReadExact(file, b, 2);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

void WriteUInt16(CFile& file, int value)
{
    const BYTE b[2] = {static_cast<BYTE>(value), static_cast<BYTE>(value >> 8)};
    file.Write(b, 2);
}

// What the file holds beyond the position; no count read from it may promise more.
ULONGLONG BytesLeft(CFile& file)
{
    const ULONGLONG length = file.GetLength();
    const ULONGLONG position = file.GetPosition();
    return length > position ? length - position : 0;
}

void Skip(CFile& file, ULONGLONG count)
{
    if (count > BytesLeft(file))
        ThrowBadRecord();
    file.Seek(static_cast<LONGLONG>(count), CFile::current);
}

std::string ReadBytes(CFile& file, UINT count)
{
    std::string text(count, '\0');
    ReadExact(file, text.data(), count);
    return text;
}

// A two-byte count (at most maxLength) and the bytes.
std::string ReadShortString(CFile& file, UINT maxLength)
{
    const UINT count = ReadUInt16(file);
    if (count > maxLength)
        ThrowBadRecord();
    return ReadBytes(file, count);
}

void WriteShortString(CFile& file, const std::string& text, size_t maxLength)
{
    const size_t count = std::min(text.size(), maxLength);
    WriteUInt16(file, static_cast<int>(count));
    file.Write(text.data(), static_cast<UINT>(count));
}

// A one-byte count and the bytes.
std::string ReadTinyString(CFile& file)
{
    return ReadBytes(file, ReadByte(file));
}

void WriteTinyString(CFile& file, const std::string& text)
{
    const size_t count = std::min<size_t>(text.size(), CWebsite::kMaxThemeTextLength);
    WriteByte(file, static_cast<BYTE>(count));
    file.Write(text.data(), static_cast<UINT>(count));
}

// A list count, which cannot exceed the strings of at least their 4-byte counts that the rest of the file holds.
UINT ReadListCount(CFile& file, UINT stringsPerEntry)
{
    const DWORD count = ReadUInt32(file);
    if (count > BytesLeft(file) / (4 * stringsPerEntry))
        ThrowBadRecord();
    return count;
}

std::vector<std::string> ReadStringList(CFile& file)
{
    std::vector<std::string> list(ReadListCount(file, 1));
    for (std::string& text : list)
        text = ReadCountedString(file);
    return list;
}

// ------------------------------------------------------------------------------------------------------------
// Walking the header. Every refusal raises the file exception; the callers turn it into their failure result.

SiteFileVersion ReadSignatureAndVersion(CFile& file)
{
    char signatureA[sizeof CWebsite::kSignatureA];
    char signatureB[sizeof CWebsite::kSignatureB];
    if (file.Read(signatureA, sizeof signatureA) != sizeof signatureA ||
        !std::equal(std::begin(signatureA), std::end(signatureA), CWebsite::kSignatureA))
        ThrowBadRecord();
    if (file.Read(signatureB, sizeof signatureB) != sizeof signatureB ||
        !std::equal(std::begin(signatureB), std::end(signatureB), CWebsite::kSignatureB))
        ThrowBadRecord();
    const int major = ReadByte(file);
    const int minor = ReadByte(file);
    return {major, minor};
}

void ReadFileLists(CFile& file, const SiteFileVersion& version, SiteFileLists& lists)
{
    if (version.HasOldSourceList()) {
        lists.oldSources = ReadStringList(file);
        if (version.HasPublishedList())
            lists.published = ReadStringList(file);
    } else if (version.HasFilePairs()) {
        lists.pairs.resize(ReadListCount(file, 2));
        for (auto& [source, remote] : lists.pairs) {
            source = ReadCountedString(file);
            remote = ReadCountedString(file);
        }
    }
    if (version.HasCustomColors()) {
        lists.hasCustomColors = true;
        for (COLORREF& color : lists.customColors)
            color = ReadUInt32(file);
    }
    if (version.HasCenteredFlag()) {
        lists.hasCentered = true;
        lists.centered = ReadUInt16(file) != 0;
    }
}

// From the build number (just after the version) to the thumbnail marker.
void ReadSiteHeader(CFile& file, const SiteFileVersion& version, SiteHeader& header)
{
    ReadUInt16(file); // the build number says nothing the version does not
    header.name = ReadShortString(file, CWebsite::kMaxNameLength);
    ReadFileLists(file, version, header.lists);

    header.pageWidth = ReadUInt16(file);
    header.pageHeight = ReadUInt16(file);
    if (!IsPageSizeInRange(header.pageWidth, header.pageHeight))
        ThrowBadRecord();
    header.background.Read(file, version.major, version.minor);
    header.linkColor = ReadColor(file);
    header.visitedLinkColor = ReadColor(file);

    header.theme = ReadByte(file) != 0;
    Skip(file, kReservedBytes + 4 * kReservedWords);
    ReadShortString(file, CWebsite::kMaxNameLength); // the front page's title, for readers that show it

    if (version.HasText1())
        header.texts[0] = ReadCountedString(file);
    if (version.HasText2())
        header.texts[1] = ReadCountedString(file);
    if (version.HasText3())
        header.texts[2] = ReadCountedString(file);

    header.pageCount = ReadUInt16(file);
    if (header.pageCount == 0 || header.pageCount > CWebsite::kMaxPages)
        ThrowBadRecord();
    header.itemTotal = ReadUInt32(file);
    for (uint16_t& value : header.reserved)
        value = ReadUInt16(file);
    ReadByte(file); // thumbnail marker
}

// The size of an old raw thumbnail, checked against itself and the file.
struct RawThumbnail
{
    int width;
    int rows;
    DWORD rowBytes;
};

RawThumbnail ReadRawThumbnailSize(CFile& file)
{
    RawThumbnail raw;
    raw.width = ReadUInt16(file);
    raw.rows = ReadUInt16(file);
    raw.rowBytes = ReadUInt32(file);
    if (raw.rowBytes < 3ull * raw.width || static_cast<ULONGLONG>(raw.rows) * raw.rowBytes > BytesLeft(file))
        ThrowBadRecord();
    return raw;
}

DWORD ReadJpegLength(CFile& file)
{
    const DWORD length = ReadUInt32(file);
    if (length > BytesLeft(file))
        ThrowBadRecord();
    return length;
}

void SkipThumbnail(CFile& file, const SiteFileVersion& version)
{
    if (version.HasRawThumbnail()) {
        const RawThumbnail raw = ReadRawThumbnailSize(file);
        Skip(file, static_cast<ULONGLONG>(raw.rows) * raw.rowBytes);
    } else {
        Skip(file, ReadJpegLength(file));
    }
}

// Null when the thumbnail is empty or its JPEG stream cannot be decoded.
std::unique_ptr<CPixMap> ReadThumbnail(CFile& file, const SiteFileVersion& version)
{
    if (version.HasRawThumbnail()) {
        const RawThumbnail raw = ReadRawThumbnailSize(file);
        if (raw.width == 0 || raw.rows == 0)
            return nullptr;
        auto map = std::make_unique<CPixMap>(IMAGE_MODE_RGB, raw.width, raw.rows);
        if (!map->IsValid())
            return nullptr;
        std::vector<BYTE> row(raw.rowBytes);
        for (int y = 0; y < raw.rows; ++y) {
            ReadExact(file, row.data(), raw.rowBytes);
            std::copy_n(row.data(), 3 * raw.width, map->Sample(0, y, 0));
        }
        return map;
    }

    // The decoder gets the stored stream only, so that a damaged one cannot run on into what follows.
    const DWORD length = ReadJpegLength(file);
    std::vector<BYTE> bytes(length);
    ReadExact(file, bytes.data(), length);
    CMemFile stream(bytes.data(), length);
    IOError error;
    const std::unique_ptr<CImage> image(CJpegIO::Load(stream, &error, nullptr));
    if (!image || image->IsEmpty())
        return nullptr;
    auto map = std::make_unique<CPixMap>(image->GetMode(), image->Width(), image->Height());
    if (!map->IsValid() || !image->GetBuf(0, 0, *map))
        return nullptr;
    return map;
}

// For the light readers: opens the file as the open dialog does, letting others keep using it, and walks its
// header up to the thumbnail. False when the file cannot be opened; a damaged header raises the file exception.
bool OpenAtThumbnail(CFile& file, const std::string& path, SiteFileVersion& version, SiteHeader& header)
{
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyNone))
        return false;
    version = ReadSignatureAndVersion(file);
    ReadSiteHeader(file, version, header);
    return true;
}

// The upload keeps the local time of the last one in the five reserved values: year, month, day, hour, minute. A
// year with all bits set, or a date no upload can have written, counts as never sent.
void TakeSentDate(const std::array<uint16_t, CWebsite::kReservedValueCount>& values, SiteFileSummary& summary)
{
    const bool valid = values[0] != 0xFFFF && values[1] >= 1 && values[1] <= 12 && values[2] >= 1 && values[2] <= 31 &&
                       values[3] <= 23 && values[4] <= 59;
    summary.sentYear = valid ? values[0] : -1;
    summary.sentMonth = valid ? values[1] : 0;
    summary.sentDay = valid ? values[2] : 0;
    summary.sentHour = valid ? values[3] : 0;
    summary.sentMinute = valid ? values[4] : 0;
}

// ------------------------------------------------------------------------------------------------------------
// Writing

// The front page scaled into the thumbnail's size, centred on white where its proportions leave room, as JPEG.
bool EncodeThumbnail(CSitePage& front, bool theme, CMemFile& jpeg)
{
    const int width = theme ? CWebsite::kThemeThumbnailWidth : CWebsite::kThumbnailWidth;
    const int height = theme ? CWebsite::kThemeThumbnailHeight : CWebsite::kThumbnailHeight;
    CPixMap map(IMAGE_MODE_RGB, width, height);
    if (!map.IsValid())
        return false;
    CImage page;
    if (front.RenderPageImage(page, width, height) && !page.IsEmpty()) {
        page.SetMaskColor(CColor(255, 255, 255));
        page.GetBuf((page.Width() - width) / 2, (page.Height() - height) / 2, map, MASK_COLOR);
    } else {
        // Without the page's picture the preview stays blank; the site itself is what must be saved.
        for (int y = 0; y < height; ++y)
            std::fill_n(map.Sample(0, y, 0), 3 * width, BYTE(255));
    }
    if (!front.IsShownInView())
        front.ReleaseCachedImages();
    IOError error;
    return CJpegIO::Save(jpeg, map, CWebsite::kThumbnailQuality, &error, std::string());
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// CWebsite

bool CWebsite::Save(CFile& file, bool theme, const std::string& category, const std::string& themeName)
{
    bool written;
    {
        RestoreOnExit<bool> saving(m_bSaving, true);
        written = Write(file, theme, category, themeName);
    }
    if (written)
        MarkSaved();
    return written;
}

bool CWebsite::Write(CFile& file, bool theme, const std::string& category, const std::string& themeName)
{
    // No reader takes a site without pages or with more than it allows.
    if (m_Pages.empty() || GetPageCount() > kMaxPages)
        return false;
    // A site whose front page flag got lost is still saved, with its first page standing in, which is also the
    // page that becomes the front page when the file is opened.
    CSitePage* front = GetHomePage();
    if (!front)
        front = m_Pages.front().get();

    CMemFile jpeg(1024);
    if (!EncodeThumbnail(*front, theme, jpeg))
        return false;

    file.Write(kSignatureA, sizeof kSignatureA);
    file.Write(kSignatureB, sizeof kSignatureB);
    WriteByte(file, kCurrentMajorVersion);
    WriteByte(file, kCurrentMinorVersion);
    WriteUInt16(file, kBuildNumber);
    WriteShortString(file, m_strName, kMaxNameLength);

    WriteUInt32(file, static_cast<DWORD>(m_FilePairs.size()));
    for (const auto& pair : m_FilePairs) {
        WriteCountedString(file, pair->m_strSource);
        WriteCountedString(file, pair->m_strTarget);
    }
    for (COLORREF color : m_CustomColors)
        WriteUInt32(file, color);
    WriteUInt16(file, m_bCentered ? 1 : 0);
    WriteUInt16(file, ClampPageWidth(m_nPageWidth));
    WriteUInt16(file, ClampPageHeight(m_nPageHeight));
    m_DefaultBackground.Write(file);
    WriteColor(file, m_LinkColor);
    WriteColor(file, m_VisitedLinkColor);

    WriteByte(file, theme ? 1 : 0);
    const BYTE zeros[kReservedBytes + 4 * kReservedWords] = {};
    file.Write(zeros, sizeof zeros);
    WriteShortString(file, front->GetTitle(), kMaxNameLength);
    for (const std::string& text : m_strTexts)
        WriteCountedString(file, text);

    WriteUInt16(file, GetPageCount());
    DWORD items = 0;
    for (const auto& page : m_Pages)
        items += static_cast<DWORD>(page->GetItemCount());
    WriteUInt32(file, items);
    for (uint16_t value : m_Reserved16)
        WriteUInt16(file, value);

    WriteByte(file, kThumbnailMarker);
    WriteUInt32(file, static_cast<DWORD>(jpeg.GetLength()));
    file.Write(jpeg.GetBuffer(), static_cast<UINT>(jpeg.GetLength()));
    if (theme) {
        WriteTinyString(file, category);
        WriteTinyString(file, themeName);
    }

    for (const auto& page : m_Pages)
        if (!page->Save(file))
            return false;

    WriteUInt32(file, static_cast<DWORD>(m_nDoctype == 1 ? 1 : 0));
    const OutsidePageBackground& outside = GetOutsidePageBackground();
    WriteByte(file, outside.m_bEnabled ? 1 : 0);
    WriteColor(file, outside.m_color);
    return true;
}

bool CWebsite::LoadFile(CFile& file)
{
    bool read;
    {
        RestoreOnExit<bool> loading(m_bLoading, true);
        read = Read(file);
    }
    if (read)
        MarkSaved();
    return read;
}

bool CWebsite::Read(CFile& file)
{
    try {
        const SiteFileVersion version = ReadSignatureAndVersion(file);
        m_nFileMajor = version.major;
        m_nFileMinor = version.minor;
        if (version.NeedsConversion() && !GetMessages().AskYesNo(kConversionCaption, kConversionNotice))
            return false;

        SiteHeader header;
        ReadSiteHeader(file, version, header);
        SkipThumbnail(file, version);
        if (header.theme) {
            ReadTinyString(file);
            ReadTinyString(file);
        }

        m_strName = std::move(header.name);
        TakeFileLists(header.lists);
        m_nPageWidth = header.pageWidth;
        m_nPageHeight = header.pageHeight;
        m_DefaultBackground = header.background;
        m_LinkColor = header.linkColor;
        m_VisitedLinkColor = header.visitedLinkColor;
        m_strTexts = std::move(header.texts);

        CSitePage* front = nullptr;
        for (int i = 0; i < header.pageCount; ++i) {
            auto page = std::make_unique<CSitePage>(this, std::string(), std::string(), GetNewPageSettings());
            if (!page->Load(file, version.major, version.minor))
                return false;
            const bool isFront = page->IsFrontPage();
            CSitePage* added = AddPage(std::move(page));
            if (isFront)
                front = added;
        }
        // Every site has a front page: a file that lost the flag gets its first page as the front page rather
        // than one that cannot be saved again.
        if (!front) {
            front = m_Pages.front().get();
            front->SetFrontPage(true);
        }
        SetCurrentPage(front);

        // Files before the DOCTYPE and the outside background end early; what they lack keeps its default.
        BYTE doctype[4];
        if (file.Read(doctype, 4) == 4) {
            const DWORD value = doctype[0] | doctype[1] << 8 | doctype[2] << 16 | static_cast<DWORD>(doctype[3]) << 24;
            m_nDoctype = value == 1 ? 1 : 0;
        }
        for (const auto& page : m_Pages)
            page->SetDoctype(m_nDoctype);

        OutsidePageBackground& outside = GetOutsidePageBackground();
        BYTE enabled = 0;
        outside.m_bEnabled = file.Read(&enabled, 1) == 1 && enabled != 0;
        BYTE rgb[3];
        outside.m_color = file.Read(rgb, 3) == 3 ? CColor(rgb[0], rgb[1], rgb[2]) : CColor(255, 255, 255);
        return true;
    } catch (const CFileException&) {
        return false;
    }
}

void CWebsite::TakeFileLists(const SiteFileLists& lists)
{
    if (m_nFileMajor < 5) {
        m_PublishedFiles.clear();
        m_bCentered = false;
    }
    TakeOldSourcePaths(lists.oldSources);
    m_PublishedFiles.insert(m_PublishedFiles.end(), lists.published.begin(), lists.published.end());
    for (const auto& [source, remote] : lists.pairs)
        m_FilePairs.push_back(std::make_unique<CFilePair>(source, remote));
    if (lists.hasCustomColors)
        m_CustomColors = lists.customColors;
    if (lists.hasCentered)
        m_bCentered = lists.centered;
}

void CWebsite::TakeOldSourcePaths(const std::vector<std::string>& sources)
{
    bool skipped = false;
    for (const std::string& source : sources) {
        std::string name, ext;
        SplitPath(source, nullptr, nullptr, &name, &ext);
        std::string remote = "/" + name + ext;
        const std::string folded = LowerCase1252(remote);
        const bool taken = std::any_of(m_FilePairs.begin(), m_FilePairs.end(),
                                       [&](const auto& pair) { return LowerCase1252(pair->m_strTarget) == folded; });
        if (taken)
            skipped = true;
        else
            m_FilePairs.push_back(std::make_unique<CFilePair>(source, std::move(remote)));
    }
    if (skipped) {
        GetMessages().Beep();
        GetMessages().ShowInfoMessage(kRemotePathConflictMessage);
    }
}

// ---------------------------------------------------------------------------------------------------------------
// The light readers and the safe save

std::unique_ptr<CPixMap> ReadSiteThumbnail(const std::string& path, bool& failed, SiteFileSummary* summary)
{
    failed = true;
    CFile file;
    SiteFileVersion version{};
    SiteHeader header;
    try {
        if (!OpenAtThumbnail(file, path, version, header))
            return nullptr;
        std::unique_ptr<CPixMap> thumbnail = ReadThumbnail(file, version);
        failed = thumbnail == nullptr;
        if (thumbnail && summary) {
            summary->name = std::move(header.name);
            summary->pageCount = header.pageCount;
            summary->objectCount = static_cast<long>(header.itemTotal);
            TakeSentDate(header.reserved, *summary);
        }
        return thumbnail;
    } catch (const CFileException&) {
        return nullptr;
    }
}

bool ReadSiteFileInfo(const std::string& path, std::string& category, std::string& name)
{
    CFile file;
    SiteFileVersion version{};
    SiteHeader header;
    try {
        if (!OpenAtThumbnail(file, path, version, header))
            return false;
        SkipThumbnail(file, version);
        // Only theme files are asked, so the theme flag is not consulted.
        std::string storedCategory = ReadTinyString(file);
        name = ReadTinyString(file);
        category = std::move(storedCategory);
        return true;
    } catch (const CFileException&) {
        return false;
    }
}

bool SaveSiteFile(CWebsite& site, const std::string& path, CFileException* error, RenameFunction rename)
{
    // Writing the pages marks each of them saved; until the new file is in place that is not yet true.
    std::vector<bool> pagesSaved;
    for (int i = 0; i < site.GetPageCount(); ++i)
        pagesSaved.push_back(site.GetPage(i)->IsSaved());

    bool saved;
    {
        RestoreOnExit<bool> saving(site.m_bSaving, true);
        saved = SaveFileSafely(
            path, [&](CFile& file) { return site.Write(file, false, std::string(), std::string()); }, error, rename);
    }

    if (saved) {
        site.MarkSaved();
    } else {
        for (int i = 0; i < site.GetPageCount(); ++i)
            site.GetPage(i)->SetSaved(pagesSaved[i]);
    }
    return saved;
}
