#include "app/shell/site_commands.h"

#include "app/dialogs/background_outside_dlg.h"
#include "app/dialogs/header_html_dlg.h"
#include "app/dialogs/new_page_dlg.h"
#include "app/dialogs/new_site_dlg.h"
#include "app/dialogs/notice_table.h"
#include "app/dialogs/page_texts_dlg.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "app/shell/logic/frame_texts.h"
#include "app/shell/main_frame.h"
#include "app/shell/orvel_app.h"
#include "app/site/page_texts.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/resources/string_table.h"

#include <memory>

CWebsite* NewWebsite(CMainFrame& frame)
{
    CoreServices& services = GetCoreServices();
    if (frame.GetCurrentSite()) {
        if (!services.AskYesNo(GetProductName(), ResourceText(IDS_ONE_SITE_OPEN)) ||
            !SaveAllModified(frame, CloseReason::replacing))
            return nullptr;
        frame.CloseSite();
    }
    CNewSiteDLG dialog(&frame);
    if (dialog.ShowModal() != wxID_OK)
        return nullptr;
    const NewSiteValues& values = dialog.GetValues();
    auto site = std::make_unique<CWebsite>(std::string(), values.m_strName, values.m_Background, values.m_bCentered,
                                           values.m_nWidth, values.m_nHeight, frame.GetSettings().m_nDefaultDoctype,
                                           values.m_LinkColor, values.m_VisitedLinkColor);
    CSitePage* page = site->AddPage(
        std::make_unique<CSitePage>(site.get(), values.m_strPageId, values.m_strName, site->GetNewPageSettings()));
    site->SetHomePage(page);
    CWebsite* opened = site.get();
    frame.OpenSite(std::move(site));
    return opened;
}

CSitePage* AddNewPage(CMainFrame& frame)
{
    CWebsite* site = frame.GetCurrentSite();
    if (!site)
        return nullptr;
    CoreServices& services = GetCoreServices();
    services.EndAllTextEditing();
    if (frame.CountPageWindows() >= kMaxPageWindows) {
        services.ShowNotice(kNoticePageLimitAdd);
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
        CNewPageDLG dialog(&frame, std::move(setup));
        if (dialog.ShowModal() != wxID_OK)
            return nullptr;
        values = dialog.GetValues();
        if (!values.m_strPageId.empty() && site->IsPageNameFree(values.m_strPageId))
            break;
        services.ShowMessage(ResourceText(IDS_PAGE_ID_TAKEN));
    }
    auto page = std::make_unique<CSitePage>(site, values.m_strPageId, values.m_strTitle, site->GetNewPageSettings());
    if (values.m_nDuplicate)
        if (const CSitePage* source = site->FindPageByName(values.m_strSourceName))
            page->CopyFrom(*source, values.m_strPageId, values.m_strTitle);
    CSitePage* added = site->AddPage(std::move(page));
    added->SetChangedSinceUpload(true);
    frame.OpenPageWindow(site->GetPageIndex(added));
    site->SetModified();
    frame.NotifyInspector(CSitePage::kCommandDone);
    return added;
}

void EditMetaTags(CMainFrame& frame)
{
    CWebsite* site = frame.GetCurrentSite();
    CSitePage* page = site ? site->GetCurrentPage() : nullptr;
    if (!page)
        return;
    CMetaTagsDLG dialog(&frame, page->GetKeywords(), page->GetDescription());
    if (dialog.ShowModal() != wxID_OK || dialog.GetApplied() == MetaTagsApplied::none)
        return;
    ApplyMetaTags(*site, page, dialog.GetKeywords(), dialog.GetDescription(),
                  dialog.GetApplied() == MetaTagsApplied::allPages);
    frame.UpdateTitle();
}

void InsertAnalyticsCode(CMainFrame& frame)
{
    CWebsite* site = frame.GetCurrentSite();
    CSitePage* page = site ? site->GetCurrentPage() : nullptr;
    if (!page)
        return;
    CAnalyticsDLG dialog(&frame, page->GetAnalyticsCode());
    if (dialog.ShowModal() != wxID_OK)
        return;
    ApplyAnalyticsCode(*site, dialog.GetCode());
    frame.UpdateTitle();
}

void EditHeaderHtml(CMainFrame& frame)
{
    CWebsite* site = frame.GetCurrentSite();
    CSitePage* page = site ? site->GetCurrentPage() : nullptr;
    if (!page)
        return;
    CHeaderHtmlDLG dialog(&frame, page->GetHeaderHtml(), page->GetOnloadCode());
    if (dialog.ShowModal() != wxID_OK)
        return;
    ApplyHeaderHtml(*page, dialog.GetHeaderHtml(), dialog.GetOnloadCode());
    frame.UpdateTitle();
}

void EditBackgroundPreferences(CMainFrame& frame)
{
    CAppSettings& settings = frame.GetSettings();
    BackgroundOutsideChoice choice;
    choice.continueFill = settings.m_bRepeatBackgroundFill;
    choice.color = settings.m_solidBackgroundFill;
    CBackgroundOutsideDLG dialog(&frame, choice);
    if (dialog.ShowModal() != wxID_OK)
        return;
    settings.m_bRepeatBackgroundFill = dialog.GetChoice().continueFill;
    settings.m_solidBackgroundFill = dialog.GetChoice().color;
}
