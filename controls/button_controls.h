#pragma once

// Three small controls: CButtonControl, a two-state picture button (a raised frame around a clear face when not
// checked, a sunken frame around a light face when checked, each with its own glyph); CIconControl, a glyph shown
// centred that ignores the mouse; CColorControl, a framed colour swatch that opens the colour dialog when clicked.

#include "controls/owner_drawn_control.h"

#include <memory>
#include <utility>

constexpr UINT COLOR_NOTIFY_CHANGED = 4028;
constexpr UINT BUTTON_NOTIFY_CLICKED = 4031;

class CButtonControl : public COwnerDrawnControl
{
public:
    CButtonControl();
    ~CButtonControl() override = default;

    // Loads the style's glyph pair (styles 0 to 5; any other style shows the bare frames) and builds the checked
    // and unchecked pictures for the client size.
    void Init(UINT style);

    // Repaints; no notification.
    void SetCheck(bool check);
    bool GetCheck() const { return m_checked; }

    const CPixMap* Picture(bool checked) const { return checked ? m_checkedImage.get() : m_uncheckedImage.get(); }

protected:
    void Paint(wxDC& dc) override;

private:
    void OnPress(wxMouseEvent& event);

    bool m_checked = false;
    std::unique_ptr<CPixMap> m_uncheckedImage;
    std::unique_ptr<CPixMap> m_checkedImage;
};

class CIconControl : public COwnerDrawnControl
{
public:
    CIconControl() = default;
    ~CIconControl() override = default;

    // Glyph 0 to 3 and 6027 show their own bitmap, any other value a general one.
    void Init(int glyph);

    const CPixMap* Glyph() const { return m_glyph.get(); }
    CPoint Offset() const { return m_offset; }

protected:
    void Paint(wxDC& dc) override;

private:
    std::unique_ptr<CPixMap> m_glyph;
    CPoint m_offset;
};

class CColorControl : public COwnerDrawnControl
{
public:
    CColorControl();
    ~CColorControl() override = default;

    // Takes the colour when one is given, then builds the swatch for the client size.
    void Init(const CColor* color);

    // Repaints; no notification.
    void SetColor(const CColor& color);
    CColor GetColor() const { return m_color; }

    const DisplayBuffer& Swatch() const { return m_swatch; }

protected:
    // Shows the colour dialog on colorref (red in the low byte); true with the chosen colour in colorref on OK.
    virtual bool AskColor(unsigned long& colorref);
    void Paint(wxDC& dc) override;

private:
    void OnPress(wxMouseEvent& event);

    CColor m_color{0, 0, 0};
    DisplayBuffer m_swatch;
};

// Runs the colour dialog, fully opened, over parent; true with the choice in colorref on OK.
bool RunColorDialog(wxWindow* parent, unsigned long& colorref);

namespace detail {

// The headless parts of the three controls, for their tests.

// The glyph bitmaps of a button style, first (unchecked) and second (checked); {0, 0} for an unknown style.
std::pair<unsigned, unsigned> ButtonStyleBitmaps(UINT style);

// The bitmap of an icon glyph.
unsigned IconGlyphBitmap(int glyph);

// The picture of a button of width x height (RGBA): a raised frame around a clear face, or a sunken one around a
// light face when checked; the glyph (may be null) centred over the face.
std::unique_ptr<CPixMap> BuildButtonImage(int width, int height, bool checked, const CPixMap* glyph);

// Where a glyph of the given size sits in a client area: centred, but never left of or above its corner.
CPoint CentredOffset(int clientWidth, int clientHeight, int glyphWidth, int glyphHeight);

// The colour control's swatch: a sunken frame with the colour inside, width x height.
void BuildColorSwatch(DisplayBuffer& swatch, int width, int height, const CColor& color);

// The colour as the controls paint it.
ControlRgb RgbOf(const CColor& color);

} // namespace detail
