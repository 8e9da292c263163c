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
#include "app/model/model_dialogs.h"
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

// The messages (messages.h), what is current with what the core asks of the current site (current_state.h), the
// model's dialogs (model_dialogs.h) and the tools bar and inspector (tools_and_inspector.h) are seams of their own;
// the rest of what the core asks of the program follows.
class CoreServices
{
public:
    virtual ~CoreServices() = default;

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

    // Closes the active page window; answers the page of the view that becomes current, null when none is left.
    virtual CSitePage* CloseActivePageWindow() = 0;
};

// The services before start-up and in headless use: every service does nothing, as an absent window would. Tests
// derive their fakes from it.
class NullCoreServices : public CoreServices
{
public:
    void MarkClipboardStale() override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    void UpdateTitle() override {}
    void EndAllTextEditing() override {}
    int GetDisplayBitsPerPixel() override { return 32; }
    std::unique_ptr<CUndoManager> CreateUndoManager(CSitePage* owner, int capacity) override;
    CSitePage* CloseActivePageWindow() override { return nullptr; }
};

// Installs the program's services; the caller keeps ownership and must keep them alive while installed. Null
// puts back the headless answers.
void SetCoreServices(CoreServices* services);
CoreServices& GetCoreServices();
// Installs services as SetCoreServices does and hands back what answered before, so that a scope can put it back
// (seams_test_support.h does so for every seam).
CoreServices* ExchangeSeam(CoreServices* services);

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
