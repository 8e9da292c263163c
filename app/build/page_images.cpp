// The pictures and positions of each page: which text becomes HTML text, where counters stand, the page's text
// styles, the background picture and the object pictures. Every picture of an object is composed from the page
// as it stands, with the object on top; nothing of the user's page changes while that happens.

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
#include "platform/resources/string_table.h"

namespace {

constexpr int kHtmlPreviewNotice = 7012;
constexpr int kHtmlSaveNotice = 7013;
// The arguments every picture of a build is saved with; the format follows the name.
constexpr unsigned kSaveFlags = 8;
constexpr int kSaveQuality = 98;
// Browsers repeat a gradient strip over the window; a short one would repeat inside a wide window.
constexpr int kMinStripLength = 2048;
// Pages reach the files folder by this prefix.
const char* const kFilesPrefix = "files/";
// A rendering in another format's stead is tried under this name before it is kept or thrown away.
const char* const kCompareName = "~compareimage.jpg";

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The name's extension with its dot, in lower case; empty when it has none.
std::string ExtensionOf(const std::string& name)
{
    const std::string file = FileNameOf(name);
    const size_t dot = file.rfind('.');
    return dot == std::string::npos ? std::string() : Lower(file.substr(dot));
}

std::string StemOf(const std::string& name)
{
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string WithJpgExtension(const std::string& name)
{
    return StemOf(name) + ".jpg";
}

// Whether a picture can be saved under the name in its own format.
bool IsSavableName(const std::string& name)
{
    const std::string extension = ExtensionOf(name);
    return extension == ".jpg" || extension == ".jpeg" || extension == ".png" || extension == ".gif" ||
           extension == ".bmp";
}

bool HasEffects(const CPageObject& object)
{
    const CEffectSettings* effects = object.GetEffects();
    return effects && effects->HasEffects();
}

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

CRect BoundsOf(const CPageObject& object)
{
    RECT bounds;
    return CRect(object.GetBounds(bounds));
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

bool BlocksHtmlText(const CObjectBuildRecord& above)
{
    if (above.asHtmlText)
        return false;
    const CPageObject& object = *above.item->GetCurrentObject();
    return object.GetKind() != objectRectangle || object.GetRotation() != 0.0 || HasEffects(object);
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && Lower(a) == Lower(b);
}

} // namespace

void CSiteBuilder::LayoutTextObjects(CPageBuildRecord& record, int pageIndex)
{
    (void)pageIndex;
    const int count = static_cast<int>(record.objects.size());
    // From the top down, so that every item above a text is decided before the text.
    for (int i = count - 1; i >= 0; --i) {
        CObjectBuildRecord& object = *record.objects[i];
        auto* text = dynamic_cast<CTextObject*>(object.item->GetCurrentObject());
        if (!text)
            continue;
        object.zIndex = i;
        object.asHtmlText = 0;
        // The object learns of its item's twin only through the program's services; the item is at hand here, also
        // for a site built without them.
        bool plain = text->IsPlainObject() && !object.item->HasMouseOver();
        const CRect rect = object.item->GetRect();
        for (int j = i + 1; plain && j < count; ++j) {
            CRect common;
            if (common.IntersectRect(record.objects[j]->item->GetRect(), rect) && BlocksHtmlText(*record.objects[j]))
                plain = false;
        }
        if (!plain)
            continue;
        object.asHtmlText = 1;
        const SIZE size = text->GetTextSize();
        // A body without paragraphs measures negative; it shows nothing.
        object.width = std::max(0, static_cast<int>(size.cx));
        object.height = std::max(0, static_cast<int>(size.cy));
        DPOINT centre;
        text->GetCenter(centre);
        const CTextBody& body = *text->GetTextBody();
        const double boxWidth = body.m_nWidth, boxHeight = body.m_nHeight;
        switch (body.m_nAlignment) {
        case CTextBody::alignLeft:
            object.left = RoundHalfUp(centre.x - boxWidth * 0.5) + 2;
            break;
        case CTextBody::alignCenter:
            object.left = RoundHalfUp(centre.x - object.width * 0.5) + 1;
            break;
        default:
            object.left = RoundHalfUp(centre.x + boxWidth * 0.5 - object.width);
            break;
        }
        object.top = RoundHalfUp(centre.y - boxHeight * 0.5) + 2;
    }

    // The linked runs of the HTML text: a run ends only before a character without a link or with another one, so
    // a link that goes on past a paragraph's end stays one anchor around the line break.
    for (int i = count - 1; i >= 0; --i) {
        CObjectBuildRecord& object = *record.objects[i];
        if (!object.asHtmlText)
            continue;
        const auto* text = dynamic_cast<const CTextObject*>(object.item->GetCurrentObject());
        object.linkRuns.clear();
        int index = 0;
        TextLinkRun* run = nullptr;
        for (const CTextParagraph& paragraph : text->GetTextBody()->m_paragraphs) {
            for (const CTextChar& c : paragraph.m_chars) {
                if (!c.m_link.IsActive())
                    run = nullptr;
                else if (run && run->link.IsEqual(c.m_link))
                    run->lastChar = index;
                else
                    run = &object.linkRuns.emplace_back(TextLinkRun{c.m_link, index, index});
                ++index;
            }
        }
    }
}

void CSiteBuilder::LayoutCounters(CPageBuildRecord& record, int pageIndex)
{
    (void)pageIndex;
    for (int i = static_cast<int>(record.objects.size()) - 1; i >= 0; --i) {
        CObjectBuildRecord& object = *record.objects[i];
        const CPageObject& counter = *object.item->GetCurrentObject();
        if (counter.GetKind() != objectCounter)
            continue;
        const CRect bounds = BoundsOf(counter);
        DPOINT centre;
        counter.GetCenter(centre);
        object.width = bounds.Width();
        object.height = bounds.Height();
        object.left = RoundHalfUp(centre.x - object.width * 0.5);
        object.top = RoundHalfUp(centre.y - object.height * 0.5);
        // Counters stay in their place in the z-order, which keeps them above the pictures already.
        object.zIndex = i;
    }
}

void CSiteBuilder::CollectTextStyles(CPageBuildRecord& record, int pageIndex)
{
    (void)pageIndex;
    for (const auto& object : record.objects) {
        if (!object->asHtmlText)
            continue;
        const auto* text = dynamic_cast<const CTextObject*>(object->item->GetCurrentObject());
        const CFillInfo* fill = text->GetFill();
        // A plain text with a colour fill shows every character in that colour.
        const bool fillColour = text->IsPlainObject() && fill && fill->GetKind() == CFillInfo::FILL_COLOR;
        const COLORREF fillColor = fillColour ? static_cast<COLORREF>(fill->GetColor().GetCOLORREF()) : 0;
        const CTextChar* previous = nullptr;
        int index = 0;
        for (const CTextParagraph& paragraph : text->GetTextBody()->m_paragraphs) {
            for (const CTextChar& c : paragraph.m_chars) {
                const bool changed = !previous || previous->m_nFaceIndex != c.m_nFaceIndex ||
                                     previous->m_nPointSize != c.m_nPointSize || previous->m_bBold != c.m_bBold ||
                                     previous->m_bItalic != c.m_bItalic || previous->m_bUnderline != c.m_bUnderline ||
                                     (!fillColour && previous->m_color != c.m_color);
                previous = &c;
                if (changed) {
                    TextStyleEntry style;
                    style.face = GetTextFaceName(c.m_nFaceIndex);
                    style.height = c.m_nPointSize;
                    style.italic = c.m_bItalic;
                    style.bold = c.m_bBold;
                    style.underline = c.m_bUnderline;
                    style.color = fillColour ? fillColor : c.m_color;
                    auto found = std::find_if(record.textStyles.begin(), record.textStyles.end(),
                                              [&](const TextStyleEntry& entry) { return entry.SameStyle(style); });
                    const int number = static_cast<int>(found - record.textStyles.begin());
                    if (found == record.textStyles.end())
                        record.textStyles.push_back(style);
                    record.textStyleRuns.push_back(TextStyleRun{index, number});
                }
                ++index;
            }
        }
    }
}

std::string CSiteBuilder::OwnOutputName(const std::string& sourcePath, bool background)
{
    for (const OwnName& own : m_ownNames)
        if (own.background == background && own.sourcePath == sourcePath)
            return own.fileName;
    std::string name = FileNameOf(sourcePath);
    if (background && !IsSavableName(name))
        name = WithJpgExtension(name);
    auto taken = [this](const std::string& candidate) {
        return std::any_of(m_ownNames.begin(), m_ownNames.end(),
                           [&](const OwnName& used) { return SameNameIgnoringCase(used.fileName, candidate); });
    };
    const std::string stem = StemOf(name), extension = name.substr(stem.size());
    for (int n = 1; taken(name); ++n)
        name = stem + "_" + std::to_string(n) + extension;
    m_ownNames.push_back(OwnName{sourcePath, background, name});
    return name;
}

bool CSiteBuilder::BuildBackgroundImage(CPageBuildRecord& record, int pageIndex)
{
    const CSitePage& page = *record.page;
    if (const CWebsite* site = page.GetSite()) {
        record.linkColor = static_cast<COLORREF>(site->GetLinkColor().GetCOLORREF());
        record.visitedColor = static_cast<COLORREF>(site->GetVisitedLinkColor().GetCOLORREF());
    }
    record.outsideColor = m_options.outsideColor;
    record.fillOutside = m_options.fillOutside;

    CFillStyle& fill = *page.GetBackground();
    const std::string source = fill.GetImageFile();
    const bool picture = fill.GetKind() == CFillStyle::FILL_IMAGE && !source.empty();
    if (fill.GetKind() == CFillStyle::FILL_COLOR || (fill.GetKind() == CFillStyle::FILL_IMAGE && !picture)) {
        // A picture background without a picture shows its colour, on screen as here.
        record.backgroundKind = 0;
        record.backgroundColor = static_cast<COLORREF>(fill.GetColor().GetCOLORREF());
        return true;
    }

    if (picture) {
        record.backgroundKind = 1;
        record.tiled = fill.IsTile();
        if (!fill.IsTile()) {
            record.imagePosition = fill.GetImagePosition();
            if (record.imagePosition < 0 || record.imagePosition > 8)
                record.imagePosition = 4;
            record.fillOutside = 0;
        }
        // A picture another page has as its background is written already.
        const bool written = std::any_of(m_ownNames.begin(), m_ownNames.end(), [&](const OwnName& own) {
            return own.background && own.sourcePath == source;
        });
        const std::string name = OwnOutputName(source, true);
        if (written) {
            record.backgroundUrl = kFilesPrefix + name;
            return true;
        }
        const std::string extension = ExtensionOf(source);
        if (extension == ".gif" || extension == ".png") {
            if (!CopyPicture(source, name))
                return false;
        } else {
            const CImage* image = fill.GetImage();
            if (!image) {
                NoteFailure(source + ": the picture could not be loaded");
                return false;
            }
            if (!SavePicture(*image, name))
                return false;
        }
        record.backgroundUrl = kFilesPrefix + name;
        return true;
    }

    if (fill.GetKind() != CFillStyle::FILL_GRADIENT)
        return true;
    record.backgroundKind = 2;
    record.tiled = fill.IsTile();
    const std::string fileName = ResourceText(IDS_PAGE_WORD, "Page") + std::to_string(pageIndex) + "_IMG_BCK.jpg";
    record.backgroundUrl = kFilesPrefix + fileName;

    const CImage* gradient = fill.GetImage();
    if (!gradient || gradient->GetMode() != IMAGE_MODE_RGB || gradient->Width() < 1 || gradient->Height() < 1) {
        NoteFailure(m_options.filesFolder + fileName + ": the gradient could not be rendered");
        return false;
    }
    // A strip across the page or up it; beyond the page it goes on in its last colour.
    const bool across = fill.IsGradientHorizontal();
    const int pageLength = std::max(1, across ? page.GetWidth() : page.GetHeight());
    const int length = std::max(pageLength, kMinStripLength);
    const int available = std::min(pageLength, across ? gradient->Width() : gradient->Height());
    CImage strip(IMAGE_MODE_RGB, across ? length : 1, across ? 1 : length, 96.0, CImage::ForOverwrite{});
    if (strip.IsEmpty()) {
        NoteFailure(m_options.filesFolder + fileName + ": not enough memory");
        return false;
    }
    for (int k = 0; k < length; ++k) {
        const int from = std::min(k, available - 1);
        const unsigned char* pixel = across ? gradient->GetData() + static_cast<size_t>(from) * 3
                                            : gradient->GetData() + static_cast<size_t>(from) * gradient->GetStride();
        unsigned char* target = across ? strip.GetData() + static_cast<size_t>(k) * 3
                                       : strip.GetData() + static_cast<size_t>(k) * strip.GetStride();
        std::memcpy(target, pixel, 3);
    }
    return SavePicture(strip, fileName);
}

bool CSiteBuilder::SavePicture(std::unique_ptr<CImage> image, const std::string& fileName)
{
    m_pWriter->Save(m_options.filesFolder + fileName, std::move(image), m_strPictureContext);
    return true;
}

bool CSiteBuilder::SavePicture(const CImage& image, const std::string& fileName)
{
    return SavePicture(std::make_unique<CImage>(image), fileName);
}

bool CSiteBuilder::SavePictureNow(const CImage& image, const std::string& fileName)
{
    const std::string path = m_options.filesFolder + fileName;
    m_pWriter->WaitFor(path);
    if (CIO::SaveImage(path, image, kSaveFlags, kSaveQuality))
        return true;
    NoteFailure(path + ": the picture could not be written");
    return false;
}

bool CSiteBuilder::CopyPicture(const std::string& sourcePath, const std::string& fileName)
{
    const std::string path = m_options.filesFolder + fileName;
    m_pWriter->WaitFor(path);
    std::error_code error;
    // A picture already in the files folder is its own copy.
    if (std::filesystem::equivalent(sourcePath, path, error))
        return true;
    error.clear();
    std::filesystem::copy_file(sourcePath, path, std::filesystem::copy_options::overwrite_existing, error);
    if (!error)
        return true;
    NoteFailure(path + ": " + sourcePath + " could not be copied (" + error.message() + ")");
    return false;
}

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
    if (!m_pWorkA->IsValid() || !page.GetRenderBuffer() || !page.GetRenderBuffer()->IsValid()) {
        NoteFailure(m_options.filesFolder + ": not enough memory for the pictures");
        return nullptr;
    }
    std::unique_ptr<CImage> image = ComposeItem(record, index, object, rect, *m_pWorkA, *page.GetRenderBuffer());
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
        m_strPictureContext, m_nPictureGroup);
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
        if (settings && settings->m_bShowTransparentShapeWarning)
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
    m_bNoticeShown = true;
    CAppSettings* settings = GetAppSettings();
    if (!settings)
        return;
    bool* show = nullptr;
    int text = 0;
    if (m_nMode == buildForPreview) {
        show = &settings->m_bShowHtmlPreviewWarning;
        text = kHtmlPreviewNotice;
    } else if (m_nMode == buildForLocalOutput) {
        show = &settings->m_bShowHtmlSaveWarning;
        text = kHtmlSaveNotice;
    }
    if (!show || !*show)
        return;
    bool dontShowAgain = false;
    if (GetCoreServices().ShowNoticeDialog(text, dontShowAgain) == DialogAnswer::ok)
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
            object.linkUrl = file ? file->sourcePath : link->GetFile();
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
        if (kind == objectHtml && !m_bNoticeShown)
            HandleEmbeddedObjectNotice();
        if (object.asHtmlText || (kind == objectCounter && !m_options.offline) || kind == objectHtml ||
            kind == objectForm)
            continue;

        const bool overlapped = IsOverlapped(record, i);
        object.imageNumber = m_nImageCounter;
        const std::string baseName = "IMG_" + std::to_string(m_nImageCounter);
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
            ++m_nImageCounter;
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
        ++m_nImageCounter;
        if (progress.IsCancelRequested())
            return buildCancelled;
    }
    progress.Repaint();
    return buildDone;
}
