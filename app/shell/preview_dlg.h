#pragma once

// The built-in preview: the built page in a web view with Back, Forward and Refresh and a status line. Back and
// Forward ask the web view whether it can go that way, after every page it loads.

#include <string>
#include <wx/dialog.h>

#include "platform/win/win_types.h"

class wxWebView;
class wxWebViewEvent;

class CPreviewDLG : public wxDialog
{
public:
    // Shows the file at path; pageSize sizes the window (see PreviewWindowSize).
    CPreviewDLG(wxWindow* parent, const std::string& path, CSize pageSize);
    bool IsOk() const { return m_pView != nullptr; }
    wxWebView* GetWebView() { return m_pView; }

private:
    void ShowNavigation();
    void OnLoaded(wxWebViewEvent& event);

    wxWebView* m_pView = nullptr;
};

// Whether the web view of the previews can be made here.
bool IsPreviewAvailable();
