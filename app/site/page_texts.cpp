#include "app/site/page_texts.h"

#include "app/model/undo_manager.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

namespace {

void SetMetaTags(CSitePage& page, const std::string& keywords, const std::string& description)
{
    if (page.GetKeywords() == keywords && page.GetDescription() == description)
        return;
    page.SetKeywords(keywords);
    page.SetDescription(description);
    page.SetModified();
    page.SetChangedSinceUpload(true);
}

} // namespace

void ApplyMetaTags(CWebsite& site, CSitePage* current, const std::string& keywords, const std::string& description,
                   bool allPages)
{
    if (!allPages) {
        if (current)
            SetMetaTags(*current, keywords, description);
        return;
    }
    for (int i = 0; i < site.GetPageCount(); ++i)
        SetMetaTags(*site.GetPage(i), keywords, description);
}

void ApplyAnalyticsCode(CWebsite& site, const std::string& code)
{
    for (int i = 0; i < site.GetPageCount(); ++i) {
        CSitePage& page = *site.GetPage(i);
        if (page.GetAnalyticsCode() == code)
            continue;
        page.SetAnalyticsCode(code);
        page.SetModified();
        page.SetChangedSinceUpload(true);
    }
}

void ApplyHeaderHtml(CSitePage& page, const std::string& headerHtml, const std::string& onloadCode)
{
    if (CUndoManager* undo = page.GetUndoManager())
        undo->RecordUndo(UndoKind::pageSettings);
    page.SetHeaderHtml(headerHtml);
    page.SetOnloadCode(onloadCode);
    page.SetModified();
    page.SetChangedSinceUpload(true);
}
