#include "app/palettes/fill_page_logic.h"

#include "app/model/app_settings.h"
#include "app/model/fill_info.h"
#include "app/model/fill_picture_load.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/objects/page_object.h"
#include "app/objects/text_object.h"
#include "app/palettes/palette_edit.h"
#include "app/site/site_page.h"
#include "platform/resources/string_ids.h"

namespace {

// The notices of a picture that does not load.

CFillInfo* CurrentFill()
{
    CPageObject* object = GetPaletteObject();
    return object ? object->GetFill() : nullptr;
}

// One undo step of the fill kind: a copy of the fill takes the change and replaces the object's fill.
void ApplyFill(const std::function<void(CFillInfo&)>& change)
{
    ApplyObjectEdit(
        kUndoFill, [](const CPageObject& object) { return object.GetFill() == nullptr; },
        [&](CPageObject& object) {
            std::unique_ptr<CFillInfo> fill = object.GetFill()->Clone();
            change(*fill);
            object.SetFill(std::move(fill));
        });
}

std::string LastPictureFolder()
{
    const CAppSettings* settings = GetAppSettings();
    return settings ? settings->GetImagePath() : std::string();
}

void RememberPictureFolder(const std::string& path)
{
    if (CAppSettings* settings = GetAppSettings())
        settings->m_imagePath = GetPathFolder(path);
}

void TellPictureFailed(IOError error)
{
    GetMessages().ShowNotice(error == IO_NO_MEMORY ? IDS_NO_MEMORY_FOR_PICTURE : IDS_PICTURE_NOT_USED);
}

void ApplyPicture(const std::string& path, std::unique_ptr<CImage> image)
{
    RememberPictureFolder(path);
    // The edit runs its change once: the loaded image moves into the fill's copy, and is not loaded again.
    ApplyFill([&](CFillInfo& fill) { fill.SetTextureFileAndImage(path, std::move(image)); });
}

} // namespace

FillPageState ReadFillPage()
{
    FillPageState state;
    CPageObject* object = GetPaletteObject();
    const CFillInfo* fill = object ? object->GetFill() : nullptr;
    if (!fill)
        return state;
    const bool text = object->GetKind() == objectText;
    state.solid = state.picture = state.gradient = true;
    state.colorWell = state.gradientBand = state.angleWheel = true;
    state.noFill = text;
    const CSitePage* page = GetCurrentPage();
    const auto disableAll = [&] {
        state.solid = state.picture = state.gradient = state.noFill = false;
        state.colorWell = state.gradientBand = state.angleWheel = false;
    };
    if (page && page->IsEditingInPlace())
        disableAll();
    // A plain text takes a solid colour or no fill only.
    if (text && !static_cast<const CTextObject*>(object)->AllowsAdvancedText())
        state.picture = state.gradient = state.gradientBand = state.angleWheel = false;
    const int kind = fill->GetKind();
    state.checked = kind >= CFillInfo::FILL_COLOR && kind <= CFillInfo::FILL_NONE ? kind : kFillRadioNone;
    state.hasFill = true;
    state.color = fill->GetColor();
    // The path stays in the fill after it became a colour or gradient, and the box goes on showing it.
    state.fileName = GetPathFileName(fill->GetImageFile());
    state.gradientValue = fill->GetGradient();
    // The fill of an animated picture is shown only.
    if (fill->IsAnimated())
        disableAll();
    return state;
}

bool FillOnSolid(bool checked, const CColor& wellColor)
{
    const CFillInfo* fill = CurrentFill();
    if (!fill || !checked)
        return false;
    if (fill->GetKind() != CFillInfo::FILL_COLOR)
        ApplyFill([&](CFillInfo& f) { f.SetColor(wellColor); });
    return true;
}

bool FillOnColorChanged(const CColor& wellColor)
{
    const CFillInfo* fill = CurrentFill();
    if (fill && (fill->GetColor().GetCOLORREF() != wellColor.GetCOLORREF() || fill->GetKind() != CFillInfo::FILL_COLOR))
        ApplyFill([&](CFillInfo& f) { f.SetColor(wellColor); });
    return true;
}

bool FillOnToolsBarColor()
{
    const CFillInfo* fill = CurrentFill();
    CColor color;
    if (fill && GetToolsAndInspector().GetToolsBarColor(color) &&
        (fill->GetColor().GetCOLORREF() != color.GetCOLORREF() || fill->GetKind() != CFillInfo::FILL_COLOR))
        ApplyFill([&](CFillInfo& f) { f.SetColor(color); });
    return true;
}

namespace {

void ApplyGradient(const GRADIENTCOLORS& band, int angle)
{
    ApplyFill([&](CFillInfo& f) {
        CGradientInfo gradient = f.GetGradient();
        gradient.SetGradientColors(band);
        gradient.angle = angle;
        f.SetGradient(gradient);
    });
}

} // namespace

bool FillOnGradient(bool checked, const GRADIENTCOLORS& band)
{
    const CFillInfo* fill = CurrentFill();
    if (!fill || !checked)
        return false;
    if (fill->GetKind() != CFillInfo::FILL_GRADIENT)
        ApplyGradient(band, fill->GetGradient().angle);
    return true;
}

bool FillOnGradientChanged(const GRADIENTCOLORS& band)
{
    if (const CFillInfo* fill = CurrentFill())
        ApplyGradient(band, fill->GetGradient().angle);
    return true;
}

bool FillOnAngleChanged(const GRADIENTCOLORS& band, int angle)
{
    if (CurrentFill())
        ApplyGradient(band, angle);
    return true;
}

bool FillOnNoFill(bool checked)
{
    const CFillInfo* fill = CurrentFill();
    if (!fill || !checked)
        return false;
    if (fill->GetKind() != CFillInfo::FILL_NONE)
        ApplyFill([](CFillInfo& f) { f.SetNone(); });
    return true;
}

FillPictureLoader DefaultFillPictureLoader()
{
    return [](const std::string& path, IOError& error) { return LoadFillPicture(path, error); };
}

std::unique_ptr<CImage> LoadWithWaitCursor(const std::string& path, IOError& error, const FillPictureLoader& load)
{
    // Shared by every load of the page, so that a load started inside another shows one wait cursor.
    static int waitNesting = 0;
    if (waitNesting++ == 0)
        GetCoreServices().BeginWaitCursor();
    error = IO_OK;
    std::unique_ptr<CImage> image;
    try {
        image = load(path, error);
    } catch (...) {
        if (--waitNesting == 0)
            GetCoreServices().EndWaitCursor();
        throw;
    }
    if (--waitNesting == 0)
        GetCoreServices().EndWaitCursor();
    if (!image && error == IO_OK)
        error = IO_INVALID_FILE;
    return image;
}

bool FillOnPicture(bool checked, const FillPictureLoader& load)
{
    const CFillInfo* fill = CurrentFill();
    if (!fill || !checked)
        return false;
    if (fill->GetKind() == CFillInfo::FILL_TEXTURE)
        return true;
    std::string path = fill->GetImageFile();
    bool chosen = true;
    if (path.empty()) {
        path = LastPictureFolder();
        chosen = GetModelDialogs().GetPictureFileName(path);
    }
    while (chosen) {
        IOError error = IO_OK;
        if (std::unique_ptr<CImage> image = LoadWithWaitCursor(path, error, load)) {
            ApplyPicture(path, std::move(image));
            return true;
        }
        TellPictureFailed(error);
        path = GetPathFolder(path);
        chosen = GetModelDialogs().GetPictureFileName(path);
    }
    // Cancelled: the page shows the fill as it is again.
    return true;
}

bool FillOnBrowse(const FillPictureLoader& load)
{
    const CFillInfo* fill = CurrentFill();
    if (!fill)
        return true;
    std::string path = fill->GetImageFile();
    if (path.empty())
        path = LastPictureFolder();
    if (!GetModelDialogs().GetPictureFileName(path))
        return true;
    IOError error = IO_OK;
    std::unique_ptr<CImage> image = LoadWithWaitCursor(path, error, load);
    if (!image) {
        TellPictureFailed(error);
        return true;
    }
    ApplyPicture(path, std::move(image));
    return true;
}
