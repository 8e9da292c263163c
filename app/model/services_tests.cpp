#include "app/model/services.h"

#include <gtest/gtest.h>

#include "app/model/app_settings.h"
#include "app/model/seams_test_support.h"
#include "app/model/undo_manager.h"

namespace {

// Stands in for the program: answers with objects of its own and records what the model asked of it.
class FakeServices : public NullCoreServices,
                     public NullMessages,
                     public NullCurrentState,
                     public NullModelDialogs,
                     public NullToolsAndInspector
{
public:
    CWebsite* GetCurrentSite() override { return site; }
    std::string GetCurrentSitePath() override { return sitePath; }
    CAppSettings* GetAppSettings() override { return &settings; }
    void NotifyInspector(int code) override { codes.push_back(code); }
    void MarkClipboardStale() override { ++staleMarks; }
    int GetDisplayBitsPerPixel() override { return bitsPerPixel; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    bool GetToolsBarColor(CColor& color) override
    {
        color = CColor(1, 2, 3);
        return true;
    }

    CWebsite* site = nullptr;
    std::string sitePath;
    CAppSettings settings;
    std::vector<int> codes;
    std::vector<std::string> messages;
    int staleMarks = 0;
    int bitsPerPixel = 32;
};

// A fake for the tests that install it; the headless answers are back after each test.
class ServicesTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        SetCoreServices(nullptr);
        SetMessages(nullptr);
        SetCurrentState(nullptr);
        SetModelDialogs(nullptr);
        SetToolsAndInspector(nullptr);
        SetOpeningSitePath("");
    }
    FakeServices fake;
};

} // namespace

TEST_F(ServicesTest, HeadlessNothingIsCurrentAndServicesDoNothing)
{
    EXPECT_EQ(GetCurrentSite(), nullptr);
    EXPECT_EQ(GetCurrentView(), nullptr);
    EXPECT_EQ(GetCurrentPage(), nullptr);
    EXPECT_EQ(GetCurrentObject(), nullptr);
    EXPECT_EQ(GetAppSettings(), nullptr);
    NotifyInspector(10011);
    MarkClipboardStale();

    CColor color(COLOR_RED);
    EXPECT_FALSE(GetToolsAndInspector().GetToolsBarColor(color));
    EXPECT_EQ(color, CColor(COLOR_RED));
    EXPECT_EQ(GetToolsAndInspector().GetToolsBarTool(), 0);

    const NullPageView view;
    EXPECT_EQ(view.GetPageOrigin(), CPoint(0, 0));
    EXPECT_TRUE(view.GetSelectionRect().IsRectEmpty());
    EXPECT_EQ(view.GetPage(), nullptr);
    EXPECT_FALSE(view.IsTextCaretShown());

    auto undo = GetCoreServices().CreateUndoManager(nullptr, 500);
    undo->RecordUndo(UndoKind::geometry);
    EXPECT_FALSE(undo->CanUndo());
    EXPECT_FALSE(undo->CanRedo());
    EXPECT_EQ(undo->GetCapacity(), 500);
}

TEST_F(ServicesTest, InstalledServicesAnswerUntilRemoved)
{
    SetCoreServices(&fake);
    SetMessages(&fake);
    SetCurrentState(&fake);
    SetModelDialogs(&fake);
    SetToolsAndInspector(&fake);
    EXPECT_EQ(GetAppSettings(), &fake.settings);
    NotifyInspector(10012);
    NotifyInspector(10018);
    MarkClipboardStale();
    GetMessages().ShowMessage("m");
    EXPECT_EQ(fake.codes, (std::vector<int>{10012, 10018}));
    EXPECT_EQ(fake.staleMarks, 1);
    EXPECT_EQ(fake.messages, std::vector<std::string>{"m"});

    SetCoreServices(nullptr);
    SetMessages(nullptr);
    SetCurrentState(nullptr);
    SetModelDialogs(nullptr);
    SetToolsAndInspector(nullptr);
    NotifyInspector(10011);
    GetMessages().ShowMessage("gone");
    EXPECT_EQ(GetAppSettings(), nullptr);
    EXPECT_EQ(fake.codes.size(), 2u);
    EXPECT_EQ(fake.messages.size(), 1u);
}

// A fake installed over another answers only the seams it derives from, and gives each back to the one before it
// when its scope ends, so that a test's own fake composes with its fixture's.
TEST_F(ServicesTest, FakesInstalledOverEachOtherGiveTheSeamsBackInTurn)
{
    class MessagesOnly : public NullMessages
    {
    public:
        void ShowMessage(const std::string& text) override { messages.push_back(text); }
        std::vector<std::string> messages;
    };
    {
        const SeamsInstalled outer(fake);
        MessagesOnly inner;
        {
            const SeamsInstalled installed(inner);
            GetMessages().ShowMessage("to the inner");
            EXPECT_EQ(GetAppSettings(), &fake.settings) << "the outer still answers what the inner does not";
        }
        GetMessages().ShowMessage("to the outer");
        EXPECT_EQ(inner.messages, std::vector<std::string>{"to the inner"});
        EXPECT_EQ(fake.messages, std::vector<std::string>{"to the outer"});
        EXPECT_EQ(GetAppSettings(), &fake.settings);

        // Put back early, the scope's end puts back nothing more.
        SeamsInstalled again(inner);
        again.PutBack();
        again.PutBack();
        GetMessages().ShowMessage("still the outer");
        EXPECT_EQ(fake.messages.size(), 2u);
    }
    GetMessages().ShowMessage("headless");
    EXPECT_EQ(fake.messages.size(), 2u);
    EXPECT_EQ(GetAppSettings(), nullptr);
}

TEST_F(ServicesTest, StoredPathsResolveAgainstTheSiteOrTheFileBeingOpened)
{
    SetOpeningSitePath("/home/u/opening/site.kst");
    EXPECT_EQ(ResolveStoredPath("img/a.gif"), "/home/u/opening/img/a.gif");

    // With a current site its own path wins, even over the file being opened.
    const SeamsInstalled installed(fake);
    int siteStandIn = 0;
    fake.site = reinterpret_cast<CWebsite*>(&siteStandIn);
    fake.sitePath = "C:\\Sites\\My.kst";
    EXPECT_EQ(ResolveStoredPath("img\\a.gif"), "C:\\Sites\\img\\a.gif");
    EXPECT_EQ(ResolveStoredPath("D:\\pics\\a.gif"), "D:\\pics\\a.gif");
}

TEST_F(ServicesTest, SanitizePageIdRemovesIllegalCharactersAndSaysSo)
{
    SeamsInstalled installed(fake);
    std::string name = "a/b c@d.e;f(g)h{i}j^k[l]m:n<o>p\\q%r&s";
    EXPECT_EQ(SanitizePageId(name), TRUE);
    EXPECT_EQ(name, "abcdefghijklmnopqrs");
    EXPECT_EQ(fake.messages, (std::vector<std::string>{"Illegal characters were removed from the Page ID"}));

    // A clean name stays as it is and the user is not told anything.
    EXPECT_EQ(SanitizePageId(name), TRUE);
    EXPECT_EQ(name, "abcdefghijklmnopqrs");
    EXPECT_EQ(fake.messages.size(), 1u);

    installed.PutBack();
    std::string headless = "..";
    EXPECT_EQ(SanitizePageId(headless), TRUE);
    EXPECT_EQ(headless, "");
}

TEST_F(ServicesTest, DisplayBitmapRowsAreWholeWords)
{
    BITMAP bm;
    GetDisplayBitmapFormat(&bm, 5, 7);
    EXPECT_EQ(bm.bmBitsPixel, 32);
    EXPECT_EQ(bm.bmWidthBytes, 20);

    const SeamsInstalled installed(fake);
    const struct
    {
        int bits;
        LONG rowBytes;
    } cases[] = {{24, 16}, {16, 12}, {32, 20}};
    for (const auto& c : cases) {
        fake.bitsPerPixel = c.bits;
        GetDisplayBitmapFormat(&bm, 5, 7);
        EXPECT_EQ(bm.bmWidthBytes, c.rowBytes) << c.bits;
        EXPECT_EQ(bm.bmWidth, 5);
        EXPECT_EQ(bm.bmHeight, 7);
        EXPECT_EQ(bm.bmBitsPixel, c.bits);
        EXPECT_EQ(bm.bmBits, nullptr);
    }
}
