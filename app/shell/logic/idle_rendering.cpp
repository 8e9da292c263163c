#include "app/shell/logic/idle_rendering.h"

#include "app/model/fill_style.h"
#include "app/objects/page_object.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"

IdleWork RenderNextPiece(const std::vector<CSitePage*>& pages, CSitePage** touched)
{
    for (CSitePage* page : pages) {
        if (!page || page->IsReadElsewhere())
            continue;
        if (touched)
            *touched = page;
        if (CFillStyle* background = page->GetBackground(); background && background->NeedsRender())
            return background->LoadFillImage() ? IdleWork::done : IdleWork::failed;
        for (int i = 0; i < page->GetItemCount(); ++i) {
            CPageItem* item = page->GetItem(i);
            const CPageObject* object = item->GetCurrentObject();
            if (object->GetKind() == objectText && page->IsEditingInPlace() && page->GetEditedObject() == object)
                return IdleWork::editingText;
            if (object->IsDirty())
                return item->UpdateImage() ? IdleWork::done : IdleWork::failed;
        }
    }
    return IdleWork::none;
}
