#pragma once

// The two image-fill dialogs (the fill's picture is missing, 417, or not a picture, 418), which offer another try or
// a solid colour, and the question whether a picture larger than the page is to be fitted to it (494).

#include <wx/dialog.h>

#include "app/dialogs/fill_dialogs.h"
#include "app/model/services.h"

class CColorControl;
class CControlNotifyEvent;
class wxCheckBox;

class CFillPictureDLG : public wxDialog
{
public:
    // dialogId is 417 or 418; data holds the fill's path and solid colour, and takes the answer.
    CFillPictureDLG(int dialogId, wxWindow* parent, FillPictureDialog& data);

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;
    CColorControl* GetColorControl() const { return m_pColor; }
    wxCheckBox* GetSolidBox() const { return m_solid; }

private:
    void UpdateOk();
    void OnColorChanged(CControlNotifyEvent& event);
    void OnSolid(wxCommandEvent& event);
    void OnTryAgain(wxCommandEvent& event);
    void OnOK(wxCommandEvent& event);

    FillPictureDialog& m_data;
    CFillPictureChoice m_choice;
    bool m_bLoaded = false;
    CColorControl* m_pColor = nullptr;
    wxCheckBox* m_solid = nullptr;
};

class CPictureTooLargeDLG : public wxDialog
{
public:
    explicit CPictureTooLargeDLG(wxWindow* parent);

    bool IsOk() const { return m_bLoaded; }
    int ShowModal() override;
    const PictureTooLargeChoice& GetChoice() const { return m_choice; }

private:
    void ShowChoice();

    PictureTooLargeChoice m_choice;
    bool m_bLoaded = false;
    wxCheckBox* m_fit = nullptr;
    wxCheckBox* m_keep = nullptr;
};
