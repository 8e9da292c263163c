// The design view's keys, its text caret, its drawing of the text edited in place and the files dropped on it.

#include "app/docview/design_view.h"

#include <wx/caret.h>
#include <wx/dcclient.h>
#include <wx/dnd.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/docview/view_drop.h"
#include "app/docview/view_keys.h"
#include "app/model/services.h"
#include "app/objects/text_body.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/gui/text_bytes.h"

namespace {

constexpr int kTextTyped = 10016;

bool TextEditKeyFor(int keyCode, TextEditKey& key)
{
    switch (keyCode) {
    case WXK_HOME:
        key = TextEditKey::home;
        return true;
    case WXK_END:
        key = TextEditKey::end;
        return true;
    case WXK_PAGEUP:
        key = TextEditKey::pageUp;
        return true;
    case WXK_PAGEDOWN:
        key = TextEditKey::pageDown;
        return true;
    case WXK_LEFT:
        key = TextEditKey::left;
        return true;
    case WXK_UP:
        key = TextEditKey::up;
        return true;
    case WXK_RIGHT:
        key = TextEditKey::right;
        return true;
    case WXK_DOWN:
        key = TextEditKey::down;
        return true;
    case WXK_DELETE:
        key = TextEditKey::del;
        return true;
    default:
        return false;
    }
}

bool ArrowStep(int keyCode, CPoint& step)
{
    switch (keyCode) {
    case WXK_LEFT:
        step = CPoint(-1, 0);
        return true;
    case WXK_RIGHT:
        step = CPoint(1, 0);
        return true;
    case WXK_UP:
        step = CPoint(0, -1);
        return true;
    case WXK_DOWN:
        step = CPoint(0, 1);
        return true;
    default:
        return false;
    }
}

// The character code a key gives the text, as the desktop platform numbers them; -1 when there is none or the
// code page lacks the character.
int TypedCode(const wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    switch (key) {
    case WXK_BACK:
        return 8;
    case WXK_TAB:
        return 9;
    case WXK_ESCAPE:
        return 27;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        return event.ControlDown() ? 10 : 13;
    default:
        break;
    }
    // Ctrl with a letter gives its control code.
    if (key > 0 && key < 32)
        return key;
    const wxChar unicode = event.GetUnicodeKey();
    if (unicode == WXK_NONE)
        return -1;
    return TypedCharToWindows1252(static_cast<char32_t>(unicode));
}

CTextObject* EditedTextOf(const CSitePage& page)
{
    return page.IsEditingInPlace() ? dynamic_cast<CTextObject*>(page.GetEditedObject()) : nullptr;
}

} // namespace

void COrvelView::OnChar(wxKeyEvent& event)
{
    CTextObject* text = EditedTextOf(*m_pPage);
    // The view hears a key before the menus do; what it does not take goes on to their shortcuts. So do the keys
    // typed with Ctrl or Alt while a text is edited, which are shortcuts rather than text (Ctrl+Enter aside).
    const bool shortcut = (event.ControlDown() || event.AltDown()) && event.GetKeyCode() != WXK_RETURN &&
                          event.GetKeyCode() != WXK_NUMPAD_ENTER;
    if (!text || shortcut) {
        event.Skip();
        return;
    }
    const int code = TypedCode(event);
    if (code < 0) {
        // A character the program's text cannot hold is refused, never stored as another.
        GetMessages().Beep();
        return;
    }
    const CTextBody& body = *text->GetTextBody();
    const int prevPara = body.m_caretPara, prevIndex = body.m_caretIndex;
    AfterTextKey(*text, prevPara, prevIndex, CRect(ApplyTypedChar(*text, code)));
}

void COrvelView::OnKeyDown(wxKeyEvent& event)
{
    const int keyCode = event.GetKeyCode();
    if (CTextObject* text = EditedTextOf(*m_pPage)) {
        const CTextBody& body = *text->GetTextBody();
        const int prevPara = body.m_caretPara, prevIndex = body.m_caretIndex;
        TextEditKey key;
        if (TextEditKeyFor(keyCode, key)) {
            AfterTextKey(*text, prevPara, prevIndex, CRect(ApplyTextEditKey(*text, key, event.ShiftDown())));
            return;
        }
        if (keyCode == 'B' && event.ControlDown() && !event.AltDown()) {
            AfterTextKey(*text, prevPara, prevIndex, CRect(ToggleSelectionBold(*text)));
            return;
        }
        // The characters come as character events.
        event.Skip();
        return;
    }
    CPoint step;
    if (!ArrowStep(keyCode, step)) {
        event.Skip();
        return;
    }
    // The arrow keys move the selection and never scroll the view.
    const CRect area = NudgeSelection(*m_pPage, m_keyMove, step.x, step.y);
    if (!area.IsRectEmpty()) {
        const CRect client = PageRectToClient(area);
        RefreshRect(wxRect(client.left, client.top, client.Width(), client.Height()), false);
    }
}

void COrvelView::OnKeyUp(wxKeyEvent& event)
{
    EndNudge(*m_pPage, m_keyMove);
    event.Skip();
}

void COrvelView::AfterTextKey(CTextObject& text, int prevPara, int prevIndex, const CRect& area)
{
    if (CPageItem* item = m_pPage->GetSingleSelectedItem())
        item->GetCurrentObject()->UpdateHandles();
    // What the key changed is painted at once, straight into the window: the toolkit's repaint would go through
    // every window the view stands in, which costs far more than the few lines a key changes.
    m_collectKeyArea = true;
    m_keyArea = CRect();
    text.UpdateCaret(prevPara, prevIndex);
    InvalidateEditRect(area);
    m_collectKeyArea = false;
    PaintNow(m_keyArea);
    NotifyInspector(kTextTyped);
}

void COrvelView::RefreshClientRect(const CRect& rect)
{
    if (rect.IsRectEmpty())
        return;
    if (m_collectKeyArea) {
        m_keyArea.UnionRect(m_keyArea, rect);
        return;
    }
    RefreshRect(wxRect(rect.left, rect.top, rect.Width(), rect.Height()), false);
}

void COrvelView::PaintNow(const CRect& rect)
{
    const wxSize size = GetClientSize();
    CRect area;
    if (!area.IntersectRect(rect, CRect(0, 0, size.x, size.y)))
        return;
    // Before the first paint, or while the window is not on the screen, the toolkit's own repaint does it.
    if (!m_firstPaint && IsShownOnScreen()) {
        wxClientDC dc(this);
        if (dc.IsOk()) {
            PaintArea(dc, area);
            return;
        }
    }
    RefreshRect(wxRect(area.left, area.top, area.Width(), area.Height()), false);
}

void COrvelView::InvalidateEditRect(const CRect& rect)
{
    const CTextObject* text = EditedTextOf(*m_pPage);
    if (!text || rect.IsRectEmpty())
        return;
    DPOINT centre;
    text->GetCenter(centre);
    SIZE size;
    text->GetSize(size);
    CRect page(rect);
    page.OffsetRect(static_cast<int>(std::floor(centre.x - size.cx * 0.5)),
                    static_cast<int>(std::floor(centre.y - size.cy * 0.5)));
    // PageRectToClient adds the handles' margin, which also covers a caret at the edge.
    RefreshClientRect(PageRectToClient(page));
}

void COrvelView::SetCaretShape(int height)
{
    AfterCaretChange(m_caret.SetHeight(height));
}

void COrvelView::SetCaretPos(const CPoint& client)
{
    AfterCaretChange(m_caret.MoveTo(client));
    // The caret stays in sight a whole blink after each move.
    if (m_caretTimer.IsRunning())
        m_caretTimer.Start();
}

void COrvelView::HideTextCaret()
{
    AfterCaretChange(m_caret.Hide());
}

bool COrvelView::IsTextCaretShown() const
{
    return m_caret.IsShown();
}

void COrvelView::OnFocusChange(wxFocusEvent& event)
{
    AfterCaretChange(m_caret.SetFocus(event.GetEventType() == wxEVT_SET_FOCUS));
    event.Skip();
}

void COrvelView::OnCaretTimer(wxTimerEvent&)
{
    AfterCaretChange(m_caret.Blink());
}

void COrvelView::AfterCaretChange(const ViewCaret::Areas& areas)
{
    for (const CRect& area : areas)
        RefreshClientRect(area);
    // The toolkit's blink time, as its own carets use; none means a caret that does not blink.
    const int period = wxCaret::GetBlinkTime();
    if (!m_caret.Blinks() || period <= 0)
        m_caretTimer.Stop();
    else if (!m_caretTimer.IsRunning())
        m_caretTimer.Start(period);
}

EditedTilePainter COrvelView::EditedTextPainter() const
{
    if (!m_pPage->IsEditingInPlace() || !EditedTextOf(*m_pPage))
        return {};
    // The tiles may be drawn on other threads, which ask the program nothing: the link colour is asked here.
    const TextServiceAnswers answers{GetTextLinkColor(), nullptr, false};
    return [this, answers](const CRect& tile, BYTE* pixels, int stride) {
        const ScopedTextServiceAnswers scope(answers);
        DrawEditedText(tile, pixels, stride);
    };
}

void COrvelView::DrawEditedText(const CRect& tile, BYTE* pixels, int stride) const
{
    const CTextObject* text = EditedTextOf(*m_pPage);
    if (!text)
        return;
    DPOINT centre;
    text->GetCenter(centre);
    SIZE size;
    text->GetSize(size);
    CRect box(-3, -3, size.cx + 3, size.cy + 3);
    box.OffsetRect(static_cast<int>(std::floor(centre.x - size.cx * 0.5)),
                   static_cast<int>(std::floor(centre.y - size.cy * 0.5)));
    CRect part;
    if (!part.IntersectRect(box, tile))
        return;
    // A map over the tile's own pixels where they meet the text's box.
    CPixMap map(IMAGE_MODE_RGBA, 1, 1);
    if (!map.IsValid())
        return;
    map.width = part.Width();
    map.height = part.Height();
    map.plane[0].data = pixels + static_cast<ptrdiff_t>(part.top - tile.top) * stride +
                        static_cast<ptrdiff_t>(part.left - tile.left) * 4;
    map.plane[0].rowStep = stride;
    const POINT pageOrigin{-part.left, -part.top};
    const CTextBody& body = *text->GetTextBody();
    DrawEditing(body, map, RECT{0, 0, part.Width(), part.Height()}, pageOrigin);
    DrawSelectionRange(body, map, pageOrigin);
}

namespace {

// Picture files dragged from the file manager. Files that hold no picture are left out; the rest become objects
// where they are dropped.
class ViewDropTarget : public wxFileDropTarget
{
public:
    explicit ViewDropTarget(COrvelView* view) : m_view(view) {}

    wxDragResult OnDragOver(wxCoord x, wxCoord y, wxDragResult proposed) override
    {
        return m_view->AcceptsDrop() ? wxFileDropTarget::OnDragOver(x, y, proposed) : wxDragNone;
    }

    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& names) override
    {
        if (!m_view->AcceptsDrop())
            return false;
        std::vector<std::string> pictures;
        for (const wxString& name : names) {
            const std::string path = PathFromWx(name);
            if (!path.empty() && IsDroppablePicture(path))
                pictures.push_back(path);
        }
        if (pictures.empty())
            return false;
        DropPictureFiles(*m_view->GetPage(), pictures, m_view->ClientToPage(CPoint(x, y)));
        m_view->InvalidateView(true);
        return true;
    }

private:
    COrvelView* m_view;
};

} // namespace

bool COrvelView::AcceptsDrop() const
{
    return !m_pPage->IsEditingInPlace() && !m_tools->IsDragging() && !m_tools->IsTextBand() &&
           !m_tools->IsTextFrameResize() && !m_tools->IsGuideDrag();
}

void COrvelView::TakeDroppedFiles()
{
    SetDropTarget(new ViewDropTarget(this));
}
