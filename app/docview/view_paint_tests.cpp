#include "app/docview/view_paint.h"

#include <gtest/gtest.h>

#include <array>

#include "app/docview/view_geometry.h"
#include "app/model/fill_info.h"
#include "app/objects/circle_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"

namespace {

using Rgb = std::array<int, 3>;

class ViewPaintTest : public ::testing::Test
{
protected:
    ViewPaintTest() : page(nullptr, "p", "P", Settings())
    {
        auto circle = std::make_unique<CCircleObject>(80, 70, SIZE{100, 80}, 0.0);
        circle->GetFill()->SetColor(CColor(200, 30, 30));
        page.AddObject(std::move(circle));
        // Half of this one lies beyond the right edge.
        auto square = std::make_unique<CRectangleObject>(300, 100, SIZE{60, 60}, 0.0);
        square->GetFill()->SetColor(CColor(20, 160, 40));
        page.AddObject(std::move(square));
        page.RenderDirtyObjects();
        // The whole page drawn in one piece, as the reference.
        whole.resize(static_cast<size_t>(kWidth) * kHeight * 4);
        page.Draw(RECT{0, 0, kWidth, kHeight}, whole.data(), kWidth * 4, true, false, false);
    }

    static constexpr int kWidth = 300, kHeight = 200;
    static NewPageSettings Settings()
    {
        NewPageSettings settings;
        settings.width = kWidth;
        settings.height = kHeight;
        settings.background.SetColor(CColor(250, 240, 200));
        return settings;
    }

    Rgb Reference(int x, int y) const
    {
        const BYTE* p = whole.data() + (static_cast<size_t>(y) * kWidth + x) * 4;
        return {p[1], p[2], p[3]};
    }
    static Rgb At(const ViewPixels& pixels, int x, int y)
    {
        const BYTE* p = pixels.Row(y) + x * 3;
        return {p[2], p[1], p[0]};
    }

    SiteServicesFake services;
    CSitePage page;
    std::vector<BYTE> whole;
};

TEST_F(ViewPaintTest, ALargerClientShowsThePageCentredOnTheGreySurround)
{
    const CSize client(500, 400);
    const ViewPlacement placement{GetPageOrigin(client, CSize(kWidth, kHeight)), CPoint(0, 0)};
    ASSERT_EQ(placement.origin, CPoint(100, 100));
    ViewPixels pixels;
    PaintPageArea(page, CRect(CPoint(0, 0), client), placement, pixels);
    ASSERT_EQ(pixels.width, 500);
    for (int y = 0; y < client.cy; ++y)
        for (int x = 0; x < client.cx; ++x) {
            const int px = x - 100, py = y - 100;
            if (px >= 0 && py >= 0 && px < kWidth && py < kHeight)
                ASSERT_EQ(At(pixels, x, y), Reference(px, py)) << x << ", " << y;
            else if (px >= kWidth && px < kWidth + 30 && py >= 70 && py < 130)
                ASSERT_EQ(At(pixels, x, y), (Rgb{140, 140, 140})) << "silhouette at " << x << ", " << y;
            else
                ASSERT_EQ(At(pixels, x, y), (Rgb{190, 190, 190})) << x << ", " << y;
        }
}

TEST_F(ViewPaintTest, ASmallerClientShowsTheScrolledPartOfTheClip)
{
    const CSize client(120, 90);
    const ViewPlacement placement{GetPageOrigin(client, CSize(kWidth, kHeight)), CPoint(180, 110)};
    ASSERT_EQ(placement.origin, CPoint(0, 0));
    ViewPixels pixels;
    const CRect clip(10, 20, 110, 90);
    PaintPageArea(page, clip, placement, pixels);
    for (int y = 0; y < clip.Height(); ++y)
        for (int x = 0; x < clip.Width(); ++x)
            ASSERT_EQ(At(pixels, x, y), Reference(x + 190, y + 130)) << x << ", " << y;
}

} // namespace
