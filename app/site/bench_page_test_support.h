#pragma once

// A busy page for the benchmarks of the page and of the view that draws it: outline objects scattered over a
// 1000 x 2000 page.

#include <memory>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/objects/circle_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/site_page.h"

namespace bench_page {

constexpr int kWidth = 1000;
constexpr int kHeight = 2000;

// Outline objects of 40 to 160 pixels scattered over the page, a circle, rectangle or polygon in turn, every
// tenth with a drop shadow, all rendered.
inline std::unique_ptr<CSitePage> MakePage(int objects)
{
    NewPageSettings settings;
    settings.width = kWidth;
    settings.height = kHeight;
    settings.background.SetColor(CColor(240, 240, 230));
    auto page = std::make_unique<CSitePage>(nullptr, "bench", "Bench", settings);
    unsigned seed = 12345;
    const auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<unsigned>(range));
    };
    for (int i = 0; i < objects; ++i) {
        const double x = 60 + next(kWidth - 120), y = 60 + next(kHeight - 120);
        const SIZE size{40 + next(120), 40 + next(120)};
        const double rotation = next(4) == 0 ? 0.3 : 0.0;
        std::unique_ptr<CPathObject> object;
        switch (i % 3) {
        case 0:
            object = std::make_unique<CCircleObject>(x, y, size, rotation);
            break;
        case 1:
            object = std::make_unique<CRectangleObject>(x, y, size, rotation);
            break;
        default:
            object = std::make_unique<CPolygonObject>(x, y, size, rotation, 3 + i % 18);
            break;
        }
        object->GetFill()->SetColor(CColor(static_cast<BYTE>(next(256)), static_cast<BYTE>(next(256)), 120));
        if (i % 10 == 0) {
            auto effects = std::make_unique<CEffectSettings>();
            effects->m_shadow = true;
            object->SetEffects(std::move(effects));
        }
        page->AddObject(std::move(object));
    }
    page->RenderDirtyObjects();
    return page;
}

} // namespace bench_page
