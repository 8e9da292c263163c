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
        m_pFrame->GetOpenSite().DropFiles(files);
        return true;
    }

private:
    CMainFrame* m_pFrame;
};

} // namespace

CMainFrame::CMainFrame(const CSettingsEnvironment& environment, const std::string& storePath)
    : m_site(*this, *this, m_pages, environment, storePath)
{
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
    // The page windows go first: they tell their owner when they go, and they show pages of the site.
    m_site.EndRun();
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
    const CSettingsEnvironment& environment = m_site.GetEnvironment();
    ApplyPlacement(LoadWindowPlacement(m_site.GetStore(), current, environment.screenWidth, environment.screenHeight));

    wxMenuBar* menus = wxXmlResource::Get()->LoadMenuBar(this, wxString::Format("%d", kMenuResource));
    if (!menus)
        return false;
    SetMenuBar(menus);
    m_site.GetRecentFiles().ShowIn(menus);

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
    m_pToolsBar->SetColor(CColor(static_cast<unsigned long>(LoadToolboxColor(m_site.GetStore()))));
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

    m_inspectorState = ::LoadInspectorState(m_site.GetStore(), environment.screenWidth, environment.screenHeight);
    m_inspectorFlags.fill(false);
    m_inspectorFlags[InspectorPaletteFor(m_inspectorState.current)] = true;

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
    ShowToolBar(m_site.GetStore().GetProfileInt(kBarStateSection, "Buttonmenu visible", 1) != 0);
    ShowStatusBar(m_site.GetStore().GetProfileInt(kBarStateSection, "Statusbar visible", 1) != 0);
    if (m_site.GetStore().GetProfileInt(kBarStateSection, "Toolbox right", 0) != 0)
        m_dock.GetPane(m_pToolsBar).Right();
}

void CMainFrame::SaveBarState()
{
    m_site.GetStore().WriteProfileInt(kBarStateSection, "Buttonmenu visible", m_bToolBarShown ? 1 : 0);
    m_site.GetStore().WriteProfileInt(kBarStateSection, "Statusbar visible", m_bStatusBarShown ? 1 : 0);
    m_site.GetStore().WriteProfileInt(kBarStateSection, "Toolbox visible", IsToolsBarShown() ? 1 : 0);
    m_site.GetStore().WriteProfileInt(kBarStateSection, "Toolbox right",
                            m_dock.GetPane(m_pToolsBar).dock_direction == wxAUI_DOCK_RIGHT ? 1 : 0);
}

void CMainFrame::SaveWindowState()
{
    ::SaveWindowPlacement(m_site.GetStore(), GetPlacement());
    ::SaveToolboxColor(m_site.GetStore(), m_pToolsBar->GetColor().GetCOLORREF());
    if (m_pPropSheets)
        m_pPropSheets->GetState(m_inspectorState);
    ::SaveInspectorState(m_site.GetStore(), m_inspectorState);
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
    if (!m_site.GetSite())
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
    if (event.CanVeto() && !m_site.SaveAllModified()) {
        event.Veto();
        return;
    }
    Destroy();
}

void CMainFrame::UpdateTitle()
{
    SetTitle(PathToWx(MakeMainTitle(GetProductName(), m_site.GetSite(), ResourceText(3019))));
    // A page window is titled by its page's ID, which the Page palette may have changed.
    m_pages.UpdateTitles();
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

wxMenu* CMainFrame::BuildPageMenu()
{
    return m_pages.BuildPageMenu(*m_pPageMenu);
}

void CMainFrame::OnToolDropDown(wxCommandEvent& event)
{
    // Only with a site open; wx then shows the menu under the arrow, the page list rebuilt.
    if (m_site.GetSite()) {
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
        if (COrvelFrame* window = m_pages.GetActive()) {
            window->Close();
            return;
        }
    }
    event.Skip();
}

void CMainFrame::OnPageCommand(wxCommandEvent& event)
{
    m_pages.OpenListedPage(static_cast<size_t>(event.GetId() - kFirstPageCommand));
}

void CMainFrame::OnCommand(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case ID_FILE_NEW:
        m_site.NewWebsite();
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
        m_site.GetDocument().OnPageDefaults();
        break;
    case ID_EDIT_META_TAGS:
        EditMetaTags(*this);
        break;
    case ID_INSERT_ANALYTICS:
        InsertAnalyticsCode(*this);
        break;
    case ID_FILE_OPEN:
        m_site.OnFileOpen();
        break;
    case ID_FILE_NEW_FROM_THEME:
        m_site.OnFileNewFromTheme();
        break;
    case ID_FILE_SAVE:
        m_site.GetDocument().OnFileSave();
        break;
    case ID_FILE_SAVE_AS:
        m_site.GetDocument().OnFileSaveAs();
        break;
    case ID_FILE_CLOSE:
        m_site.GetDocument().OnFileClose();
        break;
    case ID_ADD_FILES:
        m_site.GetDocument().OnAddFiles();
        break;
    case ID_ADD_FILES_FROM_XML:
        m_site.GetDocument().OnAddFilesFromXml();
        break;
    case ID_REMOVE_FILES:
        m_site.GetDocument().OnRemoveFiles();
        break;
    case ID_SITE_MAP:
        m_site.GetDocument().OnSiteMap();
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
        if (m_site.GetSite()) {
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
        event.Enable(m_site.GetSite() != nullptr);
        break;
    case ID_REMOVE_FILES:
        event.Enable(m_site.GetDocument().CanRemoveFiles());
        break;
    case ID_ADD_FILES:
        event.Enable(m_site.GetSite() != nullptr);
        break;
    case ID_ADD_FILES_FROM_XML:
        event.Enable(true);
        break;
    case ID_PAGE_DEFAULTS:
        event.Enable(m_site.GetDocument().CanPageDefaults());
        break;
    case ID_SITE_MAP:
        event.Enable(m_site.GetDocument().CanShowSiteMap());
        break;
    case ID_ADD_PAGE:
        event.Enable(m_site.GetSite() && m_site.GetSite()->GetPageCount() < CWebsite::kMaxPages);
        break;
    case ID_VIEW_TOOLBAR:
        toggle(m_bToolBarShown, 3027, 3028);
        break;
    case ID_VIEW_BUTTON_TEXTS:
        toggle(m_bButtonTextsShown, 3011, 3012);
        break;
    case ID_VIEW_TOOLBOX:
        toggle(IsToolsBarShown(), 3029, 3030);
        break;
    case ID_VIEW_STATUS_BAR:
        toggle(m_bStatusBarShown, 3014, 3013);
        break;
    case ID_VIEW_INSPECTOR:
        toggle(m_pPropSheets->IsAnyPropSheetVisible(), 3031, 3032);
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

void CMainFrame::RunWelcomeDialog()
{
    int start = WelcomeChoice::none;
    WelcomeChoice choice;
    const bool ok = GetShellDialogs().ShowWelcomeDialog(start, choice.dontShowAgain) == DialogAnswer::ok;
    ApplyWelcomeChoice(ok, choice, m_site.GetSettings());
    if (!ok)
        return;
    switch (start) {
    case WelcomeChoice::newSite: {
        wxCommandEvent command(wxEVT_MENU, ID_FILE_NEW);
        GetEventHandler()->ProcessEvent(command);
        break;
    }
    case WelcomeChoice::openSite:
        m_site.OnFileOpen();
        break;
    case WelcomeChoice::siteFromTheme:
        m_site.OnFileNewFromTheme();
        break;
    default:
        break;
    }
}

void CMainFrame::OnRecentFile(wxCommandEvent& event)
{
    m_site.OnRecentFile(static_cast<size_t>(event.GetId() - wxID_FILE1));
}

std::string CMainFrame::GetUserGuidePath() const
{
    return m_site.GetEnvironment().programFolder + "Help.html";
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

void CMainFrame::UpdateStatusPanes()
{
    wxStatusBar* status = GetStatusBar();
    if (!status)
        return;
    CSitePage* page = m_pages.GetActivePage();
    // A guide the active view drags shows its position.
    GuideDrag drag;
    if (COrvelFrame* window = m_pages.GetActive(); window && window->GetView()) {
        const CMouseTools& tools = window->GetView()->GetMouseTools();
        drag = {tools.IsGuideDrag(), tools.IsGuideHorizontal(), tools.GetGuideIndex()};
    }
    const std::string texts[4] = {
        FormatImageInfoPane(m_site.GetSite(), GetCurrentObject(), ResourceText(2061)),
        FormatPositionPane(m_site.GetSite(), page, drag),
        FormatPageCountPane(m_site.GetSite(), ResourceText(2060)),
        FormatLoadTimePane(m_site.GetSite(), page, ResourceText(2064)),
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
    const bool site = m_site.GetSite() != nullptr;
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

bool CMainFrame::PromptSiteFile(std::string& path, bool open, bool theme)
{
    return PromptSiteFileDialog(this, path, open, theme);
}

