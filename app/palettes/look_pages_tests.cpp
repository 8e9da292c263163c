// The Fill, Effects, Link, Mouseover and Styles palettes on a private display, driven by injected mouse events.

#include "app/build/browser_comparison_test_support.h"
#include "app/model/effect_settings.h"
#include "app/model/fill_info.h"
#include "app/model/link_info.h"
#include "app/model/undo_manager.h"
#include "app/objects/counter_object.h"
#include "app/objects/rectangle_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_editing_test_support.h"
#include "app/objects/text_object.h"
#include "app/palettes/effects_page.h"
#include "app/palettes/fill_page.h"
#include "app/palettes/link_page.h"
#include "app/palettes/mouse_over_page.h"
#include "app/palettes/palette_window_test_support.h"
#include "app/palettes/styles_page.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "controls/button_controls.h"
#include "controls/gradient_control.h"
#include "controls/slider_control.h"
#include "controls/wheel_control.h"
#include "platform/gui/window_picture.h"
#include "platform/gui/xrc_resources.h"
#include "testing/gui_settle.h"
#include "testing/scratch_folder.h"
#include "testing/stderr_capture.h"
#include "testing/test_output.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/frame.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

namespace {

using LookPageTest = PaletteWindowTest;

// A click on the gradient radio makes the rectangle's solid fill a gradient at the angle it had, as one step.
TEST_F(LookPageTest, FillGradientRadioPicksAGradient)
{
    CFillPage* fillPage = ShowPalette<CFillPage>(kFillPropSheet);
    ASSERT_NE(fillPage, nullptr);
    EXPECT_FALSE(fillPage->FindWindow(1043)->IsEnabled()) << "nothing selected";
    CPageObject* rectangle = Select(std::make_unique<CRectangleObject>(150.0, 150.0, SIZE{80, 50}, 0.0));
    rectangle->GetFill()->SetColor(CColor(200, 40, 40));
    manager.NotifyActivePropPage(kRefreshSelection);
    Settle();
    EXPECT_TRUE(dynamic_cast<wxRadioButton*>(fillPage->FindWindow(1043))->GetValue());
    EXPECT_FALSE(fillPage->FindWindow(1051)->IsEnabled()) << "a rectangle always has a fill";
    EXPECT_EQ(fillPage->GetColorWell()->GetColor(), CColor(200, 40, 40));

    Click(fillPage->FindWindow(1049));
    rectangle = page->GetItem(0)->GetCurrentObject();
    ASSERT_EQ(rectangle->GetFill()->GetKind(), CFillInfo::FILL_GRADIENT);
    EXPECT_TRUE(dynamic_cast<wxRadioButton*>(fillPage->FindWindow(1049))->GetValue());
    EXPECT_TRUE(fillPage->GetGradientBand()->IsGradientEqual(&rectangle->GetFill()->GetGradient()));
    Picture("fill_palette_gradient.png");
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_EQ(page->GetItem(0)->GetCurrentObject()->GetFill()->GetKind(), CFillInfo::FILL_COLOR);
}

// A plain text offers a colour or no fill; its picture shows the text's controls.
TEST_F(LookPageTest, FillOfAPlainTextOffersColourOrNothing)
{
    CFillPage* fillPage = ShowPalette<CFillPage>(kFillPropSheet);
    ASSERT_NE(fillPage, nullptr);
    auto text = std::make_unique<CTextObject>(100.0, 100.0, SIZE{80, 40}, 0.0);
    Select(std::move(text));
    EXPECT_TRUE(dynamic_cast<wxRadioButton*>(fillPage->FindWindow(1051))->GetValue());
    for (int id : {1043, 1051, 1067})
        EXPECT_TRUE(fillPage->FindWindow(id)->IsEnabled()) << id;
    for (int id : {1044, 1031, 1049})
        EXPECT_FALSE(fillPage->FindWindow(id)->IsEnabled()) << id;
    EXPECT_FALSE(fillPage->GetGradientBand()->IsEnabledFlag());
    Click(fillPage->FindWindow(1043));
    EXPECT_EQ(page->GetItem(0)->GetCurrentObject()->GetFill()->GetKind(), CFillInfo::FILL_COLOR);
    Picture("fill_palette_text.png");
}

// A click on the glow's switch turns the rectangle's glow on as one step; the sliders show the record's values.
TEST_F(LookPageTest, EffectsGlowSwitchTurnsTheGlowOn)
{
    CEffectsPage* effectsPage = ShowPalette<CEffectsPage>(kEffectsPropSheet);
    ASSERT_NE(effectsPage, nullptr);
    EXPECT_FALSE(effectsPage->FindWindow(1072)->IsEnabled()) << "nothing selected";
    CPageObject* rectangle = Select(std::make_unique<CRectangleObject>(150.0, 150.0, SIZE{80, 50}, 0.0));
    rectangle->GetEffects()->m_glowStrength = 30;
    manager.NotifyActivePropPage(kRefreshSelection);
    Settle();
    ASSERT_TRUE(effectsPage->FindWindow(1072)->IsEnabled());
    EXPECT_EQ(dynamic_cast<CSliderControl*>(effectsPage->FindWindow(1153))->GetValue(), 30);
    EXPECT_EQ(dynamic_cast<wxStaticText*>(effectsPage->FindWindow(1057))->GetLabel(), " 30%");
    EXPECT_EQ(dynamic_cast<wxStaticText*>(effectsPage->FindWindow(1114))->GetLabel(), wxString::FromUTF8("135\u00b0"));

    Click(effectsPage->FindWindow(1072));
    rectangle = page->GetItem(0)->GetCurrentObject();
    EXPECT_TRUE(rectangle->GetEffects()->m_glow);
    EXPECT_TRUE(dynamic_cast<wxCheckBox*>(effectsPage->FindWindow(1072))->GetValue());
    Picture("effects_palette_glow.png");
    EXPECT_EQ(UndoSteps(), 1);
    EXPECT_FALSE(page->GetItem(0)->GetCurrentObject()->GetEffects()->m_glow);
}

// An address typed into the Link palette and Return make the shape's web link, repaired, as one step.
TEST_F(LookPageTest, LinkTypedAddressBecomesTheShapesWebLink)
{
    CLinkPage* linkPage = ShowPalette<CLinkPage>(kLinkPropSheet);
    ASSERT_NE(linkPage, nullptr);
    EXPECT_FALSE(linkPage->FindWindow(1112)->IsEnabled()) << "nothing selected";
    Select(std::make_unique<CRectangleObject>(150.0, 150.0, SIZE{80, 50}, 0.0));
    ASSERT_TRUE(linkPage->FindWindow(1541)->IsEnabled());

    auto* address = dynamic_cast<wxTextCtrl*>(linkPage->FindWindow(1541));
    Click(address);
    address->SelectAll();
    wxUIActionSimulator keys;
    keys.Text("example.org/club");
    keys.Char(WXK_RETURN);
    Settle();
    const CLinkInfo& link = *page->GetItem(0)->GetCurrentObject()->GetLink();
    EXPECT_EQ(link.GetKind(), CLinkInfo::kindUrl);
    EXPECT_EQ(link.GetUrl(), "http://example.org/club");
    EXPECT_EQ(address->GetValue(), "http://example.org/club");
    EXPECT_TRUE(dynamic_cast<wxRadioButton*>(linkPage->FindWindow(1090))->GetValue());
    Picture("link_palette_web_address.png");
    EXPECT_EQ(UndoSteps(), 1);
}

// Create gives the selected rectangle its twin, shown at once; an offset typed with Return moves it, clamped.
TEST_F(LookPageTest, MouseOverCreateShowsTheTwinAndAnOffsetMovesIt)
{
    CMouseOverPage* mouseOverPage = ShowPalette<CMouseOverPage>(kMouseOverPropSheet);
    ASSERT_NE(mouseOverPage, nullptr);
    EXPECT_FALSE(mouseOverPage->FindWindow(1535)->IsEnabled()) << "nothing selected";
    CPageItem* item = page->AddObject(std::make_unique<CRectangleObject>(150.0, 150.0, SIZE{80, 50}, 0.0));
    page->SelectItem(item);
    services.object = item->GetCurrentObject();
    manager.NotifyActivePropPage(kRefreshSelection);
    Settle();
    ASSERT_TRUE(mouseOverPage->FindWindow(1535)->IsEnabled());
    Click(mouseOverPage->FindWindow(1535));
    ASSERT_TRUE(item->HasMouseOver());
    EXPECT_TRUE(item->IsMouseOverShown());
    EXPECT_TRUE(dynamic_cast<wxRadioButton*>(mouseOverPage->FindWindow(1562))->GetValue());
    EXPECT_FALSE(mouseOverPage->FindWindow(1535)->IsEnabled());

    auto* box = dynamic_cast<wxTextCtrl*>(mouseOverPage->FindWindow(1101));
    Click(box);
    box->SelectAll();
    wxUIActionSimulator keys;
    keys.Text("250");
    keys.Char(WXK_RETURN);
    Settle();
    EXPECT_EQ(item->GetMouseOverOffsetX(), 100);
    EXPECT_EQ(box->GetValue(), "250") << "the box shows the clamped value at the next refresh";
    manager.NotifyActivePropPage(kRefreshSelection);
    Settle();
    EXPECT_EQ(box->GetValue(), "100");
    Picture("mouseover_palette_twin.png");
    EXPECT_EQ(UndoSteps(), 2);
    EXPECT_FALSE(page->GetItem(0)->HasMouseOver());
}

// A click on style 7 gives both selected rectangles its texture and inner bevel as one step.
TEST_F(LookPageTest, StyleSevenGoesToBothSelectedObjects)
{
    CWebsite site{std::string()};
    services.site = &site;
    CStylesPage* stylesPage = ShowPalette<CStylesPage>(kStylesPropSheet);
    ASSERT_NE(stylesPage, nullptr);
    for (int style = 1; style <= kStyleCount; ++style)
        EXPECT_TRUE(stylesPage->GetPreview(style, true).IsOk() && stylesPage->GetPreview(style, false).IsOk()) << style;
    CPageItem* first = page->AddObject(std::make_unique<CRectangleObject>(100.0, 100.0, SIZE{80, 50}, 0.0));
    CPageItem* second = page->AddObject(std::make_unique<CRectangleObject>(250.0, 100.0, SIZE{80, 50}, 0.0));
    page->AddToSelection(first);
    page->AddToSelection(second);
    services.object = second->GetCurrentObject();
    manager.NotifyActivePropPage(kRefreshSelection);
    Settle();

    Click(stylesPage->FindWindow(GetPresetStyle(7).buttonId));
    for (CPageItem* item : {first, second}) {
        const CPageObject& object = *item->GetCurrentObject();
        EXPECT_EQ(object.GetFill()->GetImageFile(), StyleTexturePath(GetProgramFolder(), 7));
        EXPECT_TRUE(object.GetEffects()->m_bevel);
        EXPECT_EQ(object.GetEffects()->m_bevelStyle, 1);
    }
    Picture("styles_palette.png");
    EXPECT_EQ(UndoSteps(), 1);
    for (CPageItem* item : {first, second})
        EXPECT_EQ(item->GetCurrentObject()->GetFill()->GetKind(), CFillInfo::FILL_COLOR);
    services.site = nullptr;
}

// A selected counter takes no style: the buttons show their greyed previews and a click changes nothing.
TEST_F(LookPageTest, StylesAreGreyedForACounter)
{
    CWebsite site{std::string()};
    services.site = &site;
    CStylesPage* stylesPage = ShowPalette<CStylesPage>(kStylesPropSheet);
    ASSERT_NE(stylesPage, nullptr);
    CPageObject* rectangle = Select(std::make_unique<CRectangleObject>(100.0, 100.0, SIZE{80, 50}, 0.0));
    CPageItem* counter = page->AddObject(std::make_unique<CCounterObject>(1, 300.0, 300.0));
    page->AddToSelection(counter);
    manager.NotifyActivePropPage(kRefreshSelection);
    Settle();
    Click(stylesPage->FindWindow(GetPresetStyle(2).buttonId));
    EXPECT_EQ(rectangle->GetFill()->GetKind(), CFillInfo::FILL_COLOR);
    EXPECT_FALSE(page->GetUndoManager()->CanUndo());
    Picture("styles_palette_unavailable.png");
    services.site = nullptr;
}

// A page styled and linked through the palettes, built and shown in a browser: two rectangles take style 7, the
// words "about us" of a text are linked to the About page while the text is edited; the built page looks as the
// designer draws it and its link leads to the About page's file.
TEST_F(LookPageTest, StyledAndLinkedPageBuildsAsDesigned)
{
    CWebsite site("/sites/club.kst");
    site.AddPage(std::make_unique<CSitePage>(&site, "home", "Home"));
    site.AddPage(std::make_unique<CSitePage>(&site, "about", "About"));
    CSitePage& home = *site.GetPage(0);
    home.SetFrontPage(true);
    services.site = &site;
    services.page = &home;
    services.ShowPage(&home);

    CPageItem* first = home.AddObject(std::make_unique<CRectangleObject>(120.0, 120.0, SIZE{120, 80}, 0.0));
    CPageItem* second = home.AddObject(std::make_unique<CRectangleObject>(320.0, 120.0, SIZE{120, 80}, 0.0));
    home.AddToSelection(first);
    home.AddToSelection(second);
    services.object = second->GetCurrentObject();
    CStylesPage* stylesPage = ShowPalette<CStylesPage>(kStylesPropSheet);
    ASSERT_NE(stylesPage, nullptr);
    manager.NotifyActivePropPage(kRefreshSelection);
    Settle();
    Click(stylesPage->FindWindow(GetPresetStyle(7).buttonId));
    ASSERT_EQ(first->GetCurrentObject()->GetFill()->GetKind(), CFillInfo::FILL_TEXTURE);

    // The words are selected while the text is edited in place, as the view leaves them.
    auto made = text_editing_testing::MakeText(200, {"Read about us"});
    CTextObject* text = made.get();
    CPageItem* textItem = home.AddObject(std::move(made));
    home.SelectItem(textItem);
    services.object = text;
    text->BeginEdit();
    text_editing_testing::Select(*text, {0, 5}, {0, 13});
    home.SetEditedObject(text);
    home.SetEditingInPlace(true);
    CLinkPage* linkPage = ShowPalette<CLinkPage>(kLinkPropSheet);
    ASSERT_NE(linkPage, nullptr);
    manager.NotifyActivePropPage(kRefreshSelection);
    Settle();
    Click(linkPage->FindWindow(1112));
    Click(linkPage->FindWindow(1087));
    // The page list drops down with every page, the front page first; the next one down is About. The list filled
    // as it opens draws without a toolkit complaint.
    ScratchFolder folder;
    {
        StderrCapture capture(folder.Path() + "/stderr.txt");
        // The arrow at the list's right end opens it.
        const wxRect area = linkPage->FindWindow(1047)->GetScreenRect();
        wxUIActionSimulator mouse;
        mouse.MouseMove(area.GetRight() - 8, area.GetTop() + area.GetHeight() / 2);
        mouse.MouseClick();
        Settle();
        wxUIActionSimulator keys;
        keys.Char(WXK_DOWN);
        keys.Char(WXK_RETURN);
        Settle();
        EXPECT_EQ(capture.Text(), "");
    }
    const auto& chars = text->GetTextBody()->m_paragraphs[0].m_chars;
    for (size_t i = 0; i < chars.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(chars[i].m_link.IsActive(), i >= 5);
        if (i >= 5) {
            EXPECT_EQ(chars[i].m_link.GetKind(), CLinkInfo::kindPage);
            EXPECT_EQ(chars[i].m_link.GetPage(), 1);
        }
    }
    text->EndEdit(nullptr, false);
    home.SetEditingInPlace(false);
    home.SetEditedObject(nullptr);
    home.ClearSelection();

    const build_testing::BrowserComparison comparison =
        build_testing::CompareBuiltPageInBrowser(site, home, folder.Path(), "styled_linked_page");
    ASSERT_TRUE(comparison.error.empty()) << comparison.error;
    EXPECT_LT(comparison.meanDifference, 2.0);
    EXPECT_LT(comparison.farShare, 0.02);
    // The anchor around the words names the About page's file, which the build wrote.
    std::ifstream built(std::filesystem::path(folder.Path()) / "out" / "index.html");
    const std::string html((std::istreambuf_iterator<char>(built)), {});
    const size_t words = html.find("about us");
    const size_t anchor = html.rfind("<a href=\"", words);
    ASSERT_NE(words, std::string::npos) << html;
    ASSERT_NE(anchor, std::string::npos) << html;
    const size_t start = anchor + 9;
    const std::string target = html.substr(start, html.find('"', start) - start);
    std::ifstream about(std::filesystem::path(folder.Path()) / "out" / target);
    const std::string aboutHtml((std::istreambuf_iterator<char>(about)), {});
    EXPECT_NE(aboutHtml.find("<title> About </title>"), std::string::npos) << target;
    services.site = nullptr;
    services.page = page.get();
}

} // namespace
