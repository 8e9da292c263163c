#include "app/shell/site_commands.h"

#include "app/dialogs/background_outside_dlg.h"
#include "app/dialogs/header_html_dlg.h"
#include "app/dialogs/new_page_dlg.h"
#include "app/dialogs/notice_table.h"
#include "app/dialogs/page_texts_dlg.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "app/publish/changed_pages.h"
#include "app/shell/command_ids.h"
#include "app/shell/command_table.h"
#include "app/shell/logic/frame_texts.h"
#include "app/shell/open_site.h"
#include "app/shell/page_windows.h"
#include "app/shell/run_state.h"
#include "app/shell/shell_window.h"
#include "app/site/page_texts.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/resources/string_table.h"

#include <memory>

CSitePage* AddNewPage(const CShellContext& context)
{
    CWebsite* site = context.site.GetSite();
    if (!site)
        return nullptr;
    context.site.GetDocument().CommitPendingTextEdits();
    if (context.pages.Count() >= kMaxPageWindows) {
        GetMessages().ShowNotice(kNoticePageLimitAdd);
        return nullptr;
    }
    NewPageValues values;
    for (;;) {
        NewPageSetup setup;
        for (int i = 0; i < site->GetPageCount(); ++i)
            setup.pageNames.push_back(site->GetPage(i)->GetName());
        setup.homeIndex = site->GetPageIndex(site->GetHomePage());
        setup.proposedId = site->MakeNewPageName();
        setup.proposedTitle = site->GetName();
        setup.isFree = [site](const std::string& id) { return site->IsPageNameFree(id); };
        CNewPageDLG dialog(&context.window, std::move(setup));
        if (dialog.ShowModal() != wxID_OK)
            return nullptr;
        values = dialog.GetValues();
        if (!values.m_strPageId.empty() && site->IsPageNameFree(values.m_strPageId))
            break;
        GetMessages().ShowMessage(ResourceText(IDS_PAGE_ID_TAKEN));
    }
    auto page = std::make_unique<CSitePage>(site, values.m_strPageId, values.m_title, site->GetNewPageSettings());
    if (values.m_nDuplicate)
        if (const CSitePage* source = site->FindPageByName(values.m_sourceName))
            page->CopyFrom(*source, values.m_strPageId, values.m_title);
    CSitePage* added = site->AddPage(std::move(page));
    added->SetChangedSinceUpload(true);
    context.pages.Open(site->GetPageIndex(added));
    site->SetModified();
    context.shell.NotifyInspector(CSitePage::kCommandDone);
    return added;
}

void EditMetaTags(const CShellContext& context)
{
    CWebsite* site = context.site.GetSite();
    CSitePage* page = site ? site->GetCurrentPage() : nullptr;
    if (!page)
        return;
    CMetaTagsDLG dialog(&context.window, page->GetKeywords(), page->GetDescription());
    if (dialog.ShowModal() != wxID_OK || dialog.GetApplied() == MetaTagsApplied::none)
        return;
    ApplyMetaTags(*site, page, dialog.GetKeywords(), dialog.GetDescription(),
                  dialog.GetApplied() == MetaTagsApplied::allPages);
    context.shell.UpdateTitle();
}

void InsertAnalyticsCode(const CShellContext& context)
{
    CWebsite* site = context.site.GetSite();
    CSitePage* page = site ? site->GetCurrentPage() : nullptr;
    if (!page)
        return;
    CAnalyticsDLG dialog(&context.window, page->GetAnalyticsCode());
    if (dialog.ShowModal() != wxID_OK)
        return;
    ApplyAnalyticsCode(*site, dialog.GetCode());
    context.shell.UpdateTitle();
}

void EditHeaderHtml(const CShellContext& context)
{
    CWebsite* site = context.site.GetSite();
    CSitePage* page = site ? site->GetCurrentPage() : nullptr;
    if (!page)
        return;
    CHeaderHtmlDLG dialog(&context.window, page->GetHeaderHtml(), page->GetOnloadCode());
    if (dialog.ShowModal() != wxID_OK)
        return;
    ApplyHeaderHtml(*page, dialog.GetHeaderHtml(), dialog.GetOnloadCode());
    context.shell.UpdateTitle();
}

void EditBackgroundPreferences(const CShellContext& context)
{
    CAppSettings& settings = context.run.GetSettings();
    BackgroundOutsideChoice choice;
    choice.continueFill = settings.m_repeatBackgroundFill;
    choice.color = settings.m_solidBackgroundFill;
    CBackgroundOutsideDLG dialog(&context.window, choice);
    if (dialog.ShowModal() != wxID_OK)
        return;
    settings.m_repeatBackgroundFill = dialog.GetChoice().continueFill;
    settings.m_solidBackgroundFill = dialog.GetChoice().color;
}

namespace {

// Delete Page works on the active page window's page; the site keeps at least the page of one other window.
bool CanDeletePage(const CShellContext& context)
{
    return context.site.GetSite() && context.pages.Count() >= 2 && context.pages.GetActivePage();
}

void DeleteCurrentPage(const CShellContext& context)
{
    if (!CanDeletePage(context))
        return;
    context.site.GetDocument().CommitPendingTextEdits();
    CWebsite& site = *context.site.GetSite();
    if (site.DeletePage(context.pages.GetActivePage()))
        CChangedPages::MarkAllPagesChanged(site);
}

} // namespace

void AddSiteCommands(CCommandTable& table, const CShellContext& context)
{
    COpenSite& open = context.site;
    const auto siteOpen = [&open] { return open.GetSite() != nullptr; };
    table.Add(ID_FILE_NEW, [&open](int) { open.NewWebsite(); }, AlwaysEnabled());
    table.Add(ID_FILE_OPEN, [&open](int) { open.OnFileOpen(); }, AlwaysEnabled());
    table.Add(ID_FILE_NEW_FROM_THEME, [&open](int) { open.OnFileNewFromTheme(); }, AlwaysEnabled());
    table.Add(ID_APP_EXIT, [&context](int) { context.window.Close(); }, AlwaysEnabled());
    table.Add(ID_FILE_SAVE, [&open](int) { open.GetDocument().OnFileSave(); }, EnableWhen(siteOpen));
    table.Add(ID_FILE_SAVE_AS, [&open](int) { open.GetDocument().OnFileSaveAs(); }, EnableWhen(siteOpen));
    table.Add(ID_FILE_CLOSE, [&open](int) { open.GetDocument().OnFileClose(); }, EnableWhen(siteOpen));
    table.Add(ID_ADD_FILES, [&open](int) { open.GetDocument().OnAddFiles(); }, EnableWhen(siteOpen));
    table.Add(ID_ADD_FILES_FROM_XML, [&open](int) { open.GetDocument().OnAddFilesFromXml(); }, AlwaysEnabled());
    table.Add(
        ID_REMOVE_FILES, [&open](int) { open.GetDocument().OnRemoveFiles(); },
        EnableWhen([&open] { return open.GetDocument().CanRemoveFiles(); }));
    table.Add(
        ID_SITE_MAP, [&open](int) { open.GetDocument().OnSiteMap(); },
        EnableWhen([&open] { return open.GetDocument().CanShowSiteMap(); }));
    table.Add(
        ID_PAGE_DEFAULTS, [&open](int) { open.GetDocument().OnPageDefaults(); },
        EnableWhen([&open] { return open.GetDocument().CanPageDefaults(); }));
    table.Add(
        ID_ADD_PAGE, [&context](int) { AddNewPage(context); },
        EnableWhen([&open] { return open.GetSite() && open.GetSite()->GetPageCount() < CWebsite::kMaxPages; }));
    table.Add(ID_EDIT_HEADER, [&context](int) { EditHeaderHtml(context); }, EnableWhen(siteOpen));
    table.Add(ID_EDIT_META_TAGS, [&context](int) { EditMetaTags(context); }, EnableWhen(siteOpen));
    table.Add(ID_INSERT_ANALYTICS, [&context](int) { InsertAnalyticsCode(context); }, EnableWhen(siteOpen));
    table.Add(ID_BACKGROUND_PREFERENCES, [&context](int) { EditBackgroundPreferences(context); }, AlwaysEnabled());
    table.Add(
        ID_DELETE_PAGE,
        [&context](int) {
            // The page's window closes on the way: not while its own events are being handled.
            if (CanDeletePage(context))
                context.window.CallAfter([&context] { DeleteCurrentPage(context); });
        },
        EnableWhen([&context] { return CanDeletePage(context); }));
}
