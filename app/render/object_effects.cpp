#include "app/render/object_effects.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <utility>

#include "app/model/effect_settings.h"
#include "app/model/wait_cursor.h"
#include "app/render/compositing.h"
#include "app/render/effect_images.h"
#include "image/image_ops.h"
#include "image/kept_images.h"
#include "image/tiles.h"

namespace {

constexpr int kPixel = 4; // bytes of an alpha, red, green, blue pixel

// twin, when given, is a spread image just built from the same source with the same softness: a copy of it is
// the image a new build would give, without the blur.
bool RefreshCache(EffectCache& cache, int softness, int strength, bool rebuild, const CImage& source,
                  const CImage* twin = nullptr)
{
    const int sw = source.Width(), sh = source.Height();
    const double spread = softness * 0.2 * 6;
    bool keep = false;
    if (cache.m_pImage) {
        const int cw = cache.m_pImage->Width(), ch = cache.m_pImage->Height();
        keep = sw + spread <= cw && sh + spread <= ch && cw <= sw + spread + 100 && ch <= sh + spread + 100 &&
               cache.m_softness == softness && cache.m_strength == strength && cache.m_sourceWidth == sw &&
               cache.m_sourceHeight == sh && !rebuild;
    }
    if (!keep) {
        // Free the old image first: the new one is about as large.
        cache.m_pImage.reset();
        if (twin && !twin->IsEmpty())
            cache.m_pImage = std::make_unique<CImage>(*twin);
        else
            cache.m_pImage = BuildSpreadImage(source, softness * 0.2);
        if (!cache.m_pImage || cache.m_pImage->IsEmpty()) {
            cache.Clear();
            return false;
        }
    }
    cache.m_softness = softness;
    cache.m_strength = strength;
    cache.m_sourceWidth = sw;
    cache.m_sourceHeight = sh;
    cache.m_rect = CRect(0, 0, cache.m_pImage->Width(), cache.m_pImage->Height());
    return !keep;
}

// A rectangle in 64 bits, so that bounds near the ends of the int range cannot overflow while effects widen them.
struct Box
{
    int64_t left = 0, top = 0, right = 0, bottom = 0;

    int64_t Width() const { return right - left; }
    int64_t Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    void Offset(int64_t dx, int64_t dy)
    {
        left += dx;
        right += dx;
        top += dy;
        bottom += dy;
    }
    void Unite(const Box& b)
    {
        left = std::min(left, b.left);
        top = std::min(top, b.top);
        right = std::max(right, b.right);
        bottom = std::max(bottom, b.bottom);
    }
};

Box Intersect(const Box& a, const Box& b)
{
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

// An effect image of w x h centred on the object's bounds.
Box Centred(const Box& object, int w, int h)
{
    Box b;
    b.left = object.left - (w - object.Width()) / 2;
    b.top = object.top - (h - object.Height()) / 2;
    b.right = b.left + w;
    b.bottom = b.top + h;
    return b;
}

unsigned char* At(const CPixMap& map, int64_t x, int64_t y)
{
    return map.plane[0].data + static_cast<ptrdiff_t>(y) * map.plane[0].rowStep +
           static_cast<ptrdiff_t>(x) * map.plane[0].pixelStep;
}

// Fetches the w x h part of image at (x, y) (which may reach beyond the image: transparent there) into the top
// left of the map.
bool Fetch(const CImage& image, int64_t x, int64_t y, int w, int h, CPixMap& map)
{
    map.width = w;
    map.height = h;
    return image.GetBuf(static_cast<int>(x), static_cast<int>(y), map);
}

// Multiplies the alpha of every pixel of a coverage image by k / 255, in place.
bool ScaleImageAlpha(CImage& image, int k)
{
    if (image.IsEmpty() || image.GetMode() != IMAGE_MODE_COVERAGE)
        return false;
    ScaleAlpha(image.GetData(), 1, image.GetStride(), image.Width(), image.Height(), k);
    return true;
}

// The tile maps the per-tile work fetches into, so that it allocates nothing.
struct Tiles
{
    Tiles(int w, int h)
        : work(IMAGE_MODE_RGBA, w + 2, h + 2), spread(IMAGE_MODE_COVERAGE, w, h), mask(IMAGE_MODE_COVERAGE, w, h)
    {
    }

    // The object's pixels, the shading with its one-pixel border, or the outer shadow.
    CPixMap work;
    CPixMap spread;
    CPixMap mask;

    bool IsValid() const { return work.IsValid() && spread.IsValid() && mask.IsValid(); }
};

// The tile maps, kept from one render to the next (a set per thread), so that a render neither allocates nor
// clears them: every step fetches the pixels it reads into them first. Null when they cannot be had.
Tiles* TileMaps()
{
    thread_local std::unique_ptr<Tiles> tiles;
    if (!tiles || !tiles->IsValid())
        tiles = std::make_unique<Tiles>(kImageTileSize, kImageTileSize);
    return tiles->IsValid() ? tiles.get() : nullptr;
}

// What a render draws, in the composite's coordinates.
struct Layout
{
    Box object;                          // the bounds
    Box picture;                         // the object's image at the bounds' top-left
    Box shadow, bevel, glow;             // the effect images, where on
    const CImage* shadowImage = nullptr; // the spread images of the effects that are on
    const CImage* bevelImage = nullptr;
    const CImage* glowImage = nullptr;
};

// Draws one tile of the composite, in the order object, inner shadow, bevel, glow, outer shadow. Every step works
// pixel by pixel on what the earlier ones left, so doing all steps tile by tile gives what doing each over the
// whole image would, with each composite pixel written in place while it is in the cache. out is the composite's
// pixel at the tile's top-left, cRow the composite's row step.
bool DrawTile(const Box& tile, unsigned char* out, int cRow, const Layout& at, const CImage& image,
              const CEffectSettings& fx, Tiles& t)
{
    auto pixel = [&](int64_t x, int64_t y) {
        return out + static_cast<ptrdiff_t>(y) * cRow + static_cast<ptrdiff_t>(x) * kPixel;
    };
    // The composite starts fully transparent.
    for (int64_t y = 0; y < tile.Height(); ++y)
        std::memset(pixel(0, y), 0, static_cast<size_t>(tile.Width()) * kPixel);
    auto dst = [&](const Box& part) { return pixel(part.left - tile.left, part.top - tile.top); };
    auto objectMask = [&](const Box& part) {
        return Fetch(image, part.left - at.picture.left, part.top - at.picture.top, int(part.Width()),
                     int(part.Height()), t.mask);
    };
    const int mRow = t.mask.plane[0].rowStep, sRow = t.spread.plane[0].rowStep, wRow = t.work.plane[0].rowStep;

    Box part = Intersect(tile, at.picture);
    if (!part.Empty()) {
        const int w = int(part.Width()), h = int(part.Height());
        if (!Fetch(image, part.left - at.picture.left, part.top - at.picture.top, w, h, t.work))
            return false;
        BlendAlpha(dst(part), kPixel, cRow, t.work.plane[0].data, kPixel, wRow, w, h);
    }

    // Inner shadow: the colour turns toward the shadow's where the moved silhouette leaves the object.
    part = Intersect(tile, at.object);
    if (at.shadowImage && fx.m_shadowStyle != 0 && !part.Empty()) {
        const int w = int(part.Width()), h = int(part.Height());
        if (!Fetch(*at.shadowImage, part.left - at.shadow.left, part.top - at.shadow.top, w, h, t.spread))
            return false;
        BlendColorInverseMask(dst(part), kPixel, cRow, t.spread.plane[0].data, 1, sRow, w, h, 100 - fx.m_shadowOpacity,
                              fx.m_shadowColor.GetCOLORREF());
    }

    // A direction the Effects palette cannot set lights nothing, and draws no bevel.
    part = Intersect(tile, at.bevel);
    const bool lit = fx.m_bevelDirection == 0 || fx.m_bevelDirection == 1;
    if (at.bevelImage && lit && !part.Empty()) {
        const int w = int(part.Width()), h = int(part.Height());
        // The shading of the part, from the spread image with one pixel more on each side so that every pixel
        // has its four neighbours (zero beyond the spread image).
        if (!Fetch(*at.bevelImage, part.left - at.bevel.left - 1, part.top - at.bevel.top - 1, w + 2, h + 2, t.work))
            return false;
        const double b = fx.m_bevelAngle * std::numbers::pi / 180;
        unsigned char* shading = At(t.work, 1, 1);
        ShadeBevelTile(shading, kPixel, wRow, w, h, -std::cos(b), std::sin(b), fx.m_bevelDirection);
        if (!objectMask(part))
            return false;
        ApplyBevel(dst(part), kPixel, cRow, shading, kPixel, wRow, t.mask.plane[0].data, 1, mRow, w, h, fx.m_bevelStyle,
                   100 - fx.m_bevelStrength);
    }

    part = Intersect(tile, at.glow);
    if (at.glowImage && !part.Empty()) {
        const int w = int(part.Width()), h = int(part.Height());
        if (!Fetch(*at.glowImage, part.left - at.glow.left, part.top - at.glow.top, w, h, t.spread) ||
            !objectMask(part))
            return false;
        ApplyGlow(dst(part), kPixel, cRow, t.spread.plane[0].data, 1, sRow, t.mask.plane[0].data, 1, mRow, w, h,
                  fx.m_glowStyle, 100 - fx.m_glowStrength, fx.m_glowColor.GetCOLORREF());
    }

    // Outer shadow: everything drawn so far is laid over a tile of the shadow's colour and spread alpha.
    part = Intersect(tile, at.shadow);
    if (at.shadowImage && fx.m_shadowStyle != 1 && !part.Empty()) {
        const int w = int(part.Width()), h = int(part.Height());
        if (!Fetch(*at.shadowImage, part.left - at.shadow.left, part.top - at.shadow.top, w, h, t.work))
            return false;
        const COLORREF colour = fx.m_shadowColor.GetCOLORREF();
        const unsigned char rgb[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
        FillMapSamples(t.work, 1, rgb, 3);
        unsigned char* composite = dst(part);
        BlendAlpha(t.work.plane[0].data, kPixel, wRow, composite, kPixel, cRow, w, h);
        for (int y = 0; y < h; ++y)
            std::memcpy(composite + static_cast<ptrdiff_t>(y) * cRow, At(t.work, 0, y),
                        static_cast<size_t>(w) * kPixel);
    }
    return true;
}

bool FitsInt(const Box& b)
{
    return b.left >= INT_MIN && b.top >= INT_MIN && b.right <= INT_MAX && b.bottom <= INT_MAX && b.Width() <= INT_MAX &&
           b.Height() <= INT_MAX;
}

} // namespace

bool RefreshShadowCache(CEffectSettings& effects, const CImage& source)
{
    return RefreshCache(effects.m_shadowCache, effects.m_shadowSoftness, effects.m_shadowOpacity, effects.m_rebuild,
                        source);
}

bool RefreshBevelCache(CEffectSettings& effects, const CImage& source)
{
    return RefreshCache(effects.m_bevelCache, effects.m_bevelSoftness, effects.m_bevelStrength, effects.m_rebuild,
                        source);
}

bool RefreshGlowCache(CEffectSettings& effects, const CImage& source)
{
    return RefreshCache(effects.m_glowCache, effects.m_glowSoftness, effects.m_glowStrength, effects.m_rebuild, source);
}

bool RenderEffects(std::unique_ptr<CImage>& image, CRect& bounds, CEffectSettings& effects)
{
    if (!effects.HasEffects())
        return true;
    if (!image || image->IsEmpty() || image->GetMode() != IMAGE_MODE_RGBA || image->Width() <= 0 ||
        image->Height() <= 0)
        return false;
    const Box object{bounds.left, bounds.top, bounds.right, bounds.bottom};
    if (object.Empty())
        return false;

    const CWaitCursor wait(object.Width() > 256 || object.Height() > 256);

    // The shadow's spread image keeps its alpha scaled by the strength; it is scaled once, when it is built.
    // Until every cache is refreshed the rebuild flag stays set, so a failure here rebuilds them all next time.
    // Effects of the same softness share one blur: the first spread image built in this render (before the
    // shadow's scaling, which is why the shadow comes last) is copied for the others.
    const CImage* fresh = nullptr;
    int freshSoftness = -1;
    auto refresh = [&](EffectCache& cache, int softness, int strength) {
        const CImage* twin = softness == freshSoftness ? fresh : nullptr;
        const bool rebuilt = RefreshCache(cache, softness, strength, effects.m_rebuild, *image, twin);
        if (rebuilt && !fresh) {
            fresh = cache.m_pImage.get();
            freshSoftness = softness;
        }
        return rebuilt;
    };
    if (effects.m_bevel) {
        refresh(effects.m_bevelCache, effects.m_bevelSoftness, effects.m_bevelStrength);
        if (!effects.m_bevelCache.m_pImage)
            return false;
    }
    if (effects.m_glow) {
        refresh(effects.m_glowCache, effects.m_glowSoftness, effects.m_glowStrength);
        if (!effects.m_glowCache.m_pImage)
            return false;
    }
    if (effects.m_shadow) {
        const bool rebuilt = refresh(effects.m_shadowCache, effects.m_shadowSoftness, effects.m_shadowOpacity);
        if (!effects.m_shadowCache.m_pImage)
            return false;
        if (rebuilt) {
            const int k = static_cast<int>((1 - effects.m_shadowOpacity * 0.01) * 255);
            if (!ScaleImageAlpha(*effects.m_shadowCache.m_pImage, k)) {
                effects.m_shadowCache.Clear();
                return false;
            }
        }
    }
    effects.m_rebuild = false;

    Layout at;
    at.object = object;
    at.picture = {object.left, object.top, object.left + image->Width(), object.top + image->Height()};
    Box united = object;
    if (effects.m_shadow) {
        at.shadowImage = effects.m_shadowCache.m_pImage.get();
        at.shadow = Centred(object, at.shadowImage->Width(), at.shadowImage->Height());
        const CSize shift = detail::ShadowShift(effects.m_shadowOffset, effects.m_shadowAngle);
        at.shadow.Offset(shift.cx, shift.cy);
        united.Unite(at.shadow);
    }
    if (effects.m_bevel) {
        at.bevelImage = effects.m_bevelCache.m_pImage.get();
        at.bevel = Centred(object, at.bevelImage->Width(), at.bevelImage->Height());
        united.Unite(at.bevel);
    }
    if (effects.m_glow) {
        at.glowImage = effects.m_glowCache.m_pImage.get();
        at.glow = Centred(object, at.glowImage->Width(), at.glowImage->Height());
        united.Unite(at.glow);
    }
    if (!FitsInt(united))
        return false;

    // Everything from here on in the composite's coordinates.
    for (Box* b : {&at.object, &at.picture, &at.shadow, &at.bevel, &at.glow})
        b->Offset(-united.left, -united.top);
    const int cw = static_cast<int>(united.Width()), ch = static_cast<int>(united.Height());
    // Each tile clears its part before drawing, so the composite is drawn in place and needs no clearing first.
    auto composite = TakeImageForOverwrite(IMAGE_MODE_RGBA, cw, ch);
    const int tw = std::min(kImageTileSize, cw), th = std::min(kImageTileSize, ch);
    Tiles* tiles = TileMaps();
    if (composite->IsEmpty() || !tiles)
        return false;

    const int cRow = composite->GetStride();
    for (int64_t y = 0; y < ch; y += th) {
        for (int64_t x = 0; x < cw; x += tw) {
            const Box tile{x, y, std::min<int64_t>(x + tw, cw), std::min<int64_t>(y + th, ch)};
            unsigned char* out = composite->GetData() + static_cast<ptrdiff_t>(y) * cRow + x * kPixel;
            if (!DrawTile(tile, out, cRow, at, *image, effects, *tiles))
                return false;
        }
    }

    KeepImage(std::exchange(image, std::move(composite)));
    bounds = CRect(static_cast<int>(united.left), static_cast<int>(united.top), static_cast<int>(united.right),
                   static_cast<int>(united.bottom));
    return true;
}

namespace detail {

int RoundHalfUp(double v)
{
    // Out of the int range (or not a number) the rounding has no meaning; keep the result an int.
    if (!(v > double(INT_MIN) && v < double(INT_MAX) - 1))
        return v > 0 ? INT_MAX : (v < 0 ? INT_MIN : 0);
    const int t = static_cast<int>(v);
    return v - t >= 0.5 ? static_cast<int>(v + 1) : t;
}

CSize ShadowShift(int offset, int angleDegrees)
{
    const double a = angleDegrees * std::numbers::pi / 180;
    return CSize(RoundHalfUp(-std::cos(a) * offset), RoundHalfUp(std::sin(a) * offset));
}

} // namespace detail
