#include "app/site/clipboard_objects.h"

#include <gtest/gtest.h>

#include <optional>

#include "app/model/fill_info.h"
#include "app/model/link_info.h"
#include "app/model/record_stream.h"
#include "app/objects/circle_object.h"
#include "app/objects/rectangle_object.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"
#include "platform/win/file.h"

namespace {

NewPageSettings Settings()
{
    NewPageSettings settings;
    settings.width = 800;
    settings.height = 600;
    return settings;
}

class ClipboardObjectsTest : public ::testing::Test
{
protected:
    ClipboardObjectsTest() : source(nullptr, "a", "A", Settings()), target(nullptr, "b", "B", Settings())
    {
        auto linked = std::make_unique<CRectangleObject>(100.0, 100.0, SIZE{40, 30}, 0.0);
        auto link = std::make_unique<CLinkInfo>();
        link->SetKind(CLinkInfo::kindPage);
        link->SetActive(true);
        link->SetPage(4);
        linked->SetLink(std::move(link));
        source.AddObject(std::move(linked));
        source.AddObject(std::make_unique<CCircleObject>(200.0, 120.0, SIZE{50, 50}, 0.0));
        source.AddObject(std::make_unique<CRectangleObject>(300.0, 140.0, SIZE{20, 20}, 0.0));
        target.AddObject(std::make_unique<CCircleObject>(500.0, 500.0, SIZE{10, 10}, 0.0));
        target.SelectItemAt(0);
    }

    // The block of the first two items, grouped, and the third selected beside them.
    std::vector<BYTE> Copy()
    {
        source.SelectItemAt(0);
        source.AddToSelection(source.GetItem(1));
        source.CreateGroup();
        source.AddToSelection(source.GetItem(2));
        CMemFile file;
        EXPECT_TRUE(WriteObjectsBlock(source, file));
        return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
    }

    const std::vector<int>& Recorded(CSitePage& page)
    {
        return static_cast<RecordingUndoManager*>(page.GetUndoManager())->recorded;
    }

    SiteServicesFake services;
    CSitePage source;
    CSitePage target;
};

TEST_F(ClipboardObjectsTest, PastedObjectsKeepPlaceGroupAndSelectionWhereVisible)
{
    std::vector<BYTE> bytes = Copy();
    CMemFile block(bytes.data(), static_cast<UINT>(bytes.size()));
    ASSERT_TRUE(PasteObjectsBlock(target, block, false, 10, CRect(0, 0, 800, 600)));
    ASSERT_EQ(target.GetItemCount(), 4);
    EXPECT_FALSE(target.GetItem(0)->IsSelected()) << "the old selection is cleared";
    for (int i = 1; i < 4; ++i) {
        EXPECT_TRUE(target.GetItem(i)->IsSelected());
        EXPECT_EQ(target.GetItem(i)->GetRect(), source.GetItem(i - 1)->GetRect());
    }
    ASSERT_NE(target.GetItem(1)->GetGroup(), nullptr);
    EXPECT_TRUE(target.GetItem(1)->GetGroup()->IsGroup());
    EXPECT_EQ(target.GetItem(1)->GetGroup(), target.GetItem(2)->GetGroup());
    EXPECT_EQ(target.GetItem(1)->GetCurrentObject()->GetLink()->GetPage(), 4);
    EXPECT_EQ(Recorded(target), std::vector<int>{0});
}

TEST_F(ClipboardObjectsTest, PastedObjectsOutOfSightAreCentredAndLinksFollowTheSite)
{
    std::vector<BYTE> bytes = Copy();
    CMemFile block(bytes.data(), static_cast<UINT>(bytes.size()));
    // Scrolled far from where they were copied: each group's centre goes to the visible part's centre.
    const CRect visible(400, 300, 800, 600);
    ASSERT_TRUE(PasteObjectsBlock(target, block, false, 3, visible));
    const CPoint middle(600, 450);
    const CObjectFrame* group = target.GetItem(1)->GetGroup();
    EXPECT_NEAR(group->GetCenter().x, middle.x, 1.0);
    EXPECT_NEAR(group->GetCenter().y, middle.y, 1.0);
    const CRect single = target.GetItem(3)->GetRect();
    EXPECT_EQ(CPoint((single.left + single.right) / 2, (single.top + single.bottom) / 2), middle);
    // Kept within the three pages of this site.
    EXPECT_EQ(target.GetItem(1)->GetCurrentObject()->GetLink()->GetPage(), 2);

    // From another site the page links start again.
    block.SeekToBegin();
    ASSERT_TRUE(PasteObjectsBlock(target, block, true, 10, CRect(0, 0, 800, 600)));
    const CLinkInfo* link = target.GetItem(4)->GetCurrentObject()->GetLink();
    EXPECT_TRUE(!link || !link->IsActive() || link->GetPage() == 0);
}

TEST_F(ClipboardObjectsTest, ABadBlockIsAFailedPasteThatChangesNothing)
{
    const std::vector<BYTE> bytes = Copy();
    const auto withInt = [&](size_t at, int32_t value) {
        std::vector<BYTE> changed = bytes;
        for (int i = 0; i < 4; ++i)
            changed[at + i] = static_cast<BYTE>(static_cast<uint32_t>(value) >> (8 * i));
        return changed;
    };
    const auto withByte = [&](size_t at, BYTE value) {
        std::vector<BYTE> changed = bytes;
        changed[at] = value;
        return changed;
    };
    const size_t firstItem = 8 + 2 * CObjectFrame::kStreamSize;
    const std::vector<std::vector<BYTE>> cases = {
        {},
        std::vector<BYTE>(bytes.begin(), bytes.begin() + 6),
        std::vector<BYTE>(bytes.begin(), bytes.end() - 5), // cut short in the last item
        withInt(0, -1),                                    // group count
        withInt(0, 0x7FFFFFFF),
        withInt(4, 0x10000000), // item count beyond the block
        withInt(4, 0),          // nothing to paste
        withInt(firstItem, 2),  // the group count: no group the writer wrote
        withInt(firstItem, 3),
        withInt(firstItem, -1),
        withByte(8 + 16 + 3, 0), // a group that is not selected (its rectangle, then three flags before)
    };
    for (size_t c = 0; c < cases.size(); ++c) {
        std::vector<BYTE> data = cases[c];
        CMemFile file(data.data(), static_cast<UINT>(data.size()));
        EXPECT_FALSE(PasteObjectsBlock(target, file, false, 10, CRect(0, 0, 800, 600))) << c;
        EXPECT_EQ(target.GetItemCount(), 1) << c;
        EXPECT_EQ(target.GetGroupCount(), 1) << c;
        EXPECT_TRUE(target.GetItem(0)->IsSelected()) << c;
    }
    EXPECT_TRUE(Recorded(target).empty());
}

// What a paste puts on the page is what the writer writes: copied, pasted again, saved and opened again.
TEST_F(ClipboardObjectsTest, APastedGroupCanBeCopiedPastedAgainSavedAndReopened)
{
    const std::vector<BYTE> bytes = Copy();
    // The first group's rectangle, then its centre behind the four flags and the angle.
    const auto withGroup = [&](CRect rect, std::optional<DPOINT> centre = std::nullopt) {
        CMemFile fields;
        for (int32_t v : {rect.left, rect.top, rect.right, rect.bottom})
            WriteInt32(fields, v);
        std::vector<BYTE> changed = bytes;
        std::copy(fields.GetBuffer(), fields.GetBuffer() + 16, changed.begin() + 8);
        if (centre) {
            CMemFile point;
            WriteDouble(point, centre->x);
            WriteDouble(point, centre->y);
            std::copy(point.GetBuffer(), point.GetBuffer() + 16, changed.begin() + 8 + 16 + 4 + 8);
        }
        return changed;
    };
    constexpr int kFar = 16777215; // the last coordinate stored objects keep to
    const CRect farAway(kFar - 40, kFar - 40, kFar, kFar);
    struct Case
    {
        const char* what;
        std::vector<BYTE> block;
        bool pastes;
    };
    const Case cases[] = {
        {"as copied", bytes, true},
        // Out of order, it never meets the visible part, and moving it into view takes it past the range.
        {"inverted", withGroup(CRect(140, 85, 100, kFar)), false},
        {"upside down", withGroup(CRect(100, 85, 140, 20)), false},
        // Every value in range, but the centre lies so far from the rectangle that moving it into view takes the
        // rectangle out of the range.
        {"centre far from the rectangle", withGroup(farAway, DPOINT{-16000000.0, -16000000.0}), false},
        {"far, with its centre", withGroup(farAway, DPOINT{kFar - 20.0, kFar - 20.0}), true},
    };
    const CRect visible(400, 300, 800, 600);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<BYTE> data = c.block;
        CSitePage page(nullptr, "c", "C", Settings());
        CMemFile block(data.data(), static_cast<UINT>(data.size()));
        ASSERT_EQ(PasteObjectsBlock(page, block, false, 10, visible), c.pastes);
        if (!c.pastes) {
            EXPECT_EQ(page.GetItemCount(), 0);
            EXPECT_EQ(page.GetGroupCount(), 0);
            continue;
        }
        CRect shown;
        EXPECT_TRUE(shown.IntersectRect(page.GetItem(0)->GetGroup()->GetRect(), visible));
        CMemFile copied;
        ASSERT_TRUE(WriteObjectsBlock(page, copied));
        copied.SeekToBegin();
        CSitePage again(nullptr, "d", "D", Settings());
        ASSERT_TRUE(PasteObjectsBlock(again, copied, false, 10, visible));
        EXPECT_EQ(again.GetItemCount(), 3);
        CMemFile saved;
        ASSERT_TRUE(page.Save(saved));
        saved.SeekToBegin();
        CSitePage reopened(nullptr, "c", "C", Settings());
        ASSERT_TRUE(reopened.Load(saved, 5, 15));
        ASSERT_EQ(reopened.GetItemCount(), 3);
        EXPECT_EQ(reopened.GetItem(0)->GetRect(), page.GetItem(0)->GetRect());
    }
}

// A pasted object may claim any size the range allows; its picture for other programs is refused, not allocated.
TEST_F(ClipboardObjectsTest, ThePictureOfAnObjectLargerThanAnyPageIsRefused)
{
    CSitePage huge(nullptr, "h", "H", Settings());
    huge.AddObject(std::make_unique<CRectangleObject>(400.0, 300.0, SIZE{1 << 24, 1 << 24}, 0.0));
    huge.SelectItemAt(0);
    CMemFile block;
    ASSERT_TRUE(WriteObjectsBlock(huge, block));
    block.SeekToBegin();
    ASSERT_TRUE(PasteObjectsBlock(target, block, false, 10, CRect(0, 0, 800, 600)));
    CPageItem* pasted = target.GetItem(1);
    const RgbPicture picture = RenderItemOnWhite(*pasted);
    EXPECT_TRUE(picture.tooLarge);
    EXPECT_TRUE(picture.rgb.empty());
    EXPECT_EQ(picture.width, 0);
    // The objects themselves are copied all the same.
    CMemFile copied;
    EXPECT_TRUE(WriteObjectsBlock(target, copied));

    // The largest page's size is still given.
    CPageItem* page = source.AddObject(std::make_unique<CRectangleObject>(1000.0, 50.0, SIZE{2000, 100}, 0.0));
    EXPECT_FALSE(RenderItemOnWhite(*page).tooLarge);
}

TEST_F(ClipboardObjectsTest, NothingSelectedWritesNothing)
{
    CMemFile file;
    EXPECT_FALSE(WriteObjectsBlock(source, file));
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST_F(ClipboardObjectsTest, TheOtherProgramsPictureIsTheObjectOverWhite)
{
    auto disc = std::make_unique<CCircleObject>(60.0, 60.0, SIZE{40, 40}, 0.0);
    disc->GetFill()->SetColor(CColor(200, 20, 10));
    CPageItem* item = source.AddObject(std::move(disc));
    source.RenderDirtyObjects();
    const RgbPicture picture = RenderItemOnWhite(*item);
    ASSERT_GE(picture.width, 40);
    ASSERT_GE(picture.height, 40);
    ASSERT_EQ(picture.rgb.size(), static_cast<size_t>(picture.width) * picture.height * 3);
    const auto at = [&](int x, int y) {
        const BYTE* p = picture.rgb.data() + (static_cast<size_t>(y) * picture.width + x) * 3;
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(at(picture.width / 2, picture.height / 2), (std::vector<int>{200, 20, 10}));
    EXPECT_EQ(at(0, 0), (std::vector<int>{255, 255, 255})) << "outside the disc";
}

TEST_F(ClipboardObjectsTest, APastedPictureIsTheOnlySelectionInTheMiddleOfWhatIsSeen)
{
    auto image = std::make_unique<CImage>(IMAGE_MODE_RGB, 31, 20);
    CPageItem* item = PastePicture(target, std::move(image), CRect(100, 100, 500, 400));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetRect(), CRect(285, 240, 316, 260));
    EXPECT_EQ(target.GetSelectedItemCount(), 1);
    EXPECT_TRUE(item->IsSelected());
    EXPECT_EQ(item->GetCurrentObject()->GetFill()->GetKind(), CFillInfo::FILL_PICTURE);
    EXPECT_EQ(Recorded(target), std::vector<int>{0});
}

} // namespace
