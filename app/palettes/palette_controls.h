#pragma once

// Helpers the palette pages share for their templates: finding a control by its id, and putting the program's own
// controls where a template keeps an empty placeholder of the same id.

#include <wx/sizer.h>
#include <wx/window.h>

#include "platform/win/win_types.h"

template <class Window> Window* FindPageControl(wxWindow* page, int id)
{
    return dynamic_cast<Window*>(page->FindWindow(id));
}

// Makes Control (from args) at the placeholder's size and place, with its tooltip, and destroys the placeholder. Null
// when the template has no such placeholder.
template <class Control, class... Args> Control* ReplacePagePlaceholder(wxWindow* page, int id, Args... args)
{
    wxWindow* placeholder = page->FindWindow(id);
    if (!placeholder)
        return nullptr;
    wxWindow* parent = placeholder->GetParent();
    const wxSize size = placeholder->GetMinSize();
    const wxString tip = placeholder->GetToolTipText();
    auto* control = new Control(args...);
    control->Create(CRect(0, 0, size.GetWidth(), size.GetHeight()), parent, static_cast<UINT>(id));
    control->SetMinSize(size);
    if (!tip.empty())
        control->SetToolTip(tip);
    if (wxSizer* sizer = placeholder->GetContainingSizer())
        sizer->Replace(placeholder, control);
    placeholder->Destroy();
    return control;
}
