#pragma once

// The program's answers to the core's questions: what is current (the main frame, its open site, the page of the
// active page window and its one selected object), the messages, the notices and small dialogs, the picture
// chooser, the publisher's host and the shell's own dialogs.

#include <memory>

#include "app/docview/design_view.h"
#include "app/model/services.h"
#include "app/publish/publish_host.h"
#include "app/shell/shell_dialogs.h"

class CMainFrame;
class wxUpdateUIEvent;

class CUploadProgressWindow;
class CConnectingDLG;

// Installs the program's services in every seam of the core and as the shell's dialogs; null puts back the headless
// answers. A program's services that go while installed take themselves out.
class CProgramServices;
void InstallProgramServices(CProgramServices* services);

// While the Insert HTML dialog is open, the main window's Cut, Copy and Paste act on the dialog's code, and their
// items follow what the code allows; false for any other command, or while the dialog is not open.
bool RunInsertHtmlEditCommand(int id);
bool UpdateInsertHtmlEditCommand(wxUpdateUIEvent& event);

class CProgramServices : public CoreServices,
                         public Messages,
                         public CurrentState,
                         public ModelDialogs,
                         public ToolsAndInspector,
                         public PublishHost,
                         public ShellDialogs
{
public:
    CProgramServices();
    ~CProgramServices() override;
    // The frame may be set later, once it exists, and cleared before it goes.
    void SetMainFrame(CMainFrame* frame) { m_pFrame = frame; }

    CMainFrame* GetTheMainFrame() const { return m_pFrame; }
    CWebsite* GetCurrentSite() override;
    std::string GetCurrentSitePath() override;
    CSitePage* GetCurrentPage() override;
    // The design view of the active page window; what the core asks of a view goes to the view.
    COrvelView* GetCurrentView() override;
    CPageObject* GetCurrentObject() override;
    CAppSettings* GetAppSettings() override;
    // The item of the current site whose main or mouse-over object is the given one.
    CPageItem* FindItemForObject(const CPageObject* object);
    bool GetToolsBarColor(CColor& color) override;
    int GetToolsBarTool() override;
    void SetToolsBarTool(int tool) override;
    void SetToolsBarColor(const CColor& color) override;
    int GetToolsBarShapeKind() override;
    void ResetShapesPalette() override;
    bool ShowColorDialog(CColor& color, std::array<COLORREF, 16>& customColors) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void UpdateTitle() override;
    int GetDisplayBitsPerPixel() override;
    CFileNameMap* GetSiteFileNameMap() override;
    void SetSiteModified() override;
    int GetSitePageCount() override;
    int GetSiteMinorVersion() override;
    COLORREF GetSiteLinkColor() override;
    // Every page keeps its own undo history; the view's page records the steps of text edits.
    std::unique_ptr<CUndoManager> CreateUndoManager(CSitePage* owner, int capacity) override;
    void EndAllTextEditing() override;
    // The code goes to the page of the main frame's current palette.
    void NotifyInspector(int code) override;
    void ShowObjectInspector() override;
    void MarkClipboardStale() override;

    bool GetPictureFileName(std::string& path) override;
    bool GetDocumentFileName(const std::string& folder, const std::string& name, std::string& path) override;
    DialogAnswer ShowNoticeDialog(int textId, bool& dontShowAgain) override;
    void ShowMessage(const std::string& text) override;
    void ShowInfoMessage(const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    YesNoCancel ShowSaveChangesDialog() override;
    void Beep() override;

    // The notices, hints and small dialogs of the dialogs library.
    DialogAnswer ShowNotice(int id) override;
    DialogAnswer ShowDeletePageDialog() override;
    CSitePage* CloseActivePageWindow() override;
    DialogAnswer ShowFillMissingDialog(FillPictureDialog& dialog) override;
    DialogAnswer ShowFillInvalidDialog(FillPictureDialog& dialog) override;
    DialogAnswer ShowPictureTooLargeDialog(bool& fit, bool& keepAspect) override;
    void ShowNoMemoryForFillDialog() override;
    void ShowPngTransparencyNotice() override;
    bool ChooseBrowserFile(std::string& path) override;
    bool ChooseBrowsersToRemove(const std::vector<std::string>& labels, std::vector<bool>& selected) override;
    bool ShowDownloadOffer(int offer) override;
    // The tools bar's first-use hints and the picture tool's notices (294, 295, 300).
    void ShowToolHint(int tool) override;
    void ShowPictureDialog(int id) override;
    DialogAnswer ShowHintDialog(int id) override;
    DialogAnswer ShowHelpDialogsDialog() override;
    DialogAnswer ShowTipsDialog() override;
    void ShowAboutDialog() override;
    DialogAnswer ShowThemesDialog(std::string& path) override;
    DialogAnswer ShowWelcomeDialog(int& start, bool& dontShowAgain) override;
    void ShowFeedbackDialog() override;
    // Add Files, Add Files From XML and the file-placement wizard.
    bool RunFilesDialog(FilesDialogKind kind, const std::vector<std::string>& reservedNames,
                        const std::vector<const CFilePair*>& pairs, FilesDialogResult& result) override;
    // The Object palette's code objects (object_palette_services.cpp).
    bool RunInsertHtmlDialog(HtmlObjectTexts& texts) override;
    bool IsInsertHtmlDialogOpen() override;
    YesNoCancel AskYesNoCancel(const std::string& text) override;
    void SendObjectPageCommand(int command, bool newObject) override;
    // The publisher's host: its dialogs, the Internet setup, the build's and the upload's progress over the
    // disabled main window (program_dialogs.cpp), the object a build stopped at, Save As for a site never saved and
    // the transfer log in the desktop's editor.
    DialogAnswer ShowPublishDialog(int id) override;
    DialogAnswer RunInternetSetupDialog(SetupFocus focus) override;
    DialogAnswer ShowMissingDocumentDialog(MissingDocumentDialog& dialog) override;
    void ShowBuildErrorDialog(const std::string& pageName, const std::string& message) override;
    void ShowItemOnPage(CSitePage* page, CPageItem* item) override;
    void SaveSiteAs() override;
    void OpenFileForEditing(const std::string& path) override;
    std::shared_ptr<BuildProgress> ShowBuildProgress() override;
    void ShowUploadProgress(CUploadProgress* progress, CFtp* connection) override;
    void UpdateUploadProgress(int pauseMs) override;
    void ShowConnectingNotice(bool show) override;
    CChangedPages* GetChangedPages() override;
    void RemoveInsertHtmlFile() override;

private:
    CMainFrame* m_pFrame = nullptr;
    std::unique_ptr<CUploadProgressWindow> m_uploadProgress;
    CConnectingDLG* m_connecting = nullptr;
};
