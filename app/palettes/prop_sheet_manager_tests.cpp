#include "app/palettes/prop_sheet_manager.h"

#include "app/model/app_settings.h"
#include "platform/win/key_store.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class FakeFrame : public CPaletteFrame
{
public:
    explicit FakeFrame(int index) : m_index(index) {}
    CRect GetNormalRect() const override { return rect; }
    void SetNormalRect(const CRect& r) override { rect = r; }
    void ShowFrame(bool show) override { visible = show; }
    bool IsFrameVisible() const override { return visible; }
    void SetFrameBounds(const CPoint& topLeft, const CSize& size, bool resizeSheet) override
    {
        rect = CRect(topLeft, size);
        sheetResized = resizeSheet;
    }
    bool HasSheet() const override { return true; }
    void ActivateFirstPage() override { ++activations; }
    // A page fills itself again only for the codes it listens to, as the real pages do.
    void NotifyActivePage(UINT code) override
    {
        received.push_back(code);
        if (PaletteListensTo(m_index, code))
            ++fills;
    }

    CRect rect{0, 0, 180, 90};
    bool visible = true;
    bool sheetResized = false;
    int activations = 0;
    int fills = 0;
    std::vector<UINT> received;

private:
    int m_index;
};

class FakeHost : public CPaletteHost
{
public:
    CPaletteFrame* CreatePaletteFrame(int index) override
    {
        if (index == failAt)
            return nullptr;
        frames.push_back(std::make_unique<FakeFrame>(index));
        return frames.back().get();
    }
    CSize GetScreenSize() const override { return CSize(1024, 768); }

    int failAt = -1;
    std::vector<std::unique_ptr<FakeFrame>> frames;
};

class PropSheetManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto owned = std::make_unique<FakeHost>();
        host = owned.get();
        ASSERT_EQ(manager.Create(std::move(owned)), 0);
    }
    FakeFrame& Frame(int index) { return *host->frames.at(static_cast<size_t>(index)); }
    int VisibleCount()
    {
        int n = 0;
        for (auto& frame : host->frames)
            n += frame->visible ? 1 : 0;
        return n;
    }

    CPropSheetManager manager;
    FakeHost* host = nullptr;
};

TEST_F(PropSheetManagerTest, CreateGivesSevenHiddenFramesSharingOneRectangle)
{
    ASSERT_EQ(host->frames.size(), 7u);
    EXPECT_EQ(manager.GetCurrentIndex(), kPagePropSheet);
    for (auto& frame : host->frames) {
        EXPECT_FALSE(frame->visible);
        EXPECT_EQ(frame->rect, CRect(150, 150, 330, 240));
        EXPECT_EQ(frame->activations, 1);
    }
    EXPECT_FALSE(manager.IsAnyPropSheetVisible());
}

TEST_F(PropSheetManagerTest, ANewPaletteTakesTheOldOnesCornerKeptOnTheScreen)
{
    manager.ShowPagePropSheet();
    EXPECT_EQ(Frame(kPagePropSheet).rect, CRect(CPoint(150, 150), CSize(255, 425)));
    EXPECT_TRUE(Frame(kPagePropSheet).sheetResized);

    // The user dragged the Page palette up to y = 50: Fill comes 100 lower, with its own size and sheet.
    Frame(kPagePropSheet).rect = CRect(CPoint(400, 50), CSize(255, 425));
    manager.ShowFillPropSheet();
    EXPECT_EQ(manager.GetCurrentIndex(), kFillPropSheet);
    EXPECT_EQ(Frame(kFillPropSheet).rect, CRect(CPoint(400, 150), CSize(255, 200)));
    EXPECT_FALSE(Frame(kFillPropSheet).sheetResized);
    EXPECT_TRUE(Frame(kFillPropSheet).visible);
    EXPECT_FALSE(Frame(kPagePropSheet).visible);
    EXPECT_EQ(VisibleCount(), 1);

    // A left edge within 100 pixels of the screen's right edge, and a right edge left of 100, come back.
    Frame(kFillPropSheet).rect = CRect(CPoint(1000, 300), CSize(255, 200));
    manager.ShowEffectsPropSheet();
    EXPECT_EQ(Frame(kEffectsPropSheet).rect.TopLeft(), CPoint(900, 300));
    Frame(kEffectsPropSheet).rect = CRect(CPoint(-300, 300), CSize(255, 300));
    manager.ShowStylesPropSheet();
    EXPECT_EQ(Frame(kStylesPropSheet).rect.TopLeft(), CPoint(-200, 300));
    // A bottom too low comes up, each step once only.
    Frame(kStylesPropSheet).rect = CRect(CPoint(300, 700), CSize(255, 235));
    manager.ShowLinkPropSheet();
    EXPECT_EQ(Frame(kLinkPropSheet).rect.TopLeft(), CPoint(300, 600));
}

TEST_F(PropSheetManagerTest, ToggleHidesAndShowsTheSamePalette)
{
    manager.ShowMouseOverPropSheet();
    const CRect place = Frame(kMouseOverPropSheet).rect;
    manager.TogglePropSheets();
    EXPECT_FALSE(manager.IsAnyPropSheetVisible());
    manager.TogglePropSheets();
    EXPECT_TRUE(Frame(kMouseOverPropSheet).visible);
    EXPECT_EQ(Frame(kMouseOverPropSheet).rect, place);
    EXPECT_EQ(VisibleCount(), 1);
    // Hidden by its close box, the palette comes back the same way.
    manager.HidePropSheet();
    manager.TogglePropSheets();
    EXPECT_EQ(manager.GetCurrentIndex(), kMouseOverPropSheet);
    EXPECT_TRUE(Frame(kMouseOverPropSheet).visible);
}

TEST_F(PropSheetManagerTest, AnIndexOutsideTheSevenChangesNothing)
{
    manager.ShowLinkPropSheet();
    for (int index : {-1, 7, 100}) {
        manager.ShowPropSheet(index);
        EXPECT_EQ(manager.GetCurrentIndex(), kLinkPropSheet);
        EXPECT_TRUE(Frame(kLinkPropSheet).visible);
    }
    // Every palette can still be shown.
    manager.ShowObjectPropSheet();
    EXPECT_TRUE(Frame(kObjectPropSheet).visible);
    EXPECT_EQ(manager.GetPropFrame(7), nullptr);
    EXPECT_EQ(manager.GetPropSheet(-1), nullptr);
}

TEST_F(PropSheetManagerTest, RefreshCodesReachOnlyTheCurrentPageWhichDecidesWhetherToFill)
{
    const UINT codes[] = {10011, 10012, 10015, 10016, 10018};
    // Rows Page..Mouseover, columns the codes in the order above.
    const bool reacts[7][5] = {
        {false, false, false, false, true}, {true, true, false, true, true},   {true, false, true, true, true},
        {true, false, false, false, true},  {true, false, false, false, true}, {true, false, false, false, true},
        {true, false, false, true, true},
    };
    for (int index = 0; index < kPropSheetCount; ++index) {
        manager.ShowPropSheet(index);
        manager.HidePropSheet(); // hidden palettes still hear their codes
        for (int c = 0; c < 5; ++c) {
            const int before = Frame(index).fills;
            std::vector<int> othersBefore;
            for (auto& frame : host->frames)
                othersBefore.push_back(static_cast<int>(frame->received.size()));
            manager.NotifyActivePropPage(codes[c]);
            EXPECT_EQ(Frame(index).fills - before, reacts[index][c] ? 1 : 0) << index << " " << codes[c];
            for (int other = 0; other < kPropSheetCount; ++other) {
                if (other != index) {
                    EXPECT_EQ(static_cast<int>(Frame(other).received.size()), othersBefore[other]);
                }
            }
        }
    }
}

TEST_F(PropSheetManagerTest, RestoresTheStoredPaletteAndPlace)
{
    CKeyStore store{std::string()};
    store.WriteProfileInt(kSettingsSection, "Inspector current", 9);
    store.WriteProfileInt(kSettingsSection, "Inspector left", 320);
    store.WriteProfileInt(kSettingsSection, "Inspector top", 240);
    EXPECT_EQ(manager.RestoreState(LoadInspectorState(store, 1024, 768)), kMouseOverPropSheet);
    EXPECT_EQ(manager.GetCurrentIndex(), kMouseOverPropSheet);
    EXPECT_EQ(Frame(kMouseOverPropSheet).rect, CRect(CPoint(320, 240), CSize(255, 200)));
    EXPECT_EQ(VisibleCount(), 1);

    CInspectorState saved;
    ASSERT_TRUE(manager.GetState(saved));
    EXPECT_EQ(saved.current, kMouseOverPropSheet);
    EXPECT_EQ(saved.left, 320);
    EXPECT_EQ(saved.top, 240);
}

TEST(PropSheetManager, MissingPlaceDefaultsNearTheScreensBottomRight)
{
    CPropSheetManager manager;
    auto owned = std::make_unique<FakeHost>();
    FakeHost* host = owned.get();
    ASSERT_EQ(manager.Create(std::move(owned)), 0);
    CKeyStore store{std::string()};
    store.WriteProfileInt(kSettingsSection, "Inspector current", 3);
    manager.RestoreState(LoadInspectorState(store, 1024, 768));
    // Screen width - 300, screen height - 200.
    EXPECT_EQ(host->frames[kFillPropSheet]->rect.TopLeft(), CPoint(724, 568));
}

TEST(PropSheetManager, BeforeCreateOrAfterAFailedFrameNothingHappens)
{
    CPropSheetManager empty;
    empty.ShowFillPropSheet();
    empty.NotifyActivePropPage(kRefreshAll);
    empty.TogglePropSheets();
    EXPECT_FALSE(empty.IsAnyPropSheetVisible());
    CInspectorState state;
    EXPECT_FALSE(empty.GetState(state));

    CPropSheetManager partial;
    auto owned = std::make_unique<FakeHost>();
    FakeHost* host = owned.get();
    host->failAt = 3;
    EXPECT_EQ(partial.Create(std::move(owned)), -1);
    EXPECT_EQ(host->frames.size(), 3u);
    EXPECT_NE(partial.GetPropFrame(2), nullptr);
    EXPECT_EQ(partial.GetPropFrame(3), nullptr);
    partial.ShowFillPropSheet();
    EXPECT_EQ(partial.GetCurrentIndex(), kPagePropSheet);
}

} // namespace
