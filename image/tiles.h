#pragma once

// Pictures move through a small pixel map piece by piece, so that no full-size copy of a large picture is needed
// and the map stays in the cache while each piece is worked on.

#include <algorithm>

#include "image/image.h"

// The side of the square work maps the program moves pictures through. The stored form of an owned fill picture
// is laid out in tiles of this size, so it is part of the file format too.
constexpr int kImageTileSize = 256;

// Calls visit(x, y) for each tile of a width x height area, row by row and left to right, (x, y) being the tile's
// top-left corner in the area. Before each call the map is narrowed to the tile: a tile is as large as the map,
// the last one of a row or column smaller. visit returns false to stop the walk. The map gets its size back
// afterwards. Returns false when a visit stopped the walk, or when the area has pixels but the map has none to
// carry them (nothing is visited then); an empty area is walked at once.
template <class Visit> bool ForEachTile(CPixMap& map, int width, int height, Visit&& visit)
{
    if (width < 1 || height < 1)
        return true;
    const int tileWidth = map.width, tileHeight = map.height;
    if (tileWidth < 1 || tileHeight < 1)
        return false;
    bool ok = true;
    // Each loop ends at its last tile rather than by stepping past the area, which could overflow near the int
    // limit.
    for (int y = 0; ok; y += tileHeight) {
        map.height = std::min(tileHeight, height - y);
        for (int x = 0; ok; x += tileWidth) {
            map.width = std::min(tileWidth, width - x);
            ok = visit(x, y);
            if (width - x <= tileWidth)
                break;
        }
        if (height - y <= tileHeight)
            break;
    }
    map.width = tileWidth;
    map.height = tileHeight;
    return ok;
}
