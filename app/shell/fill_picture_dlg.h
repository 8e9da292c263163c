#pragma once

// The twin dialogs asked when the picture of a fill cannot be used: it does not exist (417) or is not a valid
// picture (418). The user looks for another picture (Try Again) or settles for a solid colour, picked in the
// colour well; ticking the check box, or picking a colour, allows OK. Each twin remembers for the rest of the run
// whether the user last chose Try Again, and opens with the check box ticked only when not.

#include "image/image.h"

#include <string>
#include <wx/dialog.h>

class CColorControl;
class wxCheckBox;

class CFillPictureDLG : public wxDialog
{
public:
    enum class Kind
    {
        missing,
        invalid,
    };

    // The dialog comes from the resource folder; IsReady() is false when it is not there.
    CFillPictureDLG(Kind kind, const std::string& path, const CColor& color, wxWindow* parent);

    bool IsReady() const { return m_pWell != nullptr; }
    // wxID_OK (Try Again or the solid colour) or wxID_CANCEL.
    int ShowModal() override;

    // After wxID_OK: whether the user asked to look for another picture, else the colour to use.
    bool m_bTryAgain = false;
    CColor m_color;

    // Forgets the twins' last choices, as a new run starts.
    static void ResetRememberedChoices();

private:
    void UpdateOk();
    void OnColorChanged();
    void OnTryAgain();
    void OnOk();

    Kind m_kind;
    wxCheckBox* m_pCheck = nullptr;
    CColorControl* m_pWell = nullptr;
};
