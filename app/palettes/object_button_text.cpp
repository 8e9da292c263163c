#include "app/palettes/object_button_text.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "app/model/text_style.h"
#include "app/objects/path_object.h"
#include "app/palettes/palette_edit.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

namespace {

CTextStyle* StyleOf(const CPageObject& object)
{
    const auto* path = dynamic_cast<const CPathObject*>(&object);
    return path && object.CanHaveButtonText() ? path->GetTextStyle() : nullptr;
}

// One change of the current object's style: nothing unless the object has a style and unchanged says no; the
// object then draws its label again.
bool EditStyle(const std::function<bool(const CTextStyle&)>& unchanged, const std::function<void(CTextStyle&)>& change)
{
    return ApplyObjectEdit(
        kUndoObject,
        [&](const CPageObject& object) {
            const CTextStyle* style = StyleOf(object);
            return !style || unchanged(*style);
        },
        [&](CPageObject& object) {
            change(*StyleOf(object));
            object.SetDirty();
        });
}

bool Toggle(bool CTextStyle::*flag)
{
    return EditStyle([](const CTextStyle&) { return false; }, [&](CTextStyle& style) { style.*flag = !(style.*flag); });
}

void StoreDistanceDefault(int distance)
{
    if (CAppSettings* settings = GetAppSettings())
        settings->m_buttonTextShadowDistance = distance;
}

} // namespace

std::optional<ButtonTextShown> ReadButtonText()
{
    const CPageObject* object = GetPaletteObject();
    const CTextStyle* style = object ? StyleOf(*object) : nullptr;
    if (!style)
        return std::nullopt;
    ButtonTextShown shown;
    shown.face = style->m_strFont;
    shown.size = style->m_nSize;
    shown.text = style->m_strText;
    shown.color = style->m_color.GetCOLORREF();
    shown.bold = style->m_bBold;
    shown.italic = style->m_bItalic;
    shown.underline = style->m_bUnderline;
    shown.alignment = style->m_alignment;
    shown.shadow = style->m_shadow;
    shown.shadowColor = style->m_shadowColor.GetCOLORREF();
    shown.direction = style->m_shadowDirection;
    shown.distance = style->m_shadowDistance;

    // The next new shape's label looks like the one shown last.
    if (CAppSettings* settings = GetAppSettings()) {
        settings->m_buttonTextFont = shown.face;
        settings->m_buttonTextFontSize = shown.size;
        settings->m_clrButtonTextColor = shown.color;
        settings->m_buttonTextBold = shown.bold;
        settings->m_buttonTextItalic = shown.italic;
        settings->m_buttonTextUnderline = shown.underline;
        settings->m_buttonTextAlignment = shown.alignment;
        settings->m_buttonTextShadow = shown.shadow;
        settings->m_clrButtonTextShadowColor = shown.shadowColor;
        settings->m_buttonTextShadowDistance = shown.distance;
        settings->m_buttonTextShadowDirection = shown.direction;
    }
    return shown;
}

bool ApplyButtonFace(const std::string& face)
{
    return EditStyle([&](const CTextStyle& s) { return s.m_strFont == face; },
                     [&](CTextStyle& s) { s.m_strFont = face; });
}

bool ApplyButtonSize(int points)
{
    return EditStyle([&](const CTextStyle& s) { return s.m_nSize == points; },
                     [&](CTextStyle& s) { s.m_nSize = points; });
}

bool ApplyButtonColor(COLORREF color)
{
    return EditStyle([&](const CTextStyle& s) { return s.m_color.GetCOLORREF() == color; },
                     [&](CTextStyle& s) { s.m_color = CColor(color); });
}

bool ToggleButtonBold()
{
    return Toggle(&CTextStyle::m_bBold);
}

bool ToggleButtonItalic()
{
    return Toggle(&CTextStyle::m_bItalic);
}

bool ToggleButtonUnderline()
{
    return Toggle(&CTextStyle::m_bUnderline);
}

bool ToggleDropShadow()
{
    return Toggle(&CTextStyle::m_shadow);
}

bool ApplyButtonAlignment(int alignment)
{
    return EditStyle([&](const CTextStyle& s) { return s.m_alignment == alignment; },
                     [&](CTextStyle& s) { s.m_alignment = alignment; });
}

bool ApplyShadowColor(COLORREF color)
{
    return EditStyle([&](const CTextStyle& s) { return s.m_shadowColor.GetCOLORREF() == color; },
                     [&](CTextStyle& s) { s.m_shadowColor = CColor(color); });
}

bool ApplyShadowDirection(int degrees)
{
    return EditStyle([&](const CTextStyle& s) { return s.m_shadowDirection == degrees; },
                     [&](CTextStyle& s) { s.m_shadowDirection = degrees; });
}

bool ApplyButtonText(const std::string& text)
{
    CSitePage* page = GetCurrentPage();
    CPageItem* item = page ? page->GetSingleSelectedItem() : nullptr;
    return ApplyObjectEdit(
        kUndoObject,
        [&](const CPageObject& object) {
            const CTextStyle* style = StyleOf(object);
            return !style || style->m_strText == text;
        },
        [&](CPageObject& object) {
            if (item && item->HasMouseOver() && item->IsSameText()) {
                for (bool twin : {false, true})
                    if (CPageObject* each = item->GetObject(twin))
                        if (CTextStyle* style = StyleOf(*each)) {
                            style->m_strText = text;
                            each->SetDirty();
                        }
                return;
            }
            StyleOf(object)->m_strText = text;
            object.SetDirty();
        });
}

ShadowDistanceResult ApplyShadowDistance(const std::string& typed)
{
    const long number = std::strtol(typed.c_str(), nullptr, 10);
    const int value = static_cast<int>(std::clamp<long>(number, kMinShadowDistance, kMaxShadowDistance));
    ShadowDistanceResult result;
    result.changed = EditStyle([&](const CTextStyle& s) { return s.m_shadowDistance == value; },
                               [&](CTextStyle& s) { s.m_shadowDistance = value; });
    if (result.changed) {
        StoreDistanceDefault(value);
        if (value != number)
            result.shown = std::to_string(value);
    }
    return result;
}

bool StepShadowDistance(int step)
{
    const CPageObject* object = GetPaletteObject();
    const CTextStyle* style = object ? StyleOf(*object) : nullptr;
    if (!style)
        return false;
    const int value = std::clamp(style->m_shadowDistance + step, kMinShadowDistance, kMaxShadowDistance);
    const bool changed = EditStyle([&](const CTextStyle& s) { return s.m_shadowDistance == value; },
                                   [&](CTextStyle& s) { s.m_shadowDistance = value; });
    if (changed)
        StoreDistanceDefault(value);
    return changed;
}
