#include "app/model/picture_search.h"

#include "app/model/app_settings.h"
#include "app/model/file_name_map.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "platform/io/io.h"
#include "platform/win/codepage1252.h"
#include "platform/win/path.h"

namespace {

bool SameText(const std::string& a, const std::string& b)
{
    return LowerCase1252(a) == LowerCase1252(b);
}

// Teaches the site's map the user's pick, so that other fills naming the same picture, or another picture of the
// same lost folder, find theirs without asking.
void RememberReplacement(const PictureQuestion& question, int error, const std::string& newPath)
{
    CFileNameMap* map = question.map;
    if (!map)
        return;
    const std::string& oldPath = question.originalPath;
    const std::string oldFolder = GetPathFolder(oldPath);
    const std::string newFolder = GetPathFolder(newPath);
    const bool sameName = SameText(GetPathFileName(oldPath), GetPathFileName(newPath));
    const bool otherFolder = !SameText(oldFolder, newFolder);
    if (error == IO_INVALID_FILE || error == IO_FILE_NOT_FOUND)
        map->SetReplacementFile(oldPath, newPath);
    const bool fileMoved = error == IO_FILE_NOT_FOUND && otherFolder;
    const bool folderLost = error == IO_FOLDER_NOT_FOUND && (otherFolder || !question.folderMustDiffer);
    if (sameName && (fileMoved || folderLost))
        map->SetReplacementFolder(oldFolder, newFolder);
}

} // namespace

bool CanSearchForPicture(int code)
{
    return code == IO_FILE_NOT_FOUND || code == IO_INVALID_FILE || code == IO_FOLDER_NOT_FOUND;
}

std::string SiteFilesFolder(const std::string& site)
{
    return site + "_website/files/";
}

std::string SettingsFilesFolder(const std::string& siteName)
{
    const CAppSettings* settings = GetAppSettings();
    if (!settings || settings->m_kstPath.empty())
        return {};
    return JoinPath(settings->m_kstPath, SiteFilesFolder(siteName));
}

int AskForPicture(PictureOwner& owner, const PictureQuestion& question, int code)
{
    ModelDialogs& dialogs = GetModelDialogs();
    CAppSettings* settings = GetAppSettings();
    while (CanSearchForPicture(code)) {
        FillPictureDialog dialog;
        dialog.m_color = owner.GetColor();
        dialog.m_strPath = owner.GetDialogPath();
        const DialogAnswer answer =
            code == IO_INVALID_FILE ? dialogs.ShowFillInvalidDialog(dialog) : dialogs.ShowFillMissingDialog(dialog);
        std::string chosen;
        if (settings)
            chosen = question.startInBackgroundFolder ? settings->GetBackgroundImagePath() : settings->GetImagePath();
        if (answer != DialogAnswer::ok || !dialog.m_tryAgain || !dialogs.GetPictureFileName(chosen) ||
            (question.emptyNameCancels && chosen.empty()))
            return owner.UseColor(dialog.m_color);
        const int result = owner.LoadPicture(chosen);
        if (result == IO_OK) {
            RememberReplacement(question, question.rememberAs.value_or(code), chosen);
            if (settings)
                settings->m_imagePath = GetPathFolder(chosen);
        }
        code = result;
    }
    return code;
}

int UseRedForShortMemory(PictureOwner& owner)
{
    GetModelDialogs().ShowNoMemoryForFillDialog();
    return owner.UseColor(CColor(255, 0, 0));
}

std::string CutSiteFileName(std::string name, int minor)
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
