#include "app/shell/orvel_app.h"

#include "app/docview/message_dlg.h"
#include "app/model/app_settings.h"
#include "app/shell/logic/command_line.h"
#include "app/shell/logic/idle_rendering.h"
#include "app/shell/main_frame.h"
#include "app/shell/program_services.h"
#include "app/site/website.h"
#include "platform/gui/text_bytes.h"
#include "platform/gui/web_view.h"
#include "platform/gui/xrc_resources.h"
#include "platform/resources/resource_folder.h"
#include "platform/resources/string_table.h"
#include "platform/win/log.h"
#include "platform/win/path.h"

#include <cstdio>
#include <filesystem>
#include <wx/display.h>

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
    // Only the module's file is looked for: loading it would load the browser engine, which waits for the first
    // preview.
    if (!IsWebViewModulePresent()) {
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
    // On the screen and drawn now, before the start's dialogs are built, rather than with the first of them.
    frame->Update();

    const CommandLine line = ParseCommandLine(arguments);
    // The file opens once the main window is on the screen, so that a message about it stands over the window.
    if (line.kind == CommandLine::openFile)
        frame->CallAfter([frame, file = line.file] { frame->GetOpenSite().OpenDocumentFile(file); });
    // A file, a print or a conversation request on the command line skips the welcome dialog.
    if (line.kind == CommandLine::none && frame->GetSettings().m_showStartUpDialog)
        frame->GetOpenSite().RunWelcomeDialog();
    else
        frame->SetFocus();
    if (frame->GetSettings().m_showDailyTips)
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
        m_idleWorkBlocked = false;
    }
    return Event_Skip;
}

void COrvelApp::OnIdle(wxIdleEvent& event)
{
    event.Skip();
    CMainFrame* frame = GetMainFrame();
    if (!frame || !frame->GetCurrentSite() || m_idleWorkBlocked)
        return;
    if (++m_idleRounds < kIdleRoundsBeforeRendering) {
        event.RequestMore();
        return;
    }
    // The page windows' pages, the active one first.
    const CPageWindows& windows = frame->GetPageWindows();
    std::vector<CSitePage*> pages;
    if (CSitePage* active = windows.GetActivePage())
        pages.push_back(active);
    for (CSitePage* page : windows.GetPages())
        if (page != windows.GetActivePage())
            pages.push_back(page);
    CSitePage* touched = nullptr;
    switch (RenderNextPiece(pages, &touched)) {
    case IdleWork::done:
        frame->GetPageWindows().Refresh(touched);
        event.RequestMore();
        break;
    case IdleWork::failed:
        // Trying again at once would fail again; the next input gives it another chance.
        m_idleWorkBlocked = true;
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
