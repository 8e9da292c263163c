// The Additional Files commands of the main window: Add Files runs its dialog through the program's services, and
// the site takes the files at the places chosen; the site map opens over the site's files.

#include "app/dialogs/site_folder_dlg.h"
#include "app/dialogs/site_folder_tree.h"
#include "app/shell/program_services.h"
#include "app/shell/shell_test_support.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <wx/listctrl.h>

namespace {

template <class Dialog> Dialog* FindOpenDialog()
{
    for (wxWindow* window : wxTopLevelWindows)
        if (auto* dialog = dynamic_cast<Dialog*>(window); dialog && dialog->IsShown())
            return dialog;
    return nullptr;
}

void Click(wxDialog& dialog, int id)
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
    SetCoreServices(&program);
    frame->OpenSite(MakeSite({"Contact", "Home"}));
    CWebsite& site = *frame->GetCurrentSite();

    bool answered = false;
    wxTheApp->CallAfter([&] {
        CAddFilesDLG* dialog = FindOpenDialog<CAddFilesDLG>();
        ASSERT_NE(dialog, nullptr);
        dialog->m_chooseFiles = [&](std::vector<std::string>& paths) {
            paths = {scratch / "a.txt", scratch / "b.pdf"};
            return true;
        };
        Click(*dialog, 1631);
        CSiteFolderTree& tree = *dialog->GetTree();
        tree.SelectItem(tree.GetRootItem());
        Click(*dialog, 1622);
        const wxTreeItemId folder = tree.GetSelection();
        tree.EndEditLabel(folder, true);
        wxTreeEvent rename(wxEVT_TREE_END_LABEL_EDIT, &tree, folder);
        rename.SetLabel("docs");
        tree.ProcessWindowEvent(rename);
        tree.SelectItem(folder);
        Click(*dialog, 1536);
        answered = true;
        Click(*dialog, wxID_OK);
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
    bool mapShown = false;
    wxTheApp->CallAfter([&] {
        CSiteMapDLG* dialog = FindOpenDialog<CSiteMapDLG>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->GetModel().FindFileByRemotePath("/docs/b.pdf")->GetLocalPath(), scratch / "b.pdf");
        mapShown = true;
        Click(*dialog, wxID_OK);
    });
    RunCommand(*frame, ID_SITE_MAP);
    EXPECT_TRUE(mapShown);
    EXPECT_EQ(site.GetFilePairCount(), 2);
    SetCoreServices(&services);
}

} // namespace
