#include "app/dialogs/site_folder_model.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/model/file_pair.h"

namespace {

struct Model
{
    std::vector<CFilePair> pairs;
    CSiteFolderModel model;

    void Build(std::vector<CFilePair> list, const std::vector<std::string>& reserved = {})
    {
        pairs = std::move(list);
        std::vector<const CFilePair*> pointers;
        for (const CFilePair& pair : pairs)
            pointers.push_back(&pair);
        model.Build(reserved, pointers);
    }

    std::vector<std::string> Files()
    {
        std::vector<std::string> paths;
        for (CSiteFile* file = model.GetFirstFile(); file; file = model.GetNextFile())
            paths.push_back(file->GetPath());
        return paths;
    }
};

CFilePair Locked(std::string source, std::string target)
{
    CFilePair pair(std::move(source), std::move(target));
    SetAllFileLocks(pair.m_dwFlags);
    return pair;
}

TEST(SiteFolderModel, PairsArePlacedUnderTheirLocalNames)
{
    Model m;
    m.Build({{"C:\\a\\logo.gif", "/images/logo.gif"},
             {"C:\\b\\LOGO.GIF", "/images/logo.gif"},
             {"C:\\a\\photo.jpg", "/pics/other.jpg"},
             {"/home/u/x.gif", "/index.html/x.gif"},
             // A target stored on Windows names its folders with '\'.
             {"/home/u/d.pdf", "\\docs\\d.pdf"},
             {"/home/u/top.css", "top.css"}},
            {"/site/index.html", "about.html"});
    const CSiteFolder* root = m.model.GetRoot();
    ASSERT_NE(root, nullptr);
    // The second logo.gif differs only in case: the folder refuses it. No folder takes a reserved name.
    ASSERT_NE(root->FindSubfolder("images"), nullptr);
    ASSERT_EQ(root->FindSubfolder("images")->GetFiles().size(), 1u);
    EXPECT_EQ(root->FindSubfolder("images")->GetFiles()[0]->GetLocalPath(), "C:\\a\\logo.gif");
    EXPECT_EQ(root->FindSubfolder("index.html"), nullptr);
    EXPECT_EQ(m.model.FindFileByRemotePath("/pics/photo.jpg")->GetPath(), "/pics/photo.jpg");
    EXPECT_EQ(m.model.FindFileByRemotePath("pics/PHOTO.JPG")->GetName(), "photo.jpg");
    EXPECT_EQ(m.model.FindFileByRemotePath("/pics/other.jpg"), nullptr);
    EXPECT_EQ(m.model.FindFileByRemotePath("/docs/d.pdf")->GetPath(), "/docs/d.pdf");
    EXPECT_EQ(m.model.FindFileByRemotePath("/top.css")->GetPath(), "/top.css");
    EXPECT_EQ(root->GetPath(), "");
    EXPECT_FALSE(root->IsNameFree("ABOUT.HTML"));
    EXPECT_FALSE(root->IsNameFree(GetRootFolderName()));
    EXPECT_FALSE(root->FindSubfolder("pics")->IsNameFree("C:\\z\\Photo.JPG"));
}

TEST(SiteFolderModel, LocalPathsCompareAsTheFileSystemDoes)
{
    Model m;
    m.Build({{"/home/u/Logo.gif", "/a/Logo.gif"}, {"/home/u/logo.gif", "/b/logo.gif"}});
    EXPECT_EQ(m.model.FindFileByPath("/home/u/logo.gif")->GetPath(), "/b/logo.gif");
    EXPECT_EQ(m.model.FindFileByPath("/home/u/Logo.gif")->GetPath(), "/a/Logo.gif");
    EXPECT_EQ(m.model.FindFileByPath("/home/u/LOGO.GIF"), nullptr);
}

TEST(SiteFolderModel, RemotePathsNeverLeaveTheSite)
{
    Model m;
    m.Build({{"/u/a.gif", "/../a.gif"},
             {"/u/b.gif", "/x/./b.gif"},
             {"/u/c.gif", "//x//c.gif"},
             {"/u/..", "/d/.."},
             {"/u/", "/e/"},
             {"/u/f.gif", "/a:b/f.gif"}});
    EXPECT_EQ(m.Files(), std::vector<std::string>{"/x/c.gif"});
    std::string deep;
    for (int i = 0; i < CSiteFolderModel::kMaxFolderDepth; ++i)
        deep += "/d";
    EXPECT_FALSE(m.model.AddFile("/u/g.gif", deep + "/g.gif", 0));
    EXPECT_TRUE(m.model.AddFile("/u/g.gif", deep.substr(2) + "/g.gif", 0));
}

TEST(SiteFolderModel, NewFolderNamesSkipTakenOnesInAnyCase)
{
    CSiteFolder root;
    EXPECT_EQ(root.MakeNewFolderName(), "NewFolder");
    ASSERT_TRUE(root.AddFolder("NewFolder"));
    ASSERT_TRUE(root.AddFolder("newfolder(1)"));
    EXPECT_FALSE(root.AddFolder("NEWFOLDER"));
    EXPECT_EQ(root.MakeNewFolderName(), "NewFolder(2)");
    // The newest entry heads the list.
    EXPECT_EQ(root.GetFolders()[0]->GetName(), "newfolder(1)");
}

TEST(SiteFolderModel, LocksOfFilesProtectTheirFolders)
{
    Model m;
    m.Build({Locked("/u/old.gif", "/a/b/old.gif"), {"/u/new.gif", "/c/new.gif"}});
    CSiteFolder* root = m.model.GetRoot();
    CSiteFolder* a = root->FindSubfolder("a");
    CSiteFolder* c = root->FindSubfolder("c");
    EXPECT_EQ(root->GetLockFlags(), 7u);
    EXPECT_EQ(a->GetLockFlags(), 7u);
    EXPECT_TRUE(a->FindSubfolder("b")->IsDeleteLocked());
    EXPECT_EQ(c->GetLockFlags(), 0u);
    const CSiteFile* file = c->FindFile("new.gif");
    EXPECT_EQ(file->GetLockFlags(), 1u);
    EXPECT_TRUE(file->IsNameLocked());
    EXPECT_FALSE(file->IsRemoveLocked());
    // A delete lock alone keeps the folder from going but lets it be renamed.
    ASSERT_TRUE(m.model.AddFile("/u/kept.gif", "/d/kept.gif", 4));
    EXPECT_EQ(root->FindSubfolder("d")->GetLockFlags(), 4u);

    EXPECT_FALSE(CanEditSiteNodeLabel(*root));
    EXPECT_FALSE(CanEditSiteNodeLabel(*a));
    EXPECT_FALSE(CanEditSiteNodeLabel(*file));
    EXPECT_TRUE(CanEditSiteNodeLabel(*c));
    EXPECT_TRUE(CanEditSiteNodeLabel(*root->FindSubfolder("d")));
}

TEST(SiteFolderModel, RenameRefusesNamesTheFolderCannotTake)
{
    Model m;
    m.Build({{"/u/x.gif", "/pics/x.gif"}, {"/u/y.gif", "/other/y.gif"}, {"/u/clash", "/clash"}});
    CSiteFolder* root = m.model.GetRoot();
    CSiteFolder* pics = root->FindSubfolder("pics");
    for (const std::string& refused :
         std::vector<std::string>{"a:b", "OTHER", "clash", GetRootFolderName(), "..", "", "a\tb"}) {
        SCOPED_TRACE(refused);
        EXPECT_FALSE(RenameSiteFolder(*pics, refused));
        EXPECT_EQ(pics->GetName(), "pics");
    }
    EXPECT_FALSE(RenameSiteFolder(*root, "top"));
    EXPECT_FALSE(RenameSiteFolder(*pics->FindFile("x.gif"), "z.gif"));
    EXPECT_TRUE(RenameSiteFolder(*pics, "photos"));
    EXPECT_EQ(m.model.FindFileByPath("/u/x.gif")->GetPath(), "/photos/x.gif");
}

// A folder keeps finding its names after they change: a renamed folder by its new name only, a file gone by none.
TEST(SiteFolderModel, NamesAreFoundAfterRenamesAndRemovals)
{
    Model m;
    m.Build({{"/u/x.gif", "/pics/x.gif"}, {"/u/y.gif", "/pics/y.gif"}, {"/u/z.gif", "/pics/z.gif"}});
    CSiteFolder* root = m.model.GetRoot();
    CSiteFolder* pics = root->FindSubfolder("pics");
    ASSERT_TRUE(RenameSiteFolder(*pics, "Photos"));
    EXPECT_EQ(root->FindSubfolder("PHOTOS"), pics);
    EXPECT_EQ(root->FindSubfolder("pics"), nullptr);
    EXPECT_TRUE(root->IsNameFree("pics"));
    pics->RemoveFile("Y.GIF");
    EXPECT_EQ(pics->FindFile("y.gif"), nullptr);
    ASSERT_EQ(pics->GetFiles().size(), 2u);
    EXPECT_EQ(pics->GetFiles()[0]->GetName(), "z.gif");
    EXPECT_EQ(pics->GetFiles()[1]->GetName(), "x.gif");
    EXPECT_EQ(pics->FindFile("x.gif")->GetListPosition(), 1u);
    EXPECT_TRUE(pics->AddFile("/v/y.gif", 0));
    EXPECT_EQ(m.model.FindFileByRemotePath("/photos/y.gif")->GetLocalPath(), "/v/y.gif");
}

// A file's name is its local path after the last '/', and only without one after the last '\'. A remote path is
// split at either, so a name holding a '\' could not be found again or kept in its folder on a server.
TEST(SiteFolderModel, AFileIsNamedByItsLastSlash)
{
    EXPECT_EQ(CSiteFile("/mixed\\dir/x\\y.gif", 0).GetName(), "x\\y.gif");
    EXPECT_EQ(CSiteFile("C:\\a\\logo.gif", 0).GetName(), "logo.gif");
    CSiteFolderModel model;
    EXPECT_FALSE(model.AddFile("/mixed\\dir/x\\y.gif", "/img/x.gif", 0));
    EXPECT_TRUE(model.AddFile("/mixed\\dir/y.gif", "/img/y.gif", 0));
    EXPECT_EQ(model.FindFileByRemotePath("/img/y.gif")->GetLocalPath(), "/mixed\\dir/y.gif");
    EXPECT_FALSE(model.GetRoot()->FindSubfolder("img")->IsNameFree("/home/u/a\\b.gif"));
}

// 10^5 files in one folder are placed, refused a second time, found by their remote paths and visited once each,
// newest first. A folder that compared each name with all the others would take some 5 x 10^9 steps here.
TEST(SiteFolderModel, AFolderOfManyFilesPlacesFindsAndVisitsEachOnce)
{
    constexpr int n = 100000;
    const auto local = [](int i) { return "/photos/IMG_" + std::to_string(i) + ".jpg"; };
    CSiteFolderModel model;
    for (int i = 0; i < n; ++i)
        ASSERT_TRUE(model.AddFile(local(i), "/gallery/any", 0)) << i;
    EXPECT_FALSE(model.AddFile("/elsewhere/img_7.JPG", "/gallery/any", 0)) << "names ignore case";
    const CSiteFolder* gallery = model.GetRoot()->FindSubfolder("gallery");
    ASSERT_EQ(gallery->GetFiles().size(), static_cast<size_t>(n));
    int expected = n;
    for (CSiteFile* file = model.GetFirstFile(); file; file = model.GetNextFile())
        ASSERT_EQ(file->GetLocalPath(), local(--expected));
    EXPECT_EQ(expected, 0);
    for (int i = 0; i < n; i += 7)
        ASSERT_EQ(model.FindFileByRemotePath("/Gallery/img_" + std::to_string(i) + ".JPG")->GetLocalPath(), local(i));
}

TEST(SiteFolderModel, IterationVisitsEveryFileInPostOrder)
{
    CSiteFolderModel empty;
    EXPECT_EQ(empty.GetFirstFile(), nullptr);
    EXPECT_EQ(empty.GetNextFile(), nullptr);

    CSiteFolderModel folders;
    folders.Reset();
    folders.GetRoot()->AddFolder("a");
    folders.GetRoot()->FindSubfolder("a")->AddFolder("b");
    EXPECT_EQ(folders.GetFirstFile(), nullptr);

    Model m;
    m.Build({{"/u/deep.gif", "/A/B/C/deep.gif"},
             {"/u/side.gif", "/S/side.gif"},
             {"/u/top.gif", "/top.gif"},
             {"/u/mid.gif", "/A/mid.gif"},
             {"/u/top2.gif", "/top2.gif"}});
    // Folders and files run newest first: S before A, top2 before top; a folder's own files after its subtree.
    EXPECT_EQ(m.Files(),
              (std::vector<std::string>{"/S/side.gif", "/A/B/C/deep.gif", "/A/mid.gif", "/top2.gif", "/top.gif"}));
}

TEST(SiteFolderModel, TreeOrderPutsFoldersFirstThenNamesCaseSensitive)
{
    CSiteFolder root;
    root.AddFolder("c");
    root.AddFolder("b");
    ASSERT_TRUE(root.AddFile("/u/A", 0));
    std::vector<const CSiteNode*> nodes{root.GetFiles()[0].get()};
    for (const auto& folder : root.GetFolders())
        nodes.push_back(folder.get());
    std::sort(nodes.begin(), nodes.end(),
              [](const CSiteNode* x, const CSiteNode* y) { return CompareSiteNodes(*x, *y) < 0; });
    std::vector<std::string> names;
    for (const CSiteNode* node : nodes)
        names.push_back(node->GetName());
    EXPECT_EQ(names, (std::vector<std::string>{"b", "c", "A"}));

    const CSiteFile upper("/u/B", 0), lower("/u/a", 0);
    EXPECT_EQ(CompareSiteNodes(upper, lower), -1);
    EXPECT_EQ(CompareSiteNodes(lower, upper), 1);
    EXPECT_EQ(CompareSiteNodes(lower, lower), 0);
}

TEST(SiteFolderModel, FilesAreKnownByTheirExtensionInAnyCase)
{
    const std::pair<const char*, SiteFileKind> cases[] = {
        {"/home/ann/site/index.HTML", SiteFileKind::page},
        {"/home/ann/site/news.htm", SiteFileKind::page},
        {"/home/ann/pics/photo.JPG", SiteFileKind::picture},
        {"C:\\pics\\logo.gif", SiteFileKind::picture},
        {"/home/ann/app/swfobject.js", SiteFileKind::script},
        {"/home/ann/app/database_management_example.php", SiteFileKind::script},
        {"/home/ann/app/movie.swf", SiteFileKind::flash},
        {"/home/ann/app/movie.xml", SiteFileKind::other},
        // The extension is the file name's: a dot in a folder's name does not count, nor does a name without one.
        {"/home/ann/site.html/readme", SiteFileKind::other},
        {"/home/ann/notes.", SiteFileKind::other},
        {"", SiteFileKind::other},
    };
    for (const auto& [path, kind] : cases)
        EXPECT_EQ(GetSiteFileKind(path), kind) << path;
}

} // namespace
