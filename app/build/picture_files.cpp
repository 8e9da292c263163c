// The files of the site's pictures that are not composed from a page: names in the files folder, the page
// backgrounds (a picture copied or written again, a gradient written as a strip), and copies of the user's pictures.

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "app/build/build_helpers.h"
#include "app/build/site_builder.h"

#include "app/build/picture_writer.h"
#include "app/model/fill_style.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/io/io.h"
#include "platform/resources/string_table.h"

using namespace build_helpers;

namespace {

// The arguments every picture of a build is saved with; the format follows the name.
constexpr unsigned kSaveFlags = 8;
constexpr int kSaveQuality = 98;
// Browsers repeat a gradient strip over the window; a short one would repeat inside a wide window.
constexpr int kMinStripLength = 2048;

bool SameNameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && Lower(a) == Lower(b);
}

} // namespace

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
    m_pWriter->Save(m_options.filesFolder + fileName, std::move(image), m_pictureContext);
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
