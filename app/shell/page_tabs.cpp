#include "app/shell/page_tabs.h"

#include <gtk/gtk.h>
#include <wx/mdi.h>

namespace {

// The name under which the tab's close button is kept on the tab's box.
constexpr const char* kCloseButtonKey = "pelorin-close-button";

// The close is asked for once the toolkit has finished with the click, since closing takes the button away.
void AskToClose(wxMDIChildFrame* window)
{
    window->CallAfter([window] { window->Close(); });
}

void OnCloseClicked(GtkButton*, gpointer window)
{
    AskToClose(static_cast<wxMDIChildFrame*>(window));
}

gboolean OnTabButtonReleased(GtkWidget*, GdkEventButton* event, gpointer window)
{
    if (event->button != 2)
        return FALSE;
    AskToClose(static_cast<wxMDIChildFrame*>(window));
    return TRUE;
}

GtkNotebook* TabsOf(wxMDIChildFrame* window)
{
    wxMDIParentFrame* parent = window->GetMDIParent();
    wxMDIClientWindowBase* client = parent ? parent->GetClientWindow() : nullptr;
    GtkWidget* widget = client ? client->GetHandle() : nullptr;
    return widget && GTK_IS_NOTEBOOK(widget) ? GTK_NOTEBOOK(widget) : nullptr;
}

wxRect ScreenRect(GtkWidget* widget)
{
    if (!widget || !gtk_widget_get_realized(widget) || !gtk_widget_get_mapped(widget))
        return wxRect();
    GtkAllocation area;
    gtk_widget_get_allocation(widget, &area);
    GtkWidget* top = gtk_widget_get_toplevel(widget);
    int x = 0, y = 0;
    if (!gtk_widget_translate_coordinates(widget, top, 0, 0, &x, &y))
        return wxRect();
    int originX = 0, originY = 0;
    gdk_window_get_origin(gtk_widget_get_window(top), &originX, &originY);
    return wxRect(originX + x, originY + y, area.width, area.height);
}

GtkWidget* TabLabel(wxMDIChildFrame* window)
{
    GtkNotebook* tabs = TabsOf(window);
    return tabs ? gtk_notebook_get_tab_label(tabs, window->GetHandle()) : nullptr;
}

} // namespace

void SetPageTabLabel(wxMDIChildFrame* window, const wxString& title)
{
    GtkNotebook* tabs = TabsOf(window);
    if (!tabs || !window->GetHandle())
        return;
    GtkWidget* label = gtk_label_new(title.utf8_str());
    GtkWidget* button = gtk_button_new_from_icon_name("window-close-symbolic", GTK_ICON_SIZE_MENU);
    gtk_button_set_relief(GTK_BUTTON(button), GTK_RELIEF_NONE);
    gtk_widget_set_focus_on_click(button, FALSE);
    gtk_widget_set_tooltip_text(button, "Close Page");
    gtk_style_context_add_class(gtk_widget_get_style_context(button), "flat");
    g_signal_connect(button, "clicked", G_CALLBACK(OnCloseClicked), window);

    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4);
    gtk_box_pack_start(GTK_BOX(row), label, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(row), button, FALSE, FALSE, 0);
    // The box catches the middle button; the notebook keeps the others for switching tabs.
    GtkWidget* catcher = gtk_event_box_new();
    gtk_event_box_set_visible_window(GTK_EVENT_BOX(catcher), FALSE);
    gtk_widget_add_events(catcher, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
    gtk_container_add(GTK_CONTAINER(catcher), row);
    g_signal_connect(catcher, "button-release-event", G_CALLBACK(OnTabButtonReleased), window);
    g_object_set_data(G_OBJECT(catcher), kCloseButtonKey, button);
    gtk_widget_show_all(catcher);
    gtk_notebook_set_tab_label(tabs, window->GetHandle(), catcher);
}

wxRect GetPageTabScreenRect(wxMDIChildFrame* window)
{
    return ScreenRect(TabLabel(window));
}

wxRect GetPageTabCloseButtonScreenRect(wxMDIChildFrame* window)
{
    GtkWidget* label = TabLabel(window);
    return label ? ScreenRect(static_cast<GtkWidget*>(g_object_get_data(G_OBJECT(label), kCloseButtonKey))) : wxRect();
}
