#include "app/objects/object_factory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/link_info.h"
#include "app/model/record_stream.h"
#include "app/model/stream_test_support.h"
#include "app/model/string_attr.h"
#include "app/model/text_style.h"
#include "app/objects/outline_stream.h"
#include "app/objects/page_object_fake.h"

namespace {

// A stand-in for the rectangle class: its stream form through the shared outline head and records, and a count
// of live instances so that a failed load can be seen to free what it made.
class TestRectangle : public FakePageObject
{
public:
    static inline int live = 0;

    TestRectangle()
        : FakePageObject(objectRectangle), fill(std::make_unique<CFillInfo>()),
          effects(std::make_unique<CEffectSettings>()), link(std::make_unique<CLinkInfo>()),
          textStyle(std::make_unique<CTextStyle>()), altText(std::make_unique<CStringAttr>())
    {
        head.width = head.height = 2;
        ++live;
    }
    ~TestRectangle() override { --live; }

    static std::unique_ptr<CPageObject> Create() { return std::make_unique<TestRectangle>(); }

    DPOINT& GetCenter(DPOINT& center) const override
    {
        center = head.center;
        return center;
    }
    void SetCenter(const DPOINT& center) override { head.center = center; }
    SIZE& GetSize(SIZE& size) const override
    {
        size = SIZE{head.width, head.height};
        return size;
    }
    int GetCorner() const override { return head.corner; }
    CFillInfo* GetFill() const override { return fill.get(); }
    CEffectSettings* GetEffects() const override { return effects.get(); }
    CLinkInfo* GetLink() const override { return link.get(); }
    CStringAttr* GetAltText() const override { return altText.get(); }

    void Save(CFile& file) const override
    {
        WriteUInt32(file, kRectangleObjectTag);
        OutlineHead stored = head;
        stored.bounds = bounds;
        stored.offsetX = offsetX;
        stored.offsetY = offsetY;
        WriteOutlineHead(file, objectRectangle, stored);
        WriteOutlineRecords(file, *fill, *effects, *link, *textStyle, *altText);
    }
    void Load(CFile& file, int major, int minor) override
    {
        head = ReadOutlineHead(file, objectRectangle, major, minor);
        bounds = head.bounds;
        offsetX = head.offsetX;
        offsetY = head.offsetY;
        ReadOutlineRecords(file, major, minor, *fill, *effects, *link, *textStyle, *altText);
    }
    std::unique_ptr<CPageObject> Clone() const override { return Create(); }

    OutlineHead head;
    std::unique_ptr<CFillInfo> fill;
    std::unique_ptr<CEffectSettings> effects;
    std::unique_ptr<CLinkInfo> link;
    std::unique_ptr<CTextStyle> textStyle;
    std::unique_ptr<CStringAttr> altText;
};

class ObjectFactoryTest : public ::testing::Test
{
protected:
    void SetUp() override { previous = SetPageObjectCreator(kRectangleObjectTag, &TestRectangle::Create); }
    void TearDown() override
    {
        SetPageObjectCreator(kRectangleObjectTag, previous);
        EXPECT_EQ(TestRectangle::live, 0);
    }

    static std::vector<BYTE> Saved(const CPageObject& object)
    {
        CMemFile file;
        object.Save(file);
        return FileBytes(file);
    }

    static std::unique_ptr<CPageObject> Read(const std::vector<BYTE>& bytes, int major = kCurrentMajorVersion,
                                             int minor = kCurrentMinorVersion)
    {
        auto file = FileOf(bytes);
        auto object = CreatePageObjectFromArchive(*file, major, minor);
        EXPECT_EQ(file->GetPosition(), file->GetLength()) << "the object must read all it wrote";
        return object;
    }

    PageObjectCreator previous = nullptr;
};

TEST_F(ObjectFactoryTest, ReadsBackWhatAnObjectSavedBehindItsTag)
{
    TestRectangle original;
    original.head = OutlineHead{40, 30, 0.25, {120.5, -7.25}, 3, CRect(), 0, 0, 12};
    original.SetBoundsAndOffsets(CRect(100, -22, 141, 8), -100, 100);
    original.fill->SetColor(CColor(10, 20, 30));
    original.effects->m_shadow = true;
    original.effects->m_shadowOffset = 7;
    original.link->SetActive(true);
    original.link->SetUrl("http://example.com/");
    original.link->SetTarget(3);
    original.textStyle->m_strText = "Go";
    original.altText->SetString("A sunset");

    const std::vector<BYTE> bytes = Saved(original);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + 4), LE32(kRectangleObjectTag));

    std::unique_ptr<CPageObject> object = Read(bytes);
    auto* read = dynamic_cast<TestRectangle*>(object.get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->head.width, 40);
    EXPECT_EQ(read->head.height, 30);
    EXPECT_EQ(read->head.rotation, 0.25);
    EXPECT_EQ(read->head.center.x, 120.5);
    EXPECT_EQ(read->head.center.y, -7.25);
    EXPECT_EQ(read->GetCorner(), 12);
    RECT rect{};
    EXPECT_EQ(CRect(read->GetBounds(rect)), CRect(100, -22, 141, 8));
    EXPECT_EQ(read->GetOffsetX(), -100);
    EXPECT_EQ(read->GetOffsetY(), 100);
    EXPECT_EQ(*read->fill, *original.fill);
    EXPECT_EQ(*read->effects, *original.effects);
    EXPECT_EQ(*read->link, *original.link);
    EXPECT_EQ(*read->textStyle, *original.textStyle);
    EXPECT_EQ(*read->altText, *original.altText);
    EXPECT_EQ(read->IsDirty(), 1);
}

// Streams as files of each version hold them: the corner value came with minor version 10.
TEST_F(ObjectFactoryTest, ReadsTheCornerOnlyFromFilesThatHoldIt)
{
    struct Case
    {
        int major, minor;
        bool hasCorner;
    };
    const Case cases[] = {
        {5, 15, true}, {5, 10, true}, {4, 12, true}, {5, 9, false}, {3, 5, false}, {1, 6, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor);
        OutlineHead head{8, 6, 0.0, {4.0, 3.0}, 3, CRect(0, 0, 8, 6), 1, -1, 9};
        CFillInfo fill;
        fill.SetColor(CColor(200, 100, 0));
        CMemFile file;
        WriteUInt32(file, kRectangleObjectTag);
        // A circle's head is a rectangle's without the corner.
        WriteOutlineHead(file, c.hasCorner ? objectRectangle : objectCircle, head);
        WriteOutlineRecords(file, fill, CEffectSettings(), CLinkInfo(), CTextStyle(), CStringAttr("alt"));

        std::unique_ptr<CPageObject> object = Read(FileBytes(file), c.major, c.minor);
        auto* read = dynamic_cast<TestRectangle*>(object.get());
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->GetCorner(), c.hasCorner ? 9 : 0);
        EXPECT_EQ(read->GetOffsetX(), 1);
        EXPECT_EQ(read->GetOffsetY(), -1);
        EXPECT_EQ(*read->fill, fill);
        EXPECT_EQ(read->altText->GetString(), "alt");
    }
}

TEST_F(ObjectFactoryTest, ChecksTheStoredGeometry)
{
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    struct Case
    {
        OutlineHead head;
        bool loads;
    };
    const Case cases[] = {
        {{0, 0, 0.0, {0, 0}, 3, {}, 0, 0, 0}, true},      {{5, 5, 0.0, {0, 0}, 3, {}, 100, -100, 0}, true},
        {{5, 5, 0.0, {0, 0}, 3, {}, -100, 100, 0}, true}, {{-1, 5, 0.0, {0, 0}, 3, {}, 0, 0, 0}, false},
        {{5, -1, 0.0, {0, 0}, 3, {}, 0, 0, 0}, false},    {{5, 5, 0.0, {0, 0}, 3, {}, 101, 0, 0}, false},
        {{5, 5, 0.0, {0, 0}, 3, {}, -101, 0, 0}, false},  {{5, 5, 0.0, {0, 0}, 3, {}, 0, 101, 0}, false},
        {{5, 5, 0.0, {0, 0}, 3, {}, 0, -101, 0}, false},  {{5, 5, nan, {0, 0}, 3, {}, 0, 0, 0}, false},
        {{5, 5, 0.0, {inf, 0}, 3, {}, 0, 0, 0}, false},   {{5, 5, 0.0, {0, 1e12}, 3, {}, 0, 0, 0}, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        const OutlineHead& head = cases[i].head;
        // The head as a rectangle's record holds it, written field by field whatever the writer would say.
        CMemFile file;
        WriteUInt32(file, kRectangleObjectTag);
        for (int v : {head.width, head.height})
            WriteInt32(file, v);
        for (double v : {head.rotation, head.center.x, head.center.y})
            WriteDouble(file, v);
        for (int v : {0, 0, 0, 0, head.offsetX, head.offsetY, head.corner})
            WriteInt32(file, v);
        WriteOutlineRecords(file, CFillInfo(), CEffectSettings(), CLinkInfo(), CTextStyle(), CStringAttr());
        const std::vector<BYTE> bytes = FileBytes(file);

        TestRectangle original;
        original.head = head;
        original.SetBoundsAndOffsets(CRect(), head.offsetX, head.offsetY);
        if (cases[i].loads) {
            EXPECT_EQ(Saved(original), bytes);
            EXPECT_NE(Read(bytes), nullptr);
        } else {
            // What the reader refuses, the writer does not write.
            CMemFile refused;
            EXPECT_TRUE(RaisesBadData([&] { original.Save(refused); }));
            EXPECT_EQ(refused.GetLength(), 4u) << "the tag only";
            EXPECT_TRUE(RaisesBadData([&] { Read(bytes); }));
        }
    }
}

TEST_F(ObjectFactoryTest, RefusesTagsThatNameNoClass)
{
    const std::vector<std::vector<BYTE>> streams = {
        LE32(0x8b23c79a),                                            // a page item, not an object
        Concat({LE32(0), std::vector<BYTE>(64, 0)}),                 // nothing
        Concat({LE32(kCircleObjectTag), std::vector<BYTE>(200, 0)}), // a circle without its fill record
        {0xc2, 0x81},                                                // the stream ends inside the tag
        {},
    };
    for (size_t i = 0; i < streams.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(RaisesBadData([&] { Read(streams[i]); }));
    }
    EXPECT_EQ(GetPageObjectCreator(0x8b23c79a), nullptr);
    EXPECT_THROW(SetPageObjectCreator(0x8b23c79a, &TestRectangle::Create), std::invalid_argument);
}

// A saved object cut short: wherever the head or the fill (which every outline object holds) ends early, the
// read fails, and the object made for it must go with the exception. Cuts among the optional records after the
// fill may read as records that are absent.
TEST_F(ObjectFactoryTest, FreesTheObjectWhenItsReadFails)
{
    TestRectangle original;
    original.head.corner = 4;
    original.fill->SetColor(CColor(1, 2, 3));
    original.effects->m_glow = true;
    original.link->SetActive(true);
    original.textStyle->m_strText = "Label";
    original.altText->SetString("Alt");
    const std::vector<BYTE> bytes = Saved(original);
    CMemFile fillOnly;
    original.fill->Write(fillOnly);
    const size_t mandatory = 4 + 60 + fillOnly.GetLength();
    ASSERT_EQ(TestRectangle::live, 1);

    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        const std::vector<BYTE> cut(bytes.begin(), bytes.begin() + length);
        std::unique_ptr<CPageObject> object;
        bool failed = false;
        try {
            auto file = FileOf(cut);
            object = CreatePageObjectFromArchive(*file, kCurrentMajorVersion, kCurrentMinorVersion);
        } catch (const CFileException& e) {
            failed = true;
            EXPECT_EQ(e.m_cause, CFileException::generic);
        }
        if (length < mandatory) {
            EXPECT_TRUE(failed);
        }
        EXPECT_EQ(object == nullptr, failed);
        object.reset();
        EXPECT_EQ(TestRectangle::live, 1);
    }
}

} // namespace

namespace {

// Every class tag a site file can hold has its class, and the object it makes answers the tag's kind.
TEST(ObjectFactoryClasses, KnowsAllSevenTags)
{
    const std::pair<DWORD, int> tags[] = {
        {kCircleObjectTag, objectCircle}, {kRectangleObjectTag, objectRectangle}, {kPolygonObjectTag, objectPolygon},
        {kTextObjectTag, objectText},     {kCounterObjectTag, objectCounter},     {kHtmlObjectTag, objectHtml},
        {kFormObjectTag, objectForm},
    };
    for (auto [tag, kind] : tags) {
        SCOPED_TRACE(tag);
        PageObjectCreator create = GetPageObjectCreator(tag);
        ASSERT_NE(create, nullptr);
        EXPECT_EQ(create()->GetKind(), kind);
    }
}

} // namespace
