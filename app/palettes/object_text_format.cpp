#include "app/palettes/object_text_format.h"

#include <array>

#include "app/model/app_settings.h"
#include "app/model/link_info.h"
#include "app/model/services.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"
#include "app/palettes/palette_edit.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

namespace {

constexpr std::array<int, 7> kSizePoints = {8, 10, 12, 14, 18, 24, 36};
constexpr WORD kMixed = 0xFFFF;
// The advanced-text hint's number.
constexpr int kAdvancedTextHint = 488;

bool g_keepFormat = false;

CSitePage* ViewPage()
{
    PageView* view = GetCurrentView();
    return view ? view->GetPage() : nullptr;
}

// Face, height, weight, italic and underline: the fields a format change carries.
void CopyFontAttributes(const LOGFONT& from, LOGFONT& to)
{
    to.lfHeight = from.lfHeight;
    to.lfWeight = from.lfWeight;
    to.lfItalic = from.lfItalic;
    to.lfUnderline = from.lfUnderline;
    to.lfFaceName = from.lfFaceName;
}

void Relayout(CTextObject& text)
{
    RECT dirty{};
    LayoutText(*text.GetTextBody(), dirty);
}

} // namespace

int TextSizeEntryPoints(int entry)
{
    if (entry < 0)
        return 0;
    return entry > 5 ? 36 : kSizePoints[static_cast<size_t>(entry)];
}

std::optional<int> TextSizeEntryFor(int points)
{
    for (size_t i = 0; i < kSizePoints.size(); ++i)
        if (kSizePoints[i] == points)
            return static_cast<int>(i);
    return std::nullopt;
}

CObjectTextFormat::CObjectTextFormat()
{
    InitDefaultLogFont(m_font);
}

CTextObject* CObjectTextFormat::GetEditedText()
{
    const CSitePage* page = ViewPage();
    if (!page || !page->IsEditingInPlace())
        return nullptr;
    return dynamic_cast<CTextObject*>(page->GetEditedObject());
}

bool CObjectTextFormat::IsKeepingFormat()
{
    return g_keepFormat;
}

std::optional<TextFormatShown> CObjectTextFormat::Fill()
{
    CTextObject* text = GetEditedText();
    if (!text)
        return std::nullopt;
    CAppSettings fallback;
    CAppSettings& settings = GetAppSettings() ? *GetAppSettings() : fallback;
    // Characters index their faces in the text engine's list.
    const std::vector<std::string>& faces = GetTextFaceNames();

    // The defaults, unless the text reports the format at its caret.
    WORD faceIndex = FindFontIndex(settings.m_textFont, faces);
    WORD size = static_cast<WORD>(settings.m_textFontSize);
    COLORREF color = settings.m_textColor.GetCOLORREF();
    BYTE bold = settings.m_textBold, italic = settings.m_textItalic, underline = settings.m_textUnderline;
    if (!g_keepFormat) {
        WORD caretFace = 0, caretSize = 0;
        BYTE caretBold = 0, caretItalic = 0, caretUnderline = 0;
        COLORREF caretColor = 0;
        CLinkInfo link;
        if (text->QueryCaretFormat(caretFace, caretSize, caretBold, caretItalic, caretUnderline, caretColor, link)) {
            faceIndex = caretFace, size = caretSize, color = caretColor;
            bold = caretBold, italic = caretItalic, underline = caretUnderline;
        }
    }

    TextFormatShown shown;
    if (faceIndex != kMixed && faceIndex < faces.size()) {
        m_font.lfFaceName = faces[faceIndex];
        settings.m_textFont = faces[faceIndex];
        shown.face = faces[faceIndex];
    }
    if (size != kMixed) {
        m_font.lfHeight = -MulDiv(size, kTextResolution, 72);
        settings.m_textFontSize = size;
        shown.sizeEntry = TextSizeEntryFor(size);
    }
    m_font.lfWeight = bold ? 700 : 400;
    m_font.lfItalic = italic ? 1 : 0;
    m_font.lfUnderline = underline ? 1 : 0;
    settings.m_textColor = CColor(color);
    settings.m_textBold = bold ? 1 : 0;
    settings.m_textItalic = italic ? 1 : 0;
    settings.m_textUnderline = underline ? 1 : 0;
    shown.bold = bold != 0;
    shown.italic = italic != 0;
    shown.underline = underline != 0;
    shown.color = color;
    shown.alignment = text->GetTextBody()->m_alignment;
    g_keepFormat = false;
    return shown;
}

void CObjectTextFormat::ApplyAttribute(CTextObject& text, int attribute)
{
    CTextBody& body = *text.GetTextBody();
    if (attribute != 5)
        CopyFontAttributes(m_font, body.m_logFont);
    RECT dirty{};
    text.ApplyFormatToSelection(attribute, dirty, CLinkInfo());
    Relayout(text);
    if (attribute == 5)
        body.SetModifiedSecond();
    else
        body.SetModified();
    if (PageView* view = GetCurrentView())
        view->InvalidateEditRect(CRect(dirty));
    g_keepFormat = true;
}

bool CObjectTextFormat::ApplyFace(const std::string& face)
{
    CTextObject* text = GetEditedText();
    if (!text || face.empty())
        return false;
    m_font.lfFaceName = face;
    ViewPage()->SetChangedSinceUpload(true);
    ApplyAttribute(*text, 0);
    if (CAppSettings* settings = GetAppSettings())
        settings->m_textFont = face;
    return true;
}

bool CObjectTextFormat::ApplySizeEntry(int entry)
{
    CTextObject* text = GetEditedText();
    if (!text || entry < 0)
        return false;
    const int points = TextSizeEntryPoints(entry);
    m_font.lfHeight = -MulDiv(points, kTextResolution, 72);
    ViewPage()->SetChangedSinceUpload(true);
    if (CAppSettings* settings = GetAppSettings())
        settings->m_textFontSize = points;
    ApplyAttribute(*text, 1);
    return true;
}

bool CObjectTextFormat::ToggleBold()
{
    CTextObject* text = GetEditedText();
    if (!text)
        return false;
    const bool bold = m_font.lfWeight == 400;
    m_font.lfWeight = bold ? 700 : 400;
    if (CAppSettings* settings = GetAppSettings())
        settings->m_textBold = bold ? 1 : 0;
    ApplyAttribute(*text, 2);
    return true;
}

bool CObjectTextFormat::ToggleItalic()
{
    CTextObject* text = GetEditedText();
    if (!text)
        return false;
    m_font.lfItalic = m_font.lfItalic ? 0 : 1;
    if (CAppSettings* settings = GetAppSettings())
        settings->m_textItalic = m_font.lfItalic;
    ApplyAttribute(*text, 3);
    return true;
}

bool CObjectTextFormat::ToggleUnderline()
{
    CTextObject* text = GetEditedText();
    if (!text)
        return false;
    m_font.lfUnderline = m_font.lfUnderline ? 0 : 1;
    if (CAppSettings* settings = GetAppSettings())
        settings->m_textUnderline = m_font.lfUnderline;
    ApplyAttribute(*text, 4);
    return true;
}

bool CObjectTextFormat::ApplyColor(COLORREF color)
{
    CTextObject* text = GetEditedText();
    if (!text)
        return false;
    text->GetTextBody()->m_curColor = color;
    if (CAppSettings* settings = GetAppSettings())
        settings->m_textColor = CColor(color);
    ApplyAttribute(*text, 5);
    return true;
}

bool CObjectTextFormat::ApplyAlignment(int alignment)
{
    CTextObject* text = GetEditedText();
    if (!text || text->GetTextBody()->m_alignment == alignment)
        return false;
    text->GetTextBody()->m_alignment = alignment;
    Relayout(*text);
    text->GetTextBody()->SetModified();
    if (PageView* view = GetCurrentView())
        view->InvalidateView(true);
    return true;
}

std::optional<bool> SwitchAdvancedText()
{
    CSitePage* page = GetCurrentPage();
    CPageItem* item = page ? page->GetSingleSelectedItem() : nullptr;
    auto* text = item ? dynamic_cast<CTextObject*>(item->GetObject(false)) : nullptr;
    if (!text)
        return std::nullopt;
    CTextBody& body = *text->GetTextBody();
    const bool allows = body.m_allowAdvanced != 0;
    if (!allows && GetMessages().ShowHintDialog(kAdvancedTextHint) != DialogAnswer::ok)
        return false;

    // The step copies the text and its twin before either changes.
    if (CUndoManager* undo = page->GetUndoManager())
        undo->RecordUndo(kUndoAdvancedText);
    page->ClearSelection();
    if (allows) {
        body.m_allowAdvanced = 0;
        text->MakePlain();
        // The step holds the twin's copy; the detached one goes.
        if (item->HasMouseOver())
            item->RemoveMouseOverObject();
        page->MoveItem(item, page->GetItemCount() - 1);
    } else {
        int below = 0;
        for (int i = page->GetItemCount() - 1; i >= 0; --i) {
            const CPageItem* other = page->GetItem(i);
            if (other != item && !other->IsKeptOnTop()) {
                below = page->IndexOfItem(other) + 1;
                break;
            }
        }
        body.m_allowAdvanced = 1;
        // The index counts the list without the item: an item that stood lower moves the others down by one.
        if (page->IndexOfItem(item) < below)
            --below;
        page->MoveItem(item, below);
    }
    text->SetDirty();
    body.SetModified();
    page->AddToSelection(item);
    page->RenderDirtyObjects();
    if (PageView* view = GetCurrentView())
        view->InvalidateView(true);
    return body.m_allowAdvanced != 0;
}
