// Drawing a 1000 x 2000 page the way the design view does (tiles of the render buffer), with its objects' images
// up to date, and with some objects to render again first. The baselines: copying the page's bytes once, and
// drawing the background alone.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/objects/circle_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

namespace {

constexpr int kWidth = 1000;
constexpr int kHeight = 2000;

// Outline objects of 40 to 160 pixels scattered over the page, a circle, rectangle or polygon in turn, every
// tenth with a drop shadow, all rendered.
std::unique_ptr<CSitePage> MakePage(int objects)
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
            effects->m_bShadow = true;
            object->SetEffects(std::move(effects));
        }
        page->AddObject(std::move(object));
    }
    page->RenderDirtyObjects();
    return page;
}

void DrawPage(CSitePage& page, std::vector<BYTE>& buffer)
{
    constexpr int tile = CSitePage::kRenderBufferSize;
    for (int y = 0; y < kHeight; y += tile)
        for (int x = 0; x < kWidth; x += tile)
            page.Draw(RECT{x, y, std::min(x + tile, kWidth), std::min(y + tile, kHeight)},
                      buffer.data() + (static_cast<size_t>(y) * kWidth + x) * 4, kWidth * 4, true, false, false);
}

void BM_CopyPageBytes(benchmark::State& state)
{
    std::vector<BYTE> from(static_cast<size_t>(kWidth) * kHeight * 4, 1), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
}
BENCHMARK(BM_CopyPageBytes)->Unit(benchmark::kMillisecond);

void BM_DrawCleanPage(benchmark::State& state)
{
    std::unique_ptr<CSitePage> page = MakePage(static_cast<int>(state.range(0)));
    std::vector<BYTE> buffer(static_cast<size_t>(kWidth) * kHeight * 4);
    for (auto _ : state) {
        DrawPage(*page, buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["objects"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_DrawCleanPage)->Arg(0)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);

// Every tenth object (20 of 200) renders again before the page is drawn, as after an edit of a selection.
void BM_DrawPageWithDirtyObjects(benchmark::State& state)
{
    const int objects = static_cast<int>(state.range(0));
    std::unique_ptr<CSitePage> page = MakePage(objects);
    std::vector<BYTE> buffer(static_cast<size_t>(kWidth) * kHeight * 4);
    for (auto _ : state) {
        for (int i = 0; i < objects; i += 10)
            page->GetItem(i)->GetCurrentObject()->SetDirty();
        page->RenderDirtyObjects();
        DrawPage(*page, buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.counters["dirty"] = objects / 10.0;
}
BENCHMARK(BM_DrawPageWithDirtyObjects)->Arg(50)->Arg(200)->Arg(800)->Unit(benchmark::kMillisecond);

} // namespace
