#include "platform/text/font.h"

#include "image/image.h"
#include "platform/text/codepage.h"
#include "platform/text/face_list.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <atomic>
#include <climits>
#include <map>
#include <mutex>
#include <new>
#include <tuple>
#include <unordered_map>

namespace {

// Larger sizes are drawn at this size; a glyph bitmap stays within a few megabytes.
constexpr int64_t kMaxPixelSize = 4096;
constexpr int kDefaultPixelSize = 16;
// Fonts kept beyond those callers still hold; more than a page of text uses.
constexpr size_t kCacheLimit = 256;
// Rendered glyphs kept for reuse, over all fonts alive: a page's fonts at text sizes need well under a megabyte.
constexpr size_t kDefaultGlyphCacheLimit = size_t(32) << 20;
// What keeping one glyph costs beside its pixels.
constexpr size_t kGlyphOverhead = 64;

using FontKey = std::tuple<std::string, LONG, bool, bool, bool>;

// FreeType wants face creation and destruction serialised per library. The cache lock is always taken before the
// library lock. Kept for the whole run and never torn down, so that fonts outliving static destruction are safe.
struct FontSystem
{
    std::mutex cacheMutex;
    std::map<FontKey, std::shared_ptr<const TextFont>> cache;
    std::mutex libraryMutex;
    FT_Library library = nullptr;
    // Bytes of rendered glyphs held by all fonts, and how many they may hold.
    std::atomic<size_t> glyphBytes{0};
    std::atomic<size_t> glyphLimit{kDefaultGlyphCacheLimit};
};

FontSystem& System()
{
    static FontSystem* system = [] {
        auto* s = new FontSystem;
        if (FT_Init_FreeType(&s->library) != 0)
            s->library = nullptr;
        return s;
    }();
    return *system;
}

// Half-up rounding of num / den for non-negative values.
int64_t RoundDiv(int64_t num, int64_t den)
{
    return (2 * num + den) / (2 * den);
}

} // namespace

namespace {

// One glyph as drawn at a whole-pixel origin: its outline's box (after slant and emboldening) and, when it has
// ink, its coverage, rows width bytes apart, placed relative to the origin and baseline.
struct RenderedGlyph
{
    FT_BBox box{};
    bool hasInk = false;
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    std::unique_ptr<unsigned char[]> pixels;

    size_t Bytes() const { return static_cast<size_t>(width) * static_cast<size_t>(rows) + kGlyphOverhead; }
};

} // namespace

struct TextFont::Face
{
    Face() = default;
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
    ~Face()
    {
        size_t bytes = 0;
        for (const auto& entry : glyphs)
            bytes += entry.second.Bytes();
        System().glyphBytes.fetch_sub(bytes);
        if (face) {
            std::lock_guard lock(System().libraryMutex);
            FT_Done_Face(face);
        }
    }

    // Loads a glyph's outline into the slot, leant and widened as the face needs: its box in box. False when the
    // glyph has no outline to draw.
    bool LoadOutline(FT_UInt index, FT_BBox& box);
    // Renders the outline in the slot into glyph (without ink when it covers nothing); false when it fails.
    bool RenderLoaded(RenderedGlyph& glyph);

    FT_Face face = nullptr;
    int64_t unitsPerEm = 0;
    int ppem = 0;
    int emboldenPixels = 0; // widening of a bold drawn from a regular face
    bool slant = false;     // italic drawn by shearing an upright face
    FT_UInt glyph[256] = {};
    // A FreeType face serves one thread at a time: drawing loads glyphs into the face's one slot. The lock also
    // guards the map of rendered glyphs (not a kept glyph's pixels, which never change).
    std::mutex drawing;
    // Rendering the same glyph gives the same coverage wherever it is drawn, since origins are whole pixels: each
    // is rendered once. At most one entry per glyph the 256 bytes map to.
    std::unordered_map<FT_UInt, RenderedGlyph> glyphs;
};

bool TextFont::Face::LoadOutline(FT_UInt index, FT_BBox& box)
{
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0)
        return false;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE)
        return false;
    if (slant) {
        // The desktop platform's synthetic italic leans by about 12 degrees.
        FT_Matrix shear = {0x10000, 0x0366A, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
    }
    if (emboldenPixels > 0)
        FT_Outline_EmboldenXY(&slot->outline, emboldenPixels * 64, 0);
    FT_Outline_Get_CBox(&slot->outline, &box);
    return true;
}

bool TextFont::Face::RenderLoaded(RenderedGlyph& glyph)
{
    FT_GlyphSlot slot = face->glyph;
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return false;
    const FT_Bitmap& bitmap = slot->bitmap;
    // A space renders to nothing, and so does a bitmap of a kind drawing cannot take.
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.pitch < 0 || !bitmap.buffer || bitmap.width == 0 ||
        bitmap.rows == 0)
        return true;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.pixels.reset(new (std::nothrow) unsigned char[static_cast<size_t>(glyph.width) * glyph.rows]);
    if (!glyph.pixels)
        return false;
    for (int r = 0; r < glyph.rows; ++r)
        std::copy_n(bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch, glyph.width,
                    glyph.pixels.get() + static_cast<ptrdiff_t>(r) * glyph.width);
    glyph.hasInk = true;
    return true;
}

// Where glyph coverage goes. Coordinates passed in are always inside the target.
class detail::GlyphPainter
{
public:
    virtual ~GlyphPainter() = default;
    virtual void Blend(int x, int y, unsigned coverage) = 0;
    // Blends count coverage values from (x, y) rightwards, each as Blend would.
    virtual void BlendRow(int x, int y, const unsigned char* coverage, int count) = 0;
    int width = 0;
    int height = 0;
};

namespace {

class CoveragePainter final : public detail::GlyphPainter
{
public:
    explicit CoveragePainter(const CoverageBuffer& target) : m_target(target)
    {
        width = target.width;
        height = target.height;
    }
    void Blend(int x, int y, unsigned coverage) override { BlendOne(m_target.data[Offset(x, y)], coverage); }
    void BlendRow(int x, int y, const unsigned char* coverage, int count) override
    {
        unsigned char* d = m_target.data + Offset(x, y);
        for (int i = 0; i < count; ++i) {
            if (coverage[i] != 0)
                BlendOne(d[i], coverage[i]);
        }
    }

private:
    ptrdiff_t Offset(int x, int y) const { return static_cast<ptrdiff_t>(y) * m_target.stride + x; }
    static void BlendOne(unsigned char& d, unsigned coverage)
    {
        d = static_cast<unsigned char>(d + (coverage * (255u - d) + 127) / 255);
    }

    CoverageBuffer m_target;
};

class PixMapPainter final : public detail::GlyphPainter
{
public:
    PixMapPainter(CPixMap& target, COLORREF colour) : m_target(target)
    {
        width = target.width;
        height = target.height;
        m_colour[0] = GetRValue(colour);
        m_colour[1] = GetGValue(colour);
        m_colour[2] = GetBValue(colour);
        m_hasAlpha = target.mode == IMAGE_MODE_RGBA;
    }
    void BlendRow(int x, int y, const unsigned char* coverage, int count) override
    {
        const int planes = m_hasAlpha ? 4 : 3;
        unsigned char* at[4] = {};
        ptrdiff_t step[4] = {};
        for (int p = 0; p < planes; ++p) {
            at[p] = m_target.Sample(x, y, p);
            step[p] = (m_target.interleaved ? m_target.plane[0] : m_target.plane[p]).pixelStep;
        }
        for (int i = 0; i < count; ++i) {
            if (coverage[i] != 0)
                BlendAt(at, coverage[i]);
            for (int p = 0; p < planes; ++p)
                at[p] += step[p];
        }
    }
    void Blend(int x, int y, unsigned a) override
    {
        unsigned char* at[4] = {};
        for (int p = 0; p < (m_hasAlpha ? 4 : 3); ++p)
            at[p] = m_target.Sample(x, y, p);
        BlendAt(at, a);
    }

    static bool Accepts(const CPixMap& map)
    {
        if (map.width <= 0 || map.height <= 0 || map.bitsPerPlane != 8)
            return false;
        if (map.mode != IMAGE_MODE_RGB && map.mode != IMAGE_MODE_RGBA)
            return false;
        int planes = map.mode == IMAGE_MODE_RGBA ? 4 : 3;
        if (map.interleaved)
            return map.plane[0].data != nullptr;
        for (int p = 0; p < planes; ++p) {
            if (map.plane[p].data == nullptr)
                return false;
        }
        return true;
    }

private:
    // at holds the pixel's samples in the map's plane order: red, green, blue, or alpha first.
    void BlendAt(unsigned char* const at[4], unsigned a) const
    {
        if (!m_hasAlpha) {
            for (int p = 0; p < 3; ++p) {
                unsigned char* c = at[p];
                *c = static_cast<unsigned char>((*c * (255u - a) + m_colour[p] * a + 127) / 255);
            }
            return;
        }
        // Straight (not premultiplied) colour: the ink goes over what the pixel already shows.
        unsigned char* alpha = at[0];
        unsigned below = *alpha * (255u - a); // scaled by 255 * 255
        unsigned total = a * 255u + below;    // scaled by 255 * 255
        if (total == 0)
            return;
        for (int p = 0; p < 3; ++p) {
            unsigned char* c = at[p + 1];
            *c = static_cast<unsigned char>((m_colour[p] * a * 255u + *c * below + total / 2) / total);
        }
        *alpha = static_cast<unsigned char>((total + 127) / 255);
    }

    CPixMap& m_target;
    unsigned m_colour[3];
    bool m_hasAlpha;
};

bool AcceptsCoverage(const CoverageBuffer& target)
{
    return target.data != nullptr && target.width > 0 && target.height > 0 && target.stride >= target.width;
}

} // namespace

TextFont::TextFont(const LOGFONT& logFont) : m_logFont(logFont)
{
    const bool bold = logFont.lfWeight >= 600;
    const bool italic = logFont.lfItalic != 0;
    FontSystem& system = System();
    auto open = [&system](const MatchedFace& match) {
        FT_Face face = nullptr;
        std::lock_guard lock(system.libraryMutex);
        if (!system.library || match.file.empty() ||
            FT_New_Face(system.library, match.file.c_str(), match.index, &face) != 0)
            return FT_Face(nullptr);
        return face;
    };
    MatchedFace match = MatchFace(logFont.lfFaceName, bold ? 700 : 400, italic);
    FT_Face ft = open(match);
    // A face that matches nothing or whose file cannot be read (damaged, removed since) gives way to the default.
    if (!ft) {
        match = MatchFace("sans-serif", bold ? 700 : 400, italic);
        ft = open(match);
    }
    if (!ft)
        return;
    m_family = match.family;
    m_face = std::make_unique<Face>();
    m_face->face = ft;
    if (!FT_IS_SCALABLE(ft) || ft->units_per_EM == 0) {
        m_face.reset();
        return;
    }

    // A symbol font has no Unicode map; its characters sit at 0xF000 plus the byte.
    bool symbolMap = false;
    if (!ft->charmap && FT_Select_Charmap(ft, FT_ENCODING_MS_SYMBOL) == 0)
        symbolMap = true;

    // The cell is the face's Windows ascent and descent, as the desktop platform measures it, so that line
    // heights agree with the metric-compatible originals.
    int64_t upem = ft->units_per_EM;
    int64_t ascender = ft->ascender;
    int64_t descender = -static_cast<int64_t>(ft->descender);
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
        os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascender = os2->usWinAscent;
        descender = os2->usWinDescent;
    }
    if (ascender < 0)
        ascender = 0;
    if (descender < 0)
        descender = 0;
    if (ascender + descender == 0) {
        ascender = upem * 4 / 5;
        descender = upem - ascender;
    }

    int64_t height = logFont.lfHeight;
    int64_t ppem;
    if (height > 0) {
        height = std::min(height, kMaxPixelSize);
        ppem = RoundDiv(height * upem, ascender + descender);
        m_metrics.tmAscent = static_cast<LONG>(RoundDiv(ascender * height, ascender + descender));
        m_metrics.tmDescent = static_cast<LONG>(height - m_metrics.tmAscent);
    } else {
        // Rounding the cell as a whole keeps it within half a pixel of the face's true line height.
        ppem = height == 0 ? kDefaultPixelSize : std::min(-height, kMaxPixelSize);
        int64_t cell = RoundDiv((ascender + descender) * ppem, upem);
        m_metrics.tmAscent = static_cast<LONG>(RoundDiv(ascender * ppem, upem));
        m_metrics.tmDescent = static_cast<LONG>(cell - m_metrics.tmAscent);
    }
    ppem = std::clamp<int64_t>(ppem, 1, kMaxPixelSize);
    m_metrics.tmHeight = m_metrics.tmAscent + m_metrics.tmDescent;
    m_metrics.tmInternalLeading = std::max<LONG>(0, m_metrics.tmHeight - static_cast<LONG>(ppem));

    m_face->unitsPerEm = upem;
    m_face->ppem = static_cast<int>(ppem);
    m_face->slant = match.needsSlant;
    m_face->emboldenPixels = match.needsEmbolden ? std::max<int>(1, static_cast<int>(RoundDiv(ppem, 24))) : 0;
    if (FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(ppem)) != 0) {
        m_metrics = TEXTMETRIC();
        m_face.reset();
        return;
    }

    // Advances come from the design widths, not from hinted outlines: hinting differs between FreeType versions
    // and settings, and layout must not.
    for (int ch = 0; ch < 256; ++ch) {
        char32_t cp = Windows1252ToUnicode(static_cast<unsigned char>(ch));
        FT_UInt glyph = FT_Get_Char_Index(ft, symbolMap ? 0xF000 + static_cast<FT_ULong>(ch) : cp);
        m_face->glyph[ch] = glyph;
        FT_Fixed advance = 0;
        if (FT_Get_Advance(ft, glyph, FT_LOAD_NO_SCALE, &advance) != 0 || advance < 0)
            advance = 0;
        m_advance[ch] = static_cast<int>(RoundDiv(advance * ppem, upem)) + m_face->emboldenPixels;
    }

    // The underline sits where the face says, centred on its position, at least a pixel thick and below the
    // baseline.
    int64_t thickness = ft->underline_thickness > 0 ? RoundDiv(ft->underline_thickness * ppem, upem) : ppem / 14;
    m_underlineThickness = static_cast<int>(std::max<int64_t>(1, thickness));
    int64_t centre = ft->underline_position < 0 ? RoundDiv(-static_cast<int64_t>(ft->underline_position) * ppem, upem)
                                                : m_metrics.tmDescent / 2;
    m_underlineTop = static_cast<int>(std::max<int64_t>(1, centre - m_underlineThickness / 2));
}

TextFont::~TextFont() = default;

CSize TextFont::GetTextExtent(std::string_view text) const
{
    int64_t width = 0;
    for (char c : text)
        width += m_advance[static_cast<unsigned char>(c)];
    return CSize(static_cast<int>(std::min<int64_t>(width, INT_MAX)), m_metrics.tmHeight);
}

void TextFont::Draw(detail::GlyphPainter& painter, int x, int baseline, std::string_view text) const
{
    if (!m_face)
        return;
    FontSystem& system = System();
    const size_t limit = system.glyphLimit.load(std::memory_order_relaxed);
    // Skips glyphs that land wholly outside the target.
    const auto outside = [&painter, baseline](int64_t origin, const FT_BBox& box) {
        return origin + (box.xMax + 63) / 64 < 0 || origin + box.xMin / 64 - 1 >= painter.width ||
               baseline - (box.yMax + 63) / 64 >= painter.height || baseline - box.yMin / 64 + 1 < 0;
    };
    RenderedGlyph unkept;
    int64_t pen = x;
    for (char c : text) {
        auto ch = static_cast<unsigned char>(c);
        int64_t origin = pen;
        pen += m_advance[ch];
        const FT_UInt index = m_face->glyph[ch];

        // The face's lock covers finding and rendering a glyph only: a kept glyph never changes and stays until
        // its face goes, so its coverage blends unlocked and texts of one font draw on many threads at once.
        const RenderedGlyph* glyph = nullptr;
        std::unique_lock lock(m_face->drawing);
        if (auto found = limit > 0 ? m_face->glyphs.find(index) : m_face->glyphs.end();
            found != m_face->glyphs.end()) {
            glyph = &found->second;
            lock.unlock();
            if (outside(origin, glyph->box))
                continue;
        } else {
            FT_BBox box;
            if (!m_face->LoadOutline(index, box))
                continue;
            // A glyph kept is rendered even where it is not seen now, as a band beside this one will want it.
            const int64_t estimate = ((box.xMax + 63) / 64 - box.xMin / 64 + 2) * ((box.yMax + 63) / 64 - box.yMin / 64 + 2);
            const bool keep = limit > 0 && estimate >= 0 &&
                              static_cast<uint64_t>(estimate) + kGlyphOverhead <= limit / 16;
            if (!keep && outside(origin, box))
                continue;
            RenderedGlyph rendered;
            rendered.box = box;
            if (!m_face->RenderLoaded(rendered))
                continue;
            const size_t bytes = rendered.Bytes();
            if (keep && system.glyphBytes.fetch_add(bytes) + bytes <= limit) {
                glyph = &m_face->glyphs.emplace(index, std::move(rendered)).first->second;
            } else {
                if (keep)
                    system.glyphBytes.fetch_sub(bytes);
                unkept = std::move(rendered);
                glyph = &unkept;
            }
            lock.unlock();
            if (outside(origin, glyph->box))
                continue;
        }
        if (!glyph->hasInk)
            continue;

        int64_t left = origin + glyph->left;
        int64_t top = static_cast<int64_t>(baseline) - glyph->top;
        int64_t rowFrom = std::max<int64_t>(0, -top);
        int64_t rowTo = std::min<int64_t>(glyph->rows, painter.height - top);
        int64_t colFrom = std::max<int64_t>(0, -left);
        int64_t colTo = std::min<int64_t>(glyph->width, painter.width - left);
        if (colFrom >= colTo)
            continue;
        for (int64_t r = rowFrom; r < rowTo; ++r) {
            const unsigned char* row = glyph->pixels.get() + r * glyph->width;
            painter.BlendRow(static_cast<int>(left + colFrom), static_cast<int>(top + r), row + colFrom,
                             static_cast<int>(colTo - colFrom));
        }
    }

    if (m_logFont.lfUnderline) {
        int64_t top = static_cast<int64_t>(baseline) + m_underlineTop;
        int64_t yFrom = std::max<int64_t>(0, top);
        int64_t yTo = std::min<int64_t>(painter.height, top + m_underlineThickness);
        int64_t xFrom = std::max<int64_t>(0, x);
        int64_t xTo = std::min<int64_t>(painter.width, pen);
        for (int64_t py = yFrom; py < yTo; ++py) {
            for (int64_t px = xFrom; px < xTo; ++px)
                painter.Blend(static_cast<int>(px), static_cast<int>(py), 255);
        }
    }
}

bool TextFont::DrawChar(const CoverageBuffer& target, int x, int y, unsigned char ch) const
{
    if (!AcceptsCoverage(target))
        return false;
    CoveragePainter painter(target);
    char c = static_cast<char>(ch);
    Draw(painter, x, y, std::string_view(&c, 1));
    return true;
}

bool TextFont::DrawChar(CPixMap& target, int x, int y, unsigned char ch, COLORREF colour) const
{
    if (!PixMapPainter::Accepts(target))
        return false;
    PixMapPainter painter(target, colour);
    char c = static_cast<char>(ch);
    Draw(painter, x, y, std::string_view(&c, 1));
    return true;
}

bool TextFont::DrawString(const CoverageBuffer& target, int left, int top, std::string_view text) const
{
    if (!AcceptsCoverage(target))
        return false;
    CoveragePainter painter(target);
    Draw(painter, left, static_cast<int>(std::clamp<int64_t>(int64_t(top) + m_metrics.tmAscent, INT_MIN, INT_MAX)),
         text);
    return true;
}

bool TextFont::DrawString(CPixMap& target, int left, int top, std::string_view text, COLORREF colour) const
{
    if (!PixMapPainter::Accepts(target))
        return false;
    PixMapPainter painter(target, colour);
    Draw(painter, left, static_cast<int>(std::clamp<int64_t>(int64_t(top) + m_metrics.tmAscent, INT_MIN, INT_MAX)),
         text);
    return true;
}

std::shared_ptr<const TextFont> GetTextFont(const LOGFONT& logFont)
{
    FontSystem& system = System();
    FontKey key(logFont.lfFaceName, logFont.lfHeight, logFont.lfWeight >= 600, logFont.lfItalic != 0,
                logFont.lfUnderline != 0);
    std::lock_guard lock(system.cacheMutex);
    if (auto found = system.cache.find(key); found != system.cache.end())
        return found->second;
    if (system.cache.size() >= kCacheLimit)
        system.cache.clear();
    std::shared_ptr<const TextFont> font(new TextFont(logFont));
    system.cache.emplace(std::move(key), font);
    return font;
}

size_t SetGlyphCacheLimit(size_t bytes)
{
    return System().glyphLimit.exchange(bytes);
}
