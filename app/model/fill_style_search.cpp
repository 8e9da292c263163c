#include "app/model/fill_style.h"

#include "app/model/app_settings.h"
#include "app/model/file_name_map.h"
#include "app/model/fill_picture_load.h"
#include "app/model/restore_on_exit.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "platform/io/io.h"

namespace {

constexpr int kIdOk = 1;

bool AsksTheUser(IOError error)
{
    return error == IO_FILE_NOT_FOUND || error == IO_INVALID_FILE || error == IO_FOLDER_NOT_FOUND;
}

// Where the built site keeps its files, as a last place to look for a missing picture: the settings' site
// folder, the site file's name cut by version, "_website/files/" and the picture's name. Empty when the settings
// name no site folder.
std::string WebFolderCandidate(const std::string& picturePath)
{
    const CAppSettings* settings = GetAppSettings();
    if (!settings || settings->m_strKstPath.empty())
        return {};
    std::string folder = settings->m_strKstPath;
    if (folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    const std::string siteName =
        detail::CutSiteFileName(GetPathFileName(GetStoredPathBase()), GetCoreServices().GetSiteMinorVersion());
    return folder + siteName + "_website/files/" + GetPathFileName(picturePath);
}

// Teaches the site's map the user's choice, so that other fills naming the same picture, or another picture of
// the same lost folder, find theirs without asking.
void RememberReplacement(CFileNameMap* map, IOError firstError, const std::string& oldPath, const std::string& newPath)
{
    if (!map)
        return;
    const bool sameName =
        detail::LowerCase1252(GetPathFileName(oldPath)) == detail::LowerCase1252(GetPathFileName(newPath));
    const bool otherFolder =
        detail::LowerCase1252(GetPathFolder(oldPath)) != detail::LowerCase1252(GetPathFolder(newPath));
    if (firstError == IO_INVALID_FILE || firstError == IO_FILE_NOT_FOUND)
        map->SetReplacementFile(oldPath, newPath);
    if ((firstError == IO_FILE_NOT_FOUND || firstError == IO_FOLDER_NOT_FOUND) && sameName && otherFolder)
        map->SetReplacementFolder(GetPathFolder(oldPath), GetPathFolder(newPath));
}

} // namespace

std::string detail::CutSiteFileName(std::string name, int minor)
{
    auto cut = [&name](const char* part) {
        const size_t at = name.find(part);
        if (at != std::string::npos)
            name.erase(at, std::char_traits<char>::length(part));
    };
    if (minor > 14)
        cut(".kst");
    if (minor < 15)
        cut("-v6");
    if (minor <= 15)
        cut(".kth");
    return name;
}

bool CFillStyle::LoadPicture()
{
    if (m_pImage) {
        m_bRenderAgain = false;
        return true;
    }
    // A repaint while the user is being asked about this very picture paints the colour meanwhile.
    if (m_bAsking)
        return false;

    IOError error = IO_OK;
    std::unique_ptr<CImage> image = LoadFillPicture(m_strPath, error);
    if (!image) {
        CoreServices& services = GetCoreServices();
        services.SetSiteModified();
        const IOError firstError = error;
        const std::string originalPath = m_strPath;
        CFileNameMap* map = services.GetSiteFileNameMap();

        // The stored path changes only when another place yields the picture, so that a failed search loses
        // nothing of what the site holds.
        std::string tried = m_strPath;
        auto attempt = [&](const std::string& path) {
            tried = path;
            image = LoadFillPicture(path, error);
        };
        auto attemptWebFolder = [&]() {
            const std::string candidate = WebFolderCandidate(tried);
            if (!candidate.empty() && candidate != tried)
                attempt(candidate);
        };

        std::string replacement;
        if (!image && error == IO_INVALID_FILE && map && map->FindReplacementFile(tried, replacement))
            attempt(replacement);
        if (!image && error == IO_FILE_NOT_FOUND) {
            if (map && map->FindReplacementFile(tried, replacement))
                attempt(replacement);
            else
                attemptWebFolder();
        }
        if (!image && error == IO_FOLDER_NOT_FOUND) {
            if (map && map->LookupFolder(GetPathFolder(tried), replacement))
                attempt(replacement + GetPathFileName(tried));
            else
                attemptWebFolder();
        }
        if (image)
            m_strPath = tried;

        if (!image && AsksTheUser(error)) {
            RestoreOnExit<bool> asking(m_bAsking, true);
            CAppSettings* settings = GetAppSettings();
            while (!image && AsksTheUser(error)) {
                FillPictureDialog dialog;
                dialog.m_color = m_color;
                dialog.m_strPath = m_strPath;
                const int answer = error == IO_INVALID_FILE ? services.ShowFillInvalidDialog(dialog)
                                                            : services.ShowFillMissingDialog(dialog);
                std::string picked = settings ? settings->GetBackgroundImagePath() : std::string();
                if (answer != kIdOk || !dialog.m_bTryAgain || !services.GetPictureFileName(picked) || picked.empty()) {
                    SetColor(dialog.m_color);
                    return true;
                }
                SetImageFile(picked);
                image = LoadFillPicture(picked, error);
                if (image) {
                    RememberReplacement(map, firstError, originalPath, picked);
                    if (settings)
                        settings->m_strImagePath = GetPathFolder(picked);
                }
            }
        }

        if (!image && error == IO_NO_MEMORY) {
            services.ShowNoMemoryForFillDialog();
            SetColor(CColor(255, 0, 0));
            return true;
        }
        if (!image) {
            m_bRenderAgain = true;
            return false;
        }
    }
    m_pImage = std::move(image);
    m_bRenderAgain = false;
    return true;
}
