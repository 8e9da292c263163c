// The Object and Tools menu commands as the user meets them: Align on three selected rectangles is one undo step,
// Scale According to Picture Fill follows the picture, and the tool items pick the tools bar's tool.

#include "app/shell/object_commands.h"

#include <sys/stat.h>

#include <chrono>
#include <deque>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "app/dialogs/download_offer_dlg.h"
#include "app/docview/design_view.h"
#include "app/model/app_settings.h"
#include "app/model/browser_entry.h"
#include "app/model/fill_info.h"
#include "app/model/undo_manager.h"
#include "app/objects/rectangle_object.h"
#include "app/shell/browser_menu.h"
#include "app/shell/main_toolbar.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/program_services.h"
#include "app/shell/publish_menu.h"
#include "app/shell/shell_test_support.h"
#include "app/shell/tools_bar.h"
#include "app/site/page_item.h"
#include "image/image.h"
#include "platform/gui/text_bytes.h"
#include "platform/gui/window_picture.h"
#include "platform/resources/string_table.h"
#include "platform/win/program_launch.h"
#include "testing/test_output.h"

#include <wx/clipbrd.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

namespace {

class FrameCommandsTest : public ProgramShellTest<CProgramServices>
{
protected:
    CSitePage* page = nullptr;

    void Open()
    {
        StartProgram();
        auto site = MakeRectanglesSite({{80, 100}, {200, 140}, {320, 180}});
        page = site->GetPage(0);
        frame->GetOpenSite().OpenSite(std::move(site));
        Settle();
        ASSERT_NE(frame->GetPageWindows().GetActive(), nullptr);
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

// The command table in the four situations a user meets it in: each command's enabled state (E or -), check (x
// checked, . unchecked, blank not checkable) and, where it changes, its text, read from the menus as they open: the
// menu bar, the menus under the toolbar's Test and Send arrows and the page's context menu. Every command of these
// menus has its row.
class CommandTableTest : public FrameCommandsTest
{
protected:
    struct Row
    {
        int id;
        const char* enabled; // no site, a site and no selection, one object, a text being edited
        const char* checked;
        std::string text;
    };
    std::unique_ptr<wxMenu> contextMenu{wxXmlResource::Get()->LoadMenu("328")};

    std::vector<wxMenu*> Menus()
    {
        std::vector<wxMenu*> menus;
        wxMenuBar* bar = frame->GetMenuBar();
        for (size_t i = 0; i < bar->GetMenuCount(); ++i)
            menus.push_back(bar->GetMenu(i));
        for (int tool : {int(ID_TEST), int(ID_SEND)})
            menus.push_back(frame->GetMainToolBar()->FindById(tool)->GetDropdownMenu());
        menus.push_back(contextMenu.get());
        return menus;
    }
    // The first item of the command in the menus, its menu updated as it is when it opens.
    wxMenuItem* Find(int id)
    {
        for (wxMenu* menu : Menus()) {
            wxMenu* owner = nullptr;
            if (wxMenuItem* item = menu->FindItem(id, &owner)) {
                owner->UpdateUI(frame);
                return item;
            }
        }
        ADD_FAILURE() << "no menu holds command " << ProgramCommandId(id);
        return nullptr;
    }
    // What the item shows: E or -, then x, . or blank.
    std::string StateOf(wxMenuItem& item, char checkColumn)
    {
        std::string state(1, item.IsEnabled() ? 'E' : '-');
        state += checkColumn == ' ' ? ' ' : item.IsChecked() ? 'x' : '.';
        return state;
    }
    // The commands of every item in the menus (the browsers after the first come and go with the list).
    void CollectCommands(wxMenu& menu, std::set<int>& ids)
    {
        for (wxMenuItem* item : menu.GetMenuItems()) {
            if (item->IsSubMenu())
                CollectCommands(*item->GetSubMenu(), ids);
            else if (!item->IsSeparator() && (item->GetId() <= ID_FIRST_BROWSER || item->GetId() > ID_LAST_BROWSER))
                ids.insert(item->GetId());
        }
    }
};

TEST_F(CommandTableTest, EveryCommandFollowsItsRule)
{
    const std::string tool = "&" + ResourceText(5500);
    const std::vector<Row> table = {
        // File
        {WxCommandId(57600), "EEEE", "    ", ""},
        {WxCommandId(57601), "EEEE", "    ", "&Open Website...\tCtrl+O"},
        {WxCommandId(32865), "EEEE", "    ", ""},
        {WxCommandId(57603), "-EEE", "    ", ""},
        {WxCommandId(57604), "-EEE", "    ", ""},
        {WxCommandId(57602), "-EEE", "    ", ""},
        {WxCommandId(32943), "-EEE", "    ", ""},
        {WxCommandId(59427), "EEEE", "    ", ""},
        {WxCommandId(32944), "----", "    ", ""}, // the site has no files of its own
        {WxCommandId(32945), "----", "    ", ""},
        {ID_PRINT_SETUP, "EEEE", "    ", ""},
        {WxCommandId(57607), "-EE-", "    ", "&Print...\tCtrl+P"},
        {WxCommandId(57665), "EEEE", "    ", ""},
        // Edit (the clipboard is empty)
        {WxCommandId(57643), "----", "    ", ""},
        {WxCommandId(57644), "----", "    ", ""},
        {WxCommandId(57635), "--EE", "    ", ""},
        {WxCommandId(57634), "--EE", "    ", ""},
        {WxCommandId(32819), "--EE", "    ", ""},
        {WxCommandId(32818), "-EEE", "    ", ""},
        {WxCommandId(57637), "----", "    ", ""},
        {WxCommandId(32866), "-EE-", "    ", ""},
        {WxCommandId(32867), "----", "    ", ""},
        {WxCommandId(32892), "-EEE", "    ", ""},
        {WxCommandId(32894), "-EEE", "    ", ""},
        {WxCommandId(32896), "-EEE", "    ", ""},
        // Object
        {WxCommandId(32790), "--E-", "    ", ""},
        {WxCommandId(32791), "----", "    ", ""}, // the first object is at the back already
        {WxCommandId(32792), "--E-", "    ", ""},
        {WxCommandId(32793), "----", "    ", ""},
        {WxCommandId(32794), "----", "    ", ""},
        {ID_ALIGN_LEFT, "----", "    ", ""},
        {ID_ALIGN_RIGHT, "----", "    ", ""},
        {ID_ALIGN_TOP, "----", "    ", ""},
        {ID_ALIGN_BOTTOM, "----", "    ", ""},
        {ID_SCALE_TO_PICTURE_FILL, "--EE", "    ", ""},
        {ID_REMOVE_MOUSEOVER, "--E-", "    ", ""},
        // Tools
        {WxCommandId(32772), "-EEE", "    ", ""},
        {ID_DELETE_PAGE, "----", "    ", ""}, // one page window is open
        {WxCommandId(32773), "-EEE", "    ", ""},
        {WxCommandId(32774), "EEEE", "xxxx", ""},
        {WxCommandId(32775), "EEEE", "....", ""},
        {WxCommandId(32869), "EEEE", "....", ""},
        {WxCommandId(32776), "EEEE", "....", ""},
        {WxCommandId(32777), "EEEE", "....", ""},
        {WxCommandId(32853), "EEEE", "....", ""},
        {WxCommandId(32778), "EEEE", "....", ""},
        {WxCommandId(32780), "-EE-", "    ", ""},
        {WxCommandId(32802), "-EE-", "    ", ""},
        {WxCommandId(32800), "-EE-", "    ", ""},
        {WxCommandId(32779), "-EE-", "    ", ""},
        {ID_FIRST_TOOL_ITEM, "EEEE", "xxxx", tool},
        {ID_FIRST_TOOL_ITEM + 1, "EEEE", "....", "&" + ResourceText(5501)},
        {ID_FIRST_TOOL_ITEM + 2, "EEEE", "....", "&" + ResourceText(5511)},
        {ID_FIRST_TOOL_ITEM + 3, "EEEE", "....", "&Circle Tool"},
        {ID_FIRST_TOOL_ITEM + 4, "EEEE", "....", "&" + ResourceText(5504)},
        {ID_FIRST_TOOL_ITEM + 5, "EEEE", "....", "&" + ResourceText(5507)},
        {ID_LAST_TOOL_ITEM, "EEEE", "....", "&" + ResourceText(5512)},
        {WxCommandId(32832), "EEEE", "    ", ""},
        {WxCommandId(32833), "EEEE", "    ", ""},
        {WxCommandId(32834), "EEEE", "    ", ""},
        {WxCommandId(32835), "EEEE", "    ", ""},
        {WxCommandId(32836), "EEEE", "    ", ""},
        {WxCommandId(32837), "EEEE", "    ", ""},
        // Settings
        {WxCommandId(59392), "EEEE", "    ", ResourceText(3027)},
        {WxCommandId(32854), "EEEE", "    ", ResourceText(3011)},
        {WxCommandId(59426), "EEEE", "    ", ResourceText(3032)}, // no palette shows here
        {WxCommandId(59425), "EEEE", "    ", ResourceText(3029)},
        {WxCommandId(32849), "EEEE", "    ", ResourceText(3014)},
        {ID_USE_BUILT_IN_BROWSER, "EEEE", "xxxx", ""},
        {ID_USE_STANDARD_BROWSER, "EEEE", "....", ""},
        {ID_ADD_BROWSER, "EEEE", "    ", ""},
        {ID_REMOVE_BROWSER, "----", "    ", ""},
        {ID_FIRST_BROWSER, "----", "....", "Browsers"},
        {WxCommandId(32874), "EEEE", "    ", ""},
        {WxCommandId(32875), "EEEE", "    ", ""},
        {WxCommandId(32859), "EEE-", "    ", ""},
        {WxCommandId(32967), "----", "    ", ""}, // no Internet connection is set up
        {WxCommandId(32863), "-EEE", "    ", ""},
        {ID_PAGE_DEFAULTS, "-EE-", "    ", ""},
        // Help
        {WxCommandId(57667), "EEEE", "    ", ""},
        {ID_HELP_SUPPORT, "EEEE", "    ", ""},
        {ID_MORE_SOFTWARE, "EEEE", "    ", ""},
        {WxCommandId(57664), "EEEE", "    ", ""},
        // Under Send: the upload names no stored destination
        {WxCommandId(32968), "----", "    ", ResourceText(7041)},
        // The page's context menu: the guides, the grid and the inspector palettes
        {WxCommandId(32838), "-EEE", "    ", ""},
        {WxCommandId(32851), "-EEE", "    ", ""},
        {WxCommandId(32839), "----", "    ", ""}, // guides snap always; the item does nothing
        {WxCommandId(32840), "-EEE", "    ", ResourceText(3015)},
        {WxCommandId(32841), "----", "    ", ""},
        {WxCommandId(32845), "-EEE", "....", ""}, // no grid
        {WxCommandId(32846), "-EEE", "....", ""},
        {WxCommandId(32847), "-EEE", "....", ""},
        {WxCommandId(32842), "----", "    ", ""},
        {WxCommandId(32843), "----", "    ", ""},
        {WxCommandId(32844), "----", "    ", ""},
        {WxCommandId(32890), "EEEE", "....", ""},
        {WxCommandId(32891), "EEEE", "....", ""},
        {WxCommandId(32879), "EEEE", "....", ""},
        {WxCommandId(32880), "EEEE", "....", ""},
        {WxCommandId(32881), "EEEE", "....", ""},
        {WxCommandId(32893), "EEEE", "....", ""},
        {WxCommandId(32888), "EEEE", "....", ""},
        {WxCommandId(32883), "EEEE", "    ", ""},
    };
    auto check = [&](int column, const char* situation) {
        // Every submenu opens, whatever its commands allow.
        for (wxMenu* menu : Menus()) {
            menu->UpdateUI(frame);
            for (wxMenuItem* item : menu->GetMenuItems()) {
                if (item->IsSubMenu()) {
                    EXPECT_TRUE(item->IsEnabled()) << situation << ": " << item->GetItemLabelText();
                }
            }
        }
        for (const Row& row : table) {
            wxMenuItem* item = Find(row.id);
            if (!item)
                continue;
            const char checkColumn = row.checked[column];
            EXPECT_EQ(StateOf(*item, checkColumn), (std::string{row.enabled[column], checkColumn}))
                << situation << ": command " << ProgramCommandId(row.id);
            if (!row.text.empty()) {
                EXPECT_EQ(item->GetItemLabel(), wxString::FromUTF8(row.text))
                    << situation << ": command " << ProgramCommandId(row.id);
            }
        }
    };
    if (wxTheClipboard->Open()) {
        wxTheClipboard->Clear();
        wxTheClipboard->Close();
    }
    Start();
    std::set<int> commands;
    for (wxMenu* menu : Menus())
        CollectCommands(*menu, commands);
    for (const Row& row : table)
        commands.erase(row.id);
    for (int id : commands)
        ADD_FAILURE() << "command " << ProgramCommandId(id) << " (" << Find(id)->GetItemLabelText() << ") has no row";
    check(0, "no site");
    Close();

    Open();
    // The first rectangle has a mouse-over look and a picture fill.
    CPageItem* item = page->GetItem(0);
    item->SetMouseOverObject(item->GetObject(false)->Duplicate());
    auto fill = std::make_unique<CFillInfo>();
    fill->SetPicture(std::make_unique<CImage>(IMAGE_MODE_RGB, 40, 60));
    item->GetCurrentObject()->SetFill(std::move(fill));
    check(1, "a site and no selection");
    page->SelectItemAt(0);
    check(2, "one object");
    page->SetEditingInPlace(true);
    check(3, "a text being edited");
    page->SetEditingInPlace(false);
}

TEST_F(FrameCommandsTest, RemovingTheMouseOverEffectIsOneUndoStep)
{
    Open();
    CPageItem* item = page->GetItem(1);
    item->SetMouseOverObject(item->GetObject(false)->Duplicate());
    page->SelectItemAt(1);
    Command(ID_REMOVE_MOUSEOVER);
    EXPECT_FALSE(item->HasMouseOver());
    EXPECT_EQ(item->GetObject(true), nullptr);
    EXPECT_FALSE(Updated(ID_REMOVE_MOUSEOVER)->IsEnabled());
    page->GetUndoManager()->Undo();
    EXPECT_TRUE(item->HasMouseOver());
    EXPECT_NE(item->GetObject(true), nullptr);
}

// The toolbar's arrows open their menus (the toolbar shows a menu when the frame lets the arrow's event pass) only
// while a site is open.
TEST_F(FrameCommandsTest, ToolbarArrowsOpenTheirMenusOnlyWithASite)
{
    auto opens = [&](int tool) {
        COOBmpToolBar* toolbar = frame->GetMainToolBar();
        EXPECT_NE(toolbar->FindById(tool)->GetDropdownMenu(), nullptr) << tool;
        wxCommandEvent arrow(wxEVT_TOOL_DROPDOWN, tool);
        arrow.SetEventObject(toolbar);
        return !toolbar->HandleWindowEvent(arrow);
    };
    const int tools[] = {int(ID_SHOW_PAGE), int(ID_TEST), int(ID_SEND)};
    Start();
    for (int tool : tools)
        EXPECT_FALSE(opens(tool)) << tool;
    Close();
    Open();
    for (int tool : tools)
        EXPECT_TRUE(opens(tool)) << tool;
}

// Delete Page takes the active window's page and its window; the user says yes to the question.

} // namespace
