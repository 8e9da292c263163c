// The Add Files dialog and the Site Map on a display, driven by injected events, with their pictures.

#include "app/dialogs/dialogs_test_support.h"
#include "app/dialogs/file_placement_wizard.h"
#include "app/dialogs/site_folder_dlg.h"
#include "app/dialogs/site_folder_tree.h"
#include "app/model/services.h"
#include "testing/scratch_folder.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/listctrl.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

namespace {

class NoticeServices : public NullCoreServices, public NullMessages, public NullCurrentState, public NullModelDialogs
{
public:
    DialogAnswer ShowNotice(int id) override
    {
        notices.push_back(id);
        return DialogAnswer::ok;
    }
    void Beep() override { ++beeps; }
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    std::vector<int> notices;
    std::vector<std::string> messages;
    int beeps = 0;
};

class SiteFolderDialogs : public DialogOwnerTest<NoticeServices>
{
protected:
    void SetUp() override
    {
        DialogOwnerTest::SetUp();
        for (const char* name : {"old/logo.gif", "a/one.txt", "b/one.txt", "two.txt"}) {
            std::filesystem::create_directories(std::filesystem::path(folder / name).parent_path());
            std::ofstream(folder / name) << "x";
        }
        existing = CFilePair(folder / "old/logo.gif", "/images/logo.gif");
        SetAllFileLocks(existing.m_dwFlags);
    }

    void Picture(wxDialog& dialog, const std::string& name)
    {
        dialog.Show();
        SaveDialogPicture(dialog, name);
    }

    static void EndLabelEdit(CSiteFolderTree& tree, const wxTreeItemId& item, const wxString& text)
    {
        wxTreeEvent event(wxEVT_TREE_END_LABEL_EDIT, &tree, item);
        event.SetLabel(text);
        tree.ProcessWindowEvent(event);
    }

    ScratchFolder folder;
    CFilePair existing;
};

TEST_F(SiteFolderDialogs, AddFilesPlacesFilesIntoANewFolder)
{
    std::vector<std::string> localFiles = {folder / "a/one.txt"};
    CAddFilesDLG dialog(localFiles, {"index.html"}, {&existing}, owner);
    ASSERT_TRUE(dialog.IsOk());
    CSiteFolderTree& tree = *dialog.GetTree();
    EXPECT_FALSE(dialog.FindWindow(wxID_OK)->IsEnabled());
    // Browse: the same file twice is listed once.
    dialog.m_chooseFiles = [&](std::vector<std::string>& paths) {
        paths = {folder / "b/one.txt", folder / "two.txt", folder / "a/one.txt"};
        return true;
    };
    Click(dialog, 1631);
    EXPECT_EQ(dialog.GetListed().size(), 3u);
    EXPECT_EQ(localFiles.size(), 3u);

    // New Folder under the root starts its label edit; the name typed must be free and valid.
    tree.SelectItem(tree.GetRootItem());
    Click(dialog, 1622);
    Settle();
    const wxTreeItemId item = tree.GetSelection();
    ASSERT_EQ(tree.GetItemNode(item)->GetName(), "NewFolder");
    // Return in the edit with a name the root holds already: refused, and neither the folder nor its item changes.
    wxTextCtrl* edit = tree.GetEditControl();
    ASSERT_NE(edit, nullptr);
    edit->ChangeValue("images");
    wxKeyEvent enter(wxEVT_CHAR);
    enter.m_keyCode = WXK_RETURN;
    enter.SetEventObject(edit);
    edit->ProcessWindowEvent(enter);
    Settle();
    EXPECT_EQ(services.notices, std::vector<int>{7020});
    EXPECT_EQ(services.beeps, 1);
    EXPECT_EQ(tree.GetItemNode(item)->GetName(), "NewFolder");
    EXPECT_EQ(tree.GetItemText(item), "NewFolder");
    if (tree.GetEditControl())
        tree.EndEditLabel(item, true);
    EndLabelEdit(tree, item, "docs");
    EXPECT_EQ(tree.GetItemNode(item)->GetName(), "docs");
    EXPECT_EQ(services.notices.size(), 1u);

    // Add All: both one.txt files are free in the empty folder, but only the first goes in.
    tree.SelectItem(item);
    ASSERT_TRUE(dialog.GetButtons().addAll);
    Click(dialog, 1536);
    EXPECT_EQ(dialog.GetPlacedCount(), 2);
    EXPECT_EQ(dialog.GetListed(), std::vector<std::string>{folder / "b/one.txt"});
    EXPECT_EQ(tree.GetChildrenCount(item, false), 2u);
    EXPECT_TRUE(dialog.FindWindow(wxID_OK)->IsEnabled());
    EXPECT_FALSE(dialog.GetButtons().addAll);
    Picture(dialog, "add_files_583");

    const FilesDialogResult result = MakeFilesDialogResult(dialog.GetModel(), localFiles);
    std::vector<std::string> remote;
    for (const FilePlacement& placement : result.m_placements)
        remote.push_back(placement.m_remotePath);
    // The newest folder comes first.
    EXPECT_EQ(remote, (std::vector<std::string>{"/docs/two.txt", "/docs/one.txt", "/images/logo.gif"}));
    dialog.Hide();
}

TEST_F(SiteFolderDialogs, RemoveAllKeepsEarlierPlacementsAndDeleteFolderKeepsFiles)
{
    std::vector<std::string> localFiles = {folder / "two.txt"};
    CAddFilesDLG dialog(localFiles, {}, {&existing}, owner);
    ASSERT_TRUE(dialog.IsOk());
    CSiteFolderTree& tree = *dialog.GetTree();
    CSiteFolder* images = dialog.GetModel().GetRoot()->FindSubfolder("images");
    tree.SelectItem(tree.FindNodeItem(images));
    EXPECT_FALSE(dialog.GetButtons().deleteFolder);
    Click(dialog, 1536);
    EXPECT_EQ(dialog.GetPlacedCount(), 1);
    Click(dialog, 1630);
    EXPECT_EQ(dialog.GetPlacedCount(), 0);
    EXPECT_EQ(dialog.GetListed(), std::vector<std::string>{folder / "two.txt"});
    EXPECT_NE(images->FindFile("logo.gif"), nullptr);
    EXPECT_FALSE(dialog.FindWindow(wxID_OK)->IsEnabled());
    EXPECT_FALSE(dialog.FindWindow(1630)->IsEnabled());

    // A new folder holding the placed file goes; the file moves up to the root.
    tree.SelectItem(tree.GetRootItem());
    Click(dialog, 1622);
    Settle();
    const wxTreeItemId item = tree.GetSelection();
    tree.EndEditLabel(item, true);
    Click(dialog, 1536);
    ASSERT_TRUE(dialog.GetButtons().deleteFolder);
    Click(dialog, 1623);
    EXPECT_EQ(dialog.GetModel().FindFileByPath(folder / "two.txt")->GetPath(), "/two.txt");
    EXPECT_EQ(dialog.GetModel().GetRoot()->FindSubfolder("NewFolder"), nullptr);
    EXPECT_TRUE(tree.FindNodeItem(dialog.GetModel().FindFileByPath(folder / "two.txt")).IsOk());
}

TEST_F(SiteFolderDialogs, SiteMapListsTheFilesAndChangesNothing)
{
    CFilePair other(folder / "two.txt", "/docs/two.txt");
    CSiteMapDLG dialog({}, {&existing, &other}, owner);
    ASSERT_TRUE(dialog.IsOk());
    EXPECT_EQ(dialog.GetModel().FindFileByRemotePath("/docs/two.txt")->GetLocalPath(), folder / "two.txt");
    Picture(dialog, "site_map_581");
    dialog.Hide();
}

} // namespace

namespace {

TEST_F(SiteFolderDialogs, AddFilesFromXmlPlacesTheProgramOnce)
{
    std::filesystem::create_directories(folder / "app/images");
    std::ofstream(folder / "app/movie.xml")
        << "<gallery><image src=\"images/a.jpg\"/><movie src=\"clip.swf\"/></gallery>";
    for (const char* name : {"app/images/a.jpg", "app/clip.swf", "app/swfobject.js"})
        std::ofstream(folder / name) << "x";
    std::vector<std::string> sourceNames;
    CAddFilesFromXmlDLG dialog(sourceNames, {}, {&existing}, owner);
    ASSERT_TRUE(dialog.IsOk());
    EXPECT_FALSE(dialog.FindWindow(wxID_OK)->IsEnabled());
    // Cancel in the chooser leaves OK as it was.
    dialog.m_chooseFiles = [](std::vector<std::string>&) { return false; };
    Click(dialog, 1631);
    EXPECT_FALSE(dialog.FindWindow(wxID_OK)->IsEnabled());

    dialog.m_chooseFiles = [&](std::vector<std::string>& paths) {
        paths = {folder / "app/movie.xml"};
        return true;
    };
    Click(dialog, 1631);
    EXPECT_EQ(dialog.GetAddedCount(), 4);
    Click(dialog, 1631);
    EXPECT_EQ(dialog.GetAddedCount(), 4);
    EXPECT_EQ(sourceNames.size(), 4u);
    EXPECT_TRUE(dialog.FindWindow(wxID_OK)->IsEnabled());
    EXPECT_EQ(dialog.GetModel().FindFileByRemotePath("/images/a.jpg")->GetLocalPath(), folder / "app/images/a.jpg");
    CSiteFolderTree& tree = *dialog.GetTree();
    tree.ExpandAll();
    // Each file shows what it holds.
    const std::pair<const char*, int> icons[] = {
        {"/images/a.jpg", CSiteFolderTree::kPictureIcon},
        {"/clip.swf", CSiteFolderTree::kFlashIcon},
        {"/swfobject.js", CSiteFolderTree::kScriptIcon},
        {"/movie.xml", CSiteFolderTree::kFileIcon},
    };
    for (const auto& [path, icon] : icons)
        EXPECT_EQ(tree.GetItemImage(tree.FindNodeItem(dialog.GetModel().FindFileByRemotePath(path))), icon) << path;
    EXPECT_EQ(tree.GetItemImage(tree.GetRootItem()), CSiteFolderTree::kFolderIcon);
    Picture(dialog, "add_files_from_xml_5038");
    dialog.Hide();
}

} // namespace

namespace {

class PlacementWizard : public SiteFolderDialogs
{
protected:
    void SetUp() override
    {
        SiteFolderDialogs::SetUp();
        std::filesystem::create_directories(folder / "app/movie files");
        std::ofstream(folder / "app/movie.xml") << "<gallery><image src=\"pic.jpg\"/></gallery>";
        std::ofstream(folder / "app/pic.jpg") << "x";
        std::ofstream(folder / "app/movie files/clip.swf") << "x";
    }

    // Runs the wizard with the chooser answering chosen (nothing for Cancel); the page is pictured while it asks.
    int Run(CFilePlacementWizard& wizard, const std::vector<std::string>& chosen, const std::string& picture = {})
    {
        wizard.m_chooseFiles = [&](std::vector<std::string>& paths) {
            if (!picture.empty())
                Picture(wizard, picture);
            paths = chosen;
            return !chosen.empty();
        };
        return wizard.DoModal();
    }

    std::vector<std::string> sourceNames;
};

TEST_F(PlacementWizard, PlacesTheProgramAndReadsItsCode)
{
    std::ofstream(folder / "app/movie.html")
        << "<html><body><object width=\"640\" height=\"480\"><param name=movie></object></body></html>";
    CFilePlacementWizard wizard(sourceNames, {}, {&existing}, owner);
    ASSERT_TRUE(wizard.IsOk());
    EXPECT_EQ(Run(wizard, {folder / "app/movie.xml"}, "file_placement_wizard_5040"), wxID_OK);
    // Its one page shows without a tab and names the window.
    EXPECT_EQ(wizard.GetTitle(), "Add Files From XML");
    // The companion folder's files go to the root.
    EXPECT_EQ(wizard.GetAddedCount(), 3);
    EXPECT_EQ(wizard.GetModel().FindFileByRemotePath("/clip.swf")->GetLocalPath(), folder / "app/movie files/clip.swf");
    const FlashObjectCode& code = wizard.GetFlashCode();
    ASSERT_TRUE(code.m_set);
    EXPECT_EQ(code.m_strCode, "<object width=\"640\" height=\"480\"><param name=movie></object>");
    EXPECT_EQ(code.m_nWidth, 640);
    EXPECT_EQ(code.m_nHeight, 480);
    EXPECT_EQ(code.m_usedFiles.size(), 3u);
}

TEST_F(PlacementWizard, CancelOrAMissingPageClosesItWithNothingChanged)
{
    {
        CFilePlacementWizard wizard(sourceNames, {}, {&existing}, owner);
        EXPECT_EQ(Run(wizard, {}), wxID_OK);
        EXPECT_FALSE(wizard.GetFlashCode().m_set);
        EXPECT_EQ(wizard.GetAddedCount(), 0);
    }
    CFilePlacementWizard wizard(sourceNames, {}, {&existing}, owner);
    Run(wizard, {folder / "app/movie.xml"});
    EXPECT_EQ(services.messages,
              std::vector<std::string>{"Error: HTML File not present in the directory or wrong XML File"});
    EXPECT_FALSE(wizard.GetFlashCode().m_set);
    EXPECT_EQ(wizard.GetAddedCount(), 0);
    EXPECT_TRUE(sourceNames.empty());
}

} // namespace
