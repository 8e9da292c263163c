#include "app/dialogs/fill_picture_choice.h"

#include "app/dialogs/notice_table.h"
#include "app/model/app_settings.h"
#include "app/model/fill_style.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"

namespace {

bool TryPicture(CFillStyle& fill, const std::string& path)
{
    CFillStyle trial(fill);
    trial.SetImageFile(path);
    // The load may have asked the user and settled for a solid colour: only a picture in hand counts.
    if (!trial.LoadFillImage() || trial.GetKind() != 1 || !trial.GetImage())
        return false;
    fill.SetImageFile(trial.GetImageFile());
    return true;
}

} // namespace

bool ChooseFillPictureKind(CFillStyle& fill)
{
    if (!fill.GetImageFile().empty()) {
        fill.SetImageFile(fill.GetImageFile());
        return true;
    }
    Messages& messages = GetMessages();
    std::string path;
    while (GetModelDialogs().GetPictureFileName(path)) {
        if (TryPicture(fill, path))
            return true;
        messages.ShowNotice(kNoticeFillNotFound);
        path = GetPathFolder(path);
    }
    return false;
}

bool ChooseFillPictureFile(CFillStyle& fill, const CAppSettings& settings)
{
    const std::string current = fill.GetImageFile();
    std::string path = current.empty() ? settings.m_backgroundImagePath : GetPathFolder(current);
    if (!GetModelDialogs().GetPictureFileName(path))
        return false;
    if (TryPicture(fill, path))
        return true;
    GetMessages().ShowNotice(kNoticeFillNotFound);
    return false;
}

int FillKindButton(const CFillStyle& fill, int solid, int picture, int gradient)
{
    switch (fill.GetKind()) {
    case 0:
        return solid;
    case 1:
        return picture;
    case 2:
        return gradient;
    default:
        return 0;
    }
}
