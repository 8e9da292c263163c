#include "app/objects/text_object.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/objects/text_object_test_support.h"
#include "image/image.h"
#include "platform/io/io.h"
#include "testing/test_output.h"

// ---- Rendering ----

namespace {

constexpr double kTextPi = 3.14159265358979323846;

CRect RenderedBounds(CTextObject& object)
{
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 48);
    EXPECT_TRUE(object.UpdateImage(scratch));
    EXPECT_FALSE(object.IsDirty());
    RECT bounds;
    object.GetBounds(bounds);
    EXPECT_NE(object.GetImage(), nullptr);
    if (object.GetImage()) {
        EXPECT_EQ(object.GetImage()->Width(), CRect(bounds).Width());
        EXPECT_EQ(object.GetImage()->Height(), CRect(bounds).Height());
    }
    return CRect(bounds);
}

} // namespace

TEST_F(TextObjectTest, TurningAndStretchingChangeTheRenderedBounds)
{
    auto object = MakeTextObject("Wide line of text");
    const CRect upright = RenderedBounds(*object);
    ASSERT_GT(upright.Width(), 40);
    const int boxW = object->GetTextBody()->m_nWidth, boxH = object->GetTextBody()->m_nHeight;

    struct Case
    {
        const char* name;
        double rotation;
        double sx, sy;
        double expectW, expectH; // of the ink, from the upright ink (w, h)
    };
    const double w = upright.Width(), h = upright.Height();
    const std::vector<Case> cases = {
        {"twice as wide", 0.0, 2.0, 1.0, 2 * w, h},
        {"half as high", 0.0, 1.0, 0.5, w, h / 2},
        {"a quarter turn", kTextPi / 2, 1.0, 1.0, h, w},
        {"thirty degrees", kTextPi / 6, 1.0, 1.0, w * std::cos(kTextPi / 6) + h * std::sin(kTextPi / 6),
         w * std::sin(kTextPi / 6) + h * std::cos(kTextPi / 6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto turned = MakeTextObject("Wide line of text");
        turned->SetSize(static_cast<int>(boxW * c.sx), static_cast<int>(boxH * c.sy));
        turned->SetRotation(c.rotation);
        const CRect bounds = RenderedBounds(*turned);
        EXPECT_NEAR(bounds.Width(), c.expectW, 3 + 0.08 * c.expectW);
        EXPECT_NEAR(bounds.Height(), c.expectH, 3 + 0.08 * c.expectH);
    }
}

TEST_F(TextObjectTest, RenderedTextLiesInItsBoxAndWholePixelMovesKeepIt)
{
    auto object = MakeTextObject("Box");
    const CRect bounds = RenderedBounds(*object);
    RECT box;
    object->GetPaintRect(box);
    EXPECT_GE(bounds.left, box.left);
    EXPECT_GE(bounds.top, box.top);
    EXPECT_LE(bounds.right, box.right);
    EXPECT_LE(bounds.bottom, box.bottom);
    // A whole-pixel move only moves the image.
    const CImage* image = object->GetImage();
    DPOINT centre;
    object->GetCenter(centre);
    object->SetCenter(DPOINT{centre.x + 5, centre.y - 2});
    EXPECT_FALSE(object->IsDirty());
    EXPECT_EQ(object->GetImage(), image);
    RECT moved;
    object->GetBounds(moved);
    EXPECT_EQ(CRect(moved), CRect(bounds.left + 5, bounds.top - 2, bounds.right + 5, bounds.bottom - 2));
    // Handles recomputed after whole-pixel moves stay where the moves put them.
    object->MoveBy(3, 4);
    const DPOINT shifted = object->GetHandlePoints()[7];
    object->UpdateHandles();
    EXPECT_NEAR(object->GetHandlePoints()[7].x, shifted.x, 1e-9);
    EXPECT_NEAR(object->GetHandlePoints()[7].y, shifted.y, 1e-9);
}

TEST_F(TextObjectTest, TurnedTextStartsAtTheTurnedTopLeftHandle)
{
    for (double rotation : {kTextPi / 6, -kTextPi / 6, kTextPi / 2, 2.5}) {
        SCOPED_TRACE(rotation);
        auto object = std::make_unique<CTextObject>(200.0, 150.0, SIZE{200, 40}, 0.0);
        Type(*object, {"MMMM MMMM MMMM"});
        object->SetRotation(rotation);
        const CRect bounds = RenderedBounds(*object);
        const DPOINT corner = object->GetHandlePoints()[0];
        const CImage& image = *object->GetImage();
        double nearest = 1e9;
        for (int j = 0; j < image.Height(); ++j)
            for (int i = 0; i < image.Width(); ++i)
                if (image.GetData()[static_cast<size_t>(j) * image.GetStride() + i * 4] > 128)
                    nearest = std::min(nearest,
                                       std::hypot(bounds.left + i + 0.5 - corner.x, bounds.top + j + 0.5 - corner.y));
        // The first letter sits a margin and its side bearing away from the box's corner.
        EXPECT_LT(nearest, 8.0);
    }
}

TEST_F(TextObjectTest, LargeTextBoxesRenderUnderTheWaitCursor)
{
    struct Case
    {
        int width, height;
        bool waits;
    };
    for (const Case& c : std::vector<Case>{{256, 40, false}, {257, 40, true}, {100, 300, true}}) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        services.waitsBegun = 0;
        CTextObject object(200.0, 200.0, SIZE{c.width, c.height}, 0.0);
        Type(object, {"Wait"});
        object.GetTextBody()->m_nHeight = c.height;
        CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
        ASSERT_TRUE(object.RenderImage(scratch));
        EXPECT_EQ(services.waitsBegun, c.waits ? 1 : 0);
        EXPECT_EQ(services.waitDepth, 0);
    }
}

TEST_F(TextObjectTest, TextWithoutInkOrAreaRendersToOneClearPixel)
{
    for (const SIZE box : {SIZE{40, 20}, SIZE{0, 0}}) {
        SCOPED_TRACE(testing::Message() << box.cx << " x " << box.cy);
        CTextObject object(30.0, 20.0, box, 0.0);
        const CRect bounds = RenderedBounds(object);
        EXPECT_EQ(bounds, CRect(30, 20, 31, 21));
        EXPECT_EQ(object.GetImage()->GetData()[0], 0);
    }
}

TEST_F(TextObjectTest, UnrenderedTextShowsAHalfTransparentBox)
{
    auto object = MakeTextObject();
    auto fill = std::make_unique<CFillInfo>();
    fill->SetColor(CColor(200, 30, 30));
    object->SetFill(std::move(fill));
    ASSERT_TRUE(object->IsDirty());
    CPixMap map(IMAGE_MODE_RGBA, 8, 8);
    object->GetPixels(20, 10, map);
    const unsigned char* p = map.Sample(4, 4, 0);
    EXPECT_EQ(p[0], 127);
    EXPECT_EQ(p[1], 200);
}

TEST_F(TextObjectTest, EditedObjectPaintsAMarginForTheCaret)
{
    auto object = MakeTextObject();
    RECT outside, inside;
    object->GetPaintRect(outside);
    object->BeginEdit();
    object->GetPaintRect(inside);
    const CRect box = CRect(inside);
    RECT bounds;
    object->GetBounds(bounds);
    EXPECT_EQ(box.left, bounds.left - 4);
    EXPECT_EQ(box.right, bounds.right + 4);
    EXPECT_EQ(box.top, bounds.top - 5);
    EXPECT_EQ(box.bottom, bounds.bottom + 5);
}

// Not a check: a formatted paragraph with a link, turned 30 degrees with a drop shadow, for a person to look at.
TEST_F(TextObjectTest, WritesTurnedTextPicture)
{
    auto object = std::make_unique<CTextObject>(200.0, 150.0, SIZE{260, 40}, 0.0);
    const std::string line = "Pelorin sets bold, italic and linked words";
    const auto within = [&](int i, const std::string& word) {
        const int at = static_cast<int>(line.find(word));
        return i >= at && i < at + static_cast<int>(word.size());
    };
    Type(*object, {line, "in colour"}, [&](int para, int i) {
        ObjectFormat f;
        f.points = 16;
        if (para == 0 && within(i, "Pelorin"))
            f.bold = 1;
        if (para == 0 && within(i, "italic"))
            f.italic = 1;
        if (para == 0 && within(i, "linked"))
            f.link = UrlLink("http://example.com/");
        if (para == 1) {
            f.colour = RGB(200, 40, 40);
            f.points = 20;
            f.face = "Times New Roman";
        }
        return f;
    });
    object->GetTextBody()->m_allowAdvanced = 1;
    auto effects = std::make_unique<CEffectSettings>();
    effects->m_shadow = true;
    effects->m_shadowOffset = 6;
    object->SetEffects(std::move(effects));
    object->SetRotation(kTextPi / 6);
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
    ASSERT_TRUE(object->UpdateImage(scratch));

    const int w = 400, h = 300;
    std::vector<unsigned char> rgb(static_cast<size_t>(w) * h * 3, 255);
    const CImage& image = *object->GetImage();
    RECT bounds;
    object->GetBounds(bounds);
    for (int j = 0; j < image.Height(); ++j)
        for (int i = 0; i < image.Width(); ++i) {
            const int x = bounds.left + i, y = bounds.top + j;
            if (x < 0 || y < 0 || x >= w || y >= h)
                continue;
            const unsigned char* s = image.GetData() + static_cast<size_t>(j) * image.GetStride() + i * 4;
            unsigned char* d = &rgb[(static_cast<size_t>(y) * w + x) * 3];
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<unsigned char>((s[1 + c] * s[0] + d[c] * (255 - s[0]) + 127) / 255);
        }
    CImage picture(IMAGE_MODE_RGB, w, h);
    CPixMap map(IMAGE_MODE_RGB, w, h);
    for (int y = 0; y < h; ++y)
        std::memcpy(map.Sample(0, y, 0), &rgb[static_cast<size_t>(y) * w * 3], static_cast<size_t>(w) * 3);
    ASSERT_TRUE(picture.SetBuf(0, 0, map));
    EXPECT_TRUE(CIO::SavePNG((TestOutputFolder() / "text_object_rotated.png").string(), picture));
}
