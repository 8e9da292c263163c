#include "app/shell/logic/theme_site.h"

#include "app/model/link_info.h"
#include "app/objects/page_object.h"
#include "app/objects/text_body.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

namespace {

bool Uses(const CLinkInfo& link, int kind)
{
    return link.IsActive() && link.GetKind() == kind;
}

void ClearObject(CPageObject* object)
{
    if (!object)
        return;
    if (CLinkInfo* link = object->GetLink())
        ClearThemeObjectLink(*link);
    if (auto* text = dynamic_cast<CTextObject*>(object); text && text->GetTextBody())
        for (CTextParagraph& paragraph : text->GetTextBody()->m_paragraphs)
            for (CTextChar& c : paragraph.m_chars)
                ClearThemeCharLink(c.m_link);
}

} // namespace

void ClearThemeObjectLink(CLinkInfo& link)
{
    if (!Uses(link, CLinkInfo::kindPage))
        link.SetPage(0);
    if (!Uses(link, CLinkInfo::kindEmail))
        link.SetEmail(CLinkInfo::kDefaultEmail);
    if (!Uses(link, CLinkInfo::kindUrl))
        link.SetUrl("http:");
    if (link.GetKind() != CLinkInfo::kindFile)
        link.SetFile(std::string());
}

void ClearThemeCharLink(CLinkInfo& link)
{
    if (!Uses(link, CLinkInfo::kindPage))
        link.SetPage(0);
    if (!Uses(link, CLinkInfo::kindEmail))
        link.SetEmail(std::string());
    if (!Uses(link, CLinkInfo::kindUrl))
        link.SetUrl(std::string());
    if (link.GetKind() != CLinkInfo::kindFile)
        link.SetFile(std::string());
    if (!link.IsActive())
        link.SetKind(CLinkInfo::kindPage);
}

void ClearThemeLinks(CWebsite& site)
{
    for (int p = 0; p < site.GetPageCount(); ++p) {
        CSitePage* page = site.GetPage(p);
        for (int i = 0; i < page->GetItemCount(); ++i) {
            CPageItem* item = page->GetItem(i);
            ClearObject(item->GetObject(false));
            if (item->HasMouseOver())
                ClearObject(item->GetObject(true));
        }
    }
}
