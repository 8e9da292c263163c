#pragma once

// What a shell test reads of the window manager's decisions about a top-level window: the actions it allows, and
// the title bar buttons those give.

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <wx/window.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

// The actions the window manager allows on a top-level window, by their names without "_NET_WM_ACTION_"
// (MINIMIZE, MAXIMIZE_HORZ, CLOSE, ...).
inline std::vector<std::string> AllowedActions(wxWindow* window)
{
    std::vector<std::string> actions;
    GdkWindow* gdk = window->GetHandle() ? gtk_widget_get_window(window->GetHandle()) : nullptr;
    if (!gdk || !GDK_IS_X11_WINDOW(gdk))
        return actions;
    Display* display = GDK_WINDOW_XDISPLAY(gdk);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, GDK_WINDOW_XID(gdk), XInternAtom(display, "_NET_WM_ALLOWED_ACTIONS", False), 0, 64,
                           False, XA_ATOM, &type, &format, &count, &after, &data) == Success &&
        data) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i)
            if (char* name = XGetAtomName(display, atoms[i])) {
                std::string text = name;
                XFree(name);
                const std::string prefix = "_NET_WM_ACTION_";
                actions.push_back(text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : text);
            }
        XFree(data);
    }
    return actions;
}

// The title bar buttons the window manager's actions allow: "minimise", "maximise" and "close", in that order,
// each where allowed.
inline std::string WindowButtons(wxWindow* window)
{
    const std::vector<std::string> actions = AllowedActions(window);
    const auto allows = [&](const char* action) {
        return std::find(actions.begin(), actions.end(), action) != actions.end();
    };
    std::string buttons;
    for (auto [action, button] : {std::pair{"MINIMIZE", "minimise"}, {"MAXIMIZE_HORZ", "maximise"}, {"CLOSE", "close"}})
        if (allows(action))
            buttons += std::string(buttons.empty() ? "" : " ") + button;
    return buttons;
}
