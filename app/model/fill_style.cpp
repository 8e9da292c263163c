#include "app/model/fill_style.h"

#include <cstdint>

#include "app/model/page_size.h"
#include "app/model/record_stream.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/model/string_attr.h"

CFillStyle::CFillStyle() : m_color(255, 255, 255) {}

CFillStyle::CFillStyle(const CFillStyle& other)
    : m_kind(other.m_kind), m_color(other.m_color), m_strPath(other.m_strPath), m_tile(other.m_tile),
      m_nPosition(other.m_nPosition), m_gradient(other.m_gradient), m_horizontal(other.m_horizontal),
      m_renderAgain(true), m_nWidth(other.m_nWidth), m_nHeight(other.m_nHeight)
{
}

CFillStyle& CFillStyle::operator=(const CFillStyle& other)
{
    if (this != &other) {
        m_pImage.reset();
        m_kind = other.m_kind;
        m_color = other.m_color;
        m_strPath = other.m_strPath;
        m_tile = other.m_tile;
        m_nPosition = other.m_nPosition;
        m_gradient = other.m_gradient;
        m_horizontal = other.m_horizontal;
        m_nWidth = other.m_nWidth;
        m_nHeight = other.m_nHeight;
        m_renderAgain = true;
    }
    return *this;
}

CFillStyle::~CFillStyle() = default;

bool CFillStyle::operator==(const CFillStyle& other) const
{
    return m_kind == other.m_kind && m_color.GetCOLORREF() == other.m_color.GetCOLORREF() &&
           m_pImage == other.m_pImage && m_strPath == other.m_strPath && m_tile == other.m_tile &&
           m_gradient == other.m_gradient && m_horizontal == other.m_horizontal && m_nWidth == other.m_nWidth &&
           m_nHeight == other.m_nHeight && m_nPosition == other.m_nPosition;
}

void CFillStyle::SetColor(const CColor& color)
{
    m_pImage.reset();
    m_kind = FILL_COLOR;
    m_color = color;
    m_renderAgain = false;
}

void CFillStyle::SetImageFile(const std::string& path)
{
    m_pImage.reset();
    m_strPath = path;
    m_kind = FILL_IMAGE;
    m_renderAgain = true;
}

void CFillStyle::SetImageFileAndImage(const std::string& path, std::unique_ptr<CImage> image)
{
    m_pImage = std::move(image);
    m_strPath = path;
    m_kind = FILL_IMAGE;
    m_renderAgain = m_pImage == nullptr;
}

void CFillStyle::SetGradient(const GRADIENTCOLORS* colors)
{
    m_pImage.reset();
    m_kind = FILL_GRADIENT;
    if (colors)
        m_gradient.SetGradientColors(*colors);
    m_renderAgain = true;
}

void CFillStyle::SetGradientColors(const GRADIENTCOLORS& colors)
{
    m_pImage.reset();
    m_gradient.SetGradientColors(colors);
    m_renderAgain = true;
}

// A toggle may make the image stale, but never makes a pending one current: the flag only ever gets set here.
void CFillStyle::SetGradientHorizontal(bool horizontal)
{
    if (m_horizontal == horizontal)
        return;
    m_horizontal = horizontal;
    m_gradient.angle = horizontal ? 0 : 90;
    m_renderAgain = m_renderAgain || m_kind == FILL_GRADIENT;
}

void CFillStyle::SetTile(bool tile)
{
    if (m_tile == tile)
        return;
    m_tile = tile;
    m_renderAgain = m_renderAgain || m_kind == FILL_IMAGE;
}

void CFillStyle::SetImagePosition(int position)
{
    m_tile = false;
    m_nPosition = position >= 0 && position <= 8 ? position : 4;
}

void CFillStyle::SetWidth(int width)
{
    if (m_nWidth != width) {
        m_nWidth = width;
        m_renderAgain = true;
    }
}

void CFillStyle::SetHeight(int height)
{
    if (m_nHeight != height) {
        m_nHeight = height;
        m_renderAgain = true;
    }
}

void CFillStyle::InvalidateImage()
{
    m_pImage.reset();
    m_renderAgain = true;
}

int CFillStyle::EstimateImageBytes(double factor) const
{
    if ((m_kind != FILL_IMAGE && m_kind != FILL_GRADIENT) || !m_pImage || !(factor > 0.0))
        return 0;
    const double bytes = static_cast<double>(m_pImage->Width()) * m_pImage->Height() / factor;
    return bytes < 2147483647.0 ? static_cast<int>(bytes) : 2147483647;
}

void CFillStyle::Write(CFile& file) const
{
    // Whatever state the record is in, it is written as one that reads back: an unknown kind as its colour and
    // a size not set yet as the nearest one a file may hold.
    const int kind = m_kind == FILL_IMAGE || m_kind == FILL_GRADIENT ? m_kind : FILL_COLOR;
    WriteUInt32(file, kTag);
    WriteInt32(file, kind);
    WriteInt32(file, ClampPageWidth(m_nWidth));
    WriteInt32(file, ClampPageHeight(m_nHeight));
    switch (kind) {
    case FILL_COLOR:
        WriteColor(file, m_color);
        break;
    case FILL_IMAGE:
        WriteCountedString(file, MakeSiteRelativePath(GetStoredPathBase(), m_strPath));
        WriteFlag(file, m_tile);
        WriteInt32(file, m_nPosition);
        break;
    default:
        m_gradient.Write(file);
        WriteFlag(file, m_horizontal);
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
    if (!IsPageSizeInRange(width, height))
        ThrowBadRecord();

    // Read into copies so that a damaged record leaves this one as it was.
    CColor color = m_color;
    std::string path = m_strPath;
    bool tile = m_tile;
    int position = m_nPosition;
    CGradientInfo gradient = m_gradient;
    bool horizontal = m_horizontal;
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

    m_kind = kind;
    m_nWidth = width;
    m_nHeight = height;
    m_color = color;
    m_strPath = std::move(path);
    m_tile = tile;
    m_nPosition = position;
    m_gradient = gradient;
    m_horizontal = horizontal;
    m_pImage.reset();
    m_renderAgain = true;
}
