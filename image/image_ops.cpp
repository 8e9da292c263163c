#include "image/image_ops.h"

#include <new>

#include "image/color_convert.h"
#include "image/kernels.h"

using namespace detail;

namespace {

// A zeroed buffer laid out for the image's present mode and size, or null when it cannot be had.
auto_array<unsigned char> NewPixelBuffer(const CImage& image)
{
    return auto_array<unsigned char>(new (std::nothrow) unsigned char[image.GetDataSize()]());
}

} // namespace

void FillPixelSamples(unsigned char* first, int pixelStep, int rowStep, const unsigned char* values, int count,
                      int width, int height)
{
    if (count < 1 || width < 1 || height < 1)
        return;
    // One pass over the pixels where the samples fit the kernel, else one strided pass per sample.
    if (count <= 4 && count <= pixelStep) {
        FillPixels8(first, pixelStep, rowStep, values, count, width, height);
        return;
    }
    for (int s = 0; s < count; ++s)
        Fill8(first + s, pixelStep, rowStep, values[s], width, height);
}

bool FillMapSamples(CPixMap& map, int firstPlane, const unsigned char* values, int count)
{
    if (map.bitsPerPlane != 8 || !map.IsValid() || firstPlane < 0 || count < 0 || firstPlane + count > map.planes)
        return false;
    if (map.interleaved) {
        FillPixelSamples(map.Sample(0, 0, firstPlane), map.plane[0].pixelStep, map.plane[0].rowStep, values, count,
                         map.width, map.height);
        return true;
    }
    for (int s = 0; s < count; ++s) {
        const CPixMap::Plane& plane = map.plane[firstPlane + s];
        FillPixelSamples(plane.data, plane.pixelStep, plane.rowStep, values + s, 1, map.width, map.height);
    }
    return true;
}

std::unique_ptr<CImage> MakeSolidImage(const CColor& colour, int width, int height, double dpi)
{
    const IMAGE_MODE mode = colour.GetMode();
    const int planes = ModePlanes(mode);
    if (ModeBitsPerPlane(mode) != 8 || planes < 1)
        return nullptr;
    auto image = std::make_unique<CImage>(mode, width, height, dpi);
    if (image->IsEmpty())
        return nullptr;
    auto_array<unsigned char> data = NewPixelBuffer(*image);
    if (!data.get())
        return nullptr;
    FillPixelSamples(data.get(), planes, image->GetStride(), colour.GetColor(), planes, width, height);
    image->SetData(data);
    return image;
}

std::unique_ptr<CImage> WidenGreyToRgb(std::unique_ptr<CImage> image)
{
    if (!image || (image->GetMode() & ~IMAGE_MODE_ALPHA_BIT) != IMAGE_MODE_GREY)
        return image;
    if (image->IsEmpty())
        return nullptr;
    const bool alpha = image->HasAlpha();
    auto rgb = std::make_unique<CImage>(alpha ? IMAGE_MODE_RGBA : IMAGE_MODE_RGB, image->Width(), image->Height(),
                                        image->GetDpi());
    if (rgb->IsEmpty())
        return nullptr;
    auto_array<unsigned char> data = NewPixelBuffer(*rgb);
    if (!data.get())
        return nullptr;
    // Alpha, where there is one, comes first in both pixels and is copied as it is.
    const int from = alpha ? 2 : 1, to = alpha ? 4 : 3, colour = alpha ? 1 : 0;
    const int w = image->Width(), h = image->Height();
    const uint8_t* src = image->GetData();
    if (alpha)
        Copy8To8(data.get(), to, rgb->GetStride(), src, from, image->GetStride(), w, h);
    GetConverter(IMAGE_MODE_GREY)
        .RowToCommon(src + colour, from, image->GetStride(), data.get() + colour, to, rgb->GetStride(), w, h);
    rgb->SetData(data);
    return rgb;
}
