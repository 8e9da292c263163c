#pragma once

// The open site: the path of its file, its name, the defaults that new pages copy, its included files and the
// list of files on the server, its custom colours, its pages in order with the front page and the page the user
// works on, and whether it has changed since it was saved. One site is open at a time; the document holds it.
//
// The site file (extension kst; theme files, kth, have the same form) holds the site record, a JPEG thumbnail of
// the front page, the page records and a short tail. The reader accepts every older version the program ever
// wrote and refuses anything damaged: it never trusts a count or a length it reads.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/model/file_name_map.h"
#include "app/model/file_pair.h"
#include "app/model/fill_style.h"
#include "app/model/record_stream.h"
#include "app/model/services.h"
#include "app/site/site_page.h"
#include "image/image.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

// What the lists between a site file's name and its page defaults held, as the file's version has them.
struct SiteFileLists;

class CWebsite
{
public:
    // The site file's signature and the build number written beside the version.
    static constexpr char kSignatureA[8] = {'B', 'r', 'i', 'm', 'w', 'e', 'n', '\0'};
    static constexpr char kSignatureB[6] = {'O', 'r', 'v', 'e', 'l', '\0'};
    static constexpr int kBuildNumber = 27;
    // The longest site name and front-page title the file may hold (a two-byte count, capped by the reader).
    static constexpr int kMaxNameLength = 1023;
    // Theme category and name have a one-byte count.
    static constexpr int kMaxThemeTextLength = 255;
    static constexpr int kMaxPages = 5000;
    static constexpr int kCustomColorCount = 16;
    static constexpr int kReservedValueCount = 5;
    // The front page's thumbnail: its size for a site and for a theme, and its JPEG quality.
    static constexpr int kThumbnailWidth = 131;
    static constexpr int kThumbnailHeight = 134;
    static constexpr int kThemeThumbnailWidth = 159;
    static constexpr int kThemeThumbnailHeight = 200;
    static constexpr int kThumbnailQuality = 40;
    // m_nOldVersionMarker after an opened site's included files were moved under its companion folder, and after
    // the document has rebuilt them on the next save.
    static constexpr int kIncludedFilesRebased = 404;
    static constexpr int kIncludedFilesRebuilt = 1;

    // A new site (File > New Website): no pages, saved, file version 5.15.
    CWebsite(std::string path, std::string name, const CFillStyle& defaultBackground, bool centered, int width,
             int height, int doctype, const CColor& linkColor, const CColor& visitedLinkColor);
    // The site a site file is then read into with LoadFile: page 740 x 600, not centred, DOCTYPE 0, blue links,
    // purple visited links.
    explicit CWebsite(std::string path);
    CWebsite(const CWebsite&) = delete;
    CWebsite& operator=(const CWebsite&) = delete;
    ~CWebsite();

    const std::string& GetPath() const { return m_strPath; }
    void SetPath(std::string path) { m_strPath = std::move(path); }
    const std::string& GetName() const { return m_strName; }
    // Names longer than the file can hold are cut.
    void SetName(std::string name);
    // The three site texts stored in the site file; each is cut at the longest counted string a file holds.
    const std::string& GetText(int i) const { return m_strTexts[i]; }
    void SetText(int i, std::string text);

    // The defaults that new pages copy.
    NewPageSettings GetNewPageSettings() const;
    const CFillStyle& GetDefaultBackground() const { return m_DefaultBackground; }
    void SetDefaultBackground(const CFillStyle& background) { m_DefaultBackground = background; }
    bool IsCentered() const { return m_bCentered; }
    void SetCentered(bool centered) { m_bCentered = centered; }
    int GetPageWidth() const { return m_nPageWidth; }
    int GetPageHeight() const { return m_nPageHeight; }
    void SetPageSize(int width, int height);
    int GetDoctype() const { return m_nDoctype; }
    void SetDoctype(int doctype) { m_nDoctype = doctype; }
    const CColor& GetLinkColor() const { return m_LinkColor; }
    void SetLinkColor(const CColor& color) { m_LinkColor = color; }
    const CColor& GetVisitedLinkColor() const { return m_VisitedLinkColor; }
    void SetVisitedLinkColor(const CColor& color) { m_VisitedLinkColor = color; }
    COLORREF GetCustomColor(int i) const { return m_CustomColors[i]; }
    void SetCustomColor(int i, COLORREF color) { m_CustomColors[i] = color; }
    // Set once the custom colours were handed to the colour dialog, which keeps them from then on.
    bool AreCustomColorsHandedOver() const { return m_bCustomColorsHandedOver; }
    void SetCustomColorsHandedOver(bool handed) { m_bCustomColorsHandedOver = handed; }
    uint16_t GetReservedValue(int i) const { return m_Reserved16[i]; }
    void SetReservedValue(int i, uint16_t value) { m_Reserved16[i] = value; }
    int GetOldVersionMarker() const { return m_nOldVersionMarker; }
    void SetOldVersionMarker(int marker) { m_nOldVersionMarker = marker; }
    CFileNameMap& GetFileNameMap() { return m_FileNameMap; }

    // The version bytes of the file the site was read from; 5 and 15 for a new site.
    int GetFileMajor() const { return m_nFileMajor; }
    int GetFileMinor() const { return m_nFileMinor; }

    // Pages, in site order.
    int GetPageCount() const { return static_cast<int>(m_Pages.size()); }
    // i must be below the page count.
    CSitePage* GetPage(int i) const { return m_Pages[i].get(); }
    // -1 when the page is not one of this site's.
    int GetPageIndex(const CSitePage* page) const;
    // Appends the page and makes it the current page.
    CSitePage* AddPage(std::unique_ptr<CSitePage> page);
    CSitePage* GetCurrentPage() const { return m_pCurrentPage; }
    void SetCurrentPage(CSitePage* page) { m_pCurrentPage = page; }
    // The first page with that name, compared without regard to case; null when there is none.
    CSitePage* FindPageByName(const std::string& name) const;
    // False when a page has the name, or an included file takes its output name ("/" + name + ".html"); case is
    // ignored.
    bool IsPageNameFree(const std::string& name) const;
    // The word for a page and the first number from the page count up that gives a free name.
    std::string MakeNewPageName() const;
    // Sets the front-page flag of that page only; every page counts as changed.
    void SetHomePage(CSitePage* page);
    // The first page with the front-page flag, null when there is none.
    CSitePage* GetHomePage() const;
    // After asking the user: removes the page, clears the links that led to it and keeps a front page. False when
    // the user declined.
    bool DeletePage(CSitePage* page);

    // Saved state: the site's own flag and every page's.
    bool IsSaved() const;
    void MarkSaved();
    void SetModified();
    bool IsSaving() const { return m_bSaving; }
    bool IsLoading() const { return m_bLoading; }

    // The output names that included files must not take: empty for a site never saved, else the folder for the
    // site's own files, the four names a server serves by default and every other page's file name.
    void BuildReservedFileNames();
    const std::vector<std::string>& GetReservedNames() const { return m_ReservedNames; }
    // Moves the included files and the document links of a site just opened from folder (which ends with a
    // separator) under the opened file's companion folder, unless an included file already lies in folder. The
    // site is marked changed when a path moved.
    void RebaseFilePaths(const std::string& folder, const std::string& fileName);

    // Included files, in order; the site owns them.
    int GetFilePairCount() const { return static_cast<int>(m_FilePairs.size()); }
    CFilePair* GetFilePair(int i) const { return m_FilePairs[i].get(); }
    void AppendFilePair(std::unique_ptr<CFilePair> pair) { m_FilePairs.push_back(std::move(pair)); }
    // The Add Files, Add Files From XML and file-placement commands: run the dialog and include what it chose.
    void OnAddFiles();
    void OnAddFilesFromXml();
    void OnFilePlacementWizard();
    // The publisher's: appends (or, for Set, replaces the list by) one pair per source name, with the remote
    // path of the same index; remotePaths must be at least as long as sources.
    void AddFilePairs(const std::vector<std::string>& sources, const std::vector<std::string>& remotePaths);
    void SetFilePairs(const std::vector<std::string>& sources, const std::vector<std::string>& remotePaths);
    // Remove the first pair whose source has the name (case ignored) / the pair at an index; nothing happens for
    // no match or an index out of range.
    void RemoveFilePair(const std::string& source);
    void RemoveFilePairAt(int index);
    // The names the last add-files dialog chose.
    const std::vector<std::string>& GetChosenFiles() const { return m_ChosenFiles; }

    // The files that are on the server, as the publisher left them; names are compared without regard to case.
    const std::vector<std::string>& GetPublishedFiles() const { return m_PublishedFiles; }
    void AddPublishedFile(const std::string& name);
    void RemovePublishedFile(const std::string& name);
    // -1 when the name is not in the list.
    int FindPublishedFile(const std::string& name) const;

    // Writes the whole site file at the stream's position and marks everything saved. A theme file carries a
    // category and a name and a larger thumbnail. False when the thumbnail cannot be made or a page cannot be
    // written; the stream then holds an incomplete file, which the caller discards.
    bool Save(CFile& file, bool theme = false, const std::string& category = {}, const std::string& themeName = {});
    bool Write(CFile& file, bool theme, const std::string& category, const std::string& themeName);
    // Reads a site file into this site (made with the path constructor) and marks everything saved. False when
    // the file is refused, whatever the reason; the pages read so far stay with the site and go with it.
    bool LoadFile(CFile& file);
    bool Read(CFile& file);

private:
    friend bool SaveSiteFile(CWebsite& site, const std::string& path, CFileException* error, RenameFunction rename);

    // Takes what a file's lists held, as its version has them: the included files (those of the old source-path
    // lists included at the site's top folder), the files on the server, the custom colours, the centred default.
    void TakeFileLists(const SiteFileLists& lists);
    // Includes each file at "/" and its name, unless an included file takes that remote path already; tells the
    // user when any was left out.
    void TakeOldSourcePaths(const std::vector<std::string>& sources);
    // Empties the chosen names, rebuilds the reserved names and locks every included file.
    void PrepareFilesDialog();
    // Runs a files dialog and includes the files it chose, each at the places its folder tree gives.
    void RunFilesDialog(FilesDialogKind kind);
    // The wizard's code goes into the selected HTML object, as one step of the page's history; the object grows to
    // the size the code asks for and never shrinks.
    void ApplyFlashCode(const FlashObjectCode& flash);
    int CountLinksToPage(int page) const;

    std::string m_strPath;
    std::string m_strName;
    std::array<std::string, 3> m_strTexts;
    CFillStyle m_DefaultBackground;
    bool m_bCentered = false;
    int m_nOldVersionMarker = 0;
    std::vector<std::string> m_PublishedFiles;
    std::vector<std::string> m_ChosenFiles;
    std::vector<std::string> m_ReservedNames;
    std::vector<std::unique_ptr<CFilePair>> m_FilePairs;
    std::array<COLORREF, kCustomColorCount> m_CustomColors;
    bool m_bCustomColorsHandedOver = false;
    int m_nFileMajor = kCurrentMajorVersion;
    int m_nFileMinor = kCurrentMinorVersion;
    int m_nPageWidth = 740;
    int m_nPageHeight = 600;
    int m_nDoctype = 0;
    CColor m_LinkColor;
    CColor m_VisitedLinkColor;
    std::array<uint16_t, kReservedValueCount> m_Reserved16;
    bool m_bSaved = true;
    bool m_bSaving = false;
    bool m_bLoading = false;
    std::vector<std::unique_ptr<CSitePage>> m_Pages;
    CSitePage* m_pCurrentPage = nullptr;
    CFileNameMap m_FileNameMap;
};

// What a site file's header tells about the site without opening it.
struct SiteFileSummary
{
    std::string name;
    int pageCount = 0;
    long objectCount = 0;
    // The local time of the last upload; sentYear is -1 when the site was never sent.
    int sentYear = -1;
    int sentMonth = 0; // 1 to 12
    int sentDay = 0;
    int sentHour = 0;
    int sentMinute = 0;
};

// The front page's thumbnail of a site or theme file, in mode 3, read without opening the site, with what the
// header tells in *summary when given; null, with failed set and *summary untouched, when the file cannot be read
// or is not a site file.
std::unique_ptr<CPixMap> ReadSiteThumbnail(const std::string& path, bool& failed, SiteFileSummary* summary = nullptr);
// The category and name a theme file carries; false for a file that is not a site file or ends too early.
bool ReadSiteFileInfo(const std::string& path, std::string& category, std::string& name);

// Saves the site into path without ever leaving a damaged file there: the bytes go to a temporary file beside it,
// which replaces the old file only once it is complete and on disk (SaveFileSafely). The site and its pages count
// as saved only then. False, with the old file untouched, the saved flags as they were and the cause in *error
// when given, when any step fails.
bool SaveSiteFile(CWebsite& site, const std::string& path, CFileException* error = nullptr,
                  RenameFunction rename = &std::rename);
