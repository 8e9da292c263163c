// The wait of the window tests: a test goes on once the windows are what the user would see, whatever the load on
// the machine, and never after a pause of a fixed length.

#include "testing/gui_settle.h"

#include <gdk/gdkx.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/app.h>
#include <wx/eventfilter.h>
#include <wx/timer.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using SettleClock = std::chrono::steady_clock;

// Guards against a hang only: a window that never maps or a frame that never ends. A round takes milliseconds, a
// few hundred on a machine loaded far beyond its processors.
constexpr auto kSettleLimit = std::chrono::seconds(60);
constexpr auto kConditionLimit = std::chrono::seconds(120);
// Once the windows are on the screen and have drawn this many rounds of frames they are as settled as they get: a
// window that animates delivers events in every round.
constexpr int kSettleRounds = 20;
// How long one wait for the toolkit may block before the limits above are looked at again: a wait for the next
// event, which any event ends early.
constexpr unsigned kWakeMs = 10;

// Counts the events delivered to the program's objects, leaving out those that come on their own: idle time, the
// updates of menus and tools that come with it, and timers (a clock, not a window that changed).
class DeliveredEvents : public wxEventFilter
{
public:
    DeliveredEvents() { wxEvtHandler::AddFilter(this); }
    ~DeliveredEvents() override { wxEvtHandler::RemoveFilter(this); }
    DeliveredEvents(const DeliveredEvents&) = delete;
    DeliveredEvents& operator=(const DeliveredEvents&) = delete;

    int FilterEvent(wxEvent& event) override
    {
        const wxEventType type = event.GetEventType();
        if (type != wxEVT_IDLE && type != wxEVT_UPDATE_UI && type != wxEVT_TIMER)
            ++count;
        return Event_Skip;
    }

    int count = 0;
};

// One pass of the main loop: dispatches what is ready, or waits for the next event, at most kWakeMs.
void IterateOnce()
{
    GSource* wake = g_timeout_source_new(kWakeMs);
    g_source_set_callback(
        wake, [](gpointer) { return gboolean(G_SOURCE_REMOVE); }, nullptr, nullptr);
    g_source_attach(wake, nullptr);
    g_main_context_iteration(nullptr, TRUE);
    g_source_destroy(wake);
    g_source_unref(wake);
}

// The windows on the screen as the toolkit has them: every shown top-level window, the program's own and the
// toolkit's (menus and other pop-ups), left out the minimised ones. Each holds a reference until the end.
class ShownWindows
{
public:
    ShownWindows()
    {
        GList* all = gtk_window_list_toplevels();
        for (GList* item = all; item; item = item->next) {
            GtkWidget* widget = GTK_WIDGET(item->data);
            GdkWindow* window = gtk_widget_get_window(widget);
            if (!gtk_widget_get_visible(widget) || !window)
                continue;
            const GdkWindowType type = gdk_window_get_window_type(window);
            if ((type != GDK_WINDOW_TOPLEVEL && type != GDK_WINDOW_TEMP) ||
                (gdk_window_get_state(window) & GDK_WINDOW_STATE_ICONIFIED))
                continue;
            m_windows.push_back({GTK_WIDGET(g_object_ref(widget)), GDK_WINDOW(g_object_ref(window))});
        }
        g_list_free(all);
    }
    ~ShownWindows()
    {
        for (const Shown& shown : m_windows) {
            g_object_unref(shown.window);
            g_object_unref(shown.widget);
        }
    }
    ShownWindows(const ShownWindows&) = delete;
    ShownWindows& operator=(const ShownWindows&) = delete;

    struct Shown
    {
        GtkWidget* widget;
        GdkWindow* window;
    };
    const std::vector<Shown>& Windows() const { return m_windows; }

private:
    std::vector<Shown> m_windows;
};

// A window as a failure names it: its kind and title.
std::string Describe(GtkWidget* widget)
{
    const char* title = GTK_IS_WINDOW(widget) ? gtk_window_get_title(GTK_WINDOW(widget)) : nullptr;
    return std::string(" ") + G_OBJECT_TYPE_NAME(widget) + " \"" + (title ? title : "") + "\"";
}

// Mapped as the display server has it: the window and every window around it (a window manager's frame) are on the
// screen, which the toolkit's own state does not tell apart from a window only asked to be shown.
bool IsOnScreen(GdkWindow* window)
{
    if (!GDK_IS_X11_WINDOW(window))
        return gdk_window_is_viewable(window);
    // A window the program destroys meanwhile is an error the display server answers, not one of the program's.
    GdkDisplay* display = gdk_window_get_display(window);
    gdk_x11_display_error_trap_push(display);
    XWindowAttributes attributes{};
    const bool viewable = XGetWindowAttributes(GDK_WINDOW_XDISPLAY(window), GDK_WINDOW_XID(window), &attributes) &&
                          attributes.map_state == IsViewable;
    gdk_x11_display_error_trap_pop_ignored(display);
    return viewable;
}

// The shown windows not on the screen yet; empty when there is none.
std::string WindowsNotOnScreen()
{
    std::string names;
    const ShownWindows shown;
    for (const ShownWindows::Shown& window : shown.Windows())
        if (!IsOnScreen(window.window))
            names += Describe(window.widget);
    return names;
}

// A window manager takes the clicks on the windows it manages first (to raise or focus them) and hands them on
// when it has dealt with them: input a test simulated reaches the program only after that. Waits until the manager
// has worked through everything it received so far, by a request it answers in order, the frame extents of a
// window that is never shown (answered by setting a property on it). Nothing to do on a display without one.
void WindowManagerRoundTrip(GdkDisplay* display, SettleClock::time_point deadline)
{
    if (!GDK_IS_X11_DISPLAY(display))
        return;
    Display* xdisplay = GDK_DISPLAY_XDISPLAY(display);
    const Window root = DefaultRootWindow(xdisplay);
    const Atom supportedAtom = XInternAtom(xdisplay, "_NET_SUPPORTED", False);
    const Atom checkAtom = XInternAtom(xdisplay, "_NET_SUPPORTING_WM_CHECK", False);
    const Atom request = XInternAtom(xdisplay, "_NET_REQUEST_FRAME_EXTENTS", False);
    const Atom extents = XInternAtom(xdisplay, "_NET_FRAME_EXTENTS", False);

    gdk_x11_display_error_trap_push(display);
    auto readProperty = [&](Window window, Atom property, Atom type, std::vector<unsigned long>& values) {
        Atom actual = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        values.clear();
        if (XGetWindowProperty(xdisplay, window, property, 0, 4096, False, type, &actual, &format, &count, &after,
                               &data) == Success &&
            data && format == 32) {
            const auto* longs = reinterpret_cast<const unsigned long*>(data);
            values.assign(longs, longs + count);
        }
        if (data)
            XFree(data);
        return !values.empty();
    };
    std::vector<unsigned long> values;
    // The manager's check window names a manager that runs, and the manager answers this request.
    bool managed = readProperty(root, checkAtom, XA_WINDOW, values);
    if (managed) {
        const Window check = values[0];
        managed = readProperty(check, checkAtom, XA_WINDOW, values) && values[0] == check &&
                  readProperty(root, supportedAtom, XA_ATOM, values) &&
                  std::find(values.begin(), values.end(), request) != values.end();
    }
    static Window probe = None;
    if (managed && probe == None)
        probe = XCreateSimpleWindow(xdisplay, root, -100, -100, 1, 1, 0, 0, 0);
    if (managed && probe != None) {
        XDeleteProperty(xdisplay, probe, extents);
        XEvent message{};
        message.xclient.type = ClientMessage;
        message.xclient.window = probe;
        message.xclient.message_type = request;
        message.xclient.format = 32;
        XSendEvent(xdisplay, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &message);
        XFlush(xdisplay);
        while (!readProperty(probe, extents, XA_CARDINAL, values) && SettleClock::now() < deadline)
            IterateOnce();
    }
    gdk_x11_display_error_trap_pop_ignored(display);
}

// Delivers what is queued: the toolkit's events, the program's posted events and calls, and idle time until no
// window asks for more (bounded, for a window that always does). False when some window still asked for more.
bool DeliverQueued()
{
    wxYield();
    for (int i = 0; i < 100; ++i)
        if (!wxTheApp->ProcessIdle())
            return true;
    return false;
}

// Whether the frame clock has a frame coming: GDK keeps one timer a clock while it has work for the next frame
// (sizes to lay out, areas to paint), and none while it has nothing to do or is held (a window not mapped yet).
bool FrameComing(GdkFrameClock* clock)
{
    return g_main_context_find_source_by_funcs_user_data(nullptr, &g_timeout_funcs, clock) != nullptr;
}

struct FrameWait
{
    GdkFrameClock* clock;
    std::string windows;
    gulong handler;
    bool drawn;
};

// Lets every shown window draw the frame it has coming, if any: the sizes, moves and paints asked for until now are
// then done. Names the windows whose frame did not end within the limit; empty when all did.
std::string DrawComingFrames(SettleClock::time_point deadline)
{
    std::vector<FrameWait> waits;
    const ShownWindows shown;
    for (const ShownWindows::Shown& window : shown.Windows()) {
        GdkFrameClock* clock = gdk_window_get_frame_clock(window.window);
        if (!clock)
            continue;
        auto known =
            std::find_if(waits.begin(), waits.end(), [&](const FrameWait& wait) { return wait.clock == clock; });
        if (known != waits.end())
            known->windows += Describe(window.widget);
        else
            waits.push_back({GDK_FRAME_CLOCK(g_object_ref(clock)), Describe(window.widget), 0, false});
    }
    // Connected once the vector no longer moves.
    for (FrameWait& wait : waits)
        wait.handler = g_signal_connect(
            wait.clock, "after-paint",
            G_CALLBACK(+[](GdkFrameClock*, gpointer data) { static_cast<FrameWait*>(data)->drawn = true; }), &wait);
    auto allDone = [&] {
        return std::all_of(waits.begin(), waits.end(),
                           [](const FrameWait& wait) { return wait.drawn || !FrameComing(wait.clock); });
    };
    while (!allDone() && SettleClock::now() < deadline)
        IterateOnce();
    std::string unfinished;
    for (FrameWait& wait : waits) {
        if (!wait.drawn && FrameComing(wait.clock))
            unfinished += wait.windows;
        g_signal_handler_disconnect(wait.clock, wait.handler);
        g_object_unref(wait.clock);
    }
    return unfinished;
}

void ReportUnsettled(const std::string& what)
{
    if (::testing::UnitTest::GetInstance()->current_test_info())
        ADD_FAILURE() << what;
    else
        std::fprintf(stderr, "%s\n", what.c_str());
}

} // namespace

void Settle()
{
    if (!wxTheApp)
        return;
    GdkDisplay* display = gdk_display_get_default();
    const auto deadline = SettleClock::now() + kSettleLimit;
    const std::string limit = std::to_string(kSettleLimit.count()) + " s";
    DeliveredEvents delivered;
    for (int round = 0;; ++round) {
        delivered.count = 0;
        // What the program asked of the display server so far has reached it; the events it made of that (maps,
        // sizes, exposures, the input a test simulated) are queued here before the answer to the sync.
        if (display) {
            gdk_display_sync(display);
            WindowManagerRoundTrip(display, deadline);
        }
        bool quiet = DeliverQueued();
        std::string notOnScreen = WindowsNotOnScreen();
        for (; !notOnScreen.empty() && SettleClock::now() < deadline; notOnScreen = WindowsNotOnScreen())
            IterateOnce();
        if (!notOnScreen.empty()) {
            ReportUnsettled("Settle: shown but not on the screen after " + limit + ":" + notOnScreen);
            return;
        }
        const std::string unfinished = DrawComingFrames(deadline);
        if (!unfinished.empty()) {
            ReportUnsettled("Settle: no frame drawn within " + limit + " by" + unfinished);
            return;
        }
        quiet = DeliverQueued() && quiet;
        if ((quiet && delivered.count == 0) || round + 1 >= kSettleRounds)
            return;
    }
}

bool SettleUntil(const std::function<bool()>& condition)
{
    const auto deadline = SettleClock::now() + kConditionLimit;
    for (;;) {
        if (condition())
            return true;
        if (SettleClock::now() >= deadline)
            return false;
        Settle();
        // What the condition waits on may come from another thread or process: a wait for the next event rather
        // than a busy turn.
        if (!condition())
            IterateOnce();
    }
}
