// Frames of the design view's mouse gestures on a 1000 x 2000 page with 200 objects in a 1000 x 800 window: the
// gesture's state update, the area it invalidates and the repaint of that area through the paint handler's path.
// Dragging an object moves it without rendering it again; resizing a star with a gradient, shadow, bevel and glow
// renders it again at each step. The peer of each is the same frame repainting the whole window.

#include <benchmark/benchmark.h>

#include <memory>

#include "app/docview/mouse_tools.h"
#include "app/docview/view_geometry.h"
#include "app/docview/view_hit_test.h"
#include "app/docview/view_paint.h"
#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/gradient_info.h"
#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/objects/polygon_object.h"
#include "app/objects/shape_outline.h"
#include "app/site/bench_page_test_support.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"

namespace {

const CSize kClient(1000, 800);

class ArrowServices : public NullCoreServices,
                      public NullCurrentState,
                      public NullModelDialogs,
                      public NullToolsAndInspector
{
public:
    int GetToolsBarTool() override { return 1; }

private:
    SeamsInstalled<ArrowServices> m_installed{*this};
};

// Collects what a frame invalidates.
class BenchHost : public MouseToolHost
{
public:
    void HoldMouse() override {}
    void LetMouseGo() override {}
    void InvalidatePageRect(const CRect& rect, bool) override { area.UnionRect(area, rect); }
    void InvalidateAll(bool) override { area = CRect(-10000, -10000, 10000, 10000); }
    CRect GetVisiblePageRect() const override { return CRect(CPoint(0, 0), kClient); }
    CSize GetClientExtent() const override { return kClient; }
    void ScrollTo(const CPoint&, const CPoint&) override {}
    void SetStatusText(const std::string&) override {}
    void SetMoveCursor() override {}
    void TakeFocus() override {}
    void EndTextEditing() override {}

    CRect area;
};

// Paints what the frame invalidated (argument 0) or the whole window (1).
void Repaint(CSitePage& page, BenchHost& host, bool whole, ViewPixels& pixels)
{
    const ViewPlacement placement{GetPageOrigin(kClient, CSize(page.GetWidth(), page.GetHeight())), CPoint(0, 0)};
    CRect clip(CPoint(0, 0), kClient);
    if (!whole) {
        CRect area = host.area;
        area.OffsetRect(placement.origin.x - placement.scroll.x, placement.origin.y - placement.scroll.y);
        clip.IntersectRect(clip, area);
    }
    host.area.SetRectEmpty();
    if (!clip.IsRectEmpty())
        PaintPageArea(page, clip, placement, pixels);
    benchmark::DoNotOptimize(pixels.bytes.data());
}

void BM_DragFrame(benchmark::State& state)
{
    ArrowServices services;
    std::unique_ptr<CSitePage> page = bench_page::MakePage(200);
    // A circle the window shows, pressed at its middle where nothing covers it.
    CPixMap map(IMAGE_MODE_RGBA, 4, 4);
    CPageItem* item = nullptr;
    CPoint press;
    for (int i = 0; i < page->GetItemCount() && !item; ++i) {
        CPageItem* candidate = page->GetItem(i);
        DPOINT centre;
        candidate->GetCurrentObject()->GetCenter(centre);
        press = CPoint(static_cast<int>(centre.x), static_cast<int>(centre.y));
        if (candidate->GetCurrentObject()->GetKind() == objectCircle &&
            candidate->GetRect().bottom < kClient.cy - 200 && candidate->GetRect().right < 800 &&
            HitTestItem(*page, press, true, map) == i)
            item = candidate;
    }
    if (!item) {
        state.SkipWithError("no circle in view");
        return;
    }
    BenchHost host;
    CMouseTools tools(*page, host);
    tools.OnLButtonDown({press, false, false, true});
    tools.OnMouseMove({CPoint(press.x + 3, press.y), false, false, true});
    if (!tools.IsDragging() || !item->IsSelected()) {
        state.SkipWithError("the drag did not start");
        return;
    }
    ViewPixels pixels;
    int step = 0;
    for (auto _ : state) {
        // Back and forth over 100 pixels, 4 pixels a frame.
        const int offset = 4 * (step % 50 < 25 ? step % 25 : 25 - step % 25);
        ++step;
        tools.OnMouseMove({CPoint(press.x + 3 + offset, press.y + offset / 2), false, false, true});
        Repaint(*page, host, state.range(0) == 1, pixels);
    }
}
BENCHMARK(BM_DragFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ResizeStarFrame(benchmark::State& state)
{
    ArrowServices services;
    std::unique_ptr<CSitePage> page = bench_page::MakePage(200);
    auto star = std::make_unique<CPolygonObject>(500.0, 400.0, SIZE{400, 300}, 0.0, shapeFivePointedStar);
    CGradientInfo gradient;
    GRADIENTCOLORS colours;
    colours.start = CColor(255, 0, 0);
    colours.end = CColor(0, 0, 255);
    gradient.SetGradientColors(colours);
    gradient.angle = 30;
    auto fill = std::make_unique<CFillInfo>();
    fill->SetGradient(gradient);
    star->SetFill(std::move(fill));
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_shadow = true;
    effects->m_bevel = true;
    effects->m_glow = true;
    star->SetEffects(std::move(effects));
    CPageItem* item = page->AddObject(std::move(star));
    page->RenderDirtyObjects();
    page->SelectItem(item);
    BenchHost host;
    CMouseTools tools(*page, host);
    const DPOINT right = item->GetCurrentObject()->GetHandlePoints()[4];
    const CPoint press(static_cast<int>(right.x), static_cast<int>(right.y));
    tools.OnLButtonDown({press, false, false, true});
    if (!tools.IsDragging()) {
        state.SkipWithError("the resize did not start");
        return;
    }
    ViewPixels pixels;
    int step = 0;
    for (auto _ : state) {
        // Two pixels wider or narrower each frame; the star is drawn again at its new size.
        tools.OnMouseMove({CPoint(press.x + (step++ % 2 == 0 ? 2 : -2), press.y), false, false, true});
        item->UpdateImage();
        Repaint(*page, host, state.range(0) == 1, pixels);
    }
}
BENCHMARK(BM_ResizeStarFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
