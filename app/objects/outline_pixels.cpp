#include "app/objects/outline_pixels.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "image/image_ops.h"
#include "image/kept_images.h"

namespace detail {

bool IsAlphaRgbMap(const CPixMap& map)
{
    return map.IsValid() && map.mode == IMAGE_MODE_RGBA && map.bitsPerPlane == 8 && map.planes == 4;
}

void FillColourPlanes(CPixMap& map, COLORREF colour)
{
    const unsigned char rgb[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    FillMapSamples(map, 1, rgb, 3);
}

void AimMapAt(CPixMap& view, CImage& image, int x, int y, int w, int h)
{
    const int stride = image.GetStride();
    const int pixel = image.GetPlanes() * image.GetBitsPerPlane() / 8;
    view.width = w;
    view.height = h;
    view.plane[0] = {image.GetData() + static_cast<ptrdiff_t>(y) * stride + static_cast<ptrdiff_t>(x) * pixel,
                     view.planes, stride};
}

bool CropToVisible(CPixMap& /*scratch*/, std::unique_ptr<CImage>& image, CRect& bounds)
{
    const int w = image->Width(), h = image->Height();
    int minX = w, minY = h, maxX = -1, maxY = -1;
    for (int j = 0; j < h; ++j) {
        const unsigned char* row = image->GetData() + static_cast<ptrdiff_t>(j) * image->GetStride();
        for (int i = 0; i < w; ++i) {
            if (row[4 * i] == 0)
                continue;
            minX = std::min(minX, i);
            maxX = std::max(maxX, i);
            minY = std::min(minY, j);
            maxY = std::max(maxY, j);
        }
    }
    if (maxX < 0 || (minX == 0 && minY == 0 && maxX == w - 1 && maxY == h - 1))
        return true;
    const int cropW = maxX - minX + 1, cropH = maxY - minY + 1;
    // A kept image of the cropped size takes the rows, and the whole image is kept in its place, ready for the
    // next render of the same size. Otherwise the image is cropped where it stands.
    std::unique_ptr<CImage> cropped = TakeKeptImage(IMAGE_MODE_RGBA, cropW, cropH, image->GetDpi());
    if (cropped || !image->CropInPlace(minX, minY, cropW, cropH)) {
        // An image on a borrowed buffer is copied too; both are of the same mode, so the rows go as they are.
        if (!cropped)
            cropped = std::make_unique<CImage>(IMAGE_MODE_RGBA, cropW, cropH, image->GetDpi(), CImage::ForOverwrite{});
        if (cropped->IsEmpty())
            return false;
        const ptrdiff_t from = image->GetStride(), to = cropped->GetStride();
        const unsigned char* source = image->GetData() + minY * from + ptrdiff_t(minX) * 4;
        for (int y = 0; y < cropH; ++y)
            std::memcpy(cropped->GetData() + y * to, source + y * from, size_t(cropW) * 4);
        KeepImage(std::exchange(image, std::move(cropped)));
    }
    bounds = CRect(bounds.left + minX, bounds.top + minY, bounds.left + minX + cropW, bounds.top + minY + cropH);
    return true;
}

} // namespace detail
