#include "image/tiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

struct Visit
{
    int x, y, width, height;
    bool operator==(const Visit&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Visit& v)
{
    return os << "(" << v.x << "," << v.y << " " << v.width << "x" << v.height << ")";
}

// The tiles of an area the obvious way: every tile start on the map's grid, clipped to the area.
std::vector<Visit> ExpectedTiles(int mapWidth, int mapHeight, int width, int height)
{
    std::vector<Visit> tiles;
    for (int64_t y = 0; y < height; y += mapHeight)
        for (int64_t x = 0; x < width; x += mapWidth)
            tiles.push_back({int(x), int(y), int(std::min<int64_t>(mapWidth, width - x)),
                             int(std::min<int64_t>(mapHeight, height - y))});
    return tiles;
}

TEST(ForEachTile, VisitsEachTileOnceRowByRowWithTheMapNarrowedToIt)
{
    struct Case
    {
        const char* name;
        int mapWidth, mapHeight, width, height;
    };
    const Case cases[] = {
        {"area smaller than the map", 256, 256, 40, 30},
        {"area exactly one map", 8, 4, 8, 4},
        {"whole tiles only", 4, 4, 12, 8},
        {"narrow last column and short last row", 5, 3, 12, 7},
        {"one-pixel tiles", 1, 1, 3, 2},
        {"map wider than tall", 16, 2, 20, 5},
        {"empty area", 4, 4, 0, 9},
        // A step past the last tile would leave the int range.
        {"area reaching the int limit", 1 << 30, 1, INT_MAX, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The walk only sets the map's size; the buffers need not be that large.
        CPixMap map(IMAGE_MODE_RGBA, 1, 1);
        ASSERT_TRUE(map.IsValid());
        map.width = c.mapWidth;
        map.height = c.mapHeight;
        std::vector<Visit> seen;
        const bool ok = ForEachTile(map, c.width, c.height, [&](int x, int y) {
            seen.push_back({x, y, map.width, map.height});
            return true;
        });
        EXPECT_TRUE(ok);
        EXPECT_EQ(seen, ExpectedTiles(c.mapWidth, c.mapHeight, c.width, c.height));
        EXPECT_EQ(map.width, c.mapWidth);
        EXPECT_EQ(map.height, c.mapHeight);
    }
}

TEST(ForEachTile, AFalseVisitStopsTheWalkAndTheMapGetsItsSizeBack)
{
    CPixMap map(IMAGE_MODE_GREY, 4, 4);
    int visits = 0;
    const bool ok = ForEachTile(map, 10, 10, [&](int, int) { return ++visits < 4; });
    EXPECT_FALSE(ok);
    EXPECT_EQ(visits, 4);
    EXPECT_EQ(map.width, 4);
    EXPECT_EQ(map.height, 4);
}

TEST(ForEachTile, AMapWithoutAreaCannotCarryAnAreaWithPixels)
{
    struct Case
    {
        int mapWidth, mapHeight, width, height;
        bool ok;
    };
    const Case cases[] = {
        {0, 4, 8, 8, false},
        {4, 0, 8, 8, false},
        {0, 0, 0, 8, true},
        {0, 0, 8, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mapWidth << "x" << c.mapHeight << " over " << c.width << "x" << c.height);
        CPixMap map(IMAGE_MODE_GREY, 4, 4);
        map.width = c.mapWidth;
        map.height = c.mapHeight;
        int visits = 0;
        EXPECT_EQ(ForEachTile(map, c.width, c.height, [&](int, int) { return ++visits > 0; }), c.ok);
        EXPECT_EQ(visits, 0);
        EXPECT_EQ(map.width, c.mapWidth);
        EXPECT_EQ(map.height, c.mapHeight);
    }
}

} // namespace
