#pragma once

// A page window: a child window of the main frame showing one page of the open site in its design view. wxGTK
// shows child windows as tabs of the main window, so a page window has no position or size of its own. Its tab
// closes it by its close button or a middle click.

#include <wx/mdi.h>

#include "app/docview/design_view.h"

class COrvelFrame;
class CSitePage;

// What a page window tells whoever keeps the page windows: whether it may close, that it went, that the user
// turned to it.
class CPageWindowOwner
{
public:
    // The site's last window asks about unsaved changes first.
    virtual bool CanClosePageWindow(COrvelFrame& window) = 0;
    virtual void OnPageWindowClosed(COrvelFrame& window) = 0;
    virtual void OnPageWindowActivated(COrvelFrame& window) = 0;

protected:
    ~CPageWindowOwner() = default;
};

class COrvelFrame : public wxMDIChildFrame
{
public:
    COrvelFrame(wxMDIParentFrame* parent, CPageWindowOwner& owner, CSitePage* page);
    ~COrvelFrame() override;

    CSitePage* GetPage() const { return m_pView->GetPage(); }
    COrvelView* GetView() const { return m_pView; }
    // The tab shows the title beside its close button.
    void SetTitle(const wxString& title) override;

private:
    void OnActivate(wxActivateEvent& event);
    void OnClose(wxCloseEvent& event);
    CPageWindowOwner& m_owner;
    COrvelView* m_pView;
};
