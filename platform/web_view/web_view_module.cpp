// The module behind platform/gui/web_view.h: the toolkit's web view (WebKitGTK) behind the program's own small
// interface. Only this file links the toolkit's web view library.

#include "platform/gui/web_view.h"

#include <wx/filename.h>
#include <wx/webview.h>

#include <memory>

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

CWebView* CreateToolkitWebView(wxWindow* parent, const std::string& address, WebViewLoaded loaded)
{
    wxWebView* view = wxWebView::New(parent, wxID_ANY, wxString::FromUTF8(address));
    if (!view)
        return nullptr;
    if (loaded) {
        const auto tell = [loaded](wxWebViewEvent& event) {
            loaded(event.GetURL().utf8_string());
            event.Skip();
        };
        view->Bind(wxEVT_WEBVIEW_LOADED, tell);
        view->Bind(wxEVT_WEBVIEW_NAVIGATED, tell);
    }
    return new CToolkitWebView(view);
}

constexpr WebViewModule kModule{kWebViewModuleVersion, IsToolkitWebViewAvailable, CreateToolkitWebView};

} // namespace

extern "C" __attribute__((visibility("default"))) const WebViewModule* PelorinWebViewModule()
{
    return &kModule;
}
