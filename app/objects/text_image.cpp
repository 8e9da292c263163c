#include "app/objects/text_image.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>

#include "app/model/text_style.h"
#include "app/objects/text_body.h"
#include "app/objects/text_measure.h"
#include "image/image.h"
#include "image/tiles.h"
#include "platform/io/io.h"
#include "platform/text/font.h"

namespace {

constexpr int kBandBytes = 65536;

// Keeps far-off text positions in a range where the glyph code's own arithmetic cannot overflow.
int ClampPosition(int64_t v)
{
    return static_cast<int>(std::clamp<int64_t>(v, INT_MIN / 4, INT_MAX / 4));
}

// Draws the characters of a body whose lines meet the band of rows top .. top + rows, into a coverage buffer
// (ink only) or an RGB pixel map (each character in its colour). Linked characters look like links only in the
// images of a plain object: a text drawn as a picture keeps its characters' own colour and underline.
void RenderBand(const CTextBody& body, int top, int rows, const CoverageBuffer* coverage, CPixMap* colour)
{
    const TextBodyOwner* owner = body.GetOwner();
    const bool plain = !owner || owner->IsTextObjectPlain();
    const bool objectLinked = plain && owner && owner->IsTextObjectLinked();

    const RECT band{0, top, INT_MAX, top + rows};
    int firstPara = 0, firstIndex = 0, lastPara = 0, lastIndex = 0;
    if (!GetCharsInRect(body, band, firstPara, firstIndex, lastPara, lastIndex))
        return;

    const LinkLook look{plain, objectLinked};
    ForEachDrawnChar(body, firstPara, lastPara, firstIndex, lastIndex, look,
                     [&](const CTextChar& ch, const TextFont& font, COLORREF drawColour) {
                         const int y = ch.m_baseline - top;
                         if (coverage)
                             font.DrawChar(*coverage, ch.m_nLeft, y, ch.m_ch);
                         else
                             font.DrawChar(*colour, ch.m_nLeft, y, ch.m_ch, drawColour);
                     });
}

struct PlacedLine
{
    std::string_view text;
    int64_t x;
    int64_t y;
    COLORREF colour;
};

// Draws lines (each with its extent box's top-left corner at x, y) onto an RGB or RGBA image, tile by tile.
bool DrawLines(CImage& image, const TextFont& font, const std::vector<PlacedLine>& lines)
{
    const IMAGE_MODE mode = image.GetMode();
    if (image.IsEmpty() || (mode != IMAGE_MODE_RGB && mode != IMAGE_MODE_RGBA))
        return false;
    const int w = image.Width(), h = image.Height();
    CPixMap map(mode, std::min(w, kImageTileSize), std::min(h, kImageTileSize));
    // Text goes onto the colour alone, as onto an opaque picture; an alpha plane stays as it is.
    const bool alpha = mode == IMAGE_MODE_RGBA;
    CPixMap colour(IMAGE_MODE_RGB, alpha ? map.width : 1, alpha ? map.height : 1);
    if (!map.IsValid() || !colour.IsValid())
        return false;
    CPixMap& target = alpha ? colour : map;
    return ForEachTile(map, w, h, [&](int tx, int ty) {
        if (!image.GetBuf(tx, ty, map))
            return false;
        if (alpha) {
            colour.width = map.width;
            colour.height = map.height;
            for (int y = 0; y < map.height; ++y)
                for (int x = 0; x < map.width; ++x)
                    std::memcpy(colour.Sample(x, y, 0), map.Sample(x, y, 1), 3);
        }
        for (const PlacedLine& line : lines)
            font.DrawString(target, ClampPosition(line.x - tx), ClampPosition(line.y - ty), line.text, line.colour);
        if (alpha) {
            for (int y = 0; y < map.height; ++y)
                for (int x = 0; x < map.width; ++x)
                    std::memcpy(map.Sample(x, y, 1), colour.Sample(x, y, 0), 3);
        }
        return image.SetBuf(tx, ty, map);
    });
}

// Keeps a cached image that already has the mode and size, else puts a new one in its place. False, with no
// image left, when the new one cannot be had; the old one is freed first, as the new one is about as large.
bool KeepOrMakeImage(std::unique_ptr<CImage>& image, IMAGE_MODE mode, int width, int height)
{
    if (image && image->Width() == width && image->Height() == height && image->GetMode() == mode)
        return true;
    image.reset();
    auto made = std::make_unique<CImage>(mode, width, height, 96.0);
    if (made->IsEmpty())
        return false;
    image = std::move(made);
    return true;
}

bool IsDrawableImage(const CImage& image)
{
    return !image.IsEmpty() && (image.GetMode() == IMAGE_MODE_RGB || image.GetMode() == IMAGE_MODE_RGBA);
}

} // namespace

namespace detail {

BYTE ReduceTextCoverage(BYTE ink)
{
    if (ink == 0 || ink == 255)
        return ink;
    return static_cast<BYTE>(std::max(0, ink - 5));
}

BYTE UnpremultiplyTextColour(BYTE colour, BYTE coverage)
{
    if (coverage == 0)
        return colour;
    return static_cast<BYTE>(std::min(255, colour * 255 / coverage));
}

std::vector<std::string_view> SplitButtonLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, lf - start));
        start = lf + 1;
    }
    return lines;
}

POINT ButtonShadowOffset(int direction, int distance)
{
    const double angle = direction * 3.14159265358979323846 / 180.0;
    return POINT{RoundHalfUp(-std::cos(angle) * distance), RoundHalfUp(std::sin(angle) * distance)};
}

} // namespace detail

int GetTextBandHeight(int width)
{
    const int64_t rounded = (static_cast<int64_t>(std::max(width, 1)) + 3) & ~int64_t(3);
    return static_cast<int>(std::max<int64_t>(1, kBandBytes / rounded));
}

namespace {

// A text box is drawn whole before the object scales it; one of more pixels than the largest picture the program
// takes in (only a damaged or foreign site file holds one) is not drawn at all, rather than taking the memory and
// minutes it would.
bool IsDrawableBox(int width, int height)
{
    return static_cast<int64_t>(width) * height <= kMaxPicturePixels;
}

} // namespace

bool CTextBody::RebuildImage()
{
    if (!m_imageStale)
        return true;
    int left = 0, top = 0;
    if (m_pOwner) {
        double cx = 0.0, cy = 0.0;
        m_pOwner->GetTextObjectCenter(cx, cy);
        left = RoundHalfUp(cx - m_nWidth * 0.5);
        top = RoundHalfUp(cy - m_nHeight * 0.5);
    }
    const int width = m_nWidth, height = m_nHeight;
    if (width < 1 || height < 1) {
        // A text without area has no pixels to show.
        m_coverageImage.reset();
        m_imageStale = 0;
        m_imageRect = CRect(left, top, left + std::max(width, 0), top + std::max(height, 0));
        m_inkRect = CRect();
        return true;
    }

    if (!IsDrawableBox(width, height) || !KeepOrMakeImage(m_coverageImage, IMAGE_MODE_COVERAGE, width, height))
        return false;
    const int bandHeight = std::min(GetTextBandHeight(width), height);
    CPixMap band(IMAGE_MODE_COVERAGE, width, bandHeight);
    if (!band.IsValid())
        return false;

    int minX = INT_MAX, minY = INT_MAX, maxX = -1, maxY = -1;
    for (int y = 0; y < height; y += bandHeight) {
        const int rows = std::min(bandHeight, height - y);
        band.height = rows;
        for (int j = 0; j < rows; ++j)
            std::memset(band.Sample(0, j, 0), 0, static_cast<size_t>(width));
        const CoverageBuffer buffer{band.plane[0].data, band.plane[0].rowStep, width, rows};
        RenderBand(*this, y, rows, &buffer, nullptr);
        for (int j = 0; j < rows; ++j) {
            unsigned char* row = band.Sample(0, j, 0);
            for (int i = 0; i < width; ++i) {
                row[i] = detail::ReduceTextCoverage(row[i]);
                if (row[i] == 0)
                    continue;
                minX = std::min(minX, i);
                maxX = std::max(maxX, i);
                minY = std::min(minY, y + j);
                maxY = std::max(maxY, y + j);
            }
        }
        if (!m_coverageImage->SetBuf(0, y, band))
            return false;
    }

    m_imageStale = 0;
    // A text stored far out keeps rectangles that int can hold: their edges stop at its limit.
    const auto at = [](int start, int offset) {
        return static_cast<int>(std::clamp<int64_t>(int64_t(start) + offset, INT_MIN, INT_MAX));
    };
    m_imageRect = CRect(left, top, at(left, width), at(top, height));
    if (maxX < 0)
        m_inkRect = CRect();
    else
        m_inkRect = CRect(at(left, minX), at(top, minY), at(left, maxX + 1), at(top, maxY + 1));
    return true;
}

bool CTextBody::RebuildSecondImage()
{
    if (!m_secondImageStale)
        return true;
    const int width = m_nWidth, height = m_nHeight;
    if (width < 1 || height < 1) {
        m_colorImage.reset();
        m_secondImageStale = 0;
        return true;
    }
    // The colours are taken back to full strength by the coverage, so that must be current.
    if (!RebuildImage() || !m_coverageImage)
        return false;

    if (!KeepOrMakeImage(m_colorImage, IMAGE_MODE_RGB, width, height))
        return false;
    const int bandHeight = std::min(GetTextBandHeight(width), height);
    CPixMap band(IMAGE_MODE_RGB, width, bandHeight);
    if (!band.IsValid())
        return false;

    const unsigned char* coverage = m_coverageImage->GetData();
    const int coverageStride = m_coverageImage->GetStride();
    for (int y = 0; y < height; y += bandHeight) {
        const int rows = std::min(bandHeight, height - y);
        band.height = rows;
        for (int j = 0; j < rows; ++j)
            std::memset(band.Sample(0, j, 0), 0, static_cast<size_t>(width) * 3);
        RenderBand(*this, y, rows, nullptr, &band);
        // Drawn over black, every colour came out scaled by its coverage.
        for (int j = 0; j < rows; ++j) {
            const unsigned char* a = coverage + static_cast<ptrdiff_t>(y + j) * coverageStride;
            unsigned char* c = band.Sample(0, j, 0);
            for (int i = 0; i < width; ++i, c += 3) {
                if (a[i] == 0)
                    continue;
                for (int s = 0; s < 3; ++s)
                    c[s] = detail::UnpremultiplyTextColour(c[s], a[i]);
            }
        }
        if (!m_colorImage->SetBuf(0, y, band))
            return false;
    }
    m_secondImageStale = 0;
    return true;
}

bool DrawButtonText(CImage& image, const CTextStyle& style)
{
    if (!IsDrawableImage(image))
        return false;
    const std::vector<std::string_view> lines = detail::SplitButtonLines(style.m_strText);
    if (lines.empty())
        return true;

    // The style's size is the font's cell height in pixels.
    LOGFONT logFont;
    InitDefaultLogFont(logFont);
    logFont.lfFaceName = style.m_strFont;
    logFont.lfHeight = style.m_nSize;
    logFont.lfWeight = style.m_bBold ? 700 : 400;
    logFont.lfItalic = style.m_bItalic ? 1 : 0;
    logFont.lfUnderline = style.m_bUnderline ? 1 : 0;
    const std::shared_ptr<const TextFont> font = GetTextFont(logFont);

    const int64_t w = image.Width(), h = image.Height();
    std::vector<CSize> extents;
    int64_t blockHeight = 0;
    for (std::string_view line : lines) {
        extents.push_back(font->GetTextExtent(line));
        blockHeight += extents.back().cy;
    }
    const int64_t top = h / 2 - blockHeight / 2;
    std::vector<int64_t> xs;
    for (const CSize& extent : extents) {
        switch (style.m_alignment) {
        case CTextStyle::alignCenter:
            xs.push_back(w / 2 - extent.cx / 2);
            break;
        case CTextStyle::alignRight:
            xs.push_back(w - extent.cx);
            break;
        default:
            xs.push_back(0);
            break;
        }
    }

    std::vector<PlacedLine> placed;
    auto place = [&](int64_t dx, int64_t dy, COLORREF colour) {
        int64_t y = top + dy;
        for (size_t i = 0; i < lines.size(); ++i) {
            placed.push_back(PlacedLine{lines[i], xs[i] + dx, y, colour});
            y += extents[i].cy;
        }
    };
    if (style.m_shadow) {
        const POINT offset = detail::ButtonShadowOffset(style.m_shadowDirection, style.m_shadowDistance);
        place(offset.x, offset.y, static_cast<COLORREF>(style.m_shadowColor.GetCOLORREF()));
    }
    place(0, 0, static_cast<COLORREF>(style.m_color.GetCOLORREF()));
    return DrawLines(image, *font, placed);
}

bool DrawCentredLabel(CImage& image, int cx, int cy, const std::string& text, COLORREF colour, bool shadow,
                      COLORREF shadowColour)
{
    if (!IsDrawableImage(image))
        return false;
    LOGFONT logFont;
    InitDefaultLogFont(logFont);
    logFont.lfFaceName = "Arial";
    logFont.lfHeight = 16;
    logFont.lfWeight = 700;
    const std::shared_ptr<const TextFont> font = GetTextFont(logFont);
    const CSize extent = font->GetTextExtent(text);
    const int64_t x = static_cast<int64_t>(cx) - extent.cx / 2;
    const int64_t y = static_cast<int64_t>(cy) - extent.cy / 2;
    std::vector<PlacedLine> placed;
    if (shadow)
        placed.push_back(PlacedLine{text, x + 1, y + 1, shadowColour});
    placed.push_back(PlacedLine{text, x, y, colour});
    return DrawLines(image, *font, placed);
}
