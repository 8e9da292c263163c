// The Object and Tools menu commands as the user meets them: Align on three selected rectangles is one undo step,
// Scale According to Picture Fill follows the picture, and the tool items pick the tools bar's tool.

#include "app/shell/frame_commands.h"

#include "app/docview/design_view.h"
#include "app/model/fill_info.h"
#include "app/model/undo_manager.h"
#include "app/objects/rectangle_object.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/program_services.h"
#include "app/shell/shell_test_support.h"
#include "app/shell/tools_bar.h"
#include "app/site/page_item.h"
#include "image/image.h"

#include <wx/menu.h>

namespace {

class FrameCommandsTest : public ShellTest
{
protected:
    CProgramServices program;
    CSitePage* page = nullptr;

    void Open()
    {
        Start();
        program.SetMainFrame(frame);
        SetCoreServices(&program);
        auto site = std::make_unique<CWebsite>("/home/ann/Sites/bakery.kst");
        site->AddPage(std::make_unique<CSitePage>(site.get(), "Home", "Home"));
        page = site->GetPage(0);
        for (int i = 0; i < 3; ++i)
            page->AddObject(std::make_unique<CRectangleObject>(80 + 120 * i, 100 + 40 * i, SIZE{80, 60}, 0.0));
        site->MarkSaved();
        frame->OpenSite(std::move(site));
        Settle();
        ASSERT_NE(frame->GetActivePageWindow(), nullptr);
    }
    void TearDown() override
    {
        SetCoreServices(&services);
        Close();
    }
    void Command(int id)
    {
        wxCommandEvent event(wxEVT_MENU, id);
        frame->GetEventHandler()->ProcessEvent(event);
        Settle();
    }
    // The item's state as the menu shows it once updated.
    wxMenuItem* Updated(int id)
    {
        wxMenuItem* item = frame->GetMenuBar()->FindItem(id);
        EXPECT_NE(item, nullptr) << id;
        if (item)
            item->GetMenu()->UpdateUI(frame);
        return item;
    }
};

TEST_F(FrameCommandsTest, AlignLinesUpThreeObjectsAsOneUndoStep)
{
    Open();
    EXPECT_FALSE(Updated(ID_ALIGN_LEFT)->IsEnabled());
    page->SelectItemAt(0);
    EXPECT_FALSE(Updated(ID_ALIGN_LEFT)->IsEnabled());
    page->AddItemToSelection(1);
    page->AddItemToSelection(2);
    EXPECT_TRUE(Updated(ID_ALIGN_BOTTOM)->IsEnabled());

    Command(ID_ALIGN_BOTTOM);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(page->GetItem(i)->GetRect().bottom, page->GetItem(2)->GetRect().bottom);
    EXPECT_EQ(page->GetItem(0)->GetRect().left, 40);
    Command(ID_ALIGN_RIGHT);
    EXPECT_EQ(page->GetItem(0)->GetRect().right, page->GetItem(2)->GetRect().right);

    page->GetUndoManager()->Undo();
    EXPECT_EQ(page->GetItem(0)->GetRect().left, 40) << "the right alignment went back alone";
    EXPECT_EQ(page->GetItem(0)->GetRect().bottom, page->GetItem(2)->GetRect().bottom);
    page->GetUndoManager()->Undo();
    EXPECT_EQ(page->GetItem(0)->GetRect().top, 70);
}

TEST_F(FrameCommandsTest, ScaleFollowsThePictureFill)
{
    Open();
    page->SelectItemAt(0);
    EXPECT_FALSE(Updated(ID_SCALE_TO_PICTURE_FILL)->IsEnabled());
    auto fill = std::make_unique<CFillInfo>();
    fill->SetPicture(std::make_unique<CImage>(IMAGE_MODE_RGB, 40, 60));
    page->GetItem(0)->GetCurrentObject()->SetFill(std::move(fill));
    EXPECT_TRUE(Updated(ID_SCALE_TO_PICTURE_FILL)->IsEnabled());
    Command(ID_SCALE_TO_PICTURE_FILL);
    EXPECT_EQ(page->GetItem(0)->GetRect().Width(), 80);
    EXPECT_EQ(page->GetItem(0)->GetRect().Height(), 120);
}

TEST_F(FrameCommandsTest, ToolItemsNameAndPickTheToolsBarsTool)
{
    Start();
    CToolsBar* tools = frame->GetToolsBar();
    ASSERT_NE(tools, nullptr);
    wxMenuItem* text = Updated(ID_FIRST_TOOL_ITEM + 1);
    EXPECT_EQ(text->GetItemLabel(), "&Text Tool");
    EXPECT_FALSE(text->IsChecked());
    EXPECT_TRUE(Updated(ID_FIRST_TOOL_ITEM)->IsChecked());
    Command(ID_FIRST_TOOL_ITEM + 1);
    EXPECT_EQ(tools->GetTool(), 2);
    EXPECT_TRUE(Updated(ID_FIRST_TOOL_ITEM + 1)->IsChecked());
    EXPECT_FALSE(Updated(ID_FIRST_TOOL_ITEM)->IsChecked());
    Command(ID_FIRST_TOOL_ITEM + 2);
    EXPECT_EQ(tools->GetTool(), 3);
    EXPECT_NE(tools->GetShapesPalette(), nullptr) << "the shape tool opens the Shapes palette";
}

} // namespace
