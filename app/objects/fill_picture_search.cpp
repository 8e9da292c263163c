#include "app/objects/fill_picture_search.h"

#include <cstring>

#include "app/model/app_settings.h"
#include "app/model/file_name_map.h"
#include "app/model/fill_info.h"
#include "app/model/fill_style.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "platform/io/io.h"

namespace {

constexpr int kIdOk = 1;

bool IsSearchable(int code)
{
    return code == IO_FILE_NOT_FOUND || code == IO_INVALID_FILE || code == IO_FOLDER_NOT_FOUND;
}

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\')
        return folder + name;
    return folder + "/" + name;
}

std::string CutFirst(std::string text, const char* part)
{
    const size_t at = text.find(part);
    if (at != std::string::npos)
        text.erase(at, std::strlen(part));
    return text;
}

bool SameText(const std::string& a, const std::string& b)
{
    return detail::LowerCase1252(a) == detail::LowerCase1252(b);
}

// One search: the fill's path when it began, and the places derived from the open site.
class PictureSearch
{
public:
    PictureSearch(CFillInfo& fill, const SIZE& size)
        : m_fill(fill), m_size(size), m_original(fill.GetImageFile()), m_animated(fill.IsAnimated()),
          m_services(GetCoreServices()), m_map(m_services.GetSiteFileNameMap()), m_settings(GetAppSettings())
    {
    }

    // The lookups that need nobody: the site's files folder, the replacements of this session, the site's folder
    // under the folder of site files.
    int LookAround(int code)
    {
        const std::string name = GetPathFileName(m_original);
        const std::string sitePath = m_services.GetCurrentSitePath();
        const int version = m_services.GetSiteMinorVersion();
        switch (code) {
        case IO_INVALID_FILE: {
            if (!sitePath.empty()) {
                // A relative path stays relative below the files folder; one from elsewhere keeps only its name.
                std::string stored = MakeSiteRelativePath(sitePath, m_original);
                if (IsStoredPathAbsolute(stored))
                    stored = name;
                code = Retry(JoinPath(detail::CutSiteFileName(sitePath, version) + "_website/files/", stored));
            }
            std::string found;
            if (IsSearchable(code) && m_map && m_map->FindReplacementFile(m_original, found))
                code = Retry(found);
            return code;
        }
        case IO_FILE_NOT_FOUND: {
            std::string found;
            if (m_map && m_map->FindReplacementFile(m_original, found))
                return Retry(found);
            const std::string folder = SettingsFilesFolder(sitePath, version, false);
            return folder.empty() ? code : Retry(folder + name);
        }
        case IO_FOLDER_NOT_FOUND: {
            std::string folder;
            if (m_map && m_map->LookupFolder(GetPathFolder(m_original), folder))
                return Retry(JoinPath(folder, name));
            // A site read just now is not current yet: the file being opened lends its path.
            const std::string base = sitePath.empty() ? GetOpeningSitePath() : sitePath;
            folder = SettingsFilesFolder(base, version, false);
            if (!folder.empty())
                code = Retry(folder + name);
            if (code == IO_FOLDER_NOT_FOUND) {
                folder = SettingsFilesFolder(base, version, true);
                if (!folder.empty())
                    code = Retry(folder + name);
            }
            return code;
        }
        default:
            return code;
        }
    }

    // Asks the user until a picture loads or the user settles for a solid colour.
    int Ask(int code)
    {
        while (IsSearchable(code)) {
            FillPictureDialog dialog;
            dialog.m_color = m_fill.GetColor();
            dialog.m_strPath = m_original;
            const int answer = code == IO_INVALID_FILE ? m_services.ShowFillInvalidDialog(dialog)
                                                       : m_services.ShowFillMissingDialog(dialog);
            std::string chosen = m_settings ? m_settings->GetImagePath() : std::string();
            if (answer != kIdOk || !dialog.m_bTryAgain || !m_services.GetPictureFileName(chosen)) {
                m_fill.SetColor(dialog.m_color);
                return m_fill.UpdateImage(m_size);
            }
            m_fill.SetImageFile(chosen);
            const int result = m_fill.UpdateImage(m_size);
            if (result == IO_OK)
                Remember(code, chosen);
            else if (result == IO_NO_MEMORY)
                return OutOfMemory();
            code = result;
        }
        return code == IO_NO_MEMORY ? OutOfMemory() : code;
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

    // "<KST path>/<site name>_website/files/", empty when the settings name no such folder or the site has no
    // path: a relative folder would search the program's working folder, which holds nothing of the site.
    std::string SettingsFilesFolder(const std::string& sitePath, int version, bool cutKst) const
    {
        if (!m_settings || m_settings->m_strKstPath.empty() || sitePath.empty())
            return {};
        std::string name = GetPathFileName(detail::CutSiteFileName(sitePath, version));
        if (cutKst)
            name = CutFirst(name, ".kst");
        return JoinPath(m_settings->m_strKstPath, name + "_website/files/");
    }

    void Remember(int code, const std::string& chosen)
    {
        const std::string oldFolder = GetPathFolder(m_original), newFolder = GetPathFolder(chosen);
        const bool sameName = SameText(GetPathFileName(m_original), GetPathFileName(chosen));
        if (m_map) {
            if (code == IO_INVALID_FILE || code == IO_FILE_NOT_FOUND)
                m_map->SetReplacementFile(m_original, chosen);
            if ((code == IO_FILE_NOT_FOUND && sameName && !SameText(oldFolder, newFolder)) ||
                (code == IO_FOLDER_NOT_FOUND && sameName))
                m_map->SetReplacementFolder(oldFolder, newFolder);
        }
        if (m_settings)
            m_settings->m_strImagePath = newFolder;
    }

    int OutOfMemory()
    {
        m_services.ShowNoMemoryForFillDialog();
        m_fill.SetColor(CColor(255, 0, 0));
        return m_fill.UpdateImage(m_size);
    }

    CFillInfo& m_fill;
    const SIZE m_size;
    const std::string m_original;
    const bool m_animated;
    CoreServices& m_services;
    CFileNameMap* m_map;
    CAppSettings* m_settings;
};

} // namespace

int FindFillPicture(CFillInfo& fill, const SIZE& size, int code)
{
    if (code == IO_OK)
        return code;
    GetCoreServices().SetSiteModified();
    PictureSearch search(fill, size);
    if (code == IO_NO_MEMORY)
        return search.Ask(code);
    return search.Ask(search.LookAround(code));
}
