#include "app/objects/text_object.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>

#include "app/model/app_settings.h"
#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/services.h"
#include "app/model/string_attr.h"
#include "app/model/undo_manager.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"

namespace {

int TruncateToInt(double v)
{
    if (!(v > std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (!(v < std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

// The left (or top) edge of a length centred on c: truncated toward zero, one more when the dropped part is at
// least a half.
int HalfUpEdge(double c, int length)
{
    const double edge = c - length / 2.0;
    const int whole = TruncateToInt(edge);
    return edge - whole >= 0.5 && whole < std::numeric_limits<int>::max() ? whole + 1 : whole;
}

bool IsPlainFillKind(int kind)
{
    return kind == CFillInfo::FILL_COLOR || kind == CFillInfo::FILL_NONE;
}

} // namespace

bool CharFormatDiffers(const CTextChar& a, const CTextChar& b)
{
    return a.m_bBold != b.m_bBold || a.m_bItalic != b.m_bItalic || a.m_bUnderline != b.m_bUnderline ||
           a.m_pointSize != b.m_pointSize || a.m_faceIndex != b.m_faceIndex || a.m_color != b.m_color ||
           !(a.m_link == b.m_link);
}

CTextObject::CTextObject(double x, double y, const SIZE& size, double rotation)
    : CPathObject(x, y, size, rotation), body(std::make_unique<CTextBody>(this, size.cx, size.cy))
{
    fill->SetNone();
    dirty = 1;
    BuildOutline();
    UpdateHandles();
}

CTextObject::~CTextObject() = default;

std::unique_ptr<CPageObject> CTextObject::Create()
{
    return std::make_unique<CTextObject>(0.0, 0.0, SIZE{2, 2}, 0.0);
}

CRect CTextObject::CentredRect(int cx, int cy) const
{
    // A text stored far out keeps a rectangle that int can hold: its edges stop at the limit.
    const auto at = [](int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); };
    const int64_t left = int64_t(HalfUpEdge(centreX, cx)) + offsetX, top = int64_t(HalfUpEdge(centreY, cy)) + offsetY;
    return CRect(at(left), at(top), at(left + cx), at(top + cy));
}

// ---- Geometry ----

DPOINT CTextObject::TurnShown(double x, double y) const
{
    const double angle = -GetRotation();
    const double dx = x - centreX, dy = y - centreY;
    return DPOINT{centreX + dx * std::cos(angle) - dy * std::sin(angle),
                  centreY + dx * std::sin(angle) + dy * std::cos(angle)};
}

void CTextObject::BuildOutline()
{
    SIZE size;
    GetSize(size);
    const double left = centreX - size.cx / 2.0, top = centreY - size.cy / 2.0;
    const double right = left + size.cx, bottom = top + size.cy;
    const DPOINT corners[4] = {TurnShown(left, top), TurnShown(right, top), TurnShown(right, bottom),
                               TurnShown(left, bottom)};
    outline.Clear();
    outline.MoveTo(corners[0].x, corners[0].y);
    for (int i = 1; i < 4; ++i)
        outline.LineTo(corners[i].x, corners[i].y);
    outline.Close();
    FinishOutline();
    // While edited the object stands upright on its text box.
    if (editing)
        bounds = CentredRect(body->m_nWidth, body->m_nHeight);
}

void CTextObject::UpdateHandles()
{
    SIZE size;
    GetSize(size);
    const double left = centreX - size.cx / 2.0, top = centreY - size.cy / 2.0;
    const double right = left + size.cx, bottom = top + size.cy;
    const DPOINT unturned[kHandleCount] = {{left, top},      {centreX, top}, {right, top},      {left, centreY},
                                           {right, centreY}, {left, bottom}, {centreX, bottom}, {right, bottom}};
    // The centre already holds every whole-pixel move, so the pending shift is not added again.
    for (int i = 0; i < kHandleCount; ++i) {
        const DPOINT p = TurnShown(unturned[i].x, unturned[i].y);
        handles[i] = DPOINT{p.x + offsetX, p.y + offsetY};
    }
}

RECT& CTextObject::GetBounds(RECT& rect) const
{
    if (dirty && !editing) {
        CRect box = outline.GetBoundingBox();
        box.OffsetRect(offsetX + pendingShiftX, offsetY + pendingShiftY);
        rect = box;
        return rect;
    }
    rect = bounds;
    return rect;
}

SIZE& CTextObject::GetSize(SIZE& size) const
{
    size = editing ? SIZE{body->m_nWidth, body->m_nHeight} : SIZE{width, height};
    return size;
}

void CTextObject::SetSize(int cx, int cy)
{
    if (editing) {
        // The text reflows in a box never narrower than a character and a half.
        const double minWidth = 1.5 * body->m_widestChar + 2;
        const int newWidth = cx <= minWidth ? TruncateToInt(minWidth) : cx;
        const int newHeight = cy <= 3.5 ? 3 : cy;
        body->m_nWidth = newWidth;
        body->m_nHeight = newHeight;
        body->SetModified();
    } else {
        // The text is stretched; a collapsed drag keeps at least a pixel so that the scale stays positive.
        cx = std::max(cx, 1);
        cy = std::max(cy, 1);
        if (IsPlainObject())
            body->SetModified();
        scaleX = body->m_nWidth > 0 ? static_cast<double>(cx) / body->m_nWidth : 1.0;
        scaleY = body->m_nHeight > 0 ? static_cast<double>(cy) / body->m_nHeight : 1.0;
        width = cx;
        height = cy;
    }
    SetDirty();
    if (effects)
        effects->m_rebuild = true;
    BuildOutline();
    UpdateHandles();
}

double CTextObject::GetRotation() const
{
    return editing ? 0.0 : rotation;
}

void CTextObject::SetRotation(double newRotation)
{
    if (IsPlainObject())
        body->SetModified();
    rotation = newRotation;
    SetDirty();
    if (effects)
        effects->m_rebuild = true;
    BuildOutline();
    UpdateHandles();
}

SIZE& CTextObject::GetMinSize(SIZE& size) const
{
    if (!editing) {
        size = SIZE{1, 1};
        return size;
    }
    size = SIZE{TruncateToInt(1.5 * body->m_widestChar + 2), TruncateToInt(1.5 * body->m_tallestChar + 2)};
    return size;
}

SIZE& CTextObject::GetMaxSize(SIZE& size) const
{
    size = SIZE{1000000, 1000000};
    return size;
}

RECT& CTextObject::GetPaintRect(RECT& rect) const
{
    CPathObject::GetPaintRect(rect);
    if (editing) {
        // The caret and the selection reach a little beyond the text box.
        rect.left -= 1;
        rect.right += 1;
        rect.top -= 2;
        rect.bottom += 2;
    }
    return rect;
}

// ---- Records ----

std::unique_ptr<CFillInfo> CTextObject::SetFill(std::unique_ptr<CFillInfo> newFill)
{
    const bool wasPlain = IsPlainObject();
    std::unique_ptr<CFillInfo> old = CPathObject::SetFill(std::move(newFill));
    if (IsPlainObject() != wasPlain)
        body->SetModified();
    return old;
}

std::unique_ptr<CEffectSettings> CTextObject::SetEffects(std::unique_ptr<CEffectSettings> newEffects)
{
    const bool wasPlain = IsPlainObject();
    std::unique_ptr<CEffectSettings> old = CPathObject::SetEffects(std::move(newEffects));
    if (IsPlainObject() != wasPlain)
        body->SetModified();
    return old;
}

template <typename Change> bool CTextObject::ForEachCharLink(Change change)
{
    bool changed = false;
    for (CTextParagraph& para : body->m_paragraphs)
        for (CTextChar& ch : para.m_chars)
            changed = change(ch.m_link) || changed;
    return changed;
}

void CTextObject::OnPageDeleted(int page)
{
    if (editing)
        return;
    CPathObject::OnPageDeleted(page);
    if (ForEachCharLink([page](CLinkInfo& l) { return l.OnPageDeleted(page); }))
        body->SetModified();
}

void CTextObject::ClampPageLinks(int count)
{
    if (editing)
        return;
    CPathObject::ClampPageLinks(count);
    ForEachCharLink([count](CLinkInfo& l) {
        l.ClampPageNumber(count);
        return false;
    });
}

void CTextObject::ResetPageLinks()
{
    if (editing)
        return;
    CPathObject::ResetPageLinks();
    ForEachCharLink([](CLinkInfo& l) {
        l.ResetPageNumber();
        return false;
    });
}

int CTextObject::GetDownloadSize(double divisor) const
{
    if (IsPlainObject())
        return TruncateToInt(body->GetCharCount() * 1.05 + 200);
    return CPathObject::GetDownloadSize(divisor);
}

// ---- Plainness ----

bool CTextObject::IsPlainObject() const
{
    if (effects && effects->HasEffects())
        return false;
    if (scaleX != 1.0 || scaleY != 1.0)
        return false;
    if (rotation != 0.0)
        return false;
    if (fill && !IsPlainFillKind(fill->GetKind()))
        return false;
    const TextServiceAnswers* answers = GetTextServiceAnswers();
    if (answers && answers->object == this ? answers->hasMouseOverTwin : ItemHasMouseOverTwin())
        return false;
    return !altText || altText->IsEmpty();
}

bool CTextObject::ItemHasMouseOverTwin() const
{
    const ObjectHolder* holder = GetItem();
    return holder && holder->HasMouseOverTwin();
}

void CTextObject::MakePlain()
{
    SetSize(body->m_nWidth, body->m_nHeight);
    SetRotation(0.0);
    if (fill && !IsPlainFillKind(fill->GetKind()))
        fill->SetNone();
    body->SetModified();
    if (effects) {
        effects->m_shadow = false;
        effects->m_bevel = false;
        effects->m_glow = false;
    }
    if (link)
        link->SetActive(false);
    if (altText)
        altText->SetString(std::string());
}

// ---- The text body ----

std::unique_ptr<CTextBody> CTextObject::SetTextBody(std::unique_ptr<CTextBody> newBody)
{
    if (!newBody)
        return nullptr;
    std::swap(body, newBody);
    body->SetOwner(this);
    RECT dirtyRect{};
    LayoutText(*body, dirtyRect);
    body->SetModified();
    SetDirty();
    if (fill)
        fill->SetRenderAgain();
    if (effects)
        effects->m_rebuild = true;
    BuildOutline();
    UpdateHandles();
    if (PageView* view = GetCurrentView())
        view->InvalidateView(false);
    // The body handed back may outlive this object; it must not reach it any more.
    newBody->SetOwner(nullptr);
    return newBody;
}

SIZE CTextObject::GetTextSize() const
{
    if (body->m_paragraphs.empty())
        return SIZE{-200000, -200000};
    int left = 100000, top = 100000, right = -100000, bottom = -100000;
    for (const CTextParagraph& para : body->m_paragraphs)
        for (const CTextChar& ch : para.m_chars) {
            if (!ch.IsPlaced())
                continue;
            const CRect box = ch.GetBox();
            left = std::min<int>(left, box.left);
            right = std::max<int>(right, box.right);
            top = std::min<int>(top, box.top);
            bottom = std::max<int>(bottom, box.bottom);
        }
    return SIZE{right - left, bottom - top};
}

// ---- Editing in place ----

void CTextObject::BeginEdit()
{
    const CAppSettings defaults;
    CAppSettings* settings = GetAppSettings();
    const CAppSettings& current = settings ? *settings : defaults;
    WORD faceIndex = FindFontIndex(current.m_textFont);
    WORD pointSize = static_cast<WORD>(std::clamp(current.m_textFontSize, 0, 65535));
    BYTE bold = current.m_textBold, italic = current.m_textItalic, underline = current.m_textUnderline;
    COLORREF color = current.m_textColor.GetCOLORREF();
    CLinkInfo caretLink;

    editing = 1;
    bounds = CentredRect(body->m_nWidth, body->m_nHeight);
    UpdateHandles();

    QueryCaretFormat(faceIndex, pointSize, bold, italic, underline, color, caretLink);
    // The palettes show the caret's format; a face or size that differs across a selection leaves them as set.
    if (settings) {
        if (const std::string face = GetTextFaceName(faceIndex); faceIndex < 65535 && !face.empty())
            settings->m_textFont = face;
        if (pointSize < 65535)
            settings->m_textFontSize = pointSize;
        settings->m_textColor = CColor(color);
        settings->m_textBold = bold;
        settings->m_textItalic = italic;
        settings->m_textUnderline = underline;
    }
}

bool CTextObject::EndEdit(PageView* view, bool record)
{
    editing = 0;
    if (view && view->IsTextCaretShown())
        view->HideTextCaret();
    if (view)
        view->EndPageTextEditing();

    if (body->IsBlank())
        return false;
    if (newObject) {
        if (record && view)
            view->RecordPageUndo(UndoKind::objectsAdded);
        newObject = 0;
    }
    width = std::max(1, TruncateToInt(body->m_nWidth * scaleX));
    height = std::max(1, TruncateToInt(body->m_nHeight * scaleY));
    BuildOutline();
    UpdateHandles();
    SetDirty();
    if (effects) {
        effects->m_shadowCache.m_softness = -1;
        effects->m_bevelCache.m_softness = -1;
        effects->m_glowCache.m_softness = -1;
    }
    if (ObjectHolder* holder = GetItem())
        holder->CopyTextToMouseOverTwin(*this);
    return true;
}

// ---- Copies ----

std::unique_ptr<CPageObject> CTextObject::Clone() const
{
    auto copy = std::make_unique<CTextObject>(centreX, centreY, SIZE{width, height}, rotation);
    CopySnapshotInto(*copy);
    copy->newObject = newObject;
    copy->scaleX = scaleX;
    copy->scaleY = scaleY;
    return copy;
}

std::unique_ptr<CPageObject> CTextObject::Duplicate() const
{
    auto copy = std::make_unique<CTextObject>(centreX, centreY, SIZE{body->m_nWidth, body->m_nHeight}, rotation);
    copy->scaleX = scaleX;
    copy->scaleY = scaleY;
    copy->newObject = 0;
    CopyAllInto(*copy);
    copy->width = width;
    copy->height = height;
    copy->body = body->Clone();
    copy->body->SetOwner(copy.get());
    copy->BuildOutline();
    copy->UpdateHandles();
    return copy;
}

void CTextObject::CopyFrom(CPageObject& other)
{
    auto* that = dynamic_cast<CTextObject*>(&other);
    if (!that || that == this)
        return;
    const bool wasPlain = IsPlainObject(), thatWasPlain = that->IsPlainObject();
    const double myRotation = GetRotation(), theirRotation = that->GetRotation();
    std::swap(centreX, that->centreX);
    std::swap(centreY, that->centreY);
    std::swap(width, that->width);
    std::swap(height, that->height);
    rotation = theirRotation;
    that->rotation = myRotation;
    std::swap(scaleX, that->scaleX);
    std::swap(scaleY, that->scaleY);
    std::unique_ptr<CStringAttr> myAlt = SetAltText(nullptr);
    SetAltText(that->SetAltText(std::move(myAlt)));

    for (CTextObject* object : {this, that}) {
        if (object->IsPlainObject() != (object == this ? wasPlain : thatWasPlain))
            object->body->SetModified();
        object->GeometryChanged();
        object->BuildOutline();
        object->UpdateHandles();
    }
}

// ---- Inserting text without layout ----

void CTextObject::InsertCharWithFormat(RECT& dirty, BYTE ch, WORD faceIndex, WORD pointSize, BYTE bold, BYTE italic,
                                       BYTE underline, COLORREF color, const CLinkInfo& link)
{
    body->SetModified();
    if (!body->m_selectionEmpty)
        DeleteSelectedChars(dirty, true);
    CTextChar made = MakeTextChar(ch, faceIndex, pointSize, bold != 0, italic != 0, underline != 0, color, link);
    made.m_bBold = bold;
    made.m_bItalic = italic;
    made.m_bUnderline = underline;
    CTextParagraph& para = body->m_paragraphs[static_cast<size_t>(body->m_caretPara)];
    const int index = std::clamp(body->m_caretIndex, 0, para.GetCount());
    body->m_widestChar = std::max(body->m_widestChar, made.m_nWidth);
    para.m_chars.insert(para.m_chars.begin() + index, made);
    body->m_caretIndex = index + 1;
}

void CTextObject::SplitParagraph()
{
    body->SetModified();
    body->m_selectionEmpty = 1;
    auto& paragraphs = body->m_paragraphs;
    const size_t at = static_cast<size_t>(body->m_caretPara);
    CTextParagraph& para = paragraphs[at];
    const int index = std::clamp(body->m_caretIndex, 0, para.GetCount());
    CTextParagraph tail;
    tail.m_emptyHeight = body->m_curAscent + body->m_curDescent;
    tail.m_chars.assign(para.m_chars.begin() + index, para.m_chars.end());
    para.m_chars.erase(para.m_chars.begin() + index, para.m_chars.end());
    paragraphs.insert(paragraphs.begin() + static_cast<ptrdiff_t>(at) + 1, std::move(tail));
    body->m_caretPara = static_cast<int>(at) + 1;
    body->m_caretIndex = 0;
}

// ---- What the text body asks of its owner ----

void CTextObject::GetTextObjectCenter(double& x, double& y) const
{
    x = centreX;
    y = centreY;
}

void CTextObject::SetTextObjectCenter(double x, double y)
{
    centreX = x;
    centreY = y;
}

SIZE CTextObject::GetTextObjectSize() const
{
    SIZE size;
    return GetSize(size);
}

void CTextObject::GetTextObjectScale(double& x, double& y) const
{
    x = scaleX;
    y = scaleY;
}

void CTextObject::SetTextObjectSize(int cx, int cy)
{
    width = cx;
    height = cy;
    BuildOutline();
    UpdateHandles();
}

void CTextObject::SetTextObjectBounds(const RECT& rect)
{
    bounds = rect;
}

bool CTextObject::IsTextObjectLinked() const
{
    return link && link->IsActive();
}
