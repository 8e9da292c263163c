#pragma once

// How the model reaches the document, the views, the palettes and the shell without depending on them. Every
// function of CoreServices is pure, so the program's services must answer each one to build. The program installs
// its own at start-up; until then (and in headless use) NullCoreServices answers as an absent window and every
// service does nothing. Tests derive their fakes, which record calls, from NullCoreServices.

#include <memory>
#include <string>
#include <vector>

#include "app/model/current_state.h"
#include "app/model/file_pair.h"
#include "app/model/messages.h"
#include "app/model/page_view.h"
#include "app/model/tools_and_inspector.h"
#include "image/image.h"
#include "platform/win/win_types.h"

class CWebsite;
class CSitePage;
class CPageItem;
class CPageObject;
class CUndoManager;
enum class UndoKind;
class CFileNameMap;
struct CAppSettings;

// What the fill-picture dialogs show and hand back. The caller sets the colour and the path; after OK the try-again
// flag tells whether the user wants to pick another picture, else the colour is the solid colour to use.
struct FillPictureDialog
{
    CColor m_color = CColor(255, 255, 255);
    std::string m_strPath;
    bool m_bTryAgain = false;
};

// The three dialogs that add files to a site's included files.
enum FilesDialogKind
{
    kAddFilesDialog,
    kAddFilesFromXmlDialog,
    kFilePlacementWizard,
};

// One place on the site where a files dialog put a file: the node of its folder tree that holds it (looked up by
// the chosen name), the file on disk and the remote path it takes.
struct FilePlacement
{
    std::string m_strName;
    std::string m_strSource;
    std::string m_strRemotePath;
};

// What a Flash program's page gives the selected HTML object: its code (or, for a marker block, its header
// HTML), the size it asks for (1 when none) and the files it uses.
struct FlashObjectCode
{
    bool m_bSet = false;
    std::string m_strCode;
    bool m_bMarker = false;
    int m_nWidth = 1;
    int m_nHeight = 1;
    std::vector<std::string> m_usedFiles;
};

// What a files dialog hands back when the user chose files.
struct FilesDialogResult
{
    std::vector<std::string> m_chosen;
    std::vector<FilePlacement> m_placements;
    // Set by the file-placement wizard only.
    FlashObjectCode m_flash;
};

// The texts the Insert HTML dialog edits for an HTML object; the used files come back as they went in.
struct HtmlObjectTexts
{
    std::string m_strName;
    std::string m_strHtmlCode;
    std::string m_strHeaderHtml;
    std::string m_strOnloadCode;
    std::vector<std::string> m_usedFiles;
};

// The messages (messages.h), what is current (current_state.h) and the tools bar and inspector
// (tools_and_inspector.h) are concerns of their own; the rest of what the core asks follows.
class CoreServices : public Messages
{
public:
    virtual ~CoreServices() = default;

    // Whether the Insert HTML dialog is open (Edit > Delete goes to it then).
    virtual bool IsInsertHtmlDialogOpen() = 0;
    // Runs the Insert HTML dialog (497) over the texts; true, with the texts edited, when it ends with OK.
    virtual bool RunInsertHtmlDialog(HtmlObjectTexts& texts) = 0;
    // Removes the file selected in the open insert-HTML dialog from its list (Edit > Delete while it is open).
    virtual void RemoveInsertHtmlFile() = 0;

    // The site changed since objects were last put on the private clipboard.
    virtual void MarkClipboardStale() = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Rebuilds the main window's title from the site's name and saved state.
    virtual void UpdateTitle() = 0;
    // Commits in-place text editing in every view of the active document.
    virtual void EndAllTextEditing() = 0;
    // Bits per pixel of the display's bitmaps. Headless there is no display; 32 is what the program's own
    // buffers use.
    virtual int GetDisplayBitsPerPixel() = 0;
    // The undo manager for a new page; the base records nothing.
    virtual std::unique_ptr<CUndoManager> CreateUndoManager(CSitePage* owner, int capacity) = 0;

    // Text objects reach the page items, pages and views above them through these.
    // Whether the item holding the object has a mouse-over twin.
    virtual bool HasMouseOverTwin(const CPageObject* object) = 0;
    // When the item holding the object has a mouse-over twin set to show the same text, the twin takes the text.
    virtual void CopyTextToMouseOverTwin(const CPageObject* object) = 0;
    // The colour links are shown in on the current site's pages; blue when there is no site.
    virtual COLORREF GetSiteLinkColor() = 0;

    // The current site's file-name replacement map, null when there is no site.
    virtual CFileNameMap* GetSiteFileNameMap() = 0;
    // Marks the current site changed since it was saved.
    virtual void SetSiteModified() = 0;
    // The number of pages of the current site; -1 when there is no site.
    virtual int GetSitePageCount() = 0;
    // The minor version of the file the current site was read from (15 for a new site, and when there is none).
    virtual int GetSiteMinorVersion() = 0;

    // The dialogs the model shows. Headless each answers as a cancelled dialog does.
    // The picture of a fill does not exist (dialog 417) or is not a valid picture (418). The program brings the
    // current view up to date first, so that the user sees the page asked about.
    virtual DialogAnswer ShowFillMissingDialog(FillPictureDialog& dialog) = 0;
    virtual DialogAnswer ShowFillInvalidDialog(FillPictureDialog& dialog) = 0;
    // The picture being placed is larger than the page (dialog 494): whether to fit it to the page, and then whether
    // to keep its aspect ratio; both answers hold on ok.
    virtual DialogAnswer ShowPictureTooLargeDialog(bool& fit, bool& keepAspect) = 0;
    // Tells that memory is too short for a picture fill and a solid colour is used (dialog 419).
    virtual void ShowNoMemoryForFillDialog() = 0;
    // The open-picture chooser: path holds the folder to start in and, on true, the chosen file.
    virtual bool GetPictureFileName(std::string& path) = 0;
    // The open-file chooser for a linked document, any type of file: it opens in folder (the system's choice when
    // empty) with name filled in; true, with the chosen full path in path, when the user chose a file.
    virtual bool GetDocumentFileName(const std::string& folder, const std::string& name, std::string& path) = 0;
    // The picture tool's messages: 300 the picture cannot be loaded, 294 it is not a valid picture, 295 there is
    // not enough memory for it.
    virtual void ShowPictureDialog(int id) = 0;
    // Tells that the transparency of a PNG picture is lost where the picture carries effects (notice 5046).
    virtual void ShowPngTransparencyNotice() = 0;
    // Asks whether the current page is to be deleted (dialog 279).
    virtual DialogAnswer ShowDeletePageDialog() = 0;
    // Closes the active page window; answers the page of the view that becomes current, null when none is left.
    virtual CSitePage* CloseActivePageWindow() = 0;
    // Runs one of the files dialogs over the site's included files, with the output names they must not take
    // (existing pairs are locked). True, with the result filled, when the user chose files.
    virtual bool RunFilesDialog(FilesDialogKind kind, const std::vector<std::string>& reservedNames,
                                const std::vector<const CFilePair*>& pairs, FilesDialogResult& result) = 0;
};

// The services before start-up and in headless use: every accessor answers that nothing is current and every
// service does nothing, as a cancelled dialog or an absent window would. Tests derive their fakes from it.
class NullCoreServices : public CoreServices
{
public:
    bool IsInsertHtmlDialogOpen() override { return false; }
    bool RunInsertHtmlDialog(HtmlObjectTexts& texts) override
    {
        (void)texts;
        return false;
    }
    void RemoveInsertHtmlFile() override {}
    void MarkClipboardStale() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void UpdateTitle() override {}
    void EndAllTextEditing() override {}
    int GetDisplayBitsPerPixel() override { return 32; }
    std::unique_ptr<CUndoManager> CreateUndoManager(CSitePage* owner, int capacity) override;
    bool HasMouseOverTwin(const CPageObject* object) override
    {
        (void)object;
        return false;
    }
    void CopyTextToMouseOverTwin(const CPageObject* object) override { (void)object; }
    COLORREF GetSiteLinkColor() override { return RGB(0, 0, 255); }
    CFileNameMap* GetSiteFileNameMap() override { return nullptr; }
    void SetSiteModified() override {}
    int GetSitePageCount() override { return -1; }
    int GetSiteMinorVersion() override { return 15; }
    DialogAnswer ShowFillMissingDialog(FillPictureDialog& dialog) override
    {
        (void)dialog;
        return DialogAnswer::cancel;
    }
    DialogAnswer ShowFillInvalidDialog(FillPictureDialog& dialog) override
    {
        (void)dialog;
        return DialogAnswer::cancel;
    }
    DialogAnswer ShowPictureTooLargeDialog(bool& fit, bool& keepAspect) override
    {
        fit = keepAspect = false;
        return DialogAnswer::cancel;
    }
    void ShowNoMemoryForFillDialog() override {}
    bool GetPictureFileName(std::string& path) override
    {
        (void)path;
        return false;
    }
    bool GetDocumentFileName(const std::string& folder, const std::string& name, std::string& path) override
    {
        (void)folder, (void)name, (void)path;
        return false;
    }
    void ShowPictureDialog(int id) override { (void)id; }
    DialogAnswer ShowNoticeDialog(int textId, bool& dontShowAgain) override
    {
        (void)textId, (void)dontShowAgain;
        return DialogAnswer::cancel;
    }
    void ShowPngTransparencyNotice() override {}
    void ShowMessage(const std::string& text) override { (void)text; }
    void ShowInfoMessage(const std::string& text) override { (void)text; }
    bool AskYesNo(const std::string& caption, const std::string& text) override
    {
        (void)caption, (void)text;
        return false;
    }
    YesNoCancel AskYesNoCancel(const std::string& text) override
    {
        (void)text;
        return YesNoCancel::cancel;
    }
    void Beep() override {}
    DialogAnswer ShowDeletePageDialog() override { return DialogAnswer::cancel; }
    CSitePage* CloseActivePageWindow() override { return nullptr; }
    DialogAnswer ShowNotice(int id) override
    {
        (void)id;
        return DialogAnswer::cancel;
    }
    DialogAnswer ShowHintDialog(int id) override
    {
        (void)id;
        return DialogAnswer::cancel;
    }
    bool RunFilesDialog(FilesDialogKind kind, const std::vector<std::string>& reservedNames,
                        const std::vector<const CFilePair*>& pairs, FilesDialogResult& result) override
    {
        (void)kind, (void)reservedNames, (void)pairs, (void)result;
        return false;
    }
};

// Installs the program's services; the caller keeps ownership and must keep them alive while installed. Null
// puts back the headless answers.
void SetCoreServices(CoreServices* services);
CoreServices& GetCoreServices();

// The global accessors, answered by the installed current state and services.
CWebsite* GetCurrentSite();
PageView* GetCurrentView();
CSitePage* GetCurrentPage();
CPageObject* GetCurrentObject();
CAppSettings* GetAppSettings();
void NotifyInspector(int code);
void MarkClipboardStale();
// Describes a bitmap of the given size in the display's pixel format, its rows padded to whole 4-byte words; the
// caller allocates the pixels.
void GetDisplayBitmapFormat(BITMAP* bm, int width, int height);

// Removes from a page name, in place, every character that cannot stand in a page's file name or address, and
// tells the user when any was removed. Always TRUE.
BOOL SanitizePageId(std::string& name);

// The path of the site file being opened. The document sets it before reading, so that readers running while
// no site is current find pictures stored relative to that file.
void SetOpeningSitePath(std::string path);
const std::string& GetOpeningSitePath();

// The file against which paths stored relative in a site file are resolved: the current site's file, or the
// file being opened while no site is current.
std::string GetStoredPathBase();
// ResolveStoredPath against GetStoredPathBase.
std::string ResolveStoredPath(const std::string& path);

// The main window's colour around the page, stored with the site.
struct OutsidePageBackground
{
    BYTE m_bEnabled = 0;
    CColor m_color = CColor(255, 255, 255);
};
OutsidePageBackground& GetOutsidePageBackground();

// Set by the design view on every paint to whether its off-screen bitmap could be prepared; objects that draw
// through the view's buffer draw nothing while it is 0.
extern BYTE ViewBufferReady;
