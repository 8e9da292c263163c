#include "app/docview/view_drop.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/objects/rectangle_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/site_services_fake.h"
#include "image/image.h"
#include "platform/io/io.h"
#include "testing/scratch_folder.h"

namespace {

NewPageSettings Settings()
{
    NewPageSettings settings;
    settings.width = 600;
    settings.height = 400;
    return settings;
}

std::string WritePicture(const ScratchFolder& folder, const std::string& name, int width, int height)
{
    CImage image(IMAGE_MODE_RGB, width, height);
    const std::string path = folder.Path() + name;
    EXPECT_TRUE(CIO::SavePNG(path, image));
    return path;
}

// Pages get the real history; the dialogs shown are kept.
class DropServices : public SiteServicesFake
{
public:
    DropServices() { realUndo = true; }
    void ShowPictureDialog(int id) override { pictureDialogs.push_back(id); }
    std::vector<int> pictureDialogs;
};

class DropTest : public ::testing::Test
{
protected:
    DropTest() : page(nullptr, "p", "P", Settings())
    {
        page.AddObject(std::make_unique<CRectangleObject>(50.0, 50.0, SIZE{20, 20}, 0.0));
        page.SelectItemAt(0);
    }

    DropServices services;
    ScratchFolder folder;
    CSitePage page;
};

TEST_F(DropTest, ThreePicturesMakeThreeSelectedRectanglesAndOneStep)
{
    const std::vector<std::string> files = {WritePicture(folder, "a.png", 30, 20),
                                            WritePicture(folder, "b.png", 41, 11), WritePicture(folder, "c.png", 8, 8)};
    for (const std::string& file : files)
        EXPECT_TRUE(IsDroppablePicture(file));
    EXPECT_EQ(DropPictureFiles(page, files, CPoint(300, 200)), 3);
    ASSERT_EQ(page.GetItemCount(), 4);
    EXPECT_FALSE(page.GetItem(0)->IsSelected()) << "the selection before the drop is cleared";
    EXPECT_EQ(page.GetSelectedItemCount(), 3);
    EXPECT_EQ(page.GetItem(1)->GetRect(), CRect(285, 190, 315, 210));
    EXPECT_EQ(page.GetItem(2)->GetRect(), CRect(280, 195, 321, 206)) << "odd sizes on whole pixels";
    EXPECT_EQ(page.GetUndoManager()->GetUndoCount(), 1);
    page.GetUndoManager()->Undo();
    ASSERT_EQ(page.GetItemCount(), 1) << "Undo takes the three and leaves what was there";
    EXPECT_EQ(page.GetItem(0)->GetRect(), CRect(40, 40, 60, 60));
}

TEST_F(DropTest, FilesThatDoNotLoadMakeNothingAndRecordNothing)
{
    const std::string text = folder.Path() + "notes.png";
    std::ofstream(text) << "not a picture";
    EXPECT_FALSE(IsDroppablePicture(text));
    EXPECT_FALSE(IsDroppablePicture(folder.Path() + "missing.png"));
    EXPECT_EQ(DropPictureFiles(page, {text, folder.Path() + "missing.png"}, CPoint(100, 100)), 0);
    EXPECT_EQ(page.GetItemCount(), 1);
    EXPECT_EQ(page.GetUndoManager()->GetUndoCount(), 0);
    EXPECT_EQ(services.pictureDialogs, (std::vector<int>{294, 294}));
}

} // namespace
