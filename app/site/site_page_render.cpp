// Drawing the page: bringing the objects' cached images up to date, composing background and objects into the
// view's tiles, and the scaled image of the whole page that the site file keeps as its thumbnail. Every object
// is copied through the page's one render buffer, so nothing is allocated per object or per tile.

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "app/model/services.h"
#include "app/render/compositing.h"
#include "app/site/page_item.h"
#include "app/site/site_page.h"
#include "platform/transform/scale.h"
#include "platform/win/task_pool.h"

namespace {

constexpr BYTE kGhostPage = 190;
constexpr BYTE kGhostObject = 140;

// Clears a flag when the scope ends, however it ends.
class ScopedFlag
{
public:
    explicit ScopedFlag(bool& flag) : m_flag(flag) { m_flag = true; }
    ~ScopedFlag() { m_flag = false; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& m_flag;
};

// The end of the target run that starts at from and whose source part still fits the render buffer. measure
// gives the source extent a target run needs.
template <class Measure> int EndOfFittingRun(int from, int targetSize, double sourcePerTarget, Measure measure)
{
    constexpr int limit = CSitePage::kRenderBufferSize;
    // Most of the buffer, leaving room for the filter's reach at both ends.
    int end = std::min({targetSize, from + limit, from + std::max(1, static_cast<int>((limit - 8) / sourcePerTarget))});
    while (end > from + 1 && measure(from, end) > limit)
        --end;
    return end;
}

} // namespace

void CSitePage::Draw(const RECT& rect, BYTE* buffer, int stride, bool drawBackground, bool onlySelected, bool ghost)
{
    DrawThrough(CRect(rect), buffer, stride, drawBackground, onlySelected, ghost, *m_renderBuffer);
}

void CSitePage::DrawAreas(const std::vector<CRect>& areas, bool drawBackground, bool ghost, const TileSink& deliver,
                          CTaskPool* pool, const TilePainter* edited)
{
    std::vector<CRect> tiles;
    for (const CRect& area : areas)
        for (int y = area.top; y < area.bottom; y += kRenderBufferSize)
            for (int x = area.left; x < area.right; x += kRenderBufferSize)
                tiles.emplace_back(x, y, std::min(x + kRenderBufferSize, static_cast<int>(area.right)),
                                   std::min(y + kRenderBufferSize, static_cast<int>(area.bottom)));
    // An HTML object not rendered yet renders while it is drawn: then one thread draws everything.
    const bool drawsAlone = std::any_of(m_items.begin(), m_items.end(), [](const auto& item) {
        const CPageObject& object = *item->GetCurrentObject();
        return object.GetKind() == objectHtml && object.IsDirty();
    });
    CTaskPool alone(0);
    const auto drawTile = [&](size_t i) {
        struct Scratch
        {
            std::vector<BYTE> tile = std::vector<BYTE>(static_cast<size_t>(kRenderBufferSize) * kRenderBufferSize * 4);
            CPixMap map = CPixMap(IMAGE_MODE_RGBA, kRenderBufferSize, kRenderBufferSize);
        };
        thread_local std::unique_ptr<Scratch> scratch;
        if (!scratch)
            scratch = std::make_unique<Scratch>();
        if (!scratch->map.IsValid())
            return;
        const CRect& tile = tiles[i];
        DrawThrough(tile, scratch->tile.data(), kRenderBufferSize * 4, drawBackground, false, ghost, scratch->map,
                    edited);
        deliver(tile, scratch->tile.data(), kRenderBufferSize * 4);
    };
    (drawsAlone ? alone : pool ? *pool : CTaskPool::Shared()).ForEach(tiles.size(), drawTile);
}

void CSitePage::DrawThrough(const CRect& update, BYTE* buffer, int stride, bool drawBackground, bool onlySelected,
                            bool ghost, CPixMap& scratch, const TilePainter* edited)
{
    if (!buffer || update.IsRectEmpty() || static_cast<int64_t>(update.Width()) * 4 > stride || !scratch.IsValid())
        return;

    if (ghost) {
        for (int y = 0; y < update.Height(); ++y) {
            BYTE* row = buffer + static_cast<ptrdiff_t>(y) * stride;
            for (int x = 0; x < update.Width(); ++x) {
                row[x * 4] = 255;
                std::memset(row + x * 4 + 1, kGhostPage, 3);
            }
        }
    } else if (drawBackground) {
        m_background->Render(update, buffer, stride, scratch, m_width, m_height);
    }

    for (const auto& item : m_items) {
        // The in-place editor draws the text it edits itself, in its place among the others when it is asked to.
        if (m_editingInPlace && item->GetCurrentObject() == m_editedObject) {
            if (edited && *edited)
                (*edited)(update, buffer, stride);
            continue;
        }
        if (onlySelected && !item->IsSelected())
            continue;
        CRect part;
        if (part.IntersectRect(item->GetRect(), update))
            DrawObject(*item->GetCurrentObject(), part,
                     buffer + static_cast<ptrdiff_t>(part.top - update.top) * stride +
                         static_cast<ptrdiff_t>(part.left - update.left) * 4,
                     stride, ghost, scratch);
    }
}

void CSitePage::DrawObject(CPageObject& object, const CRect& part, BYTE* buffer, int stride, bool ghost)
{
    DrawObject(object, part, buffer, stride, ghost, *m_renderBuffer);
}

void CSitePage::DrawObject(CPageObject& object, const CRect& part, BYTE* buffer, int stride, bool ghost,
                           CPixMap& map)
{
    RECT objectBounds;
    const CRect bounds(object.GetBounds(objectBounds));
    const CColor background = m_background->GetColor();
    const int fullWidth = map.width, fullHeight = map.height;
    // The view's tiles fit the buffer in one piece; a larger rectangle goes through it piece by piece.
    for (int y = part.top; y < part.bottom; y += fullHeight) {
        for (int x = part.left; x < part.right; x += fullWidth) {
            const int w = std::min(fullWidth, static_cast<int>(part.right - x));
            const int h = std::min(fullHeight, static_cast<int>(part.bottom - y));
            map.width = w;
            map.height = h;
            object.GetPixels(x - bounds.left, y - bounds.top, map, &background);
            if (ghost)
                for (int j = 0; j < h; ++j)
                    for (int i = 0; i < w; ++i)
                        std::memset(map.Sample(i, j, 1), kGhostObject, 3);
            map.width = fullWidth;
            map.height = fullHeight;
            BlendAlpha(buffer + static_cast<ptrdiff_t>(y - part.top) * stride +
                           static_cast<ptrdiff_t>(x - part.left) * 4,
                       4, stride, map.Sample(0, 0, 0), 4, map.plane[0].rowStep, w, h);
        }
    }
}

void CSitePage::RenderDirtyObjects(CTaskPool* pool)
{
    CSitePage* page = this;
    RenderDirtyObjects(&page, 1, pool);
}

void CSitePage::RenderDirtyObjects(CSitePage* const* pages, size_t count, CTaskPool* pool)
{
    // The objects' images are independent of each other: the ones with work to do that can render on any thread
    // do so on the helpers, while this thread renders those that read resources (counters, forms, HTML). A group's
    // bounds read its members' bounds, so the updates that move a group's bounds wait until the helpers are done,
    // and so do the renders that need this thread after all (a picture that cannot be loaded is searched for).
    // Several pages' objects go together, so that one long render does not hold the others up.
    struct Elsewhere
    {
        CPageItem* item;
        CPageItem::Prepared prepared;
        int result;
    };
    std::vector<Elsewhere> elsewhere;
    std::vector<CPageItem*> here, afterwards;
    std::vector<std::unique_ptr<ScopedFlag>> rendering;
    bool large = false;
    for (size_t p = 0; p < count; ++p) {
        CSitePage& page = *pages[p];
        if (page.m_rendering)
            continue;
        rendering.push_back(std::make_unique<ScopedFlag>(page.m_rendering));
        if (page.m_background->NeedsRender())
            page.m_background->LoadFillImage();
        for (const auto& entry : page.m_items) {
            CPageItem* item = entry.get();
            if (!page.IsItemToRender(item))
                continue;
            if (!item->CanRenderElsewhere()) {
                (item->GetGroup() ? afterwards : here).push_back(item);
                continue;
            }
            const CPageItem::Prepared prepared = item->PrepareImage();
            // A clean item only has its group follow.
            if (!item->NeedsImageUpdate()) {
                item->FinishPreparedImage(prepared.main && (!item->GetObject(true) || prepared.twin));
                continue;
            }
            elsewhere.push_back(Elsewhere{item, prepared, CPageObject::renderFailed});
            const CRect rect = item->GetRect();
            large = large || rect.Width() > 256 || rect.Height() > 256;
        }
    }

    // The helpers do not show the wait cursor a long render of a large object asks for; this thread shows it.
    struct WaitCursor
    {
        bool shown;
        ~WaitCursor()
        {
            if (shown)
                GetCoreServices().EndWaitCursor();
        }
    } waitCursor{large};
    if (large)
        GetCoreServices().BeginWaitCursor();
    (pool ? *pool : CTaskPool::Shared())
        .ForEach(
            elsewhere.size(),
            [&](size_t i) {
                thread_local std::unique_ptr<CPixMap> scratch;
                if (!scratch)
                    scratch = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, kRenderBufferSize, kRenderBufferSize);
                elsewhere[i].result = scratch->IsValid()
                                          ? elsewhere[i].item->RenderPreparedImage(elsewhere[i].prepared, *scratch)
                                          : CPageObject::renderFailed;
            },
            [&] {
                for (CPageItem* item : here)
                    item->UpdateImage();
            });
    for (const Elsewhere& done : elsewhere) {
        if (done.result == CPageObject::renderOnCaller)
            done.item->UpdateImage();
        else
            done.item->FinishPreparedImage(done.result == CPageObject::renderDone);
    }
    for (CPageItem* item : afterwards)
        item->UpdateImage();
}

bool CSitePage::IsItemToRender(int i) const
{
    const CPageItem* item = GetItem(i);
    return item && IsItemToRender(item);
}

// The view's page is this page whenever it edits one of its objects, so the page's own edit state answers.
bool CSitePage::IsItemToRender(const CPageItem* item) const
{
    if (m_editingInPlace && item->GetCurrentObject() == m_editedObject)
        return false;
    if (!m_freezeSelection || !item->GetGroup())
        return true;
    return !item->IsSelected();
}

bool CSitePage::RenderPageImage(CImage& image, int maxWidth, int maxHeight)
{
    if (maxWidth <= 0 || maxHeight <= 0 || m_width <= 0 || m_height <= 0)
        return false;
    // The saved front page's image is the one the site file holds; it serves again only at the size it was made
    // for, since a thumbnail of another size needs another scale.
    if (m_saved && m_frontPage && m_pageImage && m_pageImageLimit.cx == maxWidth && m_pageImageLimit.cy == maxHeight) {
        image = *m_pageImage;
        return true;
    }
    RenderDirtyObjects();

    const double s = std::max(double(m_width) / maxWidth, double(m_height) / maxHeight);
    const int targetWidth = std::max(1, static_cast<int>(m_width / s));
    const int targetHeight = std::max(1, static_cast<int>(m_height / s));
    auto result = std::make_unique<CImage>(IMAGE_MODE_RGB, targetWidth, targetHeight);
    auto work = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, kRenderBufferSize, kRenderBufferSize);
    CPixMap target(IMAGE_MODE_RGB, kRenderBufferSize, kRenderBufferSize);
    if (result->IsEmpty() || !work->IsValid() || !target.IsValid())
        return false;

    CScale scale(CSize(m_width, m_height), CSize(targetWidth, targetHeight), true);
    CRect source;
    const auto sourceWidth = [&](int from, int to) {
        scale.GetSrcRect(CRect(from, 0, to, 1), source);
        return source.Width();
    };
    const auto sourceHeight = [&](int from, int to) {
        scale.GetSrcRect(CRect(0, from, 1, to), source);
        return source.Height();
    };
    const double perTargetX = double(m_width) / targetWidth, perTargetY = double(m_height) / targetHeight;
    for (int top = 0; top < targetHeight;) {
        const int bottom = EndOfFittingRun(top, targetHeight, perTargetY, sourceHeight);
        for (int left = 0; left < targetWidth;) {
            const int right = EndOfFittingRun(left, targetWidth, perTargetX, sourceWidth);
            const CRect tile(left, top, right, bottom);
            scale.GetSrcRect(tile, source);
            // Only a page shrunk more than the buffer is wide needs more than the buffer for a single pixel.
            if (source.Width() > work->width || source.Height() > work->height) {
                work = std::make_unique<CPixMap>(IMAGE_MODE_RGBA, std::max(work->width, source.Width()),
                                                 std::max(work->height, source.Height()));
                if (!work->IsValid())
                    return false;
            }
            const int workWidth = work->width, workHeight = work->height;
            Draw(source, work->Sample(0, 0, 0), work->plane[0].rowStep, true, false, false);
            work->width = source.Width();
            work->height = source.Height();
            target.width = tile.Width();
            target.height = tile.Height();
            const bool scaled = scale.Transform(*work, target) && result->SetBuf(left, top, target);
            work->width = workWidth;
            work->height = workHeight;
            target.width = target.height = kRenderBufferSize;
            if (!scaled)
                return false;
            left = right;
        }
        top = bottom;
    }
    m_pageImage = std::move(result);
    m_pageImageLimit = SIZE{maxWidth, maxHeight};
    image = *m_pageImage;
    return true;
}

bool CSitePage::IsShownInView() const
{
    PageView* view = GetCurrentView();
    return view && view->GetPage() == this;
}
