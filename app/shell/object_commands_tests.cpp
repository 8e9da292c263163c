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
    const std::string tool = "&" + ResourceText(IDS_ARROW_TOOL);
    const std::vector<Row> table = {
        // File
        {ID_FILE_NEW, "EEEE", "    ", ""},
        {ID_FILE_OPEN, "EEEE", "    ", "&Open Website...\tCtrl+O"},
        {ID_FILE_NEW_FROM_THEME, "EEEE", "    ", ""},
        {ID_FILE_SAVE, "-EEE", "    ", ""},
        {ID_FILE_SAVE_AS, "-EEE", "    ", ""},
        {ID_FILE_CLOSE, "-EEE", "    ", ""},
        {ID_ADD_FILES, "-EEE", "    ", ""},
        {ID_ADD_FILES_FROM_XML, "EEEE", "    ", ""},
        {ID_REMOVE_FILES, "----", "    ", ""}, // the site has no files of its own
        {ID_SITE_MAP, "----", "    ", ""},
        {ID_PRINT_SETUP, "EEEE", "    ", ""},
        {ID_FILE_PRINT, "-EE-", "    ", "&Print...\tCtrl+P"},
        {ID_APP_EXIT, "EEEE", "    ", ""},
        // Edit (the clipboard is empty)
        {ID_EDIT_UNDO, "----", "    ", ""},
        {ID_EDIT_REDO, "----", "    ", ""},
        {ID_EDIT_CUT, "--EE", "    ", ""},
        {ID_EDIT_COPY, "--EE", "    ", ""},
        {ID_EDIT_DELETE, "--EE", "    ", ""},
        {ID_EDIT_SELECT_ALL, "-EEE", "    ", ""},
        {ID_EDIT_PASTE, "----", "    ", ""},
        {ID_COPY_BACKGROUND, "-EE-", "    ", ""},
        {ID_PASTE_BACKGROUND, "----", "    ", ""},
        {ID_EDIT_HEADER, "-EEE", "    ", ""},
        {ID_EDIT_META_TAGS, "-EEE", "    ", ""},
        {ID_INSERT_ANALYTICS, "-EEE", "    ", ""},
        // Object
        {ID_BRING_TO_FRONT, "--E-", "    ", ""},
        {ID_SEND_TO_BACK, "----", "    ", ""}, // the first object is at the back already
        {ID_BRING_FORWARD, "--E-", "    ", ""},
        {ID_SEND_BACKWARD, "----", "    ", ""},
        {ID_EDIT_GROUP, "----", "    ", ""},
        {ID_ALIGN_LEFT, "----", "    ", ""},
        {ID_ALIGN_RIGHT, "----", "    ", ""},
        {ID_ALIGN_TOP, "----", "    ", ""},
        {ID_ALIGN_BOTTOM, "----", "    ", ""},
        {ID_SCALE_TO_PICTURE_FILL, "--EE", "    ", ""},
        {ID_REMOVE_MOUSEOVER, "--E-", "    ", ""},
        // Tools
        {ID_ADD_PAGE, "-EEE", "    ", ""},
        {ID_DELETE_PAGE, "----", "    ", ""}, // one page window is open
        {ID_SHOW_PAGE, "-EEE", "    ", ""},
        {ID_PAGE_INSPECTOR, "EEEE", "xxxx", ""},
        {ID_OBJECT_INSPECTOR, "EEEE", "....", ""},
        {ID_LINK_INSPECTOR, "EEEE", "....", ""},
        {ID_FILL_INSPECTOR, "EEEE", "....", ""},
        {ID_EFFECTS_INSPECTOR, "EEEE", "....", ""},
        {ID_STYLES_INSPECTOR, "EEEE", "....", ""},
        {ID_MOUSEOVER_INSPECTOR, "EEEE", "....", ""},
        {ID_TEST, "-EE-", "    ", ""},
        {ID_PREVIEW_WEBSITE, "-EE-", "    ", ""},
        {ID_PREVIEW_CURRENT_PAGE, "-EE-", "    ", ""},
        {ID_SEND, "-EE-", "    ", ""},
        {ID_FIRST_TOOL_ITEM, "EEEE", "xxxx", tool},
        {ID_FIRST_TOOL_ITEM + 1, "EEEE", "....", "&" + ResourceText(IDS_TEXT_TOOL)},
        {ID_FIRST_TOOL_ITEM + 2, "EEEE", "....", "&" + ResourceText(IDS_SHAPE_TOOL)},
        {ID_FIRST_TOOL_ITEM + 3, "EEEE", "....", "&Circle Tool"},
        {ID_FIRST_TOOL_ITEM + 4, "EEEE", "....", "&" + ResourceText(IDS_PICTURE_TOOL)},
        {ID_FIRST_TOOL_ITEM + 5, "EEEE", "....", "&" + ResourceText(IDS_HTML_TOOL)},
        {ID_LAST_TOOL_ITEM, "EEEE", "....", "&" + ResourceText(IDS_FLASH_TOOL)},
        {ID_FONT_STUDIO, "EEEE", "    ", ""},
        {ID_BUTTON_MAKER, "EEEE", "    ", ""},
        {ID_IMAGE_EDITOR, "EEEE", "    ", ""},
        {ID_BANNER_ANIMATOR, "EEEE", "    ", ""},
        {ID_LOGO_DESIGNER, "EEEE", "    ", ""},
        {ID_LAST_COMPANION_TOOL, "EEEE", "    ", ""},
        // Settings
        {ID_VIEW_TOOLBAR, "EEEE", "    ", ResourceText(IDS_HIDE_TOOLBAR)},
        {ID_VIEW_BUTTON_TEXTS, "EEEE", "    ", ResourceText(IDS_HIDE_BUTTON_TEXTS)},
        {ID_VIEW_INSPECTOR, "EEEE", "    ", ResourceText(IDS_SHOW_INSPECTOR)}, // no palette shows here
        {ID_VIEW_TOOLBOX, "EEEE", "    ", ResourceText(IDS_HIDE_TOOLBOX)},
        {ID_VIEW_STATUS_BAR, "EEEE", "    ", ResourceText(IDS_HIDE_STATUS_BAR)},
        {ID_USE_BUILT_IN_BROWSER, "EEEE", "xxxx", ""},
        {ID_USE_STANDARD_BROWSER, "EEEE", "....", ""},
        {ID_ADD_BROWSER, "EEEE", "    ", ""},
        {ID_REMOVE_BROWSER, "----", "    ", ""},
        {ID_FIRST_BROWSER, "----", "....", "Browsers"},
        {ID_BACKGROUND_PREFERENCES, "EEEE", "    ", ""},
        {ID_HELP_DIALOGS, "EEEE", "    ", ""},
        {ID_INTERNET_SETUP, "EEE-", "    ", ""},
        {ID_TEST_CONNECTIONS, "----", "    ", ""}, // no Internet connection is set up
        {ID_REMOVE_WEBSITE, "-EEE", "    ", ""},
        {ID_PAGE_DEFAULTS, "-EE-", "    ", ""},
        // Help
        {ID_HELP_FINDER, "EEEE", "    ", ""},
        {ID_HELP_SUPPORT, "EEEE", "    ", ""},
        {ID_MORE_SOFTWARE, "EEEE", "    ", ""},
        {ID_APP_ABOUT, "EEEE", "    ", ""},
        // Under Send: the upload names no stored destination
        {ID_UPLOAD, "----", "    ", ResourceText(IDS_UPLOAD)},
        // The page's context menu: the guides, the grid and the inspector palettes
        {ID_INSERT_HORIZONTAL_GUIDE, "-EEE", "    ", ""},
        {ID_INSERT_VERTICAL_GUIDE, "-EEE", "    ", ""},
        {ID_USE_GUIDES, "----", "    ", ""}, // guides snap always; the item does nothing
        {ID_HIDE_GUIDES, "-EEE", "    ", ResourceText(IDS_HIDE_GUIDES)},
        {ID_REMOVE_GUIDES, "----", "    ", ""},
        {ID_GRID_1X, "-EEE", "....", ""}, // no grid
        {ID_GRID_2X, "-EEE", "....", ""},
        {ID_GRID_4X, "-EEE", "....", ""},
        {ID_SPACE_HORIZONTALLY, "----", "    ", ""},
        {ID_SPACE_VERTICALLY, "----", "    ", ""},
        {ID_CENTER_BETWEEN_GUIDES, "----", "    ", ""},
        {ID_POPUP_PAGE_INSPECTOR, "EEEE", "....", ""},
        {ID_POPUP_OBJECT_INSPECTOR, "EEEE", "....", ""},
        {ID_POPUP_LINK_INSPECTOR, "EEEE", "....", ""},
        {ID_POPUP_FILL_INSPECTOR, "EEEE", "....", ""},
        {ID_POPUP_EFFECTS_INSPECTOR, "EEEE", "....", ""},
        {ID_POPUP_STYLES_INSPECTOR, "EEEE", "....", ""},
        {ID_POPUP_MOUSEOVER_INSPECTOR, "EEEE", "....", ""},
        {ID_POPUP_ALT_TEXT, "EEEE", "    ", ""},
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
