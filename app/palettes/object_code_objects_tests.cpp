#include "app/palettes/object_code_objects.h"

#include "app/model/app_settings.h"
#include "app/objects/counter_object.h"
#include "app/objects/form_object.h"
#include "app/objects/html_object.h"
#include "app/palettes/palette_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

#include <gtest/gtest.h>

namespace {

TEST(MeasureHtmlSize, TakesTheLargestNumbersAfterWidthAndHeight)
{
    const CRect small(0, 0, 10, 10);
    struct Case
    {
        const char* code;
        int width, height;
    };
    for (const Case& c : {
             Case{"<object WIDTH=\"320\" height=\"240\"></object>", 320, 240},
             Case{"<div style=\"width: 50px\"></div>", 50, 10},
             Case{"<embed width=\"auto\" src=\"a.swf\" height=\"90\">", 90, 90},
             Case{"<img height=20><img height = 75><img height=30>", 10, 75},
             Case{"max-width is wide; width=\"40\"", 10, 10},
             Case{"width=99999999999999999999", 2147483647, 10},
         }) {
        const CRect size = MeasureHtmlSize(small, c.code);
        EXPECT_EQ(size, CRect(0, 0, c.width, c.height)) << c.code;
    }
    EXPECT_EQ(MeasureHtmlSize(CRect(5, 5, 505, 405), "width=300 height=600"), CRect(0, 0, 500, 600));
}

class CodeObjectServices : public PaletteServicesFake
{
public:
    // The one selected object, as the program answers.
    CPageObject* GetCurrentObject() override
    {
        CPageItem* item = page ? page->GetSingleSelectedItem() : nullptr;
        return item ? item->GetCurrentObject() : nullptr;
    }
    CAppSettings* GetAppSettings() override { return &settings; }
    bool RunInsertHtmlDialog(HtmlObjectTexts& texts) override
    {
        ++dialogs;
        if (!answerOk)
            return false;
        texts.m_htmlCode = code;
        texts.m_strName = "Banner";
        return true;
    }
    YesNoCancel AskYesNoCancel(const std::string& text) override
    {
        questions.push_back(text);
        return answer;
    }
    DialogAnswer ShowNoticeDialog(int textId, bool& dontShowAgain) override
    {
        notices.push_back(textId);
        dontShowAgain = true;
        return DialogAnswer::ok;
    }
    bool RunFilesDialog(FilesDialogKind kind, const std::vector<std::string>& reservedNames,
                        const std::vector<const CFilePair*>& pairs, FilesDialogResult& result) override
    {
        filesDialogs.push_back(kind);
        filesDialogPairs = pairs.size();
        reserved = reservedNames;
        result = filesAnswer;
        return true;
    }

    CAppSettings settings;
    bool answerOk = true;
    std::string code;
    int dialogs = 0;
    YesNoCancel answer = YesNoCancel::cancel;
    std::vector<int> notices;
    FilesDialogResult filesAnswer;
    std::vector<FilesDialogKind> filesDialogs;
    size_t filesDialogPairs = 0;
    std::vector<std::string> reserved;
};

class CodeObjectTest : public ::testing::Test
{
protected:
    CodeObjectTest()
    {
        services.realUndo = true;
        page = std::make_unique<CSitePage>(nullptr, "home", "Home");
        services.page = page.get();
        services.ShowPage(page.get());
    }
    CPageItem* Add(std::unique_ptr<CPageObject> object)
    {
        CPageItem* item = page->AddObject(std::move(object));
        page->SelectItem(item);
        return item;
    }
    int Steps() const
    {
        CUndoManager* undo = page->GetUndoManager();
        int steps = 0;
        for (; undo->CanUndo(); ++steps)
            undo->Undo();
        for (int i = 0; i < steps; ++i)
            undo->Redo();
        return steps;
    }
    static SIZE SizeOf(const CPageObject& object)
    {
        SIZE size;
        return object.GetSize(size);
    }

    CodeObjectServices services;
    std::unique_ptr<CSitePage> page;
};

TEST_F(CodeObjectTest, CounterStyleAndFormAddressAreStepsOnlyWhenTheyChange)
{
    Add(std::make_unique<CCounterObject>(1, 100.0, 100.0));
    EXPECT_FALSE(ApplyCounterStyle(1));
    EXPECT_FALSE(ApplyCounterStyle(-1));
    EXPECT_TRUE(ApplyCounterStyle(3));
    EXPECT_EQ(dynamic_cast<CCounterObject*>(services.GetCurrentObject())->GetStyle(), 3);
    EXPECT_EQ(Steps(), 1);

    Add(std::make_unique<CFormObject>("me@example.com", 300.0, 300.0));
    EXPECT_FALSE(ApplyFormEmail("me@example.com"));
    EXPECT_TRUE(ApplyFormEmail("you@example.com"));
    EXPECT_EQ(dynamic_cast<CFormObject*>(services.GetCurrentObject())->GetEmailAddress(), "you@example.com");
    EXPECT_EQ(Steps(), 2);
}

TEST_F(CodeObjectTest, EditHtmlGrowsAJustPlacedObjectAndNeverShrinksIt)
{
    CPageItem* item = Add(std::make_unique<CHtmlObject>(100.0, 100.0, 100, 80));
    services.code = "<object width=\"400\" height=\"300\">";
    EXPECT_TRUE(EditHtmlObject(true));
    auto* html = dynamic_cast<CHtmlObject*>(item->GetCurrentObject());
    EXPECT_EQ(html->GetHtmlCode(), services.code);
    EXPECT_EQ(html->GetName(), "Banner");
    EXPECT_EQ(SizeOf(*html).cx, 400);
    EXPECT_EQ(SizeOf(*html).cy, 300);
    EXPECT_EQ(services.notices, std::vector<int>{7013});
    EXPECT_FALSE(services.settings.m_showHtmlSaveWarning) << "its box was ticked";

    // Edited later, the object keeps its size; a smaller size in the code never shrinks it.
    services.code = "<object width=\"800\" height=\"600\">";
    EXPECT_TRUE(EditHtmlObject(false));
    EXPECT_EQ(SizeOf(*html).cx, 400);
    services.code = "<object width=\"40\" height=\"30\">";
    EXPECT_TRUE(EditHtmlObject(true));
    EXPECT_EQ(SizeOf(*html).cx, 400);
    EXPECT_EQ(Steps(), 3);

    // Cancelled, nothing changes; with two objects selected the dialog does not open.
    services.answerOk = false;
    EXPECT_FALSE(EditHtmlObject(true));
    EXPECT_EQ(Steps(), 3);
    page->AddToSelection(page->AddObject(std::make_unique<CHtmlObject>(300.0, 300.0, 50, 50)));
    const int dialogs = services.dialogs;
    EXPECT_FALSE(EditHtmlObject(true));
    EXPECT_EQ(services.dialogs, dialogs);
}

// Add Flash runs the wizard over the site's own files; the site takes the files placed and the object the code.
TEST_F(CodeObjectTest, AddFlashRunsTheSitesWizardAndFillsTheObject)
{
    CPageItem* item = Add(std::make_unique<CHtmlObject>(100.0, 100.0, 100, 100));
    auto* html = dynamic_cast<CHtmlObject*>(item->GetCurrentObject());
    // Without a site there is nothing to place into.
    AddFlashObject();
    EXPECT_TRUE(services.filesDialogs.empty());

    CWebsite site("/home/ann/Sites/club.kst");
    site.AppendFilePair(std::make_unique<CFilePair>("/home/ann/logo.gif", "/images/logo.gif"));
    services.site = &site;
    services.filesAnswer.m_chosen = {"/home/ann/app/movie.xml", "/home/ann/app/clip.swf"};
    services.filesAnswer.m_placements = {
        {"/home/ann/app/clip.swf", "/home/ann/app/clip.swf", "/clip.swf"},
        {"/home/ann/app/movie.xml", "/home/ann/app/movie.xml", "/movie.xml"},
        {"/home/ann/logo.gif", "/home/ann/logo.gif", "/images/logo.gif"},
    };
    services.filesAnswer.m_flash = {true, "<object width=\"640\" height=\"480\"></object>",     false, 640,
                                    480,  {"/home/ann/app/movie.xml", "/home/ann/app/clip.swf"}};
    AddFlashObject();
    EXPECT_EQ(services.filesDialogs, std::vector<FilesDialogKind>{kFilePlacementWizard});
    EXPECT_EQ(services.filesDialogPairs, 1u) << "the wizard sees the site's files";
    EXPECT_FALSE(services.reserved.empty()) << "and the names the site keeps for itself";
    ASSERT_EQ(site.GetFilePairCount(), 3);
    EXPECT_EQ(site.GetFilePair(1)->m_strTarget, "/movie.xml");
    EXPECT_EQ(site.GetFilePair(2)->m_strTarget, "/clip.swf");
    EXPECT_EQ(html->GetHtmlCode(), "<object width=\"640\" height=\"480\"></object>");
    EXPECT_EQ(html->GetUsedFiles(), services.filesAnswer.m_flash.m_usedFiles);
    EXPECT_TRUE(html->GetPlacedFlag());
    EXPECT_EQ(SizeOf(*html).cx, 640);
    EXPECT_EQ(SizeOf(*html).cy, 480);
}

TEST_F(CodeObjectTest, RemoveFlashAsksAndDeletesAsAnUndoableDelete)
{
    CPageItem* item = Add(std::make_unique<CHtmlObject>(100.0, 100.0, 100, 80));
    auto* html = dynamic_cast<CHtmlObject*>(item->GetCurrentObject());
    EXPECT_FALSE(RemoveFlashObject());
    EXPECT_EQ(services.messages, std::vector<std::string>{"This object doesn't contain Flash applications."});
    EXPECT_TRUE(services.questions.empty());
    html->SetPlacedFlag(1);

    services.answer = YesNoCancel::cancel;
    EXPECT_FALSE(RemoveFlashObject());
    EXPECT_EQ(page->GetItemCount(), 1);

    services.answer = YesNoCancel::no;
    EXPECT_TRUE(RemoveFlashObject());
    EXPECT_EQ(page->GetItemCount(), 0);
    EXPECT_EQ(services.messages.size(), 1u) << "No keeps the files and says nothing more";
    page->GetUndoManager()->Undo();
    ASSERT_EQ(page->GetItemCount(), 1);

    page->SelectItem(page->GetItem(0));
    services.answer = YesNoCancel::yes;
    EXPECT_TRUE(RemoveFlashObject());
    EXPECT_EQ(page->GetItemCount(), 0);
    EXPECT_EQ(services.messages.back(), "The associated files for this object were successfully removed");
    EXPECT_EQ(services.questions.size(), 3u);
    page->GetUndoManager()->Undo();
    EXPECT_EQ(page->GetItemCount(), 1);
}

} // namespace
