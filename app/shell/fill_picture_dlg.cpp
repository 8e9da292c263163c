#include "app/shell/fill_picture_dlg.h"

#include "app/docview/message_dlg.h"
#include "app/shell/wx_text.h"
#include "controls/button_controls.h"
#include "platform/gui/control_notify.h"
#include "platform/gui/xrc_resources.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

namespace {

// The controls of each twin, by the spec's numbers.
struct FillPictureIds
{
    const char* templateName;
    int edit;
    int check;
    int holder;
    int tryAgain;
};

constexpr FillPictureIds kIds[] = {
    {"417", 1213, 1212, 1217, 1211},
    {"418", 1214, 1216, 1218, 1219},
};

// Whether the user last chose Try Again, per twin, for the rest of the run.
bool g_lastTryAgain[2] = {false, false};

const FillPictureIds& IdsOf(CFillPictureDLG::Kind kind)
{
    return kIds[kind == CFillPictureDLG::Kind::missing ? 0 : 1];
}

bool& LastTryAgain(CFillPictureDLG::Kind kind)
{
    return g_lastTryAgain[kind == CFillPictureDLG::Kind::missing ? 0 : 1];
}

} // namespace

void CFillPictureDLG::ResetRememberedChoices()
{
    g_lastTryAgain[0] = g_lastTryAgain[1] = false;
}

CFillPictureDLG::CFillPictureDLG(Kind kind, const std::string& path, const CColor& color, wxWindow* parent)
    : m_color(color), m_kind(kind)
{
    const FillPictureIds& ids = IdsOf(kind);
    if (!LoadXrcResources() || !wxXmlResource::Get()->LoadDialog(this, MessageParent(parent), ids.templateName))
        return;
    auto* edit = dynamic_cast<wxTextCtrl*>(FindWindow(ids.edit));
    m_pCheck = dynamic_cast<wxCheckBox*>(FindWindow(ids.check));
    wxWindow* holder = FindWindow(ids.holder);
    if (!edit || !m_pCheck || !holder || !holder->GetContainingSizer())
        return;
    edit->ChangeValue(PathToWx(path));

    // The colour well takes the place the template keeps for it.
    const wxRect place = holder->GetRect();
    auto* well = new CColorControl();
    well->Create(CRect(place.GetLeft(), place.GetTop(), place.GetRight() + 1, place.GetBottom() + 1), this,
                 static_cast<UINT>(ids.holder));
    well->SetMinSize(holder->GetMinSize());
    holder->GetContainingSizer()->Replace(holder, well);
    holder->Destroy();
    well->Init(&m_color);
    m_pWell = well;

    m_bTryAgain = LastTryAgain(kind);
    m_pCheck->SetValue(!m_bTryAgain);
    Bind(
        wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateOk(); }, ids.check);
    Bind(
        EVT_CONTROL_NOTIFY,
        [this](CControlNotifyEvent& event) {
            if (event.GetCode() == COLOR_NOTIFY_CHANGED)
                OnColorChanged();
        },
        ids.holder);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnTryAgain(); }, ids.tryAgain);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnOk(); }, wxID_OK);
    UpdateOk();
    edit->SetFocus();
    FinishMessageLayout(*this);
}

int CFillPictureDLG::ShowModal()
{
    return IsReady() ? wxDialog::ShowModal() : wxID_CANCEL;
}

// OK takes the solid colour, so it waits for the box that says so.
void CFillPictureDLG::UpdateOk()
{
    if (wxWindow* ok = FindWindow(wxID_OK))
        ok->Enable(m_pCheck->GetValue());
}

void CFillPictureDLG::OnColorChanged()
{
    m_pCheck->SetValue(true);
    UpdateOk();
}

void CFillPictureDLG::OnTryAgain()
{
    LastTryAgain(m_kind) = m_bTryAgain = true;
    EndModal(wxID_OK);
}

void CFillPictureDLG::OnOk()
{
    LastTryAgain(m_kind) = m_bTryAgain = false;
    m_color = m_pWell->GetColor();
    EndModal(wxID_OK);
}
