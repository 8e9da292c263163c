#include "app/shell/publish_menu.h"

#include <functional>

#include <wx/event.h>
#include <wx/filename.h>
#include <wx/utils.h>

#include "app/dialogs/connection_test_dlg.h"
#include "app/dialogs/internet_setup.h"
#include "app/model/app_settings.h"
#include "app/model/browser_entry.h"
#include "app/model/services.h"
#include "app/publish/local_output.h"
#include "app/publish/publish_host.h"
#include "app/publish/site_upload.h"
#include "app/shell/main_frame.h"
#include "app/shell/preview_dlg.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/gui/text_bytes.h"
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

} // namespace

bool PreviewWebsite(CMainFrame& frame, bool currentPage)
{
    CWebsite* site = frame.GetCurrentSite();
    if (!site)
        return false;
    // The wait cursor stays on while the site is built and the browser started; previews may nest.
    wxBusyCursor busy;
    CSitePage* page = currentPage ? frame.GetActivePage() : nullptr;
    const std::string path = BuildSitePreview(*site, page);
    if (path.empty())
        return false;
    const std::string address = wxFileName::FileNameToURL(wxString::FromUTF8(path)).utf8_string();
    switch (StartPreviewBrowser(frame.GetSettings().m_nUseBuiltInBrowser, frame.GetBrowserPaths(), address)) {
    case PreviewStart::started:
        return true;
    case PreviewStart::failed:
        GetCoreServices().ShowMessage(ResourceText(IDS_BROWSER_NOT_STARTED));
        return false;
    case PreviewStart::builtIn:
        break;
    }
    CPreviewDLG preview(&frame, path, ShownPageSize(*site, page));
    if (!preview.IsOk())
        return false;
    preview.ShowModal();
    return true;
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

bool HandlePublishCommand(CMainFrame& frame, int id)
{
    switch (id) {
    case ID_SEND:
    case ID_UPLOAD:
        if (frame.GetCurrentSite())
            RunPublishingTask(frame, [] { SynchronizeWebsite(false); });
        return true;
    case ID_INTERNET_SETUP:
        GetPublishHost().RunInternetSetupDialog(SetupFocus::none);
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
    // Building the site for a preview or an upload ends no text editing: it waits until the text is done.
    const CSitePage* page = frame.GetCurrentSite() ? frame.GetActivePage() : nullptr;
    const bool editing = page && page->IsEditingInPlace();
    switch (event.GetId()) {
    case ID_SEND:
    case ID_TEST:
    case ID_PREVIEW_WEBSITE:
    case ID_PREVIEW_CURRENT_PAGE:
    case ID_FILE_PRINT:
        event.Enable(page && !editing);
        return true;
    case ID_REMOVE_WEBSITE:
        event.Enable(frame.GetCurrentSite() != nullptr);
        return true;
    case ID_UPLOAD: {
        const CAppSettings* settings = GetAppSettings();
        const int profile = settings ? FindDestinationProfile(*settings) : -1;
        if (profile < 0) {
            event.SetText(BytesToWx(ResourceText(IDS_UPLOAD)));
            event.Enable(false);
            return true;
        }
        CFtpProfileArray profiles;
        settings->GetFtpProfiles(&profiles);
        wxString text = BytesToWx(ResourceText(IDS_UPLOAD_TO));
        text.Replace("%s", wxString::FromUTF8(profiles[static_cast<size_t>(profile)].m_strName));
        event.SetText(text);
        event.Enable(true);
        return true;
    }
    case ID_INTERNET_SETUP:
        event.Enable(!editing);
        return true;
    case ID_TEST_CONNECTIONS:
        event.Enable(IsInternetSetupComplete());
        return true;
    default:
        return false;
    }
}
