#include "platform/transform/pixel_bridge.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

namespace detail {

namespace {

// Shrinking by less than this is left to plain bilinear interpolation, which stays sharper.
constexpr double kBilinearLimit = 4.0 / 3.0;

// round(c x a / 255), exact for every pair of bytes.
inline uint32_t Premultiply(uint32_t c, uint32_t a)
{
    uint32_t t = c * a + 128;
    return (t + (t >> 8)) >> 8;
}

constexpr unsigned char Unpremultiply(uint32_t c, uint32_t a)
{
    if (a == 0)
        return 0;
    return static_cast<unsigned char>(std::min<uint32_t>(255, (c * 255 + a / 2) / a));
}

// Unpremultiply(c, a) at index a * 256 + c: the three divisions of each pixel cost more than the rest of
// WritePixels together.
using UnpremultiplyTable = std::array<unsigned char, 65536>;

constexpr UnpremultiplyTable MakeUnpremultiplyTable()
{
    UnpremultiplyTable table{};
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t c = 0; c < 256; ++c)
            table[a * 256 + c] = Unpremultiply(c, a);
    return table;
}

alignas(64) constinit const UnpremultiplyTable kUnpremultiplied = MakeUnpremultiplyTable();

int PlanesOf(PixelKind kind)
{
    switch (kind) {
    case PixelKind::Grey:
    case PixelKind::Coverage:
        return 1;
    case PixelKind::GreyAlpha:
        return 2;
    case PixelKind::Rgb:
        return 3;
    case PixelKind::RgbAlpha:
        return 4;
    default:
        return 0;
    }
}

pixman_format_code_t PixmanFormatOf(PixelKind kind)
{
    return kind == PixelKind::Coverage ? PIXMAN_a8 : PIXMAN_a8r8g8b8;
}

// Work images up to this size keep their buffer for the next transform on the same thread, so that repeated
// renders do not take fresh pages from the system each time; larger ones are given back at once.
constexpr size_t kKeptBytes = size_t(64) << 20;

enum Slot
{
    kSourceSlot,
    kTargetSlot,
    kMaskSlot,
    kSlots
};

PixmanImage WorkImage(pixman_format_code_t format, int w, int h, bool clear, Slot slot)
{
    const int stride = (w * PIXMAN_FORMAT_BPP(format) + 31) / 32 * 4;
    const size_t words = size_t(stride / 4) * size_t(h);
    if (words * 4 > kKeptBytes || words == 0) {
        return PixmanImage(clear ? pixman_image_create_bits(format, w, h, nullptr, 0)
                                 : pixman_image_create_bits_no_clear(format, w, h, nullptr, 0));
    }
    thread_local std::vector<uint32_t> kept[kSlots];
    std::vector<uint32_t>& buffer = kept[slot];
    try {
        if (buffer.size() < words)
            buffer.resize(words);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    if (clear)
        std::fill_n(buffer.data(), words, 0u);
    return PixmanImage(pixman_image_create_bits(format, w, h, buffer.data(), stride));
}

} // namespace

PixelKind KindOfMode(IMAGE_MODE mode)
{
    switch (static_cast<uint32_t>(mode)) {
    case IMAGE_MODE_GREY:
        return PixelKind::Grey;
    case IMAGE_MODE_GREY | IMAGE_MODE_ALPHA_BIT:
        return PixelKind::GreyAlpha;
    case IMAGE_MODE_RGB:
        return PixelKind::Rgb;
    case IMAGE_MODE_RGBA:
        return PixelKind::RgbAlpha;
    case IMAGE_MODE_COVERAGE:
        return PixelKind::Coverage;
    default:
        return PixelKind::Unsupported;
    }
}

SampleLayout LayoutOf(const CImage& image)
{
    SampleLayout layout;
    PixelKind kind = KindOfMode(image.GetMode());
    if (kind == PixelKind::Unsupported || image.IsEmpty() || image.GetPlanes() != PlanesOf(kind))
        return layout;
    // The image hands its buffer out read-only; the transforms write only into images they have just made.
    unsigned char* data = const_cast<unsigned char*>(image.GetData());
    layout.kind = kind;
    layout.width = image.Width();
    layout.height = image.Height();
    layout.planes = PlanesOf(kind);
    for (int p = 0; p < layout.planes; ++p) {
        layout.plane[p] = data + p;
        layout.pixelStep[p] = layout.planes;
        layout.rowStep[p] = image.GetStride();
    }
    return layout;
}

SampleLayout LayoutOf(const CPixMap& map)
{
    SampleLayout layout;
    PixelKind kind = KindOfMode(map.mode);
    if (kind == PixelKind::Unsupported || map.bitsPerPlane != 8 || map.planes != PlanesOf(kind) || map.width < 0 ||
        map.height < 0)
        return layout;
    for (int p = 0; p < map.planes; ++p) {
        const CPixMap::Plane& pl = map.interleaved ? map.plane[0] : map.plane[p];
        if (!pl.data)
            return SampleLayout();
        layout.plane[p] = pl.data + (map.interleaved ? p : 0);
        layout.pixelStep[p] = pl.pixelStep;
        layout.rowStep[p] = pl.rowStep;
    }
    layout.kind = kind;
    layout.width = map.width;
    layout.height = map.height;
    layout.planes = map.planes;
    return layout;
}

PixmanImage NewPixmanImage(PixelKind kind, int w, int h)
{
    return WorkImage(PixmanFormatOf(kind), w, h, false, kTargetSlot);
}

PixmanImage NewCoverageMask(int w, int h)
{
    return WorkImage(PIXMAN_a8, w, h, true, kMaskSlot);
}

// The samples of one row of a layout, from pixel x0 on. Held apart from the layout, so that a byte written
// through them (which may alias anything) does not make the compiler load the layout's pointers and steps again
// for each sample.
struct RowSamples
{
    unsigned char* first[4] = {};
    int step[4] = {};

    RowSamples(const SampleLayout& layout, int x0, int y)
    {
        for (int p = 0; p < layout.planes; ++p) {
            first[p] = layout.At(x0, y, p);
            step[p] = layout.pixelStep[p];
        }
    }

    unsigned char* At(int x, int p) const { return first[p] + ptrdiff_t(x) * step[p]; }
};

PixmanImage ReadPixels(const SampleLayout& src, int x0, int y0, int w, int h)
{
    // Every pixel is written below, so clearing the buffer first would only cost a pass over it.
    PixmanImage image = WorkImage(PixmanFormatOf(src.kind), w, h, false, kSourceSlot);
    if (!image)
        return image;
    auto* bits = reinterpret_cast<unsigned char*>(pixman_image_get_data(image.get()));
    const int stride = pixman_image_get_stride(image.get());
    // Walks the pixels with one reader for the whole image, so that the choice of planes is made once.
    auto read = [&](auto pixel) {
        for (int y = 0; y < h; ++y) {
            unsigned char* row = bits + ptrdiff_t(y) * stride;
            auto* px = reinterpret_cast<uint32_t*>(row);
            const RowSamples in(src, x0, y0 + y);
            for (int x = 0; x < w; ++x)
                pixel(row, px, in, x);
            // The filters never read past a row's last pixel, but its padding is kept defined all the same.
            if (src.kind == PixelKind::Coverage)
                std::fill(row + w, row + stride, 0);
        }
    };
    auto s = [](const RowSamples& in, int x, int p) { return uint32_t(*in.At(x, p)); };
    switch (src.kind) {
    case PixelKind::Coverage:
        read([&](unsigned char* row, uint32_t*, const RowSamples& in, int x) {
            row[x] = static_cast<unsigned char>(s(in, x, 0));
        });
        break;
    case PixelKind::Grey:
        read([&](unsigned char*, uint32_t* px, const RowSamples& in, int x) {
            const uint32_t g = s(in, x, 0);
            px[x] = 0xFF000000u | g << 16 | g << 8 | g;
        });
        break;
    case PixelKind::GreyAlpha:
        read([&](unsigned char*, uint32_t* px, const RowSamples& in, int x) {
            const uint32_t a = s(in, x, 0), g = Premultiply(s(in, x, 1), a);
            px[x] = a << 24 | g << 16 | g << 8 | g;
        });
        break;
    case PixelKind::Rgb:
        read([&](unsigned char*, uint32_t* px, const RowSamples& in, int x) {
            px[x] = 0xFF000000u | s(in, x, 0) << 16 | s(in, x, 1) << 8 | s(in, x, 2);
        });
        break;
    case PixelKind::RgbAlpha:
        read([&](unsigned char*, uint32_t* px, const RowSamples& in, int x) {
            const uint32_t a = s(in, x, 0);
            px[x] = a << 24 | Premultiply(s(in, x, 1), a) << 16 | Premultiply(s(in, x, 2), a) << 8 |
                    Premultiply(s(in, x, 3), a);
        });
        break;
    case PixelKind::Unsupported:
        break;
    }
    return image;
}

void WritePixels(pixman_image_t* image, const SampleLayout& dst, int w, int h)
{
    const bool coverageSource = pixman_image_get_format(image) == PIXMAN_a8;
    auto* bits = reinterpret_cast<const unsigned char*>(pixman_image_get_data(image));
    const int stride = pixman_image_get_stride(image);
    // Walks the pixels with one writer for the whole image, so that the choice of planes is made once.
    auto write = [&](auto put) {
        for (int y = 0; y < h; ++y) {
            const unsigned char* row = bits + ptrdiff_t(y) * stride;
            const auto* px = reinterpret_cast<const uint32_t*>(row);
            const RowSamples out(dst, 0, y);
            for (int x = 0; x < w; ++x) {
                uint32_t a, r, g, b;
                if (coverageSource) {
                    a = row[x];
                    r = g = b = 0;
                } else {
                    const uint32_t v = px[x];
                    a = v >> 24;
                    r = (v >> 16) & 0xFF;
                    g = (v >> 8) & 0xFF;
                    b = v & 0xFF;
                    // Opaque pixels keep their colour as it is; only the others need the table.
                    if (a != 255) {
                        const unsigned char* colourOf = &kUnpremultiplied[a * 256];
                        r = colourOf[r];
                        g = colourOf[g];
                        b = colourOf[b];
                    }
                }
                put(out, x, a, r, g, b);
            }
        }
    };
    auto grey = [](uint32_t r, uint32_t g, uint32_t b) { return static_cast<unsigned char>((r + g + b + 1) / 3); };
    switch (dst.kind) {
    case PixelKind::Coverage:
        write([](const RowSamples& out, int x, uint32_t a, uint32_t, uint32_t, uint32_t) {
            *out.At(x, 0) = static_cast<unsigned char>(a);
        });
        break;
    case PixelKind::Grey:
        write([&](const RowSamples& out, int x, uint32_t, uint32_t r, uint32_t g, uint32_t b) {
            *out.At(x, 0) = grey(r, g, b);
        });
        break;
    case PixelKind::GreyAlpha:
        write([&](const RowSamples& out, int x, uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
            *out.At(x, 0) = static_cast<unsigned char>(a);
            *out.At(x, 1) = grey(r, g, b);
        });
        break;
    case PixelKind::Rgb:
        write([](const RowSamples& out, int x, uint32_t, uint32_t r, uint32_t g, uint32_t b) {
            *out.At(x, 0) = static_cast<unsigned char>(r);
            *out.At(x, 1) = static_cast<unsigned char>(g);
            *out.At(x, 2) = static_cast<unsigned char>(b);
        });
        break;
    case PixelKind::RgbAlpha:
        write([](const RowSamples& out, int x, uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
            *out.At(x, 0) = static_cast<unsigned char>(a);
            *out.At(x, 1) = static_cast<unsigned char>(r);
            *out.At(x, 2) = static_cast<unsigned char>(g);
            *out.At(x, 3) = static_cast<unsigned char>(b);
        });
        break;
    case PixelKind::Unsupported:
        break;
    }
}

double FilterReach(double scale)
{
    // Bilinear reads the two nearest pixels; the convolution's linear reconstruction adds one pixel to each side
    // of the box. One more pixel on top keeps rounding in the filter's phases from reaching past the estimate.
    return scale <= kBilinearLimit ? 2.0 : 2.0 + scale / 2.0;
}

bool SetResampling(pixman_image_t* source, const pixman_f_transform& inverse, double scaleX, double scaleY)
{
    pixman_transform fixedInverse;
    if (!pixman_transform_from_pixman_f_transform(&fixedInverse, &inverse))
        return false;
    pixman_image_set_transform(source, &fixedInverse);
    pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);

    if (scaleX <= kBilinearLimit && scaleY <= kBilinearLimit)
        return pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    // An axis that does not shrink keeps plain linear interpolation (its sample kernel is a point).
    auto sample = [](double scale) { return scale <= kBilinearLimit ? PIXMAN_KERNEL_IMPULSE : PIXMAN_KERNEL_BOX; };
    int count = 0;
    pixman_fixed_t* params = pixman_filter_create_separable_convolution(
        &count, pixman_double_to_fixed(std::max(1.0, scaleX)), pixman_double_to_fixed(std::max(1.0, scaleY)),
        PIXMAN_KERNEL_LINEAR, PIXMAN_KERNEL_LINEAR, sample(scaleX), sample(scaleY), 4, 4);
    if (!params)
        return false;
    bool ok = pixman_image_set_filter(source, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, count);
    free(params);
    return ok;
}

} // namespace detail
