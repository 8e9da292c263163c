#pragma once

// Test support for the renders spread over the task pool: a button whose picture went missing, a rectangle whose
// glow cannot be drawn until memory is back, and the items of a page that still have a render to do.

#include <memory>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/text_style.h"
#include "app/objects/rectangle_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

namespace render_testing {

// A button with text whose picture file does not exist: its render asks the user for the picture.
inline std::unique_ptr<CRectangleObject> ButtonWithMissingPicture(double cx, double cy)
{
    auto button = std::make_unique<CRectangleObject>(cx, cy, SIZE{120, 50}, 0.0);
    button->GetFill()->SetImageFile("/nonexistent/folder/button.jpg");
    button->SetTextStyle(std::make_unique<CTextStyle>());
    button->GetTextStyle()->m_strText = "Order";
    return button;
}

// A rectangle with a glow whose spread image cannot be built (a softness no palette sets), as when memory runs
// out: each render fails and leaves it dirty, until LetGlowSucceed.
struct FailingGlow
{
    std::unique_ptr<CRectangleObject> object;
    CEffectSettings* effects = nullptr;
};

inline FailingGlow RectangleWhoseGlowFails(double cx, double cy)
{
    FailingGlow made;
    made.object = std::make_unique<CRectangleObject>(cx, cy, SIZE{120, 80}, 0.0);
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_glow = true;
    effects->m_glowSoftness = -5;
    made.effects = effects.get();
    made.object->SetEffects(std::move(effects));
    return made;
}

// Memory is back: the next render of the glow succeeds.
inline void LetGlowSucceed(CEffectSettings& effects)
{
    effects.m_glowSoftness = 4;
}

// How many items of the page still have a render to do, the one that shows except left out.
inline int UnfinishedItems(const CSitePage& page, const CPageObject* except)
{
    int unfinished = 0;
    for (int i = 0; i < page.GetItemCount(); ++i)
        if (page.GetItem(i)->GetCurrentObject() != except && page.GetItem(i)->NeedsImageUpdate())
            ++unfinished;
    return unfinished;
}

} // namespace render_testing
