#include "app/dialogs/file_placement_wizard.h"

#include <wx/button.h>
#include <wx/utils.h>

#include "app/dialogs/flash_page.h"
#include "app/dialogs/notice_dialogs.h"
#include "app/dialogs/site_folder_dlg.h"
#include "app/dialogs/site_folder_tree.h"
#include "app/dialogs/xml_file_collection.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

namespace {

constexpr int kTemplateId = 5040;
constexpr int kTreeId = 1620;
constexpr int kBrowseId = 1631;

} // namespace

CFilePlacementWizard::CFilePlacementWizard(std::vector<std::string>& sourceNames,
                                           const std::vector<std::string>& reservedNames,
                                           const std::vector<const CFilePair*>& pairs, wxWindow* parent)
    : CWizardSheet(wxString(), parent), m_sourceNames(sourceNames)
{
    for (const CFilePair* pair : pairs)
        m_pairs.push_back(*pair);
    std::vector<const CFilePair*> copies;
    for (const CFilePair& pair : m_pairs)
        copies.push_back(&pair);
    m_model.Build(reservedNames, copies);

    auto* page = new CPropertyPageExt(*this, kTemplateId);
    AddPage(page, BytesToWx(ResourceText(IDS_ADD_FILES_FROM_XML, "Add Files From XML")));
    m_tree = dynamic_cast<CSiteFolderTree*>(page->FindWindow(kTreeId));
    if (!m_tree)
        return;
    m_tree->SetModel(&m_model);
    m_tree->Fill(CSiteFolderTree::kSortOnExpand, true);
    m_tree->Expand(m_tree->GetRootItem());
    page->Bind(wxEVT_BUTTON, &CFilePlacementWizard::OnBrowse, this, kBrowseId);
    if (auto* finish = dynamic_cast<wxButton*>(FindWindow(wxID_OK)))
        finish->SetLabel(_("&Finish"));
    UpdateFinish();
    m_chooseFiles = [this](std::vector<std::string>& paths) {
        return ChooseFiles(this, BytesToWx(ResourceText(IDS_ADD_FILES_FROM_XML, "Add Files From XML")),
                           BytesToWx(ResourceText(IDS_XML_FILES, "XML Files")) + " (*.xml)|*.xml;*.XML", paths);
    };
    SetShowAllowed(true);
    // The chooser opens as soon as the wizard shows.
    CallAfter([this] {
        wxCommandEvent browse(wxEVT_BUTTON, kBrowseId);
        OnBrowse(browse);
    });
}

void CFilePlacementWizard::UpdateFinish()
{
    if (wxWindow* finish = FindWindow(wxID_OK))
        finish->Enable(m_added > 0);
}

void CFilePlacementWizard::OnBrowse(wxCommandEvent&)
{
    // Whatever happens, Browse ends the wizard: a run of the wizard is one run of Browse.
    std::vector<std::string> chosen;
    if (m_chooseFiles && m_chooseFiles(chosen) && !chosen.empty()) {
        wxBusyCursor wait;
        CollectedFiles set;
        for (const std::string& xml : chosen)
            CollectXmlFiles(xml, m_sourceNames, set, CompanionPlacement::inRoot);
        FlashCode code;
        const FlashPageResult page = LoadFlashPage(chosen.back(), code);
        if (page != FlashPageResult::ok) {
            GetMessages().ShowMessage(FlashPageError(page));
        } else {
            m_added += PlaceCollectedFiles(set, m_model, m_pairs, m_sourceNames);
            m_flash = {true, code.text, code.marker, code.width, code.height, UsedFlashFiles(set, m_model)};
            m_tree->Fill(CSiteFolderTree::kSortOnExpand, true);
            m_tree->Expand(m_tree->GetRootItem());
            UpdateFinish();
        }
    }
    if (IsModal())
        EndModal(wxID_OK);
}
