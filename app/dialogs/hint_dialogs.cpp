#include "app/dialogs/hint_dialogs.h"

#include <wx/artprov.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/help_dialogs.h"
#include "app/dialogs/notice_dialogs.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

namespace {

constexpr int kHintCheckId = 1569;

} // namespace

CToolHintDLG::CToolHintDLG(const HintRow& hint, wxWindow* parent) : m_hint(hint)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "hint");
    if (!m_bLoaded)
        return;
    SetIconAndText(*this, NoticeIcon::information, BytesToWx(ResourceText(static_cast<unsigned>(hint.id))));
    m_check = dynamic_cast<wxCheckBox*>(FindWindow(kHintCheckId));
    if (wxWindow* cancel = FindWindow(wxID_CANCEL))
        cancel->Show(hint.hasCancel);
    Bind(wxEVT_BUTTON, &CToolHintDLG::OnOK, this, wxID_OK);
    EscapeCancels(*this);
    GetSizer()->SetSizeHints(this);
}

int CToolHintDLG::ShowModal()
{
    if (!m_bLoaded)
        return wxID_CANCEL;
    if (m_check)
        m_check->SetValue(false);
    CentreOnScreen();
    return wxDialog::ShowModal();
}

void CToolHintDLG::OnOK(wxCommandEvent&)
{
    if (CAppSettings* settings = GetAppSettings())
        ApplyHintAnswer(*settings, m_hint, IDOK, m_check && m_check->GetValue());
    EndModal(wxID_OK);
}

int RunHintWhenOn(int id, wxWindow* parent)
{
    const HintRow* hint = FindHint(id);
    CAppSettings* settings = GetAppSettings();
    if (!hint || !settings || !IsHintOn(*settings, *hint))
        return IDOK;
    CToolHintDLG dialog(*hint, parent);
    return dialog.ShowModal() == wxID_OK ? IDOK : IDCANCEL;
}

CHelpDialogsDLG::CHelpDialogsDLG(wxWindow* parent)
{
    m_bLoaded = wxXmlResource::Get()->LoadDialog(this, parent, "486");
    if (!m_bLoaded)
        return;
    std::vector<bool> states;
    if (const CAppSettings* settings = GetAppSettings())
        states = ReadHelpDialogFlags(*settings);
    const std::vector<HelpDialogBox>& boxes = GetHelpDialogBoxes();
    for (size_t i = 0; i < boxes.size(); ++i) {
        auto* box = dynamic_cast<wxCheckBox*>(FindWindow(boxes[i].id));
        if (!box) {
            m_bLoaded = false;
            return;
        }
        box->SetValue(i < states.size() && states[i]);
        m_boxes.push_back(box);
    }
    Bind(wxEVT_BUTTON, &CHelpDialogsDLG::OnOK, this, wxID_OK);
    GetSizer()->SetSizeHints(this);
    PlaceDialog(*this, NoticePlacement::owner);
}

void CHelpDialogsDLG::OnOK(wxCommandEvent&)
{
    std::vector<bool> states;
    for (const wxCheckBox* box : m_boxes)
        states.push_back(box->GetValue());
    if (CAppSettings* settings = GetAppSettings())
        WriteHelpDialogFlags(*settings, states);
    EndModal(wxID_OK);
}
