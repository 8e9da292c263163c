#pragma once

// The mouse tools of the design view, apart from the window: a press, the moves while the button is held and the
// release, turned into edits of one page according to the tools bar's tool. Selecting, moving (past a threshold,
// snapping to the guides), resizing and turning objects and user groups by their handles, the rubber band, the
// bands and clicks that make new objects, the text tool's band, dragging guides and the eyedropper. Every edit
// records its undo step with the page's undo manager before it changes anything, and tells the palettes.
// The window that shows the page feeds it page points and hears back through MouseToolHost what to repaint,
// when to hold the mouse and what to show.

#include <string>

#include "app/docview/view_gestures.h"
#include "image/image.h"
#include "platform/win/win_types.h"

class CSitePage;
class CPageItem;
enum class UndoKind;

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
    bool IsDragging() const { return m_bDragging; }
    bool IsTextBand() const { return m_bTextBand; }
    const CRect& GetTextBandRect() const { return m_textBandRect; }
    bool IsTextFrameResize() const { return m_bTextFrameResize; }
    bool IsTextFrameResizeSideways() const { return m_bResizeLeft || m_bResizeRight; }
    bool IsGuideDrag() const { return m_bGuideDrag; }
    bool IsGuideHorizontal() const { return m_bGuideHorizontal; }
    int GetGuideIndex() const { return m_nGuideIndex; }
    // The band shown while the rubber band, the picture band or the HTML/Flash band is dragged; empty when none is.
    bool GetBand(CRect& band) const;
    void ResetDragState();

    // The status text while the eyedropper moves over the page: the prompt and the colour under the pointer.
    std::string EyedropperText(const CPoint& pt);
    // The colour shown at a page point: the topmost object's pixel there, or the background where none is.
    CColor ReadColorAt(const CPoint& pt);

    // The default text height of new text objects, in pixels.
    void SetDefaultTextHeight(int height) { m_nDefaultTextHeight = height; }

private:
    void PressArrow(const MouseInput& input);
    bool PressHandles(const MouseInput& input, int hit);
    void PressCreate(const MouseInput& input, int tool);
    void PressPlaced(const MouseInput& input, int tool);
    void PressBand(const MouseInput& input, int tool);
    void PressText(const MouseInput& input);
    void PressEyedropper(const CPoint& pt);

    void DragMove(const MouseInput& input);
    void DragGuide(const MouseInput& input);
    void DragRubberBand(const MouseInput& input);
    void DragBand(CRect& band, const CPoint& pt);

    void ReleaseGuide();
    void ReleaseHtmlBand();
    void ReleasePictureBand();
    void ReleaseTextBand();
    void EndGesture();

    // The selected items' rectangles and the selection's area to repaint (page coordinates, handles included).
    CRect SelectionArea() const;
    void InvalidateItem(const CPageItem& item);
    void RecordUndo(UndoKind kind);

    CSitePage& m_page;
    MouseToolHost& m_host;
    CPixMap m_hitMap;
    int m_nDefaultTextHeight = 16;

    bool m_bDragging = false;
    bool m_bCreatedByBand = false;
    CPoint m_pressPoint;
    CPoint m_previousPoint;
    bool m_bMoving = false;
    bool m_bRotating = false;
    bool m_bHtmlFrame = false;
    bool m_bFlashFrame = false;
    double m_dStartAngle = 0.0;
    bool m_bResizeTop = false, m_bResizeLeft = false, m_bResizeRight = false, m_bResizeBottom = false;
    bool m_bCreating = false;
    bool m_bResizeStarted = false;
    bool m_bMovePending = false;
    bool m_bRubberBand = false;
    CRect m_rubberBandRect;
    bool m_bPictureBand = false;
    CRect m_pictureBandRect;
    bool m_bHtmlBand = false;
    CRect m_htmlBandRect;
    double m_dRotationAtPress = 0.0;
    CPoint m_lastPoint;
    bool m_bGuideDrag = false;
    bool m_bGuideHorizontal = false;
    int m_nGuideIndex = -1;
    bool m_bTextFrameResize = false;
    bool m_bTextBand = false;
    CRect m_textBandRect;
};
