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
    m_noMemory = false;
    if (!SizeAcceptable(width, height)) {
        *error = IO_INVALID_FILE;
        return false;
    }
    m_band = std::make_unique<CPixMap>(mode, width, std::min(height, kBandRows), true);
    if (!m_band->IsValid()) {
        m_band.reset();
        *error = IO_NO_MEMORY;
        return false;
    }
    m_mode = mode;
    m_width = width;
    m_height = height;
    m_dpi = dpi;
    m_bandRows = 0;
    m_nextRow = 0;
    return true;
}

unsigned char* ImageRows::NextRow()
{
    if (!m_band || m_nextRow >= m_height)
        return nullptr;
    if (m_bandRows == m_band->height)
        FlushBand();
    unsigned char* row = m_band->plane[0].data + static_cast<ptrdiff_t>(m_bandRows) * m_band->plane[0].rowStep;
    ++m_bandRows;
    ++m_nextRow;
    return row;
}

unsigned char* ImageRows::RowsAhead(int* count, ptrdiff_t* step)
{
    *count = 0;
    *step = 0;
    if (!m_band || m_nextRow >= m_height)
        return nullptr;
    if (m_bandRows == m_band->height)
        FlushBand();
    if (m_image && m_bandRows == 0) {
        *count = m_height - m_nextRow;
        *step = m_image->GetStride();
        return m_image->GetData() + static_cast<ptrdiff_t>(m_nextRow) * *step;
    }
    *count = std::min(m_band->height - m_bandRows, m_height - m_nextRow);
    *step = m_band->plane[0].rowStep;
    return m_band->plane[0].data + static_cast<ptrdiff_t>(m_bandRows) * *step;
}

void ImageRows::TakeRows(int count)
{
    // Rows written into the image itself never pass through the band.
    if (!(m_image && m_bandRows == 0))
        m_bandRows += count;
    m_nextRow += count;
}

void ImageRows::FlushBand()
{
    if (m_bandRows == 0)
        return;
    // Made only now that rows have arrived. Even untouched, a picture-sized block is not free everywhere: the
    // address sanitizer writes its shadow of the whole block when it is allocated and again when it is freed.
    if (!m_image && !m_noMemory) {
        // An image whose allocation fails is left empty rather than throwing.
        m_image = std::make_unique<CImage>(m_mode, m_width, m_height, m_dpi);
        if (m_image->IsEmpty()) {
            m_image.reset();
            m_noMemory = true;
        }
    }
    if (m_image) {
        // The map is only as high as the rows it holds while SetBuf reads it.
        int fullHeight = m_band->height;
        m_band->height = m_bandRows;
        m_image->SetBuf(0, m_nextRow - m_bandRows, *m_band);
        m_band->height = fullHeight;
    }
    m_bandRows = 0;
}

std::unique_ptr<CImage> ImageRows::Finish(IOError* error)
{
    if (m_band && m_nextRow == m_height)
        FlushBand();
    m_band.reset();
    if (!m_image || m_nextRow != m_height) {
        *error = m_noMemory ? IO_NO_MEMORY : IO_INVALID_FILE;
        m_image.reset();
        return nullptr;
    }
    *error = IO_OK;
    return std::move(m_image);
}

} // namespace detail
