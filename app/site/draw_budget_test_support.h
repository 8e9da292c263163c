#pragma once

// For fuzz targets that draw what they read: whether a page's objects can be drawn within a pixel budget. What
// drawing an object far larger than a page costs is the objects' own matter, so such pages are left out.

#include <algorithm>
#include <cstdint>

#include "app/objects/page_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

inline bool PageDrawsCheaply(const CSitePage& page, int64_t pixelBudget)
{
    const auto area = [](int64_t w, int64_t h) { return std::max<int64_t>(w, 0) * std::max<int64_t>(h, 0); };
    for (int i = 0; i < page.GetItemCount(); ++i)
        for (bool mouseOver : {false, true})
            if (const CPageObject* object = page.GetItem(i)->GetObject(mouseOver)) {
                SIZE size;
                RECT bounds;
                object->GetSize(size);
                object->GetBounds(bounds);
                if (area(size.cx, size.cy) > pixelBudget ||
                    area(int64_t(bounds.right) - bounds.left, int64_t(bounds.bottom) - bounds.top) > pixelBudget)
                    return false;
                // A text draws its box before it scales it.
                if (const auto* text = dynamic_cast<const CTextObject*>(object);
                    text && area(text->GetTextBody()->m_nWidth, text->GetTextBody()->m_nHeight) > pixelBudget)
                    return false;
            }
    return true;
}
