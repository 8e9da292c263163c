#include "platform/gui/tool_palette.h"

#include <gtk/gtk.h>
#include <wx/toplevel.h>

void MarkAsToolPalette(wxTopLevelWindow* window)
{
    GtkWidget* widget = window ? window->GetHandle() : nullptr;
    if (widget && GTK_IS_WINDOW(widget) && !gtk_widget_get_mapped(widget))
        gtk_window_set_type_hint(GTK_WINDOW(widget), GDK_WINDOW_TYPE_HINT_TOOLBAR);
}
