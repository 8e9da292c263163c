#include "app/render/object_effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/render/compositing.h"
#include "app/render/effect_images.h"
#include "platform/io/io.h"
#include "testing/test_output.h"

namespace {

struct Rgb
{
    unsigned char r, g, b;
};

// An opaque w x h rectangle of one colour.
std::unique_ptr<CImage> RectangleImage(int w, int h, Rgb c)
{
    auto image = std::make_unique<CImage>(IMAGE_MODE_RGBA, w, h);
    CPixMap map(IMAGE_MODE_RGBA, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned char* p = map.Sample(x, y, 0);
            p[0] = 255;
            p[1] = c.r;
            p[2] = c.g;
            p[3] = c.b;
        }
    image->SetBuf(0, 0, map);
    return image;
}

// A disc with a soft one-pixel rim, so that alphas between 0 and 255 take part.
std::unique_ptr<CImage> DiscImage(int d, Rgb c)
{
    auto image = std::make_unique<CImage>(IMAGE_MODE_RGBA, d, d);
    CPixMap map(IMAGE_MODE_RGBA, d, d);
    const double r = d / 2.0;
    for (int y = 0; y < d; ++y)
        for (int x = 0; x < d; ++x) {
            const double dist = std::hypot(x + 0.5 - r, y + 0.5 - r);
            unsigned char* p = map.Sample(x, y, 0);
            p[0] = static_cast<unsigned char>(std::clamp(r - dist, 0.0, 1.0) * 255);
            p[1] = c.r;
            p[2] = c.g;
            p[3] = c.b;
        }
    image->SetBuf(0, 0, map);
    return image;
}

// One pixel of a rendered object, addressed in page pixels.
struct EffectPixel
{
    int a, r, g, b;
};
EffectPixel At(const CImage& image, const CRect& bounds, int x, int y)
{
    const unsigned char* p = image.GetData() + static_cast<size_t>(y - bounds.top) * image.GetStride() +
                             4 * static_cast<size_t>(x - bounds.left);
    return {p[0], p[1], p[2], p[3]};
}

std::vector<unsigned char> PixelBytes(const CImage& image)
{
    return std::vector<unsigned char>(image.GetData(), image.GetData() + image.GetDataSize());
}

// --- The obvious form: every step over whole images, pixel by pixel, in the order of the steps. ---

std::vector<unsigned char> CoverageBytes(const CImage& image)
{
    std::vector<unsigned char> out(static_cast<size_t>(image.Width()) * image.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            out[static_cast<size_t>(y) * image.Width() + x] =
                image.GetData()[static_cast<size_t>(y) * image.GetStride() + x];
    return out;
}

struct Reference
{
    CRect bounds;
    std::vector<unsigned char> pixels; // rows of four-byte pixels, no padding
};

Reference ReferenceEffects(const CImage& object, CRect o, const CEffectSettings& fx)
{
    struct Layer
    {
        std::vector<unsigned char> alpha;
        int w = 0, h = 0;
        CRect rect;
        int Value(int x, int y) const // composite position relative to the layer
        {
            x -= rect.left;
            y -= rect.top;
            return x < 0 || y < 0 || x >= w || y >= h ? 0 : alpha[static_cast<size_t>(y) * w + x];
        }
    };
    auto make = [&](int softness) {
        auto spread = BuildSpreadImage(object, softness * 0.2);
        Layer l;
        l.alpha = CoverageBytes(*spread);
        l.w = spread->Width();
        l.h = spread->Height();
        l.rect.left = o.left - (l.w - o.Width()) / 2;
        l.rect.top = o.top - (l.h - o.Height()) / 2;
        l.rect.right = l.rect.left + l.w;
        l.rect.bottom = l.rect.top + l.h;
        return l;
    };
    Layer shadow, bevel, glow;
    CRect u = o;
    auto unite = [&](const CRect& r) {
        u = CRect(std::min(u.left, r.left), std::min(u.top, r.top), std::max(u.right, r.right),
                  std::max(u.bottom, r.bottom));
    };
    if (fx.m_shadow) {
        shadow = make(fx.m_shadowSoftness);
        const double a = fx.m_shadowAngle * std::numbers::pi / 180;
        auto round = [](double v) {
            const int t = static_cast<int>(v);
            return v - t < 0.5 ? t : static_cast<int>(v + 1);
        };
        shadow.rect.OffsetRect(round(-std::cos(a) * fx.m_shadowOffset), round(std::sin(a) * fx.m_shadowOffset));
        const int k = static_cast<int>((1 - fx.m_shadowOpacity * 0.01) * 255);
        for (unsigned char& v : shadow.alpha)
            ScaleAlpha(&v, 1, 1, 1, 1, k);
        unite(shadow.rect);
    }
    if (fx.m_bevel) {
        bevel = make(fx.m_bevelSoftness);
        unite(bevel.rect);
    }
    if (fx.m_glow) {
        glow = make(fx.m_glowSoftness);
        unite(glow.rect);
    }
    for (CRect* r : {&o, &shadow.rect, &bevel.rect, &glow.rect})
        r->OffsetRect(-u.left, -u.top);

    const int cw = u.Width(), ch = u.Height();
    std::vector<unsigned char> c(static_cast<size_t>(cw) * ch * 4, 0);
    auto px = [&](int x, int y) { return &c[(static_cast<size_t>(y) * cw + x) * 4]; };
    auto objectPixel = [&](int x, int y, unsigned char* out) {
        x -= o.left;
        y -= o.top;
        if (x < 0 || y < 0 || x >= object.Width() || y >= object.Height()) {
            out[0] = out[1] = out[2] = out[3] = 0;
            return;
        }
        std::copy_n(object.GetData() + static_cast<size_t>(y) * object.GetStride() + 4 * x, 4, out);
    };

    for (int y = 0; y < ch; ++y)
        for (int x = 0; x < cw; ++x) {
            unsigned char s[4];
            objectPixel(x, y, s);
            if (x >= o.left && x < o.left + object.Width() && y >= o.top && y < o.top + object.Height())
                BlendAlpha(px(x, y), 4, 4, s, 4, 4, 1, 1);
        }
    if (fx.m_shadow && fx.m_shadowStyle != 0)
        for (int y = o.top; y < o.bottom; ++y)
            for (int x = o.left; x < o.right; ++x) {
                const unsigned char m = static_cast<unsigned char>(shadow.Value(x, y));
                BlendColorInverseMask(px(x, y), 4, 4, &m, 1, 1, 1, 1, 100 - fx.m_shadowOpacity,
                                      fx.m_shadowColor.GetCOLORREF());
            }
    if (fx.m_bevel) {
        // The whole shading image with a zero border.
        const int hw = bevel.w + 2, hh = bevel.h + 2;
        std::vector<unsigned char> h(static_cast<size_t>(hw) * hh * 4, 0);
        for (int y = 0; y < bevel.h; ++y)
            for (int x = 0; x < bevel.w; ++x)
                h[(static_cast<size_t>(y + 1) * hw + x + 1) * 4] = bevel.alpha[static_cast<size_t>(y) * bevel.w + x];
        const double b = fx.m_bevelAngle * std::numbers::pi / 180;
        ShadeBevelTile(&h[(static_cast<size_t>(hw) + 1) * 4], 4, hw * 4, bevel.w, bevel.h, -std::cos(b), std::sin(b),
                       fx.m_bevelDirection);
        for (int y = bevel.rect.top; y < bevel.rect.bottom; ++y)
            for (int x = bevel.rect.left; x < bevel.rect.right; ++x) {
                unsigned char m[4];
                objectPixel(x, y, m);
                const unsigned char* shading =
                    &h[(static_cast<size_t>(y - bevel.rect.top + 1) * hw + (x - bevel.rect.left + 1)) * 4];
                ApplyBevel(px(x, y), 4, 4, shading, 4, 4, m, 4, 4, 1, 1, fx.m_bevelStyle, 100 - fx.m_bevelStrength);
            }
    }
    if (fx.m_glow)
        for (int y = glow.rect.top; y < glow.rect.bottom; ++y)
            for (int x = glow.rect.left; x < glow.rect.right; ++x) {
                unsigned char m[4];
                objectPixel(x, y, m);
                const unsigned char g = static_cast<unsigned char>(glow.Value(x, y));
                ApplyGlow(px(x, y), 4, 4, &g, 1, 1, m, 4, 4, 1, 1, fx.m_glowStyle, 100 - fx.m_glowStrength,
                          fx.m_glowColor.GetCOLORREF());
            }
    if (fx.m_shadow && fx.m_shadowStyle != 1) {
        const unsigned long colour = fx.m_shadowColor.GetCOLORREF();
        for (int y = shadow.rect.top; y < shadow.rect.bottom; ++y)
            for (int x = shadow.rect.left; x < shadow.rect.right; ++x) {
                unsigned char t[4] = {static_cast<unsigned char>(shadow.Value(x, y)),
                                      static_cast<unsigned char>(colour & 0xFF),
                                      static_cast<unsigned char>((colour >> 8) & 0xFF),
                                      static_cast<unsigned char>((colour >> 16) & 0xFF)};
                BlendAlpha(t, 4, 4, px(x, y), 4, 4, 1, 1);
                std::copy_n(t, 4, px(x, y));
            }
    }
    return {u, c};
}

void ExpectMatchesReference(const CImage& object, const CRect& bounds, const CEffectSettings& settings,
                            const std::string& what)
{
    const Reference expected = ReferenceEffects(object, bounds, settings);
    auto image = std::make_unique<CImage>(object);
    CRect rendered = bounds;
    CEffectSettings fx = settings;
    ASSERT_TRUE(RenderEffects(image, rendered, fx)) << what;
    ASSERT_EQ(rendered.left, expected.bounds.left) << what;
    ASSERT_EQ(rendered.top, expected.bounds.top) << what;
    ASSERT_EQ(rendered.right, expected.bounds.right) << what;
    ASSERT_EQ(rendered.bottom, expected.bounds.bottom) << what;
    ASSERT_EQ(image->GetMode(), IMAGE_MODE_RGBA);
    ASSERT_EQ(image->Width(), rendered.Width());
    ASSERT_EQ(image->Height(), rendered.Height());
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x)
            for (int p = 0; p < 4; ++p)
                ASSERT_EQ(image->GetData()[static_cast<size_t>(y) * image->GetStride() + 4 * x + p],
                          expected.pixels[(static_cast<size_t>(y) * image->Width() + x) * 4 + p])
                    << what << " at " << x << "," << y << " byte " << p;
}

CEffectSettings ShadowOnly(int style = 0)
{
    CEffectSettings fx;
    fx.m_shadow = true;
    fx.m_shadowStyle = style;
    return fx;
}

CEffectSettings BevelOnly(int style, int direction = 0)
{
    CEffectSettings fx;
    fx.m_bevel = true;
    fx.m_bevelStyle = style;
    fx.m_bevelDirection = direction;
    return fx;
}

CEffectSettings GlowOnly(int style)
{
    CEffectSettings fx;
    fx.m_glow = true;
    fx.m_glowStyle = style;
    return fx;
}

CEffectSettings AllOn()
{
    CEffectSettings fx;
    fx.m_shadow = fx.m_bevel = fx.m_glow = true;
    fx.m_shadowStyle = 2;
    fx.m_shadowColor = CColor(0, 0, 128);
    fx.m_bevelStyle = 2;
    fx.m_glowSoftness = 15;
    fx.m_glowStyle = 2;
    return fx;
}

const Rgb kOrange{200, 100, 50};

// Every style of every effect, alone and together, on shapes that cross tile edges, against the obvious form.
TEST(RenderEffects, MatchesWholeImageReference)
{
    struct Case
    {
        const char* name;
        CEffectSettings fx;
    };
    std::vector<Case> cases = {
        {"shadow outer", ShadowOnly(0)},
        {"shadow inner", ShadowOnly(1)},
        {"shadow both", ShadowOnly(2)},
        {"all on", AllOn()},
    };
    for (int style = 0; style <= 3; ++style)
        for (int direction = 0; direction <= 1; ++direction)
            cases.push_back({"bevel", BevelOnly(style, direction)});
    for (int style = 0; style <= 2; ++style)
        cases.push_back({"glow", GlowOnly(style)});
    CEffectSettings odd = AllOn();
    odd.m_shadowOffset = 17;
    odd.m_shadowAngle = 250;
    odd.m_shadowSoftness = 3;
    odd.m_shadowOpacity = 0;
    odd.m_bevelAngle = 40;
    odd.m_bevelSoftness = 7;
    odd.m_bevelStrength = 20;
    odd.m_glowStrength = 10;
    cases.push_back({"all on, other settings", odd});

    const auto wide = RectangleImage(300, 40, kOrange);
    const auto disc = DiscImage(37, Rgb{20, 160, 220});
    for (const Case& c : cases) {
        const std::string what = std::string(c.name) + " shadow style " + std::to_string(c.fx.m_shadowStyle) +
                                 " bevel style " + std::to_string(c.fx.m_bevelStyle) + " direction " +
                                 std::to_string(c.fx.m_bevelDirection) + " glow style " +
                                 std::to_string(c.fx.m_glowStyle);
        ExpectMatchesReference(*wide, CRect(-20, 250, 280, 290), c.fx, what + " on the wide block");
        ExpectMatchesReference(*disc, CRect(5, 7, 42, 44), c.fx, what + " on the disc");
    }
}

TEST(RenderEffects, ShadowWidensBoundsByItsPlace)
{
    // 40 x 30 at (100, 50); softness 10 gives a 52 x 42 shadow centred at (94, 44) before its shift.
    struct Case
    {
        int offset, angle;
        CRect expected;
    };
    const Case cases[] = {
        {5, 135, CRect(98, 48, 150, 90)}, // 4 right, 4 down
        {0, 135, CRect(94, 44, 146, 86)}, // centred: the shadow's rectangle alone
        {5, 315, CRect(91, 41, 143, 83)}, // 3 left, 3 up
    };
    for (const Case& c : cases) {
        auto image = RectangleImage(40, 30, kOrange);
        CRect bounds(100, 50, 140, 80);
        CEffectSettings fx = ShadowOnly();
        fx.m_shadowOffset = c.offset;
        fx.m_shadowAngle = c.angle;
        ASSERT_TRUE(RenderEffects(image, bounds, fx));
        EXPECT_EQ(bounds.left, c.expected.left) << c.angle;
        EXPECT_EQ(bounds.top, c.expected.top) << c.angle;
        EXPECT_EQ(bounds.right, c.expected.right) << c.angle;
        EXPECT_EQ(bounds.bottom, c.expected.bottom) << c.angle;
        EXPECT_EQ(image->Width(), bounds.Width());
        EXPECT_EQ(image->Height(), bounds.Height());
        // The object lies over its shadow, untouched.
        const EffectPixel inside = At(*image, bounds, 120, 65);
        EXPECT_EQ(inside.a, 255);
        EXPECT_EQ(inside.r, 200);
        EXPECT_EQ(inside.g, 100);
        EXPECT_EQ(inside.b, 50);
    }
}

TEST(RenderEffects, ShadowStylesDrawOutsideInsideOrBoth)
{
    for (int style = 0; style <= 2; ++style) {
        auto image = RectangleImage(40, 30, kOrange);
        CRect bounds(100, 50, 140, 80);
        CEffectSettings fx = ShadowOnly(style);
        ASSERT_TRUE(RenderEffects(image, bounds, fx));
        // Below and right of the object, on the moved silhouette: shadow colour at about half strength (X = 50).
        const EffectPixel below = At(*image, bounds, 136, 80);
        const EffectPixel centre = At(*image, bounds, 120, 65);
        const EffectPixel innerEdge = At(*image, bounds, 101, 51); // the moved silhouette leaves it
        if (style == 1) {
            EXPECT_EQ(below.a, 0);
        } else {
            EXPECT_GT(below.a, 100);
            EXPECT_LE(below.a, 127);
            EXPECT_EQ(below.r, 0);
        }
        EXPECT_EQ(centre.r, 200) << "the full shadow covers the middle: no inner shadow there";
        if (style == 0) {
            EXPECT_EQ(innerEdge.r, 200);
        } else {
            EXPECT_LT(innerEdge.r, 140) << "inner shadow darkens the edge facing the light";
        }
        EXPECT_EQ(innerEdge.a, 255);
    }
}

TEST(RenderEffects, BevelStylesLightTheEdges)
{
    struct Case
    {
        int style, direction;
        bool outsideDrawn;
        int insideLeftMinusRight; // sign of the red difference between the left and right inner edges
    };
    const Case cases[] = {
        {0, 0, true, 0}, {1, 0, false, 1}, {1, 1, false, -1}, {2, 0, true, 1}, {3, 0, true, 1},
    };
    for (const Case& c : cases) {
        auto image = RectangleImage(40, 30, kOrange);
        CRect bounds(100, 50, 140, 80);
        CEffectSettings fx = BevelOnly(c.style, c.direction);
        ASSERT_TRUE(RenderEffects(image, bounds, fx));
        // Softness 10: a margin of 6 on each side, centred.
        EXPECT_EQ(bounds.left, 94);
        EXPECT_EQ(bounds.top, 44);
        EXPECT_EQ(bounds.right, 146);
        EXPECT_EQ(bounds.bottom, 86);
        const EffectPixel outside = At(*image, bounds, 98, 65);
        const EffectPixel left = At(*image, bounds, 100, 65), right = At(*image, bounds, 139, 65);
        EXPECT_EQ(outside.a > 0, c.outsideDrawn) << "style " << c.style;
        EXPECT_EQ(left.a, 255);
        const int diff = left.r - right.r;
        EXPECT_EQ((diff > 0) - (diff < 0), c.insideLeftMinusRight)
            << "style " << c.style << " direction " << c.direction;
        if (c.style == 0) {
            EXPECT_EQ(left.r, 200) << "the outer bevel leaves the object's pixels";
        }
    }
}

TEST(RenderEffects, GlowStylesShineOutsideInsideOrBoth)
{
    for (int style = 0; style <= 2; ++style) {
        auto image = RectangleImage(40, 30, Rgb{0, 0, 200});
        CRect bounds(100, 50, 140, 80);
        CEffectSettings fx = GlowOnly(style);
        ASSERT_TRUE(RenderEffects(image, bounds, fx));
        // Softness 50: radius 10, margin 60.
        EXPECT_EQ(bounds.left, 70);
        EXPECT_EQ(bounds.right, 170);
        const EffectPixel outside = At(*image, bounds, 97, 65);
        const EffectPixel edge = At(*image, bounds, 100, 65);
        if (style == 1) {
            EXPECT_EQ(outside.a, 0);
        } else {
            EXPECT_GT(outside.a, 40);
            EXPECT_EQ(outside.r, 255) << "the glow's own colour where nothing else is";
            EXPECT_EQ(outside.g, 255);
            EXPECT_EQ(outside.b, 0);
        }
        if (style == 0) {
            EXPECT_EQ(edge.b, 200);
        } else {
            EXPECT_GT(edge.r, 30) << "inner glow tints the object's edge";
        }
    }
}

TEST(RenderEffects, NothingOnLeavesTheObject)
{
    auto image = RectangleImage(40, 30, kOrange);
    const CImage* before = image.get();
    CRect bounds(100, 50, 140, 80);
    CEffectSettings fx;
    EXPECT_TRUE(RenderEffects(image, bounds, fx));
    EXPECT_EQ(image.get(), before);
    EXPECT_EQ(bounds.left, 100);
    EXPECT_EQ(bounds.right, 140);
}

TEST(RefreshEffectCache, KeepsTheCacheUntilAKeyChanges)
{
    const auto source = RectangleImage(40, 30, kOrange);
    const auto other = RectangleImage(41, 30, kOrange);
    struct Case
    {
        const char* change;
        void (*apply)(CEffectSettings&);
        bool otherSource;
        bool rebuilt;
    };
    const Case cases[] = {
        {"nothing", [](CEffectSettings&) {}, false, false},
        {"rebuild flag", [](CEffectSettings& fx) { fx.m_rebuild = true; }, false, true},
        {"softness", [](CEffectSettings& fx) { fx.m_shadowSoftness = fx.m_bevelSoftness = fx.m_glowSoftness = 11; },
         false, true},
        {"strength", [](CEffectSettings& fx) { fx.m_shadowOpacity = fx.m_bevelStrength = fx.m_glowStrength = 49; },
         false, true},
        {"stored strength reset",
         [](CEffectSettings& fx) {
             fx.m_shadowCache.m_strength = fx.m_bevelCache.m_strength = fx.m_glowCache.m_strength = -1;
         },
         false, true},
        {"source size", [](CEffectSettings&) {}, true, true},
    };
    using Refresh = bool (*)(CEffectSettings&, const CImage&);
    const Refresh refreshers[] = {RefreshShadowCache, RefreshBevelCache, RefreshGlowCache};
    for (const Case& c : cases) {
        for (int e = 0; e < 3; ++e) {
            CEffectSettings fx;
            EffectCache* caches[] = {&fx.m_shadowCache, &fx.m_bevelCache, &fx.m_glowCache};
            EXPECT_TRUE(refreshers[e](fx, *source)) << "a first refresh always builds";
            fx.m_rebuild = false;
            const std::vector<unsigned char> built = PixelBytes(*caches[e]->m_pImage);
            c.apply(fx);
            EXPECT_EQ(refreshers[e](fx, c.otherSource ? *other : *source), c.rebuilt) << c.change << " effect " << e;
            const EffectCache& cache = *caches[e];
            ASSERT_TRUE(cache.m_pImage);
            EXPECT_EQ(cache.m_rect.right, cache.m_pImage->Width());
            EXPECT_EQ(cache.m_rect.bottom, cache.m_pImage->Height());
            EXPECT_EQ(cache.m_sourceWidth, c.otherSource ? 41 : 40);
            if (!c.rebuilt) {
                EXPECT_EQ(PixelBytes(*cache.m_pImage), built);
            }
        }
    }
}

// A new fill renders again over the kept spread images: nothing is blurred again and the shadow is not dimmed a
// second time; a rebuild gives the same look as the first render.
TEST(RenderEffects, RerenderReusesCachesAndScalesTheShadowOnce)
{
    CEffectSettings fx = AllOn();
    auto render = [&](Rgb colour) {
        auto image = RectangleImage(40, 30, colour);
        CRect bounds(100, 50, 140, 80);
        EXPECT_TRUE(RenderEffects(image, bounds, fx));
        EXPECT_FALSE(fx.m_rebuild);
        return PixelBytes(*image);
    };
    const std::vector<unsigned char> first = render(kOrange);
    const CImage* shadowCache = fx.m_shadowCache.m_pImage.get();
    const std::vector<unsigned char> scaled = PixelBytes(*shadowCache);

    const std::vector<unsigned char> refilled = render(Rgb{10, 200, 30});
    EXPECT_EQ(fx.m_shadowCache.m_pImage.get(), shadowCache);
    EXPECT_EQ(PixelBytes(*shadowCache), scaled) << "a kept shadow is not scaled again";
    EXPECT_NE(refilled, first);
    EXPECT_EQ(render(kOrange), first);

    fx.m_rebuild = true;
    EXPECT_EQ(render(kOrange), first);
    EXPECT_EQ(PixelBytes(*fx.m_shadowCache.m_pImage), scaled) << "a rebuilt shadow is scaled once";
    fx.m_shadowCache.m_strength = fx.m_bevelCache.m_strength = fx.m_glowCache.m_strength = -1;
    EXPECT_EQ(render(kOrange), first);
}

class CountingServices : public NullCoreServices, public NullCurrentState, public NullModelDialogs
{
public:
    void BeginWaitCursor() override
    {
        ++begins;
        if (nested) {
            // Another large object rendered while the cursor shows.
            auto image = RectangleImage(300, 10, kOrange);
            CRect bounds(0, 0, 300, 10);
            CEffectSettings fx = ShadowOnly();
            EXPECT_TRUE(RenderEffects(image, bounds, fx));
            EXPECT_EQ(detail::WaitCursorDepth(), 1);
        }
    }
    void EndWaitCursor() override { ++ends; }
    int begins = 0, ends = 0;
    bool nested = false;
};

TEST(RenderEffects, WaitCursorForLargeObjectsOnlyOnce)
{
    struct Case
    {
        int width, height;
        bool nested;
        int begins;
    };
    const Case cases[] = {{256, 256, false, 0}, {257, 10, false, 1}, {10, 257, false, 1}, {257, 10, true, 1}};
    for (const Case& c : cases) {
        CountingServices services;
        services.nested = c.nested;
        {
            const SeamsInstalled installed(services);
            auto image = RectangleImage(c.width, c.height, kOrange);
            CRect bounds(0, 0, c.width, c.height);
            CEffectSettings fx = ShadowOnly();
            EXPECT_TRUE(RenderEffects(image, bounds, fx));
        }
        EXPECT_EQ(services.begins, c.begins) << c.width << " x " << c.height;
        EXPECT_EQ(services.ends, c.begins);
        EXPECT_EQ(detail::WaitCursorDepth(), 0);
    }
}

// When the composite cannot be made the object keeps its image and bounds (and is drawn without effects); the
// caches stay right for the next render.
TEST(RenderEffects, FailsCleanlyWithoutAWorkImage)
{
    struct Case
    {
        const char* what;
        std::unique_ptr<CImage> image;
        CRect bounds;
    };
    Case cases[] = {
        {"no image", nullptr, CRect(0, 0, 40, 30)},
        {"empty image", std::make_unique<CImage>(), CRect(0, 0, 40, 30)},
        {"zero-sized image", std::make_unique<CImage>(IMAGE_MODE_RGBA, 0, 30), CRect(0, 0, 40, 30)},
        {"not RGBA", std::make_unique<CImage>(IMAGE_MODE_RGB, 40, 30), CRect(0, 0, 40, 30)},
        {"empty bounds", RectangleImage(40, 30, kOrange), CRect(10, 10, 10, 40)},
        {"composite too large", RectangleImage(40, 30, kOrange), CRect(0, 0, 1 << 30, 30)},
        {"bounds at the end of the range", RectangleImage(40, 30, kOrange), CRect(INT_MAX - 45, 0, INT_MAX - 5, 30)},
    };
    for (Case& c : cases) {
        CEffectSettings fx = AllOn();
        const CImage* before = c.image.get();
        const CRect bounds = c.bounds;
        EXPECT_FALSE(RenderEffects(c.image, c.bounds, fx)) << c.what;
        EXPECT_EQ(c.image.get(), before) << c.what;
        EXPECT_EQ(c.bounds.left, bounds.left) << c.what;
        EXPECT_EQ(c.bounds.top, bounds.top) << c.what;
        EXPECT_EQ(c.bounds.right, bounds.right) << c.what;
        EXPECT_EQ(c.bounds.bottom, bounds.bottom) << c.what;
    }

    // A spread image that cannot be built (a softness no palette sets) fails the same way, and the next render
    // still rebuilds every cache.
    CEffectSettings broken = AllOn();
    broken.m_glowSoftness = -5;
    auto kept = RectangleImage(40, 30, kOrange);
    const CImage* keptBefore = kept.get();
    CRect keptBounds(0, 0, 40, 30);
    EXPECT_FALSE(RenderEffects(kept, keptBounds, broken));
    EXPECT_EQ(kept.get(), keptBefore);
    EXPECT_EQ(keptBounds.right, 40);
    EXPECT_FALSE(broken.m_glowCache.m_pImage);
    EXPECT_TRUE(broken.m_rebuild);

    // After a failure for want of memory, a render with sane bounds looks as a first render does.
    CEffectSettings fresh = AllOn(), failed = AllOn();
    auto image = RectangleImage(40, 30, kOrange);
    CRect huge(0, 0, 1 << 30, 30);
    ASSERT_FALSE(RenderEffects(image, huge, failed));
    auto a = RectangleImage(40, 30, kOrange), b = RectangleImage(40, 30, kOrange);
    CRect ra(0, 0, 40, 30), rb(0, 0, 40, 30);
    ASSERT_TRUE(RenderEffects(a, ra, fresh));
    ASSERT_TRUE(RenderEffects(b, rb, failed));
    EXPECT_EQ(PixelBytes(*a), PixelBytes(*b));
}

TEST(ShadowShift, RoundsHalfUpOnTheGrid)
{
    using detail::RoundHalfUp;
    EXPECT_EQ(RoundHalfUp(57.5), 58);
    EXPECT_EQ(RoundHalfUp(3.54), 4);
    EXPECT_EQ(RoundHalfUp(-3.54), -3);
    EXPECT_EQ(RoundHalfUp(-3.5), -3);
    EXPECT_EQ(detail::ShadowShift(5, 135), CSize(4, 4));
    EXPECT_EQ(detail::ShadowShift(5, 315), CSize(-3, -3));
    EXPECT_EQ(detail::ShadowShift(0, 77), CSize(0, 0));
}

// Not a check: pictures of a disc with each effect, for a person to look at.
TEST(EffectPictures, WritesEachEffectAsPng)
{
    const std::filesystem::path folder = TestOutputFolder() / "effects";
    std::filesystem::create_directories(folder);
    struct Picture
    {
        const char* name;
        CEffectSettings fx;
    };
    const Picture pictures[] = {
        {"drop_shadow", ShadowOnly(0)}, {"inner_shadow", ShadowOnly(1)}, {"both_shadows", ShadowOnly(2)},
        {"bevel_outer", BevelOnly(0)},  {"bevel_inner", BevelOnly(1)},   {"bevel_emboss", BevelOnly(2)},
        {"bevel_pillow", BevelOnly(3)}, {"bevel_sunk", BevelOnly(1, 1)}, {"glow_outer", GlowOnly(0)},
        {"glow_inner", GlowOnly(1)},    {"glow_both", GlowOnly(2)},      {"all", AllOn()},
    };
    for (const Picture& p : pictures) {
        auto image = DiscImage(80, Rgb{40, 110, 220});
        CRect bounds(0, 0, 80, 80);
        CEffectSettings fx = p.fx;
        ASSERT_TRUE(RenderEffects(image, bounds, fx)) << p.name;
        EXPECT_TRUE(CIO::SavePNG((folder / (std::string(p.name) + ".png")).string(), *image)) << p.name;
    }
}

} // namespace
