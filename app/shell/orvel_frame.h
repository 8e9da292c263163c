#pragma once

// A page window: a child window of the main frame showing one page of the open site. wxGTK shows child windows
// as tabs of the main window, so a page window has no position or size of its own.
//
// The design view belongs here later; until then the window shows the page's area and nothing on it.

#include <wx/mdi.h>
#include <wx/scrolwin.h>

class CMainFrame;
class CSitePage;

// Stands where the design view will stand: the page's area on the grey outside.
class CPagePlaceholderView : public wxScrolledCanvas
{
public:
    CPagePlaceholderView(wxWindow* parent, CSitePage* page);
    CSitePage* GetPage() const { return m_pPage; }

private:
    void OnPaint(wxPaintEvent& event);
    CSitePage* m_pPage;
};

class COrvelFrame : public wxMDIChildFrame
{
public:
    COrvelFrame(CMainFrame* parent, CSitePage* page);
    ~COrvelFrame() override;

    CSitePage* GetPage() const { return m_pView->GetPage(); }
    CPagePlaceholderView* GetView() const { return m_pView; }

private:
    void OnActivate(wxActivateEvent& event);
    CMainFrame* m_pMainFrame;
    CPagePlaceholderView* m_pView;
};
