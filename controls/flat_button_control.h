#pragma once

// CFlatButtonControl: a borderless picture button. It shows a raised edge while the mouse is over it and a sunken
// one while it is pressed with the mouse over it, no edge otherwise; a press released over it notifies 4032. It
// is disabled until the owner enables it.

#include "controls/owner_drawn_control.h"

#include <memory>
#include <string>

constexpr UINT FLAT_BUTTON_NOTIFY_CLICKED = 4032;

class CFlatButtonControl : public COwnerDrawnControl
{
public:
    CFlatButtonControl();
    ~CFlatButtonControl() override = default;

    // Copies both pictures (RGBA maps; either may be null) and the caption, which is kept and not drawn, and makes
    // the window.
    bool Create(const CRect& rect, wxWindow* parent, UINT id, const CPixMap* enabledPicture,
                const CPixMap* disabledPicture, const std::string& caption);

    // Sets the flag and repaints.
    bool Enable(bool enable = true) override;
    bool GetEnable() const { return IsEnabledFlag(); }
    const std::string& GetCaption() const { return m_caption; }
    bool IsPressed() const { return m_pressed; }

    // For an owner that learns the mouse may have left: repaints when being over the button changed since the
    // last paint.
    void NotifyMouseMove();

protected:
    bool PressStartsDrag(const CPoint& point) override;
    void DragStarted(const CPoint& point) override;
    void DragEnded(const CPoint& point, bool captureLost) override;
    void Paint(wxDC& dc) override;

private:
    using COwnerDrawnControl::Create;
    bool MouseInside() const;
    void OnMove(wxMouseEvent& event);

    std::unique_ptr<CPixMap> m_enabledPicture;
    std::unique_ptr<CPixMap> m_disabledPicture;
    std::string m_caption;
    bool m_pressed = false;
    bool m_insideAtPaint = false;
};

namespace detail {

enum class FlatEdge
{
    None,
    Raised,
    Sunken,
};

// The edge for the button's state.
FlatEdge FlatButtonEdge(bool pressed, bool inside);

// The button's picture, width x height (RGBA, clear where nothing is drawn): the edge (one pixel; raised: white top
// and left, grey bottom and right; sunken the other way round), then the picture (may be null) centred, every
// pixel with any alpha set opaque in its colour.
std::unique_ptr<CPixMap> DrawFlatButton(int width, int height, FlatEdge edge, const CPixMap* picture);

} // namespace detail
