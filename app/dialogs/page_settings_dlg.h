#pragma once

// What the two dialogs of page settings share (the new-website dialog and the standard settings for new pages):
// the page-size group, the centring box, the background group and the two link colour wells over values their
// choice owns, Cancel and Escape, and the remembered-centre placement. Each dialog adds its own fields and OK.

#include <wx/dialog.h>

#include "app/dialogs/background_controls.h"
#include "app/docview/page_size_controls.h"

class CColor;
class CColorControl;
class CFillStyle;
class wxCheckBox;

struct PageSettingsIds
{
    PageSizeControlIds size;
    int centered;
    BackgroundControlIds background;
    int linkColor;
    int visitedColor;
};

// The values the groups edit, owned by the dialog's choice.
struct PageSettingsValues
{
    CFillStyle& background;
    bool& centered;
    CColor& linkColor;
    CColor& visitedLinkColor;
};

class CPageSettingsDLG : public wxDialog
{
public:
    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;

protected:
    // Builds the dialog from its template; false when the template is missing.
    bool LoadTemplate(wxWindow* parent, const char* name);
    // Makes the groups over values, which they show as they are now, and binds them, Cancel and Escape. False,
    // leaving the dialog not OK, when a control is missing from the template.
    bool CreateGroups(const PageSettingsIds& ids, PageSizePresets presets, CPageSizeControls::Handlers sizeHandlers,
                      const PageSettingsValues& values);
    // What the dialog does just before it shows, after it is placed.
    virtual void BeforeShow() {}

    CPageSizeControls m_size;
    CBackgroundControls m_background;
    bool m_bLoaded = false;
    // Set while the dialog writes into its own fields, whose change handlers then keep still.
    bool m_filling = false;
    wxCheckBox* m_centered = nullptr;

private:
    void OnCancel(wxCommandEvent& event);
};
