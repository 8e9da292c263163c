#pragma once

// The Link palette's page: whether the selection links, to which page, e-mail address, web address or document,
// and in which window. What it shows and what each control does are decided in link_page_logic.h; this class
// copies the controls into that state and back.

#include "app/palettes/link_page_logic.h"
#include "app/palettes/palette_page.h"

class CLinkPage : public CPalettePage
{
public:
    explicit CLinkPage(wxWindow* parent);

protected:
    void FillControls() override;

private:
    LinkControls ReadControls() const;
    void WriteControls(const LinkControls& controls);
    // Runs a handler on the controls' state and does what it asks afterwards.
    void Run(LinkAfter (*handler)(LinkControls&));
    void OnEditKillFocus(wxFocusEvent& event);
    void OnTargetKillFocus(wxFocusEvent& event);
};
