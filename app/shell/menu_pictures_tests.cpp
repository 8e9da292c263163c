// Every menu of the main window as it opens, written to test-output/shell/ for a person to look at: the menu bar's
// menus and the browser submenu, the menus under the toolbar's Test and Send arrows and the page's context menu,
// with a site open, one object selected and one browser added. The menus are drawn from their own windows, shown
// without the pointer grab that the toolkit gives a menu opened by the user, so that one process can show them all.

#include <gtk/gtk.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <wx/menu.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

#include "app/objects/rectangle_object.h"
#include "app/shell/main_toolbar.h"
#include "app/shell/program_services.h"
#include "app/shell/shell_test_support.h"
#include "testing/test_output.h"

namespace {

// Shows the menu's window at the screen's corner, draws it into a picture and hides it again.
bool SaveMenuPicture(wxMenu& menu, const std::filesystem::path& file)
{
    GtkWidget* items = menu.m_menu;
    GtkWidget* window = gtk_widget_get_toplevel(items);
    if (!GTK_IS_WINDOW(window))
        return false;
    gtk_widget_show(items);
    gtk_window_move(GTK_WINDOW(window), 40, 40);
    gtk_widget_show(window);
    Settle();
    const int width = gtk_widget_get_allocated_width(window);
    const int height = gtk_widget_get_allocated_height(window);
    bool saved = false;
    if (width > 1 && height > 1) {
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        cairo_t* context = cairo_create(surface);
        gtk_widget_draw(window, context);
        cairo_destroy(context);
        saved = cairo_surface_write_to_png(surface, file.c_str()) == CAIRO_STATUS_SUCCESS;
        cairo_surface_destroy(surface);
    }
    gtk_widget_hide(window);
    Settle();
    return saved;
}

class MenuPicturesTest : public ShellTest
{
protected:
    CProgramServices program;
    std::optional<SeamsInstalled<CProgramServices>> programSeams;

    void TearDown() override
    {
        programSeams.reset();
        Close();
    }
};

TEST_F(MenuPicturesTest, EveryMenuAsItOpens)
{
    Start();
    program.SetMainFrame(frame);
    programSeams.emplace(program);
    const std::string browser = scratch / "firefox.desktop";
    std::ofstream(browser) << "[Desktop Entry]\nType=Application\nName=Firefox Web Browser\nExec=firefox %u\n";
    frame->GetRun().EditBrowserPaths() = {browser};
    auto site = MakeSite({"Cakes", "Home"});
    CSitePage* page = site->GetPage(1);
    page->AddObject(std::make_unique<CRectangleObject>(80, 100, SIZE{80, 60}, 0.0));
    page->AddObject(std::make_unique<CRectangleObject>(200, 100, SIZE{80, 60}, 0.0));
    frame->GetOpenSite().OpenSite(std::move(site));
    Settle();
    page->SelectItemAt(0);

    const std::filesystem::path folder = TestOutputFolder() / "shell";
    std::filesystem::create_directories(folder);
    auto save = [&](wxMenu* menu, const std::string& name) {
        ASSERT_NE(menu, nullptr) << name;
        menu->UpdateUI(frame);
        EXPECT_TRUE(SaveMenuPicture(*menu, folder / ("menu_" + name + ".png"))) << name;
    };
    wxMenuBar* bar = frame->GetMenuBar();
    for (size_t i = 0; i < bar->GetMenuCount(); ++i) {
        wxMenu* menu = bar->GetMenu(i);
        save(menu, bar->GetMenuLabelText(i).Lower().ToStdString());
        for (wxMenuItem* item : menu->GetMenuItems())
            if (item->IsSubMenu()) {
                // A submenu updates as it opens, from its parent's window.
                item->GetSubMenu()->UpdateUI(frame);
                save(item->GetSubMenu(), "browsers");
            }
    }
    COOBmpToolBar* toolbar = frame->GetMainToolBar();
    save(toolbar->FindById(ID_TEST)->GetDropdownMenu(), "test");
    save(toolbar->FindById(ID_SEND)->GetDropdownMenu(), "send");
    std::unique_ptr<wxMenu> context(wxXmlResource::Get()->LoadMenu("328"));
    save(context.get(), "context");
    for (wxMenuItem* item : context->GetMenuItems())
        if (item->IsSubMenu())
            save(item->GetSubMenu(), "context_" + item->GetItemLabelText().Lower().ToStdString());
}

} // namespace
