#include <algorithm>
#include <cmath>

#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"

namespace {

// The caret's bitmap is 100 rows high, so no caret is taller.
constexpr int kMaxCaretHeight = 100;

int LineFirst(const CTextParagraph& para, int line)
{
    return para.m_lines[static_cast<size_t>(line) * 2];
}

int LineLast(const CTextParagraph& para, int line)
{
    return para.m_lines[static_cast<size_t>(line) * 2 + 1];
}

// The line whose first <= index <= last; an index past every line belongs to the last. -1 before the first layout.
int LineOfIndex(const CTextParagraph& para, int index)
{
    const int lines = para.GetLineCount();
    for (int line = 0; line < lines; ++line)
        if (LineFirst(para, line) <= index && index <= LineLast(para, line))
            return line;
    return lines - 1;
}

// Whether a line table entry can be used on the paragraph's characters as they are now.
bool IsLineUsable(const CTextParagraph& para, int line)
{
    if (line < 0 || line >= para.GetLineCount())
        return false;
    const int first = LineFirst(para, line);
    const int last = LineLast(para, line);
    return first >= 0 && first <= last && last < para.GetCount();
}

// Where the caret goes at the right end of a line: after the last character on a paragraph's last line, else before
// it, so that the caret stays on the line it was put on (after a wrapped line's last character is the next line's
// start).
int LineEndIndex(const CTextParagraph& para, int line)
{
    const int last = LineLast(para, line);
    return line == para.GetLineCount() - 1 ? last + 1 : last;
}

// The caret index on a line nearest to the column x. Taking the nearer boundary, rather than always the one before
// the character under the column, keeps the column steady over repeated moves up and down: a caret x lies exactly
// on a boundary, and "before the character whose right edge reaches x" would step one character left each time.
int ColumnIndex(const CTextParagraph& para, int line, int x)
{
    if (!IsLineUsable(para, line))
        return 0;
    const int first = LineFirst(para, line);
    const int last = LineLast(para, line);
    const int end = LineEndIndex(para, line);
    for (int k = first; k <= last; ++k) {
        const CTextChar& ch = para.m_chars[k];
        const int right = ch.m_nLeft + ch.m_nWidth;
        if (right >= x) {
            const int index = x - ch.m_nLeft > right - x ? k + 1 : k;
            return std::min(index, end);
        }
    }
    return end;
}

// The largest ascent and descent of the laid-out line holding the character at index.
void LineExtentAt(const CTextParagraph& para, int index, int& ascent, int& descent)
{
    int first = index, last = index;
    const int line = LineOfIndex(para, index);
    if (IsLineUsable(para, line) && LineFirst(para, line) <= index && index <= LineLast(para, line)) {
        first = LineFirst(para, line);
        last = LineLast(para, line);
    }
    ascent = descent = 0;
    for (int k = first; k <= last; ++k) {
        ascent = std::max(ascent, para.m_chars[k].m_ascent);
        descent = std::max(descent, para.m_chars[k].m_descent);
    }
}

int CurrentPointSize()
{
    const CAppSettings* settings = GetAppSettings();
    return settings ? settings->m_textFontSize : CAppSettings().m_textFontSize;
}

// The caret's place (x and the top y, in text coordinates) and height for its paragraph and index.
void LocateCaret(const CTextBody& body, int objectWidth, int& x, int& y, int& height)
{
    const CTextParagraph& para = body.m_paragraphs[body.m_caretPara];
    const auto& c = para.m_chars;
    const int count = para.GetCount();
    const int i = body.m_caretIndex;
    if (count == 0) {
        x = para.m_nLeft;
        if (body.m_alignment == CTextBody::alignCenter)
            x = (objectWidth - 4) / 2 + para.m_nLeft;
        else if (body.m_alignment == CTextBody::alignRight)
            x = objectWidth - 2;
        y = para.m_firstBaseline;
        height = MulDiv(CurrentPointSize(), kTextResolution, 72);
    } else if (i == 0 || (para.IsLineStart(i) && i < count)) {
        // A caret at a line's start stands before that line's first character (also when the line holds a
        // paragraph's last character alone).
        x = c[i].m_nLeft;
        y = c[i].m_baseline - c[i].m_ascent;
        height = c[i].m_ascent + c[i].m_descent;
    } else {
        const CTextChar& d = c[std::max(i - 1, 0)];
        x = d.m_nLeft + d.m_nWidth;
        y = d.m_baseline - d.m_ascent;
        height = d.m_ascent + d.m_descent;
    }
}

// Runs a caret move. With extend the selection grows from the caret's place before the move, and is empty again
// when the caret comes back to its anchor; without it the selection is left alone.
template <class Move> void MoveCaret(CTextBody& body, bool extend, Move move)
{
    if (!CaretIsInText(body))
        return;
    if (extend && body.m_selectionEmpty) {
        body.m_anchorPara = body.m_focusPara = body.m_caretPara;
        body.m_anchorIndex = body.m_focusIndex = body.m_caretIndex;
    }
    move(body);
    if (extend) {
        body.m_focusPara = body.m_caretPara;
        body.m_focusIndex = body.m_caretIndex;
        body.m_selectionEmpty = body.m_anchorPara == body.m_focusPara && body.m_anchorIndex == body.m_focusIndex;
    }
}

// The caret to the character boundary at a point in text coordinates. The first paragraph, and in it the first
// line, whose bottom lies below the point is hit: a point above the text, or in a line's descent, hits the line it
// is next to. A point below every line goes to the start of the last line.
void CaretToPoint(CTextBody& body, int x, int y)
{
    for (int p = 0; p < body.GetParagraphCount(); ++p) {
        const CTextParagraph& para = body.m_paragraphs[p];
        if (para.m_chars.empty()) {
            if (y < para.m_firstBaseline + para.m_emptyHeight) {
                body.m_caretPara = p;
                body.m_caretIndex = 0;
                return;
            }
            continue;
        }
        for (int line = 0; line < para.GetLineCount(); ++line) {
            if (!IsLineUsable(para, line))
                continue;
            const int first = LineFirst(para, line);
            int ascent = 0, descent = 0;
            LineExtentAt(para, first, ascent, descent);
            if (y < para.m_chars[first].m_baseline + descent) {
                body.m_caretPara = p;
                body.m_caretIndex = ColumnIndex(para, line, x);
                return;
            }
        }
    }
    body.m_caretPara = body.GetParagraphCount() - 1;
    const CTextParagraph& last = body.m_paragraphs[body.m_caretPara];
    const int line = last.GetLineCount() - 1;
    body.m_caretIndex = body.IsBlank() || !IsLineUsable(last, line) ? 0 : LineFirst(last, line);
}

// Page up and down: the point a client area's height above or below the caret.
void MoveCaretByPage(CTextBody& body, bool extend, int direction)
{
    CRect client;
    if (PageView* view = GetCurrentView())
        client = view->GetViewClientRect();
    const int x = body.m_caretX;
    const int y = body.m_caretY + direction * client.Height();
    MoveCaret(body, extend, [x, y](CTextBody& b) { CaretToPoint(b, x, y); });
}

// Home and End: to the first index of the caret's line, or to its end (before a wrapped line's trailing blank,
// after the last character of a paragraph's last line). Nothing moves in a blank text.
void MoveCaretInLine(CTextBody& body, bool extend, bool toEnd)
{
    MoveCaret(body, extend, [toEnd](CTextBody& b) {
        if (b.IsBlank())
            return;
        const CTextParagraph& para = b.m_paragraphs[b.m_caretPara];
        const int line = LineOfIndex(para, b.m_caretIndex);
        if (line >= 0)
            b.m_caretIndex = std::clamp(toEnd ? LineEndIndex(para, line) : LineFirst(para, line), 0, para.GetCount());
    });
}

} // namespace

void CTextObject::MoveCaretLeft(bool extend)
{
    MoveCaret(*body, extend, [](CTextBody& b) {
        if (b.m_caretIndex > 0) {
            --b.m_caretIndex;
        } else if (b.m_caretPara > 0) {
            --b.m_caretPara;
            b.m_caretIndex = b.m_paragraphs[b.m_caretPara].GetCount();
        }
    });
}

void CTextObject::MoveCaretRight(bool extend)
{
    MoveCaret(*body, extend, [](CTextBody& b) {
        if (b.m_caretIndex < b.m_paragraphs[b.m_caretPara].GetCount()) {
            ++b.m_caretIndex;
        } else if (b.m_caretPara + 1 < b.GetParagraphCount()) {
            ++b.m_caretPara;
            b.m_caretIndex = 0;
        }
    });
}

void CTextObject::MoveCaretLineStart(bool extend)
{
    MoveCaretInLine(*body, extend, false);
}

void CTextObject::MoveCaretLineEnd(bool extend)
{
    MoveCaretInLine(*body, extend, true);
}

void CTextObject::MoveCaretUp(bool extend)
{
    MoveCaret(*body, extend, [](CTextBody& b) {
        int p = b.m_caretPara;
        int line = LineOfIndex(b.m_paragraphs[p], b.m_caretIndex) - 1;
        if (line < 0) {
            if (p == 0)
                return;
            --p;
            line = b.m_paragraphs[p].GetLineCount() - 1;
        }
        b.m_caretPara = p;
        b.m_caretIndex = ColumnIndex(b.m_paragraphs[p], line, b.m_caretX);
    });
}

void CTextObject::MoveCaretDown(bool extend)
{
    MoveCaret(*body, extend, [](CTextBody& b) {
        int p = b.m_caretPara;
        int line = LineOfIndex(b.m_paragraphs[p], b.m_caretIndex) + 1;
        if (line >= b.m_paragraphs[p].GetLineCount()) {
            if (p + 1 >= b.GetParagraphCount())
                return;
            ++p;
            line = 0;
        }
        b.m_caretPara = p;
        b.m_caretIndex = ColumnIndex(b.m_paragraphs[p], line, b.m_caretX);
    });
}

void CTextObject::MoveCaretPageUp(bool extend)
{
    MoveCaretByPage(*body, extend, -1);
}

void CTextObject::MoveCaretPageDown(bool extend)
{
    MoveCaretByPage(*body, extend, 1);
}

void CTextObject::SetCaretFromPoint(int x, int y, bool extend)
{
    MoveCaret(*body, extend, [x, y](CTextBody& b) { CaretToPoint(b, x, y); });
}

void CTextObject::SelectAll()
{
    SetCaretFromPoint(0, 0);
    body->m_selectionEmpty = 1;
    MoveCaret(*body, true, [](CTextBody& b) {
        b.m_caretPara = b.GetParagraphCount() - 1;
        b.m_caretIndex = b.m_paragraphs[b.m_caretPara].GetCount();
    });
}

void CTextObject::GetRangeRect(RECT& rect, int startPara, int endPara, int startIndex, int endIndex) const
{
    const CTextBody& body = *this->body;
    const int paragraphs = body.GetParagraphCount();
    if (paragraphs == 0)
        return;
    startPara = std::clamp(startPara, 0, paragraphs - 1);
    endPara = std::clamp(endPara, 0, paragraphs - 1);
    SIZE size;
    GetSize(size);

    int top = 0, bottom = 0, ascent = 0, descent = 0;
    const CTextParagraph& first = body.m_paragraphs[startPara];
    if (first.m_chars.empty()) {
        top = first.m_firstBaseline;
    } else {
        const int i = std::clamp(startIndex, 0, first.GetCount() - 1);
        LineExtentAt(first, i, ascent, descent);
        top = first.m_chars[i].m_baseline - ascent;
    }
    const CTextParagraph& last = body.m_paragraphs[endPara];
    if (last.m_chars.empty()) {
        bottom = last.m_firstBaseline + last.m_emptyHeight;
    } else {
        const int i = std::clamp(std::max(endIndex, 1) - 1, 0, last.GetCount() - 1);
        LineExtentAt(last, i, ascent, descent);
        bottom = last.m_chars[i].m_baseline + descent;
    }
    CRect all(rect);
    all |= CRect(0, top, size.cx, bottom);
    rect = all;
}

int CTextObject::GetSelectionRect(RECT& rect) const
{
    const CTextBody& body = *this->body;
    if (body.m_selectionEmpty)
        return 0;
    int startPara = 0, endPara = 0, startIndex = 0, endIndex = 0;
    body.GetOrderedSelection(startPara, endPara, startIndex, endIndex);
    GetRangeRect(rect, startPara, endPara, startIndex, endIndex);
    return 1;
}

void CTextObject::UpdateCaret(int prevPara, int prevIndex)
{
    (void)prevPara, (void)prevIndex;
    CTextBody& body = *this->body;
    if (!CaretIsInText(body))
        return;
    SIZE size;
    GetSize(size);
    int height = 0;
    LocateCaret(body, size.cx, body.m_caretX, body.m_caretY, height);
    body.m_caretHeight = std::min(height, kMaxCaretHeight);

    PageView* view = GetCurrentView();
    if (!view)
        return;
    view->SetCaretShape(body.m_caretHeight);

    DPOINT centre;
    GetCenter(centre);
    const auto clientPosition = [&] {
        CPoint origin;
        origin = view->GetPageOrigin();
        const CPoint scroll = view->GetScrollPosition();
        return CPoint(static_cast<int>(std::floor(centre.x - size.cx * 0.5)) + body.m_caretX + origin.x - scroll.x,
                      static_cast<int>(std::floor(centre.y - size.cy * 0.5)) + body.m_caretY + origin.y - scroll.y);
    };

    CRect client;
    client = view->GetViewClientRect();
    const int w = client.Width();
    const int h = client.Height();
    const CSize page = view->GetPageSize();
    // Each step scrolls from where the one before left the view.
    CPoint at = clientPosition();
    if (at.y + body.m_caretHeight > h && h < page.cy) {
        const CPoint scroll = view->GetScrollPosition();
        view->ScrollToPosition(CPoint(scroll.x, scroll.y + body.m_caretHeight));
        at = clientPosition();
    }
    if (at.y < 0 && h < page.cy) {
        const CPoint scroll = view->GetScrollPosition();
        view->ScrollToPosition(CPoint(scroll.x, std::max(0, scroll.y + at.y)));
        at = clientPosition();
    }
    if (at.x > w && w < page.cx) {
        const CPoint scroll = view->GetScrollPosition();
        view->ScrollToPosition(CPoint(std::min(scroll.x + at.x - 2 * w / 3, page.cx - w), scroll.y));
        at = clientPosition();
    }
    if (at.x < 0 && w < page.cx) {
        const CPoint scroll = view->GetScrollPosition();
        view->ScrollToPosition(CPoint(std::max(0, scroll.x + at.x - w / 3), scroll.y));
        at = clientPosition();
    }
    view->SetCaretPos(at);
    view->InvalidateViewRect(CRect(at.x, at.y, at.x + 1, at.y + kMaxCaretHeight), false);
}
