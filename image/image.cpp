#include "image/image.h"

#include <climits>
#include <cstring>
#include <memory>
#include <new>

namespace {

// Buffers beyond this are refused as if memory had run out; the pixel maps and images of the program are
// far smaller, and int arithmetic on offsets stays safe below it.
constexpr int64_t kMaxBufferBytes = INT_MAX;

bool IsFreePlaneMode(IMAGE_MODE mode)
{
    return mode >= IMAGE_MODE_PLANES8 && mode <= IMAGE_MODE_PLANES64;
}

// Zero-filled, yet committed only as it is written (see auto_array::Zeroed).
auto_array<unsigned char> AllocateBytes(int64_t size)
{
    if (size < 0 || size > kMaxBufferBytes)
        return auto_array<unsigned char>();
    return auto_array<unsigned char>::Zeroed(static_cast<size_t>(size));
}

// The same without clearing the bytes, for buffers whose every byte is written next.
unsigned char* AllocateBytesForOverwrite(int64_t size)
{
    if (size < 0 || size > kMaxBufferBytes)
        return nullptr;
    return new (std::nothrow) unsigned char[static_cast<size_t>(size)];
}

// A copy of an image's pixel bytes, or null for an empty image.
std::unique_ptr<unsigned char[]> CopyPixels(const CImage& image)
{
    if (image.IsEmpty())
        return nullptr;
    const size_t size = image.GetDataSize();
    auto bytes = std::make_unique_for_overwrite<unsigned char[]>(size);
    std::memcpy(bytes.get(), image.GetData(), size);
    return bytes;
}

} // namespace

int ModeBitsPerPlane(IMAGE_MODE mode)
{
    const bool alpha = ModeHasAlpha(mode);
    switch (static_cast<uint32_t>(mode & ~IMAGE_MODE_ALPHA_BIT)) {
    case IMAGE_MODE_GREY:
    case IMAGE_MODE_INDEXED:
    case IMAGE_MODE_RGB:
    case IMAGE_MODE_HLS:
    case IMAGE_MODE_HSV:
    case IMAGE_MODE_YCBCR:
    case IMAGE_MODE_ALPHA8:
        return 8;
    case IMAGE_MODE_GREY16:
    case IMAGE_MODE_RGB16:
    case IMAGE_MODE_ALPHA16:
        return 16;
    case IMAGE_MODE_PLANES8:
        return alpha ? 0 : 8;
    case IMAGE_MODE_PLANES16:
        return alpha ? 0 : 16;
    case IMAGE_MODE_PLANES32:
        return alpha ? 0 : 32;
    case IMAGE_MODE_PLANES64:
        return alpha ? 0 : 64;
    default:
        return 0;
    }
}

int ModePlanes(IMAGE_MODE mode)
{
    int colour;
    switch (static_cast<uint32_t>(mode & ~IMAGE_MODE_ALPHA_BIT)) {
    case IMAGE_MODE_GREY:
    case IMAGE_MODE_INDEXED:
    case IMAGE_MODE_GREY16:
        colour = 1;
        break;
    case IMAGE_MODE_RGB:
    case IMAGE_MODE_HLS:
    case IMAGE_MODE_HSV:
    case IMAGE_MODE_RGB16:
    case IMAGE_MODE_YCBCR:
        colour = 3;
        break;
    case IMAGE_MODE_ALPHA8:
    case IMAGE_MODE_ALPHA16:
        colour = 0;
        break;
    default:
        // The free-plane modes take their count from the creator; with the alpha bit they are undefined.
        return 0;
    }
    return colour + (ModeHasAlpha(mode) ? 1 : 0);
}

CPixMap::CPixMap(IMAGE_MODE mode_, int width_, int height_, bool interleaved_, int planes_)
    : width(width_), height(height_), mode(mode_), planes(IsFreePlaneMode(mode_) ? planes_ : ModePlanes(mode_)),
      bitsPerPlane(ModeBitsPerPlane(mode_)), interleaved(interleaved_)
{
    if (width < 0 || height < 0 || planes < 0)
        return;
    if (interleaved) {
        int64_t rowStep = RowStride(width, bitsPerPlane, planes);
        int64_t size = BufferBytes(rowStep, height);
        buffer[0] = AllocateBytes(size);
        unsigned char* data = buffer[0].get();
        if (!data)
            return;
        bufferSize[0] = static_cast<int>(size);
        plane[0] = {data, planes, static_cast<int>(rowStep)};
        return;
    }
    if (planes > 4)
        return;
    int64_t rowStep = RowStride(width, bitsPerPlane, 1);
    int64_t size = BufferBytes(rowStep, height);
    for (int p = 0; p < planes; ++p) {
        buffer[p] = AllocateBytes(size);
        unsigned char* data = buffer[p].get();
        if (!data) {
            for (int q = 0; q < p; ++q) {
                buffer[q].reset();
                bufferSize[q] = 0;
                plane[q] = {};
            }
            return;
        }
        bufferSize[p] = static_cast<int>(size);
        plane[p] = {data, 1, static_cast<int>(rowStep)};
    }
}

CImage::CImage() : m_mode(IMAGE_MODE_RGB), m_width(0), m_height(0), m_planes(3), m_dpi(96.0), m_pngInfo(nullptr) {}

CImage::CImage(IMAGE_MODE mode, int width, int height, double dpi)
    : m_mode(mode), m_width(width), m_height(height), m_planes(ModePlanes(mode)), m_dpi(dpi), m_pngInfo(nullptr)
{
    Allocate();
}

CImage::CImage(IMAGE_MODE mode, int width, int height, png_info_struct* pngInfo)
    : m_mode(mode), m_width(width), m_height(height), m_planes(ModePlanes(mode)), m_dpi(96.0), m_pngInfo(pngInfo)
{
    Allocate();
}

CImage::CImage(IMAGE_MODE mode, int width, int height, int planes)
    : m_mode(mode), m_width(width), m_height(height), m_planes(planes), m_dpi(96.0), m_pngInfo(nullptr)
{
    Allocate();
}

CImage::CImage(IMAGE_MODE mode, int width, int height, double dpi, ForOverwrite)
    : m_mode(mode), m_width(width), m_height(height), m_planes(ModePlanes(mode)), m_dpi(dpi), m_pngInfo(nullptr)
{
    AllocateForOverwrite();
}

// A failed allocation leaves the image empty with its size kept; callers test for an empty image.
void CImage::Allocate()
{
    if (m_width < 0 || m_height < 0 || m_planes < 0)
        return;
    m_data = AllocateBytes(static_cast<int64_t>(GetDataSize()));
}

// The padding that rounds each row up to 4 bytes is never a pixel, so no creator writes it; it is cleared here so
// that the buffer's bytes stay as those of a cleared image.
void CImage::AllocateForOverwrite()
{
    if (m_width < 0 || m_height < 0 || m_planes < 0)
        return;
    m_data.reset(AllocateBytesForOverwrite(static_cast<int64_t>(GetDataSize())));
    if (IsEmpty())
        return;
    const size_t stride = static_cast<size_t>(GetStride());
    const size_t used = static_cast<size_t>((int64_t(m_width) * GetBitsPerPlane() * m_planes + 7) / 8);
    if (used >= stride)
        return;
    for (int y = 0; y < m_height; ++y)
        std::memset(m_data.get() + y * stride + used, 0, stride - used);
}

// An empty source gives an empty copy: there are no bytes to copy.
CImage::CImage(const CImage& other)
    : m_mode(other.m_mode), m_width(other.m_width), m_height(other.m_height), m_planes(other.m_planes),
      m_dpi(other.m_dpi), m_pngInfo(nullptr), m_lut(other.m_lut), m_maskColor(other.m_maskColor)
{
    m_data.reset(CopyPixels(other).release());
}

CImage& CImage::operator=(const CImage& other)
{
    if (this == &other)
        return *this;
    // Allocate before changing anything, so that a failed allocation leaves the target as it was.
    auto bytes = CopyPixels(other);
    m_mode = other.m_mode;
    m_width = other.m_width;
    m_height = other.m_height;
    m_dpi = other.m_dpi;
    m_lut = other.m_lut;
    m_maskColor = other.m_maskColor;
    m_planes = other.m_planes;
    m_data.reset(bytes.release());
    return *this;
}

int CImage::GetStride() const
{
    int64_t stride = RowStride(m_width, GetBitsPerPlane(), m_planes);
    return stride < 0 || stride > INT_MAX ? 0 : static_cast<int>(stride);
}

size_t CImage::GetDataSize() const
{
    int64_t size = BufferBytes(RowStride(m_width, GetBitsPerPlane(), m_planes), m_height);
    return size < 0 ? 0 : static_cast<size_t>(size);
}

void CImage::SetData(auto_array<unsigned char> data)
{
    if (data.get() == m_data.get()) {
        if (data.owns()) {
            data.release();
            m_data.reset(m_data.get(), true);
        }
        return;
    }
    m_data = data;
}

bool CImage::CropInPlace(int x, int y, int w, int h)
{
    const int64_t bits = int64_t(GetBitsPerPlane()) * m_planes;
    if (IsEmpty() || !OwnsData() || bits <= 0 || bits % 8 != 0 || w < 1 || h < 1 || x < 0 || y < 0 ||
        int64_t(x) + w > m_width || int64_t(y) + h > m_height)
        return false;
    const size_t pixel = static_cast<size_t>(bits / 8);
    const size_t from = static_cast<size_t>(GetStride());
    const size_t to = static_cast<size_t>(RowStride(w, GetBitsPerPlane(), m_planes));
    const size_t used = w * pixel;
    // Row r moves to r * to, never past the start of a later row's pixels (at (y + r') * from + x * pixel with
    // to <= from), so moving the rows in order overwrites nothing still to be moved.
    unsigned char* data = m_data.get();
    for (int r = 0; r < h; ++r) {
        unsigned char* row = data + r * to;
        std::memmove(row, data + (y + size_t(r)) * from + x * pixel, used);
        std::memset(row + used, 0, to - used);
    }
    m_width = w;
    m_height = h;
    return true;
}

bool CImage::Convert(IMAGE_MODE)
{
    return false;
}
