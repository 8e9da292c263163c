#include "app/dialogs/add_files_logic.h"

#include <gtest/gtest.h>

#include <string>

#include "app/dialogs/site_folder_model.h"

namespace {

class AddFilesLogic : public ::testing::Test
{
protected:
    AddFilesLogic()
    {
        model.Reset();
        model.AddFile("/old/kept.gif", "/locked/kept.gif", 7);
        model.AddFile("/u/x.gif", "/a/x.gif", 0);
        model.AddFile("/v/x.gif", "/a/b/x.gif", 0);
        model.AddFile("/u/y.gif", "/a/b/y.gif", 0);
        root = model.GetRoot();
        a = root->FindSubfolder("a");
        b = a->FindSubfolder("b");
    }

    CSiteFolderModel model;
    CSiteFolder* root = nullptr;
    CSiteFolder* a = nullptr;
    CSiteFolder* b = nullptr;
};

TEST_F(AddFilesLogic, ButtonsFollowTheSelectionAndTheNamesTaken)
{
    const std::vector<std::string> listed = {"/w/new.gif", "/w/X.GIF"};
    AddFilesButtons buttons = GetAddFilesButtons(a, {"/w/new.gif"}, listed, 0);
    EXPECT_TRUE(buttons.newFolder && buttons.add);
    // X.GIF is taken in a whatever its case: neither it nor every file can go there.
    EXPECT_FALSE(GetAddFilesButtons(a, listed, listed, 0).add);
    EXPECT_FALSE(buttons.addAll);
    EXPECT_FALSE(buttons.remove || buttons.removeAll || buttons.ok);
    EXPECT_FALSE(GetAddFilesButtons(a, {}, listed, 0).add);
    EXPECT_TRUE(GetAddFilesButtons(b, {"/w/new.gif"}, {"/w/new.gif"}, 0).addAll);

    buttons = GetAddFilesButtons(a->FindFile("x.gif"), {}, listed, 1);
    EXPECT_TRUE(buttons.remove && buttons.removeAll && buttons.ok);
    EXPECT_FALSE(buttons.add || buttons.newFolder || buttons.deleteFolder);
    EXPECT_FALSE(GetAddFilesButtons(root->FindSubfolder("locked")->FindFile("kept.gif"), {}, listed, 1).remove);
    EXPECT_EQ(GetAddFilesButtons(nullptr, {"/w/new.gif"}, listed, 0).add, false);
}

TEST_F(AddFilesLogic, DeleteFolderMovesEverythingUpUnlessANameClashesOrALockHolds)
{
    EXPECT_FALSE(CanDeleteSiteFolder(*root));
    EXPECT_FALSE(CanDeleteSiteFolder(*root->FindSubfolder("locked")));
    // b holds x.gif and a holds x.gif too.
    EXPECT_FALSE(DeleteSiteFolder(*b));
    a->RemoveFile("x.gif");
    ASSERT_TRUE(DeleteSiteFolder(*b));
    EXPECT_EQ(model.FindFileByPath("/v/x.gif")->GetPath(), "/a/x.gif");
    EXPECT_EQ(model.FindFileByPath("/u/y.gif")->GetPath(), "/a/y.gif");
    EXPECT_EQ(a->FindSubfolder("b"), nullptr);

    // A folder may hold one of its own name: it takes the place of the folder going.
    ASSERT_TRUE(a->AddFolder("A"));
    ASSERT_TRUE(a->FindSubfolder("A")->AddFolder("inner"));
    ASSERT_TRUE(DeleteSiteFolder(*a));
    ASSERT_NE(root->FindSubfolder("a"), nullptr);
    EXPECT_EQ(root->FindSubfolder("a")->GetName(), "A");
    EXPECT_NE(root->FindSubfolder("A")->FindSubfolder("inner"), nullptr);
    EXPECT_EQ(model.FindFileByPath("/v/x.gif")->GetPath(), "/x.gif");
}

// 10^5 files of a folder deleted move up in their order (each taken from the end of its list, where it is cheap).
TEST_F(AddFilesLogic, DeletingAFolderOfManyFilesKeepsTheirOrder)
{
    constexpr int n = 100000;
    CSiteFolderModel many;
    for (int i = 0; i < n; ++i)
        ASSERT_TRUE(many.AddFile("/p/IMG_" + std::to_string(i) + ".jpg", "/site/gallery/any", 0));
    CSiteFolder* site = many.GetRoot()->FindSubfolder("site");
    ASSERT_TRUE(site->AddFile("/p/index.js", 0));
    ASSERT_TRUE(DeleteSiteFolder(*site->FindSubfolder("gallery")));
    const auto files = site->GetFiles();
    ASSERT_EQ(files.size(), static_cast<size_t>(n + 1));
    EXPECT_EQ(files[0]->GetName(), "IMG_99999.jpg");
    EXPECT_EQ(files[n - 1]->GetName(), "IMG_0.jpg");
    EXPECT_EQ(files[n]->GetName(), "index.js");
    EXPECT_EQ(many.FindFileByRemotePath("/site/img_500.jpg")->GetLocalPath(), "/p/IMG_500.jpg");
    EXPECT_EQ(site->FindSubfolder("gallery"), nullptr);
}

TEST_F(AddFilesLogic, FilesArePlacedAgainstTheFolderAsItFills)
{
    // Two selected files of one name: the first goes in, the second stays in the list.
    const std::vector<size_t> placed = PlaceLocalFiles(*b, {"/p/one.gif", "/q/ONE.gif", "/p/two.gif", "/r/y.gif"});
    EXPECT_EQ(placed, (std::vector<size_t>{0, 2}));
    EXPECT_EQ(b->FindFile("one.gif")->GetLocalPath(), "/p/one.gif");
    EXPECT_EQ(b->FindFile("one.gif")->GetLockFlags(), 1u);
}

} // namespace
