// The module behind platform/gui/web_view.h: the toolkit's web view (WebKitGTK) behind the program's own small
// interface. Only this file links the toolkit's web view library.

#include "platform/gui/web_view.h"

#include <glib-object.h>
#include <wx/filename.h>
#include <wx/webview.h>

#include <memory>
#include <string>
#include <utility>

namespace {

class CToolkitWebView : public CWebView
{
public:
    explicit CToolkitWebView(wxWebView* view) : m_pView(view) {}

    wxWindow* GetWindow() override { return m_pView; }
    bool CanGoBack() override { return m_pView->CanGoBack(); }
    bool CanGoForward() override { return m_pView->CanGoForward(); }
    void GoBack() override { m_pView->GoBack(); }
    void GoForward() override { m_pView->GoForward(); }
    void Reload() override { m_pView->Reload(); }
    void Print() override { m_pView->Print(); }
    bool IsBusy() override { return m_pView->IsBusy(); }
    std::string GetCurrentAddress() override { return m_pView->GetCurrentURL().utf8_string(); }

private:
    // Owned by its parent window.
    wxWebView* m_pView;
};

bool IsToolkitWebViewAvailable()
{
    return wxWebView::IsBackendAvailable(wxWebViewBackendDefault);
}

// The page's status text as the browser engine knows it: the link under the pointer. Told only when it changes.
// Owned by the engine's view, which frees it with its signal handler.
class CStatusText
{
public:
    explicit CStatusText(std::function<void(const std::string&)> tell) : m_tell(std::move(tell)) {}

    void Set(const std::string& text)
    {
        if (text == m_text)
            return;
        m_text = text;
        m_tell(text);
    }

    // The engine's view (WebKitWebView) emits "mouse-target-changed" with what lies under the pointer (a
    // WebKitHitTestResult, read by its properties) whenever that changes.
    static void OnMouseTarget(GObject*, GObject* target, guint, gpointer data)
    {
        gchar* link = nullptr;
        g_object_get(target, "link-uri", &link, nullptr);
        static_cast<CStatusText*>(data)->Set(link ? link : "");
        g_free(link);
    }
    static void Free(gpointer data, GClosure*) { delete static_cast<CStatusText*>(data); }

private:
    std::function<void(const std::string&)> m_tell;
    std::string m_text;
};

// Tells status about the link under the pointer in the engine's view, when the view is the engine's as expected.
void WatchLinkUnderPointer(wxWebView* view, std::function<void(const std::string&)> status)
{
    auto* engine = static_cast<GObject*>(view->GetNativeBackend());
    if (!engine || !G_IS_OBJECT(engine) || g_signal_lookup("mouse-target-changed", G_OBJECT_TYPE(engine)) == 0)
        return;
    auto* text = new CStatusText(std::move(status));
    const gulong handler = g_signal_connect_data(engine, "mouse-target-changed", G_CALLBACK(CStatusText::OnMouseTarget),
                                                 text, CStatusText::Free, GConnectFlags(0));
    // A new page starts without a status: the link the pointer was on belonged to the page before.
    view->Bind(wxEVT_WEBVIEW_NAVIGATED, [text](wxWebViewEvent& event) {
        text->Set({});
        event.Skip();
    });
    // Nothing is told once the window goes, however long the engine keeps its view.
    view->Bind(wxEVT_DESTROY, [view, engine, handler](wxWindowDestroyEvent& event) {
        if (event.GetEventObject() == view)
            g_signal_handler_disconnect(engine, handler);
        event.Skip();
    });
}

CWebView* CreateToolkitWebView(wxWindow* parent, const std::string& address, WebViewEvents events)
{
    wxWebView* view = wxWebView::New(parent, wxID_ANY, wxString::FromUTF8(address));
    if (!view)
        return nullptr;
    if (events.loaded) {
        const auto tell = [loaded = events.loaded](wxWebViewEvent& event) {
            loaded(event.GetURL().utf8_string());
            event.Skip();
        };
        view->Bind(wxEVT_WEBVIEW_LOADED, tell);
        view->Bind(wxEVT_WEBVIEW_NAVIGATED, tell);
    }
    if (events.status)
        WatchLinkUnderPointer(view, std::move(events.status));
    return new CToolkitWebView(view);
}

constexpr WebViewModule kModule{kWebViewModuleVersion, IsToolkitWebViewAvailable, CreateToolkitWebView};

} // namespace

extern "C" __attribute__((visibility("default"))) const WebViewModule* PelorinWebViewModule()
{
    return &kModule;
}
