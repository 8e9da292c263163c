#include "app/site/page_defaults.h"

#include "app/model/undo_manager.h"
#include "app/objects/text_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "app/site/website.h"

namespace {

// A copy of the page's own background with the defaults' colour, picture, gradient, direction and kind.
std::unique_ptr<CFillStyle> DefaultBackground(const CFillStyle& own, const CFillStyle& defaults)
{
    auto background = own.Clone();
    background->SetColor(defaults.GetColor());
    if (defaults.GetImageFile().empty())
        background->ClearImageFile();
    else
        background->SetImageFile(defaults.GetImageFile());
    background->SetGradientColors(defaults.GetGradient().GetGradientColors());
    background->SetGradientHorizontal(defaults.IsGradientHorizontal());
    background->SetKind(defaults.GetKind());
    background->InvalidateImage();
    return background;
}

void SetPageSettings(CSitePage& page, const PageDefaults& defaults)
{
    if (CUndoManager* undo = page.GetUndoManager())
        undo->RecordUndo(UndoKind::pageSettings);
    page.SetWidth(defaults.width);
    page.SetHeight(defaults.height);
    page.SetCentered(defaults.centered);
    page.SetDoctype(defaults.doctype);
    page.SetBackground(DefaultBackground(*page.GetBackground(), defaults.background));
    page.SetModified();
    page.SetChangedSinceUpload(true);
}

// The linked texts show the site's link colour: every page that has one is drawn and built again.
void TakeLinkColors(CWebsite& site, const PageDefaults& defaults)
{
    if (site.GetLinkColor().GetCOLORREF() == defaults.linkColor.GetCOLORREF() &&
        site.GetVisitedLinkColor().GetCOLORREF() == defaults.visitedLinkColor.GetCOLORREF())
        return;
    site.SetLinkColor(defaults.linkColor);
    site.SetVisitedLinkColor(defaults.visitedLinkColor);
    site.SetModified();
    for (int p = 0; p < site.GetPageCount(); ++p) {
        CSitePage& page = *site.GetPage(p);
        bool linked = false;
        for (int i = 0; i < page.GetItemCount(); ++i) {
            CPageObject* object = page.GetItem(i)->GetCurrentObject();
            if (object->GetKind() != objectText || !static_cast<CTextObject*>(object)->HasLinkedText())
                continue;
            auto* text = static_cast<CTextObject*>(object);
            text->GetTextBody()->SetModified();
            text->SetDirty();
            linked = true;
        }
        if (linked) {
            page.SetModified();
            page.SetChangedSinceUpload(true);
        }
    }
}

} // namespace

PageDefaults ReadPageDefaults(const CWebsite& site)
{
    PageDefaults defaults;
    defaults.width = site.GetPageWidth();
    defaults.height = site.GetPageHeight();
    defaults.doctype = site.GetDoctype();
    defaults.centered = site.IsCentered();
    defaults.background = site.GetDefaultBackground();
    defaults.linkColor = site.GetLinkColor();
    defaults.visitedLinkColor = site.GetVisitedLinkColor();
    return defaults;
}

void ApplyPageDefaults(CWebsite& site, CSitePage& page, const PageDefaults& defaults)
{
    SetPageSettings(page, defaults);
    TakeLinkColors(site, defaults);
}

void TransferPageDefaults(CWebsite& site, const PageDefaults& defaults)
{
    const CSitePage* front = site.GetHomePage();
    for (int i = 0; i < site.GetPageCount(); ++i) {
        CSitePage& page = *site.GetPage(i);
        SetPageSettings(page, defaults);
        if (&page == front) {
            site.SetPageSize(defaults.width, defaults.height);
            site.SetCentered(defaults.centered);
            site.SetDoctype(defaults.doctype);
            site.SetDefaultBackground(*page.GetBackground());
        }
    }
    TakeLinkColors(site, defaults);
}
