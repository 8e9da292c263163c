#include "app/objects/text_layout.h"

#include <algorithm>
#include <cmath>

namespace {

// The value of the line that would start at start, scanning as far as the width allows. The character that
// reaches the limit still counts, so a line broken inside a word can take the value of the next line's first
// character.
template <class Metric> int LineMetricAhead(const CTextBody& body, const CTextParagraph& para, int start, Metric metric)
{
    if (start < 0)
        return para.m_emptyHeight;
    const int count = para.GetCount();
    int width = kTextMargin;
    int largest = 0;
    int uptoBlank = 0;
    bool blankSeen = false;
    for (int k = start; k < count; ++k) {
        const CTextChar& ch = para.m_chars[k];
        largest = std::max(largest, metric(ch));
        if (ch.IsBlank()) {
            uptoBlank = std::max(uptoBlank, largest);
            blankSeen = true;
        }
        width += ch.m_nWidth;
        if (width >= body.m_nWidth - kTextMargin)
            return blankSeen ? uptoBlank : largest;
    }
    return largest;
}

// Truncation toward zero that stays defined for whatever geometry an object holds.
int TruncToInt(double v)
{
    if (!(v == v))
        return 0;
    return static_cast<int>(std::clamp(v, -2147483648.0, 2147483647.0));
}

void AddBox(RECT& dirty, const CRect& box)
{
    CRect all(dirty);
    all |= box;
    dirty = all;
}

// Puts a character at (x, baseline), reporting its old and new boxes when it moved.
void PlaceChar(CTextBody& body, CTextChar& ch, int x, int baseline, int& descent, RECT& dirty)
{
    descent = std::max(descent, ch.m_descent);
    body.m_widestChar = std::max(body.m_widestChar, ch.m_nWidth);
    const bool placed = ch.IsPlaced();
    if (placed && ch.m_nLeft == x && ch.m_baseline == baseline && !ch.m_needsPlacing)
        return;
    if (placed)
        AddBox(dirty, ch.GetBox());
    ch.m_nLeft = x;
    ch.m_baseline = baseline;
    ch.m_needsPlacing = 0;
    AddBox(dirty, ch.GetBox());
}

// Places characters s..e on one line and returns the line's descent.
int PlaceLine(CTextBody& body, CTextParagraph& para, int s, int e, int baseline, RECT& dirty)
{
    int descent = 0;
    auto& chars = para.m_chars;
    if (body.m_alignment == CTextBody::alignRight) {
        // A trailing blank hangs past the right edge.
        int x = body.m_nWidth + para.m_nLeft - kTextMargin;
        if (chars[e].IsBlank())
            x += chars[e].m_nWidth;
        for (int k = e; k >= s; --k) {
            x -= chars[k].m_nWidth;
            PlaceChar(body, chars[k], x, baseline, descent, dirty);
        }
        return descent;
    }
    int x = para.m_nLeft;
    if (body.m_alignment == CTextBody::alignCenter) {
        int lineWidth = 0;
        for (int k = s; k <= e; ++k)
            lineWidth += chars[k].m_nWidth;
        if (chars[e].IsBlank())
            lineWidth -= chars[e].m_nWidth;
        x += (body.m_nWidth - lineWidth) / 2;
    }
    // Any other alignment (such as the justified one a file may carry) is laid out from the left, as a browser
    // shows it.
    for (int k = s; k <= e; ++k) {
        PlaceChar(body, chars[k], x, baseline, descent, dirty);
        x += chars[k].m_nWidth;
    }
    return descent;
}

// The last index of the line that starts at s: the character before the one that reaches the limit, or the last
// blank before it.
int FindLineEnd(const CTextParagraph& para, int s, int limit)
{
    const int count = para.GetCount();
    int x = para.m_nLeft;
    int overflow = -1;
    for (int k = s; k < count; ++k) {
        if (x + para.m_chars[k].m_nWidth >= limit) {
            overflow = k;
            break;
        }
        x += para.m_chars[k].m_nWidth;
    }
    if (overflow < 0)
        return count - 1;
    // Only a blank after the line's start can end it; the search stops there, so a long word costs no more than
    // its length. A line always takes at least one character, so even a box narrower than one character moves on.
    int blank = overflow;
    while (blank > s && !para.m_chars[blank].IsBlank())
        --blank;
    return blank > s ? blank : std::max(overflow - 1, s);
}

// Lays out the line that starts at s, then steps s and baseline on to the next line's.
void LayOutNextLine(CTextBody& body, CTextParagraph& para, int limit, int& s, int& baseline, RECT& dirty)
{
    const int e = FindLineEnd(para, s, limit);
    const int descent = PlaceLine(body, para, s, e, baseline, dirty);
    para.m_lines.push_back(s);
    para.m_lines.push_back(e);
    s = e + 1;
    baseline += descent + GetLineAscentAhead(body, para, s);
}

// Lays out one paragraph from y and returns where the next one starts.
int LayoutParagraph(CTextBody& body, CTextParagraph& para, int y, RECT& dirty)
{
    para.m_laidOutTop = y;
    para.m_nLeft = kTextMargin;
    para.m_firstBaseline = y + GetLineAscentAhead(body, para, 0);
    para.m_lines.clear();
    const int count = para.GetCount();
    if (count == 0) {
        para.m_lines = {-1, -1};
        para.m_laidOutBottom = para.m_firstBaseline + para.m_emptyHeight;
        return para.m_laidOutBottom;
    }
    const int limit = body.m_nWidth - kTextMargin;
    int s = 0;
    int baseline = para.m_firstBaseline;
    while (s < count) {
        LayOutNextLine(body, para, limit, s, baseline, dirty);
    }
    para.m_laidOutBottom = baseline;
    return baseline;
}

// Lays out again a paragraph whose characters at index were edited (removed old ones replaced by inserted new
// ones) while it kept its top, and returns where the next paragraph starts. A line's break and ascent look at
// most into the next line, so the lines up to two before the edited one stand; from there the lines are broken
// again until one starts, past the edit, at an old line's start and baseline: from that line on nothing moves
// and the old lines only take the new indices.
int LayoutEditedParagraph(CTextBody& body, CTextParagraph& para, int index, int removed, int inserted, RECT& dirty)
{
    const std::vector<int> old = para.m_lines;
    const int count = para.GetCount();
    const int oldLines = static_cast<int>(old.size() / 2);
    if (count == 0 || old.empty() || old[0] < 0 || count - inserted + removed <= 0)
        return LayoutParagraph(body, para, para.m_laidOutTop, dirty);
    int edited = 0;
    while (edited + 1 < oldLines && old[2 * edited + 1] < index)
        ++edited;
    const int restart = edited - 2;
    if (restart <= 0)
        return LayoutParagraph(body, para, para.m_laidOutTop, dirty);

    const int delta = inserted - removed;
    const int limit = body.m_nWidth - kTextMargin;
    int s = old[2 * restart];
    int baseline = para.m_chars[s].m_baseline;
    int oldLine = restart;
    para.m_lines.resize(2 * static_cast<size_t>(restart));
    while (s < count) {
        if (s >= index + inserted) {
            while (oldLine < oldLines && old[2 * oldLine] < s - delta)
                ++oldLine;
            if (oldLine < oldLines && old[2 * oldLine] == s - delta && para.m_chars[s].m_baseline == baseline) {
                for (int k = oldLine; k < oldLines; ++k) {
                    para.m_lines.push_back(old[2 * k] + delta);
                    para.m_lines.push_back(old[2 * k + 1] + delta);
                }
                return para.m_laidOutBottom;
            }
        }
        LayOutNextLine(body, para, limit, s, baseline, dirty);
    }
    para.m_laidOutBottom = baseline;
    return baseline;
}

// Whether the text stands as a layout left it, with the width, alignment and paragraph count that layout had.
bool StandsAsLaidOut(CTextBody& body, bool laidOut, int paragraphChange)
{
    const double minWidth = 1.5 * body.m_widestChar;
    return laidOut && body.m_nWidth > minWidth && body.m_nWidth == body.m_laidOutWidth &&
           body.m_alignment == body.m_laidOutAlignment &&
           body.GetParagraphCount() == body.m_laidOutParagraphs + paragraphChange;
}

} // namespace

int GetLineAscentAhead(const CTextBody& body, const CTextParagraph& para, int start)
{
    return LineMetricAhead(body, para, start, [](const CTextChar& ch) { return ch.m_ascent; });
}

int GetLineDescentAhead(const CTextBody& body, const CTextParagraph& para, int start)
{
    return LineMetricAhead(body, para, start, [](const CTextChar& ch) { return ch.m_descent; });
}

int FindBreak(const CTextParagraph& para, int index)
{
    for (int k = std::min(index, para.GetCount() - 1); k >= 0; --k)
        if (para.m_chars[k].IsBlank())
            return k;
    return -1;
}

namespace {

// The body takes the height of its text, which ends at y, and the owner the body's size; the layout is recorded.
void FinishLayout(CTextBody& body, int y, RECT& dirty)
{
    body.m_laidOut = 1;
    body.m_laidOutWidth = body.m_nWidth;
    body.m_laidOutAlignment = body.m_alignment;
    body.m_laidOutParagraphs = body.GetParagraphCount();

    TextBodyOwner* owner = body.GetOwner();
    if (y != body.m_nHeight - kTextBottomSpace) {
        const int oldHeight = body.m_nHeight;
        body.m_nHeight = y + kTextBottomSpace;
        if (owner) {
            // The top edge stays where it was: the centre moves by half the growth.
            double cx = 0.0, cy = 0.0;
            owner->GetTextObjectCenter(cx, cy);
            owner->SetTextObjectCenter(cx, cy + (body.m_nHeight - oldHeight) * 0.5);
        }
        dirty = RECT{-10000, -10000, 10000, 10000};
    }
    if (!owner)
        return;

    double scaleX = 1.0, scaleY = 1.0;
    owner->GetTextObjectScale(scaleX, scaleY);
    owner->SetTextObjectSize(TruncToInt(body.m_nWidth * scaleX), TruncToInt(body.m_nHeight * scaleY));
    if (owner->IsTextObjectEditing()) {
        double cx = 0.0, cy = 0.0;
        owner->GetTextObjectCenter(cx, cy);
        const int left = TruncToInt(cx - body.m_nWidth / 2);
        const int top = TruncToInt(cy - body.m_nHeight / 2);
        owner->SetTextObjectBounds(RECT{left, top, left + body.m_nWidth, top + body.m_nHeight});
    }
}

// The paragraphs from first on, starting at y, are laid out until one starts where the last layout began it: that
// one and those after it stand. Then the body takes its height and the owner its size.
void LayoutParagraphsFrom(CTextBody& body, size_t first, int y, RECT& dirty)
{
    auto& paragraphs = body.m_paragraphs;
    for (size_t p = first; p < paragraphs.size(); ++p) {
        if (paragraphs[p].m_laidOutTop == y) {
            y = paragraphs.back().m_laidOutBottom;
            break;
        }
        y = LayoutParagraph(body, paragraphs[p], y, dirty);
    }
    FinishLayout(body, y, dirty);
}

} // namespace

void LayoutText(CTextBody& body, RECT& dirty)
{
    const double minWidth = 1.5 * body.m_widestChar;
    if (body.m_nWidth <= minWidth)
        body.m_nWidth = static_cast<int>(minWidth);

    int y = kTextMargin;
    for (auto& para : body.m_paragraphs)
        y = LayoutParagraph(body, para, y, dirty);
    FinishLayout(body, y, dirty);
}

void LayoutEditedChars(CTextBody& body, bool laidOut, int para, int index, int removed, int inserted, RECT& dirty)
{
    if (!StandsAsLaidOut(body, laidOut, 0) || para < 0 || para >= body.GetParagraphCount()) {
        LayoutText(body, dirty);
        return;
    }
    CTextParagraph& edited = body.m_paragraphs[static_cast<size_t>(para)];
    const int y = LayoutEditedParagraph(body, edited, index, removed, inserted, dirty);
    LayoutParagraphsFrom(body, static_cast<size_t>(para) + 1, y, dirty);
}

void LayoutEditedParagraphs(CTextBody& body, bool laidOut, int first, int last, int paragraphChange, RECT& dirty)
{
    if (!StandsAsLaidOut(body, laidOut, paragraphChange) || first < 0 || last < first ||
        last >= body.GetParagraphCount()) {
        LayoutText(body, dirty);
        return;
    }
    auto& paragraphs = body.m_paragraphs;
    int y = first == 0 ? kTextMargin : paragraphs[static_cast<size_t>(first) - 1].m_laidOutBottom;
    for (int p = first; p <= last; ++p)
        y = LayoutParagraph(body, paragraphs[static_cast<size_t>(p)], y, dirty);
    LayoutParagraphsFrom(body, static_cast<size_t>(last) + 1, y, dirty);
}
