// The program's answers to the core's dialog services: the windows of the dialogs library, owned by the main frame.

#include <wx/app.h>

#include "app/dialogs/about_dlg.h"
#include "app/dialogs/file_placement_wizard.h"
#include "app/dialogs/hint_dialogs.h"
#include "app/dialogs/hint_table.h"
#include "app/dialogs/internet_setup_dlg.h"
#include "app/dialogs/notice_dialogs.h"
#include "app/dialogs/picture_dialogs.h"
#include "app/dialogs/progress_windows.h"
#include "app/dialogs/site_folder_dlg.h"
#include "app/dialogs/themes.h"
#include "app/dialogs/themes_dlg.h"
#include "app/dialogs/tips_dlg.h"
#include "app/dialogs/upload_progress_dlg.h"
#include "app/dialogs/welcome_dlg.h"
#include "app/model/app_settings.h"
#include "app/shell/main_frame.h"
#include "app/shell/program_services.h"

bool CProgramServices::RunFilesDialog(FilesDialogKind kind, const std::vector<std::string>& reservedNames,
                                      const std::vector<const CFilePair*>& pairs, FilesDialogResult& result)
{
    std::vector<std::string> localFiles;
    if (kind == kAddFilesDialog) {
        CAddFilesDLG dialog(localFiles, reservedNames, pairs, m_pFrame);
        if (!dialog.IsOk() || dialog.ShowModal() != wxID_OK)
            return false;
        result = MakeFilesDialogResult(dialog.GetModel(), localFiles);
        return true;
    }
    if (kind == kAddFilesFromXmlDialog) {
        CAddFilesFromXmlDLG dialog(localFiles, reservedNames, pairs, m_pFrame);
        if (!dialog.IsOk() || dialog.ShowModal() != wxID_OK)
            return false;
        result = MakeFilesDialogResult(dialog.GetModel(), localFiles);
        return true;
    }
    // The wizard finishes by itself; it changed nothing unless it placed files or read a program's page.
    CFilePlacementWizard wizard(localFiles, reservedNames, pairs, m_pFrame);
    if (!wizard.IsOk() || wizard.DoModal() == wxID_CANCEL)
        return false;
    result = MakeFilesDialogResult(wizard.GetModel(), localFiles);
    result.m_flash = wizard.GetFlashCode();
    return result.m_flash.m_set || !localFiles.empty();
}

DialogAnswer CProgramServices::ShowNotice(int id)
{
    return RunNotice(id, m_pFrame) == IDOK ? DialogAnswer::ok : DialogAnswer::cancel;
}

DialogAnswer CProgramServices::ShowPublishDialog(int id)
{
    return RunNotice(id, m_pFrame) == IDOK ? DialogAnswer::ok : DialogAnswer::cancel;
}

DialogAnswer CProgramServices::ShowDeletePageDialog()
{
    return RunNotice(kNoticeDeletePage, m_pFrame) == IDOK ? DialogAnswer::ok : DialogAnswer::cancel;
}

DialogAnswer CProgramServices::ShowFillMissingDialog(FillPictureDialog& data)
{
    CFillPictureDLG dialog(417, m_pFrame, data);
    return dialog.ShowModal() == wxID_OK ? DialogAnswer::ok : DialogAnswer::cancel;
}

DialogAnswer CProgramServices::ShowFillInvalidDialog(FillPictureDialog& data)
{
    CFillPictureDLG dialog(418, m_pFrame, data);
    return dialog.ShowModal() == wxID_OK ? DialogAnswer::ok : DialogAnswer::cancel;
}

DialogAnswer CProgramServices::ShowPictureTooLargeDialog(bool& fit, bool& keepAspect)
{
    CPictureTooLargeDLG dialog(m_pFrame);
    const DialogAnswer result = dialog.ShowModal() == wxID_OK ? DialogAnswer::ok : DialogAnswer::cancel;
    fit = dialog.GetChoice().fit;
    keepAspect = dialog.GetChoice().keepAspect;
    return result;
}

void CProgramServices::ShowNoMemoryForFillDialog()
{
    RunNotice(kNoticeNoMemoryForFill, m_pFrame);
}

void CProgramServices::ShowPngTransparencyNotice()
{
    RunNotice(kNoticePngTransparency, m_pFrame);
}

DialogAnswer CProgramServices::ShowHintDialog(int id)
{
    return RunHintWhenOn(id, m_pFrame) == IDOK ? DialogAnswer::ok : DialogAnswer::cancel;
}

void CProgramServices::ShowToolHint(int tool)
{
    if (const HintRow* hint = FindToolHint(tool))
        RunHintWhenOn(hint->id, m_pFrame);
}

void CProgramServices::ShowPictureDialog(int id)
{
    RunNotice(id, m_pFrame);
}

DialogAnswer CProgramServices::ShowHelpDialogsDialog()
{
    CHelpDialogsDLG dialog(m_pFrame);
    return dialog.IsOk() && dialog.ShowModal() == wxID_OK ? DialogAnswer::ok : DialogAnswer::cancel;
}

DialogAnswer CProgramServices::ShowTipsDialog()
{
    CTipsDLG dialog(m_pFrame);
    return dialog.ShowModal() == wxID_OK ? DialogAnswer::ok : DialogAnswer::cancel;
}

DialogAnswer CProgramServices::ShowThemesDialog(std::string& path)
{
    const std::string folder = m_pFrame ? m_pFrame->GetRun().GetEnvironment().programFolder : std::string();
    CThemesDLG dialog(m_pFrame, GetThemesFolder(folder));
    if (dialog.ShowModal() != wxID_OK)
        return DialogAnswer::cancel;
    path = dialog.GetChosenPath();
    return DialogAnswer::ok;
}

DialogAnswer CProgramServices::ShowWelcomeDialog(int& start, bool& dontShowAgain)
{
    CWelcomeDLG dialog(m_pFrame);
    const int result = dialog.ShowModal();
    start = dialog.GetChoice().start;
    dontShowAgain = dialog.GetChoice().dontShowAgain;
    return result == wxID_OK ? DialogAnswer::ok : DialogAnswer::cancel;
}

void CProgramServices::ShowAboutDialog()
{
    CAboutDLG dialog(m_pFrame);
    if (dialog.IsOk())
        dialog.ShowModal();
}

void CProgramServices::ShowFeedbackDialog()
{
    CFeedbackDLG dialog(m_pFrame);
    if (dialog.IsOk())
        dialog.ShowModal();
}

CProgramServices::CProgramServices() = default;

CProgramServices::~CProgramServices()
{
    if (&GetCoreServices() == this)
        SetCoreServices(nullptr);
    if (&GetMessages() == this)
        SetMessages(nullptr);
    if (&GetCurrentState() == this)
        SetCurrentState(nullptr);
    if (&GetModelDialogs() == this)
        SetModelDialogs(nullptr);
    if (&GetPublishHost() == this)
        SetPublishHost(nullptr);
    if (&GetShellDialogs() == this)
        SetShellDialogs(nullptr);
    if (&GetToolsAndInspector() == this)
        SetToolsAndInspector(nullptr);
}

void InstallProgramServices(CProgramServices* services)
{
    SetCoreServices(services);
    SetMessages(services);
    SetCurrentState(services);
    SetModelDialogs(services);
    SetPublishHost(services);
    SetShellDialogs(services);
    SetToolsAndInspector(services);
}

DialogAnswer CProgramServices::RunInternetSetupDialog(SetupFocus focus)
{
    CAppSettings* settings = GetAppSettings();
    return settings && RunInternetSetup(m_pFrame, *settings, static_cast<int>(focus)) ? DialogAnswer::ok
                                                                                       : DialogAnswer::cancel;
}

void CProgramServices::ShowUploadProgress(CUploadProgress* progress, CFtp* connection)
{
    m_uploadProgress.reset();
    if (!progress)
        return;
    const CAppSettings* settings = GetAppSettings();
    m_uploadProgress = std::make_unique<CUploadProgressWindow>(
        m_pFrame, *progress, connection, settings ? UploadDestinationText(*settings) : std::string());
}

void CProgramServices::UpdateUploadProgress(int pauseMs)
{
    if (m_uploadProgress)
        m_uploadProgress->Update(pauseMs);
}

std::shared_ptr<BuildProgress> CProgramServices::ShowBuildProgress()
{
    return std::make_shared<CBuildStatusWindow>(m_pFrame);
}

void CProgramServices::ShowConnectingNotice(bool show)
{
    if (m_connecting) {
        m_connecting->Destroy();
        m_connecting = nullptr;
    }
    if (!show)
        return;
    m_connecting = new CConnectingDLG(m_pFrame);
    if (!m_connecting->IsOk()) {
        m_connecting->Destroy();
        m_connecting = nullptr;
        return;
    }
    // Painted before the attempt blocks the event loop.
    m_connecting->Show();
    m_connecting->Update();
    wxTheApp->Yield(true);
}

CChangedPages* CProgramServices::GetChangedPages()
{
    return m_pFrame ? &m_pFrame->GetRun().GetChangedPages() : nullptr;
}
