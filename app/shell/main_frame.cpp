#include "app/shell/main_frame.h"

#include "app/dialogs/notice_dialogs.h"
#include "app/dialogs/page_defaults_dlg.h"
#include "app/dialogs/site_folder_dlg.h"
#include "app/dialogs/welcome.h"
#include "app/docview/common_windows.h"
#include "app/docview/design_view.h"
#include "app/docview/document_dialogs.h"
#include "app/model/services.h"
#include "app/model/site_paths.h"
#include "app/palettes/prop_frames.h"
#include "app/publish/local_output.h"
#include "app/shell/edit_menu.h"
#include "app/shell/frame_commands.h"
#include "app/shell/logic/status_panes.h"
#include "app/shell/main_toolbar.h"
#include "app/shell/orvel_app.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/publish_menu.h"
#include "app/shell/shapes_dlg.h"
#include "app/shell/shell_dialogs.h"
#include "app/shell/site_commands.h"
#include "app/shell/tools_bar.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "controls/button_controls.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"
#include "platform/win/log.h"
#include "platform/win/program_launch.h"

#include <filesystem>
#include <wx/app.h>
#include <wx/dnd.h>
#include <wx/filedlg.h>
#include <wx/menu.h>
#include <wx/mimetype.h>
#include <wx/panel.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

namespace {

constexpr int kMenuResource = 261;
constexpr int kPageMenuResource = 160;
constexpr int kTestMenuResource = 560;
constexpr int kSendMenuResource = 585;
// The window-show commands of a stored placement.
constexpr UINT kShowNormal = 1;
constexpr UINT kShowMaximized = 3;
// The status bar draws a changed pane with the next paint of the window, not at once as wx's own does: drawing at
// once paints the whole window before the toolkit has laid out what changed with it (the tab of a page just opened),
// which the toolkit reports as an error on the standard error stream.
class CPaneStatusBar : public wxStatusBar
{
public:
    explicit CPaneStatusBar(wxWindow* parent) : wxStatusBar(parent, wxID_ANY) {}

protected:
    void DoUpdateStatusText(int number) override
    {
        wxRect pane;
        if (GetFieldRect(number, pane))
            Refresh(true, &pane);
    }
};

// The smallest main window, in pixels at 96 dots per inch.
constexpr int kMinimumWidth = 560;
constexpr int kMinimumHeight = 400;

// Files dropped on the main window go to the frame.
class CSiteFileDropTarget : public wxFileDropTarget
{
public:
    explicit CSiteFileDropTarget(CMainFrame* frame) : m_pFrame(frame) {}
    bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) override
    {
        std::vector<std::string> files;
        for (const wxString& name : names)
            files.push_back(PathFromWx(name));
        m_pFrame->DropFiles(files);
        return true;
    }

private:
    CMainFrame* m_pFrame;
};

} // namespace

std::string GetProductName()
{
    return "Tallowmere Pelorin";
}

CMainFrame::CMainFrame(const CSettingsEnvironment& environment, const std::string& storePath)
    : m_environment(environment), m_store(storePath)
{
    CFileException error;
    if (!m_store.Load(&error))
        LogMessage("The settings could not be read and start from their defaults: " + DescribeFileError(error));
    m_settings.LoadSettings(m_store, m_environment);
    m_pPropSheets = std::make_unique<CPropSheetManager>();
}

CMainFrame::~CMainFrame()
{
    // The palette frames go with this window; nothing may reach them through the manager from here on.
    m_pPropSheets.reset();
    // They go first, while this window is whole: a palette field that holds the keyboard applies its value when it
    // loses it, which asks this window for its page.
    const wxWindowList children = GetChildren();
    for (wxWindow* child : children)
        if (dynamic_cast<CPropFrame*>(child))
            delete child;
    m_dock.UnInit();
    // The page windows go first: they tell this frame when they go, and they show pages of the site.
    CloseSite();
    SaveBrowserPaths(m_store, m_browserPaths);
    m_store.DeleteTree(kRecentFilesSection);
    const std::vector<std::string> recent = GetRecentFiles();
    for (size_t i = 0; i < recent.size(); ++i)
        m_store.WriteProfileString(kRecentFilesSection, "File" + std::to_string(i + 1), recent[i]);
    m_settings.SaveSettings(m_store);
    CFileException error;
    if (!m_store.GetPath().empty() && !m_store.Save(&error))
        LogMessage("The settings could not be saved: " + DescribeFileError(error));
}

bool CMainFrame::Create()
{
    if (!wxMDIParentFrame::Create(nullptr, wxID_ANY, BytesToWx(GetProductName()), wxDefaultPosition, wxSize(800, 600)))
        return false;
    // Under a window manager wx would hold the window back until the manager has said how large its frame is, and
    // meanwhile lay it out two pixels wide, which the toolbar's layout reports as an error; a dialog shown in that
    // time would be mapped before the window and end up behind it. The window shows at once instead; wx corrects
    // its size when the frame's size comes in.
    m_deferShow = false;
    // The window takes its stored placement before any bar exists.
    const CStoredPlacement current;
    ApplyPlacement(LoadWindowPlacement(m_store, current, m_environment.screenWidth, m_environment.screenHeight));

    wxMenuBar* menus = wxXmlResource::Get()->LoadMenuBar(this, wxString::Format("%d", kMenuResource));
    if (!menus)
        return false;
    SetMenuBar(menus);
    for (int i = 4; i >= 1; --i) {
        const std::string file = m_store.GetProfileString(kRecentFilesSection, "File" + std::to_string(i));
        if (!file.empty())
            m_recentFiles.AddFileToHistory(PathToWx(file));
    }
    ShowRecentFiles();

    // The message pane, then the picture file, the position, the page count and the download time, each as wide
    // as its sample text.
    auto* status = new CPaneStatusBar(this);
    status->SetFieldsCount(5);
    SetStatusBar(status);
    const int samples[] = {ID_INDICATOR_IMAGE, ID_INDICATOR_POSITION, ID_INDICATOR_PAGES, ID_INDICATOR_LOADTIME};
    int widths[5] = {-1, 0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        const wxString sample = BytesToWx(ResourceText(ProgramCommandId(samples[i])));
        widths[i + 1] = status->GetTextExtent(sample).GetWidth() + status->FromDIP(12);
    }
    status->SetStatusWidths(5, widths);

    m_pToolBar = new COOBmpToolBar(this, ID_VIEW_TOOLBAR);
    for (int list : {0, 3, 1, 4})
        m_pToolBar->SetBitmap(147, list, 0xFFFF00);
    for (int list : {2, 5})
        m_pToolBar->SetBitmap(149, list, 0xFFFF00);
    if (!m_pToolBar->LoadToolBar(kMenuResource))
        return false;
    SetToolBar(m_pToolBar);
    m_pPageMenu = wxXmlResource::Get()->LoadMenu(wxString::Format("%d", kPageMenuResource));
    if (!m_pPageMenu)
        return false;
    m_pToolBar->SetDropdownMenu(ID_SHOW_PAGE, m_pPageMenu);
    // The browsers to preview in under Test, the upload and its setup under Send.
    for (auto [tool, resource] : {std::pair{ID_TEST, kTestMenuResource}, std::pair{ID_SEND, kSendMenuResource}}) {
        wxMenu* menu = wxXmlResource::Get()->LoadMenu(wxString::Format("%d", resource));
        if (!menu)
            return false;
        m_pToolBar->SetDropdownMenu(tool, menu);
    }

    // The tools area docks at the left or the right edge only.
    m_dock.SetManagedWindow(this);
    m_pToolsBar = new CToolsBar(this);
    m_pToolsBar->SetColor(CColor(static_cast<unsigned long>(LoadToolboxColor(m_store))));
    m_dock.AddPane(m_pToolsBar, wxAuiPaneInfo()
                                    .Name("Toolbox")
                                    // The bar is one button wide: its caption holds no text, only the close box.
                                    .Caption(wxString())
                                    .Left()
                                    .TopDockable(false)
                                    .BottomDockable(false)
                                    .BestSize(m_pToolsBar->GetMinSize())
                                    .MinSize(wxSize(m_pToolsBar->GetMinSize().x, m_pToolsBar->FromDIP(100))));
    LoadBarState();
    // Whatever the stored state says, the tools area shows at start.
    m_dock.GetPane(m_pToolsBar).Show();
    m_dock.Update();
    // Below this size the tabs, the toolbar and the page's scroll bars no longer fit, and the toolkit would have
    // to lay them out in less room than they need.
    SetMinSize(FromDIP(wxSize(kMinimumWidth, kMinimumHeight)));

    m_browserPaths = LoadBrowserPaths(m_store);
    m_settings.CheckPreviewBrowser(m_browserPaths.size());
    m_inspectorState = ::LoadInspectorState(m_store, m_environment.screenWidth, m_environment.screenHeight);
    m_inspectorFlags.fill(false);
    m_inspectorFlags[InspectorPaletteFor(m_inspectorState.current)] = true;
    // A first run has no tracker file yet; the tracker then starts empty.
    m_changedPages.Load();

    SetDropTarget(new CSiteFileDropTarget(this));
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
    Bind(wxEVT_SIZE, &CMainFrame::OnSizeOrMove, this);
    Bind(wxEVT_MOVE, &CMainFrame::OnSizeOrMove, this);
    Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateCommand, this);
    Bind(wxEVT_MENU, &CMainFrame::OnPageCommand, this, kFirstPageCommand, kLastPageCommand);
    Bind(wxEVT_MENU, &CMainFrame::OnRecentFile, this, wxID_FILE1, wxID_FILE9);
    Bind(wxEVT_MENU, &CMainFrame::OnCommand, this);
    for (int tool : {ID_SHOW_PAGE, ID_TEST, ID_SEND})
        Bind(wxEVT_TOOL_DROPDOWN, &CMainFrame::OnToolDropDown, this, tool);
    Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnCharHook, this);
    BindFrameEvents(*this);
    m_bCreated = true;
    UpdateTitle();
    UpdateStatusPanes();
    return true;
}

void CMainFrame::ApplyPlacement(const CStoredPlacement& placement)
{
    const CRect& r = placement.normal;
    m_normalRect = wxRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
    SetSize(m_normalRect);
    // A window stored minimised comes back in its normal place: a program that starts as an icon looks as if it
    // had not started.
    if (placement.showCmd == kShowMaximized)
        Maximize();
}

CStoredPlacement CMainFrame::GetPlacement() const
{
    CStoredPlacement placement;
    placement.showCmd = IsMaximized() ? kShowMaximized : kShowNormal;
    const wxRect r = IsMaximized() || IsIconized() ? m_normalRect : GetRect();
    placement.normal = CRect(r.GetLeft(), r.GetTop(), r.GetLeft() + r.GetWidth(), r.GetTop() + r.GetHeight());
    return placement;
}

void CMainFrame::OnSizeOrMove(wxEvent& event)
{
    if (!IsMaximized() && !IsIconized() && IsShown())
        m_normalRect = GetRect();
    event.Skip();
}

void CMainFrame::LoadBarState()
{
    ShowToolBar(m_store.GetProfileInt(kBarStateSection, "Buttonmenu visible", 1) != 0);
    ShowStatusBar(m_store.GetProfileInt(kBarStateSection, "Statusbar visible", 1) != 0);
    if (m_store.GetProfileInt(kBarStateSection, "Toolbox right", 0) != 0)
        m_dock.GetPane(m_pToolsBar).Right();
}

void CMainFrame::SaveBarState()
{
    m_store.WriteProfileInt(kBarStateSection, "Buttonmenu visible", m_bToolBarShown ? 1 : 0);
    m_store.WriteProfileInt(kBarStateSection, "Statusbar visible", m_bStatusBarShown ? 1 : 0);
    m_store.WriteProfileInt(kBarStateSection, "Toolbox visible", IsToolsBarShown() ? 1 : 0);
    m_store.WriteProfileInt(kBarStateSection, "Toolbox right",
                            m_dock.GetPane(m_pToolsBar).dock_direction == wxAUI_DOCK_RIGHT ? 1 : 0);
}

void CMainFrame::SaveWindowState()
{
    ::SaveWindowPlacement(m_store, GetPlacement());
    ::SaveToolboxColor(m_store, m_pToolsBar->GetColor().GetCOLORREF());
    if (m_pPropSheets)
        m_pPropSheets->GetState(m_inspectorState);
    ::SaveInspectorState(m_store, m_inspectorState);
    SaveBarState();
}

namespace {

// The palette commands in palette order.
constexpr int kToolsInspectorCommands[] = {ID_PAGE_INSPECTOR,    ID_OBJECT_INSPECTOR, ID_LINK_INSPECTOR,
                                           ID_FILL_INSPECTOR,    ID_EFFECTS_INSPECTOR, ID_STYLES_INSPECTOR,
                                           ID_MOUSEOVER_INSPECTOR};
constexpr int kPopupInspectorCommands[] = {ID_POPUP_PAGE_INSPECTOR,    ID_POPUP_OBJECT_INSPECTOR,
                                           ID_POPUP_LINK_INSPECTOR,    ID_POPUP_FILL_INSPECTOR,
                                           ID_POPUP_EFFECTS_INSPECTOR, ID_POPUP_STYLES_INSPECTOR,
                                           ID_POPUP_MOUSEOVER_INSPECTOR};

int PaletteOfCommand(const int (&commands)[kPropSheetCount], int id)
{
    for (int index = 0; index < kPropSheetCount; ++index)
        if (commands[index] == id)
            return index;
    return -1;
}

} // namespace

void CMainFrame::CreatePalettes()
{
    if (m_pPropSheets->GetPropFrame(kPagePropSheet))
        return;
    m_pPropSheets->Create(MakePaletteHost(this, *m_pPropSheets));
    RestoreInspectorState();
    // The palette of the last run waits for a site to show: the next idle time puts it away as if a site had
    // closed (hidden at once, the toolkit would still show the window it was mapping).
    if (!m_pCurrentSite)
        m_bSiteOpen = true;
}

void CMainFrame::RestoreInspectorState()
{
    const int shown = m_pPropSheets->RestoreState(m_inspectorState);
    m_inspectorFlags.fill(false);
    m_inspectorFlags[static_cast<size_t>(shown)] = true;
}

void CMainFrame::NotifyInspector(UINT code)
{
    if (m_pPropSheets)
        m_pPropSheets->NotifyActivePropPage(code);
}

void CMainFrame::ShowInspector(int index, bool fromPopup)
{
    if (!IsPropSheetIndex(index))
        return;
    if (fromPopup && !m_pPropSheets->IsAnyPropSheetVisible())
        m_pPropSheets->TogglePropSheets();
    m_pPropSheets->ShowPropSheet(index);
    if (!m_pPropSheets->IsAnyPropSheetVisible())
        m_pPropSheets->TogglePropSheets();
    m_inspectorFlags.fill(false);
    m_inspectorFlags[static_cast<size_t>(index)] = true;
    NotifyInspector(kRefreshAll);
}

void CMainFrame::ShowObjectInspector()
{
    m_pPropSheets->ShowObjectMainPage();
    m_inspectorFlags.fill(false);
    m_inspectorFlags[kObjectPropSheet] = true;
    NotifyInspector(kRefreshAll);
}

void CMainFrame::OnClose(wxCloseEvent& event)
{
    SaveWindowState();
    if (event.CanVeto() && !SaveAllModified(*this)) {
        event.Veto();
        return;
    }
    Destroy();
}

void CMainFrame::UpdateTitle()
{
    SetTitle(PathToWx(MakeMainTitle(GetProductName(), m_pCurrentSite, ResourceText(IDS_UNTITLED))));
    // A page window is titled by its page's ID, which the Page palette may have changed.
    for (COrvelFrame* window : m_pageWindows)
        if (const wxString name = BytesToWx(window->GetPage()->GetName()); window->GetTitle() != name)
            window->SetTitle(name);
}

void CMainFrame::SetStatusText(const std::string& text)
{
    if (GetStatusBar())
        wxMDIParentFrame::SetStatusText(BytesToWx(text), 0);
}

bool CMainFrame::IsToolsBarShown()
{
    return m_pToolsBar && m_dock.GetPane(m_pToolsBar).IsShown();
}

void CMainFrame::ShowToolBar(bool show)
{
    m_bToolBarShown = show;
    m_pToolBar->Show(show);
    SendSizeEvent();
}

void CMainFrame::ShowButtonTexts(bool show)
{
    m_bButtonTextsShown = show;
    m_pToolBar->SetTextMode(show);
}

void CMainFrame::ShowToolsBar(bool show)
{
    m_dock.GetPane(m_pToolsBar).Show(show);
    m_dock.Update();
}

void CMainFrame::ShowStatusBar(bool show)
{
    m_bStatusBarShown = show;
    GetStatusBar()->Show(show);
    SendSizeEvent();
}

void CMainFrame::OpenSite(std::unique_ptr<CWebsite> site)
{
    CloseSite();
    m_document.AttachSite(std::move(site));
    m_pCurrentSite = m_document.GetSite();
    // The pages changed since this site's last upload, as the last run left them.
    if (m_pCurrentSite)
        ApplyChangedPages(*m_pCurrentSite);
    if (m_pCurrentSite && m_pCurrentSite->GetPageCount() > 0) {
        // The first window shows the front page.
        CSitePage* front = m_pCurrentSite->GetHomePage();
        const int index = front ? m_pCurrentSite->GetPageIndex(front) : 0;
        OpenPageWindow(index);
    }
    UpdateTitle();
    // The status panes follow at the next idle time: a status text set now repaints the window at once, before
    // the new tab has its place.
    NotifyInspector(CSitePage::kCommandDone);
}

void CMainFrame::CloseSite()
{
    m_bClosingSite = true;
    for (COrvelFrame* window : std::vector<COrvelFrame*>(m_pageWindows))
        delete window;
    m_bClosingSite = false;
    m_pageWindows.clear();
    m_pageList.clear();
    m_pCurrentSite = nullptr;
    m_document.DeleteContents();
    if (m_bCreated && !IsBeingDeleted())
        UpdateTitle();
}

int CMainFrame::CountPageWindows() const
{
    return static_cast<int>(m_pageWindows.size());
}

COrvelFrame* CMainFrame::GetActivePageWindow() const
{
    return dynamic_cast<COrvelFrame*>(GetActiveChild());
}

CSitePage* CMainFrame::GetActivePage() const
{
    const COrvelFrame* window = GetActivePageWindow();
    return window ? window->GetPage() : nullptr;
}

COrvelFrame* CMainFrame::OpenPageWindow(int pageIndex)
{
    if (!m_pCurrentSite || pageIndex < 0 || pageIndex >= m_pCurrentSite->GetPageCount())
        return nullptr;
    CSitePage* page = m_pCurrentSite->GetPage(pageIndex);
    for (COrvelFrame* window : m_pageWindows) {
        if (window->GetPage() == page) {
            window->Activate();
            m_pCurrentSite->SetCurrentPage(page);
            return window;
        }
    }
    if (CountPageWindows() >= kMaxPageWindows) {
        GetCoreServices().ShowNotice(kNoticePageLimitShow);
        return nullptr;
    }
    m_pCurrentSite->SetCurrentPage(page);
    auto* window = new COrvelFrame(this, page);
    m_pageWindows.push_back(window);
    window->Show();
    window->Activate();
    return window;
}

COrvelFrame* CMainFrame::ShowPageByName(const std::string& name)
{
    if (!m_pCurrentSite)
        return nullptr;
    CSitePage* page = m_pCurrentSite->FindPageByName(name);
    if (!page)
        return nullptr;
    if (CountPageWindows() >= kMaxPageWindows) {
        // Room for the page: the first window goes, or the second when the first already shows it.
        COrvelFrame* victim = m_pageWindows[0]->GetPage() == page ? m_pageWindows[1] : m_pageWindows[0];
        delete victim;
    }
    return OpenPageWindow(m_pCurrentSite->GetPageIndex(page));
}

std::vector<CSitePage*> CMainFrame::GetPageWindowPages() const
{
    std::vector<CSitePage*> pages;
    for (const COrvelFrame* window : m_pageWindows)
        pages.push_back(window->GetPage());
    return pages;
}

void CMainFrame::RefreshPageWindows(const CSitePage* page)
{
    for (COrvelFrame* window : m_pageWindows)
        if (window->GetPage() == page)
            window->GetView()->Refresh(false);
}

void CMainFrame::OnPageWindowClosed(COrvelFrame* window)
{
    std::erase(m_pageWindows, window);
    // The site lives while one of its windows is open. It goes once the window is gone, since the window's view
    // still points at its page while it is being destroyed.
    if (m_pageWindows.empty() && m_pCurrentSite && !m_bClosingSite && !IsBeingDeleted())
        CallAfter([this] {
            if (m_pageWindows.empty() && m_pCurrentSite) {
                CloseSite();
                NotifyInspector(CSitePage::kCommandDone);
            }
        });
}

bool CMainFrame::CanClosePageWindow(COrvelFrame* window)
{
    (void)window;
    return m_document.CanCloseFrame(CountPageWindows());
}

wxMenu* CMainFrame::BuildPageMenu()
{
    while (m_pPageMenu->GetMenuItemCount() > 0)
        m_pPageMenu->Destroy(m_pPageMenu->FindItemByPosition(0));
    m_pageList.clear();
    if (m_pCurrentSite)
        m_pageList = BuildShowPageList(*m_pCurrentSite, ResourceText(IDS_FRONT_PAGE_SUFFIX));
    for (size_t i = 0; i < m_pageList.size(); ++i)
        m_pPageMenu->Append(kFirstPageCommand + static_cast<int>(i), BytesToWx(m_pageList[i].text));
    return m_pPageMenu;
}

void CMainFrame::OnToolDropDown(wxCommandEvent& event)
{
    // Only with a site open; wx then shows the menu under the arrow, the page list rebuilt.
    if (m_pCurrentSite) {
        if (event.GetId() == ID_SHOW_PAGE)
            BuildPageMenu();
        event.Skip();
    }
}

// Ctrl+W closes the active page window, as it closes a document's tab elsewhere on the desktop; the window may
// still refuse.
void CMainFrame::OnCharHook(wxKeyEvent& event)
{
    if (event.GetModifiers() == wxMOD_CONTROL && event.GetKeyCode() == 'W') {
        if (COrvelFrame* window = GetActivePageWindow()) {
            window->Close();
            return;
        }
    }
    event.Skip();
}

void CMainFrame::OnPageCommand(wxCommandEvent& event)
{
    const size_t position = static_cast<size_t>(event.GetId() - kFirstPageCommand);
    if (position < m_pageList.size())
        OpenPageWindow(m_pageList[position].pageIndex);
}

void CMainFrame::OnCommand(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case ID_FILE_NEW:
        NewWebsite(*this);
        break;
    case ID_ADD_PAGE:
        AddNewPage(*this);
        break;
    case ID_EDIT_HEADER:
        EditHeaderHtml(*this);
        break;
    case ID_BACKGROUND_PREFERENCES:
        EditBackgroundPreferences(*this);
        break;
    case ID_PAGE_DEFAULTS:
        m_document.OnPageDefaults();
        break;
    case ID_EDIT_META_TAGS:
        EditMetaTags(*this);
        break;
    case ID_INSERT_ANALYTICS:
        InsertAnalyticsCode(*this);
        break;
    case ID_FILE_OPEN:
        OnFileOpen();
        break;
    case ID_FILE_NEW_FROM_THEME:
        OnFileNewFromTheme();
        break;
    case ID_FILE_SAVE:
        m_document.OnFileSave();
        break;
    case ID_FILE_SAVE_AS:
        m_document.OnFileSaveAs();
        break;
    case ID_FILE_CLOSE:
        m_document.OnFileClose();
        break;
    case ID_ADD_FILES:
        m_document.OnAddFiles();
        break;
    case ID_ADD_FILES_FROM_XML:
        m_document.OnAddFilesFromXml();
        break;
    case ID_REMOVE_FILES:
        m_document.OnRemoveFiles();
        break;
    case ID_SITE_MAP:
        m_document.OnSiteMap();
        break;
    case ID_APP_EXIT:
        Close();
        break;
    case ID_HELP_FINDER:
        OnHelp();
        break;
    case ID_APP_ABOUT:
        GetShellDialogs().ShowAboutDialog();
        break;
    case ID_FEEDBACK:
        GetShellDialogs().ShowFeedbackDialog();
        break;
    case ID_HELP_DIALOGS:
        GetShellDialogs().ShowHelpDialogsDialog();
        break;
    case ID_SHOW_PAGE:
        if (m_pCurrentSite) {
            PopupMenu(BuildPageMenu());
            NotifyInspector(CSitePage::kCommandDone);
        }
        break;
    case ID_VIEW_TOOLBAR:
        ShowToolBar(!m_bToolBarShown);
        break;
    case ID_VIEW_BUTTON_TEXTS:
        ShowButtonTexts(!m_bButtonTextsShown);
        break;
    case ID_VIEW_TOOLBOX:
        ShowToolsBar(!IsToolsBarShown());
        break;
    case ID_VIEW_STATUS_BAR:
        ShowStatusBar(!m_bStatusBarShown);
        break;
    case ID_VIEW_INSPECTOR:
        m_pPropSheets->TogglePropSheets();
        break;
    case ID_POPUP_ALT_TEXT:
        ShowInspector(kObjectPropSheet, true);
        break;
    default:
        if (const int tools = PaletteOfCommand(kToolsInspectorCommands, event.GetId()); tools >= 0)
            ShowInspector(tools, false);
        else if (const int popup = PaletteOfCommand(kPopupInspectorCommands, event.GetId()); popup >= 0)
            ShowInspector(popup, true);
        else if (!HandleEditCommand(*this, event.GetId()) && !HandlePublishCommand(*this, event.GetId()) &&
                 !HandleFrameCommand(*this, event.GetId()))
            event.Skip();
        break;
    }
}

void CMainFrame::OnUpdateCommand(wxUpdateUIEvent& event)
{
    // Only commands are answered here; windows whose id happens to be a command's keep their own state.
    const wxObject* source = event.GetEventObject();
    const int id = event.GetId();
    if (!dynamic_cast<const wxMenu*>(source) && !(source == m_pToolBar && id != m_pToolBar->GetId())) {
        event.Skip();
        return;
    }
    // A submenu's own item opens the submenu; its commands have their own rules.
    if (const auto* menu = dynamic_cast<const wxMenu*>(source)) {
        const wxMenuItem* item = menu->FindItem(id);
        if (item && item->IsSubMenu()) {
            event.Enable(true);
            return;
        }
    }
    if ((id >= kFirstPageCommand && id <= kLastPageCommand) || (id >= wxID_FILE1 && id <= wxID_FILE9)) {
        event.Enable(true);
        return;
    }
    // The show and hide commands offer the opposite of what is shown, in the menu and as the prompt.
    auto toggle = [&](bool shown, unsigned hide, unsigned show) {
        event.Enable(true);
        const wxString text = BytesToWx(ResourceText(shown ? hide : show));
        event.SetText(text);
        if (wxMenuBar* menus = GetMenuBar())
            menus->SetHelpString(id, wxStripMenuCodes(text));
    };
    switch (id) {
    case ID_FILE_NEW:
    case ID_BACKGROUND_PREFERENCES:
    case ID_FILE_OPEN:
    case ID_FILE_NEW_FROM_THEME:
    case ID_APP_EXIT:
    case ID_HELP_FINDER:
    case ID_APP_ABOUT:
    case ID_FEEDBACK:
    case ID_HELP_DIALOGS:
        event.Enable(true);
        break;
    case ID_SHOW_PAGE:
    case ID_EDIT_HEADER:
    case ID_EDIT_META_TAGS:
    case ID_INSERT_ANALYTICS:
    case ID_FILE_SAVE:
    case ID_FILE_SAVE_AS:
    case ID_FILE_CLOSE:
        event.Enable(m_pCurrentSite != nullptr);
        break;
    case ID_REMOVE_FILES:
        event.Enable(m_document.CanRemoveFiles());
        break;
    case ID_ADD_FILES:
        event.Enable(m_pCurrentSite != nullptr);
        break;
    case ID_ADD_FILES_FROM_XML:
        event.Enable(true);
        break;
    case ID_PAGE_DEFAULTS:
        event.Enable(m_document.CanPageDefaults());
        break;
    case ID_SITE_MAP:
        event.Enable(m_document.CanShowSiteMap());
        break;
    case ID_ADD_PAGE:
        event.Enable(m_pCurrentSite && m_pCurrentSite->GetPageCount() < CWebsite::kMaxPages);
        break;
    case ID_VIEW_TOOLBAR:
        toggle(m_bToolBarShown, IDS_HIDE_TOOLBAR, IDS_SHOW_TOOLBAR);
        break;
    case ID_VIEW_BUTTON_TEXTS:
        toggle(m_bButtonTextsShown, IDS_HIDE_BUTTON_TEXTS, IDS_SHOW_BUTTON_TEXTS);
        break;
    case ID_VIEW_TOOLBOX:
        toggle(IsToolsBarShown(), IDS_HIDE_TOOLBOX, IDS_SHOW_TOOLBOX);
        break;
    case ID_VIEW_STATUS_BAR:
        toggle(m_bStatusBarShown, IDS_HIDE_STATUS_BAR, IDS_SHOW_STATUS_BAR);
        break;
    case ID_VIEW_INSPECTOR:
        toggle(m_pPropSheets->IsAnyPropSheetVisible(), IDS_HIDE_INSPECTOR, IDS_SHOW_INSPECTOR);
        break;
    case ID_POPUP_ALT_TEXT:
        event.Enable(true);
        break;
    default:
        if (const int tools = PaletteOfCommand(kToolsInspectorCommands, id); tools >= 0) {
            event.Enable(true);
            event.Check(m_inspectorFlags[static_cast<size_t>(tools)]);
            break;
        }
        if (const int popup = PaletteOfCommand(kPopupInspectorCommands, id); popup >= 0) {
            event.Enable(true);
            event.Check(m_pPropSheets->IsAnyPropSheetVisible() && m_pPropSheets->GetCurrentIndex() == popup);
            break;
        }
        // Everything else waits for the parts of the program that carry it out.
        if (!UpdateEditCommand(*this, event) && !UpdatePublishCommand(*this, event) && !UpdateFrameCommand(*this, event))
            event.Enable(false);
        break;
    }
}

void CMainFrame::OnFileOpen()
{
    std::string path = m_settings.m_strKstPath;
    if (!PromptSiteFile(path, true, false))
        return;
    if (CWebsite* site = OpenDocumentFile(*this, path))
        site->RebaseFilePaths(GetPathFolder(path), GetPathFileName(path));
}

void CMainFrame::RunWelcomeDialog()
{
    int start = WelcomeChoice::none;
    WelcomeChoice choice;
    const bool ok = GetShellDialogs().ShowWelcomeDialog(start, choice.dontShowAgain) == DialogAnswer::ok;
    ApplyWelcomeChoice(ok, choice, m_settings);
    if (!ok)
        return;
    switch (start) {
    case WelcomeChoice::newSite: {
        wxCommandEvent command(wxEVT_MENU, ID_FILE_NEW);
        GetEventHandler()->ProcessEvent(command);
        break;
    }
    case WelcomeChoice::openSite:
        OnFileOpen();
        break;
    case WelcomeChoice::siteFromTheme:
        OnFileNewFromTheme();
        break;
    default:
        break;
    }
}

void CMainFrame::OnFileNewFromTheme()
{
    if (m_pCurrentSite) {
        if (!GetCoreServices().AskYesNo(GetProductName(), ResourceText(IDS_ONE_SITE_OPEN)) ||
            !SaveAllModified(*this, CloseReason::replacing))
            return;
        CloseSite();
    }
    std::string path;
    if (GetShellDialogs().ShowThemesDialog(path) != DialogAnswer::ok || path.empty())
        return;
    m_settings.m_strKstPath = GetPathFolder(path);
    NewSiteFromTheme(*this, path);
}

void CMainFrame::AddRecentFile(const std::string& path)
{
    m_recentFiles.AddFileToHistory(PathToWx(path));
    ShowRecentFiles();
}

// The recent files stand above Exit in the File menu, newest first, each with its full path and its number as
// mnemonic (wx's own history menu would append them below Exit).
void CMainFrame::ShowRecentFiles()
{
    wxMenu* file = GetMenuBar() ? GetMenuBar()->GetMenu(0) : nullptr;
    if (!file)
        return;
    for (int id = wxID_FILE1; id <= wxID_FILE9; ++id)
        if (wxMenuItem* item = file->FindChildItem(id))
            file->Destroy(item);
    if (m_pRecentSeparator) {
        file->Destroy(m_pRecentSeparator);
        m_pRecentSeparator = nullptr;
    }
    size_t at = 0;
    if (!file->FindChildItem(ID_APP_EXIT, &at))
        at = file->GetMenuItemCount();
    const size_t count = m_recentFiles.GetCount();
    for (size_t i = 0; i < count; ++i) {
        wxString label = m_recentFiles.GetHistoryFile(i);
        label.Replace("&", "&&");
        file->Insert(at + i, wxID_FILE1 + static_cast<int>(i), wxString::Format("&%zu %s", i + 1, label));
    }
    if (count > 0)
        m_pRecentSeparator = file->InsertSeparator(at + count);
}

std::vector<std::string> CMainFrame::GetRecentFiles() const
{
    std::vector<std::string> files;
    for (size_t i = 0; i < m_recentFiles.GetCount(); ++i)
        files.push_back(PathFromWx(m_recentFiles.GetHistoryFile(i)));
    return files;
}

void CMainFrame::OnRecentFile(wxCommandEvent& event)
{
    const size_t position = static_cast<size_t>(event.GetId() - wxID_FILE1);
    if (position >= m_recentFiles.GetCount())
        return;
    const std::string path = PathFromWx(m_recentFiles.GetHistoryFile(position));
    if (!OpenDocumentFile(*this, path) && !std::filesystem::exists(path)) {
        m_recentFiles.RemoveFileFromHistory(position);
        ShowRecentFiles();
    }
}

std::string CMainFrame::GetUserGuidePath() const
{
    return m_environment.programFolder + "Help.html";
}

// The guide opens in the desktop's browser; when it cannot, the user is told why rather than left waiting.
void CMainFrame::OnHelp()
{
    const std::string guide = GetUserGuidePath();
    std::error_code error;
    if (!std::filesystem::is_regular_file(guide, error)) {
        GetCoreServices().ShowMessage("The user guide " + guide + " is missing; install Pelorin again to restore it.");
        return;
    }
    // The handler starts whether or not a browser is set up; it tells which only when it ends, on its own thread.
    const std::string failed =
        "The user guide " + guide + " could not be opened: there is no program set up to show web pages.";
    const auto failedLater = [failed] {
        if (wxTheApp)
            wxTheApp->CallAfter([failed] { GetCoreServices().ShowMessage(failed); });
    };
    if (!OpenWithDefaultHandler(guide, failedLater))
        GetCoreServices().ShowMessage(failed);
}

void CMainFrame::DropFiles(const std::vector<std::string>& files)
{
    switch (ClassifyDroppedFiles(files)) {
    case DroppedFiles::siteFile:
        OpenDocumentFile(*this, files[0]);
        break;
    case DroppedFiles::wrongKind:
        GetCoreServices().ShowMessage(ResourceText(IDS_DROP_SITE_FILES_ONLY));
        break;
    case DroppedFiles::several:
        GetCoreServices().ShowMessage(ResourceText(IDS_DROP_ONE_SITE));
        break;
    case DroppedFiles::none:
        break;
    }
}

void CMainFrame::UpdateStatusPanes()
{
    wxStatusBar* status = GetStatusBar();
    if (!status)
        return;
    CSitePage* page = GetActivePage();
    // A guide the active view drags shows its position.
    GuideDrag drag;
    if (COrvelFrame* window = GetActivePageWindow(); window && window->GetView()) {
        const CMouseTools& tools = window->GetView()->GetMouseTools();
        drag = {tools.IsGuideDrag(), tools.IsGuideHorizontal(), tools.GetGuideIndex()};
    }
    const std::string texts[4] = {
        FormatImageInfoPane(m_pCurrentSite, GetCurrentObject(), ResourceText(IDS_IMAGE_PANE)),
        FormatPositionPane(m_pCurrentSite, page, drag),
        FormatPageCountPane(m_pCurrentSite, ResourceText(IDS_PAGE_COUNT_PANE)),
        FormatLoadTimePane(m_pCurrentSite, page, ResourceText(IDS_SECONDS_UNIT)),
    };
    for (int i = 0; i < 4; ++i) {
        if (texts[i] != m_paneTexts[i + 1]) {
            m_paneTexts[i + 1] = texts[i];
            status->SetStatusText(BytesToWx(texts[i]), i + 1);
        }
    }
}

void CMainFrame::OnIdle(wxIdleEvent& event)
{
    UpdateStatusPanes();
    ShowPalettesWithSite();
    event.Skip();
}

// With no site open the palettes have nothing to act on: when the site closes they leave the screen, and they come
// back, as the user left them, with the next site. A palette the user shows with no site open stays. Idle time
// sees a site closed for another one already open again, so the palettes do not flicker.
void CMainFrame::ShowPalettesWithSite()
{
    const bool site = m_pCurrentSite != nullptr;
    if (site == m_bSiteOpen)
        return;
    m_bSiteOpen = site;
    CShapesDLG* shapes = m_pToolsBar ? m_pToolsBar->GetShapesPalette() : nullptr;
    if (!site) {
        PutPalettesAway();
        return;
    }
    if (m_bPalettesAway && m_pPropSheets)
        m_pPropSheets->ShowCurrentPropSheet();
    if (m_bShapesAway && shapes)
        shapes->Show();
    m_bPalettesAway = m_bShapesAway = false;
}

void CMainFrame::PutPalettesAway()
{
    if (m_pPropSheets && m_pPropSheets->IsAnyPropSheetVisible()) {
        m_bPalettesAway = true;
        m_pPropSheets->HidePropSheet();
    }
    if (CShapesDLG* shapes = m_pToolsBar ? m_pToolsBar->GetShapesPalette() : nullptr; shapes && shapes->IsShown()) {
        m_bShapesAway = true;
        shapes->Hide();
    }
}

SaveChangesAnswer CMainFrame::AskSaveChanges()
{
    switch (GetShellDialogs().ShowSaveChangesDialog()) {
    case YesNoCancel::yes:
        return SaveChangesAnswer::yes;
    case YesNoCancel::no:
        return SaveChangesAnswer::no;
    case YesNoCancel::cancel:
        break;
    }
    return SaveChangesAnswer::cancel;
}

bool CMainFrame::PromptSiteFile(const std::string& suggestion, std::string& path)
{
    return PromptSiteFileDialog(this, suggestion, path);
}

bool CMainFrame::PromptSiteFile(std::string& path, bool open, bool theme)
{
    return PromptSiteFileDialog(this, path, open, theme);
}

void CMainFrame::ShowChangesNotSaved()
{
    RunNotice(kNoticeChangesNotSaved, this);
}

void CMainFrame::ShowSaveError()
{
    RunNotice(kNoticeSiteSaveError, this);
}

void CMainFrame::ShowOpenError()
{
    RunNotice(kNoticeSiteOpenError, this);
}

std::string CMainFrame::GetUntitledSiteName()
{
    return ResourceText(IDS_UNTITLED);
}

void CMainFrame::ApplyChangedPages(CWebsite& site)
{
    m_changedPages.ApplyToSite(site);
    m_changedPages.CollectChangedPages(site);
}

void CMainFrame::SaveChangedPages()
{
    if (m_pCurrentSite)
        m_changedPages.CollectChangedPages(*m_pCurrentSite);
    m_changedPages.Save();
}

// Every save leaves a working copy of the built site beside the site file.
void CMainFrame::WriteLocalWebsite(const std::string& basePath)
{
    if (m_pCurrentSite)
        ::WriteLocalWebsite(*m_pCurrentSite, basePath);
}

bool CMainFrame::RunRemoveFilesDialog(CWebsite& site, std::vector<int>& checks)
{
    CRemoveIncludedFilesDLG dialog(site, this);
    if (!dialog.IsReady() || dialog.ShowModal() != wxID_OK)
        return false;
    checks = dialog.GetStates();
    return true;
}

void CMainFrame::RunSiteMapDialog(const std::vector<std::string>& reservedNames,
                                  const std::vector<const CFilePair*>& pairs)
{
    CSiteMapDLG dialog(reservedNames, pairs, this);
    if (dialog.IsOk())
        dialog.ShowModal();
}

bool CMainFrame::RunPageDefaultsDialog(CWebsite& site)
{
    CPageDefaultsDLG dialog(this, site);
    return dialog.IsOk() && dialog.ShowModal() == wxID_OK;
}

std::vector<PageView*> CMainFrame::GetViews()
{
    std::vector<PageView*> views;
    for (COrvelFrame* window : m_pageWindows)
        views.push_back(window->GetView());
    return views;
}
