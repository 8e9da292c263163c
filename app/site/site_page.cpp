#include "app/site/site_page.h"

#include <algorithm>

#include "app/model/services.h"
#include "app/model/undo_manager.h"
#include "app/site/object_frame.h"
#include "app/site/page_item.h"
#include "app/site/website.h"

CSitePage::CSitePage(CWebsite* site, const std::string& name, const std::string& title, const NewPageSettings& settings)
    : m_site(site)
{
    m_name = name;
    SetModified();
    m_title = title;
    SetModified();
    m_renderBuffer = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, kRenderBufferSize, kRenderBufferSize);
    m_background = std::make_unique<CFillStyle>(settings.background);
    m_centered = settings.centered;
    m_width = settings.width;
    m_height = settings.height;
    m_doctype = settings.doctype;
    m_background->SetWidth(m_width);
    m_background->SetHeight(m_height);
    UpdateViewForSize(true);
    m_undoManager = GetCoreServices().CreateUndoManager(this, kUndoCapacity);
    // A page that was never written is not saved, and a new page counts as changed for the next upload.
    m_saved = false;
}

CSitePage::~CSitePage()
{
    // Undo records and frames may still point at items; frames go first, then the items with their objects.
    m_groups.clear();
    m_items.clear();
}

void CSitePage::CopyFrom(const CSitePage& source, const std::string& name, const std::string& title)
{
    m_groups.clear();
    m_items.clear();
    m_name = name;
    m_title = title;
    m_site = source.m_site;
    m_headerHtml = source.m_headerHtml;
    m_keywords = source.m_keywords;
    m_description = source.m_description;
    m_analyticsCode = source.m_analyticsCode;
    // The onload code and the files it uses belong to the page they were written for.
    m_onloadCode.clear();
    m_usedFiles.clear();
    m_gridMode = source.m_gridMode;
    m_centered = source.m_centered;
    m_width = source.m_width;
    m_height = source.m_height;
    m_doctype = source.m_doctype;
    m_freezeSelection = source.m_freezeSelection;
    m_firstPageByte = source.m_firstPageByte;
    m_guidesHidden = source.m_guidesHidden;
    m_changedSinceUpload = source.m_changedSinceUpload;
    m_saved = source.m_saved;
    m_horizontalGuides = source.m_horizontalGuides;
    m_verticalGuides = source.m_verticalGuides;
    m_frontPage = false;
    m_background = std::make_unique<CFillStyle>(*source.m_background);
    UpdateViewForSize(false);
    m_undoManager = GetCoreServices().CreateUndoManager(this, kUndoCapacity);
    m_pageImage.reset();
    m_editedObject = nullptr;
    m_editingInPlace = false;

    for (const auto& from : source.m_items) {
        std::unique_ptr<CPageObject> object = from->GetObject(false)->Duplicate();
        // An object that cannot be copied stays behind.
        if (!object)
            continue;
        auto item = std::make_unique<CPageItem>(std::move(object), m_renderBuffer.get());
        if (from->HasMouseOver()) {
            if (std::unique_ptr<CPageObject> twin = from->GetObject(true)->Duplicate()) {
                item->SetMouseOverObject(std::move(twin));
                item->SetMouseOverShown(from->IsMouseOverShown());
                item->SetSameText(from->IsSameText());
            }
        }
        CPageItem* added = item.get();
        m_items.push_back(std::move(item));
        AddToSelection(added);
    }
}

void CSitePage::SetModified()
{
    m_saved = false;
    if (m_site)
        m_site->SetModified();
    else
        GetCurrentState().SetSiteModified();
}

void CSitePage::SetPageInfo(const std::string& name, const std::string& title, const std::string& headerHtml, int width,
                            int height, int doctype)
{
    m_name = name;
    m_title = title;
    m_headerHtml = headerHtml;
    m_width = width;
    m_height = height;
    m_doctype = doctype;
    m_background->SetWidth(width);
    m_background->SetHeight(height);
    if (PageView* view = GetCurrentView())
        view->UpdateScrollSizes();
    SetModified();
}

void CSitePage::SetDoctype(int doctype)
{
    m_doctype = doctype;
    SetModified();
}

std::unique_ptr<CFillStyle> CSitePage::SetBackground(std::unique_ptr<CFillStyle> background)
{
    std::swap(m_background, background);
    SetModified();
    return background;
}

void CSitePage::SetWidth(int width)
{
    m_width = width;
    m_background->SetWidth(width);
    UpdateViewForSize(true);
    // A grid follows the new size; guides placed by hand stay where they were put.
    if (m_gridMode != 0)
        MakeGridGuides(m_gridMode);
    SetModified();
}

void CSitePage::SetHeight(int height)
{
    m_height = height;
    m_background->SetHeight(height);
    UpdateViewForSize(true);
    if (m_gridMode != 0)
        MakeGridGuides(m_gridMode);
    SetModified();
}

void CSitePage::FreezeSelectedObjects()
{
    m_freezeSelection = true;
    SetModified();
}

void CSitePage::SetName(const std::string& name)
{
    m_name = name;
    SetModified();
}

void CSitePage::SetTitle(const std::string& title)
{
    m_title = title;
    SetModified();
}

void CSitePage::SetHeaderHtml(const std::string& html)
{
    m_headerHtml = html;
    SetModified();
}

void CSitePage::SetOnloadCode(const std::string& code)
{
    m_onloadCode = code;
    SetModified();
}

void CSitePage::SetKeywords(const std::string& keywords)
{
    m_keywords = keywords;
    SetModified();
}

void CSitePage::SetDescription(const std::string& description)
{
    m_description = description;
    SetModified();
}

void CSitePage::SetAnalyticsCode(const std::string& code)
{
    m_analyticsCode = code;
    SetModified();
}

void CSitePage::SetUsedFiles(std::vector<std::string> files)
{
    m_usedFiles = std::move(files);
    SetModified();
}

void CSitePage::UpdateViewForSize(bool erase)
{
    if (PageView* view = GetCurrentView()) {
        view->UpdateScrollSizes();
        view->InvalidateView(erase);
    }
}

void CSitePage::AddGuide(bool horizontal, int position)
{
    (horizontal ? m_horizontalGuides : m_verticalGuides).push_back(position);
}

int CSitePage::GetGuideCount(bool horizontal) const
{
    return static_cast<int>((horizontal ? m_horizontalGuides : m_verticalGuides).size());
}

int CSitePage::GetGuide(bool horizontal, int i) const
{
    return (horizontal ? m_horizontalGuides : m_verticalGuides).at(i);
}

void CSitePage::SetGuide(bool horizontal, int i, int position)
{
    (horizontal ? m_horizontalGuides : m_verticalGuides).at(i) = position;
}

void CSitePage::RemoveGuide(bool horizontal, int i)
{
    std::vector<int>& guides = horizontal ? m_horizontalGuides : m_verticalGuides;
    if (i >= 0 && i < static_cast<int>(guides.size()))
        guides.erase(guides.begin() + i);
}

void CSitePage::RemoveAllGuides()
{
    m_horizontalGuides.clear();
    m_verticalGuides.clear();
}

void CSitePage::SortGuides()
{
    std::sort(m_horizontalGuides.begin(), m_horizontalGuides.end());
    std::sort(m_verticalGuides.begin(), m_verticalGuides.end());
}

void CSitePage::MakeGridGuides(int mode)
{
    RemoveAllGuides();
    const int step = mode == 1 ? 10 : mode == 2 ? 20 : mode == 4 ? 40 : 0;
    if (step == 0)
        return;
    // A tall page with the finest grid would need more guides than a stored page may hold; the grid then stops
    // there, keeping its step, so that the page can be read back.
    const int end = std::max(m_width, m_height);
    for (int position = 0; position < end && GetGuideCount(true) < kMaxGuides; position += step) {
        m_horizontalGuides.push_back(position);
        m_verticalGuides.push_back(position);
    }
}
