#include "app/objects/fill_picture_search.h"

#include <cstring>

#include "app/model/file_name_map.h"
#include "app/model/fill_info.h"
#include "app/model/picture_search.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "platform/io/io.h"
#include "platform/win/path.h"

namespace {

std::string CutFirst(std::string text, const char* part)
{
    const size_t at = text.find(part);
    if (at != std::string::npos)
        text.erase(at, std::strlen(part));
    return text;
}

// One search: the fill's path when it began, and the places derived from the open site.
class PictureSearch final : public PictureOwner
{
public:
    PictureSearch(CFillInfo& fill, const SIZE& size)
        : m_fill(fill), m_size(size), m_original(fill.GetImageFile()), m_animated(fill.IsAnimated()),
          m_current(GetCurrentState()), m_map(m_current.GetSiteFileNameMap())
    {
    }

    // The lookups that need nobody: the site's files folder, the replacements of this session, the site's folder
    // under the folder of site files.
    int LookAround(int code)
    {
        const std::string name = GetPathFileName(m_original);
        const std::string sitePath = GetCurrentState().GetCurrentSitePath();
        const int version = m_current.GetSiteMinorVersion();
        switch (code) {
        case IO_INVALID_FILE: {
            if (!sitePath.empty()) {
                // A relative path stays relative below the files folder; one from elsewhere keeps only its name.
                std::string stored = MakeSiteRelativePath(sitePath, m_original);
                if (IsStoredPathAbsolute(stored))
                    stored = name;
                code = Retry(JoinPath(SiteFilesFolder(CutSiteFileName(sitePath, version)), stored));
            }
            std::string found;
            if (CanSearchForPicture(code) && m_map && m_map->FindReplacementFile(m_original, found))
                code = Retry(found);
            return code;
        }
        case IO_FILE_NOT_FOUND: {
            std::string found;
            if (m_map && m_map->FindReplacementFile(m_original, found))
                return Retry(found);
            const std::string folder = SiteFolderInSettings(sitePath, version, false);
            return folder.empty() ? code : Retry(JoinPath(folder, name));
        }
        case IO_FOLDER_NOT_FOUND: {
            std::string folder;
            if (m_map && m_map->LookupFolder(GetPathFolder(m_original), folder))
                return Retry(JoinPath(folder, name));
            // A site read just now is not current yet: the file being opened lends its path.
            const std::string base = sitePath.empty() ? GetOpeningSitePath() : sitePath;
            folder = SiteFolderInSettings(base, version, false);
            if (!folder.empty())
                code = Retry(JoinPath(folder, name));
            if (code == IO_FOLDER_NOT_FOUND) {
                folder = SiteFolderInSettings(base, version, true);
                if (!folder.empty())
                    code = Retry(JoinPath(folder, name));
            }
            return code;
        }
        default:
            return code;
        }
    }

    // Asks the user until a picture loads or the user settles for a solid colour; a picture too large for memory
    // leaves the fill red. A pick is remembered by the error of the dialog it answers, and the chooser starts in
    // the settings' image folder.
    int Ask(int code)
    {
        PictureQuestion question;
        question.originalPath = m_original;
        question.map = m_map;
        code = AskForPicture(*this, question, code);
        return code == IO_NO_MEMORY ? UseRedForShortMemory(*this) : code;
    }

    CColor GetColor() const override { return m_fill.GetColor(); }
    std::string GetDialogPath() const override { return m_original; }
    int LoadPicture(const std::string& path) override
    {
        m_fill.SetImageFile(path);
        return m_fill.UpdateImage(m_size);
    }
    int UseColor(const CColor& color) override
    {
        m_fill.SetColor(color);
        return m_fill.UpdateImage(m_size);
    }

private:
    // Loads the fill from path; on failure the fill names its first path again.
    int Retry(const std::string& path)
    {
        m_fill.SetImageFile(path);
        const int code = m_fill.UpdateImage(m_size);
        if (code != IO_OK)
            m_fill.SetImageFile(m_original);
        m_fill.SetAnimated(m_animated);
        return code;
    }

    // The site's files folder in the settings' folder of site files, empty when the site has no path: a relative
    // folder would search the program's working folder, which holds nothing of the site.
    static std::string SiteFolderInSettings(const std::string& sitePath, int version, bool cutKst)
    {
        if (sitePath.empty())
            return {};
        std::string name = GetPathFileName(CutSiteFileName(sitePath, version));
        if (cutKst)
            name = CutFirst(name, ".kst");
        return SettingsFilesFolder(name);
    }

    CFillInfo& m_fill;
    const SIZE m_size;
    const std::string m_original;
    const bool m_animated;
    CurrentState& m_current;
    CFileNameMap* m_map;
};

} // namespace

int FindFillPicture(CFillInfo& fill, const SIZE& size, int code)
{
    if (code == IO_OK)
        return code;
    GetCurrentState().SetSiteModified();
    PictureSearch search(fill, size);
    if (code == IO_NO_MEMORY)
        return search.Ask(code);
    return search.Ask(search.LookAround(code));
}
