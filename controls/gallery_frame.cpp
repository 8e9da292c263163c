#include "controls/gallery_frame.h"

#include "controls/slider_control.h"
#include "controls/wheel_control.h"
#include "platform/gui/control_notify.h"

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/image.h>
#include <wx/imagpng.h>
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

wxBoxSizer* Row(wxWindow* control, wxStaticText* label)
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

    columns->Add(rotationBox, 0, wxALL | wxEXPAND, 10);
    columns->Add(sliderBox, 0, wxTOP | wxRIGHT | wxBOTTOM | wxEXPAND, 10);
    panel->SetSizer(columns);

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

void CGalleryFrame::ShowValues()
{
    m_rotationLabel->SetLabel(wxString::Format(L"Angle %d\u00B0", m_rotation->WheelGetValue()));
    m_fineRotationLabel->SetLabel(wxString::Format("Step %d of 72", m_fineRotation->WheelGetValue()));
    m_opacityLabel->SetLabel(wxString::Format("%d %%", m_opacity->GetValue()));
    m_scaleLabel->SetLabel(wxString::Format("%d of 8", m_scale->GetValue()));
}

bool SaveWindowPicture(wxWindow* window, const wxString& file)
{
    const wxRect area = window->GetScreenRect();
    if (area.IsEmpty())
        return false;
    wxBitmap picture(area.GetWidth(), area.GetHeight(), 24);
    {
        wxScreenDC screen;
        wxMemoryDC target(picture);
        if (!target.Blit(0, 0, area.GetWidth(), area.GetHeight(), &screen, area.GetX(), area.GetY()))
            return false;
    }
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler());
    return picture.ConvertToImage().SaveFile(file, wxBITMAP_TYPE_PNG);
}
