#pragma once

// CSliderControl: a horizontal slider for an integer from 0 to range - 1, with a sunken groove, an optional scale
// of three tick marks and a bitmap thumb (bitmaps 6089, colour, and 6088, shape). The whole control answers the
// mouse, not only the thumb. Notifies 2029 on every press and move of a drag and 2030 when the drag ends.

#include "controls/owner_drawn_control.h"

#include <memory>

constexpr UINT SLIDER_NOTIFY_CHANGING = 2029;
constexpr UINT SLIDER_NOTIFY_CHANGED = 2030;

class CSliderControl : public COwnerDrawnControl
{
public:
    CSliderControl() = default;
    ~CSliderControl() override = default;

    // range is kept within 2 to 65536 (above 65535 gives 65536, below 3 gives 2), value within 0 to range - 1 of
    // that kept range. The thumb sits at the top of the client area when atTop is set, else at its bottom; ticks
    // adds the scale. A thumb that is not both narrower and lower than the client area leaves the slider without a
    // thumb area: it then paints only its ground and ignores the mouse.
    void Init(int range, int value, bool atTop, bool ticks);

    int GetValue() const { return m_value; }
    int GetRange() const { return m_range; }
    // Clamps value to 0 to range - 1; with redraw repaints where the thumb was and is. No notification.
    void SetValue(int value, bool redraw);
    // Range and value by the rules of Init.
    void SetValue(int range, int value, bool redraw);

    bool HasThumbArea() const { return m_hasThumbArea; }
    // Where the thumb is drawn for the current value; empty without a thumb area.
    CRect ThumbRect() const;
    // The groove: x from its start to its end (exclusive), four rows from its top.
    int GrooveStart() const { return m_grooveStart; }
    int GrooveEnd() const { return m_grooveEnd; }
    int GrooveTop() const { return m_thumbArea.top + 4; }

protected:
    bool PressStartsDrag(const CPoint& point) override;
    void DragStarted(const CPoint& point) override;
    void DragMoved(const CPoint& point) override;
    void DragEnded(const CPoint& point, bool captureLost) override;
    void Paint(wxDC& dc) override;

private:
    void SetValueFromX(int x);
    void RefreshThumbs(const CRect& before);

    int m_range = 2;
    int m_value = 0;
    bool m_ticks = false;
    bool m_hasThumbArea = false;
    CRect m_thumbArea;
    int m_grooveStart = 0;
    int m_grooveEnd = 0;
    std::unique_ptr<CPixMap> m_thumb;
    DisplayBuffer m_groove;
};

namespace detail {

// The headless rules of the slider, for its tests.

int ClampSliderRange(int range);
int ClampSliderValue(int value, int range);

// The value for mouse x over a groove from start to end (exclusive): x kept within start to end - 1, then spread
// over 0 to range - 1. A groove of one pixel or none gives 0.
int SliderValueAt(int x, int grooveStart, int grooveEnd, int range);

// The thumb's left edge for value on an area from left to right.
int SliderThumbLeft(int value, int range, int areaLeft, int areaRight, int thumbWidth);

// The sunken groove, length x 4 pixels: light edges at the bottom and right, dark ones at the top and left.
void DrawSliderGroove(DisplayBuffer& groove, int length);

} // namespace detail
