#include "app/objects/placed_image.h"

#include <gtest/gtest.h>

#include <functional>

#include "app/model/services.h"
#include "app/objects/counter_object.h"
#include "app/objects/form_object.h"
#include "app/objects/html_object.h"
#include "platform/resources/resource_folder.h"
#include "testing/scratch_folder.h"

namespace {

TEST(PlacedImage, RoundPlacementRoundsHalvesUpFromTheTruncatedValue)
{
    const std::pair<double, int> cases[] = {{57.5, 58},   {57.49, 57},  {-0.5, 0}, {-10.5, -10},
                                            {-10.6, -10}, {-10.4, -10}, {3.0, 3},  {0.99, 1}};
    for (auto [v, rounded] : cases)
        EXPECT_EQ(RoundPlacement(v), rounded) << v;
}

// Without its bitmaps an object has no image; the map it is asked to fill must not keep what was in it, or the
// page would show stale pixels where the object stands.
TEST(PlacedImage, ObjectsWithoutAnImageLeaveTheMapTransparent)
{
    ScratchFolder empty;
    SetResourceFolder(empty.Path());
    ViewBufferReady = 1;
    const std::pair<const char*, std::function<std::unique_ptr<CPageObject>()>> makers[] = {
        {"counter",
         [] {
             return std::make_unique<CCounterObject>(0, POINT{50, 50});
         }},
        {"html",
         [] {
             return std::make_unique<CHtmlObject>(POINT{0, 0}, 40, 40);
         }},
        {"form",
         [] {
             return std::make_unique<CFormObject>("a@b", POINT{50, 50});
         }},
    };
    for (const auto& [name, make] : makers) {
        SCOPED_TRACE(name);
        auto object = make();
        EXPECT_EQ(object->GetImage(), nullptr);
        CPixMap map(IMAGE_MODE_RGBA, 3, 2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                for (int p = 0; p < 4; ++p)
                    *map.Sample(x, y, p) = 0xAB;
        object->GetPixels(0, 0, map);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(*map.Sample(x, y, 0), 0);
    }
    ViewBufferReady = 0;
    SetResourceFolder({});
}

} // namespace
