#pragma once

// The hit tests that the design view's mouse, cursor and keyboard handlers share, and the choice of cursor and
// status prompt for a point of the page. Points are in page coordinates.

#include "image/image.h"
#include "platform/win/win_types.h"

class CSitePage;

// The view's cursors, by resource id; kCursorDefault leaves the window's own cursor.
enum ViewCursor
{
    kCursorDefault = 0,
    kCursorRotate = 282,
    kCursorHorizontalGuide = 283,
    kCursorMove = 284,
    kCursorArrow = 285,
    kCursorSizeWE = 286,
    kCursorSizeNS = 287,
    kCursorSizeNESW = 288,
    kCursorSizeNWSE = 289,
    kCursorVerticalGuide = 290,
    kCursorText = 293,
    kCursorEyedropper = 312,
};

// The tools bar's tools the view looks at.
enum ViewTool
{
    kToolArrow = 1,
    kToolText = 2,
    kToolEyedropper = 11,
};

// The status prompts, by string id.
enum ViewPrompt
{
    kPromptNone = 0,
    kPromptEditText = 2032,
    kPromptTextWidth = 2033,
    kPromptMoveText = 2034,
    kPromptResize = 2036,
    kPromptRotate = 2037,
    kPromptMove = 2038,
};

// Handles are numbered 0 top-left, 1 top-middle, 2 top-right, 3 left-middle, 4 right-middle, 5 bottom-left,
// 6 bottom-middle, 7 bottom-right; they turn with the object. The edge-middle ones resize, the corners rotate.
// True when pt lies in the 5 x 5 square drawn for handle i.
bool HitHandle(const DPOINT* handles, int i, const CPoint& pt);
// The same with the 12 x 12 target of a text object's frame handles.
bool HitTextHandle(const DPOINT* handles, int i, const CPoint& pt);
// The sizing cursor for edge handle i, following the direction of its edge (a quarter turn swaps them); the
// cursor of a horizontal edge for any other handle.
int GetSizingCursor(const DPOINT* handles, int i);

// The topmost item whose object shows an opaque pixel at pt, or -1. Transparent parts let the point through to
// the items below; objects still waiting to be rendered are passed over. precise widens the test for text objects
// to the 3 x 3 block around pt. map is the scratch map the objects copy their pixels into (mode IMAGE_MODE_RGBA,
// at least 3 x 3).
int HitTestItem(const CSitePage& page, const CPoint& pt, bool precise, CPixMap& map);
// The text object at pt within 6 pixels of its rectangle, the edited one first; -1 when none.
int HitTestTextObject(const CSitePage& page, const CPoint& pt);
// The first guide of the list within 1 pixel before and 2 after pt (y for horizontal guides, x for vertical
// ones); -1 when none.
int HitTestGuide(const CSitePage& page, int x, int y, bool horizontal);

// What the view knows besides the page when it picks a cursor.
struct CursorContext
{
    int tool = kToolArrow;
    bool isCurrentView = true;
    // A mouse gesture holds the capture.
    bool dragging = false;
    // A drag of the edited text's frame runs, and whether it moves the left or right edge.
    bool textFrameResize = false;
    bool textFrameResizeSideways = false;
};

struct CursorChoice
{
    int cursor = kCursorDefault;
    int prompt = kPromptNone;
    // The cursor stays as it is (the object under it is still being rendered); the prompt is emptied.
    bool keep = false;
};

CursorChoice ChooseCursor(const CSitePage& page, const CPoint& pt, const CursorContext& context, CPixMap& map);
