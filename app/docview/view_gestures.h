#pragma once

// The arithmetic of the design view's mouse gestures, apart from any window: when a drag starts to move things,
// how a moved selection snaps to the guides, which handle a press takes, the angle a rotation starts from, the
// rectangles of the objects the bands make, where a dragged guide lands, which objects a rubber band takes in
// and the colour the eyedropper reads. Points and rectangles are page coordinates.

#include <vector>

#include "image/image.h"
#include "platform/win/win_types.h"

// A press turns into a move once the pointer has gone this far along either axis.
constexpr int kMoveThreshold = 3;
bool PassesMoveThreshold(const CPoint& press, const CPoint& point);

// How far a moved edge may lie from a guide and still snap to it.
constexpr int kGuideSnapDistance = 3;
// The displacement delta of a move, changed so that the selection lies against the guides it comes near. Each
// rectangle (right and bottom exclusive) is tried moved by the displacement as it stands so far: a top edge near a
// horizontal guide goes one pixel below it, else a bottom edge near one ends on it; left and right edges do the
// same with the vertical guides. So a snapped object lies beside the guide line, never under it.
CPoint SnapMoveToGuides(const std::vector<CRect>& rects, CPoint delta, const std::vector<int>& horizontalGuides,
                        const std::vector<int>& verticalGuides);

// A guide dragged to position along an axis of the page's extent: near either edge it sticks to the first or last
// pixel. Released off the page it goes.
int ClampGuidePosition(int position, int extent);
bool IsGuideOffPage(int position, int extent);

// What a press on the handles of one selected object or user group starts.
enum class HandleAction
{
    None,
    Resize,
    Rotate,
};

struct HandleChoice
{
    HandleAction action = HandleAction::None;
    int handle = -1;
    // The edge a resize drags.
    bool top = false, left = false, right = false, bottom = false;
};

// The edge handles resize when the object can be resized; failing that, the corners rotate when it can be
// rotated. handles are the eight handle points.
HandleChoice ChooseHandle(const DPOINT* handles, const CPoint& pt, bool canResize, bool canRotate);

// The middle of handles 0 and 7, about which a corner turns the object.
DPOINT HandleCentre(const DPOINT* handles);
// The angle of pt seen from centre, 0 .. 2 pi.
double PointAngle(const DPOINT& centre, const CPoint& pt);

// The point brought onto the page (0 .. width - 1, 0 .. height - 1).
CPoint ClampToPage(const CPoint& pt, const CSize& page);

// The text height of a point size at the text device's 96 dots per inch.
int TextHeightForPointSize(int pointSize);
// The text tool's band as a press opens it: one line high below the point.
CRect TextBandAt(const CPoint& pt, int textHeight);
// The text object a band makes: at least 100 pixels wide and always one line high.
constexpr int kMinTextBandWidth = 100;
CRect TextObjectRect(const CRect& band, int textHeight);
// The HTML or Flash object a band makes: the band put in order, at least 15 x 15.
constexpr int kMinHtmlSize = 15;
CRect HtmlObjectRect(const CRect& band);

// Where a chosen picture goes: a band narrower or lower than 6 pixels places it at its own size from the band's
// top-left corner; a larger band gives it the band's size about the band's centre.
struct PicturePlacement
{
    DPOINT centre{0.0, 0.0};
    CSize size;
};
constexpr int kMinPictureBand = 6;
PicturePlacement PlacePicture(const CRect& band, const CSize& picture);
bool IsLargerThanPage(const CSize& size, const CSize& page);
// A picture larger than the page made to fit it: each axis limited to the page and centred on it, or, keeping its
// proportions, scaled by the axis that overflows most and centred.
PicturePlacement FitPictureToPage(const PicturePlacement& placement, const CSize& page, bool keepAspect);

// True when the band (in any order) meets the quadrilateral through handles 0, 2, 7 and 5, whole pixels: a turned
// object counts only where its outline is, not its bounding box.
bool BandMeetsOutline(const CRect& band, const DPOINT* handles);

// The colour the eyedropper reads from an object's pixel (alpha, red, green, blue): where the object is fully
// transparent it shows the page beneath, so the background's colour there is read.
CColor EyedropperColor(const BYTE* pixel, const CColor& background);

// While a move drags the pointer past the visible part of the page (still on the page), the view scrolls to bring
// the point to the window's edge, and the pointer is put on that edge. visible is the visible part of the page,
// client the window's size. False when the point is inside the visible part or off the page.
struct AutoScroll
{
    CPoint scroll;
    CPoint pointer; // client coordinates
};
bool ComputeAutoScroll(const CPoint& pt, const CRect& visible, const CSize& client, const CSize& page,
                       AutoScroll& result);
