#include <algorithm>
#include <cstdlib>

#include "app/model/app_settings.h"
#include "app/model/record_stream.h"
#include "app/model/services.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"
#include "platform/win/little_endian.h"

namespace {

constexpr WORD kMixed = 65535;
// The stream version the clipboard's format records are written in.
constexpr int kClipboardMajor = 5;
constexpr int kClipboardMinor = 15;

// The ordered selection clamped into the text as it is now, so that stale ends never index past a paragraph.
struct Range
{
    int startPara = 0;
    int endPara = 0;
    int startIndex = 0;
    int endIndex = 0;
};

Range ClampedSelection(const CTextBody& body)
{
    Range r;
    body.GetOrderedSelection(r.startPara, r.endPara, r.startIndex, r.endIndex);
    const int last = body.GetParagraphCount() - 1;
    r.startPara = std::clamp(r.startPara, 0, last);
    r.endPara = std::clamp(r.endPara, r.startPara, last);
    r.startIndex = std::clamp(r.startIndex, 0, body.m_paragraphs[r.startPara].GetCount());
    r.endIndex = std::clamp(r.endIndex, 0, body.m_paragraphs[r.endPara].GetCount());
    if (r.startPara == r.endPara)
        r.endIndex = std::max(r.endIndex, r.startIndex);
    return r;
}

// Hands each character of a range (end index exclusive in the last paragraph) to visit, and calls
// between(paragraph) after every paragraph of the range but the last.
template <class Visit, class Between>
void ForEachInRange(const CTextBody& body, const Range& r, Visit visit, Between between)
{
    for (int p = r.startPara; p <= r.endPara; ++p) {
        const auto& chars = body.m_paragraphs[p].m_chars;
        const int from = p == r.startPara ? r.startIndex : 0;
        const int to = p == r.endPara ? r.endIndex : static_cast<int>(chars.size());
        for (int k = from; k < to; ++k)
            visit(p, k);
        if (p < r.endPara)
            between(p);
    }
}

// The settings new text takes its format from; the defaults while the program has installed none.
CAppSettings& CurrentSettings()
{
    static CAppSettings defaults;
    CAppSettings* settings = GetAppSettings();
    return settings ? *settings : defaults;
}

// Reads one byte of a clipboard block; false at the end of the data.
bool ReadClipboardByte(CFile& file, BYTE& b)
{
    return file.Read(&b, 1) == 1;
}

// Whether the data ends inside a link's tag. A character record whose link was cut inside its tag reads as a
// record without a link followed by the tag's first bytes; no sound block holds so few bytes after a record
// unless they start with its 0, so those bytes mean the block was cut in that character's link.
bool EndsInsideLinkTag(const CMemFile& file)
{
    const ULONGLONG length = file.GetLength();
    const ULONGLONG position = file.GetPosition();
    if (position >= length || length - position >= 4)
        return false;
    BYTE tag[4];
    StoreLE32(tag, CLinkInfo::kTag);
    const BYTE* rest = file.GetBuffer() + position;
    return std::equal(rest, rest + (length - position), tag);
}

// The bounds of the run around the caret of characters for which belongs is true; the caret must lie strictly
// inside it, with such a character on either side.
template <class Belongs> bool RunBounds(const CTextParagraph& para, int index, int& start, int& end, Belongs belongs)
{
    const int count = para.GetCount();
    if (index <= 0 || index >= count || !belongs(para.m_chars[index - 1]) || !belongs(para.m_chars[index]))
        return false;
    start = index - 1;
    while (start > 0 && belongs(para.m_chars[start - 1]))
        --start;
    end = index;
    while (end < count && belongs(para.m_chars[end]))
        ++end;
    return true;
}

// Runs change over every character an attribute command acts on: the selection, or without one the caret's word
// (or its link run), re-measuring each; dirty grows over the characters before and after. Nothing happens when
// there is neither.
template <class Change>
void ChangeCommandChars(CTextObject& object, CTextBody& b, bool linkRun, RECT& dirty, Change change)
{
    const bool selection = !b.m_selectionEmpty;
    Range r;
    if (selection) {
        r = ClampedSelection(b);
    } else {
        int start = 0, end = 0;
        if (!(linkRun ? object.GetLinkRunBounds(start, end) : object.GetWordBounds(start, end)))
            return;
        r = Range{b.m_caretPara, b.m_caretPara, start, end};
    }
    object.GetRangeRect(dirty, r.startPara, r.endPara, r.startIndex, r.endIndex);
    ForEachInRange(
        b, r,
        [&](int p, int k) {
            CTextChar& ch = b.m_paragraphs[p].m_chars[k];
            if (!change(ch))
                return;
            RemeasureTextChar(ch);
            ch.m_needsPlacing = 1;
            b.m_widestChar = std::max(b.m_widestChar, ch.m_nWidth);
        },
        [](int) {});
    if (selection)
        object.GetRangeRect(dirty, r.startPara, r.endPara, r.startIndex, r.endIndex);
}

} // namespace

void CTextObject::InsertChar(RECT& dirty, BYTE ch, bool relayout)
{
    // A selection deleted on the way lays the text out, which counts as well.
    const bool laidOut = body->m_laidOut != 0;
    body->SetModified();
    if (!body->m_selectionEmpty)
        DeleteSelectedChars(dirty, true);
    if (!CaretIsInText(*body))
        return;
    {
        const CTextParagraph& para = body->m_paragraphs[body->m_caretPara];
        const int i = body->m_caretIndex;
        // Never two blanks in a row: a blank next to one only steps over it.
        if (ch == ' ' && para.GetCount() > 0) {
            if (i > 0 && para.m_chars[i - 1].IsBlank())
                return;
            if (i < para.GetCount() && para.m_chars[i].IsBlank()) {
                MoveCaretRight(false);
                return;
            }
        }
    }

    WORD face = 0, size = 12;
    BYTE bold = 0, italic = 0, underline = 0;
    COLORREF color = 0;
    CLinkInfo link;
    CAppSettings& settings = CurrentSettings();
    int start = 0, end = 0;
    if (GetWordBounds(start, end) && QueryCaretFormat(face, size, bold, italic, underline, color, link)) {
        // Inside a word the new letter continues the word's format, and the palettes show it.
        if (face < GetTextFaceNames().size())
            settings.m_textFont = GetTextFaceName(face);
        if (size != kMixed)
            settings.m_textFontSize = size;
        settings.m_textColor = CColor(static_cast<unsigned long>(color));
        settings.m_textBold = bold;
        settings.m_textItalic = italic;
        settings.m_textUnderline = underline;
    } else {
        face = FindFontIndex(settings.m_textFont);
        size = static_cast<WORD>(std::clamp(settings.m_textFontSize, 1, 0xFFFF));
        bold = settings.m_textBold;
        italic = settings.m_textItalic;
        underline = settings.m_textUnderline;
        color = static_cast<COLORREF>(settings.m_textColor.GetCOLORREF());
    }
    // Typing at the edge of a link does not extend it.
    link = CLinkInfo();
    GetLinkAtCaret(link);

    CTextChar c = MakeTextChar(ch, face, size, bold, italic, underline, color, link);
    body->m_widestChar = std::max(body->m_widestChar, c.m_nWidth);
    auto& chars = body->m_paragraphs[body->m_caretPara].m_chars;
    chars.insert(chars.begin() + body->m_caretIndex, std::move(c));
    ++body->m_caretIndex;
    if (relayout)
        LayoutEditedChars(*body, laidOut || body->m_laidOut, body->m_caretPara, body->m_caretIndex - 1, 0, 1, dirty);
}

void CTextObject::SplitParagraph(RECT& dirty)
{
    const bool laidOut = body->m_laidOut != 0;
    SplitParagraph();
    LayoutEditedParagraphs(*body, laidOut, body->m_caretPara - 1, body->m_caretPara, 1, dirty);
}

void CTextObject::DeleteChar(RECT& dirty, bool forward, bool report)
{
    const bool laidOut = body->m_laidOut != 0;
    body->SetModified();
    body->m_selectionEmpty = 1;
    if (!CaretIsInText(*body))
        return;
    CTextBody& b = *body;
    if (forward) {
        // Delete is a step right followed by Backspace.
        if (b.m_caretIndex == b.m_paragraphs[b.m_caretPara].GetCount()) {
            if (b.m_caretPara + 1 >= b.GetParagraphCount())
                return;
            ++b.m_caretPara;
            b.m_caretIndex = 0;
        } else {
            ++b.m_caretIndex;
        }
    }
    const int p = b.m_caretPara;
    if (b.m_caretIndex > 0) {
        const int i = --b.m_caretIndex;
        if (report)
            GetRangeRect(dirty, p, p, i, i + 1);
        auto& chars = b.m_paragraphs[p].m_chars;
        chars.erase(chars.begin() + i);
        if (report)
            LayoutEditedChars(b, laidOut, p, i, 1, 0, dirty);
    } else {
        if (p == 0)
            return;
        if (report)
            GetRangeRect(dirty, p, p, 0, 0);
        auto& previous = b.m_paragraphs[p - 1].m_chars;
        auto& joined = b.m_paragraphs[p].m_chars;
        b.m_caretPara = p - 1;
        b.m_caretIndex = static_cast<int>(previous.size());
        previous.insert(previous.end(), std::make_move_iterator(joined.begin()), std::make_move_iterator(joined.end()));
        b.m_paragraphs.erase(b.m_paragraphs.begin() + p);
        if (report)
            LayoutEditedParagraphs(b, laidOut, p - 1, p - 1, -1, dirty);
    }
}

void CTextObject::DeleteSelectedChars(RECT& dirty, bool toStart)
{
    (void)toStart;
    body->SetModified();
    if (body->m_selectionEmpty)
        return;
    CTextBody& b = *body;
    const Range r = ClampedSelection(b);
    GetRangeRect(dirty, r.startPara, r.endPara, r.startIndex, r.endIndex);
    // Deleting forward from the start and backward from the end leave the same text: the start paragraph keeps
    // what precedes the selection and takes what follows it, and the caret stands at the join. Doing it at once
    // keeps a large selection from costing a step per character.
    auto& first = b.m_paragraphs[r.startPara].m_chars;
    if (r.startPara == r.endPara) {
        first.erase(first.begin() + r.startIndex, first.begin() + r.endIndex);
    } else {
        auto& last = b.m_paragraphs[r.endPara].m_chars;
        first.erase(first.begin() + r.startIndex, first.end());
        first.insert(first.end(), std::make_move_iterator(last.begin() + r.endIndex),
                     std::make_move_iterator(last.end()));
        b.m_paragraphs.erase(b.m_paragraphs.begin() + r.startPara + 1, b.m_paragraphs.begin() + r.endPara + 1);
    }
    b.m_caretPara = r.startPara;
    b.m_caretIndex = r.startIndex;
    b.m_selectionEmpty = 1;
    LayoutText(b, dirty);
    if (PageView* view = GetCurrentView())
        view->InvalidateEditRect(CRect(dirty));
}

void CTextObject::ShowEdit(int prevPara, int prevIndex, const RECT& dirty)
{
    UpdateCaret(prevPara, prevIndex);
    if (PageView* view = GetCurrentView())
        view->InvalidateEditRect(CRect(dirty));
}

void CTextObject::DeleteSelection()
{
    if (body->m_selectionEmpty)
        return;
    const int prevPara = body->m_caretPara;
    const int prevIndex = body->m_caretIndex;
    RECT dirty{};
    DeleteSelectedChars(dirty, true);
    ShowEdit(prevPara, prevIndex, dirty);
}

template <typename Insert> void CTextObject::PasteReplacingSelection(Insert insert)
{
    body->SetModified();
    const int prevPara = body->m_caretPara;
    const int prevIndex = body->m_caretIndex;
    RECT dirty{};
    // A paste replaces the selection, also when it starts with a line break.
    if (!body->m_selectionEmpty)
        DeleteSelectedChars(dirty, true);
    insert(dirty);
    LayoutText(*body, dirty);
    ShowEdit(prevPara, prevIndex, dirty);
}

void CTextObject::PastePlainText(CMemFile& file)
{
    PasteReplacingSelection([&](RECT& dirty) {
        // The block ends at its 0 byte, or where the data ends when the 0 is missing.
        BYTE b = 0;
        bool have = ReadClipboardByte(file, b);
        while (have && b != 0) {
            if (b == '\r') {
                // CR LF is a line break; a CR before anything else is dropped and that byte taken as it comes.
                have = ReadClipboardByte(file, b);
                if (have && b == '\n') {
                    SplitParagraph();
                    have = ReadClipboardByte(file, b);
                }
                continue;
            }
            InsertChar(dirty, b < 32 ? BYTE(' ') : b, false);
            have = ReadClipboardByte(file, b);
        }
    });
}

void CTextObject::PasteFormattedText(CMemFile& file, bool resetPageLinks, bool clampPageLinks)
{
    PasteReplacingSelection([&](RECT& dirty) {
        const int pageCount = GetCurrentState().GetSitePageCount();
        try {
            BYTE b = 0;
            while (ReadClipboardByte(file, b) && b != 0) {
                if (b == 13) {
                    SplitParagraph();
                    continue;
                }
                CTextChar format;
                format.ReadFormat(file, kClipboardMajor, kClipboardMinor);
                if (EndsInsideLinkTag(file))
                    break;
                if (resetPageLinks)
                    format.m_link.ResetPageNumber();
                else if (clampPageLinks && pageCount >= 0)
                    format.m_link.ClampPageNumber(pageCount);
                InsertCharWithFormat(dirty, b, format.m_faceIndex, format.m_pointSize, format.m_bBold, format.m_bItalic,
                                     format.m_bUnderline, format.m_color, format.m_link);
            }
        } catch (const CFileException&) {
            // A block cut short inside a character's record: what came before it stays pasted.
        }
    });
}

void CTextObject::WriteSelectionText(CFile& file) const
{
    if (body->m_selectionEmpty)
        return;
    std::string bytes;
    ForEachInRange(
        *body, ClampedSelection(*body),
        [&](int p, int k) { bytes.push_back(static_cast<char>(body->m_paragraphs[p].m_chars[k].m_ch)); },
        [&](int) { bytes.push_back('\r'); });
    bytes.push_back('\0');
    file.Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

void CTextObject::WriteSelectionFormatted(CFile& file) const
{
    if (body->m_selectionEmpty)
        return;
    ForEachInRange(
        *body, ClampedSelection(*body),
        [&](int p, int k) {
            const CTextChar& ch = body->m_paragraphs[p].m_chars[k];
            WriteByte(file, ch.m_ch);
            ch.WriteFormat(file);
        },
        [&](int) { WriteByte(file, 13); });
    WriteByte(file, 0);
}

void CTextObject::ApplyFormatToSelection(int attribute, RECT& dirty, const CLinkInfo& link)
{
    body->SetModified();
    CTextBody& b = *body;
    const WORD face = attribute == 0 ? FindFontIndex(b.m_logFont.lfFaceName) : 0;
    // The current font's height is negative for a character height; either sign names the same size.
    const WORD size =
        static_cast<WORD>(std::clamp(std::abs(MulDiv(b.m_logFont.lfHeight, 72, kTextResolution)), 1, 0xFFFF));
    ChangeCommandChars(*this, b, attribute == 6, dirty, [&](CTextChar& ch) {
        switch (attribute) {
        case 0:
            ch.m_faceIndex = face;
            break;
        case 1:
            ch.m_pointSize = size;
            break;
        case 2:
            ch.m_bBold = b.m_logFont.lfWeight == 700;
            break;
        case 3:
            ch.m_bItalic = b.m_logFont.lfItalic == 1;
            break;
        case 4:
            ch.m_bUnderline = b.m_logFont.lfUnderline == 1;
            break;
        case 5:
            ch.m_color = b.m_curColor;
            break;
        case 6:
            ch.m_link = link;
            break;
        default:
            return false;
        }
        return true;
    });
}

void CTextObject::ApplyLinkFields(RECT& dirty, const TextLinkFields& fields)
{
    body->SetModified();
    CTextBody& b = *body;
    ChangeCommandChars(*this, b, true, dirty, [&](CTextChar& ch) {
        CLinkInfo& link = ch.m_link;
        if (fields.deactivate)
            link.SetActive(false);
        if (fields.activate)
            link.SetActive(true);
        if (fields.setPage) {
            link.SetKind(CLinkInfo::kindPage);
            link.SetPage(fields.page);
        }
        if (fields.setEmail) {
            link.SetKind(CLinkInfo::kindEmail);
            link.SetEmail(fields.email);
        }
        if (fields.setUrl) {
            link.SetKind(CLinkInfo::kindUrl);
            link.SetUrl(fields.url);
        }
        if (fields.setFile) {
            link.SetKind(CLinkInfo::kindFile);
            link.SetFile(fields.file);
        }
        if (fields.setTarget)
            link.SetTarget(fields.target);
        if (fields.setWholeLink)
            link = fields.wholeLink;
        return true;
    });
}

bool CTextObject::QueryCaretFormat(WORD& faceIndex, WORD& pointSize, BYTE& bold, BYTE& italic, BYTE& underline,
                                   COLORREF& color, CLinkInfo& link)
{
    const CTextBody& b = *body;
    if (b.m_selectionEmpty) {
        if (!CaretIsInText(b))
            return false;
        const CTextParagraph& para = b.m_paragraphs[b.m_caretPara];
        if (para.m_chars.empty())
            return false;
        const CTextChar& ch = para.m_chars[std::max(b.m_caretIndex - 1, 0)];
        faceIndex = ch.m_faceIndex;
        pointSize = ch.m_pointSize;
        bold = ch.m_bBold;
        italic = ch.m_bItalic;
        underline = ch.m_bUnderline;
        color = ch.m_color;
        link = ch.m_link;
        return true;
    }
    const CTextChar* first = nullptr;
    bool sameLink = true;
    ForEachInRange(
        b, ClampedSelection(b),
        [&](int p, int k) {
            const CTextChar& ch = b.m_paragraphs[p].m_chars[k];
            if (!first) {
                first = &ch;
                faceIndex = ch.m_faceIndex;
                pointSize = ch.m_pointSize;
                bold = ch.m_bBold;
                italic = ch.m_bItalic;
                underline = ch.m_bUnderline;
                color = ch.m_color;
                return;
            }
            if (ch.m_faceIndex != first->m_faceIndex)
                faceIndex = kMixed;
            if (ch.m_pointSize != first->m_pointSize)
                pointSize = kMixed;
            if (ch.m_color != first->m_color)
                color = 0;
            if (ch.m_link != first->m_link)
                sameLink = false;
        },
        [](int) {});
    if (!first)
        return false;
    if (sameLink)
        link = first->m_link;
    return true;
}

void CTextObject::GetSelectionFormat(TextLinkSameness& same, CLinkInfo& link) const
{
    same = TextLinkSameness{};
    const CTextBody& b = *body;
    if (b.m_selectionEmpty)
        return;
    const Range r = ClampedSelection(b);
    const CLinkInfo* first = nullptr;
    ForEachInRange(
        b, r,
        [&](int p, int k) {
            const CLinkInfo& l = b.m_paragraphs[p].m_chars[k].m_link;
            if (!first) {
                first = &l;
                link = l;
                return;
            }
            same.kind &= l.GetKind() == first->GetKind();
            same.active &= l.IsActive() == first->IsActive();
            same.page &= l.GetPage() == first->GetPage();
            same.email &= l.GetEmail() == first->GetEmail();
            same.url &= l.GetUrl() == first->GetUrl();
            same.file &= l.GetFile() == first->GetFile();
            same.target &= l.GetTarget() == first->GetTarget();
        },
        [](int) {});
    if (first) {
        switch (first->GetKind()) {
        case CLinkInfo::kindEmail:
            same.complete = !first->GetEmail().empty();
            break;
        case CLinkInfo::kindUrl:
            same.complete = !first->GetUrl().empty();
            break;
        case CLinkInfo::kindFile:
            same.complete = !first->GetFile().empty();
            break;
        default:
            break;
        }
    }
}

bool CTextObject::GetWordBounds(int& start, int& end)
{
    CTextBody& b = *body;
    if (!CaretIsInText(b))
        return false;
    if (!RunBounds(b.m_paragraphs[b.m_caretPara], b.m_caretIndex, start, end,
                   [](const CTextChar& ch) { return !ch.IsBlank(); }))
        return false;
    b.m_anchorPara = b.m_focusPara = b.m_caretPara;
    return true;
}

bool CTextObject::GetLinkRunBounds(int& start, int& end)
{
    CTextBody& b = *body;
    if (!CaretIsInText(b))
        return false;
    if (!RunBounds(b.m_paragraphs[b.m_caretPara], b.m_caretIndex, start, end,
                   [](const CTextChar& ch) { return ch.m_link.IsActive(); }))
        return GetWordBounds(start, end);
    b.m_anchorPara = b.m_focusPara = b.m_caretPara;
    return true;
}

bool CTextObject::GetLinkAtCaret(CLinkInfo& link) const
{
    const CTextBody& b = *body;
    if (!CaretIsInText(b))
        return false;
    const CTextParagraph& para = b.m_paragraphs[b.m_caretPara];
    const int i = b.m_caretIndex;
    if (i <= 0 || i >= para.GetCount() || !para.m_chars[i - 1].m_link.IsActive() || !para.m_chars[i].m_link.IsActive())
        return false;
    link = para.m_chars[i].m_link;
    return true;
}
