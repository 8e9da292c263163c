#pragma once

// The gestures of the design view's mouse tools, one state each: what a press started, the data its moves work on,
// and what its release and a lost capture do. The tools hold exactly one of them at a time (NoGesture between
// gestures); a gesture's press, drag and release are written together in the file of its kind:
// mouse_gestures_select.cpp (guides, moving, handles, the rubber band), mouse_gestures_create.cpp (new shapes,
// counters, forms, pictures and HTML/Flash objects) and mouse_gestures_text.cpp (the text tool).

#include <functional>
#include <variant>

#include "image/image.h"
#include "platform/win/win_types.h"

class CSitePage;
class CPageItem;
class CObjectFrame;
class MouseToolHost;
struct MouseInput;
enum class UndoKind;

namespace mouse_gestures {

class GestureContext;

// No button held (or a press that started nothing). While the page edits a text in place, a move with the button
// down still extends the text's selection.
struct NoGesture
{
    static constexpr bool kDragging = false;
    void Drag(GestureContext& context, const MouseInput& input);
    void Release(GestureContext& context);
    void Abandon(GestureContext& context);
};

// A guide taken with the arrow tool follows the pointer; released off the page it goes.
struct GuideDrag
{
    static constexpr bool kDragging = false;
    bool horizontal = false;
    int index = -1;
    // Starts when the arrow tool presses on a shown guide (horizontal ones first).
    static bool Press(GestureContext& context, const CPoint& pt);
    void Drag(GestureContext& context, const MouseInput& input);
    void Release(GestureContext& context);
    void Abandon(GestureContext& context);
};

// The selection follows the pointer, snapping to the guides; an object just selected waits for the threshold.
struct MoveDrag
{
    static constexpr bool kDragging = true;
    CPoint pressPoint;
    // Where the selection has been moved to so far, snapping included.
    CPoint previousPoint;
    bool pending = false;
    void Drag(GestureContext& context, const MouseInput& input);
    void Release(GestureContext& context);
    void Abandon(GestureContext& context);
};

// An edge handle of one object or user group resizes it; the frame may swap the edges when one crosses the other.
struct ResizeDrag
{
    static constexpr bool kDragging = true;
    bool top = false, left = false, right = false, bottom = false;
    bool started = false;
    void Drag(GestureContext& context, const MouseInput& input);
    void Release(GestureContext& context);
    void Abandon(GestureContext& context);
};

// A corner handle turns one object or user group about its centre.
struct RotateDrag
{
    static constexpr bool kDragging = true;
    double startAngle = 0.0;
    double rotationAtPress = 0.0;
    void Drag(GestureContext& context, const MouseInput& input);
    void Release(GestureContext& context);
    void Abandon(GestureContext& context);
};

// A band on empty space: the selection follows what the band meets.
struct RubberBand
{
    static constexpr bool kDragging = true;
    CRect band;
    void Drag(GestureContext& context, const MouseInput& input);
    void Release(GestureContext& context);
    void Abandon(GestureContext& context);
};

// A new shape drawn from the press point, or a new counter or form following the pointer.
struct CreateDrag
{
    static constexpr bool kDragging = true;
    CPoint pressPoint;
    // A shape that has not been dragged yet: released so, it goes again.
    bool untouched = false;
    static void PressShape(GestureContext& context, const MouseInput& input, int tool);
    static void PressPlaced(GestureContext& context, const MouseInput& input, int tool);
    void Drag(GestureContext& context, const MouseInput& input);
    void Release(GestureContext& context);
    void Abandon(GestureContext& context);
};

// The picture, HTML or Flash tool's band; its release asks for the picture, or makes the HTML or Flash object and
// opens its code.
struct ObjectBand
{
    enum class Makes
    {
        picture,
        html,
        flash,
    };
    static constexpr bool kDragging = true;
    CRect band;
    Makes makes = Makes::picture;
    static void Press(GestureContext& context, const MouseInput& input, int tool);
    void Drag(GestureContext& context, const MouseInput& input);
    void Release(GestureContext& context);
    void Abandon(GestureContext& context);
};

// The text tool's band on empty space: one line high, its right edge follows; released, it opens a new text.
struct TextBand
{
    static constexpr bool kDragging = true;
    CRect band;
    CPoint lastPoint;
    void Drag(GestureContext& context, const MouseInput& input);
    void Release(GestureContext& context);
    void Abandon(GestureContext& context);
};

// A frame handle of the text being edited: top and bottom move the text, left and right change its width (a corner
// sets no side and its drag changes nothing).
struct TextFrameDrag
{
    static constexpr bool kDragging = false;
    bool top = false, left = false, right = false, bottom = false;
    CPoint lastPoint;
    void Drag(GestureContext& context, const MouseInput& input);
    void Release(GestureContext& context);
    void Abandon(GestureContext& context);
};

using MouseGesture = std::variant<NoGesture, GuideDrag, MoveDrag, ResizeDrag, RotateDrag, RubberBand, CreateDrag,
                                  ObjectBand, TextBand, TextFrameDrag>;

// The arrow tool's press: a handle, the rubber band, Shift and Ctrl clicks or a move.
void PressArrow(GestureContext& context, const MouseInput& input);
// The text tool's press (and a double-click on a text): edits the text under the point, takes a frame handle of
// the edited one, or opens the text band.
void PressText(GestureContext& context, const MouseInput& input);
// A release while the page edits a text in place ends whatever ran; nothing is recorded.
void ReleaseInTextEditing(GestureContext& context);

// What the gestures share: the page, the window, the current gesture and the steps they have in common.
class GestureContext
{
public:
    GestureContext(CSitePage& page, MouseToolHost& host);

    CSitePage& page;
    MouseToolHost& host;
    // Scratch pixels for the hit tests.
    CPixMap hitMap;
    int defaultTextHeight = 16;
    MouseGesture gesture;

    void ResetGesture() { gesture = NoGesture{}; }
    // The selected items' rectangles and the selection's area to repaint (page coordinates, handles included).
    CRect SelectionArea() const;
    void InvalidateItem(const CPageItem& item);
    void RecordUndo(UndoKind kind);
    bool OnPage(const CPoint& pt) const;
    // The gestures other than guides, moves and the rubber band never reach beyond the page.
    CPoint ClampToPage(const CPoint& pt) const;
    // A band's corner follows the point; the old and new outlines are repainted.
    void DragBand(CRect& band, const CPoint& pt);
    // The opening of the release of a gesture that held the mouse to drag: the tool returns to the arrow and the
    // selection may render again.
    void BeginDragRelease();
    // The usual end of a drag: the state reset, what changed rendered, the palettes told, the mouse let go, the
    // view repainted.
    void EndGesture();
    // A lost capture ends a gesture where it is: the selection may render again and the view is repainted.
    void AbandonGesture();
    void EachSelectedGroup(const std::function<void(CObjectFrame&)>& f) const;
    // Every selected group ends its move, resize or rotation.
    void EndFrames(void (CObjectFrame::*end)());
};

// Palette refresh codes the gestures send.
inline constexpr int kSelectionChanged = 10011;
inline constexpr int kPlacing = 10012;
inline constexpr int kTextTurned = 10015;
inline constexpr int kGestureEnded = 10018;

CRect InflatedBy(CRect rect, int by);

} // namespace mouse_gestures
