#pragma once

// Public header of the image library: pixel images (CImage), colours (CColor), palettes (CLut) and the
// caller-side pixel map (CPixMap) through which pixels move in and out of an image.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <type_traits>

// Opaque PNG information handed through an image to the PNG writer. The image never owns it.
struct png_info_struct;

// The pixel format. The low 31 bits name the format; the top bit adds an alpha plane, which is always plane 0.
enum IMAGE_MODE : uint32_t
{
    IMAGE_MODE_NONE = 0,
    IMAGE_MODE_GREY = 1,
    IMAGE_MODE_INDEXED = 2,
    IMAGE_MODE_RGB = 3,
    IMAGE_MODE_HLS = 5,
    IMAGE_MODE_HSV = 6,
    IMAGE_MODE_GREY16 = 10,
    IMAGE_MODE_RGB16 = 11,
    IMAGE_MODE_YCBCR = 256,
    IMAGE_MODE_PLANES8 = 384,
    IMAGE_MODE_PLANES16 = 385,
    IMAGE_MODE_PLANES32 = 386,
    IMAGE_MODE_PLANES64 = 387,
    IMAGE_MODE_ALPHA8 = 510,
    IMAGE_MODE_ALPHA16 = 511,
    IMAGE_MODE_ALPHA_BIT = 0x80000000u,
    IMAGE_MODE_RGBA = 0x80000003u,
    // The coverage maps of text and effects: one 8-bit alpha plane.
    IMAGE_MODE_COVERAGE = 0x800001FEu,
};

inline bool ModeHasAlpha(IMAGE_MODE mode)
{
    return (mode & IMAGE_MODE_ALPHA_BIT) != 0;
}

// Bits per plane of a mode: 8, 16, 32 or 64, or 0 for a value that names no format.
int ModeBitsPerPlane(IMAGE_MODE mode);

// Planes of a mode, the alpha plane included; 0 for the free-plane modes 384 to 387, whose creator gives the count.
int ModePlanes(IMAGE_MODE mode);

// True when the modes name the same format apart from the alpha bit.
inline bool ModesMatchIgnoringAlpha(IMAGE_MODE a, IMAGE_MODE b)
{
    return (a & ~IMAGE_MODE_ALPHA_BIT) == (b & ~IMAGE_MODE_ALPHA_BIT);
}

// Row stride in bytes of an interleaved buffer: the row's bits rounded up to whole 4-byte words. Computed
// wide and saturated, so that absurd sizes are seen as such rather than wrapping round to small ones.
inline int64_t RowStride(int64_t width, int bitsPerPlane, int planes)
{
    __int128 bits = static_cast<__int128>(width) * bitsPerPlane * planes;
    __int128 stride = (bits / 8 + 3) & ~static_cast<__int128>(3);
    if (stride > INT64_MAX)
        return INT64_MAX;
    return stride < INT64_MIN ? INT64_MIN : static_cast<int64_t>(stride);
}

// Bytes of a buffer of the given rows, saturated like RowStride.
inline int64_t BufferBytes(int64_t stride, int64_t rows)
{
    __int128 bytes = static_cast<__int128>(stride) * rows;
    if (bytes > INT64_MAX)
        return INT64_MAX;
    return bytes < INT64_MIN ? INT64_MIN : static_cast<int64_t>(bytes);
}

// The library's owning array pointer: a pointer with an owner flag. Copying or assigning hands the buffer over:
// the receiver takes the pointer and the owner flag, the source keeps the pointer without owning it.
template <class T> class auto_array
{
public:
    explicit auto_array(T* p = nullptr) noexcept : m_owner(p != nullptr), m_p(p) {}
    auto_array(T* p, bool owner) noexcept : m_owner(owner && p != nullptr), m_p(p) {}
    auto_array(const auto_array& other) noexcept
        : m_owner(other.m_owner), m_fromCalloc(other.m_fromCalloc), m_p(other.release())
    {
    }
    auto_array& operator=(const auto_array& other) noexcept
    {
        if (this != &other) {
            bool owner = other.m_owner;
            bool fromCalloc = other.m_fromCalloc;
            T* p = other.release();
            if (p != m_p)
                Free();
            m_owner = owner;
            m_fromCalloc = fromCalloc;
            m_p = p;
        }
        return *this;
    }
    ~auto_array() { Free(); }

    // count elements set to zero, or an empty array when memory is short. calloc takes large blocks straight from
    // the system as untouched zero pages, so memory is committed only where the array is written: a picture read
    // from a file costs nothing beyond the rows that actually arrive.
    static auto_array Zeroed(size_t count) noexcept
    {
        static_assert(std::is_trivial_v<T>, "calloc gives no constructed objects");
        // A pointer even for no elements, as new T[0] gives.
        auto_array array(static_cast<T*>(std::calloc(count > 0 ? count : 1, sizeof(T))));
        array.m_fromCalloc = array.m_p != nullptr;
        return array;
    }

    T* get() const noexcept { return m_p; }
    bool owns() const noexcept { return m_owner; }
    // Gives up ownership and returns the pointer, which this wrapper keeps.
    T* release() const noexcept
    {
        m_owner = false;
        return m_p;
    }
    void reset(T* p = nullptr, bool owner = true) noexcept
    {
        if (p != m_p) {
            Free();
            m_fromCalloc = false;
        }
        m_owner = owner && p != nullptr;
        m_p = p;
    }
    T& operator[](size_t i) const noexcept { return m_p[i]; }

private:
    void Free() noexcept
    {
        if (!m_owner)
            return;
        if (m_fromCalloc)
            std::free(m_p);
        else
            delete[] m_p;
    }

    mutable bool m_owner;
    bool m_fromCalloc = false; // the buffer is freed with free rather than delete[]
    T* m_p;
};

// A pixel map on the caller's side: interleaved (one buffer, all planes per pixel) or planar (one buffer per
// plane). Callers may change width and height to work on a smaller part of the buffers (a tile at the edge),
// as long as they stay within what was allocated, and set them back afterwards.
class CPixMap
{
public:
    struct Plane
    {
        unsigned char* data = nullptr; // sample 0 of the plane
        int pixelStep = 0;             // distance between neighbouring pixels, in samples
        int rowStep = 0;               // distance between rows, in bytes
    };

    // planes is used only for the free-plane modes 384 to 387. When the buffers cannot be allocated the map
    // has no data (plane[0].data is null).
    CPixMap(IMAGE_MODE mode, int width, int height, bool interleaved = true, int planes = 0);
    CPixMap(const CPixMap&) = delete;
    CPixMap& operator=(const CPixMap&) = delete;
    ~CPixMap() = default;

    bool IsValid() const { return plane[0].data != nullptr || planes == 0; }

    // Pointer to sample p of pixel (x, y); no checks. Works for both layouts.
    unsigned char* Sample(int x, int y, int p) const
    {
        const Plane& pl = interleaved ? plane[0] : plane[p];
        int sample = interleaved ? x * pl.pixelStep + p : x * pl.pixelStep;
        return pl.data + static_cast<ptrdiff_t>(y) * pl.rowStep + static_cast<ptrdiff_t>(sample) * bitsPerPlane / 8;
    }

    int width;
    int height;
    IMAGE_MODE mode;
    int planes;
    int bitsPerPlane;
    bool interleaved;
    Plane plane[4];
    auto_array<unsigned char> buffer[4];
    int bufferSize[4] = {0, 0, 0, 0};
};

struct LutColor
{
    unsigned char red;
    unsigned char green;
    unsigned char blue;
};
static_assert(sizeof(LutColor) == 3, "palette entries are packed");

// The named colours, all made in mode 3.
enum colorName
{
    COLOR_BLACK = 0,
    COLOR_WHITE = 1,
    COLOR_DARK_GREY = 2,
    COLOR_GREY = 3,
    COLOR_LIGHT_GREY = 4,
    COLOR_RED = 5,
    COLOR_GREEN = 6,
    COLOR_BLUE = 7,
    COLOR_CYAN = 8,
    COLOR_MAGENTA = 9,
    COLOR_YELLOW = 10,
};

// One colour value: the samples of one pixel of the given mode, first sample first, in at most 8 bytes.
class CColor
{
public:
    CColor();
    CColor(colorName name);
    CColor(const LutColor& entry);
    CColor(unsigned char red, unsigned char green, unsigned char blue);
    // From a Windows COLORREF: red in bits 0-7, green in 8-15, blue in 16-23.
    explicit CColor(unsigned long colorref);
    // The samples of pixel (x, y) of the map, in the map's mode. Coordinates are not checked.
    CColor(const CPixMap& map, int x, int y);
    CColor(const CColor& other) = default;
    CColor& operator=(const CColor& other) = default;

    IMAGE_MODE GetMode() const { return m_mode; }
    const unsigned char* GetColor() const { return m_color; }
    // The colour as a COLORREF, through a mode-3 copy.
    unsigned long GetCOLORREF() const;
    // Converts the bytes to the target mode through 16-bit RGB; nothing when the target is the present mode.
    void Convert(IMAGE_MODE target);

    bool operator==(const CColor& other) const;
    bool operator!=(const CColor& other) const { return !(*this == other); }

private:
    IMAGE_MODE m_mode;
    unsigned char m_color[8];
};

// The built-in palettes.
enum lutName
{
    LUT_CUBE_AND_GREYS = 0,  // the 216-colour cube ascending, then 40 greys
    LUT_CUBE_DESCENDING = 1, // the cube descending, 216 entries
    LUT_GREY_RAMP = 2,       // 256 greys
    LUT_FIXED_20 = 3,        // the 20 fixed colours
    LUT_SYSTEM = 4,          // fixed colours, cube and greys
    LUT_CUBE_AND_RUNS = 5,   // the cube and runs of reds, greens, blues and greys
};

// A palette of up to 256 entries, with the count of valid ones.
class CLut
{
public:
    CLut();
    CLut(lutName name);
    CLut(const CLut& other);
    CLut& operator=(const CLut& other);

    int GetColors() const { return m_count; }
    // Throws std::out_of_range when i is not below the count.
    const LutColor& operator[](unsigned int i) const;
    // Grows the count to i + 1 when i is at or beyond it; throws std::out_of_range when i is 256 or more.
    LutColor& operator[](unsigned int i);

private:
    LutColor m_entries[256];
    int m_count;
};

// What GetBuf writes into the map where the rectangle lies outside the image.
enum maskMethod
{
    MASK_NONE = 0,        // colour planes left as they were, alpha 0
    MASK_COLOR = 1,       // the image's mask colour, alpha 0
    MASK_COLOR_2 = 2,     // the same as MASK_COLOR
    MASK_EDGE_REPEAT = 3, // the nearest pixel of the copied rectangle, alpha 0
};

// A pixel image of one mode: one interleaved buffer, rows from the top, each padded to a multiple of 4 bytes.
class CImage
{
public:
    CImage();
    CImage(IMAGE_MODE mode, int width, int height, double dpi = 96.0);
    CImage(IMAGE_MODE mode, int width, int height, png_info_struct* pngInfo);
    // For the free-plane modes 384 to 387, whose plane count is the creator's choice.
    CImage(IMAGE_MODE mode, int width, int height, int planes);
    CImage(const CImage& other);
    // For a creator that writes every pixel: the pixel bytes start undefined (only the row padding is cleared),
    // which spares clearing a large buffer that is overwritten at once.
    struct ForOverwrite
    {
    };
    CImage(IMAGE_MODE mode, int width, int height, double dpi, ForOverwrite);
    CImage& operator=(const CImage& other);
    ~CImage() = default;

    IMAGE_MODE GetMode() const { return m_mode; }
    bool HasAlpha() const { return ModeHasAlpha(m_mode); }
    int GetPlanes() const { return m_planes; }
    int GetBitsPerPlane() const { return ModeBitsPerPlane(m_mode); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    double GetDpi() const { return m_dpi; }
    void SetDpi(double dpi) { m_dpi = dpi; }
    png_info_struct* GetPNGInfo() const { return m_pngInfo; }
    void SetPNGInfo(png_info_struct* info) { m_pngInfo = info; }
    CLut GetLut() const { return m_lut; }
    void SetLut(const CLut& lut) { m_lut = lut; }
    CColor GetMaskColor() const { return m_maskColor; }
    void SetMaskColor(const CColor& color) { m_maskColor = color; }

    // The pixel buffer, null when the image is empty (never allocated, or its allocation failed).
    const unsigned char* GetData() const { return m_data.get(); }
    unsigned char* GetData() { return m_data.get(); }
    bool IsEmpty() const { return m_data.get() == nullptr; }
    bool OwnsData() const { return m_data.owns(); }
    // Bytes per row and of the whole buffer for the present mode and size.
    int GetStride() const;
    size_t GetDataSize() const;

    // Replaces the buffer; the caller hands over one laid out for the present mode and size.
    void SetData(auto_array<unsigned char> data);

    // Shrinks the image to its w x h pixels at (x, y), moving them to the start of its own buffer, so that a crop
    // needs neither a second buffer nor a copy between two. The buffer keeps its size. False, with nothing
    // changed, when the box is empty or does not lie inside the image, the image does not own its buffer, or its
    // pixels are not whole bytes.
    bool CropInPlace(int x, int y, int w, int h);

    // Images change mode only by moving pixels through a CPixMap: always false, nothing changes.
    bool Convert(IMAGE_MODE mode);

    // Fill the whole map from the image, map pixel (i, j) from image pixel (step(x + i), step(y + j)); what
    // lies outside the image is treated by the mask method. False, with the map untouched, when the image or
    // the map has no buffer.
    bool GetBuf(int x, int y, CPixMap& map, maskMethod method = MASK_NONE, int step = 1) const;
    // Write the map into the image at (x / step, y / step), reading every step-th map pixel. False, with the
    // image untouched, when the image or the map has no buffer.
    bool SetBuf(int x, int y, const CPixMap& map, maskMethod method = MASK_NONE, int step = 1);

private:
    void Allocate();
    void AllocateForOverwrite();

    IMAGE_MODE m_mode;
    int m_width;
    int m_height;
    int m_planes;
    double m_dpi;
    png_info_struct* m_pngInfo;
    auto_array<unsigned char> m_data;
    CLut m_lut;
    CColor m_maskColor;
};
