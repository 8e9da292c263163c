#pragma once

// Fonts, text metrics and glyph drawing for the program's single-byte (Windows-1252) text, at a fixed 96 dots per
// inch. Advances are whole pixels taken from the font's design widths, so a text lays out the same on every
// machine that has the same fonts, whatever the rasteriser's version or hinting.

#include "platform/win/win_types.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

class CPixMap;

namespace detail {
// Takes the coverage of drawn glyphs into a target; defined with the drawing code.
class GlyphPainter;
} // namespace detail

// What a font is made from.
struct LOGFONT
{
    // Pixels: negative selects the character (em) height, positive the cell height (ascent + descent), 0 the
    // default of 16 pixels character height (12 points).
    LONG lfHeight = 0;
    // 400 normal, 700 bold; 600 and above is drawn bold.
    LONG lfWeight = 400;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    // Kept for callers that carry them; the face is chosen by name and style alone.
    BYTE lfCharSet = 0;
    BYTE lfQuality = 0;
    // Windows-1252 bytes, e.g. "Arial".
    std::string lfFaceName;
};

// Vertical metrics of a font in pixels. tmHeight = tmAscent + tmDescent is the cell height; tmInternalLeading is
// the part of it above the character (em) height, where accents sit.
struct TEXTMETRIC
{
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
};

// An 8-bit coverage plane on the caller's side: 0 no ink, 255 full ink; rows stride bytes apart.
struct CoverageBuffer
{
    unsigned char* data = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;
};

// A font at one size and style, ready to measure and draw. Made by GetTextFont, which shares equal fonts. Any thread
// may measure and draw with it; threads drawing with one font take turns only to render a glyph not drawn before.
class TextFont
{
public:
    ~TextFont();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    const LOGFONT& GetLogFont() const { return m_logFont; }
    const TEXTMETRIC& GetTextMetrics() const { return m_metrics; }
    // The family that draws the face name, as fontconfig names it (UTF-8): "Liberation Sans" for "Arial".
    const std::string& GetDrawnFamily() const { return m_family; }
    // False when no font file could be opened at all; such a font measures and draws nothing.
    bool IsValid() const { return m_face != nullptr; }

    // The advance of one character in whole pixels.
    int GetCharAdvance(unsigned char ch) const { return m_advance[ch]; }
    // (advance, cell height) of one character, and of a string (the advances summed; no kerning).
    CSize GetCharExtent(unsigned char ch) const { return CSize(m_advance[ch], m_metrics.tmHeight); }
    CSize GetTextExtent(std::string_view text) const;

    // Draw one character with its left edge at x and its baseline at y, or a string whose extent box starts at
    // (left, top). Coverage targets take the ink over what is there (a + b - a * b); RGB and RGBA pixel maps
    // (modes 3 and 0x80000003, 8 bits per sample) get the colour blended over by coverage. Nothing is written
    // outside the target. False, with nothing drawn, for a target without pixels or of another mode.
    bool DrawChar(const CoverageBuffer& target, int x, int y, unsigned char ch) const;
    bool DrawChar(CPixMap& target, int x, int y, unsigned char ch, COLORREF colour) const;
    bool DrawString(const CoverageBuffer& target, int left, int top, std::string_view text) const;
    bool DrawString(CPixMap& target, int left, int top, std::string_view text, COLORREF colour) const;

private:
    friend std::shared_ptr<const TextFont> GetTextFont(const LOGFONT& logFont);
    struct Face;

    explicit TextFont(const LOGFONT& logFont);
    void Draw(detail::GlyphPainter& painter, int x, int baseline, std::string_view text) const;

    LOGFONT m_logFont;
    std::string m_family;
    std::unique_ptr<Face> m_face;
    TEXTMETRIC m_metrics;
    int m_advance[256] = {};
    int m_underlineTop = 0; // below the baseline
    int m_underlineThickness = 0;
};

// The font for a description, made on first use and kept while it is asked for. Never null: when nothing can be
// opened the font is not valid and draws nothing.
std::shared_ptr<const TextFont> GetTextFont(const LOGFONT& logFont);

// Rendered glyphs are kept for reuse by every font, within this many bytes over all fonts alive; the previous limit
// is returned. 0 keeps no more and renders every glyph afresh where it is drawn (the pixels are the same either way).
size_t SetGlyphCacheLimit(size_t bytes);
