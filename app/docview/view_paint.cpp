#include "app/docview/view_paint.h"

#include <algorithm>
#include <array>

#include "app/docview/view_geometry.h"
#include "app/site/site_page.h"

namespace {

constexpr int kTile = CSitePage::kRenderBufferSize;

// One tile's worth of the page's 4-byte pixels (alpha, red, green, blue), shared by every paint: paints run one
// at a time on the user-interface thread.
std::array<BYTE, kTile * kTile * 4>& TileBuffer()
{
    static std::array<BYTE, kTile * kTile * 4> tile;
    return tile;
}

// Draws the page rectangle area through tiles and moves each into pixels, whose top-left is at page point
// corner.
void PaintTiles(CSitePage& page, const CRect& area, bool outside, const CPoint& corner, ViewPixels& pixels)
{
    BYTE* tile = TileBuffer().data();
    ForEachTile(area, kTile, [&](const CRect& part) {
        page.Draw(part, tile, kTile * 4, !outside, false, outside);
        for (int y = 0; y < part.Height(); ++y) {
            const BYTE* from = tile + static_cast<size_t>(y) * kTile * 4;
            BYTE* to = pixels.Row(part.top - corner.y + y) + static_cast<size_t>(part.left - corner.x) * 3;
            for (int x = 0; x < part.Width(); ++x, from += 4, to += 3) {
                to[0] = from[3];
                to[1] = from[2];
                to[2] = from[1];
            }
        }
    });
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

void PaintPageArea(CSitePage& page, const CRect& clip, const ViewPlacement& placement, ViewPixels& pixels)
{
    pixels.Resize(clip.Width(), clip.Height());
    if (clip.IsRectEmpty())
        return;
    page.RenderDirtyObjects();
    const CPoint corner = ClientToPage(clip.TopLeft(), placement.origin, placement.scroll);
    const CRect area(corner, clip.Size());
    const CSize pageSize(page.GetWidth(), page.GetHeight());
    for (const CRect& part : SurroundParts(area, pageSize))
        PaintTiles(page, part, true, corner, pixels);
    CRect inside;
    if (inside.IntersectRect(area, CRect(CPoint(0, 0), pageSize)))
        PaintTiles(page, inside, false, corner, pixels);
}
