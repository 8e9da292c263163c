#include "app/docview/view_paint.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "app/docview/view_geometry.h"
#include "app/site/site_page.h"
#include "platform/win/task_pool.h"

static_assert(std::is_same_v<EditedTilePainter, CSitePage::TilePainter>);

namespace {

// Below this many pixels a paint (a key's few lines, a caret's blink) is drawn on the calling thread alone: waking
// the other cores costs more than drawing it.
constexpr int64_t kPaintAloneBelow = 2 * CSitePage::kRenderBufferSize * CSitePage::kRenderBufferSize;

// Draws the page rectangles areas (which do not overlap) through tiles, spread over the cores, and moves each tile
// into pixels, whose top-left is at page point corner. Tiles are disjoint, so each thread writes rows of its own.
void PaintTiles(CSitePage& page, const std::vector<CRect>& areas, bool outside, const CPoint& corner,
                ViewPixels& pixels, CTaskPool* pool, const EditedTilePainter* edited)
{
    page.DrawAreas(
        areas, !outside, outside,
        [&](const CRect& part, const BYTE* tile, int stride) {
            for (int y = 0; y < part.Height(); ++y) {
                const BYTE* from = tile + static_cast<size_t>(y) * stride;
                BYTE* to = pixels.Row(part.top - corner.y + y) + static_cast<size_t>(part.left - corner.x) * 3;
                for (int x = 0; x < part.Width(); ++x, from += 4, to += 3) {
                    to[0] = from[3];
                    to[1] = from[2];
                    to[2] = from[1];
                }
            }
        },
        pool, edited);
}

} // namespace

void ViewPixels::Resize(int w, int h)
{
    width = std::max(0, w);
    height = std::max(0, h);
    rowStep = (width * 3 + 3) & ~3;
    const size_t needed = static_cast<size_t>(rowStep) * height;
    if (bytes.size() < needed)
        bytes.resize(needed);
}

void PaintPageArea(CSitePage& page, const CRect& clip, const ViewPlacement& placement, ViewPixels& pixels,
                   const EditedTilePainter* edited)
{
    pixels.Resize(clip.Width(), clip.Height());
    if (clip.IsRectEmpty())
        return;
    page.RenderDirtyObjects();
    const CPoint corner = ClientToPage(clip.TopLeft(), placement.origin, placement.scroll);
    const CRect area(corner, clip.Size());
    const CSize pageSize(page.GetWidth(), page.GetHeight());
    CTaskPool* pool = static_cast<int64_t>(area.Width()) * area.Height() < kPaintAloneBelow ? &CTaskPool::WithHelpers(0)
                                                                                           : nullptr;
    PaintTiles(page, SurroundParts(area, pageSize), true, corner, pixels, pool, edited);
    CRect inside;
    if (inside.IntersectRect(area, CRect(CPoint(0, 0), pageSize)))
        PaintTiles(page, {inside}, false, corner, pixels, pool, edited);
}
