#include "app/objects/text_measure.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "app/model/services.h"
#include "app/objects/text_layout.h"
#include "image/image.h"

namespace {

// The top-left corner of the body's frame on the page.
POINT FrameOrigin(const CTextBody& body)
{
    const TextBodyOwner* owner = body.GetOwner();
    if (!owner)
        return POINT{0, 0};
    double cx = 0.0, cy = 0.0;
    owner->GetTextObjectCenter(cx, cy);
    const SIZE size = owner->GetTextObjectSize();
    return POINT{RoundHalfUp(cx - size.cx * 0.5), RoundHalfUp(cy - size.cy * 0.5)};
}

// The width of the body's frame as its object shows it.
int FrameWidth(const CTextBody& body)
{
    const TextBodyOwner* owner = body.GetOwner();
    return owner ? owner->GetTextObjectSize().cx : body.m_nWidth;
}

// The largest ascent and descent of the characters of a line.
void LineExtent(const CTextParagraph& para, int s, int e, int& ascent, int& descent)
{
    ascent = 0;
    descent = 0;
    for (int k = s; k <= e; ++k) {
        ascent = std::max(ascent, para.m_chars[k].m_ascent);
        descent = std::max(descent, para.m_chars[k].m_descent);
    }
}

} // namespace

int RoundHalfUp(double v)
{
    if (!(v == v))
        return 0;
    v = std::clamp(v, -2147483648.0, 2147483646.0);
    const double t = std::trunc(v);
    return static_cast<int>(v - t >= 0.5 ? std::trunc(v + 1.0) : t);
}

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const int64_t n = static_cast<int64_t>(a) * b;
    const int64_t d = c;
    const bool negative = (n < 0) != (d < 0);
    const int64_t an = std::llabs(n);
    const int64_t ad = std::llabs(d);
    const int64_t q = (an + ad / 2) / ad;
    const int64_t result = negative ? -q : q;
    if (result > INT_MAX || result < INT_MIN)
        return -1;
    return static_cast<int>(result);
}

LONG PointSizeToFontHeight(int pointSize)
{
    return -MulDiv(pointSize, kTextResolution, 72);
}

void InitDefaultLogFont(LOGFONT& logFont)
{
    logFont = LOGFONT();
    logFont.lfHeight = PointSizeToFontHeight(12);
    logFont.lfWeight = 400;
    logFont.lfCharSet = 1;
    logFont.lfQuality = 2;
    logFont.lfFaceName = "noname";
}

LOGFONT MakeCharLogFont(const CTextChar& ch)
{
    LOGFONT logFont;
    InitDefaultLogFont(logFont);
    logFont.lfHeight = PointSizeToFontHeight(ch.m_pointSize);
    logFont.lfWeight = ch.m_bBold ? 700 : 400;
    logFont.lfItalic = ch.m_bItalic;
    logFont.lfUnderline = ch.m_bUnderline;
    logFont.lfFaceName = GetTextFaceName(ch.m_faceIndex);
    return logFont;
}

void TextMeasurer::Measure(CTextChar& ch)
{
    const Key key{ch.m_faceIndex, ch.m_pointSize, ch.m_bBold, ch.m_bItalic, ch.m_bUnderline};
    if (!m_font || !(key == m_key)) {
        m_key = key;
        m_font = GetTextFont(MakeCharLogFont(ch));
        ++m_fontsMade;
    }
    const TEXTMETRIC& metrics = m_font->GetTextMetrics();
    const CSize extent = m_font->GetCharExtent(ch.m_ch);
    ch.m_nWidth = extent.cx;
    ch.m_nHeight = extent.cy;
    ch.m_ascent = metrics.tmAscent;
    ch.m_descent = metrics.tmDescent;
}

void TextMeasurer::Reset()
{
    m_font.reset();
}

TextMeasurer& GetTextMeasurer()
{
    static TextMeasurer measurer;
    return measurer;
}

CTextChar MakeTextChar(BYTE ch, WORD faceIndex, WORD pointSize, bool bold, bool italic, bool underline, COLORREF color,
                       const CLinkInfo& link, const CTextChar* model)
{
    CTextChar c;
    c.m_ch = ch;
    c.m_faceIndex = faceIndex;
    c.m_pointSize = pointSize;
    c.m_bBold = bold ? 1 : 0;
    c.m_bItalic = italic ? 1 : 0;
    c.m_bUnderline = underline ? 1 : 0;
    c.m_color = color;
    // The link is kept with borrowed measures too: dropping it would lose the character's link.
    c.m_link = link;
    if (model) {
        c.m_nWidth = model->m_nWidth;
        c.m_nHeight = model->m_nHeight;
        c.m_ascent = model->m_ascent;
        c.m_descent = model->m_descent;
    } else {
        GetTextMeasurer().Measure(c);
    }
    c.m_nLeft = kTextNotPlaced;
    c.m_baseline = kTextNotPlaced;
    c.m_needsPlacing = 1;
    return c;
}

void RemeasureTextChar(CTextChar& ch)
{
    GetTextMeasurer().Measure(ch);
}

bool IsFontDifferent(const CTextChar& ch, const LOGFONT& logFont, COLORREF color, int pointSize, bool linkActive)
{
    return (ch.m_bBold ? 700 : 400) != logFont.lfWeight || (ch.m_bItalic != 0) != (logFont.lfItalic != 0) ||
           (ch.m_bUnderline != 0) != (logFont.lfUnderline != 0) || ch.m_pointSize != pointSize ||
           GetTextFaceName(ch.m_faceIndex) != logFont.lfFaceName || ch.m_link.IsActive() != linkActive ||
           ch.m_color != color;
}

namespace {

bool IsLaidOutLine(const CTextParagraph& para, size_t pair)
{
    const int s = para.m_lines[pair], e = para.m_lines[pair + 1];
    return s >= 0 && e >= s && e < para.GetCount();
}

int LineBottom(const CTextParagraph& para, size_t pair)
{
    int ascent = 0, descent = 0;
    LineExtent(para, para.m_lines[pair], para.m_lines[pair + 1], ascent, descent);
    return para.m_chars[para.m_lines[pair]].m_baseline + descent;
}

// The first laid-out line of a paragraph whose bottom reaches y, as the index of its pair in m_lines; -1 when none
// does. Lines stack downwards, so their bottoms never go up: a paragraph whose last line stays above y is passed
// over at the cost of that line, and the others are searched by halves. A paragraph with lines not laid out is
// walked line by line.
int FirstLineReaching(const CTextParagraph& para, int y)
{
    const size_t pairs = para.m_lines.size() / 2;
    bool allLaidOut = true;
    int lastLaidOut = -1;
    for (size_t i = 0; i < pairs; ++i) {
        const bool laidOut = IsLaidOutLine(para, 2 * i);
        allLaidOut &= laidOut;
        if (laidOut)
            lastLaidOut = static_cast<int>(i);
    }
    if (lastLaidOut < 0 || LineBottom(para, 2 * static_cast<size_t>(lastLaidOut)) < y)
        return -1;
    if (!allLaidOut) {
        for (size_t i = 0; i < pairs; ++i)
            if (IsLaidOutLine(para, 2 * i) && LineBottom(para, 2 * i) >= y)
                return static_cast<int>(2 * i);
        return -1;
    }
    size_t low = 0, high = static_cast<size_t>(lastLaidOut);
    while (low < high) {
        const size_t middle = (low + high) / 2;
        if (LineBottom(para, 2 * middle) >= y)
            high = middle;
        else
            low = middle + 1;
    }
    return static_cast<int>(2 * low);
}

} // namespace

bool GetCharsInRect(const CTextBody& body, const RECT& rect, int& firstPara, int& firstIndex, int& lastPara,
                    int& lastIndex)
{
    // The first line that reaches down to the rectangle: it meets it unless it starts below it.
    int pair = -1;
    int p = 0;
    for (; p < body.GetParagraphCount() && pair < 0; ++p)
        pair = FirstLineReaching(body.m_paragraphs[p], rect.top);
    if (pair < 0)
        return false;
    --p;
    {
        const CTextParagraph& para = body.m_paragraphs[p];
        const int s = para.m_lines[pair], e = para.m_lines[pair + 1];
        int ascent = 0, descent = 0;
        LineExtent(para, s, e, ascent, descent);
        if (para.m_chars[s].m_baseline - ascent >= rect.bottom)
            return false;
        firstPara = p;
        firstIndex = s;
        for (int k = s; k <= e; ++k) {
            const CTextChar& ch = para.m_chars[k];
            if (ch.m_nLeft + ch.m_nWidth >= rect.left) {
                firstIndex = k;
                break;
            }
        }
    }

    // The last line meeting the rectangle is the last one that starts above its bottom.
    lastPara = firstPara;
    lastIndex = firstIndex;
    for (int q = firstPara; q < body.GetParagraphCount(); ++q) {
        const CTextParagraph& para = body.m_paragraphs[q];
        for (size_t i = q == firstPara ? static_cast<size_t>(pair) : 0; i + 1 < para.m_lines.size(); i += 2) {
            if (!IsLaidOutLine(para, i))
                continue;
            const int s = para.m_lines[i], e = para.m_lines[i + 1];
            if (q == firstPara && e < firstIndex)
                continue;
            int ascent = 0, descent = 0;
            LineExtent(para, s, e, ascent, descent);
            if (para.m_chars[s].m_baseline - ascent >= rect.bottom)
                return true;
            lastPara = q;
            lastIndex = s;
            for (int k = s; k <= e; ++k)
                if (para.m_chars[k].m_nLeft < rect.right)
                    lastIndex = k;
        }
    }
    return true;
}

namespace {

thread_local const TextServiceAnswers* t_answers = nullptr;

} // namespace

ScopedTextServiceAnswers::ScopedTextServiceAnswers(const TextServiceAnswers& answers) : m_previous(t_answers)
{
    t_answers = &answers;
}

ScopedTextServiceAnswers::~ScopedTextServiceAnswers()
{
    t_answers = m_previous;
}

const TextServiceAnswers* GetTextServiceAnswers()
{
    return t_answers;
}

COLORREF GetTextLinkColor()
{
    return t_answers ? t_answers->linkColor : GetCurrentState().GetSiteLinkColor();
}

void ForEachDrawnChar(const CTextBody& body, int startPara, int endPara, int startIndex, int endIndex, LinkLook look,
                      const std::function<void(const CTextChar&, const TextFont&, COLORREF)>& draw)
{
    // The format of the font in hand; a character of another format makes a new one.
    bool haveFormat = false;
    LOGFONT logFont;
    InitDefaultLogFont(logFont);
    COLORREF color = 0;
    int pointSize = 12;
    bool linkActive = false;
    COLORREF drawColor = 0;
    std::shared_ptr<const TextFont> font;

    startPara = std::max(startPara, 0);
    endPara = std::min(endPara, body.GetParagraphCount() - 1);
    for (int p = startPara; p <= endPara; ++p) {
        const CTextParagraph& para = body.m_paragraphs[p];
        const int from = p == startPara ? std::max(startIndex, 0) : 0;
        const int to = p == endPara ? std::min(endIndex, para.GetCount() - 1) : para.GetCount() - 1;
        for (int k = from; k <= to; ++k) {
            const CTextChar& ch = para.m_chars[k];
            if (!ch.IsPlaced())
                continue;
            if (!haveFormat || IsFontDifferent(ch, logFont, color, pointSize, linkActive)) {
                haveFormat = true;
                logFont = MakeCharLogFont(ch);
                color = ch.m_color;
                pointSize = ch.m_pointSize;
                linkActive = ch.m_link.IsActive();
                // The forced underline goes to the drawn font only, so that a run of linked characters of one
                // format keeps comparing equal and is drawn with one font.
                LOGFONT drawn = logFont;
                drawColor = ch.m_color;
                if (look.showLinks && (linkActive || look.allLinked)) {
                    drawColor = GetTextLinkColor();
                    drawn.lfUnderline = 1;
                }
                font = GetTextFont(drawn);
            }
            draw(ch, *font, drawColor);
        }
    }
}

void DrawTextRange(const CTextBody& body, CPixMap& target, POINT offset, int startPara, int endPara, int startIndex,
                   int endIndex)
{
    const POINT origin = FrameOrigin(body);
    const int x0 = origin.x + offset.x;
    const int y0 = origin.y + offset.y;
    ForEachDrawnChar(body, startPara, endPara, startIndex, endIndex, LinkLook{},
                     [&](const CTextChar& ch, const TextFont& font, COLORREF colour) {
                         font.DrawChar(target, x0 + ch.m_nLeft, y0 + ch.m_baseline, ch.m_ch, colour);
                     });
}

void DrawEditing(const CTextBody& body, CPixMap& target, const RECT& update, POINT pageOrigin)
{
    const POINT origin = FrameOrigin(body);
    CRect rect(update);
    rect.OffsetRect(-(origin.x + pageOrigin.x), -(origin.y + pageOrigin.y));
    rect.SetRect(std::max<int>(rect.left, 0), std::max<int>(rect.top, 0), std::max<int>(rect.right, 0),
                 std::max<int>(rect.bottom, 0));
    int firstPara = 0, firstIndex = 0, lastPara = 0, lastIndex = 0;
    if (GetCharsInRect(body, rect, firstPara, firstIndex, lastPara, lastIndex))
        DrawTextRange(body, target, pageOrigin, firstPara, lastPara, firstIndex, lastIndex);
}

CRect DrawSelectionRange(const CTextBody& body, CPixMap& target, POINT pageOrigin)
{
    if (body.m_selectionEmpty)
        return CRect();
    const POINT origin = FrameOrigin(body);
    const int x0 = origin.x + pageOrigin.x;
    const int y0 = origin.y + pageOrigin.y;
    const int limit = x0 + FrameWidth(body) - kTextMargin;

    std::vector<CRect> cells;
    int startPara = 0, endPara = 0, startIndex = 0, endIndex = 0;
    body.GetOrderedSelection(startPara, endPara, startIndex, endIndex);
    startPara = std::max(startPara, 0);
    endPara = std::min(endPara, body.GetParagraphCount() - 1);
    for (int p = startPara; p <= endPara; ++p) {
        const CTextParagraph& para = body.m_paragraphs[p];
        if (para.m_chars.empty()) {
            const int top = y0 + para.m_firstBaseline;
            cells.emplace_back(x0 + kTextMargin, top, limit, top + para.m_emptyHeight);
            continue;
        }
        for (size_t i = 0; i + 1 < para.m_lines.size(); i += 2) {
            const int s = para.m_lines[i];
            const int e = para.m_lines[i + 1];
            if (s < 0 || e < s || e >= para.GetCount())
                continue;
            int ascent = 0, descent = 0;
            LineExtent(para, s, e, ascent, descent);
            for (int k = s; k <= e; ++k) {
                const CTextChar& ch = para.m_chars[k];
                if (!body.IsCharSelected(p, k) || !ch.IsPlaced())
                    continue;
                cells.emplace_back(std::min(x0 + ch.m_nLeft, limit), y0 + ch.m_baseline - ascent,
                                   std::min(x0 + ch.m_nLeft + ch.m_nWidth, limit), y0 + ch.m_baseline + descent);
            }
        }
    }

    CRect changed;
    for (const auto& cell : cells)
        changed |= cell;
    CRect area;
    const bool rgb = target.mode == IMAGE_MODE_RGB || target.mode == IMAGE_MODE_RGBA;
    if (!rgb || target.bitsPerPlane != 8 || !target.IsValid() ||
        !area.IntersectRect(changed, CRect(0, 0, target.width, target.height)))
        return changed;

    // Every covered pixel is inverted once, however the cells meet.
    std::vector<BYTE> covered(static_cast<size_t>(area.Width()) * area.Height(), 0);
    for (const auto& cell : cells) {
        CRect part;
        if (!part.IntersectRect(cell, area))
            continue;
        for (int y = part.top; y < part.bottom; ++y)
            std::fill_n(covered.begin() + (static_cast<size_t>(y - area.top) * area.Width() + (part.left - area.left)),
                        part.Width(), BYTE(1));
    }
    const int first = target.mode == IMAGE_MODE_RGBA ? 1 : 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            if (!covered[static_cast<size_t>(y - area.top) * area.Width() + (x - area.left)])
                continue;
            for (int sample = first; sample < first + 3; ++sample) {
                unsigned char* value = target.Sample(x, y, sample);
                *value = static_cast<unsigned char>(255 - *value);
            }
        }
    return changed;
}
