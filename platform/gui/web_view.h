#pragma once

// A web view that shows pages, made by a module of the program's own (libpelorin_web_view.so beside the executable)
// that is loaded the first time a web view is needed. The toolkit's web view brings a browser engine of well over a
// hundred shared libraries with it; the program does not link it, so that they are not loaded at every start.

#include <filesystem>
#include <functional>
#include <string>

class wxWindow;

class CWebView
{
public:
    virtual ~CWebView() = default;
    // The web view's window, a child of the parent it was made in, which owns it.
    virtual wxWindow* GetWindow() = 0;
    virtual bool CanGoBack() = 0;
    virtual bool CanGoForward() = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Reload() = 0;
    // The web view's own printing, which asks for the printer and its settings itself.
    virtual void Print() = 0;
    virtual bool IsBusy() = 0;
    virtual std::string GetCurrentAddress() = 0;
};

// What a web view tells the window it stands in.
struct WebViewEvents
{
    // The address of every page the web view has loaded or gone to.
    std::function<void(const std::string& address)> loaded;
    // The page's status text each time it changes: the address of the link under the pointer, empty when the
    // pointer is on no link and when another page comes.
    std::function<void(const std::string& text)> status;
};

// What the module's one export hands out. The module is built with the program; the version still guards against a
// stale file of another build, which would be called with the wrong shape.
struct WebViewModule
{
    int version;
    // Whether the toolkit's web view can be made here.
    bool (*isAvailable)();
    // A web view showing address in parent; null when it cannot be made.
    CWebView* (*create)(wxWindow* parent, const std::string& address, WebViewEvents events);
};

constexpr int kWebViewModuleVersion = 2;
#define PELORIN_WEB_VIEW_ENTRY "PelorinWebViewModule"
using WebViewModuleEntry = const WebViewModule* (*)();

// The module's file: beside the executable, or the one SetWebViewModulePath chose.
std::filesystem::path GetWebViewModulePath();
// Points the loader at another file (tests); an empty path goes back to the one beside the executable. Only before
// the first load: a module once loaded stays.
void SetWebViewModulePath(const std::filesystem::path& path);

// Whether the module's file is there, without loading it.
bool IsWebViewModulePresent();

// The module, loaded on the first call and kept for the life of the process; null, with the cause in *error, when it
// cannot be loaded, is of another build, or finds no web view. A failure is not remembered: the next call tries again.
const WebViewModule* LoadWebViewModule(std::string* error = nullptr);
