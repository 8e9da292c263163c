#include "app/model/fill_style.h"

#include "app/model/file_name_map.h"
#include "app/model/fill_picture_load.h"
#include "app/model/picture_search.h"
#include "app/model/restore_on_exit.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "platform/io/io.h"
#include "platform/win/path.h"

namespace {

// The last place to look for a missing picture: the built site's files folder in the settings' folder of site
// files, named after the site file cut by version. Empty when the settings name no such folder.
std::string WebFolderCandidate(const std::string& picturePath)
{
    const std::string folder = SettingsFilesFolder(
        CutSiteFileName(GetPathFileName(GetStoredPathBase()), GetCurrentState().GetSiteMinorVersion()));
    return folder.empty() ? folder : JoinPath(folder, GetPathFileName(picturePath));
}

// The background as the question to the user sees it. A picked picture is kept here until the search ends.
class BackgroundQuestion final : public PictureOwner
{
public:
    explicit BackgroundQuestion(CFillStyle& style) : m_style(style) {}

    CColor GetColor() const override { return m_style.GetColor(); }
    // The picture last tried, so that the user sees which pick failed.
    std::string GetDialogPath() const override { return m_style.GetImageFile(); }
    int LoadPicture(const std::string& path) override
    {
        m_style.SetImageFile(path);
        IOError error = IO_OK;
        image = LoadFillPicture(path, error);
        return image ? IO_OK : error;
    }
    int UseColor(const CColor& color) override
    {
        m_style.SetColor(color);
        return IO_OK;
    }

    std::unique_ptr<CImage> image;

private:
    CFillStyle& m_style;
};

} // namespace

bool CFillStyle::LoadPicture()
{
    if (m_pImage) {
        m_renderAgain = false;
        return true;
    }
    // A repaint while the user is being asked about this very picture paints the colour meanwhile.
    if (m_asking)
        return false;

    IOError error = IO_OK;
    std::unique_ptr<CImage> image = LoadFillPicture(m_strPath, error);
    if (!image) {
        CurrentState& current = GetCurrentState();
        current.SetSiteModified();
        PictureQuestion question;
        question.originalPath = m_strPath;
        question.map = current.GetSiteFileNameMap();
        // A pick is remembered by the stored picture's own error, not by what the places tried since gave.
        question.rememberAs = error;
        question.startInBackgroundFolder = true;
        question.emptyNameCancels = true;
        question.folderMustDiffer = true;
        CFileNameMap* map = question.map;

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
                attempt(JoinPath(replacement, GetPathFileName(tried)));
            else
                attemptWebFolder();
        }
        if (image) {
            m_strPath = tried;
        } else {
            BackgroundQuestion asked(*this);
            int code = error;
            {
                RestoreOnExit<bool> asking(m_asking, true);
                code = AskForPicture(asked, question, code);
            }
            image = std::move(asked.image);
            if (!image && code == IO_NO_MEMORY)
                code = UseRedForShortMemory(asked);
            // Without a picture, an answer means the background has become a solid colour.
            if (!image && code == IO_OK)
                return true;
        }
        if (!image) {
            m_renderAgain = true;
            return false;
        }
    }
    m_pImage = std::move(image);
    m_renderAgain = false;
    return true;
}
