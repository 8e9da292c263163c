#include "app/shell/publish_menu.h"

#include <functional>

#include <wx/event.h>
#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/toolbar.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include "app/dialogs/connection_test_dlg.h"
#include "app/dialogs/internet_setup.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "app/publish/local_output.h"
#include "app/publish/site_upload.h"
#include "app/shell/main_frame.h"
#include "app/shell/preview_dlg.h"
#include "app/shell/wx_text.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/resources/string_table.h"

namespace {

// A long publishing task runs from the event loop once the menu or button that asked for it has closed. Until it
// returns every window of the program is disabled, as under a modal dialog, so the site cannot change under it;
// the windows the task opens itself (its progress, its notices) take input. One task at a time.
void RunPublishingTask(CMainFrame& frame, std::function<void()> task)
{
    frame.CallAfter([task = std::move(task)] {
        static bool running = false;
        if (running)
            return;
        running = true;
        {
            wxWindowDisabler busy;
            task();
        }
        running = false;
    });
}

// The size the windows that show the built site take from: the page shown, or the front page.
CSize ShownPageSize(const CWebsite& site, const CSitePage* page)
{
    const CSitePage* shown = page && page != site.GetHomePage() ? page : site.GetHomePage();
    return shown ? CSize(shown->GetWidth(), shown->GetHeight()) : CSize(800, 600);
}

// Send, Test, the previews and printing wait while a text is being edited on the current page; so does the Internet
// setup, which needs no page.
bool IsEditingText(const CMainFrame& frame)
{
    const CSitePage* page = frame.GetActivePage();
    return page && page->IsEditingInPlace();
}

bool HasPageToBuild(const CMainFrame& frame)
{
    return frame.GetCurrentSite() && frame.GetActivePage() && !IsEditingText(frame);
}

} // namespace

bool PreviewWebsite(CMainFrame& frame, bool currentPage)
{
    CWebsite* site = frame.GetCurrentSite();
    if (!site)
        return false;
    CSitePage* page = currentPage ? frame.GetActivePage() : nullptr;
    const std::string path = BuildSitePreview(*site, page);
    if (path.empty())
        return false;
    const int browser = frame.GetSettings().m_nUseBuiltInBrowser;
    if (browser < 0) {
        CPreviewDLG preview(&frame, path, ShownPageSize(*site, page));
        if (!preview.IsOk())
            return false;
        preview.ShowModal();
        return true;
    }
    const wxString url = wxFileName::FileNameToURL(wxString::FromUTF8(path));
    const std::vector<std::string>& browsers = frame.GetBrowserPaths();
    if (browser == 0 || static_cast<size_t>(browser) > browsers.size())
        return wxLaunchDefaultBrowser(url);
    const char* argv[] = {browsers[static_cast<size_t>(browser) - 1].c_str(), path.c_str(), nullptr};
    return wxExecute(argv, wxEXEC_ASYNC) != 0;
}

bool PrintWebsite(CMainFrame& frame)
{
    CWebsite* site = frame.GetCurrentSite();
    if (!site)
        return false;
    const std::string path = BuildSiteForPrint(*site);
    if (path.empty())
        return false;
    CPrintSiteDLG print(&frame, path, ShownPageSize(*site, nullptr));
    if (!print.IsOk())
        return false;
    print.ShowModal();
    return true;
}

bool AddSendDropDown(CMainFrame& frame, wxToolBar& toolbar)
{
    wxMenu* menu = wxXmlResource::Get()->LoadMenu(wxString::Format("%d", kSendMenuResource));
    if (!menu)
        return false;
    toolbar.SetDropdownMenu(ID_SEND, menu);
    frame.Bind(
        wxEVT_TOOL_DROPDOWN,
        [&frame](wxCommandEvent& event) {
            if (frame.GetCurrentSite())
                event.Skip();
        },
        ID_SEND);
    return true;
}

bool HandlePublishCommand(CMainFrame& frame, int id)
{
    switch (id) {
    case ID_SEND:
    case ID_UPLOAD:
        if (frame.GetCurrentSite())
            RunPublishingTask(frame, [] { SynchronizeWebsite(false); });
        return true;
    case ID_INTERNET_SETUP:
        GetCoreServices().RunInternetSetupDialog(0);
        return true;
    case ID_TEST_CONNECTIONS:
        RunConnectionTest(&frame, nullptr);
        return true;
    case ID_TEST:
    case ID_PREVIEW_WEBSITE:
    case ID_PREVIEW_CURRENT_PAGE:
        if (frame.GetCurrentSite())
            frame.CallAfter([&frame, current = id == ID_PREVIEW_CURRENT_PAGE] { PreviewWebsite(frame, current); });
        return true;
    case ID_FILE_PRINT:
        if (frame.GetCurrentSite())
            frame.CallAfter([&frame] { PrintWebsite(frame); });
        return true;
    case ID_REMOVE_WEBSITE:
        if (CWebsite* site = frame.GetCurrentSite())
            RunPublishingTask(frame, [&frame, site] {
                if (frame.GetCurrentSite() == site)
                    RemovePublishedWebsite(*site, frame.GetChangedPages());
            });
        return true;
    default:
        return false;
    }
}

bool UpdatePublishCommand(CMainFrame& frame, wxUpdateUIEvent& event)
{
    switch (event.GetId()) {
    case ID_SEND:
    case ID_TEST:
    case ID_PREVIEW_WEBSITE:
    case ID_PREVIEW_CURRENT_PAGE:
    case ID_FILE_PRINT:
        event.Enable(HasPageToBuild(frame));
        return true;
    case ID_REMOVE_WEBSITE:
        event.Enable(frame.GetCurrentSite() != nullptr);
        return true;
    case ID_UPLOAD: {
        const CAppSettings* settings = GetAppSettings();
        const int profile = settings ? FindDestinationProfile(*settings) : -1;
        if (profile < 0) {
            event.SetText(ToWx(ResourceText(7041)));
            event.Enable(false);
            return true;
        }
        CFtpProfileArray profiles;
        settings->GetFtpProfiles(&profiles);
        wxString text = ToWx(ResourceText(7042));
        text.Replace("%s", wxString::FromUTF8(profiles[static_cast<size_t>(profile)].m_strName));
        event.SetText(text);
        event.Enable(true);
        return true;
    }
    case ID_INTERNET_SETUP:
        event.Enable(!IsEditingText(frame));
        return true;
    case ID_TEST_CONNECTIONS:
        event.Enable(IsInternetSetupComplete());
        return true;
    default:
        return false;
    }
}
