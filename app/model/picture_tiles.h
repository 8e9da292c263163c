#pragma once

// Pictures move through a fixed-size pixel map in tiles, so that no full-size copy of a large picture is needed.

#include <algorithm>

#include "image/image.h"

// Calls visit(tx, ty, tw, th) for each tile of a w x h picture, row by row, with the map narrowed to the tile
// (the tiles at the right and bottom edges may be smaller than the map) and set back to its full size after.
template <class Visit> void ForEachTile(CPixMap& map, int w, int h, Visit&& visit)
{
    const int tileWidth = map.width;
    const int tileHeight = map.height;
    for (int ty = 0; ty < h; ty += tileHeight) {
        const int th = std::min(tileHeight, h - ty);
        for (int tx = 0; tx < w; tx += tileWidth) {
            const int tw = std::min(tileWidth, w - tx);
            map.width = tw;
            map.height = th;
            visit(tx, ty, tw, th);
            map.width = tileWidth;
            map.height = tileHeight;
        }
    }
}
