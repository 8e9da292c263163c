#pragma once

// What the open dialog shows below its file list about the chosen site or theme file: the thumbnail stored in it,
// the site's name, its numbers of pages and objects and the date it was last sent to the server. The state lives
// for the whole run, shared by every open dialog, so that opening the dialog again on the same file reads nothing.

#include <memory>
#include <string>
#include <vector>

#include "app/site/website.h"

class CFilePreview
{
public:
    // The dialog's selection changed to path: a file, a folder, or empty for nothing. Reads the file unless it is
    // the one shown already. False when the preview stays as it was and need not be drawn again.
    bool Select(const std::string& path);

    // Whether a site file was read; false for nothing selected, a folder, a missing file or one that is no site.
    bool HasSite() const { return !m_cachedPath.empty(); }
    // Whether the last file tried was no readable site file.
    bool CannotRead() const { return m_cannotRead; }
    const std::string& GetCachedPath() const { return m_cachedPath; }
    const SiteFileSummary& GetSummary() const { return m_summary; }
    const CPixMap* GetThumbnail() const { return m_thumbnail.get(); }

    // The thumbnail box for what the preview holds (ComposePreviewBox).
    std::vector<unsigned char> ComposeBox(int width, int height) const;

    // True for the first dialog of the run only, which stands at the centre of the screen.
    bool TakeFirstOpening();

private:
    std::string m_cachedPath;
    bool m_cannotRead = false;
    SiteFileSummary m_summary;
    std::unique_ptr<CPixMap> m_thumbnail;
    bool m_firstOpening = true;
};

// The thumbnail box, width by height pixels, as RGB rows without padding: a thumbnail (mode 3) centred on light
// grey, cropped around its centre where it is larger than the box; without one, white.
std::vector<unsigned char> ComposePreviewBox(const CPixMap* thumbnail, int width, int height);

// The one preview of the run.
CFilePreview& GetFilePreview();

// The panel's texts for what the preview holds; all empty without a site.
struct FilePreviewTexts
{
    std::string name;
    std::string pages;
    std::string objects;
    std::string sent;
    bool cannotRead = false; // whether the cannot-read text shows
};
FilePreviewTexts MakeFilePreviewTexts(const CFilePreview& preview);

// The last upload as "10. August 12:45", or the never-sent text.
std::string FormatSentDate(const SiteFileSummary& summary);
