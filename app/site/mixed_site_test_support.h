#pragma once

// A site of many pages of mixed objects, for the benchmarks and tests of saving and opening large site files:
// circles, rectangles and polygons with colour, gradient and picture-file fills, some with a shadow, a bevel or a
// glow and every fifth with a mouse-over twin of its kind, texts of a few words and counters, scattered over 800 x 1200
// pages. The same site every time.

#include <memory>
#include <string>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/fill_style.h"
#include "app/model/gradient_info.h"
#include "app/model/link_info.h"
#include "app/objects/circle_object.h"
#include "app/objects/counter_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_layout.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

namespace mixed_site {

constexpr int kPages = 50;
constexpr int kObjectsPerPage = 40;

// The site is saved at path (which may be empty); picture fills name pictures beside it that need not exist.
inline std::unique_ptr<CWebsite> MakeSite(const std::string& path = {}, int pages = kPages)
{
    CFillStyle background;
    background.SetColor(CColor(240, 240, 230));
    auto site = std::make_unique<CWebsite>(path, "Mixed", background, true, 800, 1200, 0, CColor(0, 0, 255),
                                           CColor(128, 0, 128));
    unsigned seed = 12345;
    const auto next = [&seed](int range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<unsigned>(range));
    };
    const WORD face = FindFontIndex("Arial");
    for (int p = 0; p < pages; ++p) {
        CSitePage* page = site->AddPage(std::make_unique<CSitePage>(
            site.get(), "page" + std::to_string(p), "Page " + std::to_string(p), site->GetNewPageSettings()));
        page->SetHeaderHtml("<meta name=\"description\" content=\"A page of the mixed site\">");
        for (int i = 0; i < kObjectsPerPage; ++i) {
            const double x = 60 + next(680), y = 60 + next(1080);
            const SIZE size{40 + next(120), 40 + next(120)};
            const auto shape = [&]() -> std::unique_ptr<CPathObject> {
                std::unique_ptr<CPathObject> object;
                switch (i % 3) {
                case 0:
                    object = std::make_unique<CCircleObject>(x, y, size, 0.0);
                    break;
                case 1:
                    object = std::make_unique<CRectangleObject>(x, y, size, 0.0);
                    break;
                default:
                    object = std::make_unique<CPolygonObject>(x, y, size, 0.0, 3 + i % 18);
                    break;
                }
                switch (i % 4) {
                case 0: {
                    CGradientInfo gradient;
                    gradient.angle = 15 * (i % 24);
                    object->GetFill()->SetGradient(gradient);
                    break;
                }
                case 1:
                    object->GetFill()->SetImageFile("pictures/photo" + std::to_string(i % 7) + ".jpg");
                    break;
                default:
                    object->GetFill()->SetColor(
                        CColor(static_cast<BYTE>(next(256)), static_cast<BYTE>(next(256)), 120));
                    break;
                }
                return object;
            };
            std::unique_ptr<CPageObject> object;
            bool twin = false;
            if (i % 8 == 3) {
                auto text = std::make_unique<CTextObject>(x, y, SIZE{size.cx + 60, 20}, 0.0);
                RECT dirty{};
                for (char c : "Words on page " + std::to_string(p) + ", item " + std::to_string(i))
                    text->InsertCharWithFormat(dirty, static_cast<BYTE>(c), face, 10 + i % 9, i % 2, 0, 0, 0,
                                               CLinkInfo());
                LayoutText(*text->GetTextBody(), dirty);
                object = std::move(text);
            } else if (i % 20 == 7) {
                object = std::make_unique<CCounterObject>(i % CCounterObject::kStyleCount, x, y);
            } else {
                std::unique_ptr<CPathObject> path = shape();
                if (i % 10 == 0 || i % 10 == 5) {
                    auto effects = std::make_unique<CEffectSettings>();
                    effects->m_shadow = i % 10 == 0;
                    effects->m_bevel = i % 20 == 5;
                    effects->m_glow = i % 20 == 15;
                    path->SetEffects(std::move(effects));
                }
                object = std::move(path);
                twin = i % 5 == 0;
            }
            CPageItem* item = page->AddObject(std::move(object));
            // A twin is of its object's kind.
            if (twin)
                item->SetMouseOverObject(shape());
        }
    }
    site->SetHomePage(site->GetPage(0));
    return site;
}

} // namespace mixed_site
