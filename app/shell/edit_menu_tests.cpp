// The Edit menu as the user meets it: its items follow the page's selection, Ctrl+Z and Ctrl+Y take a move back
// and forward, Ctrl+G groups and ungroups, the view's context menu inserts a guide where it was opened, and the
// Insert HTML dialog's fields open the program's Edit menu.

#include "app/shell/edit_menu.h"

#include "app/dialogs/insert_html_dlg.h"
#include "app/docview/design_view.h"
#include "app/model/undo_manager.h"
#include "app/objects/rectangle_object.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/program_services.h"
#include "app/shell/shell_test_support.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "platform/gui/window_picture.h"
#include "testing/test_output.h"

#include <gtk/gtk.h>

#include <functional>
#include <set>
#include <wx/image.h>
#include <wx/menu.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/xrc/xmlres.h>

namespace {

// A site whose front page holds three rectangles, shown in its window, with the program's own services: the
// real undo history and the active view.
class EditMenuTest : public ProgramShellTest<CProgramServices>
{
protected:
    CSitePage* page = nullptr;
    COrvelView* view = nullptr;

    void Open()
    {
        StartProgram();
        auto site = MakeRectanglesSite({{80, 100}, {200, 100}, {320, 100}});
        page = site->GetPage(0);
        frame->GetOpenSite().OpenSite(std::move(site));
        Settle();
        ASSERT_NE(frame->GetPageWindows().GetActive(), nullptr);
        view = frame->GetPageWindows().GetActive()->GetView();
        ASSERT_EQ(view->GetPage(), page);
    }

    wxMenu* EditMenu()
    {
        wxMenuBar* menus = frame->GetMenuBar();
        wxMenu* edit = menus->GetMenu(static_cast<size_t>(menus->FindMenu("Edit")));
        edit->UpdateUI(frame);
        return edit;
    }
    wxMenu* ObjectMenu()
    {
        wxMenuBar* menus = frame->GetMenuBar();
        wxMenu* object = menus->GetMenu(static_cast<size_t>(menus->FindMenu("Object")));
        object->UpdateUI(frame);
        return object;
    }
    // Which of the Edit menu's items are enabled, in menu order: Undo, Redo, Cut, Copy, Paste, Delete, Select All.
    std::string EditStates()
    {
        wxMenu* edit = EditMenu();
        std::string states;
        for (int id : {int(ID_EDIT_UNDO), int(ID_EDIT_REDO), int(ID_EDIT_CUT), int(ID_EDIT_COPY), int(ID_EDIT_PASTE),
                       int(ID_EDIT_DELETE), int(ID_EDIT_SELECT_ALL)})
            states += edit->IsEnabled(id) ? '1' : '0';
        return states;
    }
    void Command(int id)
    {
        wxCommandEvent event(wxEVT_MENU, id);
        frame->GetEventHandler()->ProcessEvent(event);
    }
    // Presses a key with Ctrl on the view, as the keyboard does.
    void PressCtrl(char key)
    {
        wxUIActionSimulator keys;
        const wxRect area = view->GetScreenRect();
        keys.MouseMove(area.GetLeft() + area.GetWidth() / 2, area.GetTop() + area.GetHeight() / 2);
        view->SetFocus();
        Settle();
        keys.Char(key, wxMOD_CONTROL);
        Settle();
    }
    CPoint Centre(int i) const
    {
        const CRect rect = page->GetItem(i)->GetRect();
        return CPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }
};

TEST_F(EditMenuTest, ItemsFollowTheSelection)
{
    Open();
    struct Case
    {
        const char* name;
        std::function<void(CSitePage&)> select;
        const char* states;
        bool group;
        const char* groupText;
    };
    const std::vector<Case> cases = {
        {"nothing selected", [](CSitePage& p) { p.ClearSelection(); }, "0000001", false, "Create/Remove Group"},
        {"one object", [](CSitePage& p) { p.SelectItemAt(0); }, "0011011", false, "Create/Remove Group"},
        {"two objects",
         [](CSitePage& p) {
             p.SelectItemAt(0);
             p.AddItemToSelection(2);
         },
         "0011011", true, "Create Group"},
        {"a group", [](CSitePage& p) { p.CreateGroup(); }, "0011011", true, "Remove Group"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.select(*page);
        EXPECT_EQ(EditStates(), c.states);
        wxMenu* object = ObjectMenu();
        EXPECT_EQ(object->IsEnabled(ID_EDIT_GROUP), c.group);
        if (c.group) {
            EXPECT_EQ(object->GetLabelText(ID_EDIT_GROUP), c.groupText);
        }
    }

    // A step taken: Undo is offered, and after it Redo; while a text is edited in place neither is.
    page->ClearSelection();
    page->SelectItemAt(1);
    Command(ID_BRING_TO_FRONT);
    EXPECT_EQ(EditStates(), "1011011");
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(EditStates(), "0111011");
    page->SetEditingInPlace(true);
    EXPECT_EQ(EditStates(), "0011011");
    EXPECT_FALSE(ObjectMenu()->IsEnabled(ID_BRING_TO_FRONT));
    page->SetEditingInPlace(false);
    EXPECT_TRUE(ObjectMenu()->IsEnabled(ID_BRING_TO_FRONT));

    // Delete takes the selection away, and Undo brings it back.
    Command(ID_EDIT_DELETE);
    EXPECT_EQ(page->GetItemCount(), 2);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(page->GetItemCount(), 3);
    EXPECT_TRUE(page->IsItemSelected(1));
}

TEST_F(EditMenuTest, CtrlZAndCtrlYTakeAMoveBackAndForward)
{
    Open();
    page->SelectItemAt(1);
    const CPoint start = Centre(1);
    // A move of the selection as the view's tools make it: a step first, then the frame carries its items.
    page->GetUndoManager()->RecordUndo(UndoKind::geometry);
    page->GetSingleSelectedFrame()->MoveBy(30, 20);
    page->RenderDirtyObjects();
    view->Refresh();
    const CPoint moved = Centre(1);
    ASSERT_EQ(moved, CPoint(start.x + 30, start.y + 20));

    PressCtrl('z');
    EXPECT_EQ(Centre(1), start);
    EXPECT_FALSE(page->GetUndoManager()->CanUndo());
    PressCtrl('y');
    EXPECT_EQ(Centre(1), moved);
    EXPECT_TRUE(page->GetUndoManager()->CanUndo());
}

// Ctrl+G, the one key of Create/Remove Group, makes a group of the selected objects and takes a selected group
// apart again, whether the menu that holds it was opened before or not; the item keeps its key whichever text it
// shows.
TEST_F(EditMenuTest, CtrlGGroupsAndUngroups)
{
    Open();
    for (bool menuOpened : {false, true}) {
        SCOPED_TRACE(menuOpened ? "the Object menu opened before each key" : "no menu opened");
        page->ClearSelection();
        page->SelectItemAt(0);
        page->AddItemToSelection(2);
        const auto press = [&] {
            if (menuOpened)
                ObjectMenu();
            PressCtrl('g');
        };
        press();
        if (!page->IsSingleUserGroupSelected()) {
            ADD_FAILURE() << "Ctrl+G made no group";
            continue;
        }
        EXPECT_EQ(page->GetSelectedGroup()->GetItemCount(), 2);
        press();
        EXPECT_FALSE(page->IsSingleUserGroupSelected());
        EXPECT_EQ(page->GetSelectedItemCount(), 2) << "the members stay selected";
        EXPECT_FALSE(page->IsItemGrouped(1));
    }

    for (bool grouped : {false, true}) {
        SCOPED_TRACE(grouped ? "a group selected" : "two objects selected");
        if (grouped)
            Command(ID_EDIT_GROUP);
        ASSERT_EQ(page->IsSingleUserGroupSelected(), grouped);
        const wxMenuItem* item = ObjectMenu()->FindItem(ID_EDIT_GROUP);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->GetItemLabel().EndsWith("\tCtrl+G")) << item->GetItemLabel();
    }
}

// The menu commands sent, wherever they go, each once.
class CommandWatch : public wxEventFilter
{
public:
    CommandWatch() { wxEvtHandler::AddFilter(this); }
    ~CommandWatch() override { wxEvtHandler::RemoveFilter(this); }
    int FilterEvent(wxEvent& event) override
    {
        if (event.GetEventType() == wxEVT_MENU)
            commands.insert(event.GetId());
        return Event_Skip;
    }
    std::set<int> commands;
};

// The popup menu that holds the keyboard and the pointer now; null while none is open.
GtkWidget* OpenMenu()
{
    GtkWidget* grab = gtk_grab_get_current();
    return grab && GTK_IS_MENU(grab) ? grab : nullptr;
}

// A menu's items by their texts with their mnemonics ("Cu_t"), "-" for a separator.
std::vector<std::string> MenuItems(GtkWidget* menu)
{
    std::vector<std::string> items;
    GList* children = gtk_container_get_children(GTK_CONTAINER(menu));
    for (GList* child = children; child; child = child->next) {
        GtkWidget* item = GTK_WIDGET(child->data);
        if (!gtk_widget_get_visible(item) || !GTK_IS_MENU_ITEM(item))
            continue;
        const char* label = gtk_menu_item_get_label(GTK_MENU_ITEM(item));
        items.push_back(GTK_IS_SEPARATOR_MENU_ITEM(item) ? "-" : label ? label : "");
    }
    g_list_free(children);
    return items;
}

// The Insert HTML dialog's text fields open the program's own Edit menu on the right button, not the toolkit's.
// Its commands go to the main window, which passes Cut, Copy and Paste on to the dialog's code (never to the
// page's objects behind it) and whose Delete removes no code; Paste from the name's menu pastes into the code.
// The menu over the dialog: test-output/insert_html_context_menu.png.
TEST_F(EditMenuTest, InsertHtmlFieldsOfferTheProgramsEditMenu)
{
    Open();
    page->SelectItemAt(0);
    const std::vector<std::string> programMenu = {"Cu_t", "_Copy", "_Paste", "-", "_Delete"};
    CommandWatch watch;
    // Once a menu holds the keys (and, for the picture, once it is drawn) the user picks an item with them: Down
    // from the top reaches the first item that can be chosen, Up the last. Any other menu is closed.
    wxTimer picker;
    int pickKey = 0;
    wxRect picture;
    GtkWidget* seen = nullptr;
    bool drawn = false;
    std::vector<std::string> opened;
    picker.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        GtkWidget* menu = OpenMenu();
        if (!menu)
            return;
        if (!picture.IsEmpty()) {
            if (menu != seen) {
                seen = menu;
                drawn = false;
                g_signal_connect_after(menu, "draw", G_CALLBACK(+[](GtkWidget*, cairo_t*, gpointer flag) -> gboolean {
                                           *static_cast<bool*>(flag) = true;
                                           return FALSE;
                                       }),
                                       &drawn);
                gtk_widget_queue_draw(menu);
                return;
            }
            if (!drawn)
                return;
            SaveScreenPicture(picture,
                              wxString::FromUTF8((TestOutputFolder() / "insert_html_context_menu.png").string()));
        }
        picker.Stop();
        opened = MenuItems(menu);
        wxUIActionSimulator keys;
        if (opened != programMenu) {
            keys.Char(WXK_ESCAPE);
            return;
        }
        keys.Char(pickKey);
        keys.Char(WXK_RETURN);
    });
    const auto choose = [&](wxWindow* window, int key) {
        pickKey = key;
        opened.clear();
        watch.commands.clear();
        const wxRect area = window->GetScreenRect();
        wxUIActionSimulator mouse;
        mouse.MouseMove(area.GetLeft() + 20, area.GetTop() + area.GetHeight() / 2);
        Settle();
        picker.Start(20);
        mouse.MouseDown(wxMOUSE_BTN_RIGHT);
        mouse.MouseUp(wxMOUSE_BTN_RIGHT);
        SettleUntil([&] { return !picker.IsRunning(); });
        picker.Stop();
        if (opened == programMenu)
            SettleUntil([&] { return !watch.commands.empty(); });
        return std::make_pair(opened, watch.commands);
    };
    using Chosen = std::pair<std::vector<std::string>, std::set<int>>;
    const wxString code = "<p>Fresh bread every morning</p>";
    Chosen deleted, cut, pasted;
    wxString afterDelete, afterCut, afterPaste, name;
    frame->CallAfter([&] {
        CInsertHtmlDLG* dialog = nullptr;
        const bool shown =
            SettleUntil([&] { return (dialog = ModalDialog<CInsertHtmlDLG>()) && dialog->IsShownOnScreen(); });
        auto* body = dialog ? dynamic_cast<wxTextCtrl*>(dialog->FindWindow(1548)) : nullptr;
        auto* nameField = dialog ? dynamic_cast<wxTextCtrl*>(dialog->FindWindow(1550)) : nullptr;
        if (shown && body && nameField) {
            body->SetFocus();
            body->SelectAll();
            picture = dialog->GetScreenRect();
            deleted = choose(body, WXK_UP);
            afterDelete = body->GetValue();
            picture = wxRect();
            body->SelectAll();
            cut = choose(body, WXK_DOWN);
            afterCut = body->GetValue();
            // Nothing is selected in the code now: the first item to choose is Paste.
            pasted = choose(nameField, WXK_DOWN);
            afterPaste = body->GetValue();
            name = nameField->GetValue();
        }
        if (dialog)
            dialog->EndModal(wxID_CANCEL);
    });
    HtmlObjectTexts texts{"Banner", std::string(code.ToUTF8()), "", "", {}};
    program.RunInsertHtmlDialog(texts);

    EXPECT_EQ(deleted, Chosen(programMenu, {ID_EDIT_DELETE}));
    EXPECT_EQ(afterDelete, code) << "Delete removes no code";
    EXPECT_EQ(cut, Chosen(programMenu, {ID_EDIT_CUT}));
    EXPECT_EQ(afterCut, "");
    EXPECT_EQ(page->GetItemCount(), 3) << "the page's selected object stays";
    EXPECT_EQ(pasted, Chosen(programMenu, {ID_EDIT_PASTE}));
    EXPECT_EQ(afterPaste, code) << "pasted into the code";
    EXPECT_EQ(name, "Banner");
}

// The Edit menu open over the page: test-output/edit_menu.png.
TEST_F(EditMenuTest, EditMenuPicture)
{
    Open();
    page->SelectItemAt(0);
    page->AddItemToSelection(1);
    Command(ID_EDIT_GROUP);
    Settle();
    wxUIActionSimulator keys;
    const wxRect area = frame->GetScreenRect();
    keys.MouseMove(area.GetLeft() + area.GetWidth() / 2, area.GetTop() + area.GetHeight() / 2);
    Settle();
    keys.Char('e', wxMOD_ALT);
    for (int i = 0; i < 5; ++i)
        Settle();

    EXPECT_TRUE(SaveScreenPicture(area, wxString::FromUTF8((TestOutputFolder() / "edit_menu.png").string())));
    keys.Char(WXK_ESCAPE);
    Settle();
}

// The context menu opened on the page: the guide it inserts lies at the point it was opened at.
TEST_F(EditMenuTest, AGuideGoesWhereTheContextMenuWasOpened)
{
    Open();
    const CPoint origin = view->GetPageOrigin();
    const wxPoint screen = view->ClientToScreen(wxPoint(origin.x + 150, origin.y + 210));
    // While the menu is open, the user picks Insert Horizontal Guide; then the menu goes. The menu is open once it
    // holds the pointer and keyboard: the toolkit may run timers while it still builds the menu (asking the
    // clipboard what it offers for Paste), and a pick then would close a menu not yet shown.
    wxTimer pick;
    pick.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (!GTK_IS_MENU(gtk_grab_get_current()))
            return;
        pick.Stop();
        Command(ID_INSERT_HORIZONTAL_GUIDE);
        wxUIActionSimulator().Char(WXK_ESCAPE);
    });
    pick.Start(20);
    wxContextMenuEvent open(wxEVT_CONTEXT_MENU, view->GetId(), screen);
    open.SetEventObject(view);
    view->GetEventHandler()->ProcessEvent(open);
    Settle();
    ASSERT_EQ(page->GetGuideCount(true), 1);
    EXPECT_EQ(page->GetGuide(true, 0), 210);
    // The point is used up: the next guide goes to the middle of the page.
    Command(ID_INSERT_VERTICAL_GUIDE);
    ASSERT_EQ(page->GetGuideCount(false), 1);
    EXPECT_EQ(page->GetGuide(false, 0), page->GetWidth() / 2);

    // The context menu's guide items: the hide item offers the opposite of what is shown, the grid in force is
    // checked, and removing the guides switches the grid off.
    std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu("328"));
    ASSERT_TRUE(menu);
    Command(ID_GRID_2X);
    Command(ID_HIDE_GUIDES);
    menu->UpdateUI(frame);
    EXPECT_EQ(menu->GetLabelText(ID_HIDE_GUIDES), "Show Guides");
    EXPECT_TRUE(menu->IsChecked(ID_GRID_2X));
    EXPECT_FALSE(menu->IsChecked(ID_GRID_1X));
    EXPECT_TRUE(menu->IsEnabled(ID_REMOVE_GUIDES));
    Command(ID_REMOVE_GUIDES);
    Command(ID_HIDE_GUIDES);
    menu->UpdateUI(frame);
    EXPECT_EQ(menu->GetLabelText(ID_HIDE_GUIDES), "Hide Guides");
    EXPECT_FALSE(menu->IsChecked(ID_GRID_2X));
    EXPECT_FALSE(menu->IsEnabled(ID_REMOVE_GUIDES));
    EXPECT_FALSE(menu->IsEnabled(ID_CENTER_BETWEEN_GUIDES));
}

} // namespace
