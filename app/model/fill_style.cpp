#include "app/model/fill_style.h"

#include <algorithm>
#include <cstdint>

#include "app/model/app_settings.h"
#include "app/model/file_name_map.h"
#include "app/model/fill_picture_load.h"
#include "app/model/record_stream.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/model/string_attr.h"
#include "platform/io/io.h"

namespace {

constexpr int kIdOk = 1;

// The size of the work map used when the caller's cannot take RGB with alpha.
constexpr int kOwnScratchSize = 256;

bool IsPageWidthValid(int width)
{
    return width >= CFillStyle::kMinPageSize && width <= CFillStyle::kMaxPageWidth;
}

bool IsPageHeightValid(int height)
{
    return height >= CFillStyle::kMinPageSize && height <= CFillStyle::kMaxPageHeight;
}

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

// The part of a page buffer that one paint step writes: a rectangle of it, its origin and row stride.
struct BufferArea
{
    BYTE* origin;
    int stride;
    int width;
    int height;
};

BYTE* PixelAt(const BufferArea& area, int x, int y)
{
    return area.origin + static_cast<ptrdiff_t>(y) * area.stride + static_cast<ptrdiff_t>(x) * 4;
}

void FillOpaque(const BufferArea& area, BYTE red, BYTE green, BYTE blue)
{
    for (int y = 0; y < area.height; ++y) {
        BYTE* p = PixelAt(area, 0, y);
        for (int x = 0; x < area.width; ++x, p += 4) {
            p[0] = 255;
            p[1] = red;
            p[2] = green;
            p[3] = blue;
        }
    }
}

// Copies the colour bytes of the map's pixels to (x, y) of the area; the area's alpha stays opaque.
void CopyColours(const CPixMap& map, const BufferArea& area, int x, int y)
{
    for (int j = 0; j < map.height; ++j) {
        const unsigned char* s = map.Sample(0, j, 0);
        BYTE* d = PixelAt(area, x, y + j);
        for (int i = 0; i < map.width; ++i, s += 4, d += 4) {
            d[1] = s[1];
            d[2] = s[2];
            d[3] = s[3];
        }
    }
}

// Copies the image's w x h pixels at (sx, sy) to (x, y) of the area through the work map, in pieces no larger
// than the map.
void CopyImageBlock(const CImage& image, int sx, int sy, int w, int h, CPixMap& map, int mapWidth, int mapHeight,
                    const BufferArea& area, int x, int y)
{
    for (int j = 0; j < h; j += mapHeight) {
        for (int i = 0; i < w; i += mapWidth) {
            map.width = std::min(mapWidth, w - i);
            map.height = std::min(mapHeight, h - j);
            image.GetBuf(sx + i, sy + j, map, MASK_EDGE_REPEAT);
            CopyColours(map, area, x + i, y + j);
        }
    }
}

int PositiveModulo(int value, int divisor)
{
    const int r = value % divisor;
    return r < 0 ? r + divisor : r;
}

bool IsRgbaWorkMap(const CPixMap& map)
{
    return map.IsValid() && map.mode == IMAGE_MODE_RGBA && map.interleaved && map.planes == 4 &&
           map.bitsPerPlane == 8 && map.plane[0].pixelStep == 4 && map.width > 0 && map.height > 0;
}

// Sets a value back when it goes out of scope, whatever way the scope ends.
template <class T> class RestoreOnExit
{
public:
    RestoreOnExit(T& target, T value) : m_target(target), m_saved(target) { m_target = value; }
    ~RestoreOnExit() { m_target = m_saved; }
    RestoreOnExit(const RestoreOnExit&) = delete;
    RestoreOnExit& operator=(const RestoreOnExit&) = delete;

private:
    T& m_target;
    T m_saved;
};

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

CFillStyle::CFillStyle() : m_color(255, 255, 255) {}

CFillStyle::CFillStyle(const CFillStyle& other)
    : m_nKind(other.m_nKind), m_color(other.m_color), m_strPath(other.m_strPath), m_bTile(other.m_bTile),
      m_nPosition(other.m_nPosition), m_gradient(other.m_gradient), m_bHorizontal(other.m_bHorizontal),
      m_bRenderAgain(true), m_nWidth(other.m_nWidth), m_nHeight(other.m_nHeight)
{
}

CFillStyle& CFillStyle::operator=(const CFillStyle& other)
{
    if (this != &other) {
        m_pImage.reset();
        m_nKind = other.m_nKind;
        m_color = other.m_color;
        m_strPath = other.m_strPath;
        m_bTile = other.m_bTile;
        m_nPosition = other.m_nPosition;
        m_gradient = other.m_gradient;
        m_bHorizontal = other.m_bHorizontal;
        m_nWidth = other.m_nWidth;
        m_nHeight = other.m_nHeight;
        m_bRenderAgain = true;
    }
    return *this;
}

CFillStyle::~CFillStyle() = default;

bool CFillStyle::operator==(const CFillStyle& other) const
{
    return m_nKind == other.m_nKind && m_color.GetCOLORREF() == other.m_color.GetCOLORREF() &&
           m_pImage == other.m_pImage && m_strPath == other.m_strPath && m_bTile == other.m_bTile &&
           m_gradient == other.m_gradient && m_bHorizontal == other.m_bHorizontal && m_nWidth == other.m_nWidth &&
           m_nHeight == other.m_nHeight && m_nPosition == other.m_nPosition;
}

void CFillStyle::SetColor(const CColor& color)
{
    m_pImage.reset();
    m_nKind = FILL_COLOR;
    m_color = color;
    m_bRenderAgain = false;
}

void CFillStyle::SetImageFile(const std::string& path)
{
    m_pImage.reset();
    m_strPath = path;
    m_nKind = FILL_IMAGE;
    m_bRenderAgain = true;
}

void CFillStyle::SetImageFileAndImage(const std::string& path, std::unique_ptr<CImage> image)
{
    m_pImage = std::move(image);
    m_strPath = path;
    m_nKind = FILL_IMAGE;
    m_bRenderAgain = m_pImage == nullptr;
}

void CFillStyle::SetGradient(const GRADIENTCOLORS* colors)
{
    m_pImage.reset();
    m_nKind = FILL_GRADIENT;
    if (colors)
        m_gradient.SetGradientColors(*colors);
    m_bRenderAgain = true;
}

void CFillStyle::SetGradientColors(const GRADIENTCOLORS& colors)
{
    m_pImage.reset();
    m_gradient.SetGradientColors(colors);
    m_bRenderAgain = true;
}

// A toggle may make the image stale, but never makes a pending one current: the flag only ever gets set here.
void CFillStyle::SetGradientHorizontal(bool horizontal)
{
    if (m_bHorizontal == horizontal)
        return;
    m_bHorizontal = horizontal;
    m_gradient.angle = horizontal ? 0 : 90;
    m_bRenderAgain = m_bRenderAgain || m_nKind == FILL_GRADIENT;
}

void CFillStyle::SetTile(bool tile)
{
    if (m_bTile == tile)
        return;
    m_bTile = tile;
    m_bRenderAgain = m_bRenderAgain || m_nKind == FILL_IMAGE;
}

void CFillStyle::SetImagePosition(int position)
{
    m_bTile = false;
    m_nPosition = position >= 0 && position <= 8 ? position : 4;
}

void CFillStyle::SetWidth(int width)
{
    if (m_nWidth != width) {
        m_nWidth = width;
        m_bRenderAgain = true;
    }
}

void CFillStyle::SetHeight(int height)
{
    if (m_nHeight != height) {
        m_nHeight = height;
        m_bRenderAgain = true;
    }
}

void CFillStyle::InvalidateImage()
{
    m_pImage.reset();
    m_bRenderAgain = true;
}

int CFillStyle::EstimateImageBytes(double factor) const
{
    if ((m_nKind != FILL_IMAGE && m_nKind != FILL_GRADIENT) || !m_pImage || !(factor > 0.0))
        return 0;
    const double bytes = static_cast<double>(m_pImage->Width()) * m_pImage->Height() / factor;
    return bytes < 2147483647.0 ? static_cast<int>(bytes) : 2147483647;
}

bool CFillStyle::LoadFillImage()
{
    // A picture or gradient without its image is never current, whatever the flag says.
    const bool hasImageKind = m_nKind == FILL_IMAGE || m_nKind == FILL_GRADIENT;
    if (!m_bRenderAgain && (!hasImageKind || m_pImage))
        return true;
    switch (m_nKind) {
    case FILL_GRADIENT:
        return RenderGradientStrip();
    case FILL_IMAGE:
        return LoadPicture();
    default:
        m_bRenderAgain = false;
        return true;
    }
}

bool CFillStyle::RenderGradientStrip()
{
    const int width = m_bHorizontal ? m_nWidth : 1;
    const int height = m_bHorizontal ? 1 : m_nHeight;
    if (width < 1 || height < 1 || width > kMaxPageWidth || height > kMaxPageHeight) {
        m_pImage.reset();
        m_bRenderAgain = true;
        return false;
    }
    if (!m_pImage || m_pImage->Width() != width || m_pImage->Height() != height ||
        m_pImage->GetMode() != IMAGE_MODE_RGB) {
        m_pImage.reset();
        auto strip = std::make_unique<CImage>(IMAGE_MODE_RGB, width, height, 96.0);
        if (strip->IsEmpty()) {
            m_bRenderAgain = true;
            return false;
        }
        m_pImage = std::move(strip);
    }
    if (!m_gradient.Render(m_pImage.get())) {
        m_pImage.reset();
        m_bRenderAgain = true;
        return false;
    }
    m_bRenderAgain = false;
    return true;
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

void CFillStyle::Render(const RECT& rect, BYTE* buffer, int stride, CPixMap& scratch, int pageWidth,
                        int pageHeight) const
{
    const int64_t width64 = static_cast<int64_t>(rect.right) - rect.left;
    const int64_t height64 = static_cast<int64_t>(rect.bottom) - rect.top;
    if (!buffer || width64 <= 0 || height64 <= 0 || width64 > stride / 4)
        return;
    const BufferArea area{buffer, stride, static_cast<int>(width64), static_cast<int>(height64)};
    const CImage* image = m_pImage.get();

    if (m_nKind == FILL_COLOR || m_bRenderAgain || !image || image->IsEmpty() || image->Width() < 1 ||
        image->Height() < 1 || (m_nKind != FILL_IMAGE && m_nKind != FILL_GRADIENT)) {
        const COLORREF c = m_color.GetCOLORREF();
        FillOpaque(area, GetRValue(c), GetGValue(c), GetBValue(c));
        return;
    }

    // Pixels move through a work map of RGB with alpha; a caller's map of another form is not written to.
    std::unique_ptr<CPixMap> own;
    CPixMap* map = &scratch;
    if (!IsRgbaWorkMap(scratch)) {
        own = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, kOwnScratchSize, kOwnScratchSize);
        if (!own->IsValid())
            return;
        map = own.get();
    }
    RestoreOnExit<int> keepWidth(map->width, map->width);
    RestoreOnExit<int> keepHeight(map->height, map->height);
    const int mapWidth = map->width;
    const int mapHeight = map->height;
    const int w = image->Width();
    const int h = image->Height();

    // Alpha first, as every kind leaves the whole rectangle opaque.
    if (m_nKind == FILL_IMAGE && !m_bTile)
        FillOpaque(area, 255, 255, 255);
    else
        FillOpaque(area, 0, 0, 0);

    if (m_nKind == FILL_IMAGE && m_bTile) {
        // The picture repeats from the page origin: start inside it where the rectangle falls, and wrap.
        int sy = PositiveModulo(rect.top, h);
        for (int y = 0; y < area.height;) {
            const int rows = std::min(h - sy, area.height - y);
            int sx = PositiveModulo(rect.left, w);
            for (int x = 0; x < area.width;) {
                const int cols = std::min(w - sx, area.width - x);
                CopyImageBlock(*image, sx, sy, cols, rows, *map, mapWidth, mapHeight, area, x, y);
                x += cols;
                sx = 0;
            }
            y += rows;
            sy = 0;
        }
        return;
    }

    if (m_nKind == FILL_IMAGE) {
        const int position = m_nPosition >= 0 && m_nPosition <= 8 ? m_nPosition : 0;
        const int64_t dx = (static_cast<int64_t>(pageWidth) - w) / 2;
        const int64_t dy = (static_cast<int64_t>(pageHeight) - h) / 2;
        const int64_t left = (position % 3) * dx;
        const int64_t top = (position / 3) * dy;
        const int64_t x0 = std::max<int64_t>(left, rect.left);
        const int64_t y0 = std::max<int64_t>(top, rect.top);
        const int64_t x1 = std::min<int64_t>(left + w, rect.right);
        const int64_t y1 = std::min<int64_t>(top + h, rect.bottom);
        if (x1 <= x0 || y1 <= y0)
            return;
        CopyImageBlock(*image, static_cast<int>(x0 - left), static_cast<int>(y0 - top), static_cast<int>(x1 - x0),
                       static_cast<int>(y1 - y0), *map, mapWidth, mapHeight, area, static_cast<int>(x0 - rect.left),
                       static_cast<int>(y0 - rect.top));
        return;
    }

    // The gradient strip: its pixels under the rectangle's columns repeated down every row, or its pixels for
    // the rectangle's rows repeated across each row. Beyond the strip its end pixels continue.
    if (m_bHorizontal) {
        for (int x = 0; x < area.width; x += mapWidth) {
            map->width = std::min(mapWidth, area.width - x);
            map->height = 1;
            image->GetBuf(rect.left + x, 0, *map, MASK_EDGE_REPEAT);
            for (int y = 0; y < area.height; ++y)
                CopyColours(*map, area, x, y);
        }
    } else {
        for (int y = 0; y < area.height; y += mapHeight) {
            map->width = 1;
            map->height = std::min(mapHeight, area.height - y);
            image->GetBuf(0, rect.top + y, *map, MASK_EDGE_REPEAT);
            for (int j = 0; j < map->height; ++j) {
                const unsigned char* s = map->Sample(0, j, 0);
                const BufferArea row{PixelAt(area, 0, y + j), stride, area.width, 1};
                FillOpaque(row, s[1], s[2], s[3]);
            }
        }
    }
}

void CFillStyle::Write(CFile& file) const
{
    // Whatever state the record is in, it is written as one that reads back: an unknown kind as its colour and
    // a size not set yet as the nearest one a file may hold.
    const int kind = m_nKind == FILL_IMAGE || m_nKind == FILL_GRADIENT ? m_nKind : FILL_COLOR;
    WriteUInt32(file, kTag);
    WriteInt32(file, kind);
    WriteInt32(file, std::clamp(m_nWidth, kMinPageSize, kMaxPageWidth));
    WriteInt32(file, std::clamp(m_nHeight, kMinPageSize, kMaxPageHeight));
    switch (kind) {
    case FILL_COLOR:
        WriteColor(file, m_color);
        break;
    case FILL_IMAGE:
        WriteCountedString(file, MakeSiteRelativePath(GetStoredPathBase(), m_strPath));
        WriteFlag(file, m_bTile);
        WriteInt32(file, m_nPosition);
        break;
    default:
        m_gradient.Write(file);
        WriteFlag(file, m_bHorizontal);
        break;
    }
}

void CFillStyle::Read(CFile& file, int major, int minor)
{
    if (ReadUInt32(file) != kTag)
        ThrowBadRecord();
    const int32_t kind = ReadInt32(file);
    const int32_t width = ReadInt32(file);
    const int32_t height = ReadInt32(file);
    if (!IsPageWidthValid(width) || !IsPageHeightValid(height))
        ThrowBadRecord();

    // Read into copies so that a damaged record leaves this one as it was.
    CColor color = m_color;
    std::string path = m_strPath;
    bool tile = m_bTile;
    int position = m_nPosition;
    CGradientInfo gradient = m_gradient;
    bool horizontal = m_bHorizontal;
    switch (kind) {
    case FILL_COLOR:
        color = ReadColor(file);
        break;
    case FILL_IMAGE: {
        std::string stored;
        CStringAttr::ReadBody(file, stored);
        path = stored.empty() ? stored : ResolveStoredPath(stored);
        tile = ReadFlag(file);
        position = minor >= 12 ? ReadInt32(file) : 4;
        break;
    }
    case FILL_GRADIENT:
        gradient.Read(file, major, minor);
        horizontal = ReadFlag(file);
        break;
    default:
        ThrowBadRecord();
    }

    m_nKind = kind;
    m_nWidth = width;
    m_nHeight = height;
    m_color = color;
    m_strPath = std::move(path);
    m_bTile = tile;
    m_nPosition = position;
    m_gradient = gradient;
    m_bHorizontal = horizontal;
    m_pImage.reset();
    m_bRenderAgain = true;
}
