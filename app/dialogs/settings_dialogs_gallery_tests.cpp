// The settings dialogs of the library (new website, new page, page texts, header HTML, the background beyond the
// page, the standard settings for new pages) on a display, answered by script, each written as a picture into
// test-output/dialogs/; and every template of the resource folder built once.


#include "app/dialogs/about_dlg.h"
#include "app/dialogs/background_outside_dlg.h"
#include "app/dialogs/dialogs_gallery_support.h"
#include "app/dialogs/header_html_dlg.h"
#include "app/dialogs/help_dialogs.h"
#include "app/dialogs/hint_dialogs.h"
#include "app/dialogs/link_controls.h"
#include "app/dialogs/new_page_dlg.h"
#include "app/dialogs/new_site_dlg.h"
#include "app/dialogs/notice_dialogs.h"
#include "app/dialogs/notice_table.h"
#include "app/dialogs/page_defaults_dlg.h"
#include "app/dialogs/page_texts_dlg.h"
#include "app/dialogs/tips_dlg.h"
#include "controls/button_controls.h"
#include "controls/gradient_control.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/gui/control_notify.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"
#include "platform/win/program_launch.h"

#include <functional>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/notebook.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>


using namespace dialogs_gallery;

namespace {

// The fields are typed into as a user does; OK refuses an emptied name and closes once the fields are sound.
TEST_F(DialogsGallery, NewSiteTakesTheTypedFieldsAndChecksThemOnOk)
{
    services.settings.m_defaultPageWidth = 500;
    services.settings.m_defaultPageHeight = 500;
    CNewSiteDLG dialog(owner);
    ASSERT_TRUE(dialog.IsOk());
    auto field = [&](int id) { return dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id)); };
    ASSERT_TRUE(field(1002) && field(1007) && field(1003) && field(1004));
    EXPECT_EQ(field(1002)->GetValue(), "My Homepage");
    EXPECT_EQ(field(1003)->GetValue(), "500");
    auto* sizes = dynamic_cast<wxComboBox*>(dialog.FindWindow(1005));
    ASSERT_NE(sizes, nullptr);
    const int result = Run(dialog, "273", [&] {
        field(1002)->SetValue("");
        Click(dialog, wxID_OK);
        EXPECT_TRUE(dialog.IsModal()) << "an empty name is refused";
        EXPECT_EQ(services.messages, (std::vector<std::string>{"Name can't be empty"}));
        field(1002)->SetValue("Bakery");
        field(1007)->SetValue("my page.html");
        field(1003)->SetValue("5000");
        EXPECT_EQ(field(1003)->GetValue(), "5000");
        // The size list drops down with this size first, then the presets; the second preset is chosen.
        DropDown(dialog, *sizes);
        ASSERT_EQ(sizes->GetCount(), 4u);
        EXPECT_EQ(sizes->GetString(0), "2000 x 500");
        ChooseEntry(dialog, *sizes, 2);
        EXPECT_EQ(field(1003)->GetValue(), "640");
        EXPECT_EQ(field(1004)->GetValue(), "480");
        // A gradient chosen in the band while the background is a colour makes it a gradient.
        ASSERT_TRUE(dynamic_cast<wxRadioButton*>(dialog.FindWindow(1128))->GetValue());
        CControlNotifyEvent band(EVT_CONTROL_NOTIFY, 1137, GRADIENT_NOTIFY_CHANGED);
        dialog.ProcessWindowEvent(band);
        EXPECT_TRUE(dynamic_cast<wxRadioButton*>(dialog.FindWindow(1131))->GetValue());
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    const NewSiteValues& values = dialog.GetValues();
    EXPECT_EQ(values.m_Background.GetKind(), 2);
    EXPECT_EQ(values.m_strName, "Bakery");
    EXPECT_EQ(values.m_strPageId, "mypagehtml");
    EXPECT_EQ(values.m_nWidth, 640);
    EXPECT_EQ(values.m_nHeight, 480);
    EXPECT_EQ(services.messages.back(), "Illegal characters were removed from the Page ID");
    EXPECT_EQ(services.settings.m_defaultPageWidth, 640);
}

// The page ID is cleaned and then checked: one another page has stays in the field with the message.
TEST_F(DialogsGallery, NewPageRefusesATakenIdOnceCleanedAndNamesThePageToCopy)
{
    NewPageSetup setup;
    setup.pageNames = {"Zeta", "alpha", "Beta"};
    setup.homeIndex = 2;
    setup.proposedId = "Page4";
    setup.proposedTitle = "Bakery";
    setup.isFree = [](const std::string& id) { return id != "alpha"; };
    CNewPageDLG dialog(owner, setup);
    ASSERT_TRUE(dialog.IsOk());
    auto* id = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1022));
    auto* pages = dynamic_cast<wxComboBox*>(dialog.FindWindow(1638));
    ASSERT_TRUE(id && pages);
    EXPECT_EQ(id->GetValue(), "Page4");
    ASSERT_EQ(pages->GetCount(), 3u);
    EXPECT_EQ(pages->GetString(1), "Beta (front page)");
    const int result = Run(dialog, "219", [&] {
        id->SetValue("al-pha");
        Click(dialog, wxID_OK);
        EXPECT_TRUE(dialog.IsModal());
        EXPECT_EQ(id->GetValue(), "alpha");
        id->SetValue("my page-1.htm");
        Tick(dialog, dynamic_cast<wxCheckBox*>(dialog.FindWindow(1637)), true);
        pages->SetSelection(1);
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(services.messages, (std::vector<std::string>{"Illegal characters were removed from the Page ID",
                                                           "The Page ID is not unique. Please choose another name.",
                                                           "Illegal characters were removed from the Page ID"}));
    EXPECT_EQ(dialog.GetValues().m_strPageId, "mypage1htm");
    EXPECT_EQ(dialog.GetValues().m_title, "Bakery");
    EXPECT_EQ(dialog.GetValues().m_nDuplicate, 1);
    EXPECT_EQ(dialog.GetValues().m_sourceName, "Beta");
    EXPECT_EQ(services.settings.m_dialogCenter, CPoint(640, 512)) << "a copy stores no centre";
}

TEST_F(DialogsGallery, MetaTagsHandBackTheTextsAndWhereTheyGo)
{
    CMetaTagsDLG dialog(owner, "bread, cake", "");
    ASSERT_TRUE(dialog.IsOk());
    auto* keywords = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1554));
    ASSERT_NE(keywords, nullptr);
    EXPECT_EQ(keywords->GetValue(), "bread, cake");
    const int result = Run(dialog, "5028", [&] {
        dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1576))->SetValue("Fresh bread every day");
        Click(dialog, 33667 - 32768);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(dialog.GetApplied(), MetaTagsApplied::currentPage);
    EXPECT_EQ(dialog.GetKeywords(), "bread, cake");
    EXPECT_EQ(dialog.GetDescription(), "Fresh bread every day");
}

// The invitation in the empty box is a hint: Save at once hands back no code.
TEST_F(DialogsGallery, AnalyticsHintIsNoCode)
{
    CAnalyticsDLG dialog(owner, "");
    ASSERT_TRUE(dialog.IsOk());
    auto* code = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1671));
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code->GetValue(), "");
    EXPECT_EQ(code->GetHint(), kAnalyticsHint);
    wxWindow* hint = dialog.FindWindow("analytics_hint");
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->IsShown());
    EXPECT_EQ(Run(dialog, "5047",
                  [&] {
                      code->SetValue("<script>");
                      EXPECT_FALSE(hint->IsShown());
                      code->SetValue("");
                      Click(dialog, 33666 - 32768);
                  }),
              wxID_OK);
    EXPECT_EQ(dialog.GetCode(), "");
}

// The services' names are links that open the address their template gives them, and only the one clicked.
TEST_F(DialogsGallery, AnalyticsServicesOpenTheirAddressesWhenClicked)
{
    std::vector<std::vector<std::string>> started;
    const ProgramStarter before = SetProgramStarter([&](const std::vector<std::string>& arguments) {
        started.push_back(arguments);
        return true;
    });
    CAnalyticsDLG dialog(owner, "");
    ASSERT_TRUE(dialog.IsOk());
    auto* matomo = dynamic_cast<CStaticLink*>(dialog.FindWindow(1528));
    ASSERT_NE(matomo, nullptr);
    for (int id : {1527, 1529})
        EXPECT_NE(dynamic_cast<CStaticLink*>(dialog.FindWindow(id)), nullptr) << id;
    wxMouseEvent click(wxEVT_LEFT_UP);
    click.SetEventObject(matomo);
    matomo->GetEventHandler()->ProcessEvent(click);
    SetProgramStarter(before);
    EXPECT_EQ(started, (std::vector<std::vector<std::string>>{{"xdg-open", "https://matomo.org/"}}));
    EXPECT_TRUE(matomo->IsVisited());
}

TEST_F(DialogsGallery, DoctypeOpensOnTheSettingAndStoresTheChoiceOnOk)
{
    services.settings.m_defaultDoctype = 7;
    CDoctypeDLG dialog(owner);
    ASSERT_TRUE(dialog.IsOk());
    auto* list = dynamic_cast<wxChoice*>(dialog.FindWindow(316));
    auto* line = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(317));
    ASSERT_TRUE(list && line);
    EXPECT_EQ(list->GetSelection(), 0);
    EXPECT_NE(line->GetValue().Find("Transitional"), wxNOT_FOUND);
    const int result = Run(dialog, "315", [&] {
        list->SetSelection(1);
        wxCommandEvent chosen(wxEVT_CHOICE, 316);
        chosen.SetEventObject(list);
        chosen.SetInt(1);
        dialog.ProcessWindowEvent(chosen);
        EXPECT_NE(line->GetValue().Find("strict.dtd"), wxNOT_FOUND);
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(dialog.GetDoctype(), 1);
    EXPECT_EQ(services.settings.m_defaultDoctype, 1);
}

// Both tabs' texts come back on OK, whichever tab shows; the dialog grows but does not shrink below its first size.
TEST_F(DialogsGallery, HeaderHtmlHandsBackBothTexts)
{
    CHeaderHtmlDLG dialog(owner, "<meta name=\"robots\" content=\"all\">", "");
    ASSERT_TRUE(dialog.IsOk());
    const wxSize opened = dialog.GetSize();
    EXPECT_EQ(dialog.GetMinSize(), opened);
    auto* tabs = dynamic_cast<wxNotebook*>(dialog.FindWindow(1595));
    ASSERT_NE(tabs, nullptr);
    const int result = Run(dialog, "5030", [&] {
        dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1555))->SetValue("<style>p{}</style>");
        tabs->SetSelection(1);
        dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1557))->SetValue("start()");
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(dialog.GetHeaderHtml(), "<style>p{}</style>");
    EXPECT_EQ(dialog.GetOnloadCode(), "start()");
}

// A colour chosen while the background continues switches to the solid colour.
TEST_F(DialogsGallery, BackgroundBeyondThePageTurnsSolidWhenAColourIsChosen)
{
    BackgroundOutsideChoice choice;
    choice.continueFill = true;
    CBackgroundOutsideDLG dialog(owner, choice);
    ASSERT_TRUE(dialog.IsOk());
    auto* well = dynamic_cast<CColorControl*>(dialog.FindWindow(1167));
    ASSERT_NE(well, nullptr);
    EXPECT_TRUE(dynamic_cast<wxRadioButton*>(dialog.FindWindow(1160))->GetValue());
    const int result = Run(dialog, "343", [&] {
        well->SetColor(CColor(0, 0, 128));
        CControlNotifyEvent changed(EVT_CONTROL_NOTIFY, 1167, COLOR_NOTIFY_CHANGED);
        dialog.ProcessWindowEvent(changed);
        EXPECT_TRUE(dynamic_cast<wxRadioButton*>(dialog.FindWindow(1170))->GetValue());
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_FALSE(dialog.GetChoice().continueFill);
    EXPECT_EQ(dialog.GetChoice().color, CColor(0, 0, 128));
}

// OK wants a target page; the DOCTYPE button asks the DOCTYPE dialog; Transfer, once confirmed, reaches every page.
TEST_F(DialogsGallery, PageDefaultsGoToTheChosenPageOrEveryPage)
{
    CWebsite site("/sites/bakery.kst");
    for (const char* name : {"news", "About", "menu"})
        site.AddPage(std::make_unique<CSitePage>(&site, name, name, site.GetNewPageSettings()));
    site.SetHomePage(site.GetPage(0));
    site.GetPage(2)->SetWidth(500);
    site.MarkSaved();
    CPageDefaultsDLG dialog(owner, site);
    ASSERT_TRUE(dialog.IsOk());
    auto* pages = dynamic_cast<wxComboBox*>(dialog.FindWindow(1006));
    auto* width = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(1229));
    auto* link = dynamic_cast<CColorControl*>(dialog.FindWindow(1247));
    ASSERT_TRUE(pages && width && link);
    EXPECT_EQ(width->GetValue(), "740");
    const int result = Run(dialog, "5016", [&] {
        Click(dialog, wxID_OK);
        EXPECT_TRUE(dialog.IsModal());
        EXPECT_EQ(services.messages, std::vector<std::string>{kNoTargetPageMessage});

        DropDown(dialog, *pages);
        ASSERT_EQ(pages->GetCount(), 3u);
        EXPECT_EQ(pages->GetString(0), "About");
        ChooseEntry(dialog, *pages, 1);
        EXPECT_EQ(width->GetValue(), "500") << "the menu page's width";
        width->SetValue("5");

        // The DOCTYPE dialog, answered from inside its own loop.
        bool asked = false;
        dialog.CallAfter([&] {
            for (wxWindow* window : wxTopLevelWindows)
                if (auto* doctype = dynamic_cast<CDoctypeDLG*>(window); doctype && doctype->IsModal()) {
                    auto* list = dynamic_cast<wxChoice*>(doctype->FindWindow(316));
                    list->SetSelection(1);
                    Click(*doctype, wxID_OK);
                    asked = true;
                }
        });
        Click(dialog, 1252);
        EXPECT_TRUE(asked);

        auto* gradient = dynamic_cast<wxRadioButton*>(dialog.FindWindow(1239));
        ASSERT_NE(gradient, nullptr);
        gradient->SetValue(true);
        wxCommandEvent kind(wxEVT_RADIOBUTTON, 1239);
        kind.SetEventObject(gradient);
        kind.SetInt(1);
        dialog.ProcessWindowEvent(kind);
        EXPECT_TRUE(dynamic_cast<wxCheckBox*>(dialog.FindWindow(1244))->IsEnabled()) << "a gradient's direction";
        link->SetColor(CColor(200, 0, 0));
        CControlNotifyEvent changed(EVT_CONTROL_NOTIFY, 1247, COLOR_NOTIFY_CHANGED);
        dialog.ProcessWindowEvent(changed);
        Click(dialog, wxID_OK);
    });
    EXPECT_EQ(result, wxID_OK);
    const CSitePage& menu = *site.GetPage(2);
    EXPECT_EQ(menu.GetWidth(), 10);
    EXPECT_EQ(menu.GetDoctype(), 1);
    EXPECT_EQ(menu.GetBackground()->GetKind(), 2);
    EXPECT_TRUE(menu.IsChangedSinceUpload());
    EXPECT_EQ(site.GetPage(0)->GetWidth(), 740);
    EXPECT_EQ(site.GetLinkColor(), CColor(200, 0, 0));
    EXPECT_EQ(services.settings.m_defaultPageWidth, 10);
    EXPECT_EQ(services.settings.m_defaultDoctype, 1);

    // Transfer asks first; confirmed, every page takes the dialog's values.
    services.noticeAnswer = DialogAnswer::ok;
    CPageDefaultsDLG transfer(owner, site);
    ASSERT_TRUE(transfer.IsOk());
    const int transferred = Run(transfer, "", [&] {
        dynamic_cast<wxTextCtrl*>(transfer.FindWindow(1229))->SetValue("620");
        Click(transfer, 1227);
    });
    EXPECT_EQ(transferred, wxID_OK);
    EXPECT_EQ(services.notices, std::vector<int>{kNoticeTransferSettings});
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(site.GetPage(i)->GetWidth(), 620) << i;
    EXPECT_EQ(site.GetPageWidth(), 620);
}

} // namespace

#include "platform/resources/resource_folder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/toolbar.h>

namespace {

// Every template of the resource folder builds without a word from wx's loader: an unknown style, class or
// property is logged as an error, which the program shows the user in a message box.
TEST_F(DialogsGallery, EveryTemplateOfTheResourceFolderLoadsWithoutAMessage)
{
    // The dialogs that place link controls teach the loader their names before they load.
    AddLinkControlHandlers();
    int loaded = 0;
    for (const auto& entry : std::filesystem::directory_iterator(GetResourceFolder())) {
        if (entry.path().extension() != ".xrc")
            continue;
        std::ifstream in(entry.path());
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        // The templates stand one level inside the resource element.
        static const std::regex kTemplate("\n  <object class=\"([^\"]+)\" name=\"([^\"]+)\"");
        for (auto match = std::sregex_iterator(text.begin(), text.end(), kTemplate); match != std::sregex_iterator();
             ++match) {
            const wxString kind = (*match)[1].str();
            const wxString name = (*match)[2].str();
            SCOPED_TRACE(entry.path().filename().string() + " " + std::string(name.utf8_str()));
            if (kind == "wxDialog") {
                wxDialog dialog;
                EXPECT_TRUE(wxXmlResource::Get()->LoadDialog(&dialog, owner, name));
            } else if (kind == "wxPanel") {
                wxPanel* panel = wxXmlResource::Get()->LoadPanel(owner, name);
                EXPECT_NE(panel, nullptr);
                delete panel;
            } else if (kind == "wxMenuBar") {
                delete wxXmlResource::Get()->LoadMenuBar(name);
            } else if (kind == "wxMenu") {
                delete wxXmlResource::Get()->LoadMenu(name);
            } else if (kind == "wxToolBar") {
                // A bar loaded into a frame becomes the frame's own bar.
                auto* frame = new wxFrame(owner, wxID_ANY, "bar");
                EXPECT_NE(wxXmlResource::Get()->LoadToolBar(frame, name), nullptr);
                frame->Destroy();
            } else {
                ADD_FAILURE() << "a template of a kind this test does not build: " << kind.utf8_str();
            }
            ++loaded;
        }
    }
    EXPECT_GT(loaded, 0) << "the resource folder holds the templates";
}

} // namespace
