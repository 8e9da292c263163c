#include "app/model/fill_info.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/model/fill_picture_load.h"
#include "app/model/record_stream.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/model/string_attr.h"
#include "image/tiles.h"
#include "platform/io/io.h"

namespace {

// Owned pictures are stored in the work map's tiles; every stored tile row is as long as a full tile's row,
// whatever the tile's actual width. Files written with one tile size cannot be read with another.
static_assert(kImageTileSize == 256, "the stored form of owned pictures is laid out in tiles of 256 pixels");

// The modes an owned picture is stored in.
bool IsStorableMode(uint32_t mode)
{
    return mode == IMAGE_MODE_GREY || mode == IMAGE_MODE_INDEXED || mode == IMAGE_MODE_RGB;
}

// The mode a picture is written in: its own, without an alpha plane (the stored form has none). Zero when the
// picture cannot be stored.
IMAGE_MODE StoredModeOf(const CImage* picture)
{
    if (picture == nullptr || picture->IsEmpty() || picture->Width() < 1 || picture->Height() < 1)
        return IMAGE_MODE_NONE;
    const uint32_t mode = picture->GetMode() & ~IMAGE_MODE_ALPHA_BIT;
    return IsStorableMode(mode) ? static_cast<IMAGE_MODE>(mode) : IMAGE_MODE_NONE;
}

void WritePicture(CFile& file, const CImage& picture, IMAGE_MODE mode)
{
    const int w = picture.Width();
    const int h = picture.Height();
    WriteInt32(file, w);
    WriteInt32(file, h);
    WriteInt32(file, static_cast<int32_t>(mode));

    CPixMap map(mode, kImageTileSize, kImageTileSize);
    if (!map.IsValid())
        AfxThrowFileException(CFileException::generic, -1);
    const int rowBytes = map.plane[0].rowStep;
    ForEachTile(map, w, h, [&](int tx, int ty) {
        // The bytes beyond a narrow tile's width are stored too; keep them zero rather than the last tile's.
        std::memset(map.plane[0].data, 0, static_cast<size_t>(map.bufferSize[0]));
        picture.GetBuf(tx, ty, map);
        file.Write(map.plane[0].data, static_cast<UINT>(map.height * rowBytes));
        return true;
    });
}

std::unique_ptr<CImage> ReadPicture(CFile& file)
{
    const int32_t w = ReadInt32(file);
    const int32_t h = ReadInt32(file);
    const uint32_t storedMode = ReadUInt32(file);
    if (w < 1 || h < 1 || w > kMaxPictureSide || h > kMaxPictureSide ||
        static_cast<int64_t>(w) * h > kMaxPicturePixels || !IsStorableMode(storedMode))
        ThrowBadRecord();
    const IMAGE_MODE mode = static_cast<IMAGE_MODE>(storedMode);

    CPixMap map(mode, kImageTileSize, kImageTileSize);
    if (!map.IsValid())
        ThrowBadRecord();
    const int rowBytes = map.plane[0].rowStep;

    // A file that cannot hold the pixels it announces is refused before the picture is allocated.
    const int64_t tilesAcross = (w + kImageTileSize - 1) / kImageTileSize;
    const ULONGLONG needed = static_cast<ULONGLONG>(h) * tilesAcross * rowBytes;
    const ULONGLONG length = file.GetLength();
    const ULONGLONG position = file.GetPosition();
    if (position > length || needed > length - position)
        ThrowBadRecord();

    auto picture = std::make_unique<CImage>(mode, w, h, 96.0);
    if (picture->IsEmpty())
        ThrowBadRecord();
    ForEachTile(map, w, h, [&](int tx, int ty) {
        ReadExact(file, map.plane[0].data, static_cast<UINT>(map.height * rowBytes));
        picture->SetBuf(tx, ty, map);
        return true;
    });
    return picture;
}

} // namespace

CFillInfo::CFillInfo() : m_color(0, 0, 0)
{
    GetToolsAndInspector().GetToolsBarColor(m_color);
}

CFillInfo::CFillInfo(const CFillInfo& other)
    : m_kind(other.m_kind), m_color(other.m_color), m_strPath(other.m_strPath), m_gradient(other.m_gradient),
      m_animated(other.m_animated), m_renderAgain(true)
{
    if (m_kind == FILL_PICTURE && other.m_pImage)
        m_pImage = std::make_unique<CImage>(*other.m_pImage);
}

CFillInfo& CFillInfo::operator=(const CFillInfo& other)
{
    if (this != &other) {
        CFillInfo copy(other);
        m_kind = copy.m_kind;
        m_color = copy.m_color;
        m_pImage = std::move(copy.m_pImage);
        m_strPath = std::move(copy.m_strPath);
        m_gradient = copy.m_gradient;
        m_animated = copy.m_animated;
        m_renderAgain = copy.m_renderAgain;
    }
    return *this;
}

CFillInfo::~CFillInfo() = default;

void CFillInfo::SetColor(const CColor& color)
{
    DropImage();
    m_kind = FILL_COLOR;
    m_color = color;
    m_animated = false;
    m_renderAgain = false;
}

void CFillInfo::SetImageFile(const std::string& path)
{
    DropImage();
    m_strPath = path;
    m_kind = FILL_TEXTURE;
    m_renderAgain = true;
    m_animated = false;
}

void CFillInfo::SetTextureFileAndImage(const std::string& path, std::unique_ptr<CImage> image)
{
    m_pImage = std::move(image);
    m_strPath = path;
    m_kind = FILL_TEXTURE;
    m_animated = false;
    // Without an image the texture is loaded when it is next needed.
    m_renderAgain = m_pImage == nullptr;
}

void CFillInfo::SetGradient(const CGradientInfo& gradient)
{
    DropImage();
    m_gradient = gradient;
    m_kind = FILL_GRADIENT;
    m_renderAgain = true;
    m_animated = false;
}

void CFillInfo::SetNone()
{
    DropImage();
    m_kind = FILL_NONE;
    m_animated = false;
    m_renderAgain = false;
}

void CFillInfo::SetPicture(std::unique_ptr<CImage> picture)
{
    m_pImage = std::move(picture);
    m_kind = FILL_PICTURE;
    m_animated = false;
    m_renderAgain = false;
}

void CFillInfo::InvalidateImage()
{
    if (m_kind == FILL_PICTURE)
        return;
    DropImage();
    m_renderAgain = true;
}

bool CFillInfo::operator==(const CFillInfo& other) const
{
    if (m_kind != other.m_kind)
        return false;
    switch (m_kind) {
    case FILL_COLOR:
        return m_color.GetCOLORREF() == other.m_color.GetCOLORREF();
    case FILL_TEXTURE:
        return m_strPath == other.m_strPath;
    case FILL_GRADIENT:
        return m_gradient == other.m_gradient;
    case FILL_NONE:
        return true;
    default:
        return false;
    }
}

int CFillInfo::UpdateImage(const SIZE& size)
{
    if (!m_renderAgain)
        return 0;
    switch (m_kind) {
    case FILL_TEXTURE:
        if (!m_pImage) {
            IOError error = IO_OK;
            std::unique_ptr<CImage> loaded = LoadFillPicture(m_strPath, error);
            if (!loaded)
                return error;
            m_pImage = std::move(loaded);
        }
        m_renderAgain = false;
        return 0;
    case FILL_GRADIENT:
        if (!m_pImage || m_pImage->Width() != size.cx || m_pImage->Height() != size.cy) {
            auto image = std::make_unique<CImage>(IMAGE_MODE_RGB, size.cx, size.cy, 96.0);
            if (image->IsEmpty())
                return IO_NO_MEMORY;
            m_pImage = std::move(image);
        }
        if (!m_gradient.Render(m_pImage.get()))
            return IO_NO_MEMORY;
        m_renderAgain = false;
        return 0;
    default:
        m_renderAgain = false;
        return 0;
    }
}

void CFillInfo::Write(CFile& file) const
{
    int kind = m_kind;
    const IMAGE_MODE pictureMode = kind == FILL_PICTURE ? StoredModeOf(m_pImage.get()) : IMAGE_MODE_NONE;
    // A fill without a picture it could store is written as no fill rather than as data no reader accepts.
    if (kind == FILL_PICTURE && pictureMode == IMAGE_MODE_NONE)
        kind = FILL_NONE;

    WriteUInt32(file, kTag);
    WriteInt32(file, kind);
    switch (kind) {
    case FILL_COLOR:
        WriteColor(file, m_color);
        break;
    case FILL_TEXTURE:
        WriteCountedString(file, MakeSiteRelativePath(GetCurrentState().GetCurrentSitePath(), m_strPath));
        break;
    case FILL_GRADIENT:
        m_gradient.Write(file);
        break;
    case FILL_PICTURE:
        WritePicture(file, *m_pImage, pictureMode);
        break;
    default:
        break;
    }
    WriteFlag(file, m_animated);
}

void CFillInfo::Read(CFile& file, int major, int minor)
{
    if (ReadUInt32(file) != kTag)
        ThrowBadRecord();
    const int32_t kind = ReadInt32(file);
    switch (kind) {
    case FILL_COLOR:
        m_color = ReadColor(file);
        DropImage();
        m_strPath.clear();
        m_renderAgain = false;
        break;
    case FILL_TEXTURE: {
        std::string stored;
        CStringAttr::ReadBody(file, stored);
        DropImage();
        m_strPath = stored.empty() ? stored : ResolveStoredPath(stored);
        m_renderAgain = true;
        break;
    }
    case FILL_GRADIENT:
        m_gradient.Read(file, major, minor);
        DropImage();
        m_renderAgain = true;
        break;
    case FILL_NONE:
        DropImage();
        m_strPath.clear();
        m_renderAgain = false;
        break;
    case FILL_PICTURE:
        m_pImage = ReadPicture(file);
        m_strPath.clear();
        m_renderAgain = false;
        break;
    default:
        ThrowBadRecord();
    }
    m_kind = kind;
    m_animated = IsVersionAtLeast(major, minor, 1, 5) ? ReadFlag(file) : false;
}
