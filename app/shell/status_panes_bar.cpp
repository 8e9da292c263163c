#include "app/shell/status_panes_bar.h"

#include "app/docview/design_view.h"
#include "app/docview/mouse_tools.h"
#include "app/shell/command_ids.h"
#include "app/shell/logic/status_panes.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/gui/text_bytes.h"
#include "platform/resources/string_table.h"

CStatusPanesBar::CStatusPanesBar(wxWindow* parent) : wxStatusBar(parent, wxID_ANY)
{
    SetFieldsCount(5);
    const int samples[] = {ID_INDICATOR_IMAGE, ID_INDICATOR_POSITION, ID_INDICATOR_PAGES, ID_INDICATOR_LOADTIME};
    int widths[5] = {-1, 0, 0, 0, 0};
    for (int i = 0; i < 4; ++i) {
        const wxString sample = BytesToWx(ResourceText(ProgramCommandId(samples[i])));
        widths[i + 1] = GetTextExtent(sample).GetWidth() + FromDIP(12);
    }
    SetStatusWidths(5, widths);
}

void CStatusPanesBar::DoUpdateStatusText(int number)
{
    wxRect pane;
    if (GetFieldRect(number, pane))
        Refresh(true, &pane);
}

void CStatusPanesBar::ShowPanes(const CWebsite* site, const CSitePage* page, const COrvelView* view)
{
    // A guide the active view drags shows its position.
    GuideDrag drag;
    if (view) {
        const CMouseTools& tools = view->GetMouseTools();
        drag = {tools.IsGuideDrag(), tools.IsGuideHorizontal(), tools.GetGuideIndex()};
    }
    // The picture pane describes the object of the page's only selected item.
    const CPageItem* single = page ? page->GetSingleSelectedItem() : nullptr;
    const std::string texts[4] = {
        FormatImageInfoPane(site, single ? single->GetCurrentObject() : nullptr, ResourceText(IDS_IMAGE_PANE)),
        FormatPositionPane(site, page, drag),
        FormatPageCountPane(site, ResourceText(IDS_PAGE_COUNT_PANE)),
        FormatLoadTimePane(site, page, ResourceText(IDS_SECONDS_UNIT)),
    };
    for (int i = 0; i < 4; ++i) {
        if (texts[i] != m_paneTexts[i + 1]) {
            m_paneTexts[i + 1] = texts[i];
            SetStatusText(BytesToWx(texts[i]), i + 1);
        }
    }
}
