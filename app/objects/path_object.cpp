#include "app/objects/path_object.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/link_info.h"
#include "app/model/record_stream.h"
#include "app/model/string_attr.h"
#include "app/model/text_style.h"
#include "app/objects/fill_picture_search.h"
#include "app/objects/outline_pixels.h"
#include "app/objects/outline_stream.h"
#include "app/objects/placed_image.h"
#include "app/objects/text_image.h"
#include "app/render/object_effects.h"
#include "image/image_ops.h"
#include "image/kept_images.h"
#include "image/tiles.h"
#include "platform/io/io.h"
#include "platform/transform/rotate_scale.h"

using detail::CropToVisible;
using detail::FillColourPlanes;
using detail::IsAlphaRgbMap;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
// A move closer than this to whole pixels counts as whole: the centre then keeps its tiny remainder, far below
// anything the rasteriser shows.
constexpr double kWholePixelTolerance = 1e-4;

// Whether d lies within the tolerance of a whole number that fits an int; that number in whole.
bool IsWholePixels(double d, int& whole)
{
    if (!std::isfinite(d) || std::fabs(d) > std::numeric_limits<int>::max() - 1.0)
        return false;
    const double nearest = std::nearbyint(d);
    if (std::fabs(d - nearest) >= kWholePixelTolerance)
        return false;
    whole = static_cast<int>(nearest);
    return true;
}

// The nearest multiple of a quarter turn's half, counted in eighths from the lower bounds pi/8, 3pi/8, ...; a
// turn of 15pi/8 or more comes back to 0.
double SnapRotation(double r)
{
    for (int eighth = 0; eighth < 8; ++eighth)
        if (r < (2 * eighth + 1) * kPi / 8)
            return eighth * CPathObject::kSnapStep;
    return 0.0;
}

bool IsPictureLike(int kind)
{
    return kind == CFillInfo::FILL_TEXTURE || kind == CFillInfo::FILL_GRADIENT || kind == CFillInfo::FILL_PICTURE;
}

// Objects larger than any picture the program loads are not drawn: their images could not be held (a stored
// object may claim any size, far beyond what resizing allows).
bool IsDrawableSize(int64_t width, int64_t height)
{
    constexpr int64_t side = 2 * kMaxPictureSide;
    return width <= side && height <= side && width * height <= 2 * kMaxPicturePixels;
}

} // namespace

CPathObject::CPathObject(double x, double y, const SIZE& size, double rotation)
    : fill(std::make_unique<CFillInfo>()), effects(std::make_unique<CEffectSettings>()),
      link(std::make_unique<CLinkInfo>()), textStyle(std::make_unique<CTextStyle>()),
      altText(std::make_unique<CStringAttr>()), width(size.cx), height(size.cy), rotation(rotation), centreX(x),
      centreY(y)
{
}

CPathObject::CPathObject(double x, double y, const SIZE& size, double rotation, int shapeCode)
    : CPathObject(x, y, size, rotation)
{
    this->shapeCode = shapeCode;
}

CPathObject::~CPathObject() = default;

void CPathObject::FreeCaches()
{
    image.reset();
    dirty = 1;
    if (fill)
        fill->InvalidateImage();
    if (effects)
        effects->FreeCachedImages();
}

DPOINT& CPathObject::GetCenter(DPOINT& center) const
{
    center = DPOINT{centreX, centreY};
    return center;
}

void CPathObject::SetCenterRaw(double x, double y)
{
    centreX = x;
    centreY = y;
}

void CPathObject::SetCenter(const DPOINT& center)
{
    int dx = 0, dy = 0;
    if (IsWholePixels(center.x - centreX, dx) && IsWholePixels(center.y - centreY, dy)) {
        centreX = center.x;
        centreY = center.y;
        ShiftByWholePixels(dx, dy);
        return;
    }
    centreX = center.x;
    centreY = center.y;
    BuildOutline();
    UpdateHandles();
    GeometryChanged();
}

void CPathObject::MoveBy(int dx, int dy)
{
    centreX += dx;
    centreY += dy;
    ShiftByWholePixels(dx, dy);
}

void CPathObject::ShiftByWholePixels(int dx, int dy)
{
    bounds.OffsetRect(dx, dy);
    pendingShiftX += dx;
    pendingShiftY += dy;
    for (DPOINT& handle : handles) {
        handle.x += dx;
        handle.y += dy;
    }
}

SIZE& CPathObject::GetSize(SIZE& size) const
{
    size = SIZE{width, height};
    return size;
}

void CPathObject::SetSize(int cx, int cy)
{
    // A drag past the opposite handle must not turn the shape inside out.
    cx = std::max(cx, 0);
    cy = std::max(cy, 0);
    if (cx == width && cy == height)
        return;
    width = cx;
    height = cy;
    GeometryChanged();
    BuildOutline();
    UpdateHandles();
}

void CPathObject::SetRotation(double newRotation)
{
    if (newRotation == rotation)
        return;
    rotation = newRotation;
    GeometryChanged();
    BuildOutline();
    UpdateHandles();
}

void CPathObject::RotateByHandle(POINT pointer, double startAngle, double startRotation, BYTE snap)
{
    const double cx = centreX + offsetX;
    const double cy = centreY + offsetY;
    double a = std::atan2(pointer.y - cy, pointer.x - cx);
    if (a < 0)
        a += kTwoPi;
    double r = startAngle - a + startRotation;
    if (r < 0)
        r += kTwoPi;
    if (r > kTwoPi)
        r -= kTwoPi;
    SetRotation(snap ? SnapRotation(r) : r);
}

DPOINT CPathObject::Turn(double x, double y) const
{
    const double dx = x - centreX, dy = y - centreY;
    const double c = std::cos(-rotation), s = std::sin(-rotation);
    return DPOINT{centreX + dx * c - dy * s, centreY + dx * s + dy * c};
}

void CPathObject::FinishOutline()
{
    bounds = outline.GetBoundingBox();
    bounds.OffsetRect(offsetX, offsetY);
    pendingShiftX = 0;
    pendingShiftY = 0;
}

void CPathObject::GeometryChanged()
{
    SetDirty();
    if (fill)
        fill->SetRenderAgain();
    if (effects)
        effects->m_rebuild = true;
}

bool CPathObject::HasAnimatedFill() const
{
    return fill && fill->IsAnimated();
}

void CPathObject::UpdateHandles()
{
    const double left = centreX - width / 2.0, top = centreY - height / 2.0;
    const double right = left + width, bottom = top + height;
    const double midX = centreX, midY = centreY;
    const DPOINT unturned[kHandleCount] = {{left, top},   {midX, top},    {right, top},   {left, midY},
                                           {right, midY}, {left, bottom}, {midX, bottom}, {right, bottom}};
    for (int i = 0; i < kHandleCount; ++i) {
        const DPOINT p = Turn(unturned[i].x, unturned[i].y);
        handles[i] = DPOINT{p.x + offsetX + pendingShiftX, p.y + offsetY + pendingShiftY};
    }
}

RECT& CPathObject::GetPaintRect(RECT& rect) const
{
    rect = CornerHandlesPaintRect(handles);
    return rect;
}

std::unique_ptr<CFillInfo> CPathObject::SetFill(std::unique_ptr<CFillInfo> newFill)
{
    std::swap(fill, newFill);
    SetDirty();
    return newFill;
}

std::unique_ptr<CEffectSettings> CPathObject::SetEffects(std::unique_ptr<CEffectSettings> newEffects)
{
    std::swap(effects, newEffects);
    if (effects) {
        // A remembered softness no setting can have makes each kept spread image count as stale.
        effects->m_shadowCache.m_softness = -1;
        effects->m_bevelCache.m_softness = -1;
        effects->m_glowCache.m_softness = -1;
    }
    SetDirty();
    return newEffects;
}

std::unique_ptr<CLinkInfo> CPathObject::SetLink(std::unique_ptr<CLinkInfo> newLink)
{
    std::swap(link, newLink);
    return newLink;
}

std::unique_ptr<CStringAttr> CPathObject::SetAltText(std::unique_ptr<CStringAttr> newAltText)
{
    std::swap(altText, newAltText);
    return newAltText;
}

std::unique_ptr<CTextStyle> CPathObject::SetTextStyle(std::unique_ptr<CTextStyle> style)
{
    if (style.get() != textStyle.get() && fill)
        fill->SetRenderAgain();
    std::swap(textStyle, style);
    return style;
}

void CPathObject::OnPageDeleted(int page)
{
    if (link)
        link->OnPageDeleted(page);
}

void CPathObject::ClampPageLinks(int count)
{
    if (link)
        link->ClampPageNumber(count);
}

void CPathObject::ResetPageLinks()
{
    if (link)
        link->ResetPageNumber();
}

int CPathObject::GetDownloadSize(double divisor) const
{
    if (!(divisor > 0.0))
        return 0;
    const double area = static_cast<double>(bounds.Width()) * bounds.Height();
    const double size = area / divisor;
    return size >= std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(size);
}

void CPathObject::CopyFrom(CPageObject& other)
{
    auto* that = dynamic_cast<CPathObject*>(&other);
    if (!that || that == this)
        return;
    const DPOINT myCentre{centreX, centreY}, theirCentre{that->centreX, that->centreY};
    const SIZE mySize{width, height}, theirSize{that->width, that->height};
    const double myRotation = rotation, theirRotation = that->rotation;

    SetCenter(theirCentre);
    that->SetCenter(myCentre);
    SetSize(theirSize);
    that->SetSize(mySize);
    SetRotation(theirRotation);
    that->SetRotation(myRotation);

    std::unique_ptr<CTextStyle> mine = SetTextStyle(nullptr);
    SetTextStyle(that->SetTextStyle(std::move(mine)));
    std::unique_ptr<CStringAttr> myAlt = SetAltText(nullptr);
    SetAltText(that->SetAltText(std::move(myAlt)));
}

bool CPathObject::IsSameRectangle(const CPathObject& other) const
{
    auto same = [](const auto* a, const auto* b) { return a == b || (a && b && *a == *b); };
    return GetKind() == objectRectangle && other.GetKind() == objectRectangle && rotation == 0.0 &&
           other.rotation == 0.0 && width == other.width && height == other.height && offsetX == other.offsetX &&
           offsetY == other.offsetY && same(fill.get(), other.fill.get()) && same(effects.get(), other.effects.get()) &&
           same(textStyle.get(), other.textStyle.get());
}

void CPathObject::GetPixels(int x, int y, CPixMap& map, const CColor* background)
{
    if (!dirty && image) {
        image->GetBuf(x, y, map, MASK_NONE);
        return;
    }
    if (!IsAlphaRgbMap(map) || map.width < 1 || map.height < 1)
        return;
    if (!dirty) {
        // Rendered, but its outline covers no pixel.
        const unsigned char clear = 0;
        FillMapSamples(map, 0, &clear, 1);
        return;
    }
    COLORREF colour = FillColour();
    if (background) {
        const COLORREF back = background->GetCOLORREF();
        const BYTE f[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
        BYTE b[3] = {GetRValue(back), GetGValue(back), GetBValue(back)};
        if (std::abs(f[0] - b[0]) < 15 && std::abs(f[1] - b[1]) < 15 && std::abs(f[2] - b[2]) < 15) {
            // The silhouette would vanish on a background of its own colour.
            for (BYTE& c : b)
                c = static_cast<BYTE>(c < 129 ? c + 15 : c - 15);
            colour = RGB(b[0], b[1], b[2]);
        }
    }
    const CRect box = outline.GetBoundingBox();
    const CRect area(box.left + x, box.top + y, box.left + x + map.width, box.top + y + map.height);
    if (!outline.Rasterize(area, map.Sample(0, 0, 0), map.plane[0].pixelStep, map.plane[0].rowStep, FILL_RULE_EVEN_ODD,
                           2))
        return;
    FillColourPlanes(map, colour);
}

bool CPathObject::RenderImage(CPixMap& scratch)
{
    if (!dirty)
        return true;
    if (!IsAlphaRgbMap(scratch) || !scratch.interleaved)
        return false;

    const CRect box = outline.GetBoundingBox();
    CRect newBounds = box;
    newBounds.OffsetRect(offsetX + pendingShiftX, offsetY + pendingShiftY);
    if (!IsDrawableSize(width, height) || !IsDrawableSize(box.Width(), box.Height()))
        return false;
    if (box.Width() < 1 || box.Height() < 1) {
        // An outline that covers no pixel has nothing to show.
        image.reset();
        bounds = newBounds;
        dirty = 0;
        return true;
    }

    std::unique_ptr<CImage> target = TakeRenderTarget(box.Width(), box.Height());
    std::unique_ptr<CImage> content;
    if (!target || !PrepareContent(content) || !RasteriseTiles(scratch, content.get(), *target))
        return false;
    KeepImage(std::move(content));
    if (!ApplyEffects(scratch, target, newBounds))
        return false;

    KeepImage(std::exchange(image, std::move(target)));
    bounds = newBounds;
    dirty = 0;
    return true;
}

COLORREF CPathObject::FillColour() const
{
    return fill ? fill->GetColor().GetCOLORREF() : 0;
}

bool CPathObject::HasButtonText() const
{
    return CanHaveButtonText() && textStyle && !textStyle->GetText().empty();
}

std::unique_ptr<CImage> CPathObject::TakeRenderTarget(int imageWidth, int imageHeight)
{
    if (image && image->GetMode() == IMAGE_MODE_RGBA && image->Width() == imageWidth &&
        image->Height() == imageHeight && !image->IsEmpty())
        return std::move(image);
    // The tiles of the render cover it whole.
    auto target = TakeImageForOverwrite(IMAGE_MODE_RGBA, imageWidth, imageHeight);
    if (target->IsEmpty())
        return nullptr;
    return target;
}

std::unique_ptr<CImage> CPathObject::FitToObject(const CImage& source, double angle) const
{
    const int contentW = std::max(width, 1), contentH = std::max(height, 1);
    const DPOINT middle{contentW / 2.0, contentH / 2.0};
    return CRotateScale(source).Transform(contentW, contentH, angle, &middle, nullptr);
}

bool CPathObject::PrepareContent(std::unique_ptr<CImage>& content) const
{
    const bool picture = fill && IsPictureLike(fill->GetKind());
    if (picture && !fill->GetImage())
        return false;
    // The transform turns a picture the way the outline turns its points, so both take the object's rotation.
    if (HasButtonText()) {
        // The text is drawn on the upright face, which then turns with the object.
        const std::unique_ptr<CImage> face = DrawButtonFace(picture);
        content = face ? FitToObject(*face, rotation) : nullptr;
    } else if (picture) {
        content = WidenGreyToRgb(FitToObject(*fill->GetImage(), rotation));
    } else {
        content.reset();
        return true;
    }
    return content != nullptr;
}

std::unique_ptr<CImage> CPathObject::DrawButtonFace(bool picture) const
{
    std::unique_ptr<CImage> face =
        WidenGreyToRgb(picture ? FitToObject(*fill->GetImage(), 0.0)
                               : MakeSolidImage(CColor(FillColour()), std::max(width, 1), std::max(height, 1)));
    if (!face || face->IsEmpty() || !DrawButtonText(*face, *textStyle))
        return nullptr;
    return face;
}

bool CPathObject::RasteriseTiles(CPixMap& scratch, const CImage* content, CImage& target) const
{
    const CRect box = outline.GetBoundingBox();
    int shiftX = 0, shiftY = 0;
    if (content && CentresFillContent()) {
        shiftX = (content->Width() - target.Width()) / 2;
        shiftY = (content->Height() - target.Height()) / 2;
    }
    const COLORREF colour = FillColour();
    // Each tile is drawn straight into the target; the scratch map only gives the tiles their size.
    CPixMap view(IMAGE_MODE_RGBA, 0, 0);
    return ForEachTile(scratch, target.Width(), target.Height(), [&](int x, int y) {
        detail::AimMapAt(view, target, x, y, scratch.width, scratch.height);
        // No fill at all shows the fill's colour, as a colour fill would; the outline still decides the shape.
        if (content)
            content->GetBuf(x + shiftX, y + shiftY, view, MASK_EDGE_REPEAT);
        else
            FillColourPlanes(view, colour);
        const CRect area(box.left + x, box.top + y, box.left + x + view.width, box.top + y + view.height);
        return outline.Rasterize(area, view.Sample(0, 0, 0), 4, view.plane[0].rowStep, FILL_RULE_EVEN_ODD, 16);
    });
}

bool CPathObject::ApplyEffects(CPixMap& scratch, std::unique_ptr<CImage>& target, CRect& newBounds)
{
    if (!effects || !effects->HasEffects())
        return true;
    // An object that takes no style (an animated picture fill) keeps its effect settings but shows none of them;
    // its image is still cropped as any object with an effect switched on.
    if (CanTakeStyle() && !RenderEffects(target, newBounds, *effects)) {
        // Shown without its effects for now; being still dirty, it tries again at the next update.
        image = std::move(target);
        bounds = newBounds;
        return false;
    }
    return CropToVisible(scratch, target, newBounds);
}

bool CPathObject::UpdateFill()
{
    // A picture fill that lost its image (or never made it) must make it before the render can use it.
    if (fill && IsPictureLike(fill->GetKind()) && !fill->GetImage())
        fill->SetRenderAgain();
    if (!fill || !fill->NeedsRender())
        return true;
    if (!IsDrawableSize(width, height))
        return false;
    const SIZE size{std::max(width, 1), std::max(height, 1)};
    const int code = fill->UpdateImage(size);
    if (code != 0)
        FindFillPicture(*fill, size, code);
    dirty = 1;
    return true;
}

bool CPathObject::UpdateImage(CPixMap& scratch)
{
    if (!UpdateFill())
        return false;
    return dirty ? RenderImage(scratch) : true;
}

bool CPathObject::CanRenderElsewhere() const
{
    // Button text draws with the shared fonts.
    return !(CanHaveButtonText() && textStyle && !textStyle->GetText().empty());
}

bool CPathObject::PrepareImage()
{
    // As UpdateFill decides, without making the fill's image: the render does that.
    if (fill && IsPictureLike(fill->GetKind()) && !fill->GetImage())
        fill->SetRenderAgain();
    return !(fill && fill->NeedsRender() && !IsDrawableSize(width, height));
}

int CPathObject::RenderPreparedImage(CPixMap& scratch)
{
    if (fill && fill->NeedsRender()) {
        // Loading a picture or drawing a gradient touches this fill alone; a picture that fails is searched for
        // on the caller's thread, by UpdateImage.
        if (fill->UpdateImage(SIZE{std::max(width, 1), std::max(height, 1)}) != 0)
            return renderOnCaller;
        dirty = 1;
    }
    if (!dirty)
        return renderDone;
    return RenderImage(scratch) ? renderDone : renderFailed;
}

bool CPathObject::NeedsImageUpdate() const
{
    return dirty || (fill && (fill->NeedsRender() || (IsPictureLike(fill->GetKind()) && !fill->GetImage())));
}

void CPathObject::SaveOutlineObject(CFile& file, DWORD tag) const
{
    OutlineHead head;
    head.width = width;
    head.height = height;
    head.rotation = rotation;
    head.center = DPOINT{centreX, centreY};
    head.shapeCode = shapeCode;
    head.bounds = bounds;
    head.offsetX = offsetX;
    head.offsetY = offsetY;
    head.corner = GetCorner();
    // A head the reader refuses would keep the whole site from opening: nothing is written instead.
    if (!IsStoredHead(head))
        ThrowBadRecord();
    WriteUInt32(file, tag);
    WriteOutlineHead(file, GetKind(), head);
    // Snapshots have no records; they are never saved, but an object written without them would be unreadable.
    const CFillInfo noFill;
    const CEffectSettings noEffects;
    const CLinkInfo noLink;
    const CTextStyle noStyle;
    const CStringAttr noAlt;
    WriteOutlineRecords(file, fill ? *fill : noFill, effects ? *effects : noEffects, link ? *link : noLink,
                        textStyle ? *textStyle : noStyle, altText ? *altText : noAlt);
}

void CPathObject::LoadOutlineObject(CFile& file, int major, int minor)
{
    const OutlineHead head = ReadOutlineHead(file, GetKind(), major, minor);
    if (!fill)
        fill = std::make_unique<CFillInfo>();
    if (!effects)
        effects = std::make_unique<CEffectSettings>();
    if (!link)
        link = std::make_unique<CLinkInfo>();
    if (!textStyle)
        textStyle = std::make_unique<CTextStyle>();
    if (!altText)
        altText = std::make_unique<CStringAttr>();
    ReadOutlineRecords(file, major, minor, *fill, *effects, *link, *textStyle, *altText);

    width = head.width;
    height = head.height;
    rotation = head.rotation;
    centreX = head.center.x;
    centreY = head.center.y;
    if (GetKind() == objectPolygon)
        shapeCode = head.shapeCode;
    offsetX = head.offsetX;
    offsetY = head.offsetY;
    SetCorner(head.corner);
    image.reset();
    BuildOutline();
    UpdateHandles();
    GeometryChanged();
}

void CPathObject::CopySnapshotInto(CPathObject& target) const
{
    target.fill.reset();
    target.effects.reset();
    target.link.reset();
    target.textStyle = textStyle ? textStyle->Clone() : nullptr;
    target.altText = altText ? altText->Clone() : nullptr;
}

void CPathObject::CopyAllInto(CPathObject& target) const
{
    target.fill = fill ? fill->Clone() : nullptr;
    target.effects = effects ? effects->Clone() : nullptr;
    target.link = link ? link->Clone() : nullptr;
    target.textStyle = textStyle ? textStyle->Clone() : nullptr;
    target.altText = altText ? altText->Clone() : nullptr;
    target.SetOffsetX(offsetX);
    target.SetOffsetY(offsetY);
}
