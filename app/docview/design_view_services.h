#pragma once

// The core's questions about a design view, answered by the view itself. The program's services and the tests'
// fakes both take these over whatever other answers they give.

#include <wx/gdicmn.h>

#include "app/docview/design_view.h"
#include "app/docview/view_geometry.h"
#include "app/site/site_page.h"

template <class Base> class DesignViewServices : public Base
{
public:
    CSitePage* GetViewPage(COrvelView* view) override { return view ? view->GetPage() : nullptr; }
    CSize GetViewPageSize(COrvelView* view) override
    {
        return view ? CSize(view->GetPage()->GetWidth(), view->GetPage()->GetHeight()) : CSize(0, 0);
    }
    void GetPageOrigin(COrvelView* view, CPoint& origin) override
    {
        origin = view ? view->GetPageOrigin() : CPoint(0, 0);
    }
    void PageRectToClient(COrvelView* view, CRect& client, const CRect& page) override
    {
        client = view ? view->PageRectToClient(page) : CRect();
    }
    void GetSelectionRect(COrvelView* view, CRect& client) override
    {
        client = view ? view->GetSelectionRect() : CRect();
    }
    void InvalidateSelection(COrvelView* view) override
    {
        if (view)
            view->InvalidateSelection();
    }
    void InvalidateView(COrvelView* view, bool erase) override
    {
        if (view)
            view->InvalidateView(erase);
    }
    void InvalidateViewRect(COrvelView* view, const CRect& client, bool erase) override
    {
        if (view)
            view->RefreshRect(wxRect(client.left, client.top, client.Width(), client.Height()), erase);
    }
    void InvalidateEditRect(COrvelView* view, const CRect& rect) override
    {
        if (view)
            view->InvalidateEditRect(rect);
    }
    void GetViewClientRect(COrvelView* view, CRect& client) override
    {
        const wxSize size = view ? view->GetClientSize() : wxSize(0, 0);
        client = CRect(0, 0, size.x, size.y);
    }
    CPoint GetScrollPosition(COrvelView* view) override { return view ? view->GetScrollPosition() : CPoint(0, 0); }
    void ScrollToPosition(COrvelView* view, const CPoint& position) override
    {
        if (view)
            view->Scroll(position.x, position.y);
    }
    void UpdateScrollSizes(COrvelView* view) override
    {
        if (view)
            view->UpdateScrollSizes();
    }
    bool IsCaretShown(COrvelView* view) override { return view && view->IsTextCaretShown(); }
    void SetViewCaretShape(COrvelView* view, int height) override
    {
        if (view)
            view->SetCaretShape(height);
    }
    void SetViewCaretPos(COrvelView* view, const CPoint& client) override
    {
        if (view)
            view->SetCaretPos(client);
    }
    void HideViewCaret(COrvelView* view) override
    {
        if (view)
            view->HideTextCaret();
    }
    void EndPageTextEditing(COrvelView* view) override
    {
        if (CSitePage* page = view ? view->GetPage() : nullptr) {
            page->SetEditingInPlace(false);
            page->SetEditedObject(nullptr);
        }
    }
};
