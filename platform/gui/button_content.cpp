#include "platform/gui/button_content.h"

#include <gtk/gtk.h>
#include <wx/button.h>

void AlignButtonContentStart(wxButton& button)
{
    GtkWidget* widget = button.GetHandle();
    if (!widget || !GTK_IS_BIN(widget))
        return;
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(widget));
    if (!child)
        return;
    gtk_widget_set_halign(child, GTK_ALIGN_START);
    gtk_widget_set_hexpand(child, FALSE);
}
