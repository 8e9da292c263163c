#include "app/palettes/object_text_format.h"

#include "app/model/app_settings.h"
#include "app/objects/counter_object.h"
#include "app/objects/form_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_editing_test_support.h"
#include "app/palettes/palette_test_support.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

#include <gtest/gtest.h>

namespace {

using namespace text_editing_testing;

class TextFormatServices : public PaletteServicesFake
{
public:
    CAppSettings* GetAppSettings() override { return &settings; }
    DialogAnswer ShowHintDialog(int id) override
    {
        hints.push_back(id);
        return hintAnswer;
    }

    CAppSettings settings;
    std::vector<int> hints;
    DialogAnswer hintAnswer = DialogAnswer::ok;
};

class ObjectTextFormatTest : public ::testing::Test
{
protected:
    ObjectTextFormatTest()
    {
        services.realUndo = true;
        page = std::make_unique<CSitePage>(nullptr, "home", "Home");
        services.page = page.get();
        services.ShowPage(page.get());
    }

    // "big" in 14 points and the first face, " odd" in 16 points and the last, edited in place with the caret at
    // the index.
    CTextObject* EditText(int caretIndex)
    {
        auto text = MakeText(400, {"big"}, Format{.face = First().c_str(), .points = 14});
        Append(*text, 0, " odd", Format{.face = Last().c_str(), .points = 16});
        Layout(*text);
        PutCaret(*text, {0, caretIndex});
        CTextObject* edited = text.get();
        page->AddObject(std::move(text));
        page->SetEditedObject(edited);
        page->SetEditingInPlace(true);
        return edited;
    }

    static const std::string& First() { return GetTextFaceNames().front(); }
    static const std::string& Last() { return GetTextFaceNames().back(); }

    TextFormatServices services;
    std::unique_ptr<CSitePage> page;
    CObjectTextFormat format;
};

TEST(ObjectTextSizes, SevenEntriesStandForTheirPointSizes)
{
    EXPECT_EQ(TextSizeEntryFor(14), 3);
    EXPECT_EQ(TextSizeEntryFor(8), 0);
    EXPECT_EQ(TextSizeEntryFor(36), 6);
    EXPECT_EQ(TextSizeEntryFor(16), std::nullopt);
    EXPECT_EQ(TextSizeEntryPoints(3), 14);
    EXPECT_EQ(TextSizeEntryPoints(9), 36);
    EXPECT_EQ(TextSizeEntryPoints(-1), 0);
}

TEST_F(ObjectTextFormatTest, TheSectionShowsTheFormatAtTheCaret)
{
    EXPECT_EQ(format.Fill(), std::nullopt) << "no text edited";
    ASSERT_GE(GetTextFaceNames().size(), 2u) << "the machine's fonts";
    CTextObject* text = EditText(2);
    auto shown = format.Fill();
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->sizeEntry, 3) << "14 points is size \"4\"";
    EXPECT_EQ(shown->face, First());
    EXPECT_EQ(services.settings.m_textFontSize, 14) << "what is seen becomes the default";
    EXPECT_EQ(format.GetFont().lfHeight, -MulDiv(14, kTextResolution, 72));

    PutCaret(*text, {0, 7});
    shown = format.Fill();
    EXPECT_EQ(shown->sizeEntry, std::nullopt) << "16 points is in no entry";
    EXPECT_EQ(shown->face, Last());
    EXPECT_EQ(services.settings.m_textFont, Last());

    // A selection over both faces shows no face.
    Select(*text, {0, 1}, {0, 6});
    shown = format.Fill();
    EXPECT_EQ(shown->face, std::nullopt);
    EXPECT_EQ(shown->sizeEntry, std::nullopt);
}

TEST_F(ObjectTextFormatTest, AfterAChangeTheNextFillShowsTheDefaultsAndTheOneAfterAsksTheText)
{
    CTextObject* text = EditText(2);
    format.Fill();
    // The caret stands inside "big": the word takes the size.
    EXPECT_TRUE(format.ApplySizeEntry(5));
    EXPECT_EQ(services.settings.m_textFontSize, 24);
    EXPECT_TRUE(CObjectTextFormat::IsKeepingFormat());
    EXPECT_EQ(format.Fill()->sizeEntry, 5);
    EXPECT_FALSE(CObjectTextFormat::IsKeepingFormat());

    // Chosen where no character takes it, the size shows once from the defaults, then the text's own again.
    PutCaret(*text, {0, 7});
    format.Fill();
    EXPECT_TRUE(format.ToggleBold());
    EXPECT_TRUE(services.settings.m_textBold);
    EXPECT_TRUE(format.Fill()->bold);
    EXPECT_EQ(format.Fill()->sizeEntry, std::nullopt);

    // Alignment belongs to the whole text and is no format change.
    EXPECT_TRUE(format.ApplyAlignment(CTextBody::alignRight));
    EXPECT_FALSE(format.ApplyAlignment(CTextBody::alignRight));
    EXPECT_EQ(text->GetTextBody()->m_alignment, CTextBody::alignRight);
    EXPECT_FALSE(CObjectTextFormat::IsKeepingFormat());

    // Nothing applies while no text is edited.
    page->SetEditingInPlace(false);
    EXPECT_FALSE(format.ToggleItalic());
    EXPECT_FALSE(format.ApplyFace("Arial"));
}

class AdvancedTextTest : public ObjectTextFormatTest
{
protected:
    // A page of two rectangles, a counter, a plain text and a form; the text selected.
    CPageItem* Fill()
    {
        page->AddObject(std::make_unique<CRectangleObject>(50.0, 50.0, SIZE{40, 40}, 0.0));
        page->AddObject(std::make_unique<CRectangleObject>(90.0, 50.0, SIZE{40, 40}, 0.0));
        page->AddObject(std::make_unique<CCounterObject>(0, 200.0, 200.0));
        CPageItem* text = page->AddObject(MakeText(200, {"hello"}));
        page->AddObject(std::make_unique<CFormObject>("me@example.com", 300.0, 300.0));
        page->SelectItem(text);
        return text;
    }
};

TEST_F(AdvancedTextTest, SwitchedOnTheTextLiesDirectlyBelowTheKeptOnTopRun)
{
    CPageItem* item = Fill();
    EXPECT_EQ(page->IndexOfItem(item), 3);
    EXPECT_EQ(SwitchAdvancedText(), true);
    EXPECT_EQ(services.hints, std::vector<int>{488});
    EXPECT_EQ(page->IndexOfItem(item), 2);
    EXPECT_EQ(page->GetTopRunStart(), 3);
    EXPECT_TRUE(page->IsPageItemSelected(item));

    // Undo puts it back in the run.
    page->GetUndoManager()->Undo();
    EXPECT_EQ(page->IndexOfItem(item), 3);
    EXPECT_FALSE(dynamic_cast<CTextObject*>(item->GetObject(false))->AllowsAdvancedText());
}

TEST_F(AdvancedTextTest, TheHintCancelledChangesNothing)
{
    CPageItem* item = Fill();
    services.hintAnswer = DialogAnswer::cancel;
    EXPECT_EQ(SwitchAdvancedText(), false);
    EXPECT_EQ(page->IndexOfItem(item), 3);
    EXPECT_FALSE(page->GetUndoManager()->CanUndo());
}

TEST_F(AdvancedTextTest, SwitchedOffTheTwinGoesAndOneUndoBringsItBack)
{
    CPageItem* item = Fill();
    ASSERT_EQ(SwitchAdvancedText(), true);
    item->SetMouseOverObject(item->GetObject(false)->Duplicate());
    item->SetMouseOverShown(false);
    ASSERT_TRUE(item->HasMouseOver());
    services.hints.clear();

    EXPECT_EQ(SwitchAdvancedText(), false);
    EXPECT_TRUE(services.hints.empty()) << "switching off asks nothing";
    EXPECT_FALSE(item->HasMouseOver());
    EXPECT_EQ(page->IndexOfItem(item), page->GetItemCount() - 1);

    page->GetUndoManager()->Undo();
    EXPECT_TRUE(item->HasMouseOver());
    EXPECT_TRUE(dynamic_cast<CTextObject*>(item->GetObject(false))->AllowsAdvancedText());
    EXPECT_EQ(page->IndexOfItem(item), 2);
}

} // namespace
