#pragma once

// The mouse tools of the design view, apart from the window: a press, the moves while the button is held and the
// release, turned into edits of one page according to the tools bar's tool. Selecting, moving (past a threshold,
// snapping to the guides), resizing and turning objects and user groups by their handles, the rubber band, the
// bands and clicks that make new objects, the text tool's band, dragging guides and the eyedropper. Every edit
// records its undo step with the page's undo manager before it changes anything, and tells the palettes.
// The window that shows the page feeds it page points and hears back through MouseToolHost what to repaint,
// when to hold the mouse and what to show.

#include <string>

#include "app/docview/mouse_gestures.h"
#include "app/docview/view_gestures.h"
#include "image/image.h"
#include "platform/win/win_types.h"

class CSitePage;

// What the tools ask of the window they run in.
class MouseToolHost
{
public:
    virtual ~MouseToolHost() = default;
    virtual void HoldMouse() = 0;
    virtual void LetMouseGo() = 0;
    // Repaints a rectangle of the page (page coordinates, as it stands), erasing first when asked.
    virtual void InvalidatePageRect(const CRect& rect, bool erase) = 0;
    virtual void InvalidateAll(bool erase) = 0;
    // The visible part of the page and the size of the window, for scrolling along with a drag.
    virtual CRect GetVisiblePageRect() const = 0;
    virtual CSize GetClientExtent() const = 0;
    // Scrolls to a page position and puts the pointer at a point of the window (where the system allows it).
    virtual void ScrollTo(const CPoint& scroll, const CPoint& pointer) = 0;
    // The message pane of the status bar.
    virtual void SetStatusText(const std::string& text) = 0;
    // The move cursor, while a new counter or form follows the mouse or the selection is moved.
    virtual void SetMoveCursor() = 0;
    virtual void TakeFocus() = 0;
    // Ends in-place text editing on the page as the Edit menu's commands do (undo recorded, empty text removed).
    virtual void EndTextEditing() = 0;
};

// A mouse event: the point in page coordinates and the keys held.
struct MouseInput
{
    CPoint pt;
    bool shift = false;
    bool ctrl = false;
    bool leftDown = false;
};

// The tools bar's tools.
enum MouseTool
{
    kMouseToolArrow = 1,
    kMouseToolText = 2,
    kMouseToolShape = 3,
    kMouseToolCircle = 4,
    kMouseToolPicture = 5,
    kMouseToolHtml = 6,
    kMouseToolFlash = 7,
    kMouseToolCounter = 8,
    kMouseToolForm = 9,
    kMouseToolRectangle = 10,
    kMouseToolEyedropper = 11,
};

class CMouseTools
{
public:
    CMouseTools(CSitePage& page, MouseToolHost& host);

    void OnLButtonDown(const MouseInput& input);
    void OnMouseMove(const MouseInput& input);
    void OnLButtonUp(const MouseInput& input);
    void OnLButtonDblClk(const MouseInput& input);
    // Another window took the mouse: a running gesture ends where it is.
    void OnCaptureLost();

    // The gesture's state, as the window's painting and cursors read it.
    bool IsDragging() const;
    bool IsTextBand() const;
    const CRect& GetTextBandRect() const;
    bool IsTextFrameResize() const;
    bool IsTextFrameResizeSideways() const;
    bool IsGuideDrag() const;
    bool IsGuideHorizontal() const;
    int GetGuideIndex() const;
    // The band shown while the rubber band, the picture band or the HTML/Flash band is dragged; empty when none is.
    bool GetBand(CRect& band) const;
    void ResetDragState();

    // The status text while the eyedropper moves over the page: the prompt and the colour under the pointer.
    std::string EyedropperText(const CPoint& pt);
    // The colour shown at a page point: the topmost object's pixel there, or the background where none is.
    CColor ReadColorAt(const CPoint& pt);

    // The default text height of new text objects, in pixels.
    void SetDefaultTextHeight(int height) { m_context.defaultTextHeight = height; }

private:
    mouse_gestures::GestureContext m_context;
};
