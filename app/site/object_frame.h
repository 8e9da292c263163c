#pragma once

// The frame around selected objects, and the record of a user group. It points at its member items (the page
// owns them) and keeps their common rectangle plus a centre, size and angle in its own turned coordinates, from
// which come the eight handles the view draws and hit-tests. Moving, resizing and turning a selection goes
// through the frame, which passes the change on to every member.

#include <memory>
#include <vector>

#include "app/site/site_geometry.h"
#include "platform/win/file.h"
#include "platform/win/win_types.h"

class CPageItem;
class CPageObject;

class CObjectFrame
{
public:
    // Top-left, top-centre, top-right, middle-left, middle-right, bottom-left, bottom-centre, bottom-right.
    static constexpr int kHandleCount = 8;
    // Bytes of the stream form.
    static constexpr int kStreamSize = 180;

    // No members, empty rectangle, selected.
    CObjectFrame();
    // Around one item, selected, not a group; the item points to the frame.
    explicit CObjectFrame(CPageItem* item);
    CObjectFrame(const CObjectFrame&) = delete;
    CObjectFrame& operator=(const CObjectFrame&) = delete;
    ~CObjectFrame();

    // The same members, geometry and flags, with no drag under way (undo keeps such copies).
    std::unique_ptr<CObjectFrame> Clone() const;

    // Joins the item and recomputes the geometry; the item points to the frame.
    void AddItem(CPageItem* item);
    // Lets the item go and recomputes the geometry from the rest. An item that pointed to this frame points to
    // none afterwards, so that no item is left naming a frame it is not in.
    void RemoveItem(CPageItem* item);
    void RemoveItemAt(int i);
    // Appends without recomputing anything (after loading and pasting, when the stored geometry is right).
    void AttachItem(CPageItem* item);
    // Null when i is out of range.
    CPageItem* GetItem(int i) const;
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // Every member that still points to this frame points to none. The page calls it before it deletes the frame.
    void ReleaseItems();

    bool IsSelected() const { return m_selected; }
    void SetSelected(bool selected) { m_selected = selected; }
    bool IsGroup() const { return m_group; }
    // Ending a group also sets its angle back to 0 and fits it to its members again.
    void SetGroup(bool group);
    bool CanResize() const { return m_canResize; }
    bool CanRotate() const { return m_canRotate; }
    bool IsTransforming() const { return m_transforming; }
    bool IsResizing() const { return m_resizing; }
    bool IsRotating() const { return m_rotating; }

    const CRect& GetRect() const { return m_rect; }
    SIZE GetSize() const { return m_size; }
    double GetAngle() const { return m_angle; }
    DPOINT GetCenter() const { return m_center; }
    const DPOINT* GetHandles() const { return m_handles; }
    // With rotation: the rectangle together with the box of the turned corners, 5 pixels wider on every side
    // (room for the handles the view draws there).
    CRect GetUpdateRect(bool withRotation) const;

    void RecalcBounds();
    void ComputeHandles();
    void ComputeSizeAndCenter();

    // Every member and the whole frame move by whole pixels; nothing is recomputed.
    void MoveBy(int dx, int dy);
    void Offset(POINT from, POINT to);

    void BeginTransform();
    void EndTransform();
    void BeginResize();
    void EndResize();
    void BeginRotate();
    void EndRotate();
    // Takes each member's size, position and rotation relative to the frame; the view calls it when a resize or
    // rotation drag begins, and ResizeByHandle and RotateToPoint place the members from it.
    void RecordDragData();

    // The side flags say which edge is dragged (a later one in the order top, left, right, bottom wins) and swap
    // when a single member is dragged across its opposite side; shiftBefore carries Shift from step to step.
    // Ctrl and Shift go to a single member as its square and proportional flags; several members always scale
    // uniformly.
    void ResizeByHandle(POINT point, bool ctrl, bool shift, bool& top, bool& left, bool& right, bool& bottom,
                        bool& shiftBefore);
    // Turns the frame and its members so that the pointer keeps its angle about the centre; snap takes whole
    // eighths of a turn.
    void RotateToPoint(POINT point, double startMouseAngle, double startFrameAngle, bool snap);

    // Rectangle, four flags, angle, centre, size and handles (members are stored by their items).
    void Save(CFile& file) const;
    // Null when the stream fails or holds a number that is not finite; the version is not used.
    static std::unique_ptr<CObjectFrame> Load(CFile& file, int major, int minor);

private:
    // Places every member from the drag data: turned with the frame, or sized with it.
    void PlaceMembers(bool turn);
    void BeginDrag(void (CPageObject::*begin)(), bool& flag);
    void EndDrag(void (CPageObject::*end)(), bool& flag);

    std::vector<CPageItem*> m_items;
    CRect m_rect;
    bool m_canResize = false;
    bool m_canRotate = false;
    bool m_group = false;
    bool m_selected = true;
    double m_angle = 0.0;
    DPOINT m_center{0.0, 0.0};
    SIZE m_size{0, 0};
    bool m_transforming = false;
    bool m_resizing = false;
    bool m_rotating = false;
    DPOINT m_handles[kHandleCount] = {};
    SIZE m_startSize{0, 0};
    // Per member, from the start of a drag: width and height as fractions of the frame's, the centre as
    // fractions along the top and left edges, and the rotation.
    std::vector<DPOINT> m_relativeSizes;
    std::vector<DPOINT> m_relativePositions;
    std::vector<double> m_startAngles;
    // The frame's angle when the rotation drag began.
    double m_startAngle = 0.0;
};
