#include "app/palettes/object_page.h"
#include "app/palettes/palette_controls.h"

#include <algorithm>
#include <wx/bmpcbox.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/dc.h>
#include <wx/filefn.h>
#include <wx/image.h>
#include <wx/imagpng.h>
#include <wx/pen.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "app/objects/counter_object.h"
#include "app/objects/text_object.h"
#include "app/palettes/object_button_text.h"
#include "app/palettes/object_code_objects.h"
#include "app/palettes/object_page_logic.h"
#include "controls/button_controls.h"
#include "controls/wheel_control.h"
#include "platform/gui/control_notify.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/resource_folder.h"

namespace {

// The ids of the page's controls, also their names in the template.
enum : int
{
    ID_WIDTH = 1032,
    ID_HEIGHT = 1033,
    ID_ANGLE = 1034,
    ID_CORNER = 1015,
    ID_ALT_TEXT = 1522,
    ID_FACE = 1036,
    ID_SIZE = 1037,
    ID_TEXT_COLOR = 1077,
    ID_ADVANCED = 1130,
    ID_EDIT_HTML = 1558,
    ID_ADD_FLASH = 1606,
    ID_REMOVE_FLASH = 1607,
    ID_COUNTER_STYLE = 1158,
    ID_EMAIL_LABEL = 1427,
    ID_EMAIL = 1700,
    ID_BUTTON_TEXT = 1580,
    ID_BUTTON_FACE = 1585,
    ID_BUTTON_SIZE = 1586,
    ID_BUTTON_COLOR = 1591,
    ID_DROP_SHADOW = 1581,
    ID_SHADOW_COLOR = 1079,
    ID_SHADOW_DIRECTION = 1081,
    ID_SHADOW_DISTANCE = 1582,
};

// The two rows of format buttons with their styles (bold, italic, underline, left, centre, right).
// The styles are the button library's: 3 bold, 4 italic, 5 underline; the alignment buttons draw their own lines.
constexpr UINT kAlignStyle = 100;
constexpr std::pair<int, UINT> kTextButtons[] = {
    {1042, 3}, {1040, 4}, {1045, 5}, {1046, kAlignStyle}, {1048, kAlignStyle + 1}, {1050, kAlignStyle + 2}};
constexpr std::pair<int, UINT> kButtonTextButtons[] = {
    {1593, 3}, {1594, 4}, {1596, 5}, {1598, kAlignStyle}, {1599, kAlignStyle + 1}, {1600, kAlignStyle + 2}};

// A two-state button showing lines set left, centred or right, as text is aligned.
class CAlignButton : public CButtonControl
{
public:
    explicit CAlignButton(int alignment) : m_alignment(alignment) {}

protected:
    void Paint(wxDC& dc) override
    {
        CButtonControl::Paint(dc);
        const CSize size = ClientSize();
        dc.SetPen(wxPen(IsEnabledFlag() ? wxColour(0, 0, 0) : wxColour(128, 128, 128)));
        const int top = (size.cy - 7) / 2;
        for (int line = 0; line < 4; ++line) {
            const int width = std::min(line % 2 == 0 ? 10 : 6, size.cx - 6);
            const int left = m_alignment == 0 ? 3 : m_alignment == 1 ? (size.cx - width) / 2 : size.cx - 3 - width;
            dc.DrawLine(left, top + 2 * line, left + width, top + 2 * line);
        }
    }

private:
    int m_alignment;
};

} // namespace

CObjectPage::CObjectPage(wxWindow* parent) : CPalettePage(parent, kObjectPropSheet)
{
    CreateControls();
    m_pWidth = FindPageControl<wxTextCtrl>(this, ID_WIDTH);
    m_pHeight = FindPageControl<wxTextCtrl>(this, ID_HEIGHT);
    m_angle = FindPageControl<wxTextCtrl>(this, ID_ANGLE);
    m_corner = FindPageControl<wxTextCtrl>(this, ID_CORNER);
    m_altText = FindPageControl<wxTextCtrl>(this, ID_ALT_TEXT);
    for (wxTextCtrl* box : {m_pWidth, m_pHeight, m_angle, m_corner, m_altText})
        if (box)
            box->Bind(wxEVT_KILL_FOCUS, &CObjectPage::OnBoxKillFocus, this);
    // The geometry boxes hold their widest value whole with the desktop's font: the angle with its degree sign.
    const wxString widest = wxString::FromUTF8("-359.9\u00B0");
    for (wxTextCtrl* box : {m_pWidth, m_pHeight, m_angle, m_corner})
        if (box)
            box->SetMinSize(wxSize(box->GetSizeFromTextSize(box->GetTextExtent(widest).GetWidth()).GetWidth(), -1));
    if (auto* faces = FindPageControl<wxChoice>(this, ID_FACE)) {
        for (const std::string& face : GetTextFaceNames())
            faces->Append(BytesToWx(face));
        faces->Bind(wxEVT_CHOICE, &CObjectPage::OnFaceChanged, this);
    }
    if (wxWindow* sizes = FindWindow(ID_SIZE))
        sizes->Bind(wxEVT_CHOICE, &CObjectPage::OnSizeChanged, this);
    for (auto [id, style] : kTextButtons)
        if (wxWindow* button = FindWindow(id))
            button->GetParent()->Bind(EVT_CONTROL_NOTIFY, &CObjectPage::OnFormatButton, this, id);
    if (wxWindow* well = FindWindow(ID_TEXT_COLOR))
        well->GetParent()->Bind(EVT_CONTROL_NOTIFY, &CObjectPage::OnTextColorChanged, this, ID_TEXT_COLOR);
    if (wxWindow* advanced = FindWindow(ID_ADVANCED))
        advanced->Bind(wxEVT_CHECKBOX, &CObjectPage::OnAdvancedText, this);
    if (auto* faces = FindPageControl<wxChoice>(this, ID_BUTTON_FACE)) {
        for (const std::string& face : GetTextFaceNames())
            faces->Append(BytesToWx(face));
        faces->Bind(wxEVT_CHOICE, &CObjectPage::OnButtonChoice, this);
    }
    if (wxWindow* sizes = FindWindow(ID_BUTTON_SIZE))
        sizes->Bind(wxEVT_CHOICE, &CObjectPage::OnButtonChoice, this);
    if (wxWindow* text = FindWindow(ID_BUTTON_TEXT))
        text->Bind(wxEVT_TEXT, &CObjectPage::OnButtonTextChanged, this);
    for (auto [id, style] : kButtonTextButtons)
        if (wxWindow* button = FindWindow(id))
            button->GetParent()->Bind(EVT_CONTROL_NOTIFY, &CObjectPage::OnButtonTextNotify, this, id);
    for (int id : {ID_BUTTON_COLOR, ID_SHADOW_COLOR, ID_SHADOW_DIRECTION})
        if (wxWindow* control = FindWindow(id))
            control->GetParent()->Bind(EVT_CONTROL_NOTIFY, &CObjectPage::OnButtonTextNotify, this, id);
    if (wxWindow* shadow = FindWindow(ID_DROP_SHADOW))
        shadow->Bind(wxEVT_CHECKBOX, &CObjectPage::OnDropShadow, this);
    if (wxWindow* distance = FindWindow(ID_SHADOW_DISTANCE)) {
        distance->Bind(wxEVT_TEXT, &CObjectPage::OnShadowDistanceText, this);
        distance->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
            // Leaving the box gives the keyboard back to the main window whether or not the value changed.
            if (auto* box = FindPageControl<wxTextCtrl>(this, ID_SHADOW_DISTANCE))
                ApplyShadowDistance(WxToBytes(box->GetValue()));
            event.Skip();
        });
        // The arrow keys step the distance as the arrow buttons do.
        distance->Bind(wxEVT_KEY_DOWN, [this](wxKeyEvent& event) {
            if (event.GetKeyCode() == WXK_UP || event.GetKeyCode() == WXK_DOWN)
                AfterButtonTextEdit(StepShadowDistance(event.GetKeyCode() == WXK_UP ? 1 : -1), false);
            else
                event.Skip();
        });
    }
    if (wxWindow* edit = FindWindow(ID_EDIT_HTML))
        edit->Bind(wxEVT_BUTTON, &CObjectPage::OnEditHtml, this);
    if (wxWindow* add = FindWindow(ID_ADD_FLASH))
        add->Bind(wxEVT_BUTTON, &CObjectPage::OnAddFlash, this);
    if (wxWindow* remove = FindWindow(ID_REMOVE_FLASH))
        remove->Bind(wxEVT_BUTTON, &CObjectPage::OnRemoveFlash, this);
    if (wxWindow* counter = FindWindow(ID_COUNTER_STYLE))
        counter->Bind(wxEVT_COMBOBOX, &CObjectPage::OnCounterStyleChanged, this);
    if (wxWindow* email = FindWindow(ID_EMAIL))
        email->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
            if (auto* box = FindPageControl<wxTextCtrl>(this, ID_EMAIL))
                ApplyFormEmail(WxToBytes(box->GetValue()));
            event.Skip();
        });
    for (const auto& [name, step] : {std::pair{"shadowLess", -1}, {"shadowMore", 1}})
        if (wxWindow* arrow = FindWindow(name))
            arrow->Bind(wxEVT_BUTTON,
                        [this, step = step](wxCommandEvent&) { AfterButtonTextEdit(StepShadowDistance(step), true); });
    // The base filled an empty page while this one was being made.
    FillControls();
}

void CObjectPage::CreateControls()
{
    for (const auto& row : {kTextButtons, kButtonTextButtons})
        for (size_t i = 0; i < std::size(kTextButtons); ++i) {
            const auto [id, style] = row[i];
            auto* button = style >= kAlignStyle
                               ? ReplacePagePlaceholder<CAlignButton>(this, id, static_cast<int>(style - kAlignStyle))
                               : ReplacePagePlaceholder<CButtonControl>(this, id);
            if (button)
                button->Init(style);
        }
    for (int id : {ID_TEXT_COLOR, ID_BUTTON_COLOR, ID_SHADOW_COLOR})
        if (auto* well = ReplacePagePlaceholder<CColorControl>(this, id))
            well->Init(nullptr);
    if (auto* wheel = ReplacePagePlaceholder<CWheelControl>(this, ID_SHADOW_DIRECTION))
        wheel->Init(360, 0, 2, 1);
    if (auto* counter = FindPageControl<wxBitmapComboBox>(this, ID_COUNTER_STYLE)) {
        // Each entry shows the counter of its style as the page will, at most 70 x 24; a picture and its name are too
        // wide for the palette, so the name goes only where the picture is missing.
        if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
            wxImage::AddHandler(new wxPNGHandler());
        for (int style = 0; style < CCounterObject::kStyleCount; ++style) {
            wxImage picture;
            const std::string file = GetBitmapResourcePath(CCounterObject::StyleBitmap(style)).string();
            if (wxFileExists(file) && picture.LoadFile(file, wxBITMAP_TYPE_PNG) && picture.GetHeight() > 0) {
                const double scale = std::min(1.0, std::min(70.0 / picture.GetWidth(), 24.0 / picture.GetHeight()));
                picture.Rescale(std::max(1, static_cast<int>(picture.GetWidth() * scale)),
                                std::max(1, static_cast<int>(picture.GetHeight() * scale)), wxIMAGE_QUALITY_HIGH);
                counter->Append(wxEmptyString, wxBitmap(picture));
            } else {
                counter->Append(wxString::Format("Type %d", style + 1));
            }
        }
    }
    Layout();
}

void CObjectPage::FillControls()
{
    if (!m_pWidth)
        return;
    const ObjectPageContent content = ReadObjectPage();
    SetControlStates(content);
    m_pWidth->ChangeValue(BytesToWx(content.width));
    m_pHeight->ChangeValue(BytesToWx(content.height));
    m_angle->ChangeValue(BytesToWx(content.angle));
    if (content.corner)
        m_corner->ChangeValue(BytesToWx(*content.corner));
    m_altText->Enable(content.altTextEnabled);
    m_altText->ChangeValue(BytesToWx(content.altText));
    EnableButtonTextControls(content.buttonTextEnabled);
    if (content.buttonTextEnabled)
        FillButtonText();
    if (content.counterEntry)
        if (auto* counter = FindPageControl<wxBitmapComboBox>(this, ID_COUNTER_STYLE))
            counter->SetSelection(*content.counterEntry);
    if (content.email)
        if (auto* email = FindPageControl<wxTextCtrl>(this, ID_EMAIL))
            email->ChangeValue(BytesToWx(*content.email));
    if (auto* advanced = FindPageControl<wxCheckBox>(this, ID_ADVANCED))
        advanced->SetValue(content.advancedChecked);
    if (content.states.textEditing)
        FillTextFormat();
    Layout();
}

void CObjectPage::SetControlStates(const ObjectPageContent& content)
{
    const ObjectControlStates& states = content.states;
    m_pWidth->Enable(states.WidthEnabled());
    m_pHeight->Enable(states.HeightEnabled());
    m_angle->Enable(states.AngleEnabled());
    m_corner->Enable(states.CornerEnabled());
    if (wxWindow* format = FindWindow("textFormat"))
        format->Show(states.TextFormatShown());
    for (int id : {ID_FACE, ID_SIZE})
        if (wxWindow* list = FindWindow(id))
            list->Enable(states.textEditing);
    for (auto [id, style] : kTextButtons)
        if (wxWindow* button = FindWindow(id))
            button->Enable(states.textEditing);
    if (wxWindow* well = FindWindow(ID_TEXT_COLOR))
        well->Enable(states.textEditing);
    if (wxWindow* advanced = FindWindow(ID_ADVANCED)) {
        advanced->Show(states.advancedShown);
        advanced->Enable(states.advancedEnabled);
    }
    for (int id : {ID_EDIT_HTML, ID_ADD_FLASH, ID_REMOVE_FLASH})
        if (wxWindow* button = FindWindow(id))
            button->Show(states.html);
    if (wxWindow* counter = FindWindow(ID_COUNTER_STYLE))
        counter->Show(states.counter);
    for (int id : {ID_EMAIL_LABEL, ID_EMAIL})
        if (wxWindow* form = FindWindow(id))
            form->Show(states.form);
}

void CObjectPage::EnableButtonTextControls(bool enable)
{
    for (int id : {ID_BUTTON_TEXT, ID_BUTTON_FACE, ID_BUTTON_SIZE, ID_BUTTON_COLOR, ID_DROP_SHADOW, ID_SHADOW_COLOR,
                   ID_SHADOW_DIRECTION, ID_SHADOW_DISTANCE})
        if (wxWindow* control = FindWindow(id))
            control->Enable(enable);
    for (const char* name : {"shadowLess", "shadowMore"})
        if (wxWindow* arrow = FindWindow(name))
            arrow->Enable(enable);
    for (auto [id, style] : kButtonTextButtons)
        if (wxWindow* button = FindWindow(id))
            button->Enable(enable);
}

void CObjectPage::ApplyBox(wxTextCtrl* box)
{
    if (!box)
        return;
    const std::string text = WxToBytes(box->GetValue());
    if (box == m_pWidth) {
        ApplyObjectWidth(text);
    } else if (box == m_pHeight) {
        ApplyObjectHeight(text);
    } else if (box == m_angle) {
        ApplyObjectAngle(text);
    } else if (box == m_corner) {
        if (auto shown = ApplyObjectCorner(text))
            m_corner->ChangeValue(BytesToWx(*shown));
    } else if (box == m_altText) {
        if (ApplyObjectAltText(text)) {
            FillControls();
            FocusMainFrame();
        }
    }
}

void CObjectPage::ApplyFocusedValue()
{
    ApplyBox(dynamic_cast<wxTextCtrl*>(FindFocus()));
}

void CObjectPage::OnBoxKillFocus(wxFocusEvent& event)
{
    ApplyBox(dynamic_cast<wxTextCtrl*>(event.GetEventObject()));
    event.Skip();
}

void CObjectPage::FillTextFormat()
{
    const std::optional<TextFormatShown> shown = m_format.Fill();
    if (!shown)
        return;
    if (auto* faces = FindPageControl<wxChoice>(this, ID_FACE))
        faces->SetSelection(shown->face ? faces->FindString(BytesToWx(*shown->face), true) : wxNOT_FOUND);
    if (auto* sizes = FindPageControl<wxChoice>(this, ID_SIZE))
        if (sizes->GetSelection() != shown->sizeEntry.value_or(wxNOT_FOUND))
            sizes->SetSelection(shown->sizeEntry.value_or(wxNOT_FOUND));
    if (auto* well = FindPageControl<CColorControl>(this, ID_TEXT_COLOR))
        if (well->GetColor().GetCOLORREF() != shown->color)
            well->SetColor(CColor(shown->color));
    for (auto [id, on] : {std::pair{1042, shown->bold}, {1040, shown->italic}, {1045, shown->underline}})
        if (auto* button = FindPageControl<CButtonControl>(this, id))
            if (button->GetCheck() != on)
                button->SetCheck(on);
    CheckAlignment(shown->alignment);
}

void CObjectPage::CheckAlignment(int alignment)
{
    for (int i = 0; i < 3; ++i)
        if (auto* button = FindPageControl<CButtonControl>(this, kTextButtons[3 + i].first))
            if (button->GetCheck() != (i == alignment))
                button->SetCheck(i == alignment);
}

void CObjectPage::OnFaceChanged(wxCommandEvent& event)
{
    if (event.GetSelection() == wxNOT_FOUND)
        return;
    m_format.ApplyFace(WxToBytes(event.GetString()));
    // With characters selected the keyboard stays here, so that further formats can follow.
    const CTextObject* text = CObjectTextFormat::GetEditedText();
    if (text && text->GetTextBody()->m_selectionEmpty)
        FocusMainFrame();
}

void CObjectPage::OnSizeChanged(wxCommandEvent& event)
{
    if (m_format.ApplySizeEntry(event.GetSelection()))
        FocusMainFrame();
}

void CObjectPage::OnFormatButton(CControlNotifyEvent& event)
{
    if (event.GetCode() != BUTTON_NOTIFY_CLICKED)
        return;
    switch (event.GetId()) {
    case 1042:
        m_format.ToggleBold();
        break;
    case 1040:
        m_format.ToggleItalic();
        break;
    case 1045:
        m_format.ToggleUnderline();
        break;
    default: {
        // A click toggles the button; the alignment in force stays pressed.
        const int alignment = event.GetId() == 1046 ? 0 : event.GetId() == 1048 ? 1 : 2;
        const bool changed = m_format.ApplyAlignment(alignment);
        if (CObjectTextFormat::GetEditedText())
            CheckAlignment(CObjectTextFormat::GetEditedText()->GetTextBody()->m_alignment);
        if (!changed)
            return;
        break;
    }
    }
    FocusMainFrame();
}

void CObjectPage::OnTextColorChanged(CControlNotifyEvent& event)
{
    if (event.GetCode() != COLOR_NOTIFY_CHANGED)
        return;
    if (auto* well = FindPageControl<CColorControl>(this, ID_TEXT_COLOR))
        if (m_format.ApplyColor(well->GetColor().GetCOLORREF()))
            FocusMainFrame();
}

void CObjectPage::OnAdvancedText(wxCommandEvent&)
{
    const std::optional<bool> allows = SwitchAdvancedText();
    FillControls();
    if (auto* advanced = FindPageControl<wxCheckBox>(this, ID_ADVANCED); advanced && allows)
        advanced->SetValue(*allows);
    FocusMainFrame();
}

void CObjectPage::FillButtonText()
{
    const std::optional<ButtonTextShown> shown = ReadButtonText();
    if (!shown)
        return;
    if (auto* faces = FindPageControl<wxChoice>(this, ID_BUTTON_FACE))
        faces->SetSelection(faces->FindString(BytesToWx(shown->face), true));
    if (auto* sizes = FindPageControl<wxChoice>(this, ID_BUTTON_SIZE))
        sizes->SetSelection(sizes->FindString(wxString::Format("%d", shown->size), true));
    if (auto* text = FindPageControl<wxTextCtrl>(this, ID_BUTTON_TEXT); text && WxToBytes(text->GetValue()) != shown->text)
        text->ChangeValue(BytesToWx(shown->text));
    if (auto* well = FindPageControl<CColorControl>(this, ID_BUTTON_COLOR))
        well->SetColor(CColor(shown->color));
    const bool checks[] = {shown->bold,           shown->italic,
                           shown->underline,      shown->alignment == 0,
                           shown->alignment == 1, shown->alignment != 0 && shown->alignment != 1};
    for (size_t i = 0; i < std::size(kButtonTextButtons); ++i)
        if (auto* button = FindPageControl<CButtonControl>(this, kButtonTextButtons[i].first))
            button->SetCheck(checks[i]);
    if (auto* shadow = FindPageControl<wxCheckBox>(this, ID_DROP_SHADOW))
        shadow->SetValue(shown->shadow);
    if (auto* well = FindPageControl<CColorControl>(this, ID_SHADOW_COLOR))
        well->SetColor(CColor(shown->shadowColor));
    if (auto* wheel = FindPageControl<CWheelControl>(this, ID_SHADOW_DIRECTION))
        wheel->WheelSetValue(shown->direction);
    if (auto* distance = FindPageControl<wxTextCtrl>(this, ID_SHADOW_DISTANCE))
        distance->ChangeValue(wxString::Format("%d", shown->distance));
}

void CObjectPage::AfterButtonTextEdit(bool changed, bool focus)
{
    if (changed)
        FillControls();
    if (focus)
        FocusMainFrame();
}

void CObjectPage::OnButtonTextChanged(wxCommandEvent& event)
{
    // Every keystroke is applied; the keyboard stays in the box.
    ApplyButtonText(WxToBytes(event.GetString()));
}

void CObjectPage::OnButtonChoice(wxCommandEvent& event)
{
    if (event.GetSelection() == wxNOT_FOUND)
        return;
    const std::string value = WxToBytes(event.GetString());
    const bool changed =
        event.GetId() == ID_BUTTON_FACE ? ApplyButtonFace(value) : ApplyButtonSize(std::atoi(value.c_str()));
    AfterButtonTextEdit(changed, false);
}

void CObjectPage::OnButtonTextNotify(CControlNotifyEvent& event)
{
    const int id = event.GetId();
    if (id == ID_SHADOW_DIRECTION) {
        // The direction applies when the wheel is let go.
        if (event.GetCode() != WHEEL_NOTIFY_CHANGED)
            return;
        if (auto* wheel = FindPageControl<CWheelControl>(this, id))
            AfterButtonTextEdit(ApplyShadowDirection(wheel->WheelGetValue()), true);
        return;
    }
    if (id == ID_BUTTON_COLOR || id == ID_SHADOW_COLOR) {
        if (event.GetCode() != COLOR_NOTIFY_CHANGED)
            return;
        auto* well = FindPageControl<CColorControl>(this, id);
        if (!well)
            return;
        const COLORREF color = well->GetColor().GetCOLORREF();
        const bool changed = id == ID_BUTTON_COLOR ? ApplyButtonColor(color) : ApplyShadowColor(color);
        AfterButtonTextEdit(changed, id == ID_BUTTON_COLOR || changed);
        return;
    }
    if (event.GetCode() != BUTTON_NOTIFY_CLICKED)
        return;
    bool changed = false;
    switch (id) {
    case 1593:
        changed = ToggleButtonBold();
        break;
    case 1594:
        changed = ToggleButtonItalic();
        break;
    case 1596:
        changed = ToggleButtonUnderline();
        break;
    default:
        changed = ApplyButtonAlignment(id == 1598 ? 0 : id == 1599 ? 1 : 2);
        // The alignment in force stays pressed when clicked again.
        if (!changed)
            FillButtonText();
        break;
    }
    AfterButtonTextEdit(changed, true);
}

void CObjectPage::OnDropShadow(wxCommandEvent&)
{
    AfterButtonTextEdit(ToggleDropShadow(), true);
}

void CObjectPage::OnShadowDistanceText(wxCommandEvent& event)
{
    const ShadowDistanceResult result = ApplyShadowDistance(WxToBytes(event.GetString()));
    if (result.changed)
        AfterButtonTextEdit(true, true);
}

void CObjectPage::RunPlacedObjectCommand(int command)
{
    m_objectJustPlaced = true;
    RunCommand(command);
}

void CObjectPage::RunCommand(int command)
{
    CallAfter([this, command] {
        wxCommandEvent event(wxEVT_BUTTON, command);
        if (command == ID_EDIT_HTML)
            OnEditHtml(event);
        else if (command == ID_ADD_FLASH)
            OnAddFlash(event);
        m_objectJustPlaced = false;
    });
}

void CObjectPage::OnEditHtml(wxCommandEvent&)
{
    const bool justPlaced = m_objectJustPlaced;
    m_objectJustPlaced = false;
    if (EditHtmlObject(justPlaced))
        FocusMainFrame();
}

void CObjectPage::OnAddFlash(wxCommandEvent&)
{
    AddFlashObject();
    m_objectJustPlaced = false;
    FillControls();
    FocusMainFrame();
}

void CObjectPage::OnRemoveFlash(wxCommandEvent&)
{
    RemoveFlashObject();
    FillControls();
    FocusMainFrame();
}

void CObjectPage::OnCounterStyleChanged(wxCommandEvent& event)
{
    if (ApplyCounterStyle(event.GetSelection()))
        FillControls();
    FocusMainFrame();
}
