#include "app/shell/orvel_app.h"

#include "app/docview/message_dlg.h"
#include "app/model/app_settings.h"
#include "app/model/site_paths.h"
#include "app/palettes/palette_protocol.h"
#include "app/shell/logic/command_line.h"
#include "app/shell/logic/idle_rendering.h"
#include "app/shell/logic/theme_site.h"
#include "app/shell/main_frame.h"
#include "app/shell/orvel_frame.h"
#include "app/shell/program_services.h"
#include "app/shell/site_commands.h"
#include "app/site/website.h"
#include "platform/gui/text_bytes.h"
#include "platform/gui/xrc_resources.h"
#include "platform/resources/resource_folder.h"
#include "platform/resources/string_table.h"
#include "platform/win/codepage1252.h"
#include "platform/win/file.h"
#include "platform/win/log.h"
#include "platform/win/path.h"

#include <cstdio>
#include <filesystem>
#include <wx/display.h>
#include <wx/webview.h>

namespace {

// A message box before the main window exists.
void StartFailure(unsigned textId)
{
    const std::string text = ResourceText(textId);
    std::fprintf(stderr, "pelorin: %s\n", text.c_str());
    CMessageDlg(nullptr, BytesToWx(GetProductName()), BytesToWx(text), wxOK, MessageIcon::error).ShowModal();
}

} // namespace

COrvelApp::COrvelApp() = default;

COrvelApp::~COrvelApp() = default;

bool CheckResourceFolder(std::string* error)
{
    const std::filesystem::path folder = GetResourceFolder();
    std::error_code failure;
    if (!std::filesystem::is_directory(folder, failure)) {
        if (error)
            *error = "the resource folder " + folder.string() + " is missing";
        return false;
    }
    CStringTable table;
    std::string cause;
    if (!table.Load(folder / "strings.xml", &cause)) {
        if (error)
            *error = "the resource folder " + folder.string() + " is incomplete: " + cause;
        return false;
    }
    return true;
}

CSettingsEnvironment MakeSettingsEnvironment()
{
    CSettingsEnvironment environment;
    environment.documentsFolder = GetShellFolderPath(kShellFolderDocuments);
    environment.programFolder = GetResourceFolder().parent_path().string() + "/";
    const wxRect screen = wxDisplay(0u).GetGeometry();
    environment.screenWidth = screen.GetWidth();
    environment.screenHeight = screen.GetHeight();
    return environment;
}

bool COrvelApp::OnInit()
{
    // The command line was read before wx started, and wx's own parser would refuse a site file's name.
    std::string error;
    if (!LoadXrcResources(&error)) {
        std::fprintf(stderr, "pelorin: cannot start: %s\n", error.c_str());
        return false;
    }
    if (wxDisplayDepth() < 16) {
        StartFailure(IDS_NEEDS_COLOUR_DISPLAY);
        return false;
    }
    if (!wxWebView::IsBackendAvailable(wxWebViewBackendDefault)) {
        StartFailure(IDS_NEEDS_WEB_VIEW);
        return false;
    }

    m_services = std::make_unique<CProgramServices>();
    InstallProgramServices(m_services.get());
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(PathFromWx(argv[i]));
    CMainFrame* frame = StartMainWindow(*m_services, MakeSettingsEnvironment(), CKeyStore::DefaultPath(), arguments);
    if (!frame)
        return false;
    Bind(wxEVT_IDLE, &COrvelApp::OnIdle, this);
    return true;
}

CMainFrame* StartMainWindow(CProgramServices& services, const CSettingsEnvironment& environment,
                            const std::string& storePath, const std::vector<std::string>& arguments)
{
    auto* frame = new CMainFrame(environment, storePath);
    if (!frame->Create()) {
        std::fprintf(stderr, "pelorin: cannot start: the main window's menus or toolbar are missing from %s\n",
                     GetResourceFolder().c_str());
        frame->Destroy();
        return nullptr;
    }
    services.SetMainFrame(frame);
    // Once the main window goes, nothing is current any more.
    frame->Bind(wxEVT_DESTROY, [&services, frame](wxWindowDestroyEvent& event) {
        if (event.GetEventObject() == frame)
            services.SetMainFrame(nullptr);
        event.Skip();
    });
    if (wxTheApp)
        wxTheApp->SetTopWindow(frame);
    frame->Show();

    const CommandLine line = ParseCommandLine(arguments);
    // The file opens once the main window is on the screen, so that a message about it stands over the window.
    if (line.kind == CommandLine::openFile)
        frame->CallAfter([frame, file = line.file] { OpenDocumentFile(*frame, file); });
    // A file, a print or a conversation request on the command line skips the welcome dialog.
    if (line.kind == CommandLine::none && frame->GetSettings().m_bShowStartUpDialog)
        frame->RunWelcomeDialog();
    else
        frame->SetFocus();
    if (frame->GetSettings().m_bShowDailyTips)
        services.ShowTipsDialog();
    // The palettes come last, showing the one of the last run where it stood.
    frame->CreatePalettes();
    return frame;
}

int COrvelApp::FilterEvent(wxEvent& event)
{
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_KEY_DOWN || type == wxEVT_LEFT_DOWN || type == wxEVT_RIGHT_DOWN || type == wxEVT_MIDDLE_DOWN ||
        type == wxEVT_MOTION || type == wxEVT_MOUSEWHEEL) {
        m_idleRounds = 0;
        m_bIdleWorkBlocked = false;
    }
    return Event_Skip;
}

void COrvelApp::OnIdle(wxIdleEvent& event)
{
    event.Skip();
    CMainFrame* frame = GetMainFrame();
    if (!frame || !frame->GetCurrentSite() || m_bIdleWorkBlocked)
        return;
    if (++m_idleRounds < kIdleRoundsBeforeRendering) {
        event.RequestMore();
        return;
    }
    // The page windows' pages, the active one first.
    std::vector<CSitePage*> pages;
    if (CSitePage* active = frame->GetActivePage())
        pages.push_back(active);
    for (CSitePage* page : frame->GetPageWindowPages())
        if (page != frame->GetActivePage())
            pages.push_back(page);
    CSitePage* touched = nullptr;
    switch (RenderNextPiece(pages, &touched)) {
    case IdleWork::done:
        frame->RefreshPageWindows(touched);
        event.RequestMore();
        break;
    case IdleWork::failed:
        // Trying again at once would fail again; the next input gives it another chance.
        m_bIdleWorkBlocked = true;
        break;
    case IdleWork::none:
    case IdleWork::editingText:
        break;
    }
}

int COrvelApp::OnExit()
{
    InstallProgramServices(nullptr);
    return wxApp::OnExit();
}

CMainFrame* COrvelApp::GetMainFrame() const
{
    return dynamic_cast<CMainFrame*>(GetTopWindow());
}

CWebsite* COrvelApp::OpenDocumentFile(const std::string& path)
{
    CMainFrame* frame = GetMainFrame();
    return frame ? ::OpenDocumentFile(*frame, path) : nullptr;
}

void COrvelApp::OnFileNew()
{
    if (CMainFrame* frame = GetMainFrame())
        NewWebsite(*frame);
}

namespace {

// Why the file at path cannot be opened as a site, told from its header alone, as the open dialog's preview reads
// it; empty when it can.
std::string CheckSiteFileHeader(const std::string& path)
{
    try {
        CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
    } catch (const CFileException& error) {
        return DescribeFileError(error);
    }
    std::string category, name;
    if (!ReadSiteFileInfo(path, category, name))
        return path + ": not a website file Pelorin can read";
    return {};
}

} // namespace

CWebsite* OpenDocumentFile(CMainFrame& frame, const std::string& path)
{
    CoreServices& services = GetCoreServices();
    // The site's absolute path, so that pictures stored relative to it are found whatever the current folder.
    std::error_code failure;
    const std::filesystem::path absolute = std::filesystem::absolute(path, failure);
    const std::string full = failure ? path : absolute.lexically_normal().string();
    // A file that is no site is refused before the open site is closed for it, so that the user keeps it.
    if (const std::string cause = CheckSiteFileHeader(full); !cause.empty()) {
        services.ShowMessage(ResourceText(IDS_SITE_NOT_OPENED) + "\n\n" + cause);
        return nullptr;
    }
    if (frame.GetCurrentSite()) {
        if (!services.AskYesNo(GetProductName(), ResourceText(IDS_ONE_SITE_OPEN)) ||
            !SaveAllModified(frame, CloseReason::replacing))
            return nullptr;
        frame.CloseSite();
    }

    auto site = std::make_unique<CWebsite>(full);
    services.BeginWaitCursor();
    SetOpeningSitePath(full);
    bool loaded = false;
    std::string cause;
    try {
        CFile file(full, CFile::modeRead | CFile::shareDenyWrite);
        loaded = site->LoadFile(file);
        if (!loaded)
            cause = full + ": not a website file Pelorin can read";
    } catch (const CFileException& error) {
        cause = DescribeFileError(error);
    }
    SetOpeningSitePath({});
    services.EndWaitCursor();
    if (!loaded) {
        services.ShowMessage(ResourceText(IDS_SITE_NOT_OPENED) + "\n\n" + cause);
        return nullptr;
    }
    CWebsite* opened = site.get();
    frame.OpenSite(std::move(site));
    // However the file was chosen, the next Open starts in its folder.
    frame.GetSettings().m_strKstPath = GetPathFolder(full);
    // Themes are starting points for new sites, not files worked on: they stay out of the recent files.
    if (!EqualNoCase1252(std::filesystem::path(full).extension().string(), ".kth"))
        frame.AddRecentFile(full);
    return opened;
}

CWebsite* NewSiteFromTheme(CMainFrame& frame, const std::string& path)
{
    CWebsite* site = OpenDocumentFile(frame, path);
    if (site) {
        site->SetPath(std::string());
        site->SetModified();
        // The title shows the site as untitled and changed.
        frame.UpdateTitle();
        ClearThemeLinks(*site);
    }
    frame.NotifyInspector(kRefreshAll);
    return site;
}

bool SaveAllModified(CMainFrame& frame, CloseReason reason)
{
    COrvelDoc& document = frame.GetDocument();
    document.CommitPendingTextEdits();
    return document.SaveModifiedBeforeClose(reason);
}
