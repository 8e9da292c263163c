#include "app/palettes/link_page_logic.h"

#include "app/model/link_info.h"
#include "app/objects/counter_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_editing_test_support.h"
#include "app/objects/text_object.h"
#include "app/palettes/link_holders.h"
#include "app/palettes/palette_edit.h"
#include "app/palettes/palette_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

#include <gtest/gtest.h>

namespace {

class LinkServices : public PaletteServicesFake
{
public:
    bool GetDocumentFileName(const std::string& folder, const std::string& name, std::string& path) override
    {
        dialogs.push_back(folder + "|" + name);
        if (chosen.empty())
            return false;
        path = chosen;
        return true;
    }

    std::vector<std::string> dialogs;
    std::string chosen;
};

class LinkPageTest : public ::testing::Test
{
protected:
    LinkPageTest()
    {
        site.AddPage(std::make_unique<CSitePage>(&site, "home", "Home"));
        site.AddPage(std::make_unique<CSitePage>(&site, "about", "About"));
        page = site.GetPage(0);
        page->SetFrontPage(true);
        services.site = &site;
        services.page = page;
        services.ShowPage(page);
        undo = dynamic_cast<RecordingUndoManager*>(page->GetUndoManager());
    }

    CPageItem* Select(std::unique_ptr<CPageObject> object)
    {
        CPageItem* item = page->AddObject(std::move(object));
        page->SelectItem(item);
        services.object = item->GetCurrentObject();
        return item;
    }
    CPageObject* SelectRectangle()
    {
        return Select(std::make_unique<CRectangleObject>(100.0, 100.0, SIZE{80, 40}, 0.0))->GetCurrentObject();
    }
    CLinkInfo& Record() { return *services.object->GetLink(); }
    std::vector<int> Steps() const { return undo ? undo->recorded : std::vector<int>{}; }
    static int Kind(UndoKind kind) { return static_cast<int>(kind); }
    LinkControls Filled()
    {
        LinkControls c;
        FillLinkPage(c);
        return c;
    }

    LinkServices services;
    CWebsite site{std::string()};
    CSitePage* page = nullptr;
    RecordingUndoManager* undo = nullptr;
};

TEST(LinkWebAddressTest, MarkersAnywhereWithExactCaseMakeAWebAddress)
{
    struct Case
    {
        const char* text;
        bool web;
    };
    for (const Case& c :
         {Case{"www.example", true}, Case{"shop.com/x", true}, Case{"http:", true}, Case{"C:\\docs\\report.pdf", false},
          Case{"C:\\docs\\bonus.es.pdf", true}, Case{"/home/ana/plan.usage", true}, Case{"WWW.EXAMPLE.COM", false},
          Case{"notes.doc", false}, Case{"a.gov", true}, Case{"x.edu", true}, Case{"y.org", true}, Case{"z.net", true}})
        EXPECT_EQ(IsWebAddressText(c.text), c.web) << c.text;
}

TEST_F(LinkPageTest, NothingSelectedClearsAndAnObjectWithoutALinkLeavesThePage)
{
    LinkControls c;
    c.email = "old";
    c.enabled = true;
    FillLinkPage(c);
    EXPECT_FALSE(c.enabled);
    EXPECT_EQ(c.pageEntries, std::vector<std::string>{""});
    EXPECT_EQ(c.target, -1);
    EXPECT_TRUE(c.email.empty());

    SelectRectangle();
    Record().SetKind(CLinkInfo::kindEmail);
    Record().SetActive(true);
    c = Filled();
    EXPECT_TRUE(c.enabled && c.useLink);
    EXPECT_EQ(c.choice, kLinkChoiceEmail);
    EXPECT_EQ(c.email, CLinkInfo::kDefaultEmail);
    const LinkControls shown = c;
    Select(std::make_unique<CCounterObject>(1, 300.0, 300.0));
    FillLinkPage(c);
    EXPECT_EQ(c.email, shown.email);
    EXPECT_EQ(c.choice, shown.choice);
}

TEST_F(LinkPageTest, ShowingAShapesWebAddressRepairsTheRecordWithoutAStep)
{
    SelectRectangle();
    Record().SetKind(CLinkInfo::kindUrl);
    Record().SetUrl("example.org/a");
    Record().SetActive(true);
    const LinkControls c = Filled();
    EXPECT_EQ(c.address, "http://example.org/a");
    EXPECT_EQ(c.choice, kLinkChoiceAddress);
    EXPECT_EQ(Record().GetUrl(), "http://example.org/a");
    EXPECT_TRUE(Steps().empty());
}

TEST_F(LinkPageTest, ShapeLinksChangeAsLinkStepsAndReachTheMouseOverTwin)
{
    CPageItem* item = Select(std::make_unique<CRectangleObject>(100.0, 100.0, SIZE{80, 40}, 0.0));
    item->SetMouseOverObject(std::make_unique<CRectangleObject>(100.0, 100.0, SIZE{80, 40}, 0.0));
    LinkControls c = Filled();

    // The page list shows one entry until it drops down; choosing the front page by its marked entry.
    LinkOnPageDropDown(c);
    EXPECT_EQ(c.pageEntries, (std::vector<std::string>{"home (front page)", "about"}));
    c.choice = kLinkChoicePage;
    c.pageSelection = 1;
    c.target = 3;
    c.useLink = true;
    LinkAfter after = LinkOnPageSelChange(c);
    EXPECT_TRUE(after.refill && after.focus);
    // Each change gives the object a new record.
    const auto main = [item]() -> const CLinkInfo& { return *item->GetObject(false)->GetLink(); };
    EXPECT_EQ(main().GetKind(), CLinkInfo::kindPage);
    EXPECT_EQ(main().GetPage(), 1);
    EXPECT_EQ(main().GetTarget(), 3);
    EXPECT_EQ(*item->GetObject(true)->GetLink(), main()) << "the twin takes a copy";
    // The same page again is still a step; so is every notification of the target list.
    services.object = item->GetCurrentObject();
    LinkOnPageSelChange(c);
    LinkOnTargetChange(c);
    EXPECT_EQ(Steps(), std::vector<int>(3, Kind(kUndoLink)));

    // A target chosen while the e-mail choice shows snaps back to Default and changes nothing.
    c.choice = kLinkChoiceEmail;
    c.target = 2;
    LinkOnTargetChange(c);
    EXPECT_EQ(c.target, 0);
    EXPECT_EQ(Steps().size(), 3u);

    // The e-mail box: a change of case alone changes nothing for a shape; a new address makes an e-mail link.
    c.email = "NAME@EXAMPLE.COM";
    LinkOnEmailKillFocus(c);
    EXPECT_EQ(Steps().size(), 3u);
    c.email = "ana@example.org";
    c.choice = kLinkChoicePage;
    LinkOnEmailKillFocus(c);
    EXPECT_EQ(main().GetKind(), CLinkInfo::kindEmail);
    EXPECT_EQ(main().GetEmail(), "ana@example.org");
    EXPECT_EQ(main().GetTarget(), 0);
    EXPECT_EQ(c.choice, kLinkChoiceEmail);
}

TEST_F(LinkPageTest, ShapeAddressChoiceWaitsForADocumentPathButTakesAWebAddress)
{
    SelectRectangle();
    Record().SetKind(CLinkInfo::kindPage);
    LinkControls c = Filled();
    c.choice = kLinkChoiceAddress;
    c.address = "C:\\docs\\plan.pdf";
    c.target = 0;
    LinkAfter after = LinkOnAddressChoice(c);
    EXPECT_TRUE(after.refill);
    EXPECT_EQ(Record().GetKind(), CLinkInfo::kindPage) << "only refilled";
    EXPECT_TRUE(Steps().empty());
    LinkOnAddressKillFocus(c);
    EXPECT_EQ(Record().GetKind(), CLinkInfo::kindFile);
    EXPECT_EQ(Record().GetFile(), "C:\\docs\\plan.pdf");

    c.address = "example.com";
    after = LinkOnAddressKillFocus(c);
    EXPECT_EQ(c.address, "http://example.com") << "repaired and written back";
    EXPECT_EQ(Record().GetKind(), CLinkInfo::kindUrl);
    EXPECT_EQ(Record().GetUrl(), "http://example.com");
    EXPECT_FALSE(after.focus) << "a web address leaves the keyboard where it is";
    EXPECT_EQ(Steps(), std::vector<int>(2, Kind(kUndoLink)));
}

TEST_F(LinkPageTest, APlainTextTakesOneLinkInEveryCharacterAsTextSteps)
{
    auto made = text_editing_testing::MakeText(200, {"hello world"});
    CTextObject* text = made.get();
    Select(std::move(made));
    ASSERT_TRUE(text->IsPlainObject());
    // Shown only while the text allows advanced text (else the page keeps what it showed).
    text->GetTextBody()->m_allowAdvanced = 1;
    LinkControls c = Filled();
    EXPECT_TRUE(c.enabled);
    EXPECT_FALSE(c.useLink) << "shown from the record while no character links";

    // The test comes after the scheme is removed: "http:" alone makes a document path.
    c.address = "http://readme";
    c.target = 0;
    LinkOnAddressKillFocus(c);
    EXPECT_EQ(c.address, "readme");
    const auto& chars = text->GetTextBody()->m_paragraphs[0].m_chars;
    EXPECT_EQ(chars[0].m_link.GetKind(), CLinkInfo::kindFile);
    EXPECT_EQ(chars.back().m_link.GetFile(), "readme");

    // The e-mail box records a step even when nothing differs.
    c.email = "a@b.c";
    LinkOnEmailKillFocus(c);
    LinkOnEmailKillFocus(c);
    EXPECT_EQ(chars[3].m_link.GetEmail(), "a@b.c");
    c.useLink = true;
    LinkOnUseLink(c);
    EXPECT_TRUE(chars[5].m_link.IsActive());
    EXPECT_EQ(Steps(), std::vector<int>(4, Kind(kUndoTextLinks)));
    c = Filled();
    EXPECT_TRUE(c.useLink);
    EXPECT_EQ(c.choice, kLinkChoiceEmail);
}

TEST_F(LinkPageTest, EditedCharactersChangeWithoutAStep)
{
    auto made = text_editing_testing::MakeText(200, {"hello world"});
    CTextObject* text = made.get();
    Select(std::move(made));
    text->BeginEdit();
    text_editing_testing::Select(*text, {0, 0}, {0, 5});
    page->SetEditedObject(text);
    page->SetEditingInPlace(true);
    LinkControls c = Filled();
    EXPECT_TRUE(c.enabled);
    EXPECT_EQ(c.address, "http://");

    c.pageEntries = {"about"};
    c.pageSelection = 0;
    c.target = 1;
    c.choice = kLinkChoicePage;
    LinkOnPageSelChange(c);
    const auto& chars = text->GetTextBody()->m_paragraphs[0].m_chars;
    EXPECT_TRUE(chars[0].m_link.IsActive());
    EXPECT_EQ(chars[4].m_link.GetPage(), 1);
    EXPECT_EQ(chars[4].m_link.GetTarget(), 1);
    EXPECT_FALSE(chars[6].m_link.IsActive()) << "outside the selection";
    EXPECT_TRUE(Steps().empty());
    c = Filled();
    EXPECT_EQ(c.pageEntries, std::vector<std::string>{"about"});
    EXPECT_TRUE(c.useLink);
}

TEST_F(LinkPageTest, ADocumentChosenForAShapeBecomesItsLink)
{
    SelectRectangle();
    LinkControls c = Filled();
    c.target = 3;
    // Cancel changes nothing; the dialog opens where the system chooses while there is no document yet.
    EXPECT_FALSE(LinkOnDocument(c).refill);
    EXPECT_EQ(services.dialogs, std::vector<std::string>{"|"});
    services.chosen = "/home/ana/files/plan.pdf";
    LinkAfter after = LinkOnDocument(c);
    EXPECT_TRUE(after.refill && after.focus);
    EXPECT_TRUE(Record().IsActive());
    EXPECT_EQ(Record().GetKind(), CLinkInfo::kindFile);
    EXPECT_EQ(Record().GetFile(), "/home/ana/files/plan.pdf");
    EXPECT_EQ(Record().GetTarget(), 3);
    EXPECT_EQ(c.address, "/home/ana/files/plan.pdf");
    EXPECT_TRUE(c.useLink);
    EXPECT_EQ(c.choice, kLinkChoiceAddress);

    // The next dialog starts at that file, without its extension; the same file and target again: no step.
    Record().SetKind(CLinkInfo::kindUrl);
    Record().SetActive(false);
    LinkOnDocument(c);
    EXPECT_EQ(services.dialogs.back(), "/home/ana/files/|plan");
    EXPECT_EQ(Steps(), std::vector<int>{Kind(kUndoLink)});
}

// A kind choice on a shape's record changes the kind once (an e-mail link also goes to the default target); the
// same choice again records nothing. On edited characters it keeps their value of that kind, without a step.
TEST_F(LinkPageTest, KindChoicesSwitchTheKindOnce)
{
    SelectRectangle();
    Record().SetKind(CLinkInfo::kindUrl);
    Record().SetTarget(2);
    LinkControls c = Filled();
    c.choice = kLinkChoiceEmail;
    EXPECT_TRUE(LinkOnEmailChoice(c).focus);
    EXPECT_EQ(Record().GetKind(), CLinkInfo::kindEmail);
    EXPECT_EQ(Record().GetTarget(), 0);
    LinkOnEmailChoice(c);
    c.choice = kLinkChoicePage;
    LinkOnPageChoice(c);
    EXPECT_EQ(Record().GetKind(), CLinkInfo::kindPage);
    EXPECT_EQ(Steps(), std::vector<int>(2, Kind(kUndoLink)));

    auto made = text_editing_testing::MakeText(200, {"hello world"});
    CTextObject* text = made.get();
    Select(std::move(made));
    text->BeginEdit();
    text_editing_testing::Select(*text, {0, 0}, {0, 5});
    page->SetEditedObject(text);
    page->SetEditingInPlace(true);
    c = Filled();
    c.choice = kLinkChoiceEmail;
    const LinkAfter after = LinkOnEmailChoice(c);
    EXPECT_TRUE(after.refill && after.focus);
    const auto& chars = text->GetTextBody()->m_paragraphs[0].m_chars;
    EXPECT_EQ(chars[2].m_link.GetKind(), CLinkInfo::kindEmail);
    EXPECT_EQ(chars[6].m_link.GetKind(), CLinkInfo::kindUrl) << "outside the selection";
    EXPECT_EQ(Steps().size(), 2u);
}

} // namespace
