#include "app/shell/site_commands.h"

#include "app/dialogs/new_site_dlg.h"
#include "app/model/app_settings.h"
#include "app/model/services.h"
#include "app/shell/main_frame.h"
#include "app/shell/orvel_app.h"
#include "app/site/site_page.h"
#include "app/site/website.h"
#include "platform/resources/string_table.h"

#include <memory>

CWebsite* NewWebsite(CMainFrame& frame)
{
    CoreServices& services = GetCoreServices();
    if (frame.GetCurrentSite()) {
        if (!services.AskYesNo(GetProductName(), ResourceText(3051)) || !SaveAllModified(frame, CloseReason::replacing))
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
    // Opening takes the upload flags from the tracker, which knows nothing of a site never saved: its page has
    // never been uploaded.
    page->SetChangedSinceUpload(true);
    frame.NotifyInspector(CSitePage::kCommandDone);
    return opened;
}
