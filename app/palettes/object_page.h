#pragma once

// The Object palette's page: the size, angle, corner radius and alternate text of the current object, and the
// sections its kind calls for. What it shows and what an edit does are decided in object_page_logic.h; this class
// reads and writes the controls.

#include "app/palettes/object_text_format.h"
#include "app/palettes/palette_page.h"

class wxTextCtrl;
class CControlNotifyEvent;
class CButtonControl;
class CColorControl;
struct ObjectPageContent;

class CObjectPage : public CPalettePage
{
public:
    explicit CObjectPage(wxWindow* parent);

    // Enables or disables every control of the button-text section.
    void EnableButtonTextControls(bool enable);
    // The view has just placed an HTML or Flash object: Edit HTML (1558) or Add Flash (1606) runs as soon as the
    // placing has finished, and Edit HTML fits the new object to its code.
    void RunPlacedObjectCommand(int command);
    // Runs Edit HTML (1558) or Add Flash (1606) as their buttons do, once the events under way are handled.
    void RunCommand(int command);

protected:
    void FillControls() override;
    void ApplyFocusedValue() override;

private:
    void CreateControls();
    void SetControlStates(const ObjectPageContent& content);
    // The edit a box makes when it loses the focus.
    void ApplyBox(wxTextCtrl* box);
    void OnBoxKillFocus(wxFocusEvent& event);
    // The text-format section, while a text is edited in place.
    void FillTextFormat();
    void OnFaceChanged(wxCommandEvent& event);
    void OnSizeChanged(wxCommandEvent& event);
    void OnFormatButton(CControlNotifyEvent& event);
    void OnTextColorChanged(CControlNotifyEvent& event);
    void OnAdvancedText(wxCommandEvent& event);
    void CheckAlignment(int alignment);
    // The button-text section.
    void FillButtonText();
    void OnButtonTextChanged(wxCommandEvent& event);
    void OnButtonChoice(wxCommandEvent& event);
    void OnButtonTextNotify(CControlNotifyEvent& event);
    void OnDropShadow(wxCommandEvent& event);
    void OnShadowDistanceText(wxCommandEvent& event);
    // Fills the page again after a change of the label's style; focus gives the keyboard back to the main window.
    void AfterButtonTextEdit(bool changed, bool focus);
    // The HTML, counter and form controls.
    void OnEditHtml(wxCommandEvent& event);
    void OnAddFlash(wxCommandEvent& event);
    void OnRemoveFlash(wxCommandEvent& event);
    void OnCounterStyleChanged(wxCommandEvent& event);

    wxTextCtrl* m_pWidth = nullptr;
    wxTextCtrl* m_pHeight = nullptr;
    wxTextCtrl* m_angle = nullptr;
    wxTextCtrl* m_corner = nullptr;
    wxTextCtrl* m_altText = nullptr;
    CObjectTextFormat m_format;
    // Set by the view after it placed an HTML or Flash object, until the command it sent has run.
    bool m_objectJustPlaced = false;
};
