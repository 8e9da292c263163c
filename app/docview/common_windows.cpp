#include "app/docview/common_windows.h"

#include <wx/app.h>
#include <wx/bookctrl.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/simplebook.h>
#include <wx/sizer.h>
#include <wx/xrc/xmlres.h>

#include <memory>

#include "app/docview/message_dlg.h"
#include "app/model/file_pair.h"
#include "app/site/website.h"
#include "platform/gui/xrc_resources.h"

namespace {

constexpr int kCheckAll = 1536;
constexpr int kClearAll = 1537;
constexpr int kList = 1538;
constexpr const char* kEditMenu = "587";
constexpr const char* kCloseSiteTemplate = "332";

// The program's texts are Windows-1252.
wxString FromProgramText(const std::string& text)
{
    return wxString(text.c_str(), wxConvISO8859_1);
}

std::vector<std::string> IncludedFileSources(const CWebsite& site)
{
    std::vector<std::string> sources;
    for (int i = 0; i < site.GetFilePairCount(); ++i)
        sources.push_back(site.GetFilePair(i)->m_strSource);
    return sources;
}

} // namespace

CRemoveItemsDLG::CRemoveItemsDLG(wxWindow* parent, const char* templateName, const std::vector<std::string>& labels)
    : m_checks(static_cast<int>(labels.size()))
{
    if (!LoadXrcResources() || !wxXmlResource::Get()->LoadDialog(this, parent, templateName))
        return;
    m_pList = dynamic_cast<wxCheckListBox*>(FindWindow(kList));
    if (!m_pList)
        return;
    for (const std::string& label : labels)
        m_pList->Append(FromProgramText(label));
    if (!labels.empty())
        m_pList->SetSelection(0);
    Bind(wxEVT_BUTTON, &CRemoveItemsDLG::OnCheckAll, this, kCheckAll);
    Bind(wxEVT_BUTTON, &CRemoveItemsDLG::OnClearAll, this, kClearAll);
    Bind(wxEVT_CHECKLISTBOX, &CRemoveItemsDLG::OnToggled, this, kList);
    Bind(wxEVT_LISTBOX_DCLICK, &CRemoveItemsDLG::OnDoubleClick, this, kList);
    UpdateButtons();
}

void CRemoveItemsDLG::OnCheckAll(wxCommandEvent&)
{
    m_checks.CheckAll();
    for (unsigned i = 0; i < m_pList->GetCount(); ++i)
        m_pList->Check(i, true);
    UpdateButtons();
}

void CRemoveItemsDLG::OnClearAll(wxCommandEvent&)
{
    m_checks.ClearAll();
    for (unsigned i = 0; i < m_pList->GetCount(); ++i)
        m_pList->Check(i, false);
    UpdateButtons();
}

void CRemoveItemsDLG::OnToggled(wxCommandEvent& event)
{
    const int i = event.GetInt();
    if (i >= 0 && i < static_cast<int>(m_pList->GetCount()))
        m_checks.SetCheck(i, m_pList->IsChecked(i));
    UpdateButtons();
}

void CRemoveItemsDLG::OnDoubleClick(wxCommandEvent&)
{
    const int i = m_pList->GetSelection();
    if (i == wxNOT_FOUND)
        return;
    m_pList->Check(i, !m_pList->IsChecked(i));
    m_checks.SetCheck(i, m_pList->IsChecked(i));
    UpdateButtons();
}

void CRemoveItemsDLG::UpdateButtons()
{
    if (wxWindow* ok = FindWindow(wxID_OK))
        ok->Enable(m_checks.CanRemove());
    if (wxWindow* checkAll = FindWindow(kCheckAll))
        checkAll->Enable(m_checks.CanCheckAll());
    if (wxWindow* clearAll = FindWindow(kClearAll))
        clearAll->Enable(m_checks.CanClearAll());
}

CRemoveBrowserDLG::CRemoveBrowserDLG(wxWindow* parent, const std::vector<std::string>& browserLabels)
    : CRemoveItemsDLG(parent, "559", browserLabels)
{
}

CRemoveIncludedFilesDLG::CRemoveIncludedFilesDLG(const CWebsite& site, wxWindow* parent)
    : CRemoveItemsDLG(parent, "580", IncludedFileSources(site))
{
}

namespace {

// Opens the context menu over a text field at a screen point. Its items follow what the main window's commands
// can do now, and a command chosen goes to the main window's command routing. The menu opens on the field itself:
// the toolkit drops the commands of a menu opened on a window that a modal dialog stands in front of.
void ShowEditContextMenu(wxTextCtrl& text, const wxPoint& screen)
{
    wxWindow* main = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    if (!main || !LoadXrcResources())
        return;
    std::unique_ptr<wxMenu> menu(wxXmlResource::Get()->LoadMenu(kEditMenu));
    if (!menu)
        return;
    menu->UpdateUI(main->GetEventHandler());
    menu->Bind(wxEVT_MENU, [main](wxCommandEvent& event) {
        wxCommandEvent command(wxEVT_MENU, event.GetId());
        command.SetEventObject(main);
        main->GetEventHandler()->ProcessEvent(command);
    });
    text.PopupMenu(menu.get(), text.ScreenToClient(screen));
}

} // namespace

void UseEditContextMenu(wxTextCtrl& text)
{
    // The toolkit opens its own menu on the press, so the press is taken here; it still gives the field the
    // focus, as a press of any button does.
    text.Bind(wxEVT_RIGHT_DOWN, [&text](wxMouseEvent&) { text.SetFocus(); });
    text.Bind(wxEVT_RIGHT_UP,
              [&text](wxMouseEvent& event) { ShowEditContextMenu(text, text.ClientToScreen(event.GetPosition())); });
    // From the keyboard the menu opens at the field's top-left corner.
    text.Bind(wxEVT_CONTEXT_MENU, [&text](wxContextMenuEvent& event) {
        const wxPoint at = event.GetPosition();
        ShowEditContextMenu(text, at == wxDefaultPosition ? text.ClientToScreen(wxPoint(0, 0)) : at);
    });
}

CContextRichEdit::CContextRichEdit(wxWindow* parent, wxWindowID id, const wxString& value, const wxPoint& pos,
                                   const wxSize& size, long style)
    : wxTextCtrl(parent, id, value, pos, size, style | wxTE_MULTILINE | wxTE_RICH2)
{
    UseEditContextMenu(*this);
}

CCloseSiteDLG::CCloseSiteDLG(wxWindow* parent)
{
    m_ready = LoadXrcResources() && wxXmlResource::Get()->LoadDialog(this, MessageParent(parent), kCloseSiteTemplate);
    if (m_ready)
        FinishMessageLayout(*this);
}

CPropertyPageExt::CPropertyPageExt(CWizardSheet& sheet, int templateId) : m_templateId(templateId)
{
    const wxString name = wxString::Format("%d", templateId);
    // A page without a template of its own is an empty panel that its wizard fills.
    wxLogNull noTemplate;
    if (!LoadXrcResources() || !wxXmlResource::Get()->LoadPanel(this, sheet.GetBookCtrl(), name))
        Create(sheet.GetBookCtrl());
    m_initialized = true;
}

CWizardSheet::CWizardSheet(const wxString& caption, wxWindow* parent)
{
    Create(parent, wxID_ANY, caption);
    CreateButtons(wxOK | wxCANCEL);
    LayoutDialog();
}

void CWizardSheet::AddPage(CPropertyPageExt* page, const wxString& title)
{
    GetBookCtrl()->AddPage(page, title);
    page->m_sheet = this;
    if (GetTitle().empty())
        SetTitle(title);
}

wxBookCtrlBase* CWizardSheet::CreateBookCtrl()
{
    return new wxSimplebook(this, wxID_ANY);
}

int CWizardSheet::DoModal()
{
    // A modal sheet that may not show could never be closed.
    if (!m_showAllowed)
        return wxID_CANCEL;
    LayoutDialog();
    return ShowModal();
}

bool CWizardSheet::Show(bool show)
{
    if (show && !m_showAllowed)
        return false;
    return wxPropertySheetDialog::Show(show);
}
