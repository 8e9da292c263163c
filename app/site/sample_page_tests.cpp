// Not a check: a sample page for a person to look at, drawn the way the design view draws it (in tiles of the
// render buffer). A tiled picture background; circles, rectangles and polygons with colour, gradient and picture
// fills, button text and effects; a turned user group; a hit counter, an HTML object's placeholder and an e-mail
// form; a turned five-pointed star with shadow, bevel and glow.
// Written as sample_page.png, with its thumbnail as sample_page_thumbnail.png, into the test output folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <numbers>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/services.h"
#include "app/model/text_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/counter_object.h"
#include "app/objects/form_object.h"
#include "app/objects/html_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/page_picture_test_support.h"
#include "app/site/site_page.h"
#include "platform/io/io.h"
#include "testing/test_output.h"

namespace {

std::unique_ptr<CImage> MakeImage(int width, int height, auto colour)
{
    auto image = std::make_unique<CImage>(IMAGE_MODE_RGB, width, height);
    CPixMap map(IMAGE_MODE_RGB, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            colour(x, y, map.Sample(x, y, 0));
    image->SetBuf(0, 0, map);
    return image;
}

// A soft tile of diagonal stripes for the page, and a checked picture for a fill.
std::unique_ptr<CImage> BackgroundTile()
{
    return MakeImage(48, 48, [](int x, int y, BYTE* p) {
        const bool stripe = ((x + y) / 12) % 2 == 0;
        p[0] = stripe ? 232 : 244;
        p[1] = stripe ? 238 : 246;
        p[2] = stripe ? 248 : 250;
    });
}

std::unique_ptr<CImage> CheckedPicture()
{
    return MakeImage(96, 64, [](int x, int y, BYTE* p) {
        const bool square = (x / 16 + y / 16) % 2 == 0;
        p[0] = static_cast<BYTE>(square ? 250 : 30 + x * 2);
        p[1] = static_cast<BYTE>(square ? 190 : 80);
        p[2] = static_cast<BYTE>(square ? 40 : 120 + y * 2);
    });
}

std::unique_ptr<CEffectSettings> Effects(bool shadow, bool bevel, bool glow)
{
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_shadow = shadow;
    effects->m_bevel = bevel;
    effects->m_glow = glow;
    return effects;
}

template <class Object> std::unique_ptr<Object> Coloured(std::unique_ptr<Object> object, CColor colour)
{
    object->GetFill()->SetColor(colour);
    return object;
}

bool SavePage(CSitePage& page, const std::filesystem::path& path)
{
    return CIO::SavePNG(path.string(), *DrawWholePage(page));
}

TEST(SamplePage, WritesAPageOfEveryObjectKind)
{
    NewPageSettings settings;
    settings.width = 800;
    // Tall enough for the form below the other objects: counters and forms are always drawn on top.
    settings.height = 800;
    CSitePage page(nullptr, "sample", "Sample page", settings);
    page.GetBackground()->SetImageFileAndImage("sample_tile.png", BackgroundTile());

    // A row of the plain kinds: circle, rounded rectangle with a picture and button text, polygons.
    page.AddObject(Coloured(std::make_unique<CCircleObject>(100, 100, SIZE{140, 100}, 0.0), CColor(220, 60, 50)));
    // Made 1 x 1 and then sized, as a drag makes it, so that the outline takes the corner.
    auto button = std::make_unique<CRectangleObject>(290, 100, SIZE{1, 1}, 0.0);
    button->SetCorner(30);
    button->SetSize(180, 90);
    button->GetFill()->SetPicture(CheckedPicture());
    auto label = std::make_unique<CTextStyle>(*button->GetTextStyle());
    label->m_strText = "Button";
    label->m_nSize = 20;
    label->m_bBold = true;
    button->SetTextStyle(std::move(label));
    button->SetEffects(Effects(true, true, false));
    page.AddObject(std::move(button));
    const int codes[] = {6, 13, 16, 20};
    for (int i = 0; i < 4; ++i)
        page.AddObject(Coloured(std::make_unique<CPolygonObject>(470 + 90 * i, 100, SIZE{80, 80}, 0.0, codes[i]),
                                CColor(static_cast<BYTE>(60 + 50 * i), 120, static_cast<BYTE>(220 - 40 * i))));

    // A gradient circle overlapping a rectangle, the circle with a glow.
    page.AddObject(Coloured(std::make_unique<CRectangleObject>(140, 300, SIZE{200, 120}, 0.0), CColor(40, 90, 180)));
    auto gradientCircle = std::make_unique<CCircleObject>(220, 340, SIZE{150, 150}, 0.0);
    CGradientInfo gradient;
    GRADIENTCOLORS colours;
    CGradientModel::GetPredefinedGradient(colours, 1);
    gradient.SetGradientColors(colours);
    gradient.angle = 60;
    gradientCircle->GetFill()->SetGradient(gradient);
    gradientCircle->SetEffects(Effects(false, false, true));
    page.AddObject(std::move(gradientCircle));

    // A user group of three, turned a little about its centre.
    std::vector<CPageItem*> members;
    members.push_back(page.AddObject(
        Coloured(std::make_unique<CRectangleObject>(450, 300, SIZE{90, 50}, 0.0), CColor(250, 200, 40))));
    members.push_back(
        page.AddObject(Coloured(std::make_unique<CCircleObject>(540, 300, SIZE{60, 60}, 0.0), CColor(60, 170, 90))));
    members.push_back(page.AddObject(
        Coloured(std::make_unique<CPolygonObject>(495, 370, SIZE{150, 60}, 0.0, 15), CColor(150, 80, 200))));
    page.SelectItem(members[0]);
    page.AddToSelection(members[1]);
    page.AddToSelection(members[2]);
    CObjectFrame* group = page.CreateGroup();
    ASSERT_TRUE(group);
    group->RecordDragData();
    group->BeginRotate();
    const DPOINT centre = group->GetCenter();
    group->RotateToPoint(POINT{static_cast<LONG>(centre.x) + 100, static_cast<LONG>(centre.y)}, 0.35, 0.0, false);
    group->EndRotate();

    // The picture objects: a counter and an HTML placeholder in the free band under the first row, and a form at
    // the foot. The placeholder is drawn only once the view has its buffer.
    ViewBufferReady = 1;
    page.AddObject(std::make_unique<CCounterObject>(0, POINT{110, 195}));
    auto html = std::make_unique<CHtmlObject>(POINT{250, 168}, 300, 60);
    html->SetName("HTML object");
    page.AddObject(std::move(html));
    page.AddObject(std::make_unique<CFormObject>("me@example.com", POINT{150, 600}));

    // The turned star with every effect.
    auto star = std::make_unique<CPolygonObject>(660, 420, SIZE{200, 200}, 0.3, 18);
    star->GetFill()->SetColor(CColor(240, 120, 30));
    star->SetEffects(Effects(true, true, true));
    page.AddObject(std::move(star));

    page.RenderDirtyObjects();
    const std::filesystem::path folder = TestOutputFolder();
    EXPECT_TRUE(SavePage(page, folder / "sample_page.png"));
    CImage thumbnail;
    ASSERT_TRUE(page.RenderPageImage(thumbnail, 159, 200));
    EXPECT_EQ(thumbnail.Width(), 159);
    EXPECT_EQ(thumbnail.Height(), 159);
    EXPECT_TRUE(CIO::SavePNG((folder / "sample_page_thumbnail.png").string(), thumbnail));
    ViewBufferReady = 0;
}

} // namespace
