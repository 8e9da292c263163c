#include "app/palettes/page_info.h"

#include <filesystem>
#include <functional>
#include <memory>

#include "app/model/app_settings.h"
#include "app/model/page_size.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/palettes/palette_edit.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/resources/string_ids.h"
#include "platform/resources/string_table.h"
#include "platform/win/codepage1252.h"

namespace {

// The notices of the picture and gradient backgrounds.

// Every edit of the palette counts for saving and for the next upload.
void MarkChanged(CSitePage& page)
{
    page.SetModified();
    page.SetChangedSinceUpload(true);
}

bool Editable()
{
    return GetCurrentSite() && GetCurrentPage() && !IsViewEditingText();
}

// Records the undo step and hands the prepared copy to the page.
bool ReplaceBackground(std::unique_ptr<CFillStyle> background)
{
    return ApplyPageEdit(
        kUndoPage, [](const CSitePage&) { return false; },
        [&](CSitePage& page) {
            page.SetBackground(std::move(background));
            MarkChanged(page);
        });
}

// A copy of the page's background, changed by edit and prepared for drawing; null, after the notice, when it
// cannot be prepared.
std::unique_ptr<CFillStyle> EditedBackground(const std::function<void(CFillStyle&)>& edit)
{
    CSitePage* page = GetCurrentPage();
    if (!page || !Editable())
        return nullptr;
    auto copy = page->GetBackground()->Clone();
    edit(*copy);
    if (!copy->LoadFillImage()) {
        GetMessages().ShowNotice(IDS_NO_MEMORY);
        return nullptr;
    }
    return copy;
}

// The copy with a picture that loaded, else null.
std::unique_ptr<CFillStyle> WithPicture(const std::string& path)
{
    auto copy = GetCurrentPage()->GetBackground()->Clone();
    copy->SetImageFile(path);
    // The load may have asked the user and settled for a colour: only a picture in hand counts.
    if (!copy->LoadFillImage() || copy->GetKind() != 1 || !copy->GetImage())
        return nullptr;
    return copy;
}

bool TakePicture(std::unique_ptr<CFillStyle> copy)
{
    if (CAppSettings* settings = GetAppSettings())
        settings->m_backgroundImagePath = GetPathFolder(copy->GetImageFile());
    return ReplaceBackground(std::move(copy));
}

std::string PictureStartFolder(const CFillStyle& background)
{
    const std::string path = background.GetImageFile();
    if (!path.empty())
        return GetPathFolder(path);
    const CAppSettings* settings = GetAppSettings();
    return settings ? settings->m_backgroundImagePath : std::string();
}

} // namespace

PageInfoState ReadPageInfo()
{
    PageInfoState state;
    const CSitePage* page = GetCurrentSite() ? GetCurrentPage() : nullptr;
    if (!page)
        return state;
    state.hasPage = true;
    state.editingText = IsViewEditingText();
    state.title = page->GetTitle();
    state.pageId = page->GetName();
    state.width = page->GetWidth();
    state.height = page->GetHeight();
    state.frontPage = page->IsFrontPage();
    state.centered = page->IsCentered();
    const CFillStyle& background = *page->GetBackground();
    state.kind = background.GetKind();
    state.color = background.GetColor();
    state.pictureName = GetPathFileName(background.GetImageFile());
    state.horizontal = background.IsGradientHorizontal();
    return state;
}

PageTitleEdit EditPageTitle(const std::string& text)
{
    CSitePage* page = GetCurrentPage();
    if (!page || !Editable() || text == page->GetTitle())
        return {};
    if (text.empty()) {
        GetMessages().ShowMessage(kEmptyTitleMessage);
        return {false, ResourceText(IDS_DEFAULT_PAGE_TITLE)};
    }
    PageTitleEdit edit;
    edit.changed = ApplyPageEdit(
        kUndoPage, [](const CSitePage&) { return false; },
        [&](CSitePage& edited) {
            edited.SetTitle(text);
            MarkChanged(edited);
        });
    return edit;
}

bool EditPageId(const std::string& text)
{
    CSitePage* page = GetCurrentPage();
    CWebsite* site = GetCurrentSite();
    if (!page || !site || !Editable() || text == page->GetName())
        return false;
    std::string cleaned = text;
    SanitizePageId(cleaned);
    if (cleaned == page->GetName())
        return false;
    // The page's own name in other case is no other page's; any other taken name, or none at all, is refused.
    const bool free = EqualNoCase1252(cleaned, page->GetName()) ? site->FindPageByName(cleaned) == page
                                                                : site->IsPageNameFree(cleaned);
    if (cleaned.empty() || !free) {
        GetMessages().ShowMessage(ResourceText(IDS_PAGE_ID_TAKEN));
        return false;
    }
    const bool changed = ApplyPageEdit(
        kUndoPage, [](const CSitePage&) { return false; },
        [&](CSitePage& edited) {
            edited.SetName(cleaned);
            MarkChanged(edited);
        });
    // The page's window is titled by its ID.
    GetCoreServices().UpdateTitle();
    return changed;
}

namespace {

int EditPageSide(const std::string& text, bool width)
{
    const int typed = ReadTypedNumber(text);
    const int value = width ? ClampPageWidth(typed) : ClampPageHeight(typed);
    CSitePage* page = GetCurrentPage();
    if (!page || !Editable())
        return value;
    ApplyPageEdit(
        kUndoPage,
        [&](const CSitePage& current) { return (width ? current.GetWidth() : current.GetHeight()) == value; },
        [&](CSitePage& edited) {
            if (width)
                edited.SetWidth(value);
            else
                edited.SetHeight(value);
            MarkChanged(edited);
        });
    return value;
}

} // namespace

int EditPageWidth(const std::string& text)
{
    return EditPageSide(text, true);
}

int EditPageHeight(const std::string& text)
{
    return EditPageSide(text, false);
}

bool ChoosePageSizeEntry(int index, int entryCount)
{
    int width = 0, height = 0;
    if (!Editable() || !SizeOfPresetEntry(index, entryCount, width, height))
        return false;
    return ApplyPageEdit(
        kUndoPage, [&](const CSitePage& page) { return page.GetWidth() == width && page.GetHeight() == height; },
        [&](CSitePage& page) {
            page.SetWidth(width);
            page.SetHeight(height);
            MarkChanged(page);
        });
}

void MakeFrontPage()
{
    CSitePage* page = GetCurrentPage();
    CWebsite* site = GetCurrentSite();
    if (page && site && Editable() && !page->IsFrontPage()) {
        site->SetHomePage(page);
        for (int i = 0; i < site->GetPageCount(); ++i)
            site->GetPage(i)->SetChangedSinceUpload(true);
    }
}

void SetPageCentered(bool centered)
{
    CSitePage* page = GetCurrentPage();
    if (page && Editable() && page->IsCentered() != centered) {
        page->SetCentered(centered);
        MarkChanged(*page);
    }
}

bool SetBackgroundColor(const CColor& color)
{
    const CSitePage* page = GetCurrentPage();
    if (!page || (page->GetBackground()->GetKind() == 0 && page->GetBackground()->GetColor() == color))
        return false;
    auto copy = EditedBackground([&](CFillStyle& fill) { fill.SetColor(color); });
    return copy && ReplaceBackground(std::move(copy));
}

bool SetBackgroundGradientKind()
{
    const CSitePage* page = GetCurrentPage();
    if (!page || page->GetBackground()->GetKind() == 2)
        return false;
    auto copy = EditedBackground([](CFillStyle& fill) { fill.SetGradient(nullptr); });
    return copy && ReplaceBackground(std::move(copy));
}

bool SetBackgroundGradientColors(const GRADIENTCOLORS& colors)
{
    const CSitePage* page = GetCurrentPage();
    if (!page)
        return false;
    CGradientInfo chosen = page->GetBackground()->GetGradient();
    chosen.SetGradientColors(colors);
    if (page->GetBackground()->GetKind() == 2 && chosen == page->GetBackground()->GetGradient())
        return false;
    // A band changed on a background of another kind makes it a gradient: otherwise the change would not show.
    auto copy = EditedBackground([&](CFillStyle& fill) { fill.SetGradient(&colors); });
    return copy && ReplaceBackground(std::move(copy));
}

bool SetBackgroundHorizontal(bool horizontal)
{
    const CSitePage* page = GetCurrentPage();
    if (!page || page->GetBackground()->IsGradientHorizontal() == horizontal)
        return false;
    auto copy = EditedBackground([&](CFillStyle& fill) { fill.SetGradientHorizontal(horizontal); });
    return copy && ReplaceBackground(std::move(copy));
}

bool ChooseBackgroundPictureKind(bool placed)
{
    CSitePage* page = GetCurrentPage();
    if (!page || !Editable() || page->GetBackground()->GetKind() == 1)
        return false;
    // A picture chosen anew starts tiled, even when the user keeps it.
    if (placed)
        SetBackgroundTiled();
    Messages& messages = GetMessages();
    std::string path = page->GetBackground()->GetImageFile();
    if (path.empty()) {
        path = PictureStartFolder(*page->GetBackground());
        if (!GetModelDialogs().GetPictureFileName(path))
            return false;
    }
    for (;;) {
        if (auto copy = WithPicture(path))
            return TakePicture(std::move(copy));
        messages.ShowNotice(IDS_PICTURE_NOT_USED);
        path = GetPathFolder(path);
        if (!GetModelDialogs().GetPictureFileName(path))
            return false;
    }
}

bool ChooseBackgroundPictureFile()
{
    CSitePage* page = GetCurrentPage();
    if (!page || !Editable())
        return false;
    Messages& messages = GetMessages();
    std::string path = PictureStartFolder(*page->GetBackground());
    if (!GetModelDialogs().GetPictureFileName(path))
        return false;
    if (auto copy = WithPicture(path))
        return TakePicture(std::move(copy));
    messages.ShowNotice(std::filesystem::exists(path) ? IDS_PICTURE_NOT_LOADED : IDS_PICTURE_NOT_USED);
    return false;
}

void SetBackgroundTiled()
{
    if (CSitePage* page = GetCurrentPage(); page && Editable()) {
        page->GetBackground()->SetTile(true);
        MarkChanged(*page);
        if (PageView* view = GetCurrentView())
            view->InvalidateView(true);
    }
}

void SetBackgroundPosition(int position)
{
    if (CSitePage* page = GetCurrentPage(); page && Editable() && position >= 0 && position < 9) {
        page->GetBackground()->SetImagePosition(position);
        MarkChanged(*page);
        if (PageView* view = GetCurrentView())
            view->InvalidateView(true);
    }
}
