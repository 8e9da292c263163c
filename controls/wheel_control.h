#pragma once

// CWheelControl: a round dial for an angle. A thin ring with a dot at its centre and a one-pixel line from the
// centre to the ring that points at the current value; dragging turns it. Notifies 4025 on every change during a
// drag and 4026 when the drag ends.
//
// The value the owner sees and the stored position run in opposite directions: position 0 points to the right and
// growing positions turn clockwise on the screen, so growing values turn counter-clockwise, as angles do.

#include "controls/owner_drawn_control.h"

#include <memory>

constexpr UINT WHEEL_NOTIFY_CHANGING = 4025;
constexpr UINT WHEEL_NOTIFY_CHANGED = 4026;

class CWheelControl : public COwnerDrawnControl
{
public:
    CWheelControl() = default;
    ~CWheelControl() override = default;

    // range: positions in a full turn; position: stored as given; ringWidth: how much smaller the ring's inner
    // circle is than its outer one; the fourth argument has no effect. A range below 1 counts as 1. Builds the ring
    // for the client size: a circle of the smaller of width and height, one less when that is even, so that the
    // ring has a centre pixel.
    void Init(int range, int position, int ringWidth, int unused);

    // (range - position) wrapped into 0 to range - 1.
    int WheelGetValue() const;
    // Stores position range - (value wrapped into 0 to range - 1) and repaints; no notification.
    void WheelSetValue(int value);

    // The position nearest the angle of point about the centre of the client area (0 to range - 1; half-way goes
    // to the upper one, and the upper one of the last position is 0).
    int CalculateNewValue(const CPoint& point) const;

    int GetPosition() const { return m_position; }
    int GetDiameter() const { return m_diameter; }

protected:
    bool PressStartsDrag(const CPoint& point) override;
    void DragStarted(const CPoint& point) override;
    void DragMoved(const CPoint& point) override;
    void DragEnded(const CPoint& point, bool captureLost) override;
    void Paint(wxDC& dc) override;

private:
    int m_range = 1;
    int m_position = 0;
    int m_ringWidth = 0;
    int m_unused = 0;
    int m_diameter = 0;
    std::unique_ptr<CPixMap> m_ring;
    std::unique_ptr<CPixMap> m_canvas;
    std::unique_ptr<CPixMap> m_pointer;
};

namespace detail {

// The headless parts of the wheel, for its tests.

// x wrapped into 0 to range - 1 (range at least 1).
int WrapWheel(int x, int range);

// The position for the angle of (x, y) about (cx, cy).
int WheelPositionAt(int x, int y, int cx, int cy, int range);

// Whether a press at (x, y) lies on the wheel: whole pixels from the centre at most half the client width.
bool WheelHit(int x, int y, int cx, int cy, int clientWidth);

// The ring and centre dot of a wheel of diameter d into the alpha bytes of ring (d x d, RGBA), colour black.
void DrawWheelRing(CPixMap& ring, int d, int ringWidth);

// The pointer for position into the alpha bytes of mask (d x d, RGBA), colour black.
void DrawWheelPointer(CPixMap& mask, int d, int position, int range);

// The wheel's picture: ring and pointer over a clear canvas (all d x d, RGBA).
void ComposeWheel(CPixMap& canvas, const CPixMap& ring, const CPixMap& pointer);

} // namespace detail
