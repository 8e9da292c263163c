#include "app/palettes/mouse_over_page.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/palettes/mouse_over_page_logic.h"
#include "app/palettes/palette_controls.h"
#include "controls/button_controls.h"

namespace {

enum : int
{
    ID_CREATE = 1535,
    ID_REMOVE = 1539,
    ID_ORIGINAL = 1560,
    ID_MOUSE_OVER = 1562,
    ID_OFFSET_X = 1101,
    ID_OFFSET_Y = 1094,
    ID_WIDTH_GLYPH = 1104,
    ID_HEIGHT_GLYPH = 1106,
    ID_SAME_TEXT = 1537,
};

} // namespace

CMouseOverPage::CMouseOverPage(wxWindow* parent) : CPalettePage(parent, kMouseOverPropSheet)
{
    if (auto* glyph = ReplacePagePlaceholder<CIconControl>(this, ID_WIDTH_GLYPH))
        glyph->Init(0);
    if (auto* glyph = ReplacePagePlaceholder<CIconControl>(this, ID_HEIGHT_GLYPH))
        glyph->Init(1);
    Layout();
    const auto after = [this] { FillControls(); };
    if (wxWindow* create = FindWindow(ID_CREATE))
        create->Bind(wxEVT_BUTTON, [after](wxCommandEvent&) {
            MouseOverCreate();
            after();
        });
    if (wxWindow* remove = FindWindow(ID_REMOVE))
        remove->Bind(wxEVT_BUTTON, [after](wxCommandEvent&) {
            MouseOverRemove();
            after();
        });
    for (int id : {ID_ORIGINAL, ID_MOUSE_OVER})
        if (wxWindow* radio = FindWindow(id))
            radio->Bind(wxEVT_RADIOBUTTON, [after, id](wxCommandEvent&) {
                MouseOverShow(id == ID_MOUSE_OVER);
                after();
            });
    if (wxWindow* same = FindWindow(ID_SAME_TEXT))
        same->Bind(wxEVT_CHECKBOX, [](wxCommandEvent& event) { MouseOverSameText(event.IsChecked()); });
    for (int id : {ID_OFFSET_X, ID_OFFSET_Y})
        if (wxWindow* box = FindWindow(id))
            box->Bind(wxEVT_KILL_FOCUS, &CMouseOverPage::OnOffsetKillFocus, this);
    // The base filled an empty page while this one was being made.
    FillControls();
}

void CMouseOverPage::FillControls()
{
    if (!FindWindow(ID_CREATE))
        return;
    const MouseOverPageState state = ReadMouseOverPage();
    const auto enable = [this](int id, bool on) {
        if (wxWindow* control = FindWindow(id))
            control->Enable(on);
    };
    enable(ID_CREATE, state.create);
    enable(ID_REMOVE, state.remove);
    enable(ID_ORIGINAL, state.remove);
    enable(ID_MOUSE_OVER, state.remove);
    enable(ID_SAME_TEXT, state.sameTextOn);
    enable(ID_OFFSET_X, state.offsets);
    enable(ID_OFFSET_Y, state.offsets);
    if (auto* same = FindPageControl<wxCheckBox>(this, ID_SAME_TEXT))
        same->SetValue(state.sameText);
    if (auto* box = FindPageControl<wxTextCtrl>(this, ID_OFFSET_X))
        box->ChangeValue(state.offsetX);
    if (auto* box = FindPageControl<wxTextCtrl>(this, ID_OFFSET_Y))
        box->ChangeValue(state.offsetY);
    // A group always keeps one radio button checked: with neither object to show, the template's hidden one is.
    const int radio = state.shown == 1   ? ID_MOUSE_OVER
                      : state.shown == 0 ? ID_ORIGINAL
                                         : static_cast<int>(XRCID("mouseOverNone"));
    if (auto* button = FindPageControl<wxRadioButton>(this, radio))
        button->SetValue(true);
}

void CMouseOverPage::OnOffsetKillFocus(wxFocusEvent& event)
{
    event.Skip();
    if (auto* box = FindPageControl<wxTextCtrl>(this, event.GetId()))
        MouseOverOffset(event.GetId() == ID_OFFSET_X, box->GetValue().ToStdString());
}
