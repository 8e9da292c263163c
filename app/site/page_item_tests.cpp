#include "app/site/page_item.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <vector>

#include "app/model/fill_info.h"
#include "app/model/record_stream.h"
#include "app/model/text_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/object_factory.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_object.h"
#include "app/site/site_object_fake.h"
#include "app/site/site_services_fake.h"

namespace {

CPageItem MakeItem(int kind, double x, double y, int w, int h, double rotation = 0.0)
{
    return CPageItem(MakeFake(kind, x, y, w, h, rotation), nullptr);
}

DPOINT ObjectCentre(const CPageObject& object)
{
    DPOINT c;
    return object.GetCenter(c);
}

SIZE ObjectSize(const CPageObject& object)
{
    SIZE s;
    return object.GetSize(s);
}

TEST(PageItem, RectanglesFollowTheShownObjectAndItsOffset)
{
    CPageItem item = MakeItem(objectRectangle, 50, 40, 20, 10);
    EXPECT_EQ(item.GetRect(), CRect(40, 35, 60, 45));
    EXPECT_EQ(item.GetFullRect(), CRect(37, 32, 63, 48));
    EXPECT_EQ(item.GetMouseOverOffsetX(), 0);
    item.SetMouseOverOffsetX(9); // nothing to shift without a twin
    EXPECT_EQ(item.GetMouseOverOffsetX(), 0);

    item.SetMouseOverObject(MakeFake(objectRectangle, 50, 40, 20, 10));
    EXPECT_TRUE(item.HasMouseOver());
    EXPECT_TRUE(item.IsMouseOverShown());
    EXPECT_EQ(item.GetCurrentObject(), item.GetObject(true));
    item.SetMouseOverOffsetX(7);
    item.SetMouseOverOffsetY(-4);
    EXPECT_EQ(item.GetMouseOverOffsetX(), 7);
    EXPECT_EQ(item.GetMouseOverOffsetY(), -4);
    EXPECT_EQ(item.GetRect(), CRect(47, 31, 67, 41));

    // A move takes both along; the twin keeps its offset.
    item.Offset(5, 5);
    EXPECT_EQ(item.GetRect(), CRect(52, 36, 72, 46));
    item.SetMouseOverShown(false);
    EXPECT_EQ(item.GetRect(), CRect(45, 40, 65, 50));
    item.SetCenter(DPOINT{100, 100});
    EXPECT_EQ(item.GetRect(), CRect(90, 95, 110, 105));
    item.SetMouseOverShown(true);
    EXPECT_EQ(item.GetRect(), CRect(97, 91, 117, 101));

    std::unique_ptr<CPageObject> twin = item.RemoveMouseOverObject();
    ASSERT_TRUE(twin);
    EXPECT_FALSE(item.HasMouseOver());
    EXPECT_FALSE(item.IsMouseOverShown());
    EXPECT_EQ(item.GetCurrentObject(), item.GetObject(false));
    EXPECT_EQ(item.GetMouseOverOffsetY(), 0);
}

// A text asks about its item through its object, so the item keeps its objects told, twin changes included.
TEST(PageItem, ObjectsKnowTheItemThatHoldsThem)
{
    auto item = std::make_unique<CPageItem>(MakeFake(objectRectangle, 50, 40, 20, 10), nullptr);
    EXPECT_EQ(item->GetObject(false)->GetItem(), item.get());

    auto first = MakeFake(objectRectangle, 50, 40, 20, 10);
    EXPECT_EQ(first->GetItem(), nullptr);
    item->SetMouseOverObject(std::move(first));
    EXPECT_EQ(item->GetObject(true)->GetItem(), item.get());

    // A removed twin no longer answers for the item.
    std::unique_ptr<CPageObject> replaced = item->RemoveMouseOverObject();
    EXPECT_EQ(replaced->GetItem(), nullptr);
    item->SetMouseOverObject(std::move(replaced));
    EXPECT_EQ(item->GetObject(true)->GetItem(), item.get());
    item->SetMouseOverObject(nullptr);
    EXPECT_EQ(item->GetObject(false)->GetItem(), item.get());
}

TEST(PageItem, ResizeByDragSpansAnchorAndPointer)
{
    struct Case
    {
        POINT anchor, pointer;
        bool square;
        SIZE size;
        DPOINT centre;
    };
    const Case cases[] = {
        {{10, 10}, {10, 30}, false, {1, 20}, {10.5, 20}},
        {{100, 100}, {140, 90}, true, {10, 10}, {105, 95}},
        {{100, 100}, {60, 130}, false, {40, 30}, {80, 115}},
        {{100, 100}, {60, 130}, true, {30, 30}, {85, 115}},
    };
    SiteServicesFake services;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pointer.x << "," << c.pointer.y << " square " << c.square);
        CPageItem item = MakeItem(objectRectangle, 0, 0, 1, 1);
        item.ResizeByDrag(c.anchor, c.pointer, c.square);
        EXPECT_EQ(ObjectSize(*item.GetCurrentObject()).cx, c.size.cx);
        EXPECT_EQ(ObjectSize(*item.GetCurrentObject()).cy, c.size.cy);
        EXPECT_DOUBLE_EQ(ObjectCentre(*item.GetCurrentObject()).x, c.centre.x);
        EXPECT_DOUBLE_EQ(ObjectCentre(*item.GetCurrentObject()).y, c.centre.y);
    }
    EXPECT_EQ(services.codes, std::vector<int>(std::size(cases), 10012));

    // Counters are only moved there.
    CPageItem counter = MakeItem(objectCounter, 0, 0, 80, 20);
    counter.ResizeByDrag(POINT{10, 10}, POINT{50, 70}, false);
    EXPECT_EQ(ObjectSize(*counter.GetCurrentObject()).cx, 80);
    EXPECT_DOUBLE_EQ(ObjectCentre(*counter.GetCurrentObject()).x, 50);
    EXPECT_DOUBLE_EQ(ObjectCentre(*counter.GetCurrentObject()).y, 70);
}

// A 100 x 50 object centred at (200, 100): top edge at 75, bottom 125, left 150, right 250.
TEST(PageItem, ResizeByHandleMovesOnlyTheDraggedEdge)
{
    struct Case
    {
        const char* name;
        int handle;
        POINT pointer;
        bool square, proportional;
        double rotation;
        SIZE size;
        DPOINT centre;
        bool crossed;
    };
    const Case cases[] = {
        {"top", 1, {200, 40}, false, false, 0, {100, 85}, {200, 82.5}, false},
        {"top square", 1, {200, 40}, true, false, 0, {85, 85}, {200, 82.5}, false},
        {"top proportional", 1, {200, 40}, false, true, 0, {170, 85}, {200, 82.5}, false},
        {"bottom", 6, {180, 150}, false, false, 0, {100, 75}, {200, 112.5}, false},
        {"left", 3, {120, 0}, false, false, 0, {130, 50}, {185, 100}, false},
        {"left proportional", 3, {120, 0}, false, true, 0, {130, 65}, {185, 100}, false},
        {"right", 4, {300, 100}, false, false, 0, {150, 50}, {225, 100}, false},
        {"right across the left edge", 4, {100, 100}, false, false, 0, {50, 50}, {125, 100}, true},
        {"bottom onto the top edge", 6, {200, 75}, false, false, 0, {100, 1}, {200, 75.5}, false},
        // Turned a quarter: the top edge faces left, with its handle at (175, 100) and the bottom one at (225, 100).
        {"top of a turned object", 1, {150, 100}, false, false, std::numbers::pi / 2, {100, 75}, {187.5, 100}, false},
    };
    SiteServicesFake services;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPageItem item = MakeItem(objectRectangle, 200, 100, 100, 50, c.rotation);
        EXPECT_EQ(item.ResizeByHandle(c.handle, c.pointer, c.square, c.proportional, true), c.crossed);
        const SIZE size = ObjectSize(*item.GetCurrentObject());
        const DPOINT centre = ObjectCentre(*item.GetCurrentObject());
        EXPECT_EQ(size.cx, c.size.cx);
        EXPECT_EQ(size.cy, c.size.cy);
        EXPECT_NEAR(centre.x, c.centre.x, 1e-9);
        EXPECT_NEAR(centre.y, c.centre.y, 1e-9);
    }
    EXPECT_FALSE(MakeItem(objectRectangle, 200, 100, 100, 50).ResizeByHandle(0, POINT{0, 0}, false, false, true));
}

TEST(PageItem, ResizeByHandleKeepsTheFirstStepsAspectAndTheObjectsLimits)
{
    auto object = MakeFake(objectRectangle, 200, 100, 100, 50);
    object->maxSize = SIZE{120, 2000};
    object->minSize = SIZE{30, 30};
    FakeObject* fake = object.get();
    CPageItem item(std::move(object), nullptr);
    item.ResizeByHandle(4, POINT{400, 100}, false, false, true);
    EXPECT_EQ(ObjectSize(*fake).cx, 120);
    item.ResizeByHandle(1, POINT{200, 120}, false, false, true);
    EXPECT_EQ(ObjectSize(*fake).cy, 30);

    // Later steps keep the ratio taken at the first one, however the object changed since.
    CPageItem free = MakeItem(objectRectangle, 200, 100, 100, 50);
    free.ResizeByHandle(4, POINT{250, 100}, false, true, true);
    EXPECT_EQ(ObjectSize(*free.GetCurrentObject()).cy, 50);
    free.ResizeByHandle(1, POINT{200, 25}, false, true, false);
    EXPECT_EQ(ObjectSize(*free.GetCurrentObject()).cx, 200);
}

TEST(PageItem, ResizeByHandleOfAShownTwinKeepsBothCentresTogether)
{
    CPageItem item = MakeItem(objectRectangle, 200, 100, 100, 50);
    item.SetMouseOverObject(MakeFake(objectRectangle, 200, 100, 100, 50));
    item.SetMouseOverOffsetX(10);
    // The twin's right edge is at 260; dragging it to 310 widens the twin by 50.
    item.ResizeByHandle(4, POINT{310, 100}, false, false, true);
    EXPECT_EQ(ObjectSize(*item.GetObject(true)).cx, 150);
    EXPECT_EQ(ObjectSize(*item.GetObject(false)).cx, 100);
    EXPECT_DOUBLE_EQ(ObjectCentre(*item.GetObject(true)).x, 225);
    EXPECT_DOUBLE_EQ(ObjectCentre(*item.GetObject(false)).x, 225);
    EXPECT_EQ(item.GetRect(), CRect(160, 75, 310, 125));
}

// A text edited in place shows its upright text box; dragged across the opposite edge it keeps its least size on
// the side it had, where a text not being edited turns over.
TEST(PageItem, ResizeByHandleNeverTurnsATextEditedInPlaceOver)
{
    SiteServicesFake services;
    for (const bool editing : {true, false}) {
        SCOPED_TRACE(editing ? "edited" : "not edited");
        auto text = std::make_unique<CTextObject>(200, 100, SIZE{100, 50}, 0.0);
        CTextObject* object = text.get();
        if (editing)
            object->BeginEdit();
        CPageItem item(std::move(text), nullptr);
        SIZE least;
        object->GetMinSize(least);
        // The right edge (250) dragged to 100, past the left edge at 150.
        EXPECT_EQ(item.ResizeByHandle(4, POINT{100, 100}, false, false, true), !editing);
        const int width = editing ? least.cx : 50;
        EXPECT_EQ(ObjectSize(*object).cx, width);
        EXPECT_DOUBLE_EQ(ObjectCentre(*object).x, editing ? 150 + width / 2.0 : 150 - width / 2.0);
    }
}

TEST(PageItem, SnapToPixelsPutsRightAngledEdgesOnPixelEdges)
{
    struct Case
    {
        int w, h;
        double x, y, rotation;
        double snappedX, snappedY, snappedRotation;
    };
    const Case cases[] = {
        {31, 20, 100.2, 50.7, 0.0, 100.5, 51.0, 0.0},
        {30, 21, 100.2, 50.7, 0.0, 100.0, 50.5, 0.0},
        {30, 20, 100.5, 50.5, 0.0, 100.0, 50.0, 0.0},      // a half goes down
        {31, 20, 100.2, 50.7, 6.28318, 100.5, 51.0, 0.0},  // all but a full turn
        {31, 20, 100.2, 50.7, -0.00005, 100.5, 51.0, 0.0}, // just below no turn
        {31, 20, 100.2, 50.7, std::numbers::pi + 0.00005, 100.5, 51.0, std::numbers::pi},
        // A quarter turn exchanges the sides: x snaps by the height, y by the width.
        {31, 20, 100.2, 50.7, std::numbers::pi / 2 - 0.00005, 100.0, 50.5, std::numbers::pi / 2},
        {31, 20, 100.2, 50.7, 1.5 * std::numbers::pi, 100.0, 50.5, 1.5 * std::numbers::pi},
        // Any other angle leaves the object as it is.
        {31, 20, 100.2, 50.7, 0.3, 100.2, 50.7, 0.3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " at " << c.x << " turned " << c.rotation);
        CPageItem item = MakeItem(objectCircle, c.x, c.y, c.w, c.h, c.rotation);
        item.SnapToPixels();
        const CPageObject& object = *item.GetCurrentObject();
        EXPECT_DOUBLE_EQ(ObjectCentre(object).x, c.snappedX);
        EXPECT_DOUBLE_EQ(ObjectCentre(object).y, c.snappedY);
        EXPECT_DOUBLE_EQ(object.GetRotation(), c.snappedRotation);
    }

    // A rounded rectangle is kept a hair off the grid.
    auto rounded = std::make_unique<CRectangleObject>(100.2, 50.7, SIZE{31, 20}, 0.0);
    rounded->SetCorner(20);
    CPageItem item(std::move(rounded), nullptr);
    item.SnapToPixels();
    EXPECT_DOUBLE_EQ(item.GetCurrentObject()->GetRotation(), 0.000001);
    EXPECT_DOUBLE_EQ(ObjectCentre(*item.GetCurrentObject()).x, 100.5);
}

TEST(PageItem, KeptOnTopAndGifPictureByKindAndFill)
{
    struct Case
    {
        const char* name;
        int kind;
        bool animated;
        const char* file;
        bool keptOnTop, gif;
    };
    const Case fakes[] = {
        {"counter", objectCounter, false, nullptr, true, false},
        {"form", objectForm, false, nullptr, true, false},
        {"HTML", objectHtml, false, nullptr, false, false},
        {"circle", objectCircle, false, nullptr, false, false},
    };
    for (const Case& c : fakes) {
        SCOPED_TRACE(c.name);
        CPageItem item = MakeItem(c.kind, 0, 0, 10, 10);
        EXPECT_EQ(item.IsKeptOnTop(), c.keptOnTop);
        EXPECT_EQ(item.IsGifPicture(), c.gif);
    }
    // Text stays on top while it is written as HTML text, that is while it does not allow advanced text.
    for (const bool advanced : {false, true}) {
        auto text = std::make_unique<CTextObject>(0, 0, SIZE{10, 10}, 0.0);
        text->GetTextBody()->m_allowAdvanced = advanced ? 1 : 0;
        CPageItem item(std::move(text), nullptr);
        EXPECT_EQ(item.IsKeptOnTop(), !advanced) << (advanced ? "advanced text" : "plain text");
        EXPECT_FALSE(item.IsGifPicture());
    }
    const Case rectangles[] = {
        {"plain rectangle", objectRectangle, false, nullptr, false, false},
        {"picture file", objectRectangle, false, "a/b.gif", false, false},
        {"animated GIF", objectRectangle, true, "a/b.GiF", true, true},
        {"animated, not a GIF", objectRectangle, true, "a/b.png", true, false},
    };
    for (const Case& c : rectangles) {
        SCOPED_TRACE(c.name);
        auto rectangle = std::make_unique<CRectangleObject>(0, 0, SIZE{10, 10}, 0.0);
        if (c.file)
            rectangle->GetFill()->SetImageFile(c.file);
        rectangle->GetFill()->SetAnimated(c.animated);
        CPageItem item(std::move(rectangle), nullptr);
        EXPECT_EQ(item.IsKeptOnTop(), c.keptOnTop);
        EXPECT_EQ(item.IsGifPicture(), c.gif);
    }
}

TEST(PageItem, CopyTextToOtherStateGivesTheTwinTheShownButtonText)
{
    auto main = std::make_unique<CRectangleObject>(50, 50, SIZE{40, 20}, 0.0);
    auto twin = std::make_unique<CRectangleObject>(50, 50, SIZE{40, 20}, 0.0);
    twin->GetTextStyle()->m_strText = "Go";
    CRectangleObject* mainObject = main.get();
    CPixMap scratch(IMAGE_MODE_RGBA, 64, 64);
    ASSERT_TRUE(mainObject->UpdateImage(scratch));
    ASSERT_FALSE(mainObject->IsDirty());
    CPageItem item(std::move(main), nullptr);
    item.SetMouseOverObject(std::move(twin));
    item.CopyTextToOtherState();
    EXPECT_EQ(mainObject->GetTextStyle()->GetText(), "Go");
    EXPECT_TRUE(mainObject->IsDirty());
}

TEST(PageItem, CopyTextToOtherStateGivesTheTwinACopyOfTheShownText)
{
    auto main = std::make_unique<CTextObject>(50, 50, SIZE{80, 20}, 0.0);
    auto twin = std::make_unique<CTextObject>(50, 50, SIZE{80, 20}, 0.0);
    RECT dirty{};
    for (char c : std::string("Over"))
        twin->InsertCharWithFormat(dirty, static_cast<BYTE>(c), FindFontIndex("Arial"), 12, 0, 0, 0, 0, CLinkInfo());
    CTextObject* mainObject = main.get();
    CPageItem item(std::move(main), nullptr);
    item.SetMouseOverObject(std::move(twin));
    item.CopyTextToOtherState();
    const CTextBody& body = *mainObject->GetTextBody();
    ASSERT_EQ(body.m_paragraphs[0].GetCount(), 4);
    EXPECT_EQ(body.m_paragraphs[0].m_chars[3].m_ch, 'r');
    EXPECT_EQ(body.GetOwner(), mainObject);
    EXPECT_NE(&body, static_cast<CTextObject*>(item.GetObject(true))->GetTextBody());
    EXPECT_TRUE(mainObject->IsDirty());
}

TEST(PageItem, UpdateImageRendersBothObjectsThroughTheRenderBuffer)
{
    CPixMap buffer(IMAGE_MODE_RGBA, 256, 256);
    auto main = MakeFake(objectRectangle, 50, 50, 20, 20);
    auto twin = MakeFake(objectRectangle, 50, 50, 20, 20);
    FakeObject *mainObject = main.get(), *twinObject = twin.get();
    CPageItem item(std::move(main), &buffer);
    item.SetMouseOverObject(std::move(twin));
    EXPECT_TRUE(item.UpdateImage());
    EXPECT_TRUE(item.UpdateImage());
    EXPECT_EQ(mainObject->renders, 1);
    EXPECT_EQ(twinObject->renders, 1);
    EXPECT_EQ(item.GetDownloadSize(1.0), 800);

    CPageItem detached = MakeItem(objectRectangle, 0, 0, 5, 5);
    EXPECT_FALSE(detached.UpdateImage());
}

// Item records: tag, three flags, the main object behind its class tag, then the twin.
class PageItemStream : public testing::Test
{
protected:
    FakeCreators creators;

    static std::vector<BYTE> Record(int mainKind, int twinKind, BYTE shown, BYTE sameText, bool cutTwin = false)
    {
        CMemFile file;
        WriteUInt32(file, CPageItem::kTag);
        WriteByte(file, twinKind >= 0);
        WriteByte(file, shown);
        WriteByte(file, sameText);
        MakeFake(mainKind, 10, 20, 30, 40)->Save(file);
        if (twinKind >= 0)
            MakeFake(twinKind, 11, 21, 31, 41)->Save(file);
        std::vector<BYTE> bytes(file.GetBuffer(), file.GetBuffer() + file.GetLength());
        if (cutTwin)
            bytes.resize(bytes.size() - 6);
        return bytes;
    }

    static std::unique_ptr<CPageItem> Load(std::vector<BYTE> bytes, int major = 5, int minor = 15)
    {
        CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
        return CPageItem::Load(file, nullptr, major, minor);
    }
};

TEST_F(PageItemStream, RoundTripKeepsObjectsAndFlags)
{
    CPageItem item(std::make_unique<CRectangleObject>(30.5, 40, SIZE{21, 10}, 0.25), nullptr);
    item.SetMouseOverObject(std::make_unique<CRectangleObject>(30.5, 40, SIZE{21, 10}, 0.25));
    item.SetMouseOverOffsetX(4);
    item.SetMouseOverShown(false);
    item.SetSameText(false);
    CMemFile file;
    ASSERT_TRUE(item.Save(file));
    file.SeekToBegin();
    std::unique_ptr<CPageItem> read = CPageItem::Load(file, nullptr, 5, 15);
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->HasMouseOver());
    EXPECT_FALSE(read->IsMouseOverShown());
    EXPECT_FALSE(read->IsSameText());
    EXPECT_EQ(read->GetObject(false)->GetKind(), objectRectangle);
    EXPECT_EQ(read->GetMouseOverOffsetX(), 4);
    EXPECT_DOUBLE_EQ(ObjectCentre(*read->GetObject(true)).x, 30.5);
    EXPECT_DOUBLE_EQ(read->GetObject(true)->GetRotation(), 0.25);
    EXPECT_EQ(file.GetPosition(), file.GetLength());
}

TEST_F(PageItemStream, RefusedRecordsLeaveNothingBehind)
{
    struct Case
    {
        const char* name;
        std::vector<BYTE> bytes;
    };
    std::vector<BYTE> badTag = Record(objectCounter, -1, 0, 1);
    badTag[0] ^= 1;
    std::vector<BYTE> flagsCut = Record(objectCounter, -1, 0, 1);
    flagsCut.resize(6);
    const Case cases[] = {
        {"wrong tag", badTag},
        {"twin of another kind", Record(objectCounter, objectForm, 1, 1)},
        {"twin cut short", Record(objectCounter, objectCounter, 1, 1, true)},
        {"flags cut short", flagsCut},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Load(c.bytes));
        EXPECT_EQ(FakeObject::live, 0);
    }
    ASSERT_TRUE(Load(Record(objectCounter, objectCounter, 1, 0)));
    EXPECT_EQ(FakeObject::live, 0);
}

TEST_F(PageItemStream, OldFilesKeepSameTextOn)
{
    struct Case
    {
        int major, minor;
        BYTE stored;
        bool sameText;
    };
    const Case cases[] = {{1, 2, 0, true}, {1, 5, 0, true}, {1, 6, 0, false}, {5, 15, 0, false}, {5, 15, 1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor);
        std::unique_ptr<CPageItem> item = Load(Record(objectCounter, objectCounter, 1, c.stored), c.major, c.minor);
        ASSERT_TRUE(item);
        EXPECT_EQ(item->IsSameText(), c.sameText);
        EXPECT_TRUE(item->IsMouseOverShown());
        EXPECT_DOUBLE_EQ(ObjectCentre(*item->GetObject(true)).x, 11);
    }
}

// A plain text object as files of versions 1.0 to 1.3 store it: no advanced-text byte and no alternate text, one
// format, the text "ab", no fill, and none of the records later versions add.
void WriteOldText(CFile& file)
{
    WriteUInt32(file, kTextObjectTag);
    for (int v : {60, 30})
        WriteInt32(file, v);
    for (double v : {0.0, 100.0, 50.0}) // rotation and centre
        WriteDouble(file, v);
    for (int v : {0, 0, 0, 0, 0, 60, 30}) // bounds, alignment, text box
        WriteInt32(file, v);
    for (double v : {1.0, 1.0}) // scale
        WriteDouble(file, v);
    for (int v : {0, 0, 1}) // twin offsets, one format
        WriteInt32(file, v);
    WriteCountedString(file, "Arial");
    for (BYTE b : {12, 0, 0, 0, 0}) // points, bold, italic, underline
        WriteByte(file, b);
    for (int v : {0, 1, 0, 2, 2}) // colour; one run of format 0 ending at 2; the text's length
        WriteInt32(file, v);
    file.Write("ab", 2);
    WriteUInt32(file, CFillInfo::kTag);
    WriteUInt32(file, CFillInfo::FILL_NONE);
}

// Files without the advanced-text flag derive it from whether the text is plain; a text with a mouse-over twin is
// not, so both of the item's texts allow advanced text.
TEST(PageItemStreamOfText, OldFilesGiveTextsWithATwinAdvancedText)
{
    struct Case
    {
        int minor;
        bool twin;
        BYTE allowAdvanced;
    };
    const Case cases[] = {{0, true, 1}, {3, true, 1}, {0, false, 0}, {2, true, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "1." << c.minor << (c.twin ? " with a twin" : ""));
        CMemFile file;
        WriteUInt32(file, CPageItem::kTag);
        for (BYTE flag : {BYTE(c.twin), BYTE(0), BYTE(1)})
            WriteByte(file, flag);
        WriteOldText(file);
        if (c.twin)
            WriteOldText(file);
        file.SeekToBegin();
        std::unique_ptr<CPageItem> item = CPageItem::Load(file, nullptr, 1, c.minor);
        ASSERT_TRUE(item);
        EXPECT_EQ(file.GetPosition(), file.GetLength());
        for (const bool mouseOver : {false, true}) {
            if (const auto* text = dynamic_cast<const CTextObject*>(item->GetObject(mouseOver))) {
                EXPECT_EQ(text->GetTextBody()->m_allowAdvanced, c.allowAdvanced) << mouseOver;
            }
        }
        EXPECT_EQ(item->IsKeptOnTop(), c.allowAdvanced == 0);
    }
}

TEST(PageItemRotation, RotatePointTurnsAboutTheCentre)
{
    const DPOINT p = RotatePoint(std::numbers::pi / 2, DPOINT{110, 100}, DPOINT{100, 100});
    EXPECT_NEAR(p.x, 100, 1e-12);
    EXPECT_NEAR(p.y, 110, 1e-12);
    EXPECT_EQ(TruncateToInt(-3.9), -3);
    EXPECT_EQ(TruncateToInt(std::numeric_limits<double>::infinity()), 1000000000);
    EXPECT_EQ(TruncateToInt(std::nan("")), 0);
}

} // namespace
