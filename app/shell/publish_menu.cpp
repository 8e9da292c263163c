#include "app/shell/publish_menu.h"

#include <functional>

#include <wx/cmndata.h>
#include <wx/event.h>
#include <wx/printdlg.h>
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
#include "app/shell/command_table.h"
#include "app/shell/open_site.h"
#include "app/shell/page_windows.h"
#include "app/shell/preview_dlg.h"
#include "app/shell/run_state.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

namespace {

// A long publishing task runs from the event loop once the menu or button that asked for it has closed. Until it
// returns every window of the program is disabled, as under a modal dialog, so the site cannot change under it;
// the windows the task opens itself (its progress, its notices) take input. One task at a time.
void RunPublishingTask(wxWindow& window, std::function<void()> task)
{
    window.CallAfter([task = std::move(task)] {
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

// The page the publishing commands start from, while a site is open.
const CSitePage* ActivePageOfSite(const CShellContext& context)
{
    return context.site.GetSite() ? context.pages.GetActivePage() : nullptr;
}

// The previews, the upload and the print window wait while a text is being edited in place: building the site
// ends no text editing.
bool CanBuildFromPage(const CShellContext& context)
{
    const CSitePage* page = ActivePageOfSite(context);
    return page && !page->IsEditingInPlace();
}

void UpdateUploadCommand(const CAppSettings& settings, wxUpdateUIEvent& event)
{
    const int profile = FindDestinationProfile(settings);
    if (profile < 0) {
        event.SetText(BytesToWx(ResourceText(IDS_UPLOAD)));
        event.Enable(false);
        return;
    }
    CFtpProfileArray profiles;
    settings.GetFtpProfiles(&profiles);
    wxString text = BytesToWx(ResourceText(IDS_UPLOAD_TO));
    text.Replace("%s", wxString::FromUTF8(profiles[static_cast<size_t>(profile)].m_strName));
    event.SetText(text);
    event.Enable(true);
}

// The paper and margins the program prints with, kept for the run.
wxPageSetupDialogData& PageSetupData()
{
    static wxPageSetupDialogData data;
    return data;
}

// The size the windows that show the built site take from: the page shown, or the front page.
CSize ShownPageSize(const CWebsite& site, const CSitePage* page)
{
    const CSitePage* shown = page && page != site.GetHomePage() ? page : site.GetHomePage();
    return shown ? CSize(shown->GetWidth(), shown->GetHeight()) : CSize(800, 600);
}

} // namespace

bool PreviewWebsite(const CShellContext& context, bool currentPage)
{
    CWebsite* site = context.site.GetSite();
    if (!site)
        return false;
    // The wait cursor stays on while the site is built and the browser started; previews may nest.
    wxBusyCursor busy;
    CSitePage* page = currentPage ? context.pages.GetActivePage() : nullptr;
    const std::string path = BuildSitePreview(*site, page);
    if (path.empty())
        return false;
    const std::string address = wxFileName::FileNameToURL(wxString::FromUTF8(path)).utf8_string();
    switch (
        StartPreviewBrowser(context.run.GetSettings().m_useBuiltInBrowser, context.run.GetBrowserPaths(), address)) {
    case PreviewStart::started:
        return true;
    case PreviewStart::failed:
        GetMessages().ShowMessage(ResourceText(IDS_BROWSER_NOT_STARTED));
        return false;
    case PreviewStart::builtIn:
        break;
    }
    CPreviewDLG preview(&context.window, path, ShownPageSize(*site, page));
    if (!preview.IsOk())
        return false;
    preview.ShowModal();
    return true;
}

bool PrintWebsite(const CShellContext& context)
{
    CWebsite* site = context.site.GetSite();
    if (!site)
        return false;
    const std::string path = BuildSiteForPrint(*site);
    if (path.empty())
        return false;
    CPrintSiteDLG print(&context.window, path, ShownPageSize(*site, nullptr));
    if (!print.IsOk())
        return false;
    print.ShowModal();
    return true;
}

void AddPublishCommands(CCommandTable& table, const CShellContext& context)
{
    const auto buildable = [&context] { return CanBuildFromPage(context); };
    const auto upload = [&context](int) {
        if (context.site.GetSite())
            RunPublishingTask(context.window, [] { SynchronizeWebsite(false); });
    };
    table.Add(ID_SEND, upload, EnableWhen(buildable));
    table.Add(ID_UPLOAD, upload,
              [&context](wxUpdateUIEvent& event) { UpdateUploadCommand(context.run.GetSettings(), event); });
    table.Add(
        ID_INTERNET_SETUP, [](int) { GetPublishHost().RunInternetSetupDialog(SetupFocus::none); },
        EnableWhen([&context] {
            const CSitePage* page = ActivePageOfSite(context);
            return !(page && page->IsEditingInPlace());
        }));
    table.Add(
        ID_TEST_CONNECTIONS, [&context](int) { RunConnectionTest(&context.window, nullptr); },
        EnableWhen(IsInternetSetupComplete));
    for (int id : {int(ID_TEST), int(ID_PREVIEW_WEBSITE), int(ID_PREVIEW_CURRENT_PAGE)})
        table.Add(
            id,
            [&context](int command) {
                if (context.site.GetSite())
                    context.window.CallAfter(
                        [&context, current = command == ID_PREVIEW_CURRENT_PAGE] { PreviewWebsite(context, current); });
            },
            EnableWhen(buildable));
    table.Add(
        ID_FILE_PRINT,
        [&context](int) {
            if (context.site.GetSite())
                context.window.CallAfter([&context] { PrintWebsite(context); });
        },
        EnableWhen(buildable));
    table.Add(
        ID_PRINT_SETUP,
        [&context](int) {
            wxPageSetupDialog dialog(&context.window, &PageSetupData());
            if (dialog.ShowModal() == wxID_OK)
                PageSetupData() = dialog.GetPageSetupDialogData();
        },
        AlwaysEnabled());
    table.Add(
        ID_REMOVE_WEBSITE,
        [&context](int) {
            if (CWebsite* site = context.site.GetSite())
                RunPublishingTask(context.window, [&context, site] {
                    if (context.site.GetSite() == site)
                        RemovePublishedWebsite(*site, context.run.GetChangedPages());
                });
        },
        EnableWhen([&context] { return context.site.GetSite() != nullptr; }));
}
