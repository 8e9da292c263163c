#pragma once

// A page window: a child window of the main frame showing one page of the open site in its design view. wxGTK
// shows child windows as tabs of the main window, so a page window has no position or size of its own. Its tab
// closes it by its close button or a middle click.

#include <wx/mdi.h>

#include "app/docview/design_view.h"

class CMainFrame;
class CSitePage;

class COrvelFrame : public wxMDIChildFrame
{
public:
    COrvelFrame(CMainFrame* parent, CSitePage* page);
    ~COrvelFrame() override;

    CSitePage* GetPage() const { return m_pView->GetPage(); }
    COrvelView* GetView() const { return m_pView; }
    // The tab shows the title beside its close button.
    void SetTitle(const wxString& title) override;

private:
    void OnActivate(wxActivateEvent& event);
    void OnClose(wxCloseEvent& event);
    CMainFrame* m_pMainFrame;
    COrvelView* m_pView;
};
