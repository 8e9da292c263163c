#pragma once

// How the model reaches the document, the views, the palettes and the shell without depending on them. The
// program installs its own CoreServices at start-up; until then (and in headless use) every accessor answers
// that nothing is current and every service does nothing. Tests install fakes that record calls.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/model/file_pair.h"
#include "image/image.h"
#include "platform/win/win_types.h"

class COrvelView;
class CInsertHtmlDLG;
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

class CoreServices
{
public:
    virtual ~CoreServices() = default;

    // What is current in the program; null when there is nothing.
    virtual CWebsite* GetCurrentSite() { return nullptr; }
    // The file path of the current site; empty for a site not saved yet or when there is none.
    virtual std::string GetCurrentSitePath() { return {}; }
    virtual COrvelView* GetCurrentView() { return nullptr; }
    virtual CSitePage* GetCurrentPage() { return nullptr; }
    // The object of the only selected item, else null.
    virtual CPageObject* GetCurrentObject() { return nullptr; }
    virtual CAppSettings* GetAppSettings() { return nullptr; }
    virtual CInsertHtmlDLG* GetInsertHtmlDialog() { return nullptr; }
    // Runs the Insert HTML dialog (497) over the texts; true, with the texts edited, when it ends with OK.
    virtual bool RunInsertHtmlDialog(HtmlObjectTexts& texts)
    {
        (void)texts;
        return false;
    }
    // Removes the file selected in the open insert-HTML dialog from its list (Edit > Delete while it is open).
    virtual void RemoveInsertHtmlFile(CInsertHtmlDLG* dialog) { (void)dialog; }

    // The tools bar's current tool, 0 when there is no tools bar.
    virtual int GetToolsBarTool() { return 0; }
    // The tools bar's current colour; false, with the colour untouched, when there is no tools bar.
    virtual bool GetToolsBarColor(CColor& color)
    {
        (void)color;
        return false;
    }
    // The mouse tools change the tools bar's tool and colour (the eyedropper), read the shape kind the shape tool
    // draws and let the Shapes palette's buttons go when a shape is started.
    virtual void SetToolsBarTool(int tool) { (void)tool; }
    virtual void SetToolsBarColor(const CColor& color) { (void)color; }
    virtual int GetToolsBarShapeKind() { return 1; }
    virtual void ResetShapesPalette() {}
    // Shows the inspector's Object page; with a command, sends it that command (1558 Edit HTML, 1606 Flash),
    // telling it first whether the object was just made.
    virtual void ShowObjectInspector() {}
    virtual void SendObjectPageCommand(int command, bool newObject) { (void)command, (void)newObject; }
    // The colour dialog, opened on color with the 16 custom colours; true, with the chosen colour in color and the
    // custom colours as the user left them, when the user pressed OK.
    virtual bool ShowColorDialog(CColor& color, std::array<COLORREF, 16>& customColors)
    {
        (void)color, (void)customColors;
        return false;
    }
    // The first-use hint of a tool of the tools bar.
    virtual void ShowToolHint(int tool) { (void)tool; }

    // Refreshes the active inspector palette page with a code (10011 item added or removed, 10012 frames
    // changed, 10015 text object resized, 10016 text typed, 10018 undo, delete, groups or pages changed).
    virtual void NotifyInspector(int code) { (void)code; }
    // The site changed since objects were last put on the private clipboard.
    virtual void MarkClipboardStale() {}
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
    // Rebuilds the main window's title from the site's name and saved state.
    virtual void UpdateTitle() {}
    // Commits in-place text editing in every view of the active document.
    virtual void EndAllTextEditing() {}
    // Bits per pixel of the display's bitmaps. Headless there is no display; 32 is what the program's own
    // buffers use.
    virtual int GetDisplayBitsPerPixel() { return 32; }
    // The undo manager for a new page; the base records nothing.
    virtual std::unique_ptr<CUndoManager> CreateUndoManager(CSitePage* owner, int capacity);

    // The design view. Core code reaches a view it got from GetCurrentView only through these; headless there is
    // never a view, and each answers as a view that shows nothing would.
    // The page the view shows.
    virtual CSitePage* GetViewPage(COrvelView* view)
    {
        (void)view;
        return nullptr;
    }
    // Whether the text caret is shown in the view.
    virtual bool IsCaretShown(COrvelView* view)
    {
        (void)view;
        return false;
    }
    // Makes the view's text caret a bar one pixel wide and height pixels high, hiding it while it changes when the
    // view shows it.
    virtual void SetViewCaretShape(COrvelView* view, int height) { (void)view, (void)height; }
    // Moves the view's text caret to a point of its client area.
    virtual void SetViewCaretPos(COrvelView* view, const CPoint& client) { (void)view, (void)client; }
    // The size of the page the view shows; (0, 0) when it shows none.
    virtual CSize GetViewPageSize(COrvelView* view)
    {
        (void)view;
        return CSize(0, 0);
    }
    // The client offset the page is drawn at: half the spare width and height when the client area is larger
    // than the page, else 0.
    virtual void GetPageOrigin(COrvelView* view, CPoint& origin) { (void)view, origin = CPoint(0, 0); }
    // A page rectangle in client coordinates (page origin and scroll position applied), 3 pixels larger on
    // every side.
    virtual void PageRectToClient(COrvelView* view, CRect& client, const CRect& page)
    {
        (void)view, (void)page;
        client = CRect();
    }
    // The union of the selected items' rectangles in client coordinates.
    virtual void GetSelectionRect(COrvelView* view, CRect& client)
    {
        (void)view;
        client = CRect();
    }
    virtual void InvalidateSelection(COrvelView* view) { (void)view; }
    // Repaints, without erasing, a rectangle in the coordinates of the text being edited in place.
    virtual void InvalidateEditRect(COrvelView* view, const CRect& rect) { (void)view, (void)rect; }
    // Repaints the whole view, erasing first when asked.
    virtual void InvalidateView(COrvelView* view, bool erase) { (void)view, (void)erase; }
    // Repaints a rectangle given in client coordinates, erasing first when asked.
    virtual void InvalidateViewRect(COrvelView* view, const CRect& client, bool erase)
    {
        (void)view, (void)client, (void)erase;
    }
    virtual void GetViewClientRect(COrvelView* view, CRect& client)
    {
        (void)view;
        client = CRect();
    }
    virtual CPoint GetScrollPosition(COrvelView* view)
    {
        (void)view;
        return CPoint(0, 0);
    }
    virtual void ScrollToPosition(COrvelView* view, const CPoint& position) { (void)view, (void)position; }
    // Scroll sizes from the page's size: a page step of the page clipped to the client, a line step of a tenth.
    virtual void UpdateScrollSizes(COrvelView* view) { (void)view; }

    // Text objects reach the page items, pages and views above them through these.
    // Whether the item holding the object has a mouse-over twin.
    virtual bool HasMouseOverTwin(const CPageObject* object)
    {
        (void)object;
        return false;
    }
    // When the item holding the object has a mouse-over twin set to show the same text, the twin takes the text.
    virtual void CopyTextToMouseOverTwin(const CPageObject* object) { (void)object; }
    // The view's page has no object edited in place any more.
    virtual void EndPageTextEditing(COrvelView* view) { (void)view; }
    // Records an undo step of a kind with the undo manager of the view's page.
    virtual void RecordViewPageUndo(COrvelView* view, UndoKind kind) { (void)view, (void)kind; }
    virtual void HideViewCaret(COrvelView* view) { (void)view; }
    // The colour links are shown in on the current site's pages; blue when there is no site.
    virtual COLORREF GetSiteLinkColor() { return RGB(0, 0, 255); }

    // The current site's file-name replacement map, null when there is no site.
    virtual CFileNameMap* GetSiteFileNameMap() { return nullptr; }
    // Marks the current site changed since it was saved.
    virtual void SetSiteModified() {}
    // The number of pages of the current site; -1 when there is no site.
    virtual int GetSitePageCount() { return -1; }
    // The minor version of the file the current site was read from (15 for a new site, and when there is none).
    virtual int GetSiteMinorVersion() { return 15; }

    // The dialogs the model shows. Headless each answers as a cancelled dialog does.
    // The picture of a fill does not exist (dialog 417) or is not a valid picture (418). The program brings the
    // current view up to date first, so that the user sees the page asked about. Returns IDOK (1) or IDCANCEL (2).
    virtual int ShowFillMissingDialog(FillPictureDialog& dialog)
    {
        (void)dialog;
        return 2;
    }
    virtual int ShowFillInvalidDialog(FillPictureDialog& dialog)
    {
        (void)dialog;
        return 2;
    }
    // The picture being placed is larger than the page (dialog 494): whether to fit it to the page, and then whether
    // to keep its aspect ratio. Returns IDOK (1) with both answers, or IDCANCEL (2).
    virtual int ShowPictureTooLargeDialog(bool& fit, bool& keepAspect)
    {
        fit = keepAspect = false;
        return 2;
    }
    // Tells that memory is too short for a picture fill and a solid colour is used (dialog 419).
    virtual void ShowNoMemoryForFillDialog() {}
    // The open-picture chooser: path holds the folder to start in and, on true, the chosen file.
    virtual bool GetPictureFileName(std::string& path)
    {
        (void)path;
        return false;
    }
    // The open-file chooser for a linked document, any type of file: it opens in folder (the system's choice when
    // empty) with name filled in; true, with the chosen full path in path, when the user chose a file.
    virtual bool GetDocumentFileName(const std::string& folder, const std::string& name, std::string& path)
    {
        (void)folder, (void)name, (void)path;
        return false;
    }
    // The picture tool's messages: 300 the picture cannot be loaded, 294 it is not a valid picture, 295 there is
    // not enough memory for it.
    virtual void ShowPictureDialog(int id) { (void)id; }
    // The notice dialog (578) showing string textId with its "do not show again" check. Returns IDOK (1) or
    // IDCANCEL (2); on IDOK dontShowAgain holds the check's state.
    virtual int ShowNoticeDialog(int textId, bool& dontShowAgain)
    {
        (void)textId, (void)dontShowAgain;
        return 2;
    }
    // The program chooser of Add New Browser (a program file or a desktop entry): true, with path holding the
    // chosen file, unless the user cancelled.
    virtual bool ChooseBrowserFile(std::string& path)
    {
        (void)path;
        return false;
    }
    // Remove Browser's list of the browsers by their labels: true, with one flag per browser in selected, on OK.
    virtual bool ChooseBrowsersToRemove(const std::vector<std::string>& labels, std::vector<bool>& selected)
    {
        (void)labels, (void)selected;
        return false;
    }
    // The download offer of a companion tool that is not installed (offer 0 to 5): true for "Download Now".
    virtual bool ShowDownloadOffer(int offer)
    {
        (void)offer;
        return false;
    }
    // Tells that the transparency of a PNG picture is lost where the picture carries effects (notice 5046).
    virtual void ShowPngTransparencyNotice() {}
    // A message box with only an OK button.
    virtual void ShowMessage(const std::string& text) { (void)text; }
    // The same with the information icon.
    virtual void ShowInfoMessage(const std::string& text) { (void)text; }
    // A Yes/No message box with the information icon; true for Yes.
    virtual bool AskYesNo(const std::string& caption, const std::string& text)
    {
        (void)caption, (void)text;
        return false;
    }
    // A question with Yes, No and Cancel and the question icon; IDYES, IDNO or IDCANCEL.
    virtual int AskYesNoCancel(const std::string& text)
    {
        (void)text;
        return IDCANCEL;
    }
    // The information sound.
    virtual void Beep() {}
    // Asks whether the site's changes are to be saved before it closes (dialog 301). Returns IDYES, IDNO or
    // IDCANCEL.
    virtual int ShowSaveChangesDialog() { return IDCANCEL; }
    // Asks whether the current page is to be deleted (dialog 279). Returns IDOK (1) or IDCANCEL (2).
    virtual int ShowDeletePageDialog() { return 2; }
    // Closes the active page window; answers the page of the view that becomes current, null when none is left.
    virtual CSitePage* CloseActivePageWindow() { return nullptr; }
    // A notice, error or simple prompt of the program by its number (the deleting-page question 279, the picture and
    // memory notices 294 to 311, the transfer-settings prompt 5017 and the others of the notice table). Returns IDOK
    // (1) or IDCANCEL (2).
    virtual int ShowNotice(int id)
    {
        (void)id;
        return 2;
    }
    // A first-use hint by its number, shown only while its settings flag is on; OK with its box ticked switches the
    // flag off. Returns IDOK (1), also when the hint is off, or IDCANCEL (2).
    virtual int ShowHintDialog(int id)
    {
        (void)id;
        return 2;
    }
    // The help-dialogs settings (OK writes every flag), tips of the day, About and the feedback dialog. The first two
    // return IDOK (1) or IDCANCEL (2).
    virtual int ShowHelpDialogsDialog() { return 2; }
    virtual int ShowTipsDialog() { return 2; }
    virtual void ShowAboutDialog() {}
    virtual void ShowFeedbackDialog() {}
    // The welcome dialog at start: IDOK (1), with the way to begin in start (0 none, 1 new website, 2 open website,
    // 3 new website from a theme) and the state of its don't-show-again box, or IDCANCEL (2).
    virtual int ShowWelcomeDialog(int& start, bool& dontShowAgain)
    {
        (void)start, (void)dontShowAgain;
        return 2;
    }
    // The themes browser over the program's Themes folder: IDOK (1) with the chosen theme file in path, or IDCANCEL
    // (2), also when no themes are installed.
    virtual int ShowThemesDialog(std::string& path)
    {
        (void)path;
        return 2;
    }
    // Runs one of the files dialogs over the site's included files, with the output names they must not take
    // (existing pairs are locked). True, with the result filled, when the user chose files.
    virtual bool RunFilesDialog(FilesDialogKind kind, const std::vector<std::string>& reservedNames,
                                const std::vector<const CFilePair*>& pairs, FilesDialogResult& result)
    {
        (void)kind, (void)reservedNames, (void)pairs, (void)result;
        return false;
    }
};

// Installs the program's services; the caller keeps ownership and must keep them alive while installed. Null
// puts back the headless answers.
void SetCoreServices(CoreServices* services);
CoreServices& GetCoreServices();

// The global accessors, answered by the installed services.
CWebsite* GetCurrentSite();
COrvelView* GetCurrentView();
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
