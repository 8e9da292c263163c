#include "app/shell/main_frame.h"

#include "app/palettes/prop_frames.h"
#include "app/shell/browser_menu.h"
#include "app/shell/edit_menu.h"
#include "app/shell/help_commands.h"
#include "app/shell/main_toolbar.h"
#include "app/shell/object_commands.h"
#include "app/shell/publish_menu.h"
#include "app/shell/shapes_dlg.h"
#include "app/shell/site_commands.h"
#include "app/shell/status_panes_bar.h"
#include "app/shell/tools_bar.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/gui/text_bytes.h"
#include "platform/gui/tool_palette.h"
#include "platform/resources/string_table.h"

#include <wx/menu.h>
#include <wx/xrc/xmlres.h>

namespace {

constexpr int kMenuResource = 261;
constexpr int kPageMenuResource = 160;
constexpr int kTestMenuResource = 560;
constexpr int kSendMenuResource = 585;
// The window-show commands of a stored placement.
constexpr UINT kShowNormal = 1;
constexpr UINT kShowMaximized = 3;
// The smallest main window, in pixels at 96 dots per inch.
constexpr int kMinimumWidth = 560;
constexpr int kMinimumHeight = 400;

} // namespace

CMainFrame::CMainFrame(const CSettingsEnvironment& environment, const std::string& storePath)
    : m_run(environment, storePath)
{
    // The commands in the order they were first answered; a number added twice keeps its first entry.
    AddSiteCommands(m_commands, m_context);
    AddHelpCommands(m_commands, m_context);
    AddBarCommands();
    m_palettes.AddCommands(m_commands);
    AddEditCommands(m_commands, m_context);
    AddPublishCommands(m_commands, m_context);
    AddBrowserCommands(m_commands, m_run);
    AddObjectCommands(m_commands, m_context);
}

CMainFrame::~CMainFrame()
{
    // The palette frames go with this window, first, while it is whole.
    m_palettes.Destroy(*this);
    m_dock.UnInit();
    // The page windows go first: they tell their owner when they go, and they show pages of the site.
    m_site.EndRun();
    m_run.Save();
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
    // The dialogs that run over this window carry only a close box in their title bar.
    KeepModalDialogsToTheCloseBox();
    // The window takes its stored placement before any bar exists.
    const CStoredPlacement current;
    const CSettingsEnvironment& environment = m_run.GetEnvironment();
    ApplyPlacement(LoadWindowPlacement(m_run.GetStore(), current, environment.screenWidth, environment.screenHeight));

    wxMenuBar* menus = wxXmlResource::Get()->LoadMenuBar(this, wxString::Format("%d", kMenuResource));
    if (!menus)
        return false;
    SetMenuBar(menus);
    m_run.GetRecentFiles().ShowIn(menus);

    SetStatusBar(new CStatusPanesBar(this));

    m_toolBar = new COOBmpToolBar(this, ID_VIEW_TOOLBAR);
    for (int list : {0, 3, 1, 4})
        m_toolBar->SetBitmap(147, list, 0xFFFF00);
    for (int list : {2, 5})
        m_toolBar->SetBitmap(149, list, 0xFFFF00);
    if (!m_toolBar->LoadToolBar(kMenuResource))
        return false;
    SetToolBar(m_toolBar);
    m_pageMenu = wxXmlResource::Get()->LoadMenu(wxString::Format("%d", kPageMenuResource));
    if (!m_pageMenu)
        return false;
    m_toolBar->SetDropdownMenu(ID_SHOW_PAGE, m_pageMenu);
    // The browsers to preview in under Test, the upload and its setup under Send.
    for (auto [tool, resource] : {std::pair{ID_TEST, kTestMenuResource}, std::pair{ID_SEND, kSendMenuResource}}) {
        wxMenu* menu = wxXmlResource::Get()->LoadMenu(wxString::Format("%d", resource));
        if (!menu)
            return false;
        m_toolBar->SetDropdownMenu(tool, menu);
    }

    // The tools area docks at the left or the right edge only.
    m_dock.SetManagedWindow(this);
    m_toolsBar = new CToolsBar(this, m_run, m_site);
    m_toolsBar->SetColor(CColor(static_cast<unsigned long>(LoadToolboxColor(m_run.GetStore()))));
    m_dock.AddPane(m_toolsBar, wxAuiPaneInfo()
                                   .Name("Toolbox")
                                   // The bar is one button wide: its caption holds no text, only the close box.
                                   .Caption(wxString())
                                   .Left()
                                   .TopDockable(false)
                                   .BottomDockable(false)
                                   .BestSize(m_toolsBar->GetMinSize())
                                   .MinSize(wxSize(m_toolsBar->GetMinSize().x, m_toolsBar->FromDIP(100))));
    LoadBarState();
    // Whatever the stored state says, the tools area shows at start.
    m_dock.GetPane(m_toolsBar).Show();
    m_dock.Update();
    // Below this size the tabs, the toolbar and the page's scroll bars no longer fit, and the toolkit would have
    // to lay them out in less room than they need.
    SetMinSize(FromDIP(wxSize(kMinimumWidth, kMinimumHeight)));

    m_palettes.Load(m_run.GetStore(), environment);

    SetDropTarget(MakeSiteFileDropTarget(m_site));
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
    BindCompanionToolEvents(*this);
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
    // A window that is not on the screen may report a place the window manager never gave it.
    const wxRect r = IsMaximized() || IsIconized() || !IsShownOnScreen() ? m_normalRect : GetRect();
    placement.normal = CRect(r.GetLeft(), r.GetTop(), r.GetLeft() + r.GetWidth(), r.GetTop() + r.GetHeight());
    return placement;
}

void CMainFrame::OnSizeOrMove(wxEvent& event)
{
    if (!IsMaximized() && !IsIconized() && IsShownOnScreen())
        m_normalRect = GetRect();
    event.Skip();
}

void CMainFrame::LoadBarState()
{
    ShowToolBar(m_run.GetStore().GetProfileInt(kBarStateSection, "Buttonmenu visible", 1) != 0);
    ShowStatusBar(m_run.GetStore().GetProfileInt(kBarStateSection, "Statusbar visible", 1) != 0);
    if (m_run.GetStore().GetProfileInt(kBarStateSection, "Toolbox right", 0) != 0)
        m_dock.GetPane(m_toolsBar).Right();
}

void CMainFrame::SaveBarState()
{
    m_run.GetStore().WriteProfileInt(kBarStateSection, "Buttonmenu visible", m_toolBarShown ? 1 : 0);
    m_run.GetStore().WriteProfileInt(kBarStateSection, "Statusbar visible", m_statusBarShown ? 1 : 0);
    m_run.GetStore().WriteProfileInt(kBarStateSection, "Toolbox visible", IsToolsBarShown() ? 1 : 0);
    m_run.GetStore().WriteProfileInt(kBarStateSection, "Toolbox right",
                                     m_dock.GetPane(m_toolsBar).dock_direction == wxAUI_DOCK_RIGHT ? 1 : 0);
}

void CMainFrame::SaveWindowState()
{
    ::SaveWindowPlacement(m_run.GetStore(), GetPlacement());
    ::SaveToolboxColor(m_run.GetStore(), m_toolsBar->GetColor().GetCOLORREF());
    m_palettes.Save(m_run.GetStore());
    SaveBarState();
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
    SetTitle(PathToWx(MakeMainTitle(GetProductName(), m_site.GetSite(), ResourceText(IDS_UNTITLED))));
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
    return m_toolsBar && m_dock.GetPane(m_toolsBar).IsShown();
}

void CMainFrame::ShowToolBar(bool show)
{
    m_toolBarShown = show;
    m_toolBar->Show(show);
    SendSizeEvent();
}

void CMainFrame::ShowButtonTexts(bool show)
{
    m_buttonTextsShown = show;
    m_toolBar->SetTextMode(show);
}

void CMainFrame::ShowToolsBar(bool show)
{
    m_dock.GetPane(m_toolsBar).Show(show);
    m_dock.Update();
}

void CMainFrame::ShowStatusBar(bool show)
{
    m_statusBarShown = show;
    GetStatusBar()->Show(show);
    SendSizeEvent();
}

wxMenu* CMainFrame::BuildPageMenu()
{
    return m_pages.BuildPageMenu(*m_pageMenu);
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
    if (!m_commands.Run(event.GetId()))
        event.Skip();
}

void CMainFrame::OnUpdateCommand(wxUpdateUIEvent& event)
{
    // Only commands are answered here; windows whose id happens to be a command's keep their own state.
    const wxObject* source = event.GetEventObject();
    const int id = event.GetId();
    if (!dynamic_cast<const wxMenu*>(source) && !(source == m_toolBar && id != m_toolBar->GetId())) {
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
    // Everything else waits for the parts of the program that carry it out.
    if (!m_commands.Update(event))
        event.Enable(false);
}

void CMainFrame::AddBarCommands()
{
    // The show and hide commands offer the opposite of what is shown, in the menu and as the prompt.
    const auto toggle = [this](std::function<bool()> shown, unsigned hide, unsigned show) {
        return [this, shown = std::move(shown), hide, show](wxUpdateUIEvent& event) {
            event.Enable(true);
            const wxString text = BytesToWx(ResourceText(shown() ? hide : show));
            event.SetText(text);
            if (wxMenuBar* menus = GetMenuBar())
                menus->SetHelpString(event.GetId(), wxStripMenuCodes(text));
        };
    };
    m_commands.Add(
        ID_SHOW_PAGE,
        [this](int) {
            if (m_site.GetSite()) {
                PopupMenu(BuildPageMenu());
                NotifyInspector(CSitePage::kCommandDone);
            }
        },
        EnableWhen([this] { return m_site.GetSite() != nullptr; }));
    m_commands.Add(
        ID_VIEW_TOOLBAR, [this](int) { ShowToolBar(!m_toolBarShown); },
        toggle([this] { return m_toolBarShown; }, IDS_HIDE_TOOLBAR, IDS_SHOW_TOOLBAR));
    m_commands.Add(
        ID_VIEW_BUTTON_TEXTS, [this](int) { ShowButtonTexts(!m_buttonTextsShown); },
        toggle([this] { return m_buttonTextsShown; }, IDS_HIDE_BUTTON_TEXTS, IDS_SHOW_BUTTON_TEXTS));
    m_commands.Add(
        ID_VIEW_TOOLBOX, [this](int) { ShowToolsBar(!IsToolsBarShown()); },
        toggle([this] { return IsToolsBarShown(); }, 3029, 3030));
    m_commands.Add(
        ID_VIEW_STATUS_BAR, [this](int) { ShowStatusBar(!m_statusBarShown); },
        toggle([this] { return m_statusBarShown; }, IDS_HIDE_STATUS_BAR, IDS_SHOW_STATUS_BAR));
    m_commands.Add(
        ID_VIEW_INSPECTOR, [this](int) { m_palettes.GetManager()->TogglePropSheets(); },
        toggle([this] { return m_palettes.GetManager()->IsAnyPropSheetVisible(); }, 3031, 3032));
}

void CMainFrame::OnRecentFile(wxCommandEvent& event)
{
    m_site.OnRecentFile(static_cast<size_t>(event.GetId() - wxID_FILE1));
}

void CMainFrame::UpdateStatusPanes()
{
    if (auto* status = dynamic_cast<CStatusPanesBar*>(GetStatusBar()))
        status->ShowPanes(m_site.GetSite(), m_pages.GetActivePage(), m_pages.GetActiveView());
}

void CMainFrame::OnIdle(wxIdleEvent& event)
{
    UpdateStatusPanes();
    m_palettes.FollowSite(m_site.GetSite() != nullptr, m_toolsBar ? m_toolsBar->GetShapesPalette() : nullptr);
    event.Skip();
}

void CMainFrame::CreatePalettes()
{
    m_palettes.Create(this, m_site.GetSite() != nullptr);
}

void CMainFrame::NotifyInspector(UINT code)
{
    m_palettes.Notify(code);
}
