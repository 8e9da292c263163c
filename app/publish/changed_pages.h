#pragma once

// Which pages of which site changed since the last upload, kept between runs of the program so that an upload can
// send only those pages. The pages carry their own changed flag; the tracker turns the flags into a stored list of
// page indices and back, for one site file at a time.

#include "platform/win/file.h"
#include "platform/win/win_types.h"

#include <string>
#include <vector>

class CWebsite;

class CChangedPages
{
public:
    // The longest site path the file may hold, in bytes.
    static constexpr int kMaxSitePathLength = 20048;
    // The most page indices the file may hold: far more than the pages of any site, so that the list of a site
    // always fits, while a damaged count cannot make the reader take in a list out of all proportion.
    static constexpr int kMaxPageIndices = 1 << 16;

    // "ftpfile.dat" in the program's data folder; empty when there is no data folder, and a tracker with an empty
    // file path neither reads nor writes anything.
    static std::string DefaultFilePath();

    explicit CChangedPages(std::string filePath = DefaultFilePath());

    // Replaces the site path and the list by the file's. False, keeping what the tracker held, when the file is
    // missing or unreadable, its path length lies outside 0..kMaxSitePathLength, its page count lies outside
    // 0..kMaxPageIndices, or the count disagrees with the bytes that follow it.
    bool Load();
    // Adds the changed pages of the current site and writes the file, replacing it whole. False, writing nothing,
    // while the stored list belongs to another site than the one last applied. A write failure is logged and
    // returns false with the cause in *error; it never throws: the caller's own save has already succeeded and
    // stays a success.
    bool Save(CFileException* error = nullptr);

    // A site was opened: loads the file, then marks the site's pages from the stored list when the list is the
    // site's own and fits its pages, and marks every page changed otherwise.
    void ApplyToSite(CWebsite& site);
    // Adds the index of every page that counts as changed: its flag is set, or it shows a picture file through a
    // filled object other than text (the picture may have changed on disk). Indices already listed stay.
    void CollectChangedPages(CWebsite& site);
    static void MarkAllPagesChanged(CWebsite& site);
    // After an upload: the list empties and no page of the current site counts as changed.
    void ClearAll();
    // The list belongs to the site file at path from now on (after an upload of it), or to none with an empty path.
    void SetSite(const std::string& path)
    {
        m_sitePath = path;
        m_sameSite = !path.empty();
    }
    // Appends the index unless it is listed already.
    void AddPageIndex(UINT index);

    const std::string& GetSitePath() const { return m_sitePath; }
    bool IsSameSite() const { return m_sameSite; }
    const std::vector<UINT>& GetPageIndices() const { return m_pageIndices; }
    const std::string& GetFilePath() const { return m_filePath; }

private:
    std::string m_sitePath;
    bool m_sameSite = false;
    std::vector<UINT> m_pageIndices;
    std::string m_filePath;
};
