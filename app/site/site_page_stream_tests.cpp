#include "app/site/site_page.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "app/model/fill_info.h"
#include "app/model/record_stream.h"
#include "app/model/stream_test_support.h"
#include "app/model/text_style.h"
#include "app/objects/circle_object.h"
#include "app/objects/polygon_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_object_fake.h"
#include "app/site/site_services_fake.h"
#include "app/site/website.h"

namespace {

class MessageServices : public SiteServicesFake
{
public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// A fake that is stored behind the class tag of its own kind, circles and rectangles included, so that records of
// any version can be built without the version rules of the real shapes.
class ShapeFake : public FakeObject
{
public:
    using FakeObject::FakeObject;
    void Save(CFile& file) const override
    {
        const int kind = GetKind();
        WriteUInt32(file, kind == objectCircle      ? kCircleObjectTag
                          : kind == objectRectangle ? kRectangleObjectTag
                                                    : TagOf(kind));
        DPOINT centre;
        GetCenter(centre);
        SIZE size;
        GetSize(size);
        WriteDouble(file, centre.x);
        WriteDouble(file, centre.y);
        WriteInt32(file, size.cx);
        WriteInt32(file, size.cy);
    }
};

std::unique_ptr<CPageObject> MakeShapeFake(int kind)
{
    return std::make_unique<ShapeFake>(kind, 20, 30, SIZE{10, 10});
}

// While it lives, the factory reads circles and rectangles as fakes too.
class ShapeFakeCreators
{
public:
    ShapeFakeCreators()
        : m_circle(SetPageObjectCreator(kCircleObjectTag, [] { return MakeShapeFake(objectCircle); })),
          m_rectangle(SetPageObjectCreator(kRectangleObjectTag, [] { return MakeShapeFake(objectRectangle); }))
    {
    }
    ~ShapeFakeCreators()
    {
        SetPageObjectCreator(kCircleObjectTag, m_circle);
        SetPageObjectCreator(kRectangleObjectTag, m_rectangle);
    }
    ShapeFakeCreators(const ShapeFakeCreators&) = delete;
    ShapeFakeCreators& operator=(const ShapeFakeCreators&) = delete;

private:
    PageObjectCreator m_circle;
    PageObjectCreator m_rectangle;
};

// One item of a page record: the frame it names and the object it carries.
struct ItemEntry
{
    int32_t frameIndex;
    int kind;
};

// A page record built field by field, each field written only when the version stores it, so that the reader is
// checked against a layout that does not come from its own writer. Counts left at kAsListed follow the lists.
struct PageRecord
{
    static constexpr int32_t kAsListed = INT32_MIN;

    int major = 5, minor = 15;
    DWORD tag = CSitePage::kStreamTag;
    std::string name = "home", title = "Home";
    std::string headerHtml = "<meta x>", onloadCode = "go()";
    std::vector<std::string> usedFiles = {"a.js", "b.css"};
    int32_t usedFileCount = kAsListed;
    BYTE front = 1, centred = 1;
    int32_t width = 300, height = 200;
    int backgroundWidth = 0, backgroundHeight = 0; // 0: the page's
    std::vector<int32_t> horizontalGuides = {5, 50}, verticalGuides = {7};
    int32_t horizontalCount = kAsListed, verticalCount = kAsListed;
    BYTE firstPage = 0, guidesHidden = 1;
    int frames = 1;
    int32_t frameCount = kAsListed;
    std::vector<ItemEntry> items = {{0, objectCounter}, {-1, objectRectangle}, {0, objectForm}};
    int32_t itemCount = kAsListed;
    std::string keywords = "kw", description = "desc", analytics = "<script>a</script>";

    std::vector<BYTE> Bytes() const
    {
        CMemFile file;
        WriteUInt32(file, tag);
        WriteCountedString(file, name);
        WriteCountedString(file, title);
        if (IsVersionAtLeast(major, minor, 1, 6))
            WriteCountedString(file, headerHtml, kMaxCodeStringLength);
        if (IsVersionAtLeast(major, minor, 1, 7)) {
            WriteCountedString(file, onloadCode, kMaxCodeStringLength);
            WriteInt32(file, Count(usedFileCount, usedFiles.size()));
            for (const std::string& used : usedFiles)
                WriteCountedString(file, used);
        }
        WriteByte(file, front);
        if (major >= 5)
            WriteByte(file, centred);
        WriteInt32(file, width);
        WriteInt32(file, height);
        CFillStyle background;
        background.SetColor(CColor(1, 2, 3));
        background.SetWidth(backgroundWidth ? backgroundWidth : width);
        background.SetHeight(backgroundHeight ? backgroundHeight : height);
        background.Write(file);
        WriteGuideList(file, horizontalCount, horizontalGuides);
        WriteGuideList(file, verticalCount, verticalGuides);
        WriteByte(file, firstPage);
        WriteByte(file, guidesHidden);
        WriteInt32(file, Count(frameCount, static_cast<size_t>(frames)));
        for (int i = 0; i < frames; ++i)
            CObjectFrame().Save(file);
        WriteInt32(file, Count(itemCount, items.size()));
        for (const ItemEntry& entry : items) {
            WriteInt32(file, entry.frameIndex);
            MakeItem(entry.kind).Save(file);
        }
        if (major == 5 && minor >= 9) {
            WriteCountedString(file, keywords);
            WriteCountedString(file, description);
        }
        if (major == 5 && minor >= 14)
            WriteCountedString(file, analytics);
        return FileBytes(file);
    }

    static CPageItem MakeItem(int kind) { return CPageItem(MakeShapeFake(kind), nullptr); }

private:
    static int32_t Count(int32_t given, size_t listed)
    {
        return given == kAsListed ? static_cast<int32_t>(listed) : given;
    }
    static void WriteGuideList(CFile& file, int32_t count, const std::vector<int32_t>& guides)
    {
        WriteInt32(file, Count(count, guides.size()));
        for (int32_t position : guides)
            WriteInt32(file, position);
    }
};

class PageStream : public testing::Test
{
protected:
    MessageServices services;
    FakeCreators creators;

    // A page as the site makes one before reading a record into it.
    static std::unique_ptr<CSitePage> NewPage(CWebsite* site = nullptr)
    {
        NewPageSettings settings;
        settings.centered = false;
        return std::make_unique<CSitePage>(site, "", "", settings);
    }

    static std::vector<BYTE> Saved(CSitePage& page)
    {
        CMemFile file;
        EXPECT_TRUE(page.Save(file));
        return FileBytes(file);
    }

    // Loads the bytes; a record that is taken must have been read to its last byte.
    static bool Load(CSitePage& page, const std::vector<BYTE>& bytes, int major = 5, int minor = 15)
    {
        std::unique_ptr<CMemFile> file = FileOf(bytes);
        const bool loaded = page.Load(*file, major, minor);
        if (loaded) {
            EXPECT_EQ(file->GetPosition(), file->GetLength());
        }
        return loaded;
    }

    static std::vector<int> KindsOf(const CSitePage& page)
    {
        std::vector<int> kinds;
        for (int i = 0; i < page.GetItemCount(); ++i)
            kinds.push_back(page.GetItem(i)->GetObject(false)->GetKind());
        return kinds;
    }

    // Per item, the position of its frame in the page's frame list, -1 for none.
    static std::vector<int> FrameIndexes(const CSitePage& page)
    {
        std::vector<int> indexes;
        for (int i = 0; i < page.GetItemCount(); ++i) {
            int index = -1;
            for (int g = 0; g < page.GetGroupCount(); ++g)
                if (page.GetItem(i)->GetGroup() == page.GetGroupAt(g))
                    index = g;
            indexes.push_back(index);
        }
        return indexes;
    }
};

// A named change of a record, for tables of cases.
struct RecordChange
{
    const char* name;
    std::function<void(PageRecord&)> change;
};

// Records built by PageRecord, whose shapes are fakes.
class PageRecords : public PageStream
{
protected:
    ShapeFakeCreators shapes;
};

std::vector<int> GuidesOf(const CSitePage& page, bool horizontal)
{
    std::vector<int> guides;
    for (int i = 0; i < page.GetGuideCount(horizontal); ++i)
        guides.push_back(page.GetGuide(horizontal, i));
    return guides;
}

// A page with every stored field away from its default and objects of every kind: circles, rectangles with a
// corner, button text and a mouse-over twin, a picture from a file, polygons, a counter and a form, in a
// turned user group and a selection frame.
void FillPage(CSitePage& page)
{
    page.SetName("products");
    page.SetTitle("Our products");
    page.SetHeaderHtml("<meta name=\"x\" content=\"y\">");
    page.SetOnloadCode("start();");
    page.SetUsedFiles({"scripts/start.js", "style.css"});
    page.SetFrontPage(true);
    page.SetCentered(true);
    page.SetWidth(640);
    page.SetHeight(480);
    GRADIENTCOLORS colours;
    CGradientModel::GetPredefinedGradient(colours, 2);
    page.GetBackground()->SetGradient(&colours);
    page.GetBackground()->SetGradientHorizontal(true);
    page.AddGuide(true, 12);
    page.AddGuide(true, 400);
    page.AddGuide(false, 33);
    page.SetFirstPageByte(0);
    page.SetGuidesHidden(true);
    page.SetKeywords("tools, garden");
    page.SetDescription("What we sell");
    page.SetAnalyticsCode("<script>track()</script>");

    auto circle = std::make_unique<CCircleObject>(100, 100, SIZE{80, 60}, 0.4);
    circle->GetFill()->SetColor(CColor(200, 30, 30));
    page.AddObject(std::move(circle));
    auto button = std::make_unique<CRectangleObject>(250, 100, SIZE{120, 40}, 0.0);
    button->SetCorner(12);
    auto label = std::make_unique<CTextStyle>(*button->GetTextStyle());
    label->m_strText = "Buy";
    button->SetTextStyle(std::move(label));
    CPageItem* buttonItem = page.AddObject(std::move(button));
    auto hover = std::make_unique<CRectangleObject>(252, 101, SIZE{120, 40}, 0.0);
    hover->GetFill()->SetColor(CColor(0, 90, 200));
    buttonItem->SetMouseOverObject(std::move(hover));
    buttonItem->SetMouseOverShown(false);
    auto picture = std::make_unique<CRectangleObject>(400, 300, SIZE{64, 48}, 0.0);
    auto pictureFill = std::make_unique<CFillInfo>();
    pictureFill->SetImageFile("/pics/spin.gif");
    picture->SetFill(std::move(pictureFill));
    page.AddObject(std::move(picture));
    std::vector<CPageItem*> grouped;
    grouped.push_back(page.AddObject(std::make_unique<CPolygonObject>(300, 300, SIZE{80, 80}, 0.0, 6)));
    grouped.push_back(page.AddObject(std::make_unique<CPolygonObject>(380, 320, SIZE{60, 90}, 0.2, 18)));
    page.AddObject(MakeFake(objectCounter, 500, 40, 80, 20));
    CPageItem* form = page.AddObject(MakeFake(objectForm, 500, 400, 100, 60));

    page.SelectItem(grouped[0]);
    page.AddToSelection(grouped[1]);
    CObjectFrame* group = page.CreateGroup();
    ASSERT_TRUE(group);
    group->RecordDragData();
    group->BeginRotate();
    const DPOINT centre = group->GetCenter();
    group->RotateToPoint(POINT{static_cast<LONG>(centre.x) + 100, static_cast<LONG>(centre.y)}, 0.3, 0.0, false);
    group->EndRotate();
    page.ClearSelection();
    page.SelectItem(form);
    ASSERT_EQ(page.GetGroupCount(), 2);
}

TEST_F(PageStream, RoundTripKeepsEveryStoredFieldFramesAndZOrder)
{
    CSitePage page(nullptr, "", "");
    FillPage(page);
    const std::vector<BYTE> bytes = Saved(page);
    EXPECT_TRUE(page.IsSaved());

    std::unique_ptr<CSitePage> read = NewPage();
    ASSERT_TRUE(Load(*read, bytes));
    EXPECT_EQ(read->GetName(), "products");
    EXPECT_EQ(read->GetTitle(), "Our products");
    EXPECT_EQ(read->GetHeaderHtml(), page.GetHeaderHtml());
    EXPECT_EQ(read->GetOnloadCode(), "start();");
    EXPECT_EQ(read->GetUsedFiles(), page.GetUsedFiles());
    EXPECT_TRUE(read->IsFrontPage());
    EXPECT_TRUE(read->IsCentered());
    EXPECT_EQ(read->GetWidth(), 640);
    EXPECT_EQ(read->GetHeight(), 480);
    EXPECT_EQ(*read->GetBackground(), *page.GetBackground());
    EXPECT_EQ(GuidesOf(*read, true), (std::vector<int>{12, 400}));
    EXPECT_EQ(GuidesOf(*read, false), std::vector<int>{33});
    EXPECT_EQ(read->GetFirstPageByte(), 0);
    EXPECT_TRUE(read->AreGuidesHidden());
    EXPECT_EQ(read->GetKeywords(), "tools, garden");
    EXPECT_EQ(read->GetDescription(), "What we sell");
    EXPECT_EQ(read->GetAnalyticsCode(), "<script>track()</script>");
    EXPECT_FALSE(read->IsSaved());

    EXPECT_EQ(KindsOf(*read), KindsOf(page));
    EXPECT_EQ(FrameIndexes(*read), FrameIndexes(page));
    ASSERT_EQ(read->GetGroupCount(), 2);
    for (int g = 0; g < 2; ++g) {
        SCOPED_TRACE(g);
        const CObjectFrame& before = *page.GetGroupAt(g);
        const CObjectFrame& after = *read->GetGroupAt(g);
        EXPECT_EQ(after.IsGroup(), before.IsGroup());
        EXPECT_EQ(after.IsSelected(), before.IsSelected());
        EXPECT_EQ(after.GetRect(), before.GetRect());
        EXPECT_DOUBLE_EQ(after.GetAngle(), before.GetAngle());
        ASSERT_EQ(after.GetItemCount(), before.GetItemCount());
        for (int m = 0; m < after.GetItemCount(); ++m)
            EXPECT_EQ(read->IndexOfItem(after.GetItem(m)), page.IndexOfItem(before.GetItem(m)));
    }
    const CPageItem& button = *read->GetItem(1);
    EXPECT_TRUE(button.HasMouseOver());
    EXPECT_FALSE(button.IsMouseOverShown());
    EXPECT_EQ(static_cast<const CRectangleObject*>(button.GetObject(false))->GetTextStyle()->m_strText, "Buy");
    EXPECT_EQ(read->GetItem(2)->GetObject(false)->GetFill()->GetKind(), CFillInfo::FILL_TEXTURE);
    EXPECT_EQ(read->GetItem(2)->GetObject(false)->GetFill()->GetImageFile(), "/pics/spin.gif");

    // Every field of every object, the frames' geometry included, comes back as it was stored.
    EXPECT_EQ(Saved(*read), bytes);
}

TEST_F(PageRecords, RefusedRecordsReturnFalseAndLeaveNothingBehind)
{
    const RecordChange cases[] = {
        {"wrong tag", [](PageRecord& r) { r.tag ^= 1; }},
        {"width 9", [](PageRecord& r) { r.width = 9; }},
        {"width 2001", [](PageRecord& r) { r.width = 2001; }},
        {"height 9", [](PageRecord& r) { r.height = 9; }},
        {"height 30001", [](PageRecord& r) { r.height = 30001; }},
        {"background of another width", [](PageRecord& r) { r.backgroundWidth = 301; }},
        {"background of another height", [](PageRecord& r) { r.backgroundHeight = 199; }},
        {"1001 horizontal guides", [](PageRecord& r) { r.horizontalGuides.assign(1001, 3); }},
        {"1001 vertical guides", [](PageRecord& r) { r.verticalGuides.assign(1001, 3); }},
        {"negative guide count", [](PageRecord& r) { r.verticalCount = -1; }},
        {"negative item count", [](PageRecord& r) { r.itemCount = -1; }},
        {"item count beyond the record", [](PageRecord& r) { r.itemCount = INT32_MAX; }},
        {"frame index past the frames", [](PageRecord& r) { r.items[2].frameIndex = 1; }},
        {"frame index below -1", [](PageRecord& r) { r.items[1].frameIndex = -2; }},
        {"frame index without frames", [](PageRecord& r) { r.frames = 0; }},
        {"negative frame count", [](PageRecord& r) { r.frameCount = -1; }},
        {"frame count beyond the record", [](PageRecord& r) { r.frameCount = 0x7fffffff; }},
        {"frame count one too many", [](PageRecord& r) { r.frameCount = 2; }},
        {"negative used-files count", [](PageRecord& r) { r.usedFileCount = -1; }},
        {"used-files count beyond the record", [](PageRecord& r) { r.usedFileCount = 0x40000000; }},
    };
    for (const RecordChange& c : cases) {
        SCOPED_TRACE(c.name);
        PageRecord record;
        c.change(record);
        {
            std::unique_ptr<CSitePage> page = NewPage();
            EXPECT_FALSE(Load(*page, record.Bytes()));
            // The page stays whole: its background fits it, and every member of a frame is one of its items.
            EXPECT_EQ(page->GetBackground()->GetWidth(), page->GetWidth());
            EXPECT_EQ(page->GetBackground()->GetHeight(), page->GetHeight());
            for (int g = 0; g < page->GetGroupCount(); ++g)
                for (int m = 0; m < page->GetGroupAt(g)->GetItemCount(); ++m)
                    EXPECT_GE(page->IndexOfItem(page->GetGroupAt(g)->GetItem(m)), 0);
        }
        EXPECT_EQ(FakeObject::live, 0);
    }
}

TEST_F(PageRecords, LimitsThemselvesAreAccepted)
{
    const RecordChange cases[] = {
        {"width 10, height 10", [](PageRecord& r) { r.width = r.height = 10; }},
        {"width 2000, height 30000", [](PageRecord& r) { r.width = 2000, r.height = 30000; }},
        {"1000 guides each way",
         [](PageRecord& r) { r.horizontalGuides.assign(1000, 4), r.verticalGuides = r.horizontalGuides; }},
        {"no frames, no items, no used files",
         [](PageRecord& r) { r.frames = 0, r.items.clear(), r.usedFiles.clear(); }},
    };
    for (const RecordChange& c : cases) {
        SCOPED_TRACE(c.name);
        PageRecord record;
        c.change(record);
        std::unique_ptr<CSitePage> page = NewPage();
        ASSERT_TRUE(Load(*page, record.Bytes()));
        EXPECT_EQ(page->GetWidth(), record.width);
        EXPECT_EQ(page->GetHeight(), record.height);
        EXPECT_EQ(page->GetGuideCount(true), static_cast<int>(record.horizontalGuides.size()));
        EXPECT_EQ(page->GetItemCount(), static_cast<int>(record.items.size()));
    }
}

TEST_F(PageRecords, ItemsJoinTheFramesTheirIndexesNameAndEmptyFramesGo)
{
    PageRecord record;
    record.frames = 3;
    record.items = {{1, objectCircle}, {-1, objectRectangle}, {1, objectCircle}, {0, objectCounter}};
    std::unique_ptr<CSitePage> page = NewPage();
    ASSERT_TRUE(Load(*page, record.Bytes()));
    // The third frame has no members and goes.
    ASSERT_EQ(page->GetGroupCount(), 2);
    EXPECT_EQ(FrameIndexes(*page), (std::vector<int>{1, -1, 1, 0}));
    ASSERT_EQ(page->GetGroupAt(1)->GetItemCount(), 2);
    EXPECT_EQ(page->GetGroupAt(1)->GetItem(0), page->GetItem(0));
    EXPECT_EQ(page->GetGroupAt(1)->GetItem(1), page->GetItem(2));
    EXPECT_EQ(page->GetGroupAt(0)->GetItem(0), page->GetItem(3));
}

TEST_F(PageRecords, BadStringsAndCutRecordsRaiseTheFileException)
{
    const RecordChange cases[] = {
        {"name of 20049 bytes", [](PageRecord& r) { r.name.assign(20049, 'x'); }},
        {"used file of 20049 bytes", [](PageRecord& r) { r.usedFiles[1].assign(20049, 'x'); }},
        {"keywords of 20049 bytes", [](PageRecord& r) { r.keywords.assign(20049, 'x'); }},
        {"head HTML of 2000001 bytes", [](PageRecord& r) { r.headerHtml.assign(kMaxCodeStringLength + 1, 'x'); }},
        {"onload code of 2000001 bytes", [](PageRecord& r) { r.onloadCode.assign(kMaxCodeStringLength + 1, 'x'); }},
    };
    for (const RecordChange& c : cases) {
        SCOPED_TRACE(c.name);
        PageRecord record;
        c.change(record);
        std::vector<BYTE> bytes = record.Bytes();
        // The writer cuts what it writes at the limit; the count in front is raised by one, as a damaged file
        // would claim it.
        const std::string run(kMaxStringLength, 'x');
        const size_t at =
            static_cast<size_t>(std::search(bytes.begin(), bytes.end(), run.begin(), run.end()) - bytes.begin());
        ASSERT_LT(at, bytes.size());
        std::unique_ptr<CMemFile> count = FileOf({bytes.begin() + (at - 4), bytes.begin() + at});
        const std::vector<BYTE> raised = LE32(static_cast<uint32_t>(ReadInt32(*count)) + 1);
        std::copy(raised.begin(), raised.end(), bytes.begin() + (at - 4));
        std::unique_ptr<CSitePage> page = NewPage();
        EXPECT_TRUE(RaisesBadData([&] { Load(*page, bytes); }));
    }

    // Every record cut short is refused one way or the other, and frees what it read.
    const std::vector<BYTE> whole = PageRecord().Bytes();
    for (size_t length = 0; length < whole.size(); ++length) {
        {
            std::unique_ptr<CSitePage> page = NewPage();
            bool loaded = false;
            const bool raised = RaisesBadData([&] { loaded = Load(*page, {whole.begin(), whole.begin() + length}); });
            EXPECT_TRUE(raised || !loaded) << "cut at " << length;
        }
        ASSERT_EQ(FakeObject::live, 0) << "cut at " << length;
    }
}

TEST_F(PageRecords, CodeStringsMayBeLongerThanOtherStrings)
{
    PageRecord record;
    record.headerHtml.assign(kMaxCodeStringLength, 'h');
    record.onloadCode.assign(30000, 'o');
    std::unique_ptr<CSitePage> page = NewPage();
    ASSERT_TRUE(Load(*page, record.Bytes()));
    EXPECT_EQ(page->GetHeaderHtml().size(), kMaxCodeStringLength);
    EXPECT_EQ(page->GetOnloadCode().size(), 30000u);
}

TEST_F(PageRecords, OlderVersionsReadOnlyTheFieldsTheyStored)
{
    struct Case
    {
        int major, minor;
        bool headerHtml, onload, centred, keywords, analytics;
    };
    const Case cases[] = {
        {1, 5, false, false, false, false, false}, {1, 6, true, false, false, false, false},
        {1, 7, true, true, false, false, false},   {4, 9, true, true, false, false, false},
        {5, 0, true, true, true, false, false},    {5, 8, true, true, true, false, false},
        {5, 9, true, true, true, true, false},     {5, 13, true, true, true, true, false},
        {5, 14, true, true, true, true, true},     {5, 15, true, true, true, true, true},
        {6, 0, true, true, true, false, false},    {6, 15, true, true, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor);
        PageRecord record;
        record.major = c.major, record.minor = c.minor;
        record.name = "keep";
        std::unique_ptr<CSitePage> page = NewPage();
        ASSERT_TRUE(Load(*page, record.Bytes(), c.major, c.minor));
        EXPECT_EQ(page->GetHeaderHtml(), c.headerHtml ? record.headerHtml : "");
        EXPECT_EQ(page->GetOnloadCode(), c.onload ? record.onloadCode : "");
        EXPECT_EQ(page->GetUsedFiles(), c.onload ? record.usedFiles : std::vector<std::string>());
        EXPECT_EQ(page->IsCentered(), c.centred);
        EXPECT_EQ(page->GetKeywords(), c.keywords ? record.keywords : "");
        EXPECT_EQ(page->GetDescription(), c.keywords ? record.description : "");
        EXPECT_EQ(page->GetAnalyticsCode(), c.analytics ? record.analytics : "");
        EXPECT_EQ(page->GetItemCount(), 3);
    }
}

TEST_F(PageRecords, FirstVersionsMoveKeptOnTopItemsToTheTail)
{
    struct Case
    {
        int major, minor;
        std::vector<int> order;
    };
    const std::vector<int> gathered = {objectRectangle, objectCircle, objectCounter, objectForm};
    const std::vector<int> asStored = {objectCounter, objectRectangle, objectForm, objectCircle};
    const Case cases[] = {{1, 0, gathered}, {1, 3, gathered}, {1, 2, asStored}, {1, 4, asStored}, {5, 15, asStored}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor);
        PageRecord record;
        record.major = c.major, record.minor = c.minor;
        record.name = "keep";
        record.items = {{0, objectCounter}, {-1, objectRectangle}, {-1, objectForm}, {0, objectCircle}};
        std::unique_ptr<CSitePage> page = NewPage();
        ASSERT_TRUE(Load(*page, record.Bytes(), c.major, c.minor));
        EXPECT_EQ(KindsOf(*page), c.order);
        // Moving an item keeps it in the frame its index named.
        for (int i = 0; i < page->GetItemCount(); ++i) {
            const int kind = page->GetItem(i)->GetObject(false)->GetKind();
            const bool framed = kind == objectCounter || kind == objectCircle;
            EXPECT_EQ(page->GetItem(i)->GetGroup(), framed ? page->GetGroupAt(0) : nullptr);
        }
    }
}

TEST_F(PageRecords, OldFilesReplaceNamesTheSiteCannotGive)
{
    struct Case
    {
        const char* name;
        int major, minor;
        std::string stored;
        std::string loaded;
        bool rejectedMessage;
    };
    const Case cases[] = {
        {"empty name, version 4", 4, 0, "", "Page1", false},
        {"taken name, version 4", 4, 0, "HOME", "Page1", true},
        {"free name, version 5.0", 5, 0, "about", "about", false},
        {"characters cleaned, version 5.0", 5, 0, "about us", "aboutus", false},
        {"cleaned into a taken name", 4, 0, "Ho me", "Page1", true},
        {"cleaned into nothing", 4, 0, "...", "Page1", true},
        {"empty name kept, version 5.1", 5, 1, "", "", false},
        {"taken name kept, version 5.1", 5, 1, "home", "home", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        services.messages.clear();
        CWebsite site("/sites/shop.kst");
        site.AddPage(std::make_unique<CSitePage>(&site, "Home", "Home"));
        PageRecord record;
        record.major = c.major, record.minor = c.minor;
        record.name = c.stored;
        std::unique_ptr<CSitePage> page = NewPage(&site);
        ASSERT_TRUE(Load(*page, record.Bytes(), c.major, c.minor));
        EXPECT_EQ(page->GetName(), c.loaded);
        const std::string rejected = "$$Illegal page id found.\nReverting to default.";
        EXPECT_EQ(std::count(services.messages.begin(), services.messages.end(), rejected), c.rejectedMessage ? 1 : 0);
    }
}

// An object whose record cannot be written.
class UnwritableObject : public FakeObject
{
public:
    UnwritableObject() : FakeObject(objectCounter, 10, 10, SIZE{5, 5}) {}
    void Save(CFile&) const override { ThrowBadRecord(); }
};

TEST_F(PageStream, AnItemThatCannotBeWrittenStopsTheRecord)
{
    CSitePage page(nullptr, "p", "P");
    page.AddObject(std::make_unique<CCircleObject>(40, 40, SIZE{20, 20}, 0.0));
    page.AddObject(std::make_unique<UnwritableObject>());
    page.SetKeywords("never written");
    CMemFile file;
    EXPECT_FALSE(page.Save(file));
    EXPECT_FALSE(page.IsSaved());
    const std::vector<BYTE> bytes = FileBytes(file);
    const std::string keywords = "never written";
    EXPECT_EQ(std::search(bytes.begin(), bytes.end(), keywords.begin(), keywords.end()), bytes.end());
}

TEST_F(PageStream, TheWriterNeverWritesWhatTheReaderRefuses)
{
    CSitePage page(nullptr, std::string(20049, 'n'), "t");
    page.SetHeaderHtml(std::string(kMaxCodeStringLength + 1, 'h'));
    page.SetOnloadCode(std::string(kMaxCodeStringLength + 1, 'o'));
    page.SetAnalyticsCode(std::string(kMaxStringLength + 1, 'a'));
    for (int i = 0; i < CSitePage::kMaxGuides + 3; ++i)
        page.AddGuide(true, i);
    for (int i = 0; i < 500; ++i)
        page.AddGuide(false, i);
    // A background swapped in at another size.
    auto background = std::make_unique<CFillStyle>();
    background->SetWidth(50);
    background->SetHeight(60);
    page.SetBackground(std::move(background));

    std::unique_ptr<CSitePage> read = NewPage();
    ASSERT_TRUE(Load(*read, Saved(page)));
    EXPECT_EQ(read->GetName().size(), kMaxStringLength);
    EXPECT_EQ(read->GetHeaderHtml().size(), kMaxCodeStringLength);
    EXPECT_EQ(read->GetOnloadCode().size(), kMaxCodeStringLength);
    EXPECT_EQ(read->GetAnalyticsCode().size(), kMaxStringLength);
    EXPECT_EQ(read->GetGuideCount(true), CSitePage::kMaxGuides);
    EXPECT_EQ(read->GetGuideCount(false), 500);
    EXPECT_EQ(read->GetBackground()->GetWidth(), page.GetWidth());

    // A page of a size no reader takes is not written at all.
    for (const auto& [width, height] : {std::pair{9, 600}, std::pair{2001, 600}, std::pair{740, 30001}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        CSitePage odd(nullptr, "odd", "Odd");
        odd.SetWidth(width);
        odd.SetHeight(height);
        CMemFile file;
        EXPECT_FALSE(odd.Save(file));
        EXPECT_EQ(file.GetLength(), 0u);
    }
}

} // namespace
