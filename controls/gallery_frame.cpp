#include "controls/gallery_frame.h"

#include "controls/bitmap_list_control.h"
#include "controls/button_controls.h"
#include "controls/flat_button_control.h"
#include "controls/gradient_control.h"
#include "controls/gradient_designer.h"
#include "controls/slider_control.h"
#include "controls/wheel_control.h"
#include "platform/gui/control_notify.h"

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

namespace {

// A control made the way the program makes them (construct, Create, Init) and put into a sizer.
template <class Control> Control* MakeControl(wxWindow* parent, int id, int width, int height)
{
    auto* control = new Control();
    control->Create(CRect(0, 0, width, height), parent, id);
    return control;
}

// The add and remove buttons' pictures, 16 x 16: a plus or a minus sign, dark on the transparent ground.
void DrawSignGlyph(CPixMap& glyph, bool plus)
{
    ClearMap(glyph);
    const ControlRgb dark{32, 32, 32};
    FillMapRect(glyph, 3, 7, 10, 2, dark);
    if (plus)
        FillMapRect(glyph, 7, 3, 2, 10, dark);
}

template <class Item> wxBoxSizer* Row(Item* control, wxStaticText* label)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(control, 0, wxALIGN_CENTER_VERTICAL);
    row->Add(label, 1, wxALIGN_CENTER_VERTICAL | wxLEFT, 12);
    return row;
}

} // namespace

CGalleryFrame::CGalleryFrame() : wxFrame(nullptr, wxID_ANY, "Controls gallery")
{
    auto* panel = new wxPanel(this);
    auto* columns = new wxBoxSizer(wxHORIZONTAL);

    auto* rotationBox = new wxStaticBoxSizer(wxVERTICAL, panel, "Rotation");
    wxWindow* rotationParent = rotationBox->GetStaticBox();
    m_rotation = MakeControl<CWheelControl>(rotationParent, ID_ROTATION, 63, 63);
    m_rotation->Init(360, 0, 2, 1);
    m_rotationLabel = new wxStaticText(rotationParent, wxID_ANY, "");
    rotationBox->Add(Row(m_rotation, m_rotationLabel), 0, wxALL, 8);
    m_fineRotation = MakeControl<CWheelControl>(rotationParent, ID_FINE_ROTATION, 31, 31);
    m_fineRotation->Init(72, 0, 2, 1);
    m_fineRotationLabel = new wxStaticText(rotationParent, wxID_ANY, "");
    rotationBox->Add(Row(m_fineRotation, m_fineRotationLabel), 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);

    auto* sliderBox = new wxStaticBoxSizer(wxVERTICAL, panel, "Opacity and scale");
    wxWindow* sliderParent = sliderBox->GetStaticBox();
    m_opacity = MakeControl<CSliderControl>(sliderParent, ID_OPACITY, 180, 22);
    m_opacity->Init(101, 0, false, false);
    m_opacityLabel = new wxStaticText(sliderParent, wxID_ANY, "");
    sliderBox->Add(Row(m_opacity, m_opacityLabel), 0, wxALL, 8);
    m_scale = MakeControl<CSliderControl>(sliderParent, ID_SCALE, 180, 30);
    m_scale->Init(9, 4, true, true);
    m_scaleLabel = new wxStaticText(sliderParent, wxID_ANY, "");
    sliderBox->Add(Row(m_scale, m_scaleLabel), 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);

    auto* buttonBox = new wxStaticBoxSizer(wxVERTICAL, panel, "Text and colours");
    wxWindow* buttonParent = buttonBox->GetStaticBox();
    auto* styles = new wxBoxSizer(wxHORIZONTAL);
    const struct
    {
        CButtonControl** button;
        int id;
        UINT style;
    } buttons[] = {
        {&m_bold, ID_BOLD, 3}, {&m_italic, ID_ITALIC, 4}, {&m_underline, ID_UNDERLINE, 5}, {&m_grid, ID_GRID, 0}};
    for (const auto& b : buttons) {
        *b.button = MakeControl<CButtonControl>(buttonParent, b.id, 22, 22);
        (*b.button)->Init(b.style);
        styles->Add(*b.button, 0, wxRIGHT, b.id == ID_UNDERLINE ? 10 : 2);
        buttonParent->Bind(EVT_CONTROL_NOTIFY, &CGalleryFrame::OnButton, this, b.id);
    }
    m_italic->SetCheck(true);
    m_grid->SetCheck(true);
    m_styleLabel = new wxStaticText(buttonParent, wxID_ANY, "");
    // Room for the longest description, so that the window need not grow when the buttons change.
    m_styleLabel->SetMinSize(wxSize(m_styleLabel->GetTextExtent("bold, italic, underlined").GetWidth(), -1));
    buttonBox->Add(Row(styles, m_styleLabel), 0, wxALL, 8);

    auto* wells = new wxBoxSizer(wxHORIZONTAL);
    m_fillColour = MakeControl<CColorControl>(buttonParent, ID_FILL_COLOUR, 40, 22);
    const CColor fill(51, 102, 204);
    m_fillColour->Init(&fill);
    m_lineColour = MakeControl<CColorControl>(buttonParent, ID_LINE_COLOUR, 40, 22);
    const CColor line(204, 51, 34);
    m_lineColour->Init(&line);
    wells->Add(new wxStaticText(buttonParent, wxID_ANY, "Fill"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    wells->Add(m_fillColour, 0, wxRIGHT, 12);
    wells->Add(new wxStaticText(buttonParent, wxID_ANY, "Line"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    wells->Add(m_lineColour, 0);
    buttonBox->Add(wells, 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);

    auto* icons = new wxBoxSizer(wxHORIZONTAL);
    for (int glyph : {0, 1, 2, 3, 6027, -1}) {
        auto* icon = MakeControl<CIconControl>(buttonParent, wxID_ANY, 20, 20);
        icon->Init(glyph);
        icons->Add(icon, 0, wxRIGHT, 4);
    }
    buttonBox->Add(icons, 0, wxLEFT | wxRIGHT | wxBOTTOM, 8);

    columns->Add(rotationBox, 0, wxALL | wxEXPAND, 10);
    columns->Add(sliderBox, 0, wxTOP | wxRIGHT | wxBOTTOM | wxEXPAND, 10);
    columns->Add(buttonBox, 0, wxTOP | wxRIGHT | wxBOTTOM | wxEXPAND, 10);

    auto* swatchBox = new wxStaticBoxSizer(wxHORIZONTAL, panel, "Swatches");
    wxWindow* swatchParent = swatchBox->GetStaticBox();
    m_swatches = MakeControl<CBitmapListControl>(swatchParent, ID_SWATCHES, 330, 44);
    m_swatches->Init(12, 0, 1, 8);
    const unsigned long colours[] = {0xffffff, 0xc0c0c0, 0x808080, 0x000000, 0x2222cc, 0x2288ee, 0x22ccee,
                                     0x44aa44, 0xaa8822, 0xcc4422, 0x884488, 0x6699cc, 0x99ccff, 0x336699};
    for (unsigned long colour : colours)
        m_swatches->Add(colour);
    m_swatches->Select(4);
    m_swatches->Update();
    swatchBox->Add(m_swatches, 0, wxALL | wxALIGN_CENTER_VERTICAL, 8);
    swatchParent->Bind(EVT_CONTROL_NOTIFY, &CGalleryFrame::OnSwatch, this, ID_SWATCHES);

    for (auto [id, plus, enabled] :
         {std::tuple{int(ID_ADD_SWATCH), true, true}, {int(ID_REMOVE_SWATCH), false, false}}) {
        CPixMap glyph(IMAGE_MODE_RGBA, 16, 16);
        DrawSignGlyph(glyph, plus);
        // The disabled picture: the glyph in a light grey, shape kept.
        CPixMap faded(IMAGE_MODE_RGBA, glyph.width, glyph.height);
        ClearMap(faded);
        for (int y = 0; y < glyph.height; ++y)
            for (int x = 0; x < glyph.width; ++x)
                if (glyph.Sample(x, y, 0)[0] != 0)
                    FillMapRect(faded, x, y, 1, 1, {160, 160, 160});
        auto* button = new CFlatButtonControl();
        button->Create(CRect(0, 0, 24, 24), swatchParent, id, &glyph, &faded, "");
        button->Enable(enabled);
        swatchBox->Add(button, 0, wxRIGHT | wxALIGN_CENTER_VERTICAL, 4);
    }
    m_swatchLabel = new wxStaticText(swatchParent, wxID_ANY, "");
    swatchBox->Add(m_swatchLabel, 1, wxALL | wxALIGN_CENTER_VERTICAL, 8);

    auto* gradientBox = new wxStaticBoxSizer(wxHORIZONTAL, panel, "Gradient");
    wxWindow* gradientParent = gradientBox->GetStaticBox();
    m_gradient = MakeControl<CGradientControl>(gradientParent, ID_GRADIENT, 120, 22);
    m_gradient->Init();
    gradientBox->Add(m_gradient, 0, wxALL | wxALIGN_CENTER_VERTICAL, 8);
    CGradientModel::GetPredefinedGradient(m_designed, 3);
    m_designed.AddStop(0.9, CColor(255, 255, 255), CColor(40, 40, 40));
    m_designer = MakeControl<CGradientDesignerControl>(gradientParent, ID_DESIGNER, 400, 60);
    m_designer->Init(&m_designed);
    gradientBox->Add(m_designer, 0, wxTOP | wxRIGHT | wxBOTTOM, 8);

    auto* rows = new wxBoxSizer(wxVERTICAL);
    rows->Add(columns, 0);
    rows->Add(swatchBox, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 10);
    rows->Add(gradientBox, 0, wxLEFT | wxRIGHT | wxBOTTOM | wxEXPAND, 10);
    panel->SetSizer(rows);

    // A notification goes to the control's parent, here the box around it.
    rotationParent->Bind(EVT_CONTROL_NOTIFY, &CGalleryFrame::OnWheel, this, ID_ROTATION);
    rotationParent->Bind(EVT_CONTROL_NOTIFY, &CGalleryFrame::OnWheel, this, ID_FINE_ROTATION);
    sliderParent->Bind(EVT_CONTROL_NOTIFY, &CGalleryFrame::OnSlider, this, ID_OPACITY);
    sliderParent->Bind(EVT_CONTROL_NOTIFY, &CGalleryFrame::OnSlider, this, ID_SCALE);

    ShowValues();
    auto* outer = new wxBoxSizer(wxVERTICAL);
    outer->Add(panel, 1, wxEXPAND);
    SetSizerAndFit(outer);
}

void CGalleryFrame::OnWheel(CControlNotifyEvent&)
{
    ShowValues();
}

void CGalleryFrame::OnSlider(CControlNotifyEvent&)
{
    ShowValues();
}

void CGalleryFrame::OnButton(CControlNotifyEvent&)
{
    ShowValues();
}

void CGalleryFrame::OnSwatch(CControlNotifyEvent&)
{
    ShowValues();
}

void CGalleryFrame::ShowValues()
{
    const int swatch = m_swatches->GetSelected();
    m_swatchLabel->SetLabel(swatch < 0 ? wxString("No swatch") : wxString::Format("Swatch %d", swatch + 1));
    wxString style;
    for (auto [button, name] : {std::pair{m_bold, "bold"}, {m_italic, "italic"}, {m_underline, "underlined"}}) {
        if (button->GetCheck())
            style += style.empty() ? wxString(name) : wxString(", ") + name;
    }
    m_styleLabel->SetLabel(style.empty() ? wxString("Plain") : style);
    m_rotationLabel->SetLabel(wxString::Format(L"Angle %d\u00B0", m_rotation->WheelGetValue()));
    m_fineRotationLabel->SetLabel(wxString::Format("Step %d of 72", m_fineRotation->WheelGetValue()));
    m_opacityLabel->SetLabel(wxString::Format("%d %%", m_opacity->GetValue()));
    m_scaleLabel->SetLabel(wxString::Format("%d of 8", m_scale->GetValue()));
}
