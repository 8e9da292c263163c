#pragma once

// The design view of one page: a scrolling window showing the page at 1:1 on a grey surround, centred when the
// window is larger than the page, with the page's objects, its guides and the frames and handles of the
// selection. The view owns nothing of the model; it draws the page through the page's own tiles into a buffer,
// hands the buffer to the screen and draws frames and guides over it. The mouse handlers hand their events to the
// page's mouse tools (mouse_tools.h) and draw the bands those keep; the keys go to view_keys.h. The hit tests and cursors
// they share live in view_hit_test.h.

#include <wx/scrolwin.h>
#include <wx/timer.h>

#include <memory>
#include <string>

#include "app/docview/mouse_tools.h"
#include "app/docview/view_caret.h"
#include "app/docview/view_paint.h"
#include "app/model/page_view.h"
#include "image/image.h"
#include "platform/win/win_types.h"

class CSitePage;
class CPageItem;
class wxCursor;
class CTextObject;
class wxDC;
class wxKeyEvent;

// The view's own cursor of a resource id (view_hit_test.h), made once from the program's bitmap of that id, and
// the point of its bitmap it points with.
const wxCursor& ViewCursor(int id);
wxPoint ViewCursorHotSpot(int id);

class COrvelView : public wxScrolledCanvas, public PageView, private MouseToolHost
{
public:
    COrvelView(wxWindow* parent, CSitePage* page);
    ~COrvelView() override;

    CSitePage* GetPage() const override { return m_pPage; }
    CSize GetPageSize() const override;

    // Coordinates: the page's place in the client area and the conversions the tools and the model use.
    CPoint GetPageOrigin() const override;
    CPoint GetScrollPosition() const override;
    void ScrollToPosition(const CPoint& position) override;
    CRect GetViewClientRect() const override;
    CPoint ClientToPage(const CPoint& client) const;
    CRect PageRectToClient(const CRect& page) const override;
    CRect GetItemClientRect(const CPageItem& item) const;
    CRect GetSelectionRect() const override;
    CRect GetVisiblePageRect() const override;
    void UpdateScrollSizes() override;

    void InvalidateSelection() override;
    void InvalidateView(bool erase) override;
    void InvalidateViewRect(const CRect& client, bool erase) override;

    // Clears the state of a mouse gesture.
    void ResetDragState();
    // Ends in-place editing of a text on the page, recording undo: a text left empty goes as a step of the
    // history.
    void EndTextEditing() override;
    // Takes the page out of in-place editing without ending the edited object's edit.
    void EndPageTextEditing() override;
    void RecordPageUndo(UndoKind kind) override;
    const CMouseTools& GetMouseTools() const { return *m_tools; }
    // Where the context menu was last opened, in page coordinates, and whether it was (read and cleared by the
    // insert-guide commands).
    CPoint GetContextPoint() const { return m_contextPoint; }
    bool TakeContextMenuShown();

    // Draws the client rectangle clip as a paint does, into dc at clip's place.
    void PaintArea(wxDC& dc, const CRect& clip);

    // The text caret of in-place editing (design_view_keys.cpp): a bar one pixel wide at a client point, drawn by
    // the view's paint and blinking by a timer that repaints only the caret.
    void SetCaretShape(int height) override;
    void SetCaretPos(const CPoint& client) override;
    void HideTextCaret() override;
    bool IsTextCaretShown() const override;
    const ViewCaret& GetTextCaret() const { return m_caret; }
    wxTimer& GetCaretTimer() { return m_caretTimer; }
    // Repaints a rectangle in the coordinates of the text being edited.
    void InvalidateEditRect(const CRect& rect) override;
    // Whether picture files may be dropped now: not while a text is edited or the mouse is at work.
    bool AcceptsDrop() const;
    bool GetKeyboardMove() const { return m_keyMove; }
    void SetKeyboardMove(bool moving) { m_keyMove = moving; }

private:
    bool IsActive() const;
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnSetCursor(wxSetCursorEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);
    void OnScrollLine(wxScrollWinEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnLButtonDown(wxMouseEvent& event);
    void OnMouseMove(wxMouseEvent& event);
    void OnLButtonUp(wxMouseEvent& event);
    void OnLButtonDblClk(wxMouseEvent& event);
    MouseInput ToMouseInput(const wxMouseEvent& event) const;
    void OnChar(wxKeyEvent& event);
    void OnKeyDown(wxKeyEvent& event);
    void OnKeyUp(wxKeyEvent& event);
    void OnFocusChange(wxFocusEvent& event);
    void OnCaretTimer(wxTimerEvent& event);
    // Repaints what a change of the caret leaves and runs its blink while it shows.
    void AfterCaretChange(const ViewCaret::Areas& areas);
    // Asks for a client rectangle to be painted again; while a key's changes are collected, adds it to them.
    void RefreshClientRect(const CRect& rect);
    // Paints a client rectangle into the window now.
    void PaintNow(const CRect& rect);
    // The closing steps of a key on the edited text: handles, caret, repaint and the palettes.
    void AfterTextKey(CTextObject& text, int prevPara, int prevIndex, const CRect& area);
    // The text edited in place and its selection, drawn into a tile of the page (its page rectangle, 4 bytes a
    // pixel, alpha first) in the text's place among the page's objects; empty while no text is edited. It runs
    // on the threads the tiles are drawn on, and so only reads.
    EditedTilePainter EditedTextPainter() const;
    void DrawEditedText(const CRect& tile, BYTE* pixels, int stride) const;
    // Makes the window a target for picture files dragged from the file manager.
    void TakeDroppedFiles();

    // What the mouse tools ask of the window.
    void HoldMouse() override;
    void LetMouseGo() override;
    void InvalidatePageRect(const CRect& rect, bool erase) override;
    void InvalidateAll(bool erase) override;
    CSize GetClientExtent() const override;
    void ScrollTo(const CPoint& scroll, const CPoint& pointer) override;
    void SetStatusText(const std::string& text) override;
    void SetMoveCursor() override;
    void TakeFocus() override;

    // What is drawn over the page (design_view_overlay.cpp).
    void DrawSelection(wxDC& dc) const;
    // The frames, bands and guides over the page in the client rectangle clip.
    void DrawFrames(wxDC& memory, const CRect& clip);
    // Whether frames, bands or guides may show in the client rectangle clip.
    bool FramesMeet(const CRect& clip) const;
    void DrawGuides(wxDC& dc, const CRect& clip) const;
    void DrawTextEditFrame(wxDC& dc) const;
    void DrawBand(wxDC& dc) const;

    void SetStatusText(int prompt);

    CSitePage* m_pPage;
    // The pixels hit tests read from the objects' images.
    CPixMap m_hitMap;
    ViewPixels m_pixels;
    bool m_firstPaint = true;

    // The mouse gestures and their state.
    std::unique_ptr<CMouseTools> m_tools;

    CPoint m_contextPoint;
    bool m_contextMenuShown = false;
    // Set while arrow keys move the selection, up to the next key release.
    bool m_keyMove = false;

    ViewCaret m_caret;
    wxTimer m_caretTimer;
    // The area a key on the edited text changed, collected while the key is taken.
    CRect m_keyArea;
    bool m_collectKeyArea = false;
};
