// The pictures of each page's objects: which objects become pictures, under which name and in which format, and
// the pictures themselves. Every picture of an object is composed from the page as it stands, with the object on
// top; nothing of the user's page changes while that happens.

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

#include "app/build/build_helpers.h"
#include "app/build/linked_files.h"
#include "app/build/site_builder.h"

#include "app/build/picture_writer.h"
#include "app/build/url_scheme.h"
#include "app/model/app_settings.h"
#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/fill_style.h"
#include "app/model/services.h"
#include "app/model/text_style.h"
#include "app/objects/path_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/io/io.h"
#include "platform/resources/string_ids.h"
#include "platform/resources/string_table.h"

using namespace build_helpers;

namespace {

// A rendering in another format's stead is tried under this name before it is kept or thrown away.
const char* const kCompareName = "~compareimage.jpg";

bool HasButtonText(const CPageObject& object)
{
    const auto* path = dynamic_cast<const CPathObject*>(&object);
    return path && object.CanHaveButtonText() && path->GetTextStyle() && !path->GetTextStyle()->GetText().empty();
}

// The path of the object's picture fill; empty without one.
std::string PictureFile(const CPageObject& object)
{
    const CFillInfo* fill = object.GetFill();
    return fill && fill->GetKind() == CFillInfo::FILL_TEXTURE ? fill->GetImageFile() : std::string();
}

// An upright PNG rectangle without effects or button text shows its file as it is.
bool IsPlainPngRectangle(const CPageObject& object)
{
    return object.GetKind() == objectRectangle && object.GetRotation() == 0.0 && !HasEffects(object) &&
           !HasButtonText(object) && ExtensionOf(PictureFile(object)) == ".png";
}

// Whether a picture, rendered unchanged, may keep its own name and format.
bool IsUsableAsIs(const CPageObject& object, bool overlapped)
{
    if (object.GetRotation() != 0.0 || HasEffects(object))
        return false;
    const std::string picture = PictureFile(object);
    if (picture.empty())
        return false;
    const std::string extension = ExtensionOf(picture);
    if (extension != ".gif" && extension != ".jpg" && extension != ".jpeg" && extension != ".png")
        return false;
    const int kind = object.GetKind();
    if ((kind == objectCircle || kind == objectRectangle || kind == objectPolygon) && HasButtonText(object))
        return false;
    return !overlapped;
}

CRect ClipToPage(const CRect& rect, const CSitePage& page)
{
    return CRect(std::max(0, static_cast<int>(rect.left)), std::max(0, static_cast<int>(rect.top)),
                 std::min(page.GetWidth(), static_cast<int>(rect.right)),
                 std::min(page.GetHeight(), static_cast<int>(rect.bottom)));
}

void PlaceAt(CObjectBuildRecord& object, const CRect& rect)
{
    object.left = rect.left;
    object.top = rect.top;
    object.width = std::max(0, static_cast<int>(rect.Width()));
    object.height = std::max(0, static_cast<int>(rect.Height()));
}

} // namespace

bool CSiteBuilder::IsLeftOutOfPictures(const CObjectBuildRecord& object) const
{
    if (object.asHtmlText)
        return true;
    const CPageObject& current = *object.item->GetCurrentObject();
    switch (current.GetKind()) {
    case objectHtml:
    case objectForm:
        return true;
    case objectCounter:
        return !m_options.offline;
    default:
        return object.item->IsGifPicture() || IsPlainPngRectangle(current);
    }
}

std::unique_ptr<CImage> CSiteBuilder::RenderItem(const CPageBuildRecord& record, int index, CPageObject& object,
                                                 const CRect& rect)
{
    CSitePage& page = *record.page;
    if (!m_workA->IsValid() || !page.GetRenderBuffer() || !page.GetRenderBuffer()->IsValid()) {
        NoteFailure(m_options.filesFolder + ": not enough memory for the pictures");
        return nullptr;
    }
    std::unique_ptr<CImage> image = ComposeItem(record, index, object, rect, *m_workA, *page.GetRenderBuffer());
    if (!image)
        NoteFailure(m_options.filesFolder + ": the picture could not be composed");
    return image;
}

std::unique_ptr<CImage> CSiteBuilder::ComposeItem(const CPageBuildRecord& record, int index, CPageObject& object,
                                                  const CRect& rect, CPixMap& work, CPixMap& scratch) const
{
    CSitePage& page = *record.page;
    const CRect area = ClipToPage(rect, page);
    auto image = std::make_unique<CImage>(IMAGE_MODE_RGB, std::max(0, static_cast<int>(area.Width())),
                                          std::max(0, static_cast<int>(area.Height())), 96.0, CImage::ForOverwrite{});
    if (image->IsEmpty() || !work.IsValid() || !scratch.IsValid())
        return nullptr;
    const int tileSide = CSitePage::kRenderBufferSize;
    const int stride = work.plane[0].rowStep;
    BYTE* const origin = work.Sample(0, 0, 0);
    const int fullWidth = work.width, fullHeight = work.height;
    // Everything else that reaches into the picture, as the page shows it, bottom first; then the item in the
    // state asked for, on top of all.
    std::vector<std::pair<CPageObject*, CRect>> shown;
    for (int j = 0; j < static_cast<int>(record.objects.size()); ++j) {
        CPageObject& other = *record.objects[j]->item->GetCurrentObject();
        CRect bounds = BoundsOf(other), common;
        if (j != index && common.IntersectRect(bounds, area) && !IsLeftOutOfPictures(*record.objects[j]))
            shown.emplace_back(&other, bounds);
    }
    shown.emplace_back(&object, BoundsOf(object));
    bool stored = true;
    for (int y = area.top; stored && y < area.bottom; y += tileSide) {
        for (int x = area.left; stored && x < area.right; x += tileSide) {
            const CRect tile(x, y, std::min(x + tileSide, static_cast<int>(area.right)),
                             std::min(y + tileSide, static_cast<int>(area.bottom)));
            page.GetBackground()->Render(tile, origin, stride, scratch, page.GetWidth(), page.GetHeight());
            for (const auto& [drawn, bounds] : shown) {
                CRect part;
                if (part.IntersectRect(bounds, tile))
                    page.DrawObject(*drawn, part,
                                    origin + static_cast<ptrdiff_t>(part.top - tile.top) * stride +
                                        static_cast<ptrdiff_t>(part.left - tile.left) * 4,
                                    stride, false, scratch);
            }
            work.width = tile.Width();
            work.height = tile.Height();
            stored = image->SetBuf(tile.left - area.left, tile.top - area.top, work);
            work.width = fullWidth;
            work.height = fullHeight;
        }
    }
    if (!stored)
        return nullptr;
    return image;
}

void CSiteBuilder::SaveComposedPicture(const CPageBuildRecord& record, int index, CPageObject& object,
                                       const CRect& rect, const std::string& fileName)
{
    // The page, its records and its objects' images stay as they are until the page's jobs are done: the run
    // waits for them before a page gives its images back and before it ends.
    const CPageBuildRecord* shownRecord = &record;
    CPageObject* shownObject = &object;
    m_pWriter->Save(
        m_options.filesFolder + fileName,
        [this, shownRecord, index, shownObject, rect]() -> std::unique_ptr<CImage> {
            struct Maps
            {
                CPixMap work{IMAGE_MODE_RGBA, CSitePage::kRenderBufferSize, CSitePage::kRenderBufferSize};
                CPixMap scratch{IMAGE_MODE_RGBA, CSitePage::kRenderBufferSize, CSitePage::kRenderBufferSize};
            };
            thread_local std::unique_ptr<Maps> maps;
            if (!maps)
                maps = std::make_unique<Maps>();
            return ComposeItem(*shownRecord, index, *shownObject, rect, maps->work, maps->scratch);
        },
        m_pictureContext, m_pictureGroup);
}

const std::string* CSiteBuilder::FindReusableName(const CPageObject& object) const
{
    const auto* rectangle = dynamic_cast<const CPathObject*>(&object);
    if (!rectangle || object.GetKind() != objectRectangle)
        return nullptr;
    for (const ImageName& written : m_imageNames) {
        const auto* other = dynamic_cast<const CPathObject*>(written.object);
        if (other && rectangle->IsSameRectangle(*other))
            return &written.fileName;
    }
    return nullptr;
}

bool CSiteBuilder::ChooseSmallerPicture(const CPageBuildRecord& record, int index, CPageObject& object,
                                        const CRect& rect, const std::string& source, const std::string& baseName,
                                        std::string& fileName)
{
    const std::unique_ptr<CImage> image = RenderItem(record, index, object, rect);
    if (!image || !SavePictureNow(*image, kCompareName))
        return false;
    const std::string trial = m_options.filesFolder + kCompareName;
    struct stat sourceStatus, trialStatus;
    if (::stat(source.c_str(), &sourceStatus) != 0 || ::stat(trial.c_str(), &trialStatus) != 0) {
        NoteFailure(source + ": " + std::strerror(errno));
        std::remove(trial.c_str());
        return false;
    }
    if (sourceStatus.st_size < trialStatus.st_size) {
        fileName = OwnOutputName(source, false);
        if (!CopyPicture(source, fileName)) {
            std::remove(trial.c_str());
            return false;
        }
        if (std::remove(trial.c_str()) != 0) {
            NoteFailure(trial + ": could not be removed (" + std::strerror(errno) + ")");
            return false;
        }
        return true;
    }
    fileName = baseName + ".jpg";
    const std::string target = m_options.filesFolder + fileName;
    // The rename replaces an older file of the name.
    m_pWriter->WaitFor(target);
    if (std::rename(trial.c_str(), target.c_str()) != 0) {
        NoteFailure(target + ": could not be replaced (" + std::strerror(errno) + ")");
        std::remove(trial.c_str());
        return false;
    }
    return true;
}

bool CSiteBuilder::ApplyPictureRules(const CPageBuildRecord& record, int index, CPageObject& object, const CRect& rect,
                                     const std::string& baseName, bool overlapped, bool write, std::string& fileName)
{
    const std::string picture = PictureFile(object);
    const std::string ownName = picture.empty() ? std::string() : OwnOutputName(picture, false);
    const std::string extension = ExtensionOf(picture);
    const bool png = extension == ".png", gif = extension == ".gif";
    const bool jpeg = extension == ".jpg" || extension == ".jpeg";
    const bool buttonText = HasButtonText(object);
    const int kind = object.GetKind();
    const std::string jpgName = baseName + ".jpg";

    const auto rendered = [&](const std::string& name) {
        fileName = name;
        if (!write || rect.IsRectEmpty())
            return true;
        SaveComposedPicture(record, index, object, rect, name);
        return true;
    };
    const auto copied = [&](const std::string& name) {
        fileName = name;
        return !write || CopyPicture(picture, name);
    };

    // Covered pictures cannot be shown as they are: the covering part goes into the picture.
    if (overlapped && kind != objectPolygon && !picture.empty() && !png && !buttonText && !jpeg)
        return rendered(IsSavableName(ownName) ? ownName : jpgName);
    if (picture.empty() || (buttonText && !png))
        return rendered(jpgName);
    if (gif && kind == objectRectangle)
        return copied(ownName);
    if (gif)
        return rendered(ownName);
    if (png && IsPlainPngRectangle(object))
        return copied(ownName);
    if (png) {
        // The rendering is a JPEG: the picture's transparency goes.
        const CAppSettings* settings = GetAppSettings();
        if (settings && settings->m_showTransparentShapeWarning)
            GetModelDialogs().ShowPngTransparencyNotice();
        if (write && !CopyPicture(picture, ownName))
            return false;
        return rendered(WithJpgExtension(ownName));
    }
    if (jpeg) {
        if (IsUsableAsIs(object, overlapped))
            return rendered(ownName);
        if (write && !CopyPicture(picture, ownName))
            return false;
        return rendered(jpgName);
    }
    if (!write || rect.IsRectEmpty()) {
        fileName = jpgName;
        return true;
    }
    return ChooseSmallerPicture(record, index, object, rect, picture, baseName, fileName);
}

void CSiteBuilder::HandleEmbeddedObjectNotice()
{
    m_noticeShown = true;
    CAppSettings* settings = GetAppSettings();
    if (!settings)
        return;
    bool* show = nullptr;
    int text = 0;
    if (m_nMode == buildForPreview) {
        show = &settings->m_showHtmlPreviewWarning;
        text = IDS_HTML_PREVIEW_NOTICE;
    } else if (m_nMode == buildForLocalOutput) {
        show = &settings->m_showHtmlSaveWarning;
        text = IDS_HTML_SAVE_NOTICE;
    }
    if (!show || !*show)
        return;
    bool dontShowAgain = false;
    if (GetMessages().ShowNoticeDialog(text, dontShowAgain) == DialogAnswer::ok)
        *show = !dontShowAgain;
}

void CSiteBuilder::FillLink(CObjectBuildRecord& object, const CPageObject& linked) const
{
    const CLinkInfo* link = linked.GetLink();
    if (!linked.HasFill() || !link || !link->IsActive())
        return;
    object.hasLink = 1;
    object.linkTarget = link->GetTarget();
    switch (link->GetKind()) {
    case CLinkInfo::kindPage: {
        const int last = static_cast<int>(m_pageRecords.size()) - 1;
        const int page = std::clamp(link->GetPage(), 0, std::max(0, last));
        object.linkUrl = page <= last ? m_pageRecords[page]->fileName : std::string();
        break;
    }
    case CLinkInfo::kindEmail:
        object.linkUrl = "mailto:" + link->GetEmail();
        object.linkTarget = 0;
        break;
    case CLinkInfo::kindUrl:
        object.linkUrl = link->GetUrl();
        FixUrl(object.linkUrl);
        break;
    default: {
        // Documents the list does not know are published under their own name.
        const LinkedFile* file = FindLinkedFile(link->GetFile());
        if (m_options.offline)
            object.linkUrl = LocalFileAddress(file ? file->sourcePath : link->GetFile());
        else
            object.linkUrl =
                std::string(kFilesPrefix) + "Download/" + (file ? file->targetName : FileNameOf(link->GetFile()));
        break;
    }
    }
}

int CSiteBuilder::BuildObjectImages(CPageBuildRecord& record, int pageIndex, BuildProgress& progress)
{
    (void)pageIndex;
    const CSitePage& page = *record.page;
    for (int i = 0; i < static_cast<int>(record.objects.size()); ++i) {
        CObjectBuildRecord& object = *record.objects[i];
        CPageItem& item = *object.item;
        object.zIndex = i;
        const int kind = item.GetCurrentObject()->GetKind();
        if (kind == objectHtml && !m_noticeShown)
            HandleEmbeddedObjectNotice();
        if (object.asHtmlText || (kind == objectCounter && !m_options.offline) || kind == objectHtml ||
            kind == objectForm)
            continue;

        const bool overlapped = IsOverlapped(record, i);
        object.imageNumber = m_imageCounter;
        const std::string baseName = "IMG_" + std::to_string(m_imageCounter);
        if (!item.HasMouseOver()) {
            CPageObject& shown = *item.GetCurrentObject();
            const CRect rect = ClipToPage(item.GetRect(), page);
            PlaceAt(object, rect);
            std::string fileName;
            const std::string* reused = overlapped ? nullptr : FindReusableName(shown);
            if (reused) {
                fileName = *reused;
            } else {
                if (!ApplyPictureRules(record, i, shown, rect, baseName, overlapped, true, fileName))
                    return buildWriteFailed;
                if (!overlapped)
                    m_imageNames.push_back(ImageName{fileName, &shown});
            }
            object.imageUrl = kFilesPrefix + fileName;
        } else {
            // Both states at the size of the two together, so that they line up when the page swaps them. They
            // are this item's own renderings: no other item shares them.
            CPageObject& main = *item.GetObject(false);
            CPageObject& over = *item.GetObject(true);
            CRect both;
            both.UnionRect(BoundsOf(main), BoundsOf(over));
            const CRect rect = ClipToPage(both, page);
            PlaceAt(object, rect);
            ++m_imageCounter;
            std::string mainName;
            if (!ApplyPictureRules(record, i, main, rect, baseName, overlapped, false, mainName))
                return buildWriteFailed;
            if (!IsSavableName(mainName))
                mainName = baseName + ".jpg";
            const std::string overName = "mo_" + WithJpgExtension(mainName);
            if (!rect.IsRectEmpty()) {
                const std::pair<CPageObject*, const std::string*> states[] = {{&main, &mainName}, {&over, &overName}};
                for (const auto& [state, name] : states)
                    SaveComposedPicture(record, i, *state, rect, *name);
            }
            object.imageUrl = kFilesPrefix + mainName;
            object.mouseOverUrl = kFilesPrefix + overName;
            object.hasMouseOverImage = 1;
        }
        // The link the page shows is the main object's, whichever state the designer shows.
        FillLink(object, *item.GetObject(false));
        ++m_imageCounter;
        if (progress.IsCancelRequested())
            return buildCancelled;
    }
    progress.Repaint();
    return buildDone;
}
