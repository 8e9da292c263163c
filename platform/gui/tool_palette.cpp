#include "platform/gui/tool_palette.h"

#include <cstring>

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/toplevel.h>

namespace {

bool IsUnmappedWindow(wxTopLevelWindow* window)
{
    GtkWidget* widget = window ? window->GetHandle() : nullptr;
    return widget && GTK_IS_WINDOW(widget) && !gtk_widget_get_mapped(widget);
}

// Whether the window manager running is one that leaves the function hints aside.
bool ManagerGoesByTypeAlone(wxTopLevelWindow* window)
{
    GdkScreen* screen = gtk_widget_get_screen(window->GetHandle());
    if (!screen || !GDK_IS_X11_SCREEN(screen))
        return false;
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    const char* name = gdk_x11_screen_get_window_manager_name(screen);
    G_GNUC_END_IGNORE_DEPRECATIONS
    return name && std::strcmp(name, "Openbox") == 0;
}

class CModalDialogButtons : public wxModalDialogHook
{
protected:
    int Enter(wxDialog* dialog) override
    {
        // The toolkit's own dialogs (the file choosers) are resizable too.
        if (IsUnmappedWindow(dialog) && !gtk_window_get_resizable(GTK_WINDOW(dialog->GetHandle())) &&
            ManagerGoesByTypeAlone(dialog))
            gtk_window_set_type_hint(GTK_WINDOW(dialog->GetHandle()), GDK_WINDOW_TYPE_HINT_TOOLBAR);
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}
};

} // namespace

void MarkAsToolPalette(wxTopLevelWindow* window)
{
    if (IsUnmappedWindow(window))
        gtk_window_set_type_hint(GTK_WINDOW(window->GetHandle()), GDK_WINDOW_TYPE_HINT_TOOLBAR);
}

void KeepModalDialogsToTheCloseBox()
{
    // Registered once for the program's run; the toolkit's list of hooks holds it until the end.
    static CModalDialogButtons* hook = nullptr;
    if (!hook) {
        hook = new CModalDialogButtons;
        hook->Register();
    }
}
