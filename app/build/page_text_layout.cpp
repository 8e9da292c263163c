// Where each page's texts and counters stand: which text becomes HTML text and where, its linked runs, the
// counters' places, and the page's text styles.

#include <algorithm>
#include <string>
#include <vector>

#include "app/build/build_helpers.h"
#include "app/build/site_builder.h"

#include "app/model/fill_info.h"
#include "app/model/text_style.h"
#include "app/objects/text_body.h"
#include "app/objects/text_measure.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

using namespace build_helpers;

namespace {

bool BlocksHtmlText(const CObjectBuildRecord& above)
{
    if (above.asHtmlText)
        return false;
    const CPageObject& object = *above.item->GetCurrentObject();
    return object.GetKind() != objectRectangle || object.GetRotation() != 0.0 || HasEffects(object);
}

} // namespace

void CSiteBuilder::LayoutTextObjects(CPageBuildRecord& record, int pageIndex)
{
    (void)pageIndex;
    const int count = static_cast<int>(record.objects.size());
    // From the top down, so that every item above a text is decided before the text.
    for (int i = count - 1; i >= 0; --i) {
        CObjectBuildRecord& object = *record.objects[i];
        auto* text = dynamic_cast<CTextObject*>(object.item->GetCurrentObject());
        if (!text)
            continue;
        object.zIndex = i;
        object.asHtmlText = 0;
        // The object learns of its item's twin only through the program's services; the item is at hand here, also
        // for a site built without them.
        bool plain = text->IsPlainObject() && !object.item->HasMouseOver();
        const CRect rect = object.item->GetRect();
        for (int j = i + 1; plain && j < count; ++j) {
            CRect common;
            if (common.IntersectRect(record.objects[j]->item->GetRect(), rect) && BlocksHtmlText(*record.objects[j]))
                plain = false;
        }
        if (!plain)
            continue;
        object.asHtmlText = 1;
        const SIZE size = text->GetTextSize();
        // A body without paragraphs measures negative; it shows nothing.
        object.width = std::max(0, static_cast<int>(size.cx));
        object.height = std::max(0, static_cast<int>(size.cy));
        DPOINT centre;
        text->GetCenter(centre);
        const CTextBody& body = *text->GetTextBody();
        const double boxWidth = body.m_nWidth, boxHeight = body.m_nHeight;
        switch (body.m_alignment) {
        case CTextBody::alignLeft:
            object.left = RoundHalfUp(centre.x - boxWidth * 0.5) + 2;
            break;
        case CTextBody::alignCenter:
            object.left = RoundHalfUp(centre.x - object.width * 0.5) + 1;
            break;
        default:
            object.left = RoundHalfUp(centre.x + boxWidth * 0.5 - object.width);
            break;
        }
        object.top = RoundHalfUp(centre.y - boxHeight * 0.5) + 2;
    }

    // The linked runs of the HTML text: a run ends only before a character without a link or with another one, so
    // a link that goes on past a paragraph's end stays one anchor around the line break.
    for (int i = count - 1; i >= 0; --i) {
        CObjectBuildRecord& object = *record.objects[i];
        if (!object.asHtmlText)
            continue;
        const auto* text = dynamic_cast<const CTextObject*>(object.item->GetCurrentObject());
        object.linkRuns.clear();
        int index = 0;
        TextLinkRun* run = nullptr;
        for (const CTextParagraph& paragraph : text->GetTextBody()->m_paragraphs) {
            for (const CTextChar& c : paragraph.m_chars) {
                if (!c.m_link.IsActive())
                    run = nullptr;
                else if (run && run->link.IsEqual(c.m_link))
                    run->lastChar = index;
                else
                    run = &object.linkRuns.emplace_back(TextLinkRun{c.m_link, index, index});
                ++index;
            }
        }
    }
}

void CSiteBuilder::LayoutCounters(CPageBuildRecord& record, int pageIndex)
{
    (void)pageIndex;
    for (int i = static_cast<int>(record.objects.size()) - 1; i >= 0; --i) {
        CObjectBuildRecord& object = *record.objects[i];
        const CPageObject& counter = *object.item->GetCurrentObject();
        if (counter.GetKind() != objectCounter)
            continue;
        const CRect bounds = BoundsOf(counter);
        DPOINT centre;
        counter.GetCenter(centre);
        object.width = bounds.Width();
        object.height = bounds.Height();
        object.left = RoundHalfUp(centre.x - object.width * 0.5);
        object.top = RoundHalfUp(centre.y - object.height * 0.5);
        // Counters stay in their place in the z-order, which keeps them above the pictures already.
        object.zIndex = i;
    }
}

void CSiteBuilder::CollectTextStyles(CPageBuildRecord& record, int pageIndex)
{
    (void)pageIndex;
    for (const auto& object : record.objects) {
        if (!object->asHtmlText)
            continue;
        const auto* text = dynamic_cast<const CTextObject*>(object->item->GetCurrentObject());
        const CFillInfo* fill = text->GetFill();
        // A plain text with a colour fill shows every character in that colour.
        const bool fillColour = text->IsPlainObject() && fill && fill->GetKind() == CFillInfo::FILL_COLOR;
        const COLORREF fillColor = fillColour ? static_cast<COLORREF>(fill->GetColor().GetCOLORREF()) : 0;
        const CTextChar* previous = nullptr;
        int index = 0;
        for (const CTextParagraph& paragraph : text->GetTextBody()->m_paragraphs) {
            for (const CTextChar& c : paragraph.m_chars) {
                const bool changed = !previous || previous->m_faceIndex != c.m_faceIndex ||
                                     previous->m_pointSize != c.m_pointSize || previous->m_bBold != c.m_bBold ||
                                     previous->m_bItalic != c.m_bItalic || previous->m_bUnderline != c.m_bUnderline ||
                                     (!fillColour && previous->m_color != c.m_color);
                previous = &c;
                if (changed) {
                    TextStyleEntry style;
                    style.face = GetTextFaceName(c.m_faceIndex);
                    style.height = c.m_pointSize;
                    style.italic = c.m_bItalic;
                    style.bold = c.m_bBold;
                    style.underline = c.m_bUnderline;
                    style.color = fillColour ? fillColor : c.m_color;
                    auto found = std::find_if(record.textStyles.begin(), record.textStyles.end(),
                                              [&](const TextStyleEntry& entry) { return entry.SameStyle(style); });
                    const int number = static_cast<int>(found - record.textStyles.begin());
                    if (found == record.textStyles.end())
                        record.textStyles.push_back(style);
                    record.textStyleRuns.push_back(TextStyleRun{index, number});
                }
                ++index;
            }
        }
    }
}
