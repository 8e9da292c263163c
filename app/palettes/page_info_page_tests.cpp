// The Page palette on a display: its controls show the current page, and typing and clicking change it.

#include "app/palettes/page_info_page.h"

#include "app/model/seams_test_support.h"
#include "app/model/services.h"
#include "app/palettes/prop_frames.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/gui/window_picture.h"
#include "platform/gui/xrc_resources.h"
#include "testing/test_output.h"
#include "testing/gui_settle.h"

#include <gtest/gtest.h>
#include <memory>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/frame.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

namespace {

class SiteServices : public NullCoreServices, public NullMessages, public NullCurrentState, public NullModelDialogs
{
public:
    CWebsite* GetCurrentSite() override { return site.get(); }
    CSitePage* GetCurrentPage() override { return site ? site->GetCurrentPage() : nullptr; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    std::unique_ptr<CWebsite> site;
    std::vector<std::string> messages;
};

class PageInfoPageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(LoadXrcResources());
        services.site = std::make_unique<CWebsite>("/home/ann/bakery.kst");
        for (const char* name : {"home", "news"})
            services.site->AddPage(std::make_unique<CSitePage>(services.site.get(), name, name));
        services.site->SetHomePage(services.site->GetPage(0));
        owner = new wxFrame(nullptr, wxID_ANY, "owner", wxPoint(0, 0), wxSize(400, 300));
        owner->Show();
        ASSERT_EQ(manager.Create(MakePaletteHost(owner, manager)), 0);
        manager.ShowPagePropSheet();
        Settle();
        frame = dynamic_cast<CPropFrame*>(manager.GetPropFrame(kPagePropSheet));
        ASSERT_NE(frame, nullptr);
        page = dynamic_cast<CPageInfoPage*>(frame->GetSheet()->GetActivePage());
        ASSERT_NE(page, nullptr);
    }
    void TearDown() override
    {
        owner->Destroy();
        Settle();
    }
    template <class Control> Control* Find(int id) { return dynamic_cast<Control*>(page->FindWindow(id)); }
    // The user leaves the field after typing.
    void Type(int id, const char* text)
    {
        auto* field = Find<wxTextCtrl>(id);
        ASSERT_NE(field, nullptr);
        field->ChangeValue(text);
        wxFocusEvent left(wxEVT_KILL_FOCUS, id);
        left.SetEventObject(field);
        field->ProcessWindowEvent(left);
    }
    void ClickRadio(int id)
    {
        auto* radio = Find<wxRadioButton>(id);
        ASSERT_NE(radio, nullptr);
        radio->SetValue(true);
        wxCommandEvent click(wxEVT_RADIOBUTTON, id);
        click.SetEventObject(radio);
        click.SetInt(1);
        radio->ProcessWindowEvent(click);
    }

    SiteServices services;
    wxFrame* owner = nullptr;
    CPropSheetManager manager;
    CPropFrame* frame = nullptr;
    CPageInfoPage* page = nullptr;
    SeamsInstalled<SiteServices> installed{services};
};

TEST_F(PageInfoPageTest, ShowsTheCurrentPageAndTakesWhatIsTyped)
{
    CSitePage* news = services.site->GetPage(1);
    services.site->SetCurrentPage(news);
    manager.NotifyActivePropPage(kRefreshAll);
    Settle();
    EXPECT_EQ(Find<wxTextCtrl>(1024)->GetValue(), "news");
    EXPECT_EQ(Find<wxTextCtrl>(1027)->GetValue(), "740");
    EXPECT_TRUE(Find<wxCheckBox>(1030)->IsEnabled());
    EXPECT_TRUE(Find<wxRadioButton>(1063)->GetValue());
    EXPECT_FALSE(Find<wxCheckBox>(1125)->IsEnabled());
    EXPECT_TRUE(SaveWindowPicture(frame, (TestOutputFolder() / "page_palette.png").string()));
    // Every control lies inside the palette.
    const wxRect inside = page->GetClientRect();
    for (int id : {1024, 1026, 1027, 1028, 1029, 1030, 1523, 1063, 1073, 1061, 1062, 1075, 1125, 1126, 1639})
        EXPECT_TRUE(inside.Contains(page->FindWindow(id)->GetRect())) << id;

    Type(1024, "Latest news");
    EXPECT_EQ(news->GetTitle(), "Latest news");
    Type(1026, "HOME");
    EXPECT_EQ(news->GetName(), "news");
    EXPECT_EQ(Find<wxTextCtrl>(1026)->GetValue(), "news");
    Type(1027, "5000");
    EXPECT_EQ(news->GetWidth(), 2000);
    EXPECT_EQ(Find<wxTextCtrl>(1027)->GetValue(), "2000");
    ClickRadio(1065);
    EXPECT_EQ(news->GetBackground()->GetKind(), 2);
    EXPECT_TRUE(Find<wxCheckBox>(1125)->IsEnabled());
    EXPECT_TRUE(news->IsChangedSinceUpload());
    EXPECT_FALSE(services.site->IsSaved());

    // The front page's box is checked and cannot be cleared.
    services.site->SetCurrentPage(services.site->GetPage(0));
    manager.NotifyActivePropPage(kRefreshAll);
    EXPECT_TRUE(Find<wxCheckBox>(1030)->GetValue());
    EXPECT_FALSE(Find<wxCheckBox>(1030)->IsEnabled());

    // Without a site nothing can be edited.
    services.site.reset();
    manager.NotifyActivePropPage(kRefreshAll);
    EXPECT_FALSE(Find<wxTextCtrl>(1024)->IsEnabled());
    EXPECT_EQ(Find<wxTextCtrl>(1024)->GetValue(), "");
}

} // namespace
