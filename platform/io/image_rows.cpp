#include "platform/io/decoders.h"

#include <algorithm>

namespace detail {

namespace {
// Rows per band: small enough to stay in cache for narrow pictures, large enough to keep SetBuf calls few.
constexpr int kBandRows = 64;
} // namespace

bool SizeAcceptable(int64_t width, int64_t height)
{
    return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

bool ImageRows::Start(IMAGE_MODE mode, int width, int height, double dpi, IOError* error)
{
    m_image.reset();
    m_band.reset();
    if (!SizeAcceptable(width, height)) {
        *error = IO_INVALID_FILE;
        return false;
    }
    // An image whose allocation fails is left empty rather than throwing.
    m_image = std::make_unique<CImage>(mode, width, height, dpi);
    if (m_image->IsEmpty()) {
        m_image.reset();
        *error = IO_NO_MEMORY;
        return false;
    }
    m_band = std::make_unique<CPixMap>(mode, width, std::min(height, kBandRows), true);
    if (!m_band->IsValid()) {
        m_image.reset();
        m_band.reset();
        *error = IO_NO_MEMORY;
        return false;
    }
    m_bandRows = 0;
    m_nextRow = 0;
    return true;
}

unsigned char* ImageRows::NextRow()
{
    if (!m_image || m_nextRow >= m_image->Height())
        return nullptr;
    if (m_bandRows == m_band->height)
        FlushBand();
    unsigned char* row = m_band->plane[0].data + static_cast<ptrdiff_t>(m_bandRows) * m_band->plane[0].rowStep;
    ++m_bandRows;
    ++m_nextRow;
    return row;
}

void ImageRows::FlushBand()
{
    if (m_bandRows == 0)
        return;
    // The map is only as high as the rows it holds while SetBuf reads it.
    int fullHeight = m_band->height;
    m_band->height = m_bandRows;
    m_image->SetBuf(0, m_nextRow - m_bandRows, *m_band);
    m_band->height = fullHeight;
    m_bandRows = 0;
}

std::unique_ptr<CImage> ImageRows::Finish()
{
    if (!m_image || m_nextRow != m_image->Height()) {
        m_image.reset();
        m_band.reset();
        return nullptr;
    }
    FlushBand();
    m_band.reset();
    return std::move(m_image);
}

} // namespace detail
