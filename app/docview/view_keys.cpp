#include "app/docview/view_keys.h"

#include <optional>

#include "app/model/link_info.h"
#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/text/codepage.h"

namespace {

void ForUserGroups(CSitePage& page, void (CObjectFrame::*call)())
{
    for (int i = 0; i < page.GetGroupCount(); ++i)
        if (CObjectFrame* group = page.GetGroupAt(i); group->IsGroup())
            (group->*call)();
}

// The highlight is drawn from the selection as it stands, so what it covered before a key is repainted.
void AddSelectionRect(const CTextObject& text, CRect& area)
{
    if (!text.GetTextBody()->m_selectionEmpty)
        text.GetSelectionRect(area);
}

using CaretMove = void (CTextObject::*)(bool);

CaretMove CaretMoveFor(TextEditKey key)
{
    switch (key) {
    case TextEditKey::home:
        return &CTextObject::MoveCaretLineStart;
    case TextEditKey::end:
        return &CTextObject::MoveCaretLineEnd;
    case TextEditKey::pageUp:
        return &CTextObject::MoveCaretPageUp;
    case TextEditKey::pageDown:
        return &CTextObject::MoveCaretPageDown;
    case TextEditKey::left:
        return &CTextObject::MoveCaretLeft;
    case TextEditKey::up:
        return &CTextObject::MoveCaretUp;
    case TextEditKey::right:
        return &CTextObject::MoveCaretRight;
    case TextEditKey::down:
        return &CTextObject::MoveCaretDown;
    case TextEditKey::del:
        break;
    }
    return nullptr;
}

} // namespace

CRect NudgeSelection(CSitePage& page, bool& moving, int dx, int dy)
{
    if (!moving) {
        if (page.GetSelectedItemCount() == 0)
            return CRect();
        ForUserGroups(page, &CObjectFrame::BeginTransform);
        moving = true;
        page.GetUndoManager()->RecordUndo(UndoKind::geometry);
    }
    CRect area;
    if (page.GetSelectedItemCount() == 1) {
        CPageItem* item = page.GetSingleSelectedItem();
        area = item->GetFullRect();
        item->Offset(dx, dy);
        area |= item->GetFullRect();
        return area;
    }
    for (int i = 0; i < page.GetGroupCount(); ++i) {
        CObjectFrame* group = page.GetGroupAt(i);
        if (!group->IsSelected())
            continue;
        area |= group->GetUpdateRect(true);
        group->MoveBy(dx, dy);
        area |= group->GetUpdateRect(true);
    }
    return area;
}

void EndNudge(CSitePage& page, bool& moving)
{
    if (!moving)
        return;
    moving = false;
    ForUserGroups(page, &CObjectFrame::EndTransform);
}

RECT ApplyTextEditKey(CTextObject& text, TextEditKey key, bool shift)
{
    CTextBody& body = *text.GetTextBody();
    CRect area;
    AddSelectionRect(text, area);
    if (key == TextEditKey::del) {
        if (body.m_selectionEmpty) {
            text.DeleteChar(area, true, true);
        } else {
            text.DeleteSelectedChars(area, true);
            body.m_selectionEmpty = 1;
        }
        return area;
    }
    if (!shift)
        body.m_selectionEmpty = 1;
    (text.*CaretMoveFor(key))(shift);
    AddSelectionRect(text, area);
    return area;
}

RECT ApplyTypedChar(CTextObject& text, int code)
{
    CTextBody& body = *text.GetTextBody();
    CRect area;
    switch (code) {
    case 8:
        if (!body.m_selectionEmpty) {
            AddSelectionRect(text, area);
            text.DeleteSelectedChars(area, false);
            body.m_selectionEmpty = 1;
        } else {
            text.DeleteChar(area, false, true);
        }
        break;
    case 9:
        break;
    case 10:
    case 27:
        GetMessages().Beep();
        break;
    case 13:
        AddSelectionRect(text, area);
        text.SplitParagraph(area);
        break;
    default:
        // Typing over a selection replaces it, so its highlight goes.
        AddSelectionRect(text, area);
        text.InsertChar(area, static_cast<BYTE>(code), true);
        break;
    }
    return area;
}

RECT ToggleSelectionBold(CTextObject& text)
{
    CTextBody& body = *text.GetTextBody();
    WORD face = 0, size = 0;
    BYTE bold = 0, italic = 0, underline = 0;
    COLORREF color = 0;
    CLinkInfo link;
    const bool known = text.QueryCaretFormat(face, size, bold, italic, underline, color, link);
    body.m_logFont.lfWeight = known && bold ? 400 : 700;
    CRect area;
    text.ApplyFormatToSelection(2, area, CLinkInfo());
    AddSelectionRect(text, area);
    return area;
}

int TypedCharToWindows1252(char32_t ch)
{
    const std::optional<unsigned char> byte = UnicodeToWindows1252(ch);
    return byte ? *byte : -1;
}
