#include "app/palettes/object_page_logic.h"

#include <cmath>
#include <numbers>

#include "app/model/string_attr.h"
#include "app/objects/circle_object.h"
#include "app/objects/counter_object.h"
#include "app/objects/form_object.h"
#include "app/objects/html_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/shape_outline.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/palettes/palette_test_support.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

#include <gtest/gtest.h>

namespace {

class ObjectPageTest : public PalettePageTest<>
{
protected:
    static std::unique_ptr<CPageObject> Rectangle()
    {
        return std::make_unique<CRectangleObject>(100.0, 100.0, SIZE{80, 40}, 0.0);
    }
};

SIZE SizeOf(const CPageObject& object)
{
    SIZE size;
    return object.GetSize(size);
}

double DegreesOf(const CPageObject& object)
{
    return object.GetRotation() * 180.0 / std::numbers::pi;
}

TEST(ObjectPageParse, BoxesClampAndReadTheirLeadingNumber)
{
    struct Side
    {
        const char* text;
        int value;
    };
    for (const Side& c : {Side{"5000", 2000}, Side{"0", 1}, Side{"", 1}, Side{"abc", 1}, Side{"-7", 1},
                          Side{"120px", 120}, Side{"99999999999999999999", 2000}})
        EXPECT_EQ(ParseObjectSide(c.text), c.value) << c.text;

    struct Angle
    {
        const char* text;
        double degrees;
    };
    for (const Angle& c : {Angle{"370", 10.0}, Angle{"-30", -30.0}, Angle{"12,5", 12.5}, Angle{"45.0\xB0", 45.0},
                           Angle{"720", 0.0}, Angle{"", 0.0}, Angle{"1e400", 0.0}})
        EXPECT_DOUBLE_EQ(ParseObjectAngle(c.text), c.degrees) << c.text;

    EXPECT_EQ(ParseCornerRadius("150"), 100);
    EXPECT_EQ(ParseCornerRadius("12,7"), 12);
    EXPECT_EQ(ParseCornerRadius("-5"), -5);
}

TEST_F(ObjectPageTest, NothingSelectedShowsZerosWithEveryBoxDisabled)
{
    const ObjectPageContent content = ReadObjectPage();
    EXPECT_EQ(content.width, "0");
    EXPECT_EQ(content.height, "0");
    EXPECT_EQ(content.angle, "0\xB0");
    EXPECT_EQ(content.corner, "0");
    EXPECT_FALSE(content.states.WidthEnabled() || content.states.HeightEnabled() || content.states.AngleEnabled() ||
                 content.states.CornerEnabled());
    EXPECT_FALSE(content.altTextEnabled);
    EXPECT_EQ(content.altText, "");
    EXPECT_FALSE(content.buttonTextEnabled);
    // No edit reaches anything.
    EXPECT_FALSE(ApplyObjectWidth("50"));
    EXPECT_FALSE(ApplyObjectAltText("x"));
    EXPECT_EQ(Steps(), 0u);
}

TEST_F(ObjectPageTest, AUserGroupIsShownWithItsAngleButNotEdited)
{
    page.AddObject(Rectangle());
    page.AddObject(std::make_unique<CCircleObject>(200.0, 100.0, SIZE{40, 40}, 0.0));
    page.SelectAll();
    ASSERT_TRUE(page.CanCreateGroup());
    CObjectFrame* group = page.CreateGroup();
    const DPOINT centre = group->GetCenter();
    group->BeginRotate();
    group->RotateToPoint(POINT{static_cast<LONG>(centre.x) + 100, static_cast<LONG>(centre.y)}, std::numbers::pi / 4,
                         0.0, false);
    group->EndRotate();

    const ObjectPageContent content = ReadObjectPage();
    EXPECT_EQ(content.width, std::to_string(group->GetSize().cx));
    EXPECT_EQ(content.height, std::to_string(group->GetSize().cy));
    EXPECT_EQ(content.angle, "45.0\xB0");
    EXPECT_FALSE(content.corner.has_value()) << "the corner box keeps its text";
    EXPECT_FALSE(content.states.WidthEnabled() || content.states.HeightEnabled() || content.states.AngleEnabled());
}

TEST_F(ObjectPageTest, EachKindShowsItsOwnSections)
{
    struct Case
    {
        const char* name;
        std::function<std::unique_ptr<CPageObject>()> make;
        bool editing;
        bool width, height, angle, corner, textFormat, advancedShown, advancedEnabled, counter, html, form, alt,
            buttonText;
    };
    auto text = [](bool advanced) {
        auto object = std::make_unique<CTextObject>(100.0, 100.0, SIZE{120, 30}, 0.0);
        object->GetTextBody()->m_allowAdvanced = advanced ? 1 : 0;
        return object;
    };
    const Case cases[] = {
        {"circle",
         [] {
             return std::make_unique<CCircleObject>(50.0, 50.0, SIZE{40, 40}, 0.0);
         },
         false, true, true, true, false, false, false, false, false, false, false, true, true},
        {"rectangle", Rectangle, false, true, true, true, true, false, false, false, false, false, false, true, true},
        {"plain text", [&] { return text(false); }, false, false, false, false, false, false, true, true, false, false,
         false, false, false},
        {"advanced text", [&] { return text(true); }, false, true, true, true, false, false, true, true, false, false,
         false, true, false},
        {"text being edited", [&] { return text(true); }, true, true, false, false, false, true, true, false, false,
         false, false, true, false},
        {"counter", [] { return std::make_unique<CCounterObject>(1, 50.0, 50.0); }, false, false, false, false, false,
         false, false, false, true, false, false, false, false},
        {"form", [] { return std::make_unique<CFormObject>("me@example.com", 50.0, 50.0); }, false, false, false, false,
         false, false, false, false, false, false, true, false, false},
        {"html", [] { return std::make_unique<CHtmlObject>(50.0, 50.0, 100, 80); }, false, true, true, false, false,
         false, false, false, false, true, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Select(c.make());
        page.SetEditingInPlace(c.editing);
        const ObjectPageContent content = ReadObjectPage();
        const ObjectControlStates& s = content.states;
        EXPECT_EQ(s.WidthEnabled(), c.width);
        EXPECT_EQ(s.HeightEnabled(), c.height);
        EXPECT_EQ(s.AngleEnabled(), c.angle);
        EXPECT_EQ(s.CornerEnabled(), c.corner);
        EXPECT_EQ(s.TextFormatShown(), c.textFormat);
        EXPECT_EQ(s.advancedShown, c.advancedShown);
        EXPECT_EQ(s.advancedEnabled, c.advancedEnabled);
        EXPECT_EQ(s.counter, c.counter);
        EXPECT_EQ(s.html, c.html);
        EXPECT_EQ(s.form, c.form);
        EXPECT_EQ(content.altTextEnabled, c.alt);
        EXPECT_EQ(content.buttonTextEnabled, c.buttonText);
        if (!c.alt) {
            EXPECT_EQ(content.altText, "");
        }
    }
    page.SetEditingInPlace(false);

    // The filled values of the kinds with their own controls.
    Select(std::make_unique<CCounterObject>(2, 50.0, 50.0));
    EXPECT_EQ(ReadObjectPage().counterEntry, 2);
    Select(std::make_unique<CCounterObject>(7, 50.0, 50.0));
    EXPECT_EQ(ReadObjectPage().counterEntry, 3);
    Select(std::make_unique<CFormObject>("me@example.com", 50.0, 50.0));
    EXPECT_EQ(ReadObjectPage().email, "me@example.com");
    Select(text(true));
    EXPECT_TRUE(ReadObjectPage().advancedChecked);
}

TEST_F(ObjectPageTest, WidthHeightAndAngleEditsAreClampedSingleUndoSteps)
{
    CPageObject* rect = Select(Rectangle());
    const ObjectPageContent before = ReadObjectPage();
    EXPECT_EQ(before.width, "80");
    EXPECT_EQ(before.height, "40");
    EXPECT_EQ(before.angle, "0.0\xB0");

    EXPECT_TRUE(ApplyObjectWidth("5000"));
    EXPECT_EQ(SizeOf(*rect).cx, 2000);
    EXPECT_EQ(SizeOf(*rect).cy, 40);
    EXPECT_TRUE(ApplyObjectWidth("0"));
    EXPECT_EQ(SizeOf(*rect).cx, 1);
    EXPECT_TRUE(ApplyObjectHeight("55"));
    EXPECT_EQ(SizeOf(*rect).cy, 55);
    EXPECT_EQ(SizeOf(*rect).cx, 1);
    EXPECT_EQ(undo->recorded, std::vector<int>(3, static_cast<int>(UndoKind::geometry)));
    EXPECT_FALSE(ApplyObjectHeight("55")) << "the same value is no step";

    EXPECT_TRUE(ApplyObjectAngle("370"));
    EXPECT_NEAR(DegreesOf(*rect), 10.0, 1e-9);
    EXPECT_TRUE(ApplyObjectAngle("12,5"));
    EXPECT_NEAR(DegreesOf(*rect), 12.5, 1e-9);
    const size_t steps = Steps();
    // Leaving the box as it was filled, or with the same number, records nothing.
    EXPECT_FALSE(ApplyObjectAngle(ReadObjectPage().angle));
    EXPECT_FALSE(ApplyObjectAngle("12.5"));
    EXPECT_EQ(Steps(), steps);
    EXPECT_TRUE(ApplyObjectAngle("-30"));
    EXPECT_NEAR(DegreesOf(*rect), -30.0, 1e-9);
    EXPECT_EQ(ReadObjectPage().angle, "-30.0\xB0");

    // A star keeps its width equal to its height: a typed width sizes both.
    CPageObject* star = Select(std::make_unique<CPolygonObject>(150.0, 150.0, SIZE{60, 60}, 0.0, shapeFivePointedStar));
    EXPECT_TRUE(ApplyObjectWidth("140"));
    EXPECT_EQ(SizeOf(*star).cx, 140);
    EXPECT_EQ(SizeOf(*star).cy, 140);
    EXPECT_FALSE(ApplyObjectWidth("140"));
}

TEST_F(ObjectPageTest, CornerRadiusIsForRectanglesAndStopsAtOneHundred)
{
    CPageObject* rect = Select(Rectangle());
    bool changed = false;
    EXPECT_EQ(ApplyObjectCorner("150", &changed), "100");
    EXPECT_TRUE(changed);
    EXPECT_EQ(rect->GetCorner(), 100);
    EXPECT_EQ(ReadObjectPage().corner, "100");
    EXPECT_EQ(ApplyObjectCorner("100", &changed), std::nullopt);
    EXPECT_FALSE(changed);
    EXPECT_EQ(ApplyObjectCorner("20", &changed), std::nullopt);
    EXPECT_TRUE(changed);
    EXPECT_EQ(rect->GetCorner(), 20);
    EXPECT_EQ(Steps(), 2u);

    Select(std::make_unique<CCircleObject>(50.0, 50.0, SIZE{40, 40}, 0.0));
    ApplyObjectCorner("30", &changed);
    EXPECT_FALSE(changed);
    EXPECT_EQ(Steps(), 2u);
}

TEST_F(ObjectPageTest, AlternateTextIsAStepOnlyWhenItDiffers)
{
    CPageObject* rect = Select(Rectangle());
    EXPECT_FALSE(ApplyObjectAltText(""));
    EXPECT_TRUE(ApplyObjectAltText("Company logo"));
    ASSERT_NE(rect->GetAltText(), nullptr);
    EXPECT_EQ(rect->GetAltText()->GetString(), "Company logo");
    EXPECT_FALSE(ApplyObjectAltText("Company logo"));
    EXPECT_EQ(undo->recorded, std::vector<int>{static_cast<int>(UndoKind::geometry)});
    EXPECT_TRUE(services.invalidatedRects.empty()) << "no pixel changes";
    EXPECT_EQ(ReadObjectPage().altText, "Company logo");
}

} // namespace
