#pragma once

// Moves 8-bit pixels between the image library's layouts and pixman images, and the resampling set-up that both
// transform classes share. Internal to the transform library.

#include "image/image.h"

#include <pixman.h>

#include <cstddef>
#include <memory>

namespace detail {

// The kinds of pixel the transforms handle: 8-bit planes with alpha (if any) first.
enum class PixelKind
{
    Unsupported,
    Grey,      // mode 1
    GreyAlpha, // mode 0x80000001
    Rgb,       // mode 3
    RgbAlpha,  // mode 0x80000003
    Coverage,  // mode 0x800001FE
};

PixelKind KindOfMode(IMAGE_MODE mode);
inline bool KindHasAlpha(PixelKind k)
{
    return k == PixelKind::GreyAlpha || k == PixelKind::RgbAlpha || k == PixelKind::Coverage;
}

// Where the samples of an 8-bit image or pixel map lie: sample p of pixel (x, y) is at
// plane[p] + x * pixelStep[p] + y * rowStep[p].
struct SampleLayout
{
    PixelKind kind = PixelKind::Unsupported;
    int width = 0;
    int height = 0;
    int planes = 0;
    unsigned char* plane[4] = {};
    int pixelStep[4] = {};
    ptrdiff_t rowStep[4] = {};

    unsigned char* At(int x, int y, int p) const { return plane[p] + x * pixelStep[p] + y * rowStep[p]; }
};

// Unsupported kind when the image or map holds no data or is not of a handled mode.
SampleLayout LayoutOf(const CImage& image);
SampleLayout LayoutOf(const CPixMap& map);

struct PixmanDeleter
{
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};
using PixmanImage = std::unique_ptr<pixman_image_t, PixmanDeleter>;

// A new pixman image of w x h: a8 for coverage, premultiplied a8r8g8b8 for the rest. Its pixels are left as
// they are (whatever an earlier transform left): the caller writes every one, by a SRC composite over the whole
// image or a fill, before reading any.
PixmanImage NewPixmanImage(PixelKind kind, int w, int h);

// A new a8 image of w x h cleared to 0, for the mask that shapes a turned image.
// The images made by this, by NewPixmanImage and by ReadPixels may share their buffer with the one the same
// function made before on the same thread: each must be let go before the next call of its maker.
PixmanImage NewCoverageMask(int w, int h);

// Copies the w x h pixels at (x0, y0) of the layout into a new pixman image (premultiplying colour by alpha).
PixmanImage ReadPixels(const SampleLayout& src, int x0, int y0, int w, int h);

// Writes the top-left w x h pixels of a pixman image into the layout at (0, 0), undoing the premultiplication:
// colour = round(premultiplied x 255 / alpha), and 0 where alpha is 0. The layout's kind decides which planes
// are written; colour becomes grey by the mean of red, green and blue.
void WritePixels(pixman_image_t* image, const SampleLayout& dst, int w, int h);

// Makes a source sample through the inverse transform (target pixel centre to source point), scaled by
// scaleX x scaleY source pixels per target pixel. The filter is bilinear while no axis shrinks by more than a
// quarter, otherwise a box over each target pixel's footprint reconstructed linearly, so that a strong reduction
// averages its source instead of skipping most of it. Samples near the edges read the edge pixels again rather
// than transparency, so that a scaled image keeps its edges. Returns false when pixman refuses the transform or
// the filter (out of memory).
bool SetResampling(pixman_image_t* source, const pixman_f_transform& inverse, double scaleX, double scaleY);

// How far, in source pixels, the filter chosen above reaches from a sample's centre.
double FilterReach(double scale);

} // namespace detail
