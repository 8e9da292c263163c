#include "app/docview/page_size_controls.h"

#include <wx/combobox.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

bool CPageSizeControls::Create(wxWindow& window, const PageSizeControlIds& ids, PageSizePresets presets,
                               Handlers handlers)
{
    m_presets = presets;
    m_handlers = std::move(handlers);
    m_pWidth = dynamic_cast<wxTextCtrl*>(window.FindWindow(ids.width));
    m_pHeight = dynamic_cast<wxTextCtrl*>(window.FindWindow(ids.height));
    m_sizes = dynamic_cast<wxComboBox*>(window.FindWindow(ids.sizes));
    if (!m_pWidth || !m_pHeight || !m_sizes)
        return false;
    window.Bind(wxEVT_COMBOBOX_DROPDOWN, &CPageSizeControls::OnDropDown, this, ids.sizes);
    window.Bind(wxEVT_COMBOBOX, &CPageSizeControls::OnChosen, this, ids.sizes);
    return true;
}

void CPageSizeControls::AcceptDigitsOnly()
{
    m_pWidth->SetValidator(wxTextValidator(wxFILTER_DIGITS));
    m_pHeight->SetValidator(wxTextValidator(wxFILTER_DIGITS));
}

void CPageSizeControls::ShowFields(int width, int height)
{
    m_pWidth->ChangeValue(wxString::Format("%d", width));
    m_pHeight->ChangeValue(wxString::Format("%d", height));
}

void CPageSizeControls::ShowSize(int width, int height)
{
    m_filling = true;
    m_sizes->Clear();
    m_sizes->Append(FormatPageSize(width, height));
    m_sizes->SetSelection(0);
    m_filling = false;
}

void CPageSizeControls::OnDropDown(wxCommandEvent& event)
{
    const Size size = m_handlers.current();
    const SizePresetList list = BuildSizePresetList(size.width, size.height, m_presets);
    m_filling = true;
    m_sizes->Clear();
    for (const std::string& entry : list.entries)
        m_sizes->Append(entry);
    m_sizes->SetSelection(list.selection);
    m_filling = false;
    event.Skip();
}

void CPageSizeControls::OnChosen(wxCommandEvent&)
{
    if (!m_filling)
        m_handlers.chosen(m_sizes->GetSelection(), static_cast<int>(m_sizes->GetCount()));
}
