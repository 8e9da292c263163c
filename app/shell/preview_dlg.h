#pragma once

// The windows that show a built page in a web view: the built-in preview, with Back, Forward and Refresh, and the
// print window, with Back, Forward and Print. Both have a status line, which shows the page's status text (the link
// under the pointer), and are sized to the page. Back and Forward ask the web view whether it can go that way, after
// every page it loads and whenever the buttons are updated. The web view comes from the web view module, loaded
// with the first window; when it cannot be loaded, the window says so and is not OK.

#include <memory>
#include <string>
#include <wx/dialog.h>

#include "platform/gui/web_view.h"
#include "platform/win/win_types.h"

class CWebPageDLG : public wxDialog
{
public:
    ~CWebPageDLG() override;
    bool IsOk() const { return m_pView != nullptr; }
    CWebView* GetWebView() { return m_pView.get(); }

protected:
    // The ids of a window's template: Back, Forward and the status line; the web view goes into panel 1000.
    struct Controls
    {
        const char* templateName;
        int back;
        int forward;
        int status;
    };
    // Shows the file at path; pageSize sizes the window (see PreviewWindowSize).
    CWebPageDLG(wxWindow* parent, const std::string& path, CSize pageSize, const Controls& controls);

private:
    void ShowNavigation();
    void OnLoaded();
    void ShowStatus(const std::string& text);

    Controls m_controls;
    std::unique_ptr<CWebView> m_pView;
};

class CPreviewDLG : public CWebPageDLG
{
public:
    CPreviewDLG(wxWindow* parent, const std::string& path, CSize pageSize);
};

// Prints the built site: the page as a browser shows it, with the web view's own printing behind Print.
class CPrintSiteDLG : public CWebPageDLG
{
public:
    CPrintSiteDLG(wxWindow* parent, const std::string& path, CSize pageSize);
};

// Whether the web view of the previews can be made here; loads the web view module.
bool IsPreviewAvailable();
