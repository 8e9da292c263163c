// The Additional Files commands of the main window: Add Files runs its dialog through the program's services, and
// the site takes the files at the places chosen; the site map opens over the site's files.

#include "app/dialogs/file_placement_wizard.h"
#include "app/dialogs/site_folder_dlg.h"
#include "app/dialogs/site_folder_tree.h"
#include "app/objects/html_object.h"
#include "app/palettes/palette_protocol.h"
#include "app/palettes/prop_frames.h"
#include "app/palettes/prop_sheet_manager.h"
#include "app/shell/program_services.h"
#include "app/shell/shell_test_support.h"
#include "app/site/page_item.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/menu.h>

namespace {

template <class Dialog> Dialog* FindOpenDialog()
{
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<Dialog*>(window); dialog && dialog->IsShown())
            return dialog;
    return nullptr;
}

void PressButton(wxDialog& dialog, int id)
{
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(dialog.FindWindow(id));
    dialog.ProcessWindowEvent(click);
}

void RunCommand(CMainFrame& frame, int id)
{
    wxCommandEvent command(wxEVT_MENU, id);
    frame.ProcessWindowEvent(command);
}

TEST_F(ShellTest, AddFilesPlacesTwoFilesInANewFolderOfTheSite)
{
    for (const char* name : {"a.txt", "b.pdf"})
        std::ofstream(scratch / name) << name;
    Start();
    CProgramServices program;
    program.SetMainFrame(frame);
    const SeamsInstalled programSeams(program);
    frame->GetOpenSite().OpenSite(MakeSite({"Contact", "Home"}));
    CWebsite& site = *frame->GetCurrentSite();
    // The site map shows the site's files: there are none yet.
    wxMenu menu;
    menu.Append(ID_SITE_MAP, "-");
    const auto enabled = [&](int id) {
        wxUpdateUIEvent update(id);
        update.SetEventObject(&menu);
        frame->ProcessWindowEvent(update);
        return update.GetEnabled();
    };
    EXPECT_FALSE(enabled(ID_SITE_MAP));

    bool answered = false;
    wxTheApp->CallAfter([&] {
        CAddFilesDLG* dialog = FindOpenDialog<CAddFilesDLG>();
        ASSERT_NE(dialog, nullptr);
        dialog->m_chooseFiles = [&](std::vector<std::string>& paths) {
            paths = {scratch / "a.txt", scratch / "b.pdf"};
            return true;
        };
        PressButton(*dialog, 1631);
        CSiteFolderTree& tree = *dialog->GetTree();
        tree.SelectItem(tree.GetRootItem());
        PressButton(*dialog, 1622);
        const wxTreeItemId folder = tree.GetSelection();
        tree.EndEditLabel(folder, true);
        wxTreeEvent rename(wxEVT_TREE_END_LABEL_EDIT, &tree, folder);
        rename.SetLabel("docs");
        tree.ProcessWindowEvent(rename);
        tree.SelectItem(folder);
        PressButton(*dialog, 1536);
        answered = true;
        PressButton(*dialog, wxID_OK);
    });
    RunCommand(*frame, ID_ADD_FILES);
    EXPECT_TRUE(answered);
    ASSERT_EQ(site.GetFilePairCount(), 2);
    std::set<std::pair<std::string, std::string>> pairs;
    for (int i = 0; i < site.GetFilePairCount(); ++i)
        pairs.emplace(site.GetFilePair(i)->m_strSource, site.GetFilePair(i)->m_strTarget);
    EXPECT_EQ(pairs, (std::set<std::pair<std::string, std::string>>{{scratch / "a.txt", "/docs/a.txt"},
                                                                    {scratch / "b.pdf", "/docs/b.pdf"}}));
    EXPECT_FALSE(site.IsSaved());

    // The site map opens over them; OK leaves the site as it is.
    EXPECT_TRUE(enabled(ID_SITE_MAP));
    bool mapShown = false;
    wxTheApp->CallAfter([&] {
        CSiteMapDLG* dialog = FindOpenDialog<CSiteMapDLG>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->GetModel().FindFileByRemotePath("/docs/b.pdf")->GetLocalPath(), scratch / "b.pdf");
        mapShown = true;
        PressButton(*dialog, wxID_OK);
    });
    RunCommand(*frame, ID_SITE_MAP);
    EXPECT_TRUE(mapShown);
    EXPECT_EQ(site.GetFilePairCount(), 2);
}

} // namespace

namespace {

// The Object palette's Add Flash, pressed with the mouse on an HTML object, runs the program's own wizard over the
// site's files: the program's files join the site and the object takes its code and size.
TEST_F(ShellTest, AddFlashOnTheObjectPaletteRunsThePlacementWizard)
{
    std::filesystem::create_directories(scratch / "app/movie files");
    std::ofstream(scratch / "app/movie.xml") << "<gallery><image src=\"pic.jpg\"/></gallery>";
    std::ofstream(scratch / "app/pic.jpg") << "jpg";
    std::ofstream(scratch / "app/movie files/clip.swf") << "swf";
    std::ofstream(scratch / "app/movie.html")
        << "<html><body><object width=\"640\" height=\"480\"><param name=movie></object></body></html>";
    std::ofstream(scratch / "logo.gif") << "gif";
    Start();
    CProgramServices program;
    program.SetMainFrame(frame);
    const SeamsInstalled programSeams(program);
    auto made = MakeSite({"Home"});
    made->AppendFilePair(std::make_unique<CFilePair>(scratch / "logo.gif", "/images/logo.gif"));
    CPageItem* item = made->GetPage(0)->AddObject(std::make_unique<CHtmlObject>(POINT{40, 40}, 100, 100));
    frame->GetOpenSite().OpenSite(std::move(made));
    CWebsite& site = *frame->GetCurrentSite();
    CSitePage* page = frame->GetPageWindows().GetActivePage();
    ASSERT_EQ(page, site.GetPage(0));
    page->SelectItem(item);
    frame->CreatePalettes();
    frame->GetPalettes().ShowObjectPalette();
    program.NotifyInspector(kRefreshAll);
    Settle();
    auto* palette = dynamic_cast<CPropFrame*>(frame->GetPalettes().GetManager()->GetPropFrame(kObjectPropSheet));
    ASSERT_NE(palette, nullptr);
    wxWindow* addFlash = palette->GetSheet()->GetActivePage()->FindWindow(1606);

    ChooserScript<CFilePlacementWizard> chooser({scratch / "app/movie.xml"});
    ClickOnScreen(addFlash);
    ASSERT_EQ(chooser.asked, 1);
    std::set<std::pair<std::string, std::string>> pairs;
    for (int i = 0; i < site.GetFilePairCount(); ++i)
        pairs.emplace(site.GetFilePair(i)->m_strSource, site.GetFilePair(i)->m_strTarget);
    EXPECT_EQ(pairs,
              (std::set<std::pair<std::string, std::string>>{{scratch / "logo.gif", "/images/logo.gif"},
                                                             {scratch / "app/movie.xml", "/movie.xml"},
                                                             {scratch / "app/pic.jpg", "/pic.jpg"},
                                                             {scratch / "app/movie files/clip.swf", "/clip.swf"}}));
    const auto* html = dynamic_cast<CHtmlObject*>(item->GetCurrentObject());
    EXPECT_EQ(html->GetHtmlCode(), "<object width=\"640\" height=\"480\"><param name=movie></object>");
    EXPECT_EQ(html->GetUsedFiles().size(), 3u);
    EXPECT_TRUE(html->GetPlacedFlag());
    SIZE size;
    html->GetSize(size);
    EXPECT_EQ(size.cx, 640);
    EXPECT_EQ(size.cy, 480);
    // The wizard went with its run.
    for (wxWindow* window : wxTopLevelWindows)
        EXPECT_EQ(dynamic_cast<CFilePlacementWizard*>(window), nullptr);
}

} // namespace
