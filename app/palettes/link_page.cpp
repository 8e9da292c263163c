#include "app/palettes/link_page.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "app/palettes/palette_controls.h"

namespace {

enum : int
{
    ID_USE_LINK = 1112,
    ID_PAGE_CHOICE = 1087,
    ID_PAGE_LIST = 1047,
    ID_EMAIL_CHOICE = 1088,
    ID_EMAIL = 1091,
    ID_ADDRESS_CHOICE = 1090,
    ID_ADDRESS = 1541,
    ID_DOCUMENT = 1543,
    ID_TARGET_LABEL = 1533,
    ID_TARGET = 1524,
};

// The choices by LinkChoice.
constexpr int kChoices[] = {ID_PAGE_CHOICE, ID_EMAIL_CHOICE, ID_ADDRESS_CHOICE};

// The program's texts are Windows-1252 bytes.
wxString FromBytes(const std::string& text)
{
    return wxString(text.data(), wxCSConv(wxFONTENCODING_CP1252), text.size());
}

std::string ToBytes(const wxString& text)
{
    const wxCharBuffer bytes = text.mb_str(wxCSConv(wxFONTENCODING_CP1252));
    return bytes.data() ? std::string(bytes.data()) : std::string();
}

} // namespace

CLinkPage::CLinkPage(wxWindow* parent) : CPalettePage(parent, kLinkPropSheet)
{
    if (auto* targets = FindPageControl<wxChoice>(this, ID_TARGET))
        for (const std::string& name : LinkTargetNames())
            targets->Append(FromBytes(name));
    const auto bind = [this](int id, const wxEventTypeTag<wxCommandEvent>& type, LinkAfter (*handler)(LinkControls&)) {
        if (wxWindow* control = FindWindow(id))
            control->Bind(type, [this, handler](wxCommandEvent&) { Run(handler); });
    };
    bind(ID_USE_LINK, wxEVT_CHECKBOX, &LinkOnUseLink);
    bind(ID_PAGE_CHOICE, wxEVT_RADIOBUTTON, &LinkOnPageChoice);
    bind(ID_EMAIL_CHOICE, wxEVT_RADIOBUTTON, &LinkOnEmailChoice);
    bind(ID_ADDRESS_CHOICE, wxEVT_RADIOBUTTON, &LinkOnAddressChoice);
    bind(ID_PAGE_LIST, wxEVT_COMBOBOX, &LinkOnPageSelChange);
    bind(ID_DOCUMENT, wxEVT_BUTTON, &LinkOnDocument);
    bind(ID_TARGET, wxEVT_CHOICE, &LinkOnTargetChange);
    if (auto* pages = dynamic_cast<wxComboBox*>(FindWindow(ID_PAGE_LIST)))
        pages->Bind(wxEVT_COMBOBOX_DROPDOWN, [this, pages](wxCommandEvent&) {
            LinkControls controls = ReadControls();
            const std::vector<std::string> shown = controls.pageEntries;
            LinkOnPageDropDown(controls);
            if (controls.pageEntries == shown) {
                WriteControls(controls);
                return;
            }
            // The toolkit tells only once the list is open, and rows put under an open list are drawn before they
            // have a size: it closes, takes the site's pages and opens again.
            pages->Dismiss();
            WriteControls(controls);
            pages->Popup();
        });
    for (int id : {ID_EMAIL, ID_ADDRESS})
        if (wxWindow* edit = FindWindow(id))
            edit->Bind(wxEVT_KILL_FOCUS, &CLinkPage::OnEditKillFocus, this);
    if (wxWindow* targets = FindWindow(ID_TARGET))
        targets->Bind(wxEVT_KILL_FOCUS, &CLinkPage::OnTargetKillFocus, this);
    // The base filled an empty page while this one was being made.
    FillControls();
}

LinkControls CLinkPage::ReadControls() const
{
    LinkControls c;
    if (const wxWindow* use = FindWindow(ID_USE_LINK))
        c.enabled = use->IsEnabled();
    if (const auto* use = dynamic_cast<const wxCheckBox*>(FindWindow(ID_USE_LINK)))
        c.useLink = use->GetValue();
    for (int choice = 0; choice < 3; ++choice)
        if (const auto* radio = dynamic_cast<const wxRadioButton*>(FindWindow(kChoices[choice])))
            if (radio->GetValue())
                c.choice = choice;
    if (const auto* pages = dynamic_cast<const wxComboBox*>(FindWindow(ID_PAGE_LIST))) {
        for (unsigned i = 0; i < pages->GetCount(); ++i)
            c.pageEntries.push_back(ToBytes(pages->GetString(i)));
        c.pageSelection = pages->GetSelection();
    }
    if (const auto* email = dynamic_cast<const wxTextCtrl*>(FindWindow(ID_EMAIL)))
        c.email = ToBytes(email->GetValue());
    if (const auto* address = dynamic_cast<const wxTextCtrl*>(FindWindow(ID_ADDRESS)))
        c.address = ToBytes(address->GetValue());
    if (const auto* targets = dynamic_cast<const wxChoice*>(FindWindow(ID_TARGET)))
        c.target = targets->GetSelection();
    return c;
}

void CLinkPage::WriteControls(const LinkControls& c)
{
    for (int id : {ID_USE_LINK, ID_PAGE_CHOICE, ID_ADDRESS_CHOICE, ID_DOCUMENT, ID_EMAIL_CHOICE, ID_PAGE_LIST,
                   ID_ADDRESS, ID_EMAIL, ID_TARGET_LABEL, ID_TARGET})
        if (wxWindow* control = FindWindow(id))
            control->Enable(c.enabled);
    if (auto* use = FindPageControl<wxCheckBox>(this, ID_USE_LINK))
        use->SetValue(c.useLink);
    // A group always keeps one radio button checked: with no kind to show, the template's hidden one is.
    const int radio = c.choice >= 0 && c.choice < 3 ? kChoices[c.choice] : static_cast<int>(XRCID("linkNone"));
    if (auto* button = FindPageControl<wxRadioButton>(this, radio))
        button->SetValue(true);
    if (auto* pages = FindPageControl<wxComboBox>(this, ID_PAGE_LIST)) {
        // Only a changed list is rewritten, so an open list keeps its rows.
        wxArrayString entries;
        for (const std::string& entry : c.pageEntries)
            entries.Add(FromBytes(entry));
        if (pages->GetStrings() != entries)
            pages->Set(entries);
        const int selection = c.pageSelection >= 0 && c.pageSelection < static_cast<int>(pages->GetCount())
                                  ? c.pageSelection
                                  : wxNOT_FOUND;
        if (pages->GetSelection() != selection)
            pages->SetSelection(selection);
    }
    if (auto* email = FindPageControl<wxTextCtrl>(this, ID_EMAIL))
        email->ChangeValue(FromBytes(c.email));
    if (auto* address = FindPageControl<wxTextCtrl>(this, ID_ADDRESS))
        address->ChangeValue(FromBytes(c.address));
    if (auto* targets = FindPageControl<wxChoice>(this, ID_TARGET))
        targets->SetSelection(c.target >= 0 && c.target < static_cast<int>(targets->GetCount()) ? c.target
                                                                                                : wxNOT_FOUND);
}

void CLinkPage::FillControls()
{
    if (!FindWindow(ID_USE_LINK))
        return;
    LinkControls controls = ReadControls();
    FillLinkPage(controls);
    WriteControls(controls);
}

void CLinkPage::Run(LinkAfter (*handler)(LinkControls&))
{
    LinkControls controls = ReadControls();
    const LinkAfter after = handler(controls);
    WriteControls(controls);
    if (after.refill)
        FillControls();
    if (after.focus)
        FocusMainFrame();
}

void CLinkPage::OnEditKillFocus(wxFocusEvent& event)
{
    event.Skip();
    Run(event.GetId() == ID_EMAIL ? &LinkOnEmailKillFocus : &LinkOnAddressKillFocus);
}

void CLinkPage::OnTargetKillFocus(wxFocusEvent& event)
{
    event.Skip();
    Run(&LinkOnTargetChange);
}
