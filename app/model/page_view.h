#pragma once

// The design view of a page as the core sees it. Core code reaches a view it got from GetCurrentView only through
// this; the design view implements it, and a test's fake view derives from NullPageView.

#include "platform/win/win_types.h"

class CSitePage;
enum class UndoKind;

class PageView
{
public:
    virtual ~PageView() = default;

    // The page the view shows.
    virtual CSitePage* GetPage() const = 0;
    // The size of the page the view shows; (0, 0) when it shows none.
    virtual CSize GetPageSize() const = 0;
    // The client offset the page is drawn at: half the spare width and height when the client area is larger
    // than the page, else 0.
    virtual CPoint GetPageOrigin() const = 0;
    // A page rectangle in client coordinates (page origin and scroll position applied), 3 pixels larger on
    // every side.
    virtual CRect PageRectToClient(const CRect& page) const = 0;
    // The union of the selected items' rectangles in client coordinates.
    virtual CRect GetSelectionRect() const = 0;
    virtual CRect GetViewClientRect() const = 0;
    virtual CPoint GetScrollPosition() const = 0;
    virtual void ScrollToPosition(const CPoint& position) = 0;
    // Scroll sizes from the page's size: a page step of the page clipped to the client, a line step of a tenth.
    virtual void UpdateScrollSizes() = 0;

    virtual void InvalidateSelection() = 0;
    // Repaints the whole view, erasing first when asked.
    virtual void InvalidateView(bool erase) = 0;
    // Repaints a rectangle given in client coordinates, erasing first when asked.
    virtual void InvalidateViewRect(const CRect& client, bool erase) = 0;
    // Repaints, without erasing, a rectangle in the coordinates of the text being edited in place.
    virtual void InvalidateEditRect(const CRect& rect) = 0;

    // The text caret of in-place editing: a bar one pixel wide at a client point.
    virtual bool IsTextCaretShown() const = 0;
    // Makes the caret height pixels high, hiding it while it changes when the view shows it.
    virtual void SetCaretShape(int height) = 0;
    virtual void SetCaretPos(const CPoint& client) = 0;
    virtual void HideTextCaret() = 0;

    // The view's page has no object edited in place any more.
    virtual void EndPageTextEditing() = 0;
    // Records an undo step of a kind with the undo manager of the view's page.
    virtual void RecordPageUndo(UndoKind kind) = 0;
};

// A view that shows nothing: the base of the tests' fake views, which override what they watch.
class NullPageView : public PageView
{
public:
    CSitePage* GetPage() const override { return nullptr; }
    CSize GetPageSize() const override { return CSize(0, 0); }
    CPoint GetPageOrigin() const override { return CPoint(0, 0); }
    CRect PageRectToClient(const CRect& page) const override
    {
        (void)page;
        return CRect();
    }
    CRect GetSelectionRect() const override { return CRect(); }
    CRect GetViewClientRect() const override { return CRect(); }
    CPoint GetScrollPosition() const override { return CPoint(0, 0); }
    void ScrollToPosition(const CPoint& position) override { (void)position; }
    void UpdateScrollSizes() override {}
    void InvalidateSelection() override {}
    void InvalidateView(bool erase) override { (void)erase; }
    void InvalidateViewRect(const CRect& client, bool erase) override { (void)client, (void)erase; }
    void InvalidateEditRect(const CRect& rect) override { (void)rect; }
    bool IsTextCaretShown() const override { return false; }
    void SetCaretShape(int height) override { (void)height; }
    void SetCaretPos(const CPoint& client) override { (void)client; }
    void HideTextCaret() override {}
    void EndPageTextEditing() override {}
    void RecordPageUndo(UndoKind kind) override { (void)kind; }
};
