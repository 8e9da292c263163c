#include "app/objects/placed_image.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "app/model/record_stream.h"
#include "image/image_ops.h"
#include "platform/resources/bitmap_resources.h"

namespace {

// Far enough for any page, near enough that a picture placed about it keeps its bounds inside 32 bits.
constexpr double kMaxPlacedCoordinate = 1 << 30;

} // namespace

int RoundPlacement(double v)
{
    const double t = std::trunc(v);
    return static_cast<int>(v - t < 0.5 ? t : t + 1.0);
}

CRect PlaceAboutCentre(double cx, double cy, int width, int height, bool round)
{
    const double x = cx - width * 0.5;
    const double y = cy - height * 0.5;
    const int left = round ? RoundPlacement(x) : static_cast<int>(std::trunc(x));
    const int top = round ? RoundPlacement(y) : static_cast<int>(std::trunc(y));
    return CRect(left, top, left + width, top + height);
}

void GridHandles(const CRect& bounds, DPOINT* handles)
{
    const double xs[] = {double(bounds.left), double((bounds.left + bounds.right - 1) / 2), double(bounds.right - 1)};
    const double ys[] = {double(bounds.top), double((bounds.top + bounds.bottom - 1) / 2), double(bounds.bottom - 1)};
    int n = 0;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            if (row != 1 || col != 1)
                handles[n++] = {xs[col], ys[row]};
}

RECT CornerHandlesPaintRect(const DPOINT* handles)
{
    constexpr int corners[4] = {0, 2, 5, 7};
    double minX = handles[0].x, maxX = minX, minY = handles[0].y, maxY = minY;
    for (int i : corners) {
        minX = std::min(minX, handles[i].x);
        maxX = std::max(maxX, handles[i].x);
        minY = std::min(minY, handles[i].y);
        maxY = std::max(maxY, handles[i].y);
    }
    // Rounded outward into the range a RECT holds, so a wild coordinate neither overflows nor wraps.
    const auto clamp = [](double v) {
        return std::isnan(v) ? 0 : static_cast<int>(std::clamp(v, double(INT_MIN / 2), double(INT_MAX / 2)));
    };
    return RECT{clamp(std::floor(minX)) - 3, clamp(std::floor(minY)) - 3, clamp(std::ceil(maxX)) + 3,
                clamp(std::ceil(maxY)) + 3};
}

void CopyImageOrClear(const CImage* image, int x, int y, CPixMap& map)
{
    if (image && image->GetBuf(x, y, map, MASK_NONE, 1))
        return;
    if (map.planes < 1 || !map.IsValid())
        return;
    const std::vector<unsigned char> zeros(static_cast<size_t>(map.planes), 0);
    FillMapSamples(map, 0, zeros.data(), map.planes);
}

std::unique_ptr<CPixMap> LoadOpaqueBitmap(unsigned id)
{
    DeviceBitmap bitmap;
    if (!LoadDeviceBitmap(id, bitmap) || bitmap.width < 1 || bitmap.height < 1)
        return nullptr;
    auto map = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, bitmap.width, bitmap.height);
    if (!map->IsValid())
        return nullptr;
    const int bytes = bitmap.bitsPerPixel / 8;
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x) {
            const uint8_t* device = bitmap.bits.data() + (static_cast<size_t>(y) * bitmap.width + x) * bytes;
            unsigned char* pixel = map->Sample(x, y, 0);
            pixel[0] = 255;
            pixel[1] = device[2];
            pixel[2] = device[1];
            pixel[3] = device[0];
        }
    return map;
}

bool IsPlacedCentre(const DPOINT& centre)
{
    for (double v : {centre.x, centre.y})
        if (!std::isfinite(v) || std::fabs(v) > kMaxPlacedCoordinate)
            return false;
    return true;
}

DPOINT ReadPlacedCentre(CFile& file)
{
    DPOINT centre;
    centre.x = ReadDouble(file);
    centre.y = ReadDouble(file);
    if (!IsPlacedCentre(centre))
        ThrowBadRecord();
    return centre;
}

void WriteRect(CFile& file, const RECT& rect)
{
    for (int v : {rect.left, rect.top, rect.right, rect.bottom})
        WriteInt32(file, v);
}

RECT ReadRect(CFile& file)
{
    RECT rect;
    rect.left = ReadInt32(file);
    rect.top = ReadInt32(file);
    rect.right = ReadInt32(file);
    rect.bottom = ReadInt32(file);
    return rect;
}

DPOINT& CPlacedObject::GetCenter(DPOINT& center) const
{
    center = centre;
    return center;
}

void CPlacedObject::SetCenter(const DPOINT& center)
{
    centre = center;
    bounds = PlaceAboutCentre(centre.x, centre.y, width, height, false);
    UpdateHandles();
}

void CPlacedObject::MoveBy(int dx, int dy)
{
    centre.x += dx;
    centre.y += dy;
    bounds.OffsetRect(dx, dy);
    UpdateHandles();
}

SIZE& CPlacedObject::GetSize(SIZE& size) const
{
    size = SIZE{width, height};
    return size;
}

void CPlacedObject::GetPixels(int x, int y, CPixMap& map, const CColor*)
{
    CopyImageOrClear(image.get(), x, y, map);
}

void CPlacedObject::PlaceAt(double cx, double cy)
{
    bounds = PlaceAboutCentre(cx, cy, width, height, true);
    centre = {bounds.left + width / 2.0, bounds.top + height / 2.0};
    UpdateHandles();
}

void CPlacedObject::PlaceAboutOwnCentre()
{
    if (width % 2 != 0)
        centre.x -= 0.5;
    if (height % 2 != 0)
        centre.y -= 0.5;
    PlaceAt(centre.x, centre.y);
}

RECT& CPlacedObject::GetPaintRect(RECT& rect) const
{
    rect = CornerHandlesPaintRect(handles);
    return rect;
}

void CPlacedObject::UpdateHandles()
{
    GridHandles(bounds, handles);
}
