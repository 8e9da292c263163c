#include "app/shell/program_services.h"

#include "app/dialogs/download_offer_dlg.h"
#include "app/dialogs/notice_dialogs.h"
#include "app/docview/common_windows.h"
#include "app/docview/design_view.h"
#include "app/docview/document_dialogs.h"
#include "app/docview/message_dlg.h"
#include "app/docview/view_geometry.h"
#include "app/model/site_paths.h"
#include "app/objects/text_body.h"
#include "app/shell/browser_menu.h"
#include "app/shell/clipboard_commands.h"
#include "app/shell/main_frame.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/shapes_dlg.h"
#include "app/shell/tools_bar.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/page_undo_manager.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "controls/button_controls.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"
#include "platform/win/path.h"
#include "platform/win/program_launch.h"

#include <wx/colordlg.h>
#include <wx/filedlg.h>
#include <wx/utils.h>

CWebsite* CProgramServices::GetCurrentSite()
{
    return m_pFrame ? m_pFrame->GetCurrentSite() : nullptr;
}

std::string CProgramServices::GetCurrentSitePath()
{
    const CWebsite* site = GetCurrentSite();
    return site ? site->GetPath() : std::string();
}

CSitePage* CProgramServices::GetCurrentPage()
{
    return m_pFrame ? m_pFrame->GetPageWindows().GetActivePage() : nullptr;
}

CPageObject* CProgramServices::GetCurrentObject()
{
    const CSitePage* page = GetCurrentPage();
    const CPageItem* item = page ? page->GetSingleSelectedItem() : nullptr;
    return item ? item->GetCurrentObject() : nullptr;
}

CAppSettings* CProgramServices::GetAppSettings()
{
    return m_pFrame ? &m_pFrame->GetSettings() : nullptr;
}

CPageItem* CProgramServices::FindItemForObject(const CPageObject* object)
{
    // The item keeps its objects told which item holds them.
    if (!GetCurrentSite() || !object)
        return nullptr;
    return dynamic_cast<CPageItem*>(object->GetItem());
}

bool CProgramServices::GetToolsBarColor(CColor& color)
{
    if (!m_pFrame || !m_pFrame->GetToolsBar())
        return false;
    color = m_pFrame->GetToolsBar()->GetColor();
    return true;
}

int CProgramServices::GetToolsBarTool()
{
    return m_pFrame && m_pFrame->GetToolsBar() ? m_pFrame->GetToolsBar()->GetTool() : 0;
}

void CProgramServices::SetToolsBarTool(int tool)
{
    if (m_pFrame && m_pFrame->GetToolsBar())
        m_pFrame->GetToolsBar()->SetTool(tool);
}

void CProgramServices::SetToolsBarColor(const CColor& color)
{
    if (m_pFrame && m_pFrame->GetToolsBar())
        m_pFrame->GetToolsBar()->SetColor(color);
}

int CProgramServices::GetToolsBarShapeKind()
{
    return m_pFrame && m_pFrame->GetToolsBar() ? m_pFrame->GetToolsBar()->GetShapeKind() : 1;
}

void CProgramServices::ResetShapesPalette()
{
    if (m_pFrame && m_pFrame->GetToolsBar())
        if (CShapesDLG* shapes = m_pFrame->GetToolsBar()->GetShapesPalette())
            shapes->ResetButtons();
}

bool CProgramServices::ShowColorDialog(CColor& color, std::array<COLORREF, 16>& customColors)
{
    wxColourData data;
    data.SetChooseFull(true);
    const unsigned char* rgb = color.GetColor();
    data.SetColour(wxColour(rgb[0], rgb[1], rgb[2]));
    for (int i = 0; i < static_cast<int>(customColors.size()) && i < wxColourData::NUM_CUSTOM; ++i)
        data.SetCustomColour(i, wxColour(static_cast<unsigned long>(customColors[i])));
    wxColourDialog dialog(m_pFrame, &data);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    const wxColourData& result = dialog.GetColourData();
    const wxColour chosen = result.GetColour();
    color = CColor(chosen.Red(), chosen.Green(), chosen.Blue());
    for (int i = 0; i < static_cast<int>(customColors.size()) && i < wxColourData::NUM_CUSTOM; ++i)
        if (result.GetCustomColour(i).IsOk())
            customColors[i] = static_cast<COLORREF>(result.GetCustomColour(i).GetRGB());
    return true;
}

void CProgramServices::BeginWaitCursor()
{
    wxBeginBusyCursor();
}

void CProgramServices::EndWaitCursor()
{
    if (wxIsBusy())
        wxEndBusyCursor();
}

void CProgramServices::UpdateTitle()
{
    if (m_pFrame)
        m_pFrame->UpdateTitle();
}

int CProgramServices::GetDisplayBitsPerPixel()
{
    return wxDisplayDepth();
}

CFileNameMap* CProgramServices::GetSiteFileNameMap()
{
    CWebsite* site = GetCurrentSite();
    return site ? &site->GetFileNameMap() : nullptr;
}

void CProgramServices::SetSiteModified()
{
    if (CWebsite* site = GetCurrentSite()) {
        site->SetModified();
        UpdateTitle();
    }
}

int CProgramServices::GetSitePageCount()
{
    const CWebsite* site = GetCurrentSite();
    return site ? site->GetPageCount() : -1;
}

int CProgramServices::GetSiteMinorVersion()
{
    const CWebsite* site = GetCurrentSite();
    return site ? site->GetFileMinor() : 15;
}

COLORREF CProgramServices::GetSiteLinkColor()
{
    const CWebsite* site = GetCurrentSite();
    return site ? static_cast<COLORREF>(site->GetLinkColor().GetCOLORREF()) : RGB(0, 0, 255);
}

bool CProgramServices::GetPictureFileName(std::string& path)
{
    wxFileDialog dialog(m_pFrame, "Open Picture", PathToWx(PictureChooserFolder(path)), wxEmptyString,
                        "Pictures (*.png;*.jpg;*.jpeg;*.gif;*.bmp)|*.png;*.jpg;*.jpeg;*.gif;*.bmp;*.PNG;*.JPG;*.JPEG;"
                        "*.GIF;*.BMP|All files|*",
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    path = PathFromWx(dialog.GetPath());
    return true;
}

bool CProgramServices::GetDocumentFileName(const std::string& folder, const std::string& name, std::string& path)
{
    wxFileDialog dialog(m_pFrame, "Locate the Document", PathToWx(folder), PathToWx(name), "All files|*",
                        wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    path = PathFromWx(dialog.GetPath());
    return true;
}

void CProgramServices::NotifyInspector(int code)
{
    if (m_pFrame)
        m_pFrame->NotifyInspector(static_cast<UINT>(code));
}

void CProgramServices::ShowObjectInspector()
{
    if (m_pFrame)
        m_pFrame->GetPalettes().ShowObjectPalette();
}

DialogAnswer CProgramServices::ShowNoticeDialog(int textId, bool& dontShowAgain)
{
    CNoticeTableDLG dialog(*FindNotice(kNoticeDontShowAgain), m_pFrame, ResourceText(static_cast<unsigned>(textId)));
    wxBell();
    if (dialog.ShowModal() != wxID_OK)
        return DialogAnswer::cancel;
    dontShowAgain = dialog.IsChecked();
    return DialogAnswer::ok;
}

void CProgramServices::ShowMessage(const std::string& text)
{
    CMessageDlg(m_pFrame, BytesToWx(GetProductName()), BytesToWx(text), wxOK, MessageIcon::warning).ShowModal();
}

void CProgramServices::ShowBuildErrorDialog(const std::string& pageName, const std::string& message)
{
    CNoticeTableDLG dialog(*FindNotice(kNoticeBuildError), m_pFrame);
    dialog.SetDetails(pageName, message);
    dialog.ShowModal();
}

DialogAnswer CProgramServices::ShowMissingDocumentDialog(MissingDocumentDialog& answer)
{
    CMissingDocumentDLG dialog(m_pFrame, answer.m_missingPath);
    const DialogAnswer result = dialog.ShowModal() == wxID_OK ? DialogAnswer::ok : DialogAnswer::cancel;
    answer.m_browsed = dialog.m_browsed;
    answer.m_replacementPath = dialog.m_replacementPath;
    return result;
}

void CProgramServices::ShowInfoMessage(const std::string& text)
{
    CMessageDlg(m_pFrame, BytesToWx(GetProductName()), BytesToWx(text), wxOK, MessageIcon::information).ShowModal();
}

bool CProgramServices::AskYesNo(const std::string& caption, const std::string& text)
{
    return CMessageDlg(m_pFrame, BytesToWx(caption), BytesToWx(text), wxYES_NO, MessageIcon::question).ShowModal() ==
           wxID_YES;
}

void CProgramServices::Beep()
{
    wxBell();
}

COrvelView* CProgramServices::GetCurrentView()
{
    return m_pFrame ? m_pFrame->GetPageWindows().GetActiveView() : nullptr;
}

YesNoCancel CProgramServices::ShowSaveChangesDialog()
{
    switch (AskSaveChangesDialog(m_pFrame)) {
    case SaveChangesAnswer::yes:
        return YesNoCancel::yes;
    case SaveChangesAnswer::no:
        return YesNoCancel::no;
    case SaveChangesAnswer::cancel: break;
    }
    return YesNoCancel::cancel;
}

std::unique_ptr<CUndoManager> CProgramServices::CreateUndoManager(CSitePage* owner, int capacity)
{
    return std::make_unique<CPageUndoManager>(owner, capacity);
}

void CProgramServices::EndAllTextEditing()
{
    if (m_pFrame)
        m_pFrame->GetOpenSite().GetDocument().CommitPendingTextEdits();
}

void CProgramServices::MarkClipboardStale()
{
    MarkClipboardFromOtherSite();
}

void CProgramServices::ShowItemOnPage(CSitePage* page, CPageItem* item)
{
    if (!m_pFrame || !page || !item)
        return;
    COrvelFrame* window = m_pFrame->GetPageWindows().ShowPageByName(page->GetName());
    if (!window || window->GetPage() != page)
        return;
    // One undo step brings back the selection and any user group taken apart for the item; the group is recorded
    // selected, as it is when the user takes it apart.
    page->ClearSelection();
    CObjectFrame* group = item->GetGroup();
    const bool grouped = group && group->IsGroup();
    if (grouped)
        group->SetSelected(true);
    page->GetUndoManager()->RecordUndo(UndoKind::grouping);
    if (grouped)
        group->SetGroup(false);
    page->SelectItem(item);
    window->GetView()->InvalidateSelection();
    NotifyInspector(CSitePage::kCommandDone);
}

void CProgramServices::SaveSiteAs()
{
    // After the publishing task, which keeps the main window disabled while it runs.
    if (m_pFrame)
        m_pFrame->CallAfter([frame = m_pFrame] { frame->GetOpenSite().GetDocument().OnFileSaveAs(); });
}

void CProgramServices::OpenFileForEditing(const std::string& path)
{
    // An editor that does not start is told, not passed over in silence.
    if (!OpenWithDefaultHandler(path))
        ShowMessage("The file " + path + " could not be opened.");
}

// The program's own answer: the page window goes, and the window that comes forward names the current page.
CSitePage* CProgramServices::CloseActivePageWindow()
{
    return m_pFrame ? m_pFrame->GetPageWindows().CloseActive() : nullptr;
}

// The browser submenu's and the companion tools' dialogs.

bool CProgramServices::ChooseBrowserFile(std::string& path)
{
    const std::string folder = path.empty() ? "/usr/share/applications" : GetPathFolder(path);
    wxFileDialog dialog(m_pFrame, BytesToWx(AddBrowserChooserTitle()), PathToWx(folder), wxEmptyString,
                        BytesToWx(ResourceText(IDS_PROGRAM_FILES_FILTER)) + "|*", wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    path = PathFromWx(dialog.GetPath());
    return true;
}

bool CProgramServices::ChooseBrowsersToRemove(const std::vector<std::string>& labels, std::vector<bool>& selected)
{
    CRemoveBrowserDLG dialog(m_pFrame, labels);
    if (!dialog.IsReady() || dialog.ShowModal() != wxID_OK)
        return false;
    selected.clear();
    for (const int state : dialog.GetStates())
        selected.push_back(state != 0);
    return true;
}

bool CProgramServices::ShowDownloadOffer(int offer)
{
    CDownloadOfferDialog dialog(offer, m_pFrame);
    return dialog.IsOk() && dialog.ShowModal() == wxID_OK;
}
